#!/usr/bin/env python3
"""Writes the program's two embedded sounds as 16-bit mono PCM wave files:
shell/resources/applause.wav (a crowd of synthesised claps) and shell/resources/click.wav
(a short tick). Deterministic: the same files on every run."""
import math
import random
import struct
import wave
from pathlib import Path

RATE = 22050
OUT = Path(__file__).resolve().parent.parent / "app" / "resources"


def write(name, samples):
    OUT.mkdir(parents=True, exist_ok=True)
    with wave.open(str(OUT / name), "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        peak = max(1e-9, max(abs(s) for s in samples))
        frames = b"".join(struct.pack("<h", int(32000 * 0.8 * s / peak)) for s in samples)
        w.writeframes(frames)


def applause(seconds=1.6, claps_per_second=70):
    rnd = random.Random(4)
    n = int(seconds * RATE)
    out = [0.0] * n
    for _ in range(int(seconds * claps_per_second)):
        start = rnd.randrange(0, n - 2000)
        gain = rnd.uniform(0.3, 1.0)
        decay = rnd.uniform(250.0, 600.0)  # per second
        length = int(RATE * 0.06)
        lp = 0.0
        for i in range(length):
            noise = rnd.uniform(-1.0, 1.0)
            lp = 0.55 * lp + 0.45 * noise  # soften the hiss a little
            out[start + i] += gain * lp * math.exp(-decay * i / RATE)
    fade = int(RATE * 0.4)
    for i in range(fade):  # swell in and die away
        out[i] *= i / fade
        out[n - 1 - i] *= i / fade
    return out


def click(seconds=0.03):
    rnd = random.Random(3)
    n = int(seconds * RATE)
    return [math.exp(-i / (RATE * 0.003)) * (0.6 * math.sin(2 * math.pi * 2200 * i / RATE)
                                              + 0.4 * rnd.uniform(-1.0, 1.0)) for i in range(n)]


if __name__ == "__main__":
    write("applause.wav", applause())
    write("click.wav", click())

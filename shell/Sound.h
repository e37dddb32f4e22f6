// The two sounds compiled into the program, played asynchronously from memory.
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace shell {

// Resource types and ids of the embedded sounds (the type is matched without regard to case).
inline constexpr const char* ApplauseSoundType = "applause_SOUND";
inline constexpr int ApplauseSoundId = 4;
inline constexpr const char* ClickedSoundType = "clicked_SOUND";
inline constexpr int ClickedSoundId = 3;

// Loads the embedded wave file (type, id) into program().SoundBuffer, starts playing it
// asynchronously (stopping the sound before), then lets pending window events run once.
// A missing resource, unreadable data or no audio device: silent, nothing reported.
void PlayResourceSound(const QString& type, int id);

// Shorthands for the two sounds.
void playClick();     // ("clicked_SOUND", 3): navigation labels and exit commands
void playApplause();  // ("applause_SOUND", 4): the first-run greeting

// The raw bytes of an embedded sound, or empty when there is none of that type and id.
QByteArray soundResource(const QString& type, int id);

// The player behind PlayResourceSound. Tests install one that records what would play;
// an empty function restores the audio output. Returns the previous player.
using SoundPlayer = std::function<void(const QByteArray& waveFile)>;
SoundPlayer setSoundPlayer(SoundPlayer player);

}  // namespace shell

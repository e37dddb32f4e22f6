// Reading the header of an in-memory wave file (RIFF, uncompressed PCM).
#pragma once

#include <QByteArray>

#include <optional>

namespace shell {

struct WaveInfo {
    int sampleRate = 0;
    int channels = 0;
    int bitsPerSample = 0;     // 8 or 16
    qsizetype dataOffset = 0;  // where the samples start in the file
    qsizetype dataSize = 0;    // bytes of samples (clipped to what the file holds)
};

// The format and sample range of an uncompressed 8- or 16-bit PCM wave file;
// nullopt for anything else (truncated, compressed, not RIFF/WAVE).
std::optional<WaveInfo> readWaveInfo(const QByteArray& file);

}  // namespace shell

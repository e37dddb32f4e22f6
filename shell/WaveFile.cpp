#include "shell/WaveFile.h"

#include <QtEndian>

namespace shell {

namespace {

quint32 le32(const QByteArray& b, qsizetype at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}
quint16 le16(const QByteArray& b, qsizetype at)
{
    return qFromLittleEndian<quint16>(b.constData() + at);
}

}  // namespace

std::optional<WaveInfo> readWaveInfo(const QByteArray& file)
{
    if (file.size() < 12 || !file.startsWith("RIFF") || file.mid(8, 4) != "WAVE")
        return std::nullopt;
    WaveInfo info;
    bool haveFormat = false;
    qsizetype at = 12;
    while (at + 8 <= file.size()) {
        const QByteArray id = file.mid(at, 4);
        const qsizetype size = le32(file, at + 4);
        const qsizetype body = at + 8;
        if (id == "fmt ") {
            if (size < 16 || body + 16 > file.size() || le16(file, body) != 1)  // 1 = PCM
                return std::nullopt;
            info.channels = le16(file, body + 2);
            info.sampleRate = int(le32(file, body + 4));
            info.bitsPerSample = le16(file, body + 14);
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat)
                return std::nullopt;
            info.dataOffset = body;
            info.dataSize = qMin(size, file.size() - body);
            const bool sane = info.channels >= 1 && info.channels <= 2 && info.sampleRate > 0 &&
                              (info.bitsPerSample == 8 || info.bitsPerSample == 16);
            return sane ? std::optional<WaveInfo>(info) : std::nullopt;
        }
        at = body + size + (size & 1);  // chunks are padded to an even size
    }
    return std::nullopt;
}

}  // namespace shell

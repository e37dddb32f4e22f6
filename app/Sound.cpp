#include "app/Sound.h"

#include "app/Program.h"
#include "app/Resources.h"
#include "app/WaveFile.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QMediaDevices>

#include <memory>

namespace app {

namespace {

SoundPlayer& installedPlayer()
{
    static SoundPlayer player;
    return player;
}

// Plays program().SoundBuffer through the default audio output. The buffer stays in place
// while the sink reads it; the next sound stops this one first.
class AudioOutput {
public:
    void play(const QByteArray& waveFile)
    {
        stop();
        const std::optional<WaveInfo> info = readWaveInfo(waveFile);
        if (!info)
            return;
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull())
            return;
        QAudioFormat format;
        format.setSampleRate(info->sampleRate);
        format.setChannelCount(info->channels);
        format.setSampleFormat(info->bitsPerSample == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
        if (!device.isFormatSupported(format))
            return;
        samples_ = QByteArray::fromRawData(waveFile.constData() + info->dataOffset, info->dataSize);
        buffer_ = std::make_unique<QBuffer>(&samples_);
        buffer_->open(QIODevice::ReadOnly);
        sink_ = std::make_unique<QAudioSink>(device, format);
        sink_->start(buffer_.get());
    }

    void stop()
    {
        if (sink_)
            sink_->stop();
        sink_.reset();
        buffer_.reset();
        samples_.clear();
    }

private:
    QByteArray samples_;  // a view into program().SoundBuffer, no copy
    std::unique_ptr<QBuffer> buffer_;
    std::unique_ptr<QAudioSink> sink_;
};

AudioOutput*& audioOutput()
{
    static AudioOutput* output = nullptr;  // created by the first sound, lives until the end
    return output;
}

void playOnAudioOutput(const QByteArray& waveFile)
{
    if (!audioOutput()) {
        audioOutput() = new AudioOutput;
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, [] { audioOutput()->stop(); });
    }
    audioOutput()->play(waveFile);
}

}  // namespace

QByteArray soundResource(const QString& type, int id)
{
    ensureResources();
    QFile file(QStringLiteral(":/sounds/%1/%2").arg(type.toUpper()).arg(id));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void PlayResourceSound(const QString& type, int id)
{
    Program& p = program();
    if (audioOutput())
        audioOutput()->stop();  // the playing sound reads the buffer about to be replaced
    p.SoundBuffer = soundResource(type, id);
    if (!p.SoundBuffer.isEmpty()) {
        if (installedPlayer())
            installedPlayer()(p.SoundBuffer);
        else
            playOnAudioOutput(p.SoundBuffer);
    }
    QCoreApplication::processEvents();
}

void playClick() { PlayResourceSound(QString::fromLatin1(ClickedSoundType), ClickedSoundId); }
void playApplause() { PlayResourceSound(QString::fromLatin1(ApplauseSoundType), ApplauseSoundId); }

SoundPlayer setSoundPlayer(SoundPlayer player)
{
    SoundPlayer previous = std::move(installedPlayer());
    installedPlayer() = std::move(player);
    return previous;
}

}  // namespace app

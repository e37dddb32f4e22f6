// The audio output of the embedded sounds, built as a module that the program loads on the
// first sound: Qt Multimedia and the sound system's libraries are then loaded only when a
// sound plays, not at every start.
#include "shell/WaveFile.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QByteArray>
#include <QMediaDevices>

#include <memory>

namespace {

class AudioOutput {
public:
    void play(const QByteArray& waveFile)
    {
        stop();
        const std::optional<shell::WaveInfo> info = shell::readWaveInfo(waveFile);
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
        // A view into the caller's buffer, which stays in place until the next stop().
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
    QByteArray samples_;
    std::unique_ptr<QBuffer> buffer_;
    std::unique_ptr<QAudioSink> sink_;
};

AudioOutput& output()
{
    static AudioOutput* instance = new AudioOutput;  // lives as long as the program
    return *instance;
}

}  // namespace

// Starts playing a complete wave file held by the caller (stopping the sound before).
extern "C" Q_DECL_EXPORT void orvanePlayWave(const QByteArray* waveFile)
{
    output().play(*waveFile);
}
// Stops the sound playing, so that the caller may replace its buffer.
extern "C" Q_DECL_EXPORT void orvaneStopWave()
{
    output().stop();
}

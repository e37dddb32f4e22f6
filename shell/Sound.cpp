#include "shell/Sound.h"

#include "shell/Paths.h"
#include "shell/Program.h"
#include "shell/Resources.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibrary>

namespace shell {

namespace {

SoundPlayer& installedPlayer()
{
    static SoundPlayer player;
    return player;
}

// The audio output lives in a module beside the program (orvane_audio), loaded on the first
// sound so that starting the program does not load the sound system. Without the module
// or an audio device the program is silent.
struct AudioModule {
    void (*play)(const QByteArray*) = nullptr;
    void (*stop)() = nullptr;
};

void stopAudioOutput();

AudioModule* audioModule(bool load)
{
    static AudioModule module;
    static bool tried = false;
    if (!tried && load) {
        tried = true;
        QLibrary library(shell::audioModulePath());
        if (library.load()) {
            QObject::connect(qApp, &QCoreApplication::aboutToQuit, [] { stopAudioOutput(); });
            module.play = reinterpret_cast<void (*)(const QByteArray*)>(library.resolve("orvanePlayWave"));
            module.stop = reinterpret_cast<void (*)()>(library.resolve("orvaneStopWave"));
        }
    }
    return module.play && module.stop ? &module : nullptr;
}

void stopAudioOutput()
{
    if (AudioModule* module = audioModule(false))
        module->stop();
}

void playOnAudioOutput(const QByteArray& waveFile)
{
    if (AudioModule* module = audioModule(true))
        module->play(&waveFile);
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
    stopAudioOutput();  // the playing sound reads the buffer about to be replaced
    p.SoundBuffer = soundResource(type, id);
    if (!p.SoundBuffer.isEmpty()) {
        if (installedPlayer())
            installedPlayer()(p.SoundBuffer);
        else
            playOnAudioOutput(p.SoundBuffer);
    }
    QCoreApplication::processEvents();
}

void playClick()
{
    PlayResourceSound(QString::fromLatin1(ClickedSoundType), ClickedSoundId);
}
void playApplause()
{
    PlayResourceSound(QString::fromLatin1(ApplauseSoundType), ApplauseSoundId);
}

SoundPlayer setSoundPlayer(SoundPlayer player)
{
    SoundPlayer previous = std::move(installedPlayer());
    installedPlayer() = std::move(player);
    return previous;
}

}  // namespace shell

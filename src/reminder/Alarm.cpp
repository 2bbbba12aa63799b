#include "Alarm.h"

#include "Application.h"
#include "Platform.h"
#include "ReminderThread.h"

#include "SoundOutput.h"

#include <QFileInfo>
#include <QLibrary>

namespace {
// Longer than any alarm sound; only reached when the back end never reports the end.
constexpr int AlarmGuardMs = 30000;
} // namespace

TAlarm& TAlarm::Instance()
{
    static TAlarm* alarm = new TAlarm();
    return *alarm;
}

TAlarm::TAlarm()
{
    FGuard.setSingleShot(true);
    connect(&FGuard, &QTimer::timeout, this, [this] { End(); });
}

QString TAlarm::File() const
{
    return FFile.isEmpty() ? ExecutableFolder() + QStringLiteral("alarm.wav") : FFile;
}

void TAlarm::SetFile(const QString& path)
{
    FFile = path;
}

namespace {
// Loads the sound module beside the executable once; null when it cannot be loaded.
TSoundOutput* LoadSoundOutput()
{
    static TSoundOutput* output = [] {
        QLibrary module(ExecutableFolder() + QString::fromLatin1(SoundModuleName));
        auto create = reinterpret_cast<TCreateSoundOutput>(module.resolve(SoundModuleEntry));
        if (!create)
            qWarning("Taskwick: the sound module cannot be loaded: %s", qPrintable(module.errorString()));
        return create ? create() : nullptr; // the module stays loaded for the rest of the run
    }();
    return output;
}
} // namespace

void TAlarm::Play()
{
    const QString file = File();
    TSoundOutput* output = QFileInfo(file).isFile() ? LoadSoundOutput() : nullptr;
    if (!output || !output->HasDevice()) {
        Fallback();
        return;
    }
    output->Stop();
    End();
    Begin();
    output->Play(file, [this](bool failed) {
        End();
        if (failed)
            Platform::Beep();
    });
    emit Sounded(true);
}

void TAlarm::Begin()
{
    if (!FPlaying) {
        FPlaying = true;
        PauseReminderChecks();
    }
    FGuard.start(AlarmGuardMs);
}

void TAlarm::End()
{
    FGuard.stop();
    if (FPlaying) {
        FPlaying = false;
        ResumeReminderChecks();
    }
}

void TAlarm::Fallback()
{
    Platform::Beep();
    emit Sounded(false);
}

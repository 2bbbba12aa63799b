#include "Alarm.h"

#include "Application.h"
#include "Platform.h"
#include "ReminderThread.h"

#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

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

void TAlarm::Play()
{
    const QString file = File();
    if (!QFileInfo(file).isFile() || QMediaDevices::audioOutputs().isEmpty()) {
        Fallback();
        return;
    }
    const QUrl source = QUrl::fromLocalFile(file);
    if (!FEffect) {
        FEffect = new QSoundEffect(this);
        connect(FEffect, &QSoundEffect::statusChanged, this, [this] {
            if (FEffect->status() == QSoundEffect::Error && FPlaying) {
                End();
                Platform::Beep();
            }
        });
        connect(FEffect, &QSoundEffect::playingChanged, this, [this] {
            if (FEffect->isPlaying() || !FPlaying || FEffect->status() == QSoundEffect::Loading)
                return;
            const bool failed = FEffect->status() == QSoundEffect::Error;
            End();
            if (failed)
                Platform::Beep();
        });
    }
    if (FEffect->source() != source)
        FEffect->setSource(source);
    if (FEffect->status() == QSoundEffect::Error) {
        Fallback();
        return;
    }
    FEffect->stop();
    End();
    FEffect->setLoopCount(1);
    Begin();
    FEffect->play();
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

// The sound back end module: Qt Multimedia's QSoundEffect behind TSoundOutput.
#include "SoundOutput.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QObject>
#include <QSoundEffect>
#include <QUrl>

namespace {

class TEffectOutput final : public TSoundOutput
{
public:
    TEffectOutput()
    {
        QObject::connect(&FEffect, &QSoundEffect::statusChanged, &FEffect, [this] {
            if (FEffect.status() == QSoundEffect::Error)
                Finish(true);
        });
        QObject::connect(&FEffect, &QSoundEffect::playingChanged, &FEffect, [this] {
            if (!FEffect.isPlaying() && FEffect.status() != QSoundEffect::Loading)
                Finish(FEffect.status() == QSoundEffect::Error);
        });
    }

    bool HasDevice() override { return !QMediaDevices::audioOutputs().isEmpty(); }

    void Play(const QString& file, std::function<void(bool)> done) override
    {
        Stop();
        FDone = std::move(done);
        const QUrl source = QUrl::fromLocalFile(file);
        if (FEffect.source() != source)
            FEffect.setSource(source);
        if (FEffect.status() == QSoundEffect::Error) {
            Finish(true);
            return;
        }
        FEffect.setLoopCount(1);
        FEffect.play();
    }

    void Stop() override
    {
        auto done = std::exchange(FDone, {});
        FEffect.stop();
        if (done)
            done(false);
    }

private:
    void Finish(bool failed)
    {
        if (auto done = std::exchange(FDone, {}))
            done(failed);
    }

    QSoundEffect FEffect;
    std::function<void(bool)> FDone;
};

} // namespace

extern "C" Q_DECL_EXPORT TSoundOutput* taskwick_create_sound_output()
{
    return new TEffectOutput();
}

// The reminder's alarm: "alarm.wav" of the program's folder played once, or the system's
// short sound when that file cannot be played.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class TAlarm : public QObject
{
    Q_OBJECT
public:
    static TAlarm& Instance();

    // Plays the alarm once from its start. The reminder checks pause until it has ended.
    // The sound back end is loaded on the first call, not before.
    void Play();
    bool IsPlaying() const { return FPlaying; }

    // The sound file; by default "alarm.wav" in the folder of the executable.
    QString File() const;
    void SetFile(const QString& path);

signals:
    // Emitted by every Play: true when the file plays, false when the system beep stands in.
    void Sounded(bool fromFile);

private:
    TAlarm();
    void Begin();
    void End();
    void Fallback();

    QString FFile;
    QTimer FGuard; // ends the pause should the back end never report the end
    bool FPlaying = false;
};

// The reminder of one task: checks the clock once a second and shows the pop-up when due.
#pragma once

#include "BaseAppVar.h"
#include "ReminderClock.h"
#include "StringObjectList.h"

#include <QObject>

// One object per task with its reminder on. All objects share one clock tick at every whole
// second of the clock; an object takes part in it from Start until it has reminded or is
// stopped, so idle objects cost nothing. Every check runs on the main thread.
class TReminderThread : public QObject
{
    Q_OBJECT
public:
    // The object is always created suspended: nothing is checked before Start.
    TReminderThread(bool createSuspended, const TTaskInfo& task, QObject* parent = nullptr);
    ~TReminderThread() override;

    // The task as given at creation; read for its ID, name and content.
    TTaskInfo TaskInfo;

    // The calendar day of ReminderDate and the time of day of ReminderTime are what is due.
    TDateTime ReminderDate() const { return FReminderDate; }
    void SetReminderDate(TDateTime value);
    TDateTime ReminderTime() const { return FReminderTime; }
    void SetReminderTime(TDateTime value);
    // True once the pop-up has been shown; false again when the reminder is postponed.
    bool Reminded() const { return FReminded; }
    void SetReminded(bool value);

    // Starts the object: its body switches the clock checks on.
    void Start();
    // Asks the object to end; the checks stop with the stop steps, not here.
    void Terminate() { FTerminated = true; }
    bool Terminated() const { return FTerminated; }
    // Whether the clock checks are switched on (they are off before Start and after StopTimer).
    bool TimerEnabled() const { return FTimerEnabled; }
    void StopTimer();

    // The check of one tick: reads the clock and, when the moment has come, shows the
    // reminder pop-up once.
    void CheckReminder();
    // The same check against a moment already read (the shared tick reads the clock once).
    void CheckReminderAt(const TReminderMoment& now);
    // Whether the reminder is due at `now` (no pop-up, no change).
    bool DueAt(const TReminderMoment& now) const;

protected:
    // The body: switches the clock checks on and ends.
    void Execute();

private:
    void UpdateArmed();

    TDateTime FReminderDate = 0;
    TDateTime FReminderTime = 0;
    bool FReminded = false;
    bool FTerminated = false;
    bool FSuspended = true;
    bool FTimerEnabled = false;
    TReminderMoment FMoment; // the texts of ReminderDate and ReminderTime, kept for the checks
};

// Task identifier to that task's reminder object; at most one entry per task.
extern TStringObjectList<TReminderThread>* ReminderThreadList;

// The shared clock tick. It runs at each whole second of the clock while at least one object
// waits (a single precise timer re-armed to the next second boundary) and checks only the
// waiting objects, comparing with the clock as it is at that moment.
void TickReminders();
// While paused (for instance while the alarm plays) no check runs; ticks that fall in the
// pause are not repeated. Pauses nest.
void PauseReminderChecks();
void ResumeReminderChecks();
bool ReminderChecksPaused();
// How many objects wait for their moment, and the milliseconds until the next tick
// (-1 when no tick is due).
int WaitingReminderCount();
int MillisecondsToNextReminderTick();

#include "ReminderThread.h"

#include "Application.h"
#include "BaseFunc.h"
#include "Clock.h"
#include "uXMLOperate.h"

#include <QDeadlineTimer>
#include <QPointer>
#include <QSet>
#include <QTimer>

TStringObjectList<TReminderThread>* ReminderThreadList = nullptr;

namespace {

QChar TimeSeparator()
{
    return XMLOperation ? XMLOperation->Formats().TimeSeparator : QLatin1Char(':');
}

// The one timer behind every reminder object.
class TReminderTicker : public QObject
{
public:
    static TReminderTicker& Instance()
    {
        static TReminderTicker* ticker = new TReminderTicker();
        return *ticker;
    }

    void Arm(TReminderThread* thread)
    {
        if (FIndex.contains(thread))
            return;
        FIndex.insert(thread);
        FWaiting.append(thread);
        if (FWaiting.size() == 1)
            Schedule(false);
    }

    void Disarm(TReminderThread* thread)
    {
        if (!FIndex.remove(thread))
            return;
        FWaiting.removeOne(thread);
        if (FWaiting.isEmpty())
            FTimer.stop();
    }

    void Pause()
    {
        if (FPaused++ == 0)
            FTimer.stop();
    }

    void Resume()
    {
        if (FPaused > 0 && --FPaused == 0)
            Schedule(false);
    }

    bool Paused() const { return FPaused > 0; }
    int Waiting() const { return FWaiting.size(); }
    int Remaining() const { return FTimer.isActive() ? FTimer.remainingTime() : -1; }

    void Tick()
    {
        if (FPaused > 0 || FInTick)
            return;
        FInTick = true;
        const TReminderMoment now = ReminderMomentOf(Clock::Now(), TimeSeparator());
        // First find the due objects, then show their pop-ups: a pop-up may start or stop
        // objects, so the second pass holds guarded pointers.
        QVector<QPointer<TReminderThread>> due;
        for (TReminderThread* thread : std::as_const(FWaiting))
            if (thread->DueAt(now))
                due.append(thread);
        for (const QPointer<TReminderThread>& thread : std::as_const(due)) {
            if (FPaused > 0)
                break; // the alarm plays; the others are due again at the next tick
            if (thread && FIndex.contains(thread.data()))
                RunCommand([&] { thread->CheckReminderAt(now); });
        }
        FInTick = false;
        Schedule(false);
    }

private:
    TReminderTicker()
    {
        FTimer.setSingleShot(true);
        FTimer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&FTimer, &QTimer::timeout, this, [this] { OnTimeout(); });
    }

    // Arms the timer for the next whole second of the clock.
    void Schedule(bool early)
    {
        if (FPaused > 0 || FWaiting.isEmpty()) {
            FTimer.stop();
            return;
        }
        const QDateTime now = Clock::Now();
        const int wait = early ? qMax(1, static_cast<int>(now.msecsTo(FTarget))) : MillisecondsToNextSecond(now);
        FTarget = now.addMSecs(wait);
        FRetried = early;
        FTimer.start(wait);
    }

    void OnTimeout()
    {
        // The timer runs on the monotonic clock and may wake a moment before the second of
        // the wall clock; wait out such a short remainder once. A longer one means the clock
        // was set back, and the check simply runs against the clock as it now is.
        const qint64 ahead = Clock::Now().msecsTo(FTarget);
        if (!FRetried && ahead > 0 && ahead <= 50) {
            Schedule(true);
            return;
        }
        Tick();
    }

    QTimer FTimer;
    QDateTime FTarget;
    QVector<TReminderThread*> FWaiting; // in the order they started waiting
    QSet<TReminderThread*> FIndex;
    int FPaused = 0;
    bool FInTick = false;
    bool FRetried = false;
};

TReminderThread* ListedReminder(const QString& taskId, int* index = nullptr)
{
    if (!ReminderThreadList)
        return nullptr;
    for (int i = 0; i < ReminderThreadList->Count(); ++i)
        if (ReminderThreadList->Objects(i)->TaskInfo.ID == taskId) {
            if (index)
                *index = i;
            return ReminderThreadList->Objects(i);
        }
    return nullptr;
}

void EnsureReminderList()
{
    if (!ReminderThreadList)
        ReminderThreadList = new TStringObjectList<TReminderThread>();
}

// Creates, lists and starts the object of a task whose reminder is on.
void AddReminder(const TTaskInfo& task)
{
    auto* thread = new TReminderThread(true, task);
    ReminderThreadList->AddObject(task.ID, thread);
    thread->Start();
}

} // namespace

TReminderThread::TReminderThread(bool createSuspended, const TTaskInfo& task, QObject* parent)
    : QObject(parent), TaskInfo(task), FReminderDate(task.Reminder.Date), FReminderTime(task.Reminder.Time),
      FSuspended(true), FMoment(ReminderMomentOf(task.Reminder.Date, task.Reminder.Time, TimeSeparator()))
{
    if (!createSuspended)
        Start();
}

TReminderThread::~TReminderThread()
{
    TReminderTicker::Instance().Disarm(this);
}

void TReminderThread::SetReminderDate(TDateTime value)
{
    if (value == FReminderDate)
        return;
    FReminderDate = value;
    FMoment = ReminderMomentOf(FReminderDate, FReminderTime, TimeSeparator());
}

void TReminderThread::SetReminderTime(TDateTime value)
{
    if (value == FReminderTime)
        return;
    FReminderTime = value;
    FMoment = ReminderMomentOf(FReminderDate, FReminderTime, TimeSeparator());
}

void TReminderThread::SetReminded(bool value)
{
    if (value == FReminded)
        return;
    FReminded = value;
    UpdateArmed();
}

void TReminderThread::Start()
{
    if (!FSuspended)
        return;
    FSuspended = false;
    Execute();
}

void TReminderThread::Execute()
{
    FTimerEnabled = true;
    UpdateArmed();
}

void TReminderThread::StopTimer()
{
    FTimerEnabled = false;
    UpdateArmed();
}

void TReminderThread::UpdateArmed()
{
    if (FTimerEnabled && !FReminded)
        TReminderTicker::Instance().Arm(this);
    else
        TReminderTicker::Instance().Disarm(this);
}

bool TReminderThread::DueAt(const TReminderMoment& now) const
{
    return !FReminded && ReminderDue(now, FMoment);
}

void TReminderThread::CheckReminder()
{
    CheckReminderAt(ReminderMomentOf(Clock::Now(), TimeSeparator()));
}

void TReminderThread::CheckReminderAt(const TReminderMoment& now)
{
    if (!FTimerEnabled || FReminded || !ReminderDue(now, FMoment))
        return;
    ShowReminderPopup(this);
    SetReminded(true);
}

void TickReminders()
{
    TReminderTicker::Instance().Tick();
}

void PauseReminderChecks()
{
    TReminderTicker::Instance().Pause();
}

void ResumeReminderChecks()
{
    TReminderTicker::Instance().Resume();
}

bool ReminderChecksPaused()
{
    return TReminderTicker::Instance().Paused();
}

int WaitingReminderCount()
{
    return TReminderTicker::Instance().Waiting();
}

int MillisecondsToNextReminderTick()
{
    return TReminderTicker::Instance().Remaining();
}

void StopTaskReminder(const QString& taskId)
{
    int index = -1;
    TReminderThread* thread = ListedReminder(taskId, &index);
    if (!thread)
        return;
    thread->Terminate();
    thread->StopTimer();
    ReminderThreadList->Delete(index);
    delete thread;
}

void StartTaskReminder(const TTaskInfo& task)
{
    EnsureReminderList();
    // A task whose reminder is switched off keeps no object running.
    StopTaskReminder(task.ID);
    if (task.Reminder.State)
        AddReminder(task);
}

void StartAllReminders()
{
    EnsureReminderList();
    TTaskInfoList tasks;
    XMLOperation->GetTaskList(tasks);
    // Usually the list is empty here; only tasks already listed need the walk of the list.
    QSet<QString> listed;
    for (int i = 0; i < ReminderThreadList->Count(); ++i)
        listed.insert(ReminderThreadList->Objects(i)->TaskInfo.ID);
    for (const TTaskInfo& task : std::as_const(tasks)) {
        if (listed.contains(task.ID)) {
            StartTaskReminder(task);
        } else if (task.Reminder.State) {
            AddReminder(task);
            listed.insert(task.ID);
        }
    }
}

#include "ShowTaskForm.h"

#include "Alarm.h"
#include "Application.h"
#include "BaseFunc.h"
#include "MainForm.h"
#include "Platform.h"
#include "ReminderClock.h"
#include "ReminderThread.h"
#include "uXMLOperate.h"

#include <QAction>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QWindow>

namespace {

// The program's window that was active before the current one, to tell a move from another
// window of the program (the alarm sounds again) from a return from another program (it
// does not).
class TActiveWindowTracker : public QObject
{
public:
    static TActiveWindowTracker& Instance()
    {
        static TActiveWindowTracker* tracker = new TActiveWindowTracker();
        return *tracker;
    }
    // The program window active before `window` became active.
    QWindow* ActiveBefore(QWindow* window) const { return FCurrent == window ? FPrevious : FCurrent; }
    void Note(QWindow* window)
    {
        if (!window || window == FCurrent)
            return;
        FPrevious = FCurrent;
        FCurrent = window;
    }

private:
    TActiveWindowTracker()
    {
        FCurrent = QGuiApplication::focusWindow();
        connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* w) { Note(w); });
    }
    QPointer<QWindow> FCurrent;
    QPointer<QWindow> FPrevious;
};

TReminderThread* ListedReminder(const QString& taskId)
{
    if (!ReminderThreadList)
        return nullptr;
    for (int i = 0; i < ReminderThreadList->Count(); ++i)
        if (ReminderThreadList->Objects(i)->TaskInfo.ID == taskId)
            return ReminderThreadList->Objects(i);
    return nullptr;
}

} // namespace

TFrmShowTaskForm::TFrmShowTaskForm(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FrmShowTaskForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Reminder"));
    Platform::MakePopupWindow(this);
    setFixedSize(284, 255);

    Label1 = new QLabel(tr("Task Name :"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(8, 8);
    Label1->adjustSize();

    EdtTaskName = new QLineEdit(this);
    EdtTaskName->setObjectName(QStringLiteral("EdtTaskName"));
    EdtTaskName->setGeometry(8, 27, 269, 21);

    Label2 = new QLabel(tr("Content :"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->move(8, 52);
    Label2->adjustSize();

    MeoTaskContent = new QPlainTextEdit(this);
    MeoTaskContent->setObjectName(QStringLiteral("MeoTaskContent"));
    MeoTaskContent->setGeometry(8, 72, 269, 142);

    Label3 = new QLabel(tr("Remind in :"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->adjustSize();
    // At x 34, unless the text, in a font wider than the one the window was drawn for,
    // would run into the choice box at 93; then it ends just before the box.
    const int labelWidth = Label3->fontMetrics().horizontalAdvance(Label3->text());
    Label3->move(qMax(0, qMin(34, 93 - 4 - labelWidth)), 227);

    CmbRemindIn = new QComboBox(this);
    CmbRemindIn->setObjectName(QStringLiteral("CmbRemindIn"));
    CmbRemindIn->setEditable(false);
    for (const TRemindInChoice& choice : RemindInChoices())
        CmbRemindIn->addItem(tr(choice.Text), QString::fromLatin1(choice.Text));
    CmbRemindIn->setCurrentIndex(0);
    CmbRemindIn->setGeometry(93, 223, 102, 21);
    Label3->setBuddy(CmbRemindIn);

    ActOK = new QAction(tr("&OK"), this);
    ActOK->setObjectName(QStringLiteral("ActOK"));
    connect(ActOK, &QAction::triggered, this, &TFrmShowTaskForm::ActOKExecute);

    BitBtn1 = new QPushButton(ActOK->text(), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(217, 221, 58, 25);
    connect(BitBtn1, &QPushButton::clicked, ActOK, &QAction::trigger);

    TActiveWindowTracker::Instance();
}

void TFrmShowTaskForm::PlaceAtCorner()
{
    const QRect area = Platform::WorkArea();
    QMargins frame;
    if (const QWindow* window = windowHandle())
        frame = window->frameMargins();
    const QSize outer = size().grownBy(frame);
    // move() places the frame's top-left corner.
    move(area.x() + area.width() - outer.width(), area.y() + area.height() - outer.height());
    FPlacedFrame = frame;
    FPlaced = true;
}

void TFrmShowTaskForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        RunCommand([this] { FormShow(); });
}

bool TFrmShowTaskForm::event(QEvent* event)
{
    const bool result = QWidget::event(event);
    switch (event->type()) {
    case QEvent::WindowActivate:
        RunCommand([this] { FormActivate(); });
        break;
    case QEvent::Move:
    case QEvent::Resize:
        // The window manager tells the frame's size only once the window is mapped; keep the
        // outer corner at the work area's corner when it arrives.
        if (FPlaced && windowHandle() && windowHandle()->frameMargins() != FPlacedFrame)
            PlaceAtCorner();
        break;
    default:
        break;
    }
    return result;
}

void TFrmShowTaskForm::FormShow()
{
    Platform::SetWindowAlpha(this, 255);
    // Showing is the first activation: the alarm sounds now, whether or not the window
    // manager hands the pop-up the focus.
    FShowActivationPending = true;
    TActiveWindowTracker::Instance().Note(windowHandle());
    TAlarm::Instance().Play();
}

void TFrmShowTaskForm::FormActivate()
{
    QWindow* self = windowHandle();
    QWindow* before = TActiveWindowTracker::Instance().ActiveBefore(self);
    const bool fromShow = std::exchange(FShowActivationPending, false);
    if (fromShow || before == self || !before)
        return;
    TAlarm::Instance().Play();
}

void TFrmShowTaskForm::ActOKExecute()
{
    RunCommand([this] { ConfirmChoice(); });
}

void TFrmShowTaskForm::ConfirmChoice()
{
    const QString id = TaskID;
    const qint64 delay = RemindInDelaySeconds(CmbRemindIn->currentData().toString());
    // The object that showed the pop-up may have been stopped meanwhile (the task was saved
    // or deleted); then the task's current object, if any, and the stored task stand in.
    TReminderThread* thread = Thread.data();
    if (delay == 0) {
        TReminderInfo off;
        off.State = false;
        XMLOperation->SetTaskReminder(id, off);
        StopTaskReminder(id);
    } else {
        TDateTime date = 0;
        TDateTime time = 0;
        bool known = thread != nullptr;
        if (thread) {
            date = thread->ReminderDate();
            time = thread->ReminderTime();
        } else {
            TTaskInfo stored;
            XMLOperation->GetTask(id, stored);
            known = stored.ID == id && !id.isEmpty();
            date = stored.Reminder.Date;
            time = stored.Reminder.Time;
        }
        if (known) {
            const TDateTime moment = SnoozedMoment(date, time, delay, XMLOperation->Formats());
            if (!thread)
                thread = ListedReminder(id);
            if (thread) {
                thread->SetReminderDate(moment);
                thread->SetReminderTime(moment);
                thread->SetReminded(false);
            }
            TReminderInfo later;
            later.State = true;
            later.Date = moment;
            later.Time = moment;
            XMLOperation->SetTaskReminder(id, later);
            if (!thread) {
                TTaskInfo stored;
                XMLOperation->GetTask(id, stored);
                if (stored.ID == id)
                    StartTaskReminder(stored);
            }
        }
    }
    TTaskInfo task;
    XMLOperation->GetTask(id, task);
    qint32 top = 0;
    qint32 left = 0;
    ShowDesktopNote(task, top, left);
    if (FrmMainForm)
        RefreshTaskList(FrmMainForm->TreeListTaskList);
    close();
}

void ShowReminderPopup(TReminderThread* thread)
{
    auto* form = new TFrmShowTaskForm();
    form->EdtTaskName->setText(thread->TaskInfo.TaskName);
    form->MeoTaskContent->setPlainText(thread->TaskInfo.TaskContent);
    form->Thread = thread;
    form->TaskID = thread->TaskInfo.ID;
    form->PlaceAtCorner();
    form->show();
    form->raise();
    form->activateWindow();
}

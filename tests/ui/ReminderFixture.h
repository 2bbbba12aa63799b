// A store in a temporary folder with a fixed clock, for the reminder objects, the reminder
// pop-up and the desktop notes; and helpers to find what is on the screen.
#pragma once

#include "Alarm.h"
#include "BaseAppVar.h"
#include "BaseFunc.h"
#include "Clock.h"
#include "FormatSettings.h"
#include "MarkForm.h"
#include "ReminderThread.h"
#include "ShowTaskForm.h"
#include "TestFolder.h"
#include "UiTestSupport.h"
#include "uXMLOperate.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QRegularExpression>
#include <gtest/gtest.h>

inline TFormatSettings ReminderFormats()
{
    TFormatSettings f;
    f.ShortDateFormat = QStringLiteral("M/d/yyyy");
    f.DateSeparator = QLatin1Char('/');
    f.LongTimeFormat = QStringLiteral("h:mm:ss AP");
    f.TimeSeparator = QLatin1Char(':');
    f.TimeAMString = QStringLiteral("AM");
    f.TimePMString = QStringLiteral("PM");
    f.TwoDigitYearPivot = 2026;
    return f;
}

inline TDateTime Moment(int month, int day, int hour, int minute, int second = 0)
{
    return DateTimeToTDateTime(QDate(2026, month, day), QTime(hour, minute, second));
}

class ReminderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetClock(1, 3, 9, 0);
        Clock::SetSource([this] { return FNow; });
        if (!ReminderThreadList)
            ReminderThreadList = new TStringObjectList<TReminderThread>();
        if (!MarkFormList)
            MarkFormList = new TStringObjectList<TFrmMarkInfoForm>();
        XMLOperation = new TXMLOperation(Folder.Path(), Formats);
        XMLOperation->SetNoteClosedHandler(RemoveMarkFormEntry);
        // No sound in the tests: the alarm's file is missing, so every alarm is the beep.
        TAlarm::Instance().SetFile(Folder.File(QStringLiteral("no-alarm.wav")));
        AlarmConnection = QObject::connect(&TAlarm::Instance(), &TAlarm::Sounded, [this](bool) { ++Alarms; });
    }

    void TearDown() override
    {
        QObject::disconnect(AlarmConnection);
        for (TFrmShowTaskForm* popup : Popups())
            delete popup;
        while (ReminderThreadList->Count() > 0)
            StopTaskReminder(ReminderThreadList->Objects(0)->TaskInfo.ID);
        while (MarkFormList->Count() > 0)
            delete MarkFormList->Objects(0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        delete XMLOperation;
        XMLOperation = nullptr;
        Clock::SetSource({});
    }

    void SetClock(int month, int day, int hour, int minute, int second = 0, int msec = 0)
    {
        FNow = QDateTime(QDate(2026, month, day), QTime(hour, minute, second, msec));
    }

    // One tick of the shared reminder clock at the moment given.
    void TickAt(int month, int day, int hour, int minute, int second = 0)
    {
        SetClock(month, day, hour, minute, second);
        TickReminders();
    }

    TTaskInfo MakeTask(const QString& id, const QString& name, TDateTime reminder = 0, bool remind = true)
    {
        TTaskInfo task;
        task.ID = id;
        task.TaskName = name;
        task.TaskContent = name + QStringLiteral(" in detail");
        task.TaskCategoryID = DefaultCategoryID;
        task.TaskPriorityID = QStringLiteral("1");
        task.TaskDueDate = QStringLiteral("none");
        task.TaskState = QStringLiteral("false");
        task.Reminder.State = remind;
        task.Reminder.Date = reminder;
        task.Reminder.Time = reminder;
        return task;
    }
    TTaskInfo AddTask(const QString& id, const QString& name, TDateTime reminder = 0, bool remind = true)
    {
        const TTaskInfo task = MakeTask(id, name, reminder, remind);
        XMLOperation->AddTask(task);
        return task;
    }
    TTaskInfo StoredTask(const QString& id) const
    {
        TTaskInfo task;
        XMLOperation->GetTask(id, task);
        return task;
    }

    // The text of one element of a task as the task file holds it.
    QString StoredText(const QString& id, const QString& element) const
    {
        const QString file = QString::fromUtf8(Folder.Read(TaskFileName));
        const QRegularExpression record(QStringLiteral("<%1>(.*?)</%1>").arg(id),
                                        QRegularExpression::DotMatchesEverythingOption);
        const QRegularExpressionMatch r = record.match(file);
        if (!r.hasMatch())
            return QStringLiteral("<no task>");
        const QRegularExpression child(QStringLiteral("<%1>(.*?)</%1>").arg(element));
        const QRegularExpressionMatch c = child.match(r.captured(1));
        return c.hasMatch() ? c.captured(1) : QStringLiteral("<no %1>").arg(element);
    }

    // Starts the stored reminders and ticks once at the moment given; the one pop-up shown.
    TFrmShowTaskForm* FireAt(int month, int day, int hour, int minute)
    {
        StartAllReminders();
        TickAt(month, day, hour, minute);
        return OnlyPopup();
    }

    // The open reminder pop-ups, oldest first.
    static QList<TFrmShowTaskForm*> Popups()
    {
        QList<TFrmShowTaskForm*> popups;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* p = qobject_cast<TFrmShowTaskForm*>(w); p && p->isVisible())
                popups.append(p);
        return popups;
    }
    static TFrmShowTaskForm* OnlyPopup()
    {
        const QList<TFrmShowTaskForm*> popups = Popups();
        return popups.size() == 1 ? popups.first() : nullptr;
    }

    // Picks a "Remind in :" choice with the keyboard, as a person would, and clicks OK.
    static void Confirm(TFrmShowTaskForm* popup, const QString& choice)
    {
        const int index = popup->CmbRemindIn->findText(choice);
        ASSERT_GE(index, 0) << choice.toStdString();
        popup->CmbRemindIn->setFocus();
        QTest::keyClick(popup->CmbRemindIn, Qt::Key_Home);
        for (int i = 0; i < index; ++i)
            QTest::keyClick(popup->CmbRemindIn, Qt::Key_Down);
        ASSERT_EQ(popup->CmbRemindIn->currentText(), choice);
        QTest::mouseClick(popup->BitBtn1, Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    static TReminderThread* Listed(const QString& id)
    {
        const int index = ReminderThreadList->IndexOf(id);
        return index >= 0 ? ReminderThreadList->Objects(index) : nullptr;
    }

    TestFolder Folder;
    TFormatSettings Formats = ReminderFormats();
    int Alarms = 0;

private:
    QDateTime FNow;
    QMetaObject::Connection AlarmConnection;
};

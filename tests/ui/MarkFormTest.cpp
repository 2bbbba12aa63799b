// The desktop notes: window, texts, place, dragging, "Close", transparency and saving.
#include "NotePlacement.h"
#include "Platform.h"
#include "ReminderFixture.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>

namespace {

class MarkFormTest : public ReminderTest
{
protected:
    TTaskInfo AddNote(const QString& id, const QString& name, qint32 top = 0, qint32 left = 0)
    {
        TTaskInfo task = MakeTask(id, name, 0, false);
        task.MarkFormState = true;
        task.MarkFormTop = top;
        task.MarkFormLeft = left;
        XMLOperation->AddTask(task);
        return task;
    }
    static TFrmMarkInfoForm* Note(const QString& id)
    {
        const int index = MarkFormList->IndexOf(id);
        return index >= 0 ? MarkFormList->Objects(index) : nullptr;
    }
    static QPoint DefaultPlace() { return DefaultNotePlace(Platform::WorkArea(), QSize(253, 175)); }

    // Presses the left button on `where` (a label or the note), moves the pointer by `by`
    // and lets go, as a person drags the note where the window manager does not move it.
    static void Drag(QWidget* where, const QPoint& by)
    {
        const QPoint local(5, 5);
        const QPoint global = where->mapToGlobal(local);
        QTest::mousePress(where, Qt::LeftButton, Qt::NoModifier, local);
        QMouseEvent move(QEvent::MouseMove, QPointF(local + by), QPointF(global + by), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(where, &move);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(local + by), QPointF(global + by), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(where, &release);
    }

    // Right-clicks `where` and picks "Close" in the note's menu.
    static void CloseByMenu(TFrmMarkInfoForm* note, QWidget* where)
    {
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(4, 4), where->mapToGlobal(QPoint(4, 4)));
        QApplication::sendEvent(where, &event);
        ASSERT_TRUE(note->PopupMenu1->isVisible());
        const QList<QAction*> items = note->PopupMenu1->actions();
        ASSERT_EQ(items.size(), 1);
        EXPECT_EQ(items.first()->text(), QStringLiteral("Close"));
        QTest::mouseClick(note->PopupMenu1, Qt::LeftButton, Qt::NoModifier,
                          note->PopupMenu1->actionGeometry(items.first()).center());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

} // namespace

TEST_F(MarkFormTest, WindowLabelsAndOutline)
{
    AddNote(QStringLiteral("task1"), QStringLiteral("Buy milk"));
    ShowDesktopNotes();
    TFrmMarkInfoForm* note = Note(QStringLiteral("task1"));
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->isVisible());
    EXPECT_EQ(note->size(), QSize(253, 175));
    EXPECT_EQ(note->parentWidget(), nullptr);
    const Qt::WindowFlags flags = note->windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_TRUE(flags & Qt::FramelessWindowHint);
    EXPECT_TRUE(flags & Qt::WindowStaysOnBottomHint);
    EXPECT_EQ(note->palette().color(QPalette::Window), QColor(255, 255, 139));
    EXPECT_EQ(note->RzFormShape1->geometry(), QRect(0, 0, 253, 175));

    struct Place
    {
        QLabel* Label;
        QPoint Pos;
        QString Text;
    };
    for (const Place& p : {Place{note->LabName, QPoint(15, 27), QStringLiteral("Buy milk")},
                           Place{note->MeoContnet, QPoint(15, 45), QStringLiteral("Buy milk in detail")},
                           Place{note->Label1, QPoint(15, 147), QStringLiteral("Due Date : ")},
                           Place{note->Label2, QPoint(15, 158), QStringLiteral("Reminder Date : ")}}) {
        EXPECT_EQ(p.Label->pos(), p.Pos) << p.Label->objectName().toStdString();
        EXPECT_EQ(p.Label->text(), p.Text) << p.Label->objectName().toStdString();
    }
    EXPECT_EQ(note->LabDueDate->text(), QStringLiteral("none"));
    EXPECT_EQ(note->labReminderDate->text(), QStringLiteral("none"));
    EXPECT_EQ(note->LabDueDate->y(), 147);
    EXPECT_EQ(note->labReminderDate->y(), 158);
    EXPECT_EQ(note->LabName->size(), QSize(177, 13));
    EXPECT_EQ(note->MeoContnet->size(), QSize(222, 103));
    EXPECT_TRUE(note->MeoContnet->wordWrap());

    // The outline comes from the picture: its transparent corners are cut away.
    const QRegion outline = note->mask();
    ASSERT_FALSE(outline.isEmpty());
    EXPECT_FALSE(outline.contains(QPoint(0, 0)));
    EXPECT_FALSE(outline.contains(QPoint(252, 174)));
    EXPECT_TRUE(outline.contains(QPoint(126, 90)));
    EXPECT_TRUE(outline.contains(QPoint(15, 150)));
}

// The values' column is x 98, moved right only as far as a wider font's captions need.
TEST_F(MarkFormTest, ValuesStandBesideTheirCaptionsInAnyFont)
{
    AddNote(QStringLiteral("task1"), QStringLiteral("a"));
    const QFont appFont = QApplication::font();
    for (int pixels : {8, 11, 15}) {
        QFont font = appFont;
        font.setPixelSize(pixels);
        QApplication::setFont(font);
        TFrmMarkInfoForm note;
        QApplication::setFont(appFont);
        const int captions = 15 + qMax(note.Label1->fontMetrics().horizontalAdvance(note.Label1->text()),
                                       note.Label2->fontMetrics().horizontalAdvance(note.Label2->text()));
        EXPECT_EQ(note.LabDueDate->x(), note.labReminderDate->x()) << pixels;
        EXPECT_EQ(note.LabDueDate->x(), qMax(98, captions)) << pixels;
    }
}

TEST_F(MarkFormTest, DueDateAndReminderTexts)
{
    TTaskInfo task = MakeTask(QStringLiteral("task1"), QStringLiteral("a"), Moment(1, 3, 14, 5, 9));
    task.TaskDueDate = QStringLiteral("1/9/2026");
    task.MarkFormState = true;
    qint32 top = 0;
    qint32 left = 0;
    ShowDesktopNote(task, top, left);
    TFrmMarkInfoForm* note = Note(QStringLiteral("task1"));
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->LabDueDate->text(), QStringLiteral("1/9/2026"));
    EXPECT_EQ(note->labReminderDate->text(), QStringLiteral("1/3/2026 2:05:09 PM"));

    // The editor hands over "" for no due date.
    task.TaskDueDate.clear();
    task.Reminder.State = false;
    ShowDesktopNote(task, top, left);
    EXPECT_EQ(note->LabDueDate->text(), QStringLiteral("none"));
    EXPECT_EQ(note->labReminderDate->text(), QStringLiteral("none"));
}

TEST_F(MarkFormTest, DefaultPlaceForEachCoordinateByItself)
{
    AddNote(QStringLiteral("task1"), QStringLiteral("no place"));
    AddNote(QStringLiteral("task2"), QStringLiteral("no place either"));
    AddNote(QStringLiteral("task3"), QStringLiteral("top only"), 120, 0);
    AddNote(QStringLiteral("task4"), QStringLiteral("left only"), 0, 33);
    AddNote(QStringLiteral("task5"), QStringLiteral("both"), 140, 60);
    ShowDesktopNotes();
    const QRect area = Platform::WorkArea();
    const QPoint fallback(area.x() + area.width() - 253 - 50, area.y() + 50);
    EXPECT_EQ(Note(QStringLiteral("task1"))->pos(), fallback);
    EXPECT_EQ(Note(QStringLiteral("task2"))->pos(), fallback);
    EXPECT_EQ(Note(QStringLiteral("task3"))->pos(), QPoint(fallback.x(), 120));
    EXPECT_EQ(Note(QStringLiteral("task4"))->pos(), QPoint(33, fallback.y()));
    EXPECT_EQ(Note(QStringLiteral("task5"))->pos(), QPoint(60, 140));
    EXPECT_EQ(Note(QStringLiteral("task3"))->TaskInfo.MarkFormTop, 120);
    EXPECT_EQ(Note(QStringLiteral("task3"))->TaskInfo.MarkFormLeft, fallback.x());
}

TEST_F(MarkFormTest, PlaceOnNoScreenGivesTheDefaultPlace)
{
    QRect everything;
    for (const QScreen* screen : QGuiApplication::screens())
        everything |= screen->geometry();
    AddNote(QStringLiteral("task1"), QStringLiteral("gone monitor"), 100, everything.right() + 400);
    AddNote(QStringLiteral("task2"), QStringLiteral("on screen"), 10, 10);
    ShowDesktopNotes();
    EXPECT_EQ(Note(QStringLiteral("task1"))->pos(), DefaultPlace());
    EXPECT_EQ(Note(QStringLiteral("task2"))->pos(), QPoint(10, 10));
    // The place it is shown at is the one saved at the end.
    SaveMarkFormPositions();
    EXPECT_EQ(StoredText(QStringLiteral("task1"), QStringLiteral("markformleft")), QString::number(DefaultPlace().x()));
}

TEST_F(MarkFormTest, PositionPairIsTheWindowsPlace)
{
    TTaskInfo task = AddNote(QStringLiteral("task1"), QStringLiteral("a"), 200, 300);
    qint32 top = -1;
    qint32 left = -1;
    ShowDesktopNote(task, top, left);
    EXPECT_EQ(top, 200);
    EXPECT_EQ(left, 300);

    // A task without a note and with its note off changes nothing, the pair included.
    TTaskInfo other = MakeTask(QStringLiteral("task2"), QStringLiteral("b"), 0, false);
    top = -7;
    left = -8;
    ShowDesktopNote(other, top, left);
    EXPECT_EQ(top, -7);
    EXPECT_EQ(left, -8);
    EXPECT_EQ(MarkFormList->Count(), 1);
}

TEST_F(MarkFormTest, SecondCallForTheSameTaskKeepsOneWindowWithTheNewTexts)
{
    TTaskInfo task = AddNote(QStringLiteral("task1"), QStringLiteral("first name"), 200, 300);
    qint32 top = 0;
    qint32 left = 0;
    ShowDesktopNote(task, top, left);
    TFrmMarkInfoForm* note = Note(QStringLiteral("task1"));
    note->move(310, 220);

    task.TaskName = QStringLiteral("second name");
    task.TaskContent = QStringLiteral("second content");
    task.MarkFormTop = 0;
    task.MarkFormLeft = 0;
    ShowDesktopNote(task, top, left);
    ASSERT_EQ(MarkFormList->Count(), 1);
    EXPECT_EQ(Note(QStringLiteral("task1")), note);
    EXPECT_EQ(note->LabName->text(), QStringLiteral("second name"));
    EXPECT_EQ(note->MeoContnet->text(), QStringLiteral("second content"));
    EXPECT_EQ(note->pos(), QPoint(310, 220));
    EXPECT_EQ(top, 220);
    EXPECT_EQ(left, 310);
}

TEST_F(MarkFormTest, NoteSwitchedOffClosesItsWindowAndHandsBackItsPlace)
{
    TTaskInfo task = AddNote(QStringLiteral("task1"), QStringLiteral("a"), 200, 300);
    qint32 top = 0;
    qint32 left = 0;
    ShowDesktopNote(task, top, left);
    QPointer<TFrmMarkInfoForm> note = Note(QStringLiteral("task1"));
    note->move(250, 150);
    task.MarkFormState = false;
    ShowDesktopNote(task, top, left);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(MarkFormList->Count(), 0);
    EXPECT_TRUE(note.isNull() || !note->isVisible());
    EXPECT_EQ(top, 150);
    EXPECT_EQ(left, 250);
}

TEST_F(MarkFormTest, DraggingMovesTheNoteAndItsPlaceFollows)
{
    AddNote(QStringLiteral("task1"), QStringLiteral("a"), 200, 300);
    ShowDesktopNotes();
    TFrmMarkInfoForm* note = Note(QStringLiteral("task1"));
    const QByteArray before = Folder.Read(TaskFileName);

    Drag(note->LabName, QPoint(40, 25));
    EXPECT_EQ(note->pos(), QPoint(340, 225));
    Drag(note, QPoint(-100, 10)); // on the picture itself
    EXPECT_EQ(note->pos(), QPoint(240, 235));
    EXPECT_EQ(note->TaskInfo.MarkFormLeft, 240);
    EXPECT_EQ(note->TaskInfo.MarkFormTop, 235);
    // Moving writes nothing; the end of the program does.
    EXPECT_EQ(Folder.Read(TaskFileName), before);

    // The right button does not drag.
    const QPoint global = note->LabDueDate->mapToGlobal(QPoint(3, 3));
    QTest::mousePress(note->LabDueDate, Qt::RightButton, Qt::NoModifier, QPoint(3, 3));
    QMouseEvent move(QEvent::MouseMove, QPointF(53, 3), QPointF(global + QPoint(50, 0)), Qt::NoButton,
                     Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(note->LabDueDate, &move);
    QTest::mouseRelease(note->LabDueDate, Qt::RightButton, Qt::NoModifier, QPoint(53, 3));
    EXPECT_EQ(note->pos(), QPoint(240, 235));

    SaveMarkFormPositions();
    EXPECT_EQ(StoredText(QStringLiteral("task1"), QStringLiteral("markformstate")), QStringLiteral("true"));
    EXPECT_EQ(StoredText(QStringLiteral("task1"), QStringLiteral("markformtop")), QStringLiteral("235"));
    EXPECT_EQ(StoredText(QStringLiteral("task1"), QStringLiteral("markformleft")), QStringLiteral("240"));
}

TEST_F(MarkFormTest, CloseFromTheMenuWritesFalseAndTheLastPlace)
{
    AddNote(QStringLiteral("task1"), QStringLiteral("a"), 200, 300);
    AddNote(QStringLiteral("task2"), QStringLiteral("b"), 400, 300);
    ShowDesktopNotes();
    QPointer<TFrmMarkInfoForm> note = Note(QStringLiteral("task1"));
    Drag(note->MeoContnet, QPoint(-20, -30));
    CloseByMenu(note, note->labReminderDate);

    EXPECT_TRUE(note.isNull());
    ASSERT_EQ(MarkFormList->Count(), 1);
    EXPECT_EQ(MarkFormList->Strings(0), QStringLiteral("task2"));
    EXPECT_EQ(StoredText(QStringLiteral("task1"), QStringLiteral("markformstate")), QStringLiteral("false"));
    EXPECT_EQ(StoredText(QStringLiteral("task1"), QStringLiteral("markformtop")), QStringLiteral("170"));
    EXPECT_EQ(StoredText(QStringLiteral("task1"), QStringLiteral("markformleft")), QStringLiteral("280"));
    EXPECT_EQ(StoredText(QStringLiteral("task2"), QStringLiteral("markformstate")), QStringLiteral("true"));

    // After the next start the task has no note.
    delete XMLOperation;
    XMLOperation = new TXMLOperation(Folder.Path(), Formats);
    while (MarkFormList->Count() > 0)
        delete MarkFormList->Objects(0);
    ShowDesktopNotes();
    EXPECT_EQ(Note(QStringLiteral("task1")), nullptr);
    EXPECT_NE(Note(QStringLiteral("task2")), nullptr);
}

TEST_F(MarkFormTest, CloseOfADeletedTasksNoteLeavesNothingListed)
{
    AddNote(QStringLiteral("task1"), QStringLiteral("a"), 200, 300);
    ShowDesktopNotes();
    QPointer<TFrmMarkInfoForm> note = Note(QStringLiteral("task1"));
    XMLOperation->DeleteTask(QStringLiteral("task1"));
    const QByteArray before = Folder.Read(TaskFileName);
    CloseByMenu(note, note);
    EXPECT_TRUE(note.isNull());
    EXPECT_EQ(MarkFormList->Count(), 0);
    EXPECT_EQ(Folder.Read(TaskFileName), before);
}

TEST_F(MarkFormTest, CloseDesktopNoteClosesWithoutWriting)
{
    AddNote(QStringLiteral("task1"), QStringLiteral("a"), 200, 300);
    ShowDesktopNotes();
    QPointer<TFrmMarkInfoForm> note = Note(QStringLiteral("task1"));
    const QByteArray before = Folder.Read(TaskFileName);
    CloseDesktopNote(QStringLiteral("task1"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(note.isNull());
    EXPECT_EQ(MarkFormList->Count(), 0);
    EXPECT_EQ(Folder.Read(TaskFileName), before);
}

TEST_F(MarkFormTest, OpacityFromTheSettings)
{
    TSettingInfo setting;
    XMLOperation->GetSetting(setting);
    setting.MarkFormAlphaBlendState = true;
    setting.MarkFormAlphaBlendValue = 200;
    XMLOperation->SaveSetting(setting);
    AddNote(QStringLiteral("task1"), QStringLiteral("a"));
    AddNote(QStringLiteral("task2"), QStringLiteral("b"), 300, 100);
    ShowDesktopNotes();
    EXPECT_NEAR(Note(QStringLiteral("task1"))->windowOpacity(), 200 / 255.0, 0.005);

    setting.MarkFormAlphaBlendValue = 100;
    ApplyMarkFormAlpha(setting);
    for (const QString& id : {QStringLiteral("task1"), QStringLiteral("task2")})
        EXPECT_NEAR(Note(id)->windowOpacity(), 100 / 255.0, 0.005) << id.toStdString();

    setting.MarkFormAlphaBlendState = false;
    ApplyMarkFormAlpha(setting);
    for (const QString& id : {QStringLiteral("task1"), QStringLiteral("task2")})
        EXPECT_DOUBLE_EQ(Note(id)->windowOpacity(), 1.0) << id.toStdString();
}

TEST_F(MarkFormTest, SaveMarkFormPositionsWritesEveryOpenNote)
{
    AddNote(QStringLiteral("task1"), QStringLiteral("a"));
    AddNote(QStringLiteral("task2"), QStringLiteral("b"), 300, 100);
    AddTask(QStringLiteral("task3"), QStringLiteral("no note"), 0, false);
    ShowDesktopNotes();
    Note(QStringLiteral("task2"))->move(111, 222);
    SaveMarkFormPositions();
    EXPECT_EQ(StoredText(QStringLiteral("task1"), QStringLiteral("markformtop")), QString::number(DefaultPlace().y()));
    EXPECT_EQ(StoredText(QStringLiteral("task1"), QStringLiteral("markformleft")), QString::number(DefaultPlace().x()));
    EXPECT_EQ(StoredText(QStringLiteral("task2"), QStringLiteral("markformtop")), QStringLiteral("222"));
    EXPECT_EQ(StoredText(QStringLiteral("task2"), QStringLiteral("markformleft")), QStringLiteral("111"));
    EXPECT_EQ(StoredText(QStringLiteral("task3"), QStringLiteral("markformstate")), QStringLiteral("false"));
}

TEST_F(MarkFormTest, ClosingEveryWindowAtTheEndStillSavesTheNotesPlaces)
{
    AddNote(QStringLiteral("task1"), QStringLiteral("a"), 200, 300);
    ShowDesktopNotes();
    QPointer<TFrmMarkInfoForm> note = Note(QStringLiteral("task1"));
    note->move(123, 234);
    // What the application does when asked to quit, and what a window manager's close does.
    QApplication::closeAllWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(note.isNull());
    EXPECT_FALSE(note->isVisible());
    ASSERT_EQ(MarkFormList->Count(), 1);
    SaveMarkFormPositions();
    EXPECT_EQ(StoredText(QStringLiteral("task1"), QStringLiteral("markformstate")), QStringLiteral("true"));
    EXPECT_EQ(StoredText(QStringLiteral("task1"), QStringLiteral("markformtop")), QStringLiteral("234"));
    EXPECT_EQ(StoredText(QStringLiteral("task1"), QStringLiteral("markformleft")), QStringLiteral("123"));
}

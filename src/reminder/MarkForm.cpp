#include "MarkForm.h"

#include "ImageList.h"

#include "Application.h"
#include "BaseFunc.h"
#include "NotePlacement.h"
#include "Platform.h"
#include "uXMLOperate.h"

#include <QAction>
#include <QBitmap>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

TStringObjectList<TFrmMarkInfoForm>* MarkFormList = nullptr;

namespace {

constexpr int NoteWidth = 253;
constexpr int NoteHeight = 175;
const QColor NoteColor(255, 255, 139);

// The note picture, rendered once when the first note opens, and the window outline cut
// from its transparent pixels.
struct TNotePicture
{
    QImage Image;
    QRegion Outline;
};

const TNotePicture& NotePicture()
{
    static const TNotePicture picture = [] {
        TNotePicture p;
        RegisterPictures();
        p.Image = QImage(QStringLiteral(":/images/note.png")).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        if (p.Image.isNull())
            return p;
        p.Outline = QRegion(QBitmap::fromImage(p.Image.createAlphaMask())) & QRegion(0, 0, NoteWidth, NoteHeight);
        return p;
    }();
    return picture;
}

void EnsureNoteList()
{
    if (!MarkFormList)
        MarkFormList = new TStringObjectList<TFrmMarkInfoForm>();
}

int NoteAlpha(const TSettingInfo& setting)
{
    return setting.MarkFormAlphaBlendState ? setting.MarkFormAlphaBlendValue : 255;
}

QVector<QRect> ScreenRects()
{
    QVector<QRect> rects;
    for (const QScreen* screen : QGuiApplication::screens())
        rects.append(screen->geometry());
    return rects;
}

int FindNote(const QString& taskId)
{
    if (!MarkFormList)
        return -1;
    for (int i = 0; i < MarkFormList->Count(); ++i)
        if (MarkFormList->Objects(i)->TaskInfo.ID == taskId)
            return i;
    return -1;
}

} // namespace

TNoteShape::TNoteShape(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("RzFormShape1"));
}

void TNoteShape::paintEvent(QPaintEvent*)
{
    const TNotePicture& picture = NotePicture();
    if (picture.Image.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(0, 0, picture.Image);
}

TFrmMarkInfoForm::TFrmMarkInfoForm(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FrmMarkInfoForm"));
    setWindowTitle(tr("Mark"));
    // Closed by anything but its own "Close" (the application closing every window, the
    // window manager), a note is only hidden: it stays listed, so its place is saved at exit.
    setFixedSize(NoteWidth, NoteHeight);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, NoteColor);
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true);

    RzFormShape1 = new TNoteShape(this);
    RzFormShape1->setGeometry(0, 0, NoteWidth, NoteHeight);

    auto label = [this](const char* name, const QString& text, int x, int y) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        l->move(x, y);
        l->adjustSize();
        return l;
    };
    LabName = label("LabName", QString(), 15, 27);
    LabName->setFixedSize(177, 13);
    MeoContnet = label("MeoContnet", QString(), 15, 45);
    MeoContnet->setFixedSize(222, 103);
    MeoContnet->setWordWrap(true);
    MeoContnet->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1 = label("Label1", tr("Due Date : "), 15, 147);
    Label2 = label("Label2", tr("Reminder Date : "), 15, 158);
    // The values stand at x 98 unless a caption, in a font wider than the one the note was
    // drawn for, reaches further; then both move right together.
    const int captions = qMax(Label1->fontMetrics().horizontalAdvance(Label1->text()),
                              Label2->fontMetrics().horizontalAdvance(Label2->text()));
    const int valueColumn = qMax(98, 15 + captions);
    LabDueDate = label("LabDueDate", QString(), valueColumn, 147);
    labReminderDate = label("labReminderDate", QString(), valueColumn, 158);

    Action1 = new QAction(tr("Close"), this);
    Action1->setObjectName(QStringLiteral("Action1"));
    connect(Action1, &QAction::triggered, this, [this] { RunCommand([this] { Action1Execute(); }); });
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupMenu1->addAction(Action1); // the menu's one item, Close1

    // Presses and right-clicks on the picture and the labels are the note's own.
    for (QWidget* child : {static_cast<QWidget*>(RzFormShape1), static_cast<QWidget*>(LabName),
                           static_cast<QWidget*>(MeoContnet), static_cast<QWidget*>(Label1),
                           static_cast<QWidget*>(LabDueDate), static_cast<QWidget*>(Label2),
                           static_cast<QWidget*>(labReminderDate)})
        child->installEventFilter(this);

    RunCommand([this] { FormCreate(); });
}

TFrmMarkInfoForm::~TFrmMarkInfoForm()
{
    if (MarkFormList) {
        const int index = MarkFormList->IndexOfObject(this);
        if (index >= 0)
            MarkFormList->Delete(index);
    }
}

void TFrmMarkInfoForm::FormCreate()
{
    Platform::MakeDesktopWindow(this);
    const TNotePicture& picture = NotePicture();
    if (!picture.Outline.isEmpty())
        setMask(picture.Outline);
}

void TFrmMarkInfoForm::ShowTexts(const TTaskInfo& task)
{
    LabName->setText(task.TaskName);
    MeoContnet->setText(task.TaskContent);
    const bool noDueDate = task.TaskDueDate.isEmpty() || task.TaskDueDate == QLatin1String("none");
    LabDueDate->setText(noDueDate ? tr("none") : task.TaskDueDate);
    LabDueDate->adjustSize();
    if (task.Reminder.State && XMLOperation) {
        const TFormatSettings& fmt = XMLOperation->Formats();
        labReminderDate->setText(DateToStr(task.Reminder.Date, fmt) + QLatin1Char(' ') +
                                 TimeToStr(task.Reminder.Time, fmt));
    } else {
        labReminderDate->setText(tr("none"));
    }
    labReminderDate->adjustSize();
}

bool TFrmMarkInfoForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != this && watched->isWidgetType() && static_cast<QWidget*>(watched)->parentWidget() == this) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            mousePressEvent(static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::MouseMove:
            mouseMoveEvent(static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::MouseButtonRelease:
            mouseReleaseEvent(static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::ContextMenu:
            contextMenuEvent(static_cast<QContextMenuEvent*>(event));
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TFrmMarkInfoForm::mousePressEvent(QMouseEvent* event)
{
    RunCommand([this, event] { FormMouseDown(event); });
}

void TFrmMarkInfoForm::FormMouseDown(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    event->accept();
    // The window manager moves the window with the pointer; where it will not, the window
    // follows the pointer itself until the button is released.
    if (QWindow* window = windowHandle(); window && window->startSystemMove())
        return;
    FDragging = true;
    FDragStartGlobal = event->globalPosition().toPoint();
    FDragStartPos = pos();
    grabMouse();
}

void TFrmMarkInfoForm::mouseMoveEvent(QMouseEvent* event)
{
    if (FDragging && (event->buttons() & Qt::LeftButton))
        DragTo(event->globalPosition().toPoint());
    event->accept();
}

void TFrmMarkInfoForm::mouseReleaseEvent(QMouseEvent* event)
{
    if (FDragging && event->button() == Qt::LeftButton) {
        DragTo(event->globalPosition().toPoint());
        FDragging = false;
        releaseMouse();
    }
    event->accept();
}

void TFrmMarkInfoForm::DragTo(const QPoint& globalPos)
{
    move(FDragStartPos + (globalPos - FDragStartGlobal));
}

void TFrmMarkInfoForm::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    TaskInfo.MarkFormTop = y();
    TaskInfo.MarkFormLeft = x();
}

void TFrmMarkInfoForm::contextMenuEvent(QContextMenuEvent* event)
{
    PopupMenu1->popup(event->globalPos());
    event->accept();
}

void TFrmMarkInfoForm::Action1Execute()
{
    TaskInfo.MarkFormState = false;
    XMLOperation->UpdateMarkForm(TaskInfo);
    // The store drops the entry of a task it knows; the note of a task deleted meanwhile
    // leaves the list here, so that no closed window stays listed.
    if (MarkFormList) {
        const int index = MarkFormList->IndexOfObject(this);
        if (index >= 0)
            MarkFormList->Delete(index);
    }
    Release();
}

void TFrmMarkInfoForm::Release()
{
    close();
    deleteLater();
}

void RemoveMarkFormEntry(const QString& taskId)
{
    const int index = FindNote(taskId);
    if (index >= 0)
        MarkFormList->Delete(index);
}

void ShowDesktopNote(const TTaskInfo& given, qint32& top, qint32& left)
{
    EnsureNoteList();
    TTaskInfo task = given;
    const int index = FindNote(task.ID);
    if (!task.MarkFormState) {
        if (index < 0)
            return;
        TFrmMarkInfoForm* note = MarkFormList->Objects(index);
        top = note->y();
        left = note->x();
        MarkFormList->Delete(index);
        note->Release();
        return;
    }
    if (index >= 0) {
        TFrmMarkInfoForm* note = MarkFormList->Objects(index);
        note->ShowTexts(task);
        top = note->y();
        left = note->x();
        return;
    }
    TSettingInfo setting;
    XMLOperation->GetSetting(setting);
    auto* note = new TFrmMarkInfoForm();
    note->move(NotePlace(task.MarkFormTop, task.MarkFormLeft, Platform::WorkArea(), note->size(), ScreenRects()));
    note->ShowTexts(task);
    task.MarkFormTop = note->y();
    task.MarkFormLeft = note->x();
    Platform::SetWindowAlpha(note, NoteAlpha(setting));
    note->TaskInfo = task;
    note->show();
    MarkFormList->AddObject(task.ID, note);
    top = note->y();
    left = note->x();
}

void ShowDesktopNotes()
{
    TTaskInfoList tasks;
    XMLOperation->GetTaskList(tasks);
    for (const TTaskInfo& task : std::as_const(tasks)) {
        qint32 top = 0;
        qint32 left = 0;
        ShowDesktopNote(task, top, left);
    }
}

void CloseDesktopNote(const QString& taskId)
{
    const int index = FindNote(taskId);
    if (index < 0)
        return;
    TFrmMarkInfoForm* note = MarkFormList->Objects(index);
    MarkFormList->Delete(index);
    note->Release();
}

void ApplyMarkFormAlpha(const TSettingInfo& setting)
{
    if (!MarkFormList)
        return;
    for (int i = 0; i < MarkFormList->Count(); ++i)
        Platform::SetWindowAlpha(MarkFormList->Objects(i), NoteAlpha(setting));
}

void SaveMarkFormPositions()
{
    if (!MarkFormList || !XMLOperation)
        return;
    for (int i = 0; i < MarkFormList->Count(); ++i)
        XMLOperation->UpdateMarkForm(MarkFormList->Objects(i)->TaskInfo);
}

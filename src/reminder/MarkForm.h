// A task pinned to the desktop as a small note window.
#pragma once

#include "BaseAppVar.h"
#include "StringObjectList.h"

#include <QPoint>
#include <QWidget>

class QAction;
class QLabel;
class QMenu;

// The note's picture: draws the background and, through the window's mask, gives the
// window its outline.
class TNoteShape : public QWidget
{
    Q_OBJECT
public:
    explicit TNoteShape(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

class TFrmMarkInfoForm : public QWidget
{
    Q_OBJECT
public:
    explicit TFrmMarkInfoForm(QWidget* parent = nullptr);
    ~TFrmMarkInfoForm() override;

    // The note's own copy of its task; its position follows the window.
    TTaskInfo TaskInfo;

    TNoteShape* RzFormShape1;
    QLabel* LabName;
    QLabel* MeoContnet;
    QLabel* Label1;
    QLabel* LabDueDate;
    QLabel* Label2;
    QLabel* labReminderDate;
    QMenu* PopupMenu1;
    QAction* Action1;

    // Shows the task's name, content, due date and reminder.
    void ShowTexts(const TTaskInfo& task);
    // Closes the window for good; it is released once control returns to the event loop.
    void Release();

public slots:
    // The context menu's "Close": the note's state goes off with its last place, and it closes.
    void Action1Execute();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void FormMouseDown(QMouseEvent* event);
    void DragTo(const QPoint& globalPos);

    bool FDragging = false; // a drag the window moves itself, where the window manager does not
    QPoint FDragStartGlobal;
    QPoint FDragStartPos;
};

// Task identifier to that task's open note window; at most one entry per task.
extern TStringObjectList<TFrmMarkInfoForm>* MarkFormList;

// Drops the entry of the note whose task has this identifier (the window stays open).
void RemoveMarkFormEntry(const QString& taskId);

// Saves the notes' places when the desktop session ends or the program is asked to end by a
// termination or hang-up signal, as Exit does. Called once at start-up.
void InstallSessionEndHandling();

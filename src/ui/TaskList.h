// The task grid of the main window: its columns, its drawing and its filling from the store.
// RefreshTaskList is declared in BaseFunc.h.
#pragma once

#include <QStyledItemDelegate>

class QTreeWidget;

// Columns in the order in which they are defined; this is the index of a row's values.
enum TaskListColumn : int {
    CxTreeListColTaskID = 0, // hidden: the task's ID
    CxTreeListColTaskState,  // the done box, the only editable cell
    CxTreeListColPriority,   // priority image
    CxTreeListColTaskName,   // task name
    CxTreeListColCategory,   // category image
    CxTreeListColReminder,   // reminder image or nothing
    CxTreeListColDuedate,    // due date as stored
    TaskListColumnCount
};

// The object name of the status bar label that shows the task count.
inline constexpr const char* TaskCountPanelName = "StatusBarPanel0";

// Draws the cells of the task grid: the focused row in the caption colour with black text,
// done rows in a grey of their own, images and the done box centred. A click on the done
// box (or Space on it) does not change the cell; it is reported, and whoever handles it
// writes the store and refills the grid.
class TTaskListDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

    // Where the done box of a cell of column 1 lies.
    QRect DoneBoxRect(const QStyleOptionViewItem& option, const QModelIndex& index) const;

signals:
    void DoneBoxClicked(const QModelIndex& index);
};

// The background of a done row.
QColor DoneRowColour(const QPalette& palette);

// Gives `grid` its columns, headers, fixed widths, font and cell drawing; returns the delegate.
TTaskListDelegate* SetupTaskListGrid(QTreeWidget* grid);

#include "TaskList.h"

#include "BaseFunc.h"
#include "ImageList.h"
#include "TaskListOrder.h"
#include "uXMLOperate.h"

#include <QApplication>
#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTreeWidget>

namespace {

QString Tr(const char* text)
{
    return QCoreApplication::translate("TaskList", text);
}

QStyle* StyleOf(const QStyleOptionViewItem& option)
{
    return option.widget ? option.widget->style() : QApplication::style();
}

bool RowIsDone(const QModelIndex& index)
{
    return index.siblingAtColumn(CxTreeListColTaskState).data(Qt::CheckStateRole).toInt() == Qt::Checked;
}

QRect Centred(const QRect& cell, QSize size)
{
    return QRect(cell.x() + (cell.width() - size.width()) / 2, cell.y() + (cell.height() - size.height()) / 2,
                 size.width(), size.height());
}

} // namespace

QColor DoneRowColour(const QPalette& palette)
{
    return palette.color(QPalette::Active, QPalette::Midlight);
}

QRect TTaskListDelegate::DoneBoxRect(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    opt.features |= QStyleOptionViewItem::HasCheckIndicator;
    const QRect box = StyleOf(opt)->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, opt.widget);
    return Centred(option.rect, box.size());
}

void TTaskListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    QStyle* style = StyleOf(opt);

    if (opt.state & QStyle::State_Selected) {
        opt.backgroundBrush = opt.palette.brush(QPalette::Active, QPalette::Highlight);
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            opt.palette.setColor(group, QPalette::Text, Qt::black);
            opt.palette.setColor(group, QPalette::HighlightedText, Qt::black);
        }
    }
    if (RowIsDone(index))
        opt.backgroundBrush = DoneRowColour(opt.palette);
    opt.state &= ~QStyle::State_Selected;

    const QIcon icon = opt.icon;
    const bool hasBox = opt.features & QStyleOptionViewItem::HasCheckIndicator;
    const Qt::CheckState boxState = opt.checkState;
    opt.icon = QIcon();
    opt.features &= ~(QStyleOptionViewItem::HasDecoration | QStyleOptionViewItem::HasCheckIndicator);
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);

    if (!icon.isNull())
        icon.paint(painter, Centred(option.rect, opt.decorationSize), Qt::AlignCenter, QIcon::Normal, QIcon::Off);
    if (hasBox) {
        QStyleOptionViewItem box(opt);
        box.rect = DoneBoxRect(option, index);
        box.state &= ~(QStyle::State_On | QStyle::State_Off | QStyle::State_NoChange | QStyle::State_HasFocus);
        box.state |= boxState == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
        style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, painter, opt.widget);
    }
}

bool TTaskListDelegate::editorEvent(QEvent* event, QAbstractItemModel*, const QStyleOptionViewItem& option,
                                    const QModelIndex& index)
{
    if (index.column() != CxTreeListColTaskState)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonDblClick: {
        // The second click of a double-click on the box is a click of its own, not an edit.
        auto* mouse = static_cast<QMouseEvent*>(event);
        return mouse->button() == Qt::LeftButton && DoneBoxRect(option, index).contains(mouse->position().toPoint());
    }
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton || !DoneBoxRect(option, index).contains(mouse->position().toPoint()))
            return false;
        emit DoneBoxClicked(index);
        return true;
    }
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Space && key != Qt::Key_Select)
            return false;
        emit DoneBoxClicked(index);
        return true;
    }
    default:
        return false;
    }
}

TTaskListDelegate* SetupTaskListGrid(QTreeWidget* grid)
{
    static const int widths[TaskListColumnCount] = {20, 20, 40, 310, 50, 52, 65};

    grid->setColumnCount(TaskListColumnCount);
    grid->setHeaderLabels({QString(), QString(), Tr("Priority"), Tr("Task"), Tr("Catetory"), Tr("Reminder"),
                           Tr("Due Date")});
    for (int column : {CxTreeListColTaskState, CxTreeListColPriority, CxTreeListColCategory, CxTreeListColReminder,
                       CxTreeListColDuedate})
        grid->headerItem()->setTextAlignment(column, Qt::AlignCenter);
    grid->headerItem()->setTextAlignment(CxTreeListColTaskName, Qt::AlignLeft | Qt::AlignVCenter);

    QHeaderView* header = grid->header();
    header->setSectionsMovable(false);
    header->setSectionsClickable(false);
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setMinimumSectionSize(16);
    header->setContextMenuPolicy(Qt::PreventContextMenu);
    // The columns are narrow: headers keep only a pixel of padding so that their words fit.
    header->setStyleSheet(QStringLiteral("QHeaderView::section { padding: 0px 1px; }"));
    for (int column = 0; column < TaskListColumnCount; ++column)
        grid->setColumnWidth(column, widths[column]);
    grid->setColumnHidden(CxTreeListColTaskID, true);

    grid->setRootIsDecorated(false);
    grid->setItemsExpandable(false);
    grid->setIndentation(0);
    grid->setUniformRowHeights(true);
    grid->setSortingEnabled(false);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setIconSize(QSize(16, 16));
    QFont font(QStringLiteral("Tahoma"), 8);
    font.setStyleHint(QFont::SansSerif);
    grid->setFont(font);

    auto* delegate = new TTaskListDelegate(grid);
    grid->setItemDelegate(delegate);

    // Only the done box column takes the focus: the current cell of a row is always its box.
    QObject::connect(grid->selectionModel(), &QItemSelectionModel::currentChanged, grid,
                     [grid](const QModelIndex& current) {
                         if (current.isValid() && current.column() != CxTreeListColTaskState)
                             grid->selectionModel()->setCurrentIndex(current.siblingAtColumn(CxTreeListColTaskState),
                                                                     QItemSelectionModel::NoUpdate);
                     });
    return delegate;
}

void RefreshTaskList(QTreeWidget* grid)
{
    QString focusedId;
    if (const QTreeWidgetItem* row = grid->currentItem())
        focusedId = row->text(CxTreeListColTaskID);
    grid->clear();

    TSettingInfo setting;
    XMLOperation->GetSetting(setting);
    TTaskInfoList tasks;
    XMLOperation->GetTaskList(tasks);
    SortTaskList(tasks, setting);
    if (setting.DoneTaskPutInBottom)
        tasks = PutDoneTasksLast(tasks);

    const bool filterNamesCategory = XMLOperation->HasCategory(setting.DisplayFilter);
    QHash<QString, int> categoryIcons; // one look-up per category and refresh
    QList<QTreeWidgetItem*> rows;
    rows.reserve(tasks.size());
    QTreeWidgetItem* focus = nullptr;
    for (const TTaskInfo& task : tasks) {
        if (!DisplayFilterShowsTask(setting.DisplayFilter, filterNamesCategory, task))
            continue;
        auto* row = new QTreeWidgetItem();
        row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        row->setText(CxTreeListColTaskID, task.ID);
        row->setCheckState(CxTreeListColTaskState, TaskStateTicked(task.TaskState) ? Qt::Checked : Qt::Unchecked);
        bool isNumber = false;
        const int priority = task.TaskPriorityID.toInt(&isNumber);
        row->setIcon(CxTreeListColPriority, CategoryImage(isNumber ? priority : -1));
        row->setText(CxTreeListColTaskName, task.TaskName);
        auto icon = categoryIcons.find(task.TaskCategoryID);
        if (icon == categoryIcons.end()) {
            TCategoryInfo category;
            category.CategoryIconID = -1; // a task of no category shows no image
            XMLOperation->GetCategory(task.TaskCategoryID, category);
            icon = categoryIcons.insert(task.TaskCategoryID, category.CategoryIconID);
        }
        row->setIcon(CxTreeListColCategory, CategoryImage(*icon));
        if (task.Reminder.State)
            row->setIcon(CxTreeListColReminder, CategoryImage(ImageReminder));
        row->setText(CxTreeListColDuedate, task.TaskDueDate);
        if (!focusedId.isEmpty() && task.ID == focusedId)
            focus = row;
        rows.append(row);
    }
    grid->addTopLevelItems(rows);
    if (focus)
        grid->setCurrentItem(focus, CxTreeListColTaskState);
    else
        grid->setCurrentItem(nullptr);

    if (auto* panel = grid->window()->findChild<QLabel*>(QLatin1String(TaskCountPanelName)))
        panel->setText(Tr(" Task Count : %1").arg(grid->topLevelItemCount()));
}

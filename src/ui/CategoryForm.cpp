#include "CategoryForm.h"

#include "Application.h"
#include "BaseFunc.h"
#include "ImageList.h"
#include "MarkForm.h"
#include "ReminderThread.h"
#include "uFunction.h"
#include "uXMLOperate.h"

#include <QAction>
#include <QFocusEvent>
#include <QCollator>
#include <QHeaderView>
#include <QPushButton>
#include <QShowEvent>
#include <QStringList>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <algorithm>

namespace {

// Draws the icon column's picture in the middle of its cell.
class TCentredIconDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->decorationAlignment = Qt::AlignCenter;
        option->decorationSize = QSize(16, 16);
    }
};

// The category list. A row is focused only when the user picks it: gaining the keyboard focus
// does not make the first row current, as an item view otherwise does.
class TCategoryTreeList : public QTreeWidget
{
public:
    using QTreeWidget::QTreeWidget;

protected:
    void focusInEvent(QFocusEvent* event) override
    {
        QTreeWidget::focusInEvent(event);
        if (selectedItems().isEmpty())
            selectionModel()->clearCurrentIndex();
    }
};

// The identifiers of the tasks that have a reminder object or a desktop note.
QStringList TasksWithReminderOrNote()
{
    QStringList ids;
    if (ReminderThreadList)
        for (int i = 0; i < ReminderThreadList->Count(); ++i)
            ids.append(ReminderThreadList->Strings(i));
    if (MarkFormList)
        for (int i = 0; i < MarkFormList->Count(); ++i)
            ids.append(MarkFormList->Strings(i));
    ids.removeDuplicates();
    return ids;
}

} // namespace

TFrmCategoryForm::TFrmCategoryForm(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("FrmCategoryForm"));
    setWindowTitle(tr("Category"));
    setFixedSize(244, 220);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    TreeListCategory = new TCategoryTreeList(this);
    TreeListCategory->setObjectName(QStringLiteral("TreeListCategory"));
    TreeListCategory->setGeometry(6, 6, 231, 174);
    TreeListCategory->setColumnCount(4);
    TreeListCategory->setHeaderLabels({QString(), tr("Category"), QString(), tr("Icon")});
    TreeListCategory->setColumnHidden(CxTreeListCelID, true);
    TreeListCategory->setColumnHidden(CxTreeListCelIconID, true);
    TreeListCategory->setColumnWidth(CxTreeListCelName, 140);
    TreeListCategory->setColumnWidth(CxTreeListCelIcon, 50);
    TreeListCategory->header()->setSectionsMovable(false);
    TreeListCategory->header()->setSectionsClickable(false);
    TreeListCategory->header()->setStretchLastSection(false);
    TreeListCategory->setRootIsDecorated(false);
    TreeListCategory->setItemsExpandable(false);
    TreeListCategory->setUniformRowHeights(true);
    TreeListCategory->setSelectionMode(QAbstractItemView::SingleSelection);
    TreeListCategory->setSelectionBehavior(QAbstractItemView::SelectRows);
    TreeListCategory->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeListCategory->setIconSize(QSize(16, 16));
    TreeListCategory->setItemDelegateForColumn(CxTreeListCelIcon, new TCentredIconDelegate(TreeListCategory));
    TreeListCategoryCustomDrawCell();

    const char* const names[] = {"BitBtn1", "BitBtn2", "BitBtn3", "BitBtn4"};
    const QString captions[] = {tr("&Add"), tr("&Edit"), tr("&Delete"), tr("&Close")};
    QPushButton** const buttons[] = {&BitBtn1, &BitBtn2, &BitBtn3, &BitBtn4};
    const int left[] = {6, 65, 125, 184};
    for (int i = 0; i < 4; ++i) {
        auto* button = new QPushButton(captions[i], this);
        button->setObjectName(QLatin1String(names[i]));
        button->setGeometry(left[i], 188, 53, 25);
        *buttons[i] = button;
    }

    const char* const actionNames[] = {"ActCategoryAdd", "ActCategoryEdit", "ActCategoryDel", "ActCategoryCancel"};
    QAction** const actions[] = {&ActCategoryAdd, &ActCategoryEdit, &ActCategoryDel, &ActCategoryCancel};
    void (TFrmCategoryForm::*const handlers[])() = {
        &TFrmCategoryForm::ActCategoryAddExecute, &TFrmCategoryForm::ActCategoryEditExecute,
        &TFrmCategoryForm::ActCategoryDelExecute, &TFrmCategoryForm::ActCategoryCancelExecute};
    for (int i = 0; i < 4; ++i) {
        auto* action = new QAction(captions[i], this);
        action->setObjectName(QLatin1String(actionNames[i]));
        connect(action, &QAction::triggered, this, handlers[i]);
        connect(*buttons[i], &QPushButton::clicked, action, &QAction::trigger);
        *actions[i] = action;
    }
    connect(TreeListCategory, &QTreeWidget::itemDoubleClicked, ActCategoryEdit, &QAction::trigger);

    setTabOrder(TreeListCategory, BitBtn1);
    setTabOrder(BitBtn1, BitBtn2);
    setTabOrder(BitBtn2, BitBtn3);
    setTabOrder(BitBtn3, BitBtn4);
}

QString TFrmCategoryForm::FocusedCategoryId() const
{
    const QList<QTreeWidgetItem*> selected = TreeListCategory->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text(CxTreeListCelID);
}

QString TFrmCategoryForm::ChangeableCategoryId() const
{
    const QString id = FocusedCategoryId();
    if (id == DefaultCategoryID) {
        ShowMsg(tr("You can't delete or edit this category."), MsgOk);
        return QString();
    }
    return id;
}

void TFrmCategoryForm::ActCategoryAddExecute()
{
    RunCommand([this] {
        OpenAddCategory(this);
        RefreshCategoryList(TreeListCategory);
    });
}

void TFrmCategoryForm::ActCategoryEditExecute()
{
    RunCommand([this] {
        const QString id = ChangeableCategoryId();
        if (id.isEmpty())
            return;
        OpenEditCategory(this, id);
        RefreshCategoryList(TreeListCategory);
    });
}

void TFrmCategoryForm::ActCategoryDelExecute()
{
    RunCommand([this] {
        const QString id = ChangeableCategoryId();
        if (id.isEmpty())
            return;
        if (ShowMsg(tr("Are you sure you want to delete this category? This will cause deletion of all task "
                       "in this category."),
                    MsgYesNo) != IDYES)
            return;
        // The tasks that go with the category also lose their reminders and notes.
        QStringList running = TasksWithReminderOrNote();
        running.removeIf([](const QString& taskId) { return !XMLOperation->HasTask(taskId); });
        XMLOperation->DeleteCategory(id);
        for (const QString& taskId : std::as_const(running)) {
            if (XMLOperation->HasTask(taskId))
                continue;
            StopTaskReminder(taskId);
            CloseDesktopNote(taskId);
        }
        RefreshCategoryList(TreeListCategory);
    });
}

void TFrmCategoryForm::ActCategoryCancelExecute()
{
    reject();
}

void TFrmCategoryForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        RunCommand([this] { FormShow(); });
}

void TFrmCategoryForm::FormShow()
{
    ApplyWindowAppearance(this);
    RefreshCategoryList(TreeListCategory);
}

// The focused row keeps its highlight, with black text, also while a button has the focus.
void TFrmCategoryForm::TreeListCategoryCustomDrawCell()
{
    QPalette palette = TreeListCategory->palette();
    const QColor highlight = palette.color(QPalette::Active, QPalette::Highlight);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Highlight, highlight);
        palette.setColor(group, QPalette::HighlightedText, Qt::black);
    }
    TreeListCategory->setPalette(palette);
}

void RefreshCategoryList(QTreeWidget* list)
{
    QString focusedId;
    const QList<QTreeWidgetItem*> selected = list->selectedItems();
    if (!selected.isEmpty())
        focusedId = selected.first()->text(CxTreeListCelID);

    Tcategorylist categories;
    XMLOperation->GetCategoryList(categories);
    // Sorted by name; categories of one name keep their stored order.
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(categories.begin(), categories.end(), [&collator](const TCategoryInfo& a, const TCategoryInfo& b) {
        return collator.compare(a.CategoryName, b.CategoryName) < 0;
    });

    list->clear();
    QList<QTreeWidgetItem*> rows;
    rows.reserve(categories.size());
    QTreeWidgetItem* focused = nullptr;
    for (const TCategoryInfo& category : categories) {
        auto* row = new QTreeWidgetItem();
        row->setText(CxTreeListCelID, category.ID);
        row->setText(CxTreeListCelName, category.CategoryName);
        row->setData(CxTreeListCelIconID, Qt::DisplayRole, category.CategoryIconID);
        row->setIcon(CxTreeListCelIcon, CategoryImage(category.CategoryIconID));
        if (!focused && !focusedId.isEmpty() && category.ID == focusedId)
            focused = row;
        rows.append(row);
    }
    list->addTopLevelItems(rows);
    if (focused)
        list->setCurrentItem(focused);
}

void OpenCategoryManager(QWidget* owner)
{
    TFrmCategoryForm form(owner);
    form.exec();
}

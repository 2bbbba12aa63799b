#include "CategoryAddEditForm.h"

#include "Application.h"
#include "BaseFunc.h"
#include "CategoryForm.h"
#include "Clock.h"
#include "Identifier.h"
#include "ImageList.h"
#include "uFunction.h"
#include "uXMLOperate.h"

#include <QAction>
#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>
#include <limits>

namespace {

const QString ModeAdd = QStringLiteral("add");
const QString ModeEdit = QStringLiteral("edit");

} // namespace

TFrmCategoryAddEditForm::TFrmCategoryAddEditForm(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("FrmCategoryAddEditForm"));
    setWindowTitle(tr("Add Category"));
    setFixedSize(249, 145);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    LabCategoryName = new QLabel(tr("Category :"), this);
    LabCategoryName->setObjectName(QStringLiteral("LabCategoryName"));
    LabCategoryName->setGeometry(8, 8, 233, 14);
    EdtCategoryName = new QLineEdit(this);
    EdtCategoryName->setObjectName(QStringLiteral("EdtCategoryName"));
    EdtCategoryName->setGeometry(8, 24, 233, 22);
    EdtCategoryName->setMaxLength(std::numeric_limits<int>::max()); // a name of any length
    LabCategoryName->setBuddy(EdtCategoryName);

    LabSelectIcon = new QLabel(tr("Select Icon :"), this);
    LabSelectIcon->setObjectName(QStringLiteral("LabSelectIcon"));
    LabSelectIcon->setGeometry(8, 54, 233, 14);

    // Ten buttons of 23 pixels side by side, as a flat tool bar shows them.
    ToolBar1 = new QWidget(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setGeometry(8, 70, CategoryIconButtonCount * 23, 22);
    IconGroup = new QButtonGroup(this);
    IconGroup->setExclusive(true);
    for (int k = 1; k <= CategoryIconButtonCount; ++k) {
        auto* button = new QToolButton(ToolBar1);
        button->setObjectName(QStringLiteral("ToolButton%1").arg(k));
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::TabFocus);
        button->setIcon(CategoryImage(ImageFirstCategory + k - 1));
        button->setIconSize(QSize(16, 16));
        button->setGeometry((k - 1) * 23, 0, 23, 22);
        button->setToolTip(tr("Icon %1").arg(k));
        button->setAccessibleName(tr("Icon %1").arg(k));
        IconGroup->addButton(button, ImageFirstCategory + k - 1);
        ToolButtons[k - 1] = button;
    }
    ToolButtons[0]->setChecked(true);
    LabSelectIcon->setBuddy(ToolButtons[0]);

    BitBtn1 = new QPushButton(tr("&Ok"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(86, 112, 75, 25);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(tr("&Cancel"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(166, 112, 75, 25);
    BitBtn2->setAutoDefault(false);

    ActOK = new QAction(tr("&Ok"), this);
    ActOK->setObjectName(QStringLiteral("ActOK"));
    ActCancel = new QAction(tr("&Cancel"), this);
    ActCancel->setObjectName(QStringLiteral("ActCancel"));
    connect(ActOK, &QAction::triggered, this, &TFrmCategoryAddEditForm::ActOKExecute);
    connect(ActCancel, &QAction::triggered, this, &TFrmCategoryAddEditForm::ActCancelExecute);
    connect(BitBtn1, &QPushButton::clicked, ActOK, &QAction::trigger);
    connect(BitBtn2, &QPushButton::clicked, ActCancel, &QAction::trigger);

    setTabOrder(EdtCategoryName, ToolButtons[0]);
    for (int k = 1; k < CategoryIconButtonCount; ++k)
        setTabOrder(ToolButtons[k - 1], ToolButtons[k]);
    setTabOrder(ToolButtons[CategoryIconButtonCount - 1], BitBtn1);
    setTabOrder(BitBtn1, BitBtn2);
}

void TFrmCategoryAddEditForm::LoadCategory(const QString& id)
{
    TCategoryInfo category;
    category.ID = id;
    XMLOperation->GetCategory(id, category);
    EditCategoryId = category.ID;
    EdtCategoryName->setText(category.CategoryName);
    SelectIcon(category.CategoryIconID);
}

void TFrmCategoryAddEditForm::SelectIcon(int iconId)
{
    QAbstractButton* button = IconGroup->button(iconId);
    (button ? button : ToolButtons[0])->setChecked(true);
}

int TFrmCategoryAddEditForm::SelectedIcon() const
{
    return IconGroup->checkedId();
}

void TFrmCategoryAddEditForm::ActOKExecute()
{
    RunCommand([this] {
        if (EdtCategoryName->text().isEmpty()) {
            ShowMsg(tr("Please input the category name."), MsgOk);
            return;
        }
        TCategoryInfo category;
        category.CategoryName = EdtCategoryName->text();
        category.CategoryIconID = SelectedIcon();
        if (Mode == ModeAdd) {
            category.ID = MakeIdentifier(QStringLiteral("category"), Clock::Now(),
                                         [](const QString& id) { return XMLOperation->HasCategory(id); });
            XMLOperation->AddCategory(category);
        } else {
            category.ID = EditCategoryId;
            XMLOperation->UpdateCategory(category);
        }
        accept();
    });
}

void TFrmCategoryAddEditForm::ActCancelExecute()
{
    reject();
}

void TFrmCategoryAddEditForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        RunCommand([this] { FormShow(); });
}

void TFrmCategoryAddEditForm::FormShow()
{
    ApplyWindowAppearance(this);
    EdtCategoryName->setFocus(Qt::OtherFocusReason);
}

void OpenAddCategory(TFrmCategoryForm* manager)
{
    TFrmCategoryAddEditForm form(manager);
    form.EdtCategoryName->clear();
    form.Mode = ModeAdd;
    form.exec();
}

void OpenEditCategory(TFrmCategoryForm* manager, const QString& id)
{
    TFrmCategoryAddEditForm form(manager);
    form.Mode = ModeEdit;
    form.LoadCategory(id);
    form.exec();
}

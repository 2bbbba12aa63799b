#include "TaskAddEditForm.h"

#include "Application.h"
#include "BaseFunc.h"
#include "Clock.h"
#include "FormatSettings.h"
#include "Identifier.h"
#include "ImageList.h"
#include "MainForm.h"
#include "uFunction.h"
#include "uXMLOperate.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTimeEdit>

namespace {

const QString ModeAdd = QStringLiteral("add");
const QString ModeEdit = QStringLiteral("edit");
const QString EditCategoriesValue = QStringLiteral("edit");

// The face of the labels, the name box and the content box.
QFont TextFont()
{
    QFont font(QStringLiteral("Arial"), 8);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QString ShortDateFormat()
{
    return XMLOperation ? XMLOperation->Formats().ShortDateFormat
                        : QLocale().dateFormat(QLocale::ShortFormat);
}

template <typename W> W* Place(W* widget, const char* name, int x, int y, int w, int h)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(x, y, w, h);
    return widget;
}

} // namespace

TFrmTaskAddEditForm::TFrmTaskAddEditForm(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("FrmTaskAddEditForm"));
    setWindowTitle(tr("Task"));
    setFixedSize(428, 336);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    const QFont textFont = TextFont();
    const QString dateFormat = ShortDateFormat();

    LabTaskName = Place(new QLabel(tr("Task :"), this), "LabTaskName", 9, 8, 260, 14);
    LabTaskName->setFont(textFont);
    EdtTaskName = Place(new QLineEdit(this), "EdtTaskName", 9, 24, 264, 22);
    EdtTaskName->setFont(textFont);
    EdtTaskName->setMaxLength(TaskNameMaxLength);
    LabTaskName->setBuddy(EdtTaskName);

    LabCategory = Place(new QLabel(tr("Category :"), this), "LabCategory", 281, 8, 137, 14);
    LabCategory->setFont(textFont);
    CmbCategory = Place(new QComboBox(this), "CmbCategory", 281, 24, 137, 22);
    CmbCategory->setIconSize(QSize(16, 16));
    CmbCategory->setEditable(false);
    LabCategory->setBuddy(CmbCategory);

    meoTaskContent = Place(new QPlainTextEdit(this), "meoTaskContent", 9, 54, 409, 153);
    meoTaskContent->setFont(textFont);
    meoTaskContent->setTabChangesFocus(true);

    ChkBoxDueDate = Place(new QCheckBox(tr("Due Date :"), this), "ChkBoxDueDate", 9, 216, 94, 22);
    TpkDueDate = Place(new QDateEdit(this), "TpkDueDate", 105, 216, 112, 22);
    TpkDueDate->setDisplayFormat(dateFormat);
    TpkDueDate->setCalendarPopup(true);

    LabPriority = Place(new QLabel(tr("Priority :"), this), "LabPriority", 226, 220, 60, 14);
    LabPriority->setFont(textFont);
    LabPriority->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    CmbPriority = Place(new QComboBox(this), "CmbPriority", 291, 216, 127, 22);
    CmbPriority->setIconSize(QSize(16, 16));
    LabPriority->setBuddy(CmbPriority);

    GroupBox1 = Place(new QGroupBox(tr("Reminder"), this), "GroupBox1", 9, 246, 409, 52);
    ChkBoxReminder = Place(new QCheckBox(tr("Reminder :"), GroupBox1), "ChkBoxReminder", 8, 20, 94, 22);
    TpkReminderTime = Place(new QTimeEdit(GroupBox1), "TpkReminderTime", 104, 20, 86, 22);
    TpkReminderTime->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    TpkReminderDate = Place(new QDateEdit(GroupBox1), "TpkReminderDate", 198, 20, 112, 22);
    TpkReminderDate->setDisplayFormat(dateFormat);
    TpkReminderDate->setCalendarPopup(true);

    ChkMarkOnDesktop = Place(new QCheckBox(tr("Display On Desktop"), this), "ChkMarkOnDesktop", 9, 308, 160, 22);
    BitBtn1 = Place(new QPushButton(tr("&Ok"), this), "BitBtn1", 263, 305, 75, 25);
    BitBtn1->setDefault(true);
    BitBtn4 = Place(new QPushButton(tr("&Cancel"), this), "BitBtn4", 343, 305, 75, 25);
    BitBtn4->setAutoDefault(false);

    ActTaskOK = new QAction(tr("&Ok"), this);
    ActTaskOK->setObjectName(QStringLiteral("ActTaskOK"));
    ActTaskCancel = new QAction(tr("&Cancel"), this);
    ActTaskCancel->setObjectName(QStringLiteral("ActTaskCancel"));
    connect(ActTaskOK, &QAction::triggered, this, &TFrmTaskAddEditForm::ActTaskOKExecute);
    connect(ActTaskCancel, &QAction::triggered, this, &TFrmTaskAddEditForm::ActTaskCancelExecute);
    connect(BitBtn1, &QPushButton::clicked, ActTaskOK, &QAction::trigger);
    connect(BitBtn4, &QPushButton::clicked, ActTaskCancel, &QAction::trigger);

    connect(ChkBoxDueDate, &QCheckBox::clicked, this, &TFrmTaskAddEditForm::ChkBoxDueDateClick);
    connect(ChkBoxReminder, &QCheckBox::clicked, this, &TFrmTaskAddEditForm::ChkBoxReminderClick);
    connect(ChkMarkOnDesktop, &QCheckBox::clicked, this, &TFrmTaskAddEditForm::ChkBoxReminderClick);
    connect(CmbCategory, &QComboBox::activated, this, &TFrmTaskAddEditForm::CmbCategoryClick);

    QWidget* const order[] = {EdtTaskName,    CmbCategory,     meoTaskContent,  TpkDueDate,
                              CmbPriority,    ChkBoxDueDate,   ChkBoxReminder,  TpkReminderTime,
                              TpkReminderDate, BitBtn1,        BitBtn4,         ChkMarkOnDesktop};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void TFrmTaskAddEditForm::Prepare()
{
    EdtTaskName->clear();
    meoTaskContent->clear();
    ChkBoxDueDateClick();
    ChkBoxReminderClick();
    const QDateTime now = Clock::Now();
    TpkDueDate->setDate(now.date());
    TpkReminderTime->setTime(now.time());
    TpkReminderDate->setDate(now.date());
    ChkBoxDueDateClick();
    ChkBoxReminderClick();
    FillCategoryCombo(CmbCategory);
    FillPriorityCombo(CmbPriority);
}

void TFrmTaskAddEditForm::LoadTask(const QString& id)
{
    TTaskInfo task;
    task.ID = id;
    XMLOperation->GetTask(id, task);
    EditTaskId = task.ID;

    EdtTaskName->setText(task.TaskName);
    meoTaskContent->setPlainText(task.TaskContent);

    const int category = CmbCategory->findData(task.TaskCategoryID);
    if (category >= 0)
        CmbCategory->setCurrentIndex(category);

    // A position outside the list keeps the preparation's "Normal".
    const int priority = StrToInt(task.TaskPriorityID);
    if (priority >= 0 && priority < CmbPriority->count())
        CmbPriority->setCurrentIndex(priority);

    if (task.TaskDueDate != QLatin1String("none")) {
        const TDateTime due = StrToDate(task.TaskDueDate, XMLOperation->Formats());
        ChkBoxDueDate->setChecked(true);
        TpkDueDate->setDate(TDateTimeToDate(due));
    } else {
        ChkBoxDueDate->setChecked(false);
        TpkDueDate->setDate(Clock::Now().date());
    }
    ChkBoxDueDateClick();

    if (task.Reminder.State) {
        ChkBoxReminder->setChecked(true);
        TpkReminderTime->setTime(TDateTimeToTime(task.Reminder.Time));
        TpkReminderDate->setDate(TDateTimeToDate(task.Reminder.Date));
        ChkBoxReminderClick();
    }

    ChkMarkOnDesktop->setChecked(task.MarkFormState);
    ChkBoxReminderClick();
}

void TFrmTaskAddEditForm::ChkBoxDueDateClick()
{
    TpkDueDate->setEnabled(ChkBoxDueDate->isChecked());
}

void TFrmTaskAddEditForm::ChkBoxReminderClick()
{
    const bool on = ChkBoxReminder->isChecked();
    TpkReminderTime->setEnabled(on);
    TpkReminderDate->setEnabled(on);
}

void TFrmTaskAddEditForm::CmbCategoryClick(int index)
{
    RunCommand([this, index] {
        if (CmbCategory->itemData(index).toString() != EditCategoriesValue)
            return;
        OpenCategoryManager(this);
        if (FrmMainForm)
            FillCategoryFilter(FrmMainForm->CmbCategory);
        FillCategoryCombo(CmbCategory);
        CmbCategory->setCurrentIndex(0);
    });
}

void TFrmTaskAddEditForm::ActTaskOKExecute()
{
    RunCommand([this] {
        if (EdtTaskName->text().isEmpty()) {
            ShowMsg(tr("Please input the Task name."), MsgOk);
            return;
        }

        TTaskInfo task;
        task.TaskName = EdtTaskName->text();
        task.TaskCategoryID = CmbCategory->currentData().toString();
        task.TaskPriorityID = IntToStr(CmbPriority->currentData().toInt());
        task.TaskContent = meoTaskContent->toPlainText();
        if (ChkBoxDueDate->isChecked())
            task.TaskDueDate = DateToStr(DateToTDateTime(TpkDueDate->date()), XMLOperation->Formats());
        task.Reminder.State = ChkBoxReminder->isChecked();
        if (task.Reminder.State) {
            const QTime time = TpkReminderTime->time();
            task.Reminder.Date = DateToTDateTime(TpkReminderDate->date());
            task.Reminder.Time = TimeToTDateTime(QTime(time.hour(), time.minute(), time.second()));
        }
        task.MarkFormState = ChkMarkOnDesktop->isChecked();

        const bool adding = Mode == ModeAdd;
        task.ID = adding ? MakeIdentifier(QStringLiteral("task"), Clock::Now(),
                                          [](const QString& id) { return XMLOperation->HasTask(id); })
                         : EditTaskId;

        // The note comes first, so that the stored place is where its window is.
        task.MarkFormTop = 0;
        task.MarkFormLeft = 0;
        qint32 top = 0;
        qint32 left = 0;
        ShowDesktopNote(task, top, left);
        task.MarkFormTop = top;
        task.MarkFormLeft = left;

        if (adding) {
            task.TaskState = QStringLiteral("false");
            XMLOperation->AddTask(task);
        } else {
            // A task whose category was deleted while the dialog was open is added anew,
            // and a new task is not done.
            if (!XMLOperation->HasTask(task.ID))
                task.TaskState = QStringLiteral("false");
            XMLOperation->UpdateTask(task);
        }
        // Restarts the task's reminder, or stops it when the reminder is switched off.
        StartTaskReminder(task);
        accept();
    });
}

void TFrmTaskAddEditForm::ActTaskCancelExecute()
{
    reject();
}

void TFrmTaskAddEditForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        RunCommand([this] { FormShow(); });
}

void TFrmTaskAddEditForm::FormShow()
{
    ApplyWindowAppearance(this);
}

void FillCategoryCombo(QComboBox* combo)
{
    Tcategorylist categories;
    XMLOperation->GetCategoryList(categories);
    combo->clear();
    for (const TCategoryInfo& category : categories)
        combo->addItem(CategoryImage(category.CategoryIconID), category.CategoryName, category.ID);
    combo->addItem(CategoryImage(ImageEditCategories),
                   QCoreApplication::translate("TFrmTaskAddEditForm", "Edit Categories"), EditCategoriesValue);
    combo->setCurrentIndex(0);
}

void FillPriorityCombo(QComboBox* combo)
{
    combo->clear();
    combo->addItem(CategoryImage(0), QCoreApplication::translate("TFrmTaskAddEditForm", "High"), 0);
    combo->addItem(CategoryImage(1), QCoreApplication::translate("TFrmTaskAddEditForm", "Normal"), 1);
    combo->addItem(CategoryImage(2), QCoreApplication::translate("TFrmTaskAddEditForm", "Low"), 2);
    combo->setCurrentIndex(1);
}

void OpenAddTask()
{
    TFrmTaskAddEditForm form(FrmMainForm);
    form.Mode = ModeAdd;
    form.Prepare();
    form.exec();
}

void OpenEditTask(QWidget* owner, const QString& id)
{
    TFrmTaskAddEditForm form(owner);
    form.Prepare();
    form.Mode = ModeEdit;
    form.LoadTask(id);
    form.exec();
}

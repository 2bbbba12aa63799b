// The task editor: the one dialog through which a task is added or changed.
#pragma once

#include <QDialog>
#include <QString>

class QAction;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QShowEvent;
class QTimeEdit;

inline constexpr int TaskNameMaxLength = 200;

class TFrmTaskAddEditForm : public QDialog
{
    Q_OBJECT
public:
    explicit TFrmTaskAddEditForm(QWidget* owner);

    // Empties the texts, puts the pickers on now (greyed while their boxes are unchecked)
    // and fills both combo boxes. Both openers run it before the dialog is shown.
    void Prepare();
    // Edit mode: shows the stored task. Raises the store's conversion error for a stored
    // text that does not read back.
    void LoadTask(const QString& id);

    QLabel* LabTaskName = nullptr;
    QLineEdit* EdtTaskName = nullptr;
    QLabel* LabCategory = nullptr;
    QComboBox* CmbCategory = nullptr;
    QPlainTextEdit* meoTaskContent = nullptr;
    QCheckBox* ChkBoxDueDate = nullptr;
    QDateEdit* TpkDueDate = nullptr;
    QLabel* LabPriority = nullptr;
    QComboBox* CmbPriority = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QCheckBox* ChkBoxReminder = nullptr;
    QTimeEdit* TpkReminderTime = nullptr;
    QDateEdit* TpkReminderDate = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn4 = nullptr;
    QCheckBox* ChkMarkOnDesktop = nullptr;

    QAction* ActTaskOK = nullptr;
    QAction* ActTaskCancel = nullptr;

    QString Mode;       // "add" or "edit"
    QString EditTaskId; // the task being edited; empty when adding

public slots:
    void ActTaskOKExecute();
    void ActTaskCancelExecute();
    void ChkBoxDueDateClick();
    void ChkBoxReminderClick();
    void CmbCategoryClick(int index);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
};

// The reminder pop-up: the task's name and content, the alarm, and "Remind in :".
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TReminderThread;

class TFrmShowTaskForm : public QWidget
{
    Q_OBJECT
public:
    explicit TFrmShowTaskForm(QWidget* parent = nullptr);

    QLabel* Label1;
    QLineEdit* EdtTaskName;
    QLabel* Label2;
    QPlainTextEdit* MeoTaskContent;
    QLabel* Label3;
    QComboBox* CmbRemindIn;
    QPushButton* BitBtn1;
    QAction* ActOK;

    // The reminder object that showed this pop-up; null once that object has been stopped.
    QPointer<TReminderThread> Thread;
    // The task the pop-up reminds of, kept apart from Thread so that OK still knows it.
    QString TaskID;

    // Puts the window, with its frame, flush with the bottom-right corner of the work area.
    void PlaceAtCorner();

public slots:
    void ActOKExecute();

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void FormActivate();
    void ConfirmChoice();

    QMargins FPlacedFrame;
    bool FPlaced = false;
    bool FShowActivationPending = false;
};

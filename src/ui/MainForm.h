// The main window: the task list with its commands, the category selector and the tray icon.
#pragma once

#include <QMainWindow>

class TFrmMainForm : public QMainWindow
{
    Q_OBJECT
public:
    explicit TFrmMainForm(QWidget* parent = nullptr);

    // Shows the window when the program starts, unless the start-up settings keep it hidden.
    void ShowAtStart();

public slots:
    void ActTrayMenuOpenExecute();
    void ActTrayMenuExitExecute();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void FormShow();

    bool FShowOnStart = true;
};

extern TFrmMainForm* FrmMainForm;

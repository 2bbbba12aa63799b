// The program's start-up, its general error handler and its exit procedures.
#pragma once

#include <QApplication>
#include <QString>
#include <exception>
#include <functional>

class TFrmMainForm;

// The application object: catches an error that escapes an event handler, shows it and
// lets the program go on.
class TApplication : public QApplication
{
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Shows the message of the error being handled in a box titled with the application title.
void HandleException(std::exception_ptr error);

// Runs a command; an error that escapes it ends the command and is shown, and the program goes on.
template <typename Fn> void RunCommand(Fn&& command)
{
    try {
        command();
    } catch (...) {
        HandleException(std::current_exception());
    }
}

// Procedures run once when the program ends, after the main window is gone.
void AddExitProc(std::function<void()> proc);
void RunExitProcs();

// The folder of the executable, ending in a separator.
QString ExecutableFolder();

// Checks that the resource library lies beside the executable; false after telling the user.
bool CheckResourceLibrary();

// Fills SoftInfo, sets the application title and creates the process-wide objects in order:
// the reminder list, the desktop note list, the store. Raises an error of the store.
void InitApplication();

// The whole program: returns the process exit status.
int RunTaskwick(int argc, char** argv);

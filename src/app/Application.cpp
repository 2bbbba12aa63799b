#include "Application.h"

#include "BaseVar.h"
#include "Errors.h"
#include "FormatSettings.h"
#include "MainForm.h"
#include "MarkForm.h"
#include "ReminderThread.h"
#include "SingleInstance.h"
#include "uFunction.h"
#include "uXMLOperate.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QIcon>
#include <QVector>

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        HandleException(std::current_exception());
        return false;
    }
}

void HandleException(std::exception_ptr error)
{
    QString message;
    try {
        std::rethrow_exception(error);
    } catch (const ETaskwickError& e) {
        message = e.Message();
    } catch (const std::exception& e) {
        message = QString::fromLocal8Bit(e.what());
    } catch (...) {
        message = QCoreApplication::translate("Taskwick", "An unknown error occurred.");
    }
    ShowMsg(message, MsgOk);
}

namespace {
QVector<std::function<void()>>& ExitProcs()
{
    static QVector<std::function<void()>> procs;
    return procs;
}

// Wayland lets no program place its windows or keep them above or below others; the
// program then runs through XWayland unless the user chose a platform.
void PreferX11OnWayland()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}
} // namespace

void AddExitProc(std::function<void()> proc)
{
    ExitProcs().append(std::move(proc));
}

void RunExitProcs()
{
    const auto procs = std::exchange(ExitProcs(), {});
    for (const auto& proc : procs)
        RunCommand(proc);
}

QString ExecutableFolder()
{
    QString folder = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    if (!folder.endsWith(QDir::separator()))
        folder += QDir::separator();
    return folder;
}

bool CheckResourceLibrary()
{
    const QString path = ExecutableFolder() + ResourceLibraryName;
    const QFileInfo library(path);
    if (library.isFile() && library.isReadable())
        return true;
    ShowMsg(QCoreApplication::translate("Taskwick", "'%1' is not found. Please reinstall this program.").arg(path),
            MsgOk);
    return false;
}

void InitApplication()
{
    const QString folder = ExecutableFolder();
    SoftInfo = LoadSoftInfo(folder + ResourceLibraryName, QCoreApplication::applicationFilePath());
    SoftInfo.AppPath = folder;
    // Not the display name as well: the platform would append it to every dialog's caption.
    SetApplicationTitle(SoftInfo.SoftName + QLatin1Char(' ') + SoftInfo.SoftVersion);

    ReminderThreadList = new TStringObjectList<TReminderThread>();
    MarkFormList = new TStringObjectList<TFrmMarkInfoForm>();
    XMLOperation = new TXMLOperation(folder, TFormatSettings::System());
    XMLOperation->SetNoteClosedHandler(RemoveMarkFormEntry);
}

int RunTaskwick(int argc, char** argv)
{
    PreferX11OnWayland();
    TApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QFont font(QStringLiteral("Tahoma"), 8);
    font.setStyleHint(QFont::SansSerif);
    QApplication::setFont(font);

    if (!CheckResourceLibrary())
        return 1;

    TSingleInstance instance(ExecutableFolder());
    switch (instance.Acquire()) {
    case TSingleInstance::TResult::First:
        break;
    case TSingleInstance::TResult::HandedOver:
        return 0;
    case TSingleInstance::TResult::NoAnswer:
        ShowMsg(QCoreApplication::translate("Taskwick", "Taskwick is already running from '%1' and does not "
                                                        "answer. Close it before starting it again.")
                    .arg(ExecutableFolder()),
                MsgOk);
        return 3;
    }

    try {
        InitApplication();
    } catch (...) {
        HandleException(std::current_exception());
        return 2;
    }
    InstallSessionEndHandling();

    int status = 0;
    {
        auto* mainForm = new TFrmMainForm();
        QObject::connect(&instance, &TSingleInstance::ShowRequested, mainForm, [mainForm] {
            RunCommand([mainForm] { mainForm->ActTrayMenuOpenExecute(); });
        });
        mainForm->ShowAtStart();
        status = QApplication::exec();
        delete mainForm;
    }
    RunExitProcs();
    return status;
}

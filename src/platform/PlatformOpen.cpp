// Documents, addresses and programs handed to the desktop, through one replaceable opener.
#include "Platform.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>

namespace Platform {

namespace {

bool OpenWithDesktop(const OpenRequest& request)
{
    if (!request.Program.isEmpty())
        return QProcess::startDetached(request.Program, request.Arguments);
    return QDesktopServices::openUrl(request.Url);
}

Opener& CurrentOpener()
{
    static Opener opener;
    return opener;
}

bool Open(const OpenRequest& request)
{
    const Opener& opener = CurrentOpener();
    return opener ? opener(request) : OpenWithDesktop(request);
}

} // namespace

bool OpenUrl(const QUrl& url)
{
    OpenRequest request;
    request.Url = url;
    return Open(request);
}

bool StartProgram(const QString& program, const QStringList& arguments)
{
    OpenRequest request;
    request.Program = program;
    request.Arguments = arguments;
    return Open(request);
}

bool StartWebBrowser(const QString& address)
{
    // Debian's alternatives name the system's web browser x-www-browser; elsewhere the
    // desktop's own opener picks the browser for the address.
    const QString browser = QStandardPaths::findExecutable(QStringLiteral("x-www-browser"));
    if (!browser.isEmpty())
        return StartProgram(browser, {address});
    return OpenUrl(QUrl::fromUserInput(address));
}

void SetOpener(Opener opener)
{
    CurrentOpener() = std::move(opener);
}

} // namespace Platform

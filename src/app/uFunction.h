// General helpers: splitting texts and the program's message box.
#pragma once

#include <QString>
#include <QStringList>

// Clears `list` and fills it with the non-empty pieces of `text` between separators.
void SplitString(QString text, const QString& separator, QStringList& list);

// Message box kinds and the results they return.
enum : int { MsgOk = 1, MsgYesNo = 2, MsgYesNoCancel = 3 };
enum : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

// A modal box with the text, the application title and the information icon; returns the
// button that closed it (IDOK, IDCANCEL, IDYES, IDNO), or 0 for an unknown kind.
int ShowMsg(const QString& text, int kind);
// The title that ShowMsg and the main window carry: product name, a blank, the version.
QString ApplicationTitle();
void SetApplicationTitle(const QString& title);

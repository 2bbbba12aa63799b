// Product information: name, version, home page, e-mail address and the program's folder.
#pragma once

#include <QString>

struct RecSoftInfo
{
    QString SoftName;
    QString SoftVersion;
    QString HomePage;
    QString EMail;
    QString AppPath; // folder of the executable, ending in a separator
};

extern RecSoftInfo SoftInfo;

inline const QString ResourceLibraryName = QStringLiteral("Res.dll");

// Reads entries 1, 4 and 5 of the string table `libraryPath` (one "number=text" per line,
// UTF-8) and the version of `executablePath`. Entries are cut to 253 characters; a missing
// entry, or a missing file, leaves its field empty.
RecSoftInfo LoadSoftInfo(const QString& libraryPath, const QString& executablePath);

// The first three parts of the file version that `path` carries, joined with "."
// ("1.2.0" for 1.2.0.0); empty when the file carries none.
QString GetFileVersionText(const QString& path);

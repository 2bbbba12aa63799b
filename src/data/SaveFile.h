// Writing a whole file so that it is either fully replaced or left as it was.
#pragma once

#include <QByteArray>
#include <QString>

// Writes `data` to `path` through a temporary file that replaces the old one only once the
// data is completely on disk. Returns an empty text on success, else the reason, naming the path.
QString SaveFileAtomically(const QString& path, const QByteArray& data);

#include "uFunction.h"

void SplitString(QString text, const QString& separator, QStringList& list)
{
    if (separator.isEmpty()) {
        list = text.isEmpty() ? QStringList() : QStringList{text};
        return;
    }
    if (text.right(2) != separator)
        text += separator;
    list.clear();
    for (int at = text.indexOf(separator); at >= 0; at = text.indexOf(separator)) {
        const QString piece = text.left(at);
        if (!piece.isEmpty())
            list.append(piece);
        text.remove(0, at + separator.size());
    }
}

namespace {
QString& Title()
{
    static QString title;
    return title;
}
} // namespace

QString ApplicationTitle()
{
    return Title();
}

void SetApplicationTitle(const QString& title)
{
    Title() = title;
}

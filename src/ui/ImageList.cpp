#include "ImageList.h"

#include <QVector>

QIcon CategoryImage(int index)
{
    if (index < 0 || index >= ImageCount)
        return QIcon();
    // Loaded on first use and kept: the icons are drawn many times per refresh.
    static QVector<QIcon> images(ImageCount);
    if (images[index].isNull())
        images[index] = QIcon(QStringLiteral(":/images/list/%1.svg").arg(index, 2, 10, QLatin1Char('0')));
    return images[index];
}

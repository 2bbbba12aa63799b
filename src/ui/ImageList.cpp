#include "ImageList.h"

#include <QHash>
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

QIcon ToolBarImage(const QString& name)
{
    static QHash<QString, QIcon> images;
    auto it = images.find(name);
    if (it == images.end())
        it = images.insert(name, QIcon(QStringLiteral(":/images/toolbar/%1.svg").arg(name)));
    return *it;
}

QIcon TrayImage()
{
    static const QIcon image(QStringLiteral(":/images/tray.svg"));
    return image;
}

QIcon ApplicationImage()
{
    static const QIcon image(QStringLiteral(":/images/taskwick.svg"));
    return image;
}

#include "ImageList.h"

#include <QHash>
#include <QVector>

// Outside any namespace, as Qt's resource macro requires.
static void InitImagesResource()
{
    Q_INIT_RESOURCE(images);
}

namespace {
// A picture at 1x with its "@2x" twin, whatever the scale of the screen at start-up (Qt adds
// the twin by itself only for that scale, and a window may move to another screen).
QIcon TwoScaleIcon(const QString& base)
{
    QIcon icon(base + QStringLiteral(".png"));
    icon.addFile(base + QStringLiteral("@2x.png"));
    return icon;
}
} // namespace

void RegisterPictures()
{
    static const bool registered = (InitImagesResource(), true);
    Q_UNUSED(registered);
}

QIcon CategoryImage(int index)
{
    RegisterPictures();
    if (index < 0 || index >= ImageCount)
        return QIcon();
    // Loaded on first use and kept: the icons are drawn many times per refresh.
    static QVector<QIcon> images(ImageCount);
    if (images[index].isNull())
        images[index] = TwoScaleIcon(QStringLiteral(":/images/list/%1").arg(index, 2, 10, QLatin1Char('0')));
    return images[index];
}

QIcon ToolBarImage(const QString& name)
{
    RegisterPictures();
    static QHash<QString, QIcon> images;
    auto it = images.find(name);
    if (it == images.end())
        it = images.insert(name, TwoScaleIcon(QStringLiteral(":/images/toolbar/%1").arg(name)));
    return *it;
}

QIcon TrayImage()
{
    RegisterPictures();
    static const QIcon image = TwoScaleIcon(QStringLiteral(":/images/tray"));
    return image;
}

QIcon ApplicationImage()
{
    RegisterPictures();
    static const QIcon image = [] {
        QIcon icon;
        // The sizes a window manager shows: each file is read when it is added, so the large
        // ones (in the hicolor theme for menus and launchers) are left out of start-up.
        for (int size : {16, 32, 48})
            icon.addFile(QStringLiteral(":/images/taskwick-%1.png").arg(size), QSize(size, size));
        return icon;
    }();
    return image;
}

#include "WindowAppearanceRule.h"

int WindowAlpha(const TSettingInfo& setting)
{
    return setting.AlphaBlendState ? int(quint32(setting.AlphaBlendValue) & 0xFFu) : 255;
}

QPoint BottomRightPlace(const QRect& workArea, const QSize& frame)
{
    return {workArea.x() + workArea.width() - frame.width(), workArea.y() + workArea.height() - frame.height()};
}

// The arithmetic of window opacity and of the main window's place. No windows here.
#pragma once

#include "BaseAppVar.h"

#include <QPoint>
#include <QRect>
#include <QSize>

// 0 (invisible) to 255 (opaque): the low 8 bits of AlphaBlendValue when transparency is
// on, else 255.
int WindowAlpha(const TSettingInfo& setting);

// The top-left corner that puts a window of outer size `frame` into the bottom-right
// corner of `workArea`, touching both edges.
QPoint BottomRightPlace(const QRect& workArea, const QSize& frame);

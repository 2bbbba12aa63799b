// Window opacity from the settings, and the main window's place on the screen.
// ApplyWindowAppearance and PlaceMainForm are declared in BaseFunc.h.
#pragma once

class QWidget;

// Moves `window` so that its outer frame touches the bottom-right corner of the work area.
// Before the window manager has framed the window its outer size is its own size.
void PlaceAtWorkAreaBottomRight(QWidget* window);

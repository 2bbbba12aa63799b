// Where a desktop note goes on the screen, free of windows.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QVector>

// Distance of the default place from the work area's top and from its right edge.
inline constexpr int NoteMargin = 50;

// The default place of a note's top-left corner: 50 pixels below the work area's top, and
// 50 pixels left of its right edge minus the note's width.
QPoint DefaultNotePlace(const QRect& workArea, const QSize& noteSize);

// The place from a stored top and left, where 0 means that no value is stored for that
// coordinate; each coordinate falls back to its default by itself.
QPoint StoredNotePlace(qint32 storedTop, qint32 storedLeft, const QRect& workArea, const QSize& noteSize);

// Whether a note at `noteRect` can be seen and grabbed: at least a square of
// NoteMinVisible pixels (or the whole note, if smaller) lies on one of the screens.
// With no screen known every place counts as on a screen.
inline constexpr int NoteMinVisible = 16;
bool NoteOnScreen(const QRect& noteRect, const QVector<QRect>& screens);

// The place a note is shown at: the stored place, or the default place when the stored place
// lies on no screen (a monitor was unplugged, the resolution changed).
QPoint NotePlace(qint32 storedTop, qint32 storedLeft, const QRect& workArea, const QSize& noteSize,
                 const QVector<QRect>& screens);

#include "NotePlacement.h"

#include <QtGlobal>

QPoint DefaultNotePlace(const QRect& workArea, const QSize& noteSize)
{
    // The work area's right edge is the first column beyond it.
    const int right = workArea.x() + workArea.width();
    return QPoint(right - noteSize.width() - NoteMargin, workArea.y() + NoteMargin);
}

QPoint StoredNotePlace(qint32 storedTop, qint32 storedLeft, const QRect& workArea, const QSize& noteSize)
{
    const QPoint fallback = DefaultNotePlace(workArea, noteSize);
    return QPoint(storedLeft != 0 ? storedLeft : fallback.x(), storedTop != 0 ? storedTop : fallback.y());
}

bool NoteOnScreen(const QRect& noteRect, const QVector<QRect>& screens)
{
    if (screens.isEmpty())
        return true;
    const int needWidth = qMin(NoteMinVisible, noteRect.width());
    const int needHeight = qMin(NoteMinVisible, noteRect.height());
    for (const QRect& screen : screens) {
        const QRect seen = screen.intersected(noteRect);
        if (!seen.isEmpty() && seen.width() >= needWidth && seen.height() >= needHeight)
            return true;
    }
    return false;
}

QPoint NotePlace(qint32 storedTop, qint32 storedLeft, const QRect& workArea, const QSize& noteSize,
                 const QVector<QRect>& screens)
{
    const QPoint stored = StoredNotePlace(storedTop, storedLeft, workArea, noteSize);
    if (NoteOnScreen(QRect(stored, noteSize), screens))
        return stored;
    return DefaultNotePlace(workArea, noteSize);
}

#include "editor/control/MemoCursors.h"

#include <QPixmap>

namespace zandor {

QCursor CursorOf(int16_t cursor) {
    switch (cursor) {
    case crNone:
        return QCursor(Qt::BlankCursor);
    case crCross:
        return QCursor(Qt::CrossCursor);
    case crIBeam:
        return QCursor(Qt::IBeamCursor);
    case crSizeNESW:
        return QCursor(Qt::SizeBDiagCursor);
    case crSizeNS:
        return QCursor(Qt::SizeVerCursor);
    case crSizeNWSE:
        return QCursor(Qt::SizeFDiagCursor);
    case crSizeWE:
        return QCursor(Qt::SizeHorCursor);
    case crUpArrow:
        return QCursor(Qt::UpArrowCursor);
    case crHourGlass:
    case crSQLWait:
        return QCursor(Qt::WaitCursor);
    case crDrag:
    case crMultiDrag:
        return QCursor(Qt::DragMoveCursor);
    case crNoDrop:
    case crNo:
        return QCursor(Qt::ForbiddenCursor);
    case crHSplit:
        return QCursor(Qt::SplitHCursor);
    case crVSplit:
        return QCursor(Qt::SplitVCursor);
    case crAppStart:
        return QCursor(Qt::BusyCursor);
    case crHelp:
        return QCursor(Qt::WhatsThisCursor);
    case crHandPoint:
        return QCursor(Qt::PointingHandCursor);
    case crSizeAll:
        return QCursor(Qt::SizeAllCursor);
    default:
        return QCursor(Qt::ArrowCursor);
    }
}

namespace {

// Made once and kept to the end of the program: a cursor outliving the application object would
// be released after the window system it belongs to.
const QCursor& ResourceCursor(const char* path, int hotX, int hotY) {
    return *new QCursor(QPixmap(QString::fromLatin1(path)), hotX, hotY);
}

} // namespace

const QCursor& LineSelectCursor() {
    static const QCursor& cursor = ResourceCursor(":/cursors/AMRIGHTARROW.xpm", 10, 0);
    return cursor;
}

const QCursor& DragCopyCursor() {
    static const QCursor& cursor = ResourceCursor(":/cursors/AMEMODRAGCOPY.xpm", 0, 0);
    return cursor;
}

} // namespace zandor

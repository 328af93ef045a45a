#include "app/Cursors.h"

#include <QPixmap>

QCursor ProgramCursor(TCursorKind kind)
{
    switch (kind) {
    case crHand: return QCursor(QPixmap(QStringLiteral(":/cursors/hand.png")), 15, 15);
    case crGHand: return QCursor(QPixmap(QStringLiteral(":/cursors/grab.png")), 15, 15);
    case crCPick: break;
    }
    return QCursor(QPixmap(QStringLiteral(":/cursors/pick.png")), 1, 30);  // the pipette's tip
}

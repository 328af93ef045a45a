#include "widgets/DialogPlacement.h"

#include <QScreen>
#include <QWidget>

namespace pictor {

void CentreOnScreen(QWidget* window)
{
    const QScreen* screen = window->screen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    window->move(area.center() - QPoint(window->frameGeometry().width() / 2, window->frameGeometry().height() / 2));
}

} // namespace pictor

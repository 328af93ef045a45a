#pragma once

class QWidget;

namespace pictor {

// Puts a window in the middle of the screen it is on (the dialogs are centred on the desktop,
// not on their parent).
void CentreOnScreen(QWidget* window);

} // namespace pictor

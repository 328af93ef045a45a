#pragma once
#include <exception>

class QWidget;

namespace pictor {

// The application's standard error box: the error's own text under the program's title.
void ShowErrorBox(QWidget* parent, const std::exception& error);

} // namespace pictor

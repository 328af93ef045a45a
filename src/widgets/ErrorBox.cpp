#include "widgets/ErrorBox.h"

#include <QApplication>
#include <QMessageBox>

namespace pictor {

void ShowErrorBox(QWidget* parent, const std::exception& error)
{
    QMessageBox::critical(parent, QApplication::applicationName(), QString::fromUtf8(error.what()));
}

} // namespace pictor

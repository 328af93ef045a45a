#include "app/ProgressWindow.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>

// A panel over the main window rather than a window of its own: it never takes the focus from
// the window it reports for.
TfrmProgress::TfrmProgress(QWidget* mainWindow) : QFrame(mainWindow), MainWindow_(mainWindow), Label_(new QLabel(this))
{
    setObjectName(QStringLiteral("frmProgress"));
    setAutoFillBackground(true);
    hide();
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    setFixedSize(378, 81);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label_, 0, Qt::AlignCenter);
}

void TfrmProgress::ShowMessage(const QString& message)
{
    Label_->setText(message);
    move((MainWindow_->width() - width()) / 2, (MainWindow_->height() - height()) / 2);
    show();
    raise();
    repaint();
    QApplication::processEvents();
}

#include "app/ProgressWindow.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

// A panel over the main window rather than a window of its own: it never takes the focus from
// the window it reports for.
TfrmProgress::TfrmProgress(QWidget* mainWindow)
    : QFrame(mainWindow), MainWindow_(mainWindow), Label_(new QLabel(this)), Bar_(new QProgressBar(this)),
      Cancel_(new QPushButton("キャンセル", this))
{
    setObjectName(QStringLiteral("frmProgress"));
    setAutoFillBackground(true);
    hide();
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    setFixedWidth(378);
    Bar_->setObjectName(QStringLiteral("pbCount"));
    Bar_->setFormat(QStringLiteral("%v / %m"));
    Cancel_->setObjectName(QStringLiteral("btnCancel"));
    Cancel_->setFocusPolicy(Qt::NoFocus);
    connect(Cancel_, &QPushButton::clicked, this, &TfrmProgress::CancelPressed);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label_, 0, Qt::AlignCenter);
    layout->addWidget(Bar_);
    layout->addWidget(Cancel_, 0, Qt::AlignCenter);
}

void TfrmProgress::ShowMessage(const QString& message)
{
    Bar_->hide();
    Cancel_->hide();
    Label_->setText(message);
    setFixedHeight(81);
    move((MainWindow_->width() - width()) / 2, (MainWindow_->height() - height()) / 2);
    show();
    raise();
    repaint();
    QApplication::processEvents();
}

void TfrmProgress::ShowWork(const QString& message, bool cancellable)
{
    Label_->setText(message);
    SetCount(0, 0);
    Bar_->show();
    Cancel_->setVisible(cancellable);
    setFixedHeight(sizeHint().height());
    move((MainWindow_->width() - width()) / 2, (MainWindow_->height() - height()) / 2);
    show();
    raise();
}

void TfrmProgress::SetCount(int done, int total)
{
    Bar_->setRange(0, total);
    Bar_->setValue(done);
}

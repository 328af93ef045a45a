#include "app/AboutDialog.h"

#include "widgets/DialogPlacement.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace pictor {

TfrmAbout::TfrmAbout(int& highScore, QWidget* parent) : QDialog(parent), HighScore_(highScore)
{
    setWindowTitle("バージョン情報");
    auto* logo = new QLabel(this);
    logo->setPixmap(QPixmap(":/pictor.png"));
    auto* name = new QLabel("Pictor", this);
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 2);
    big.setBold(true);
    name->setFont(big);
    auto* version = new QLabel("Ver. 1.03", this);
    auto* notice = new QLabel("このプログラムは GNU General Public License 第3版の下で配布されます。", this);
    auto* credit = new QLabel("PNG 画像の読み書きに libpng を使用しています。", this);
    auto* btnOK = new QPushButton("OK", this);
    btnOK->setObjectName("btnOK");
    btnOK->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(logo, 0, Qt::AlignHCenter);
    layout->addWidget(name, 0, Qt::AlignHCenter);
    layout->addWidget(version, 0, Qt::AlignHCenter);
    layout->addSpacing(12);
    layout->addWidget(notice);
    layout->addWidget(credit);
    layout->addSpacing(12);
    layout->addWidget(btnOK, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    Timer_.setInterval(TAboutGame::kStepMilliseconds);
    connect(&Timer_, &QTimer::timeout, this, &TfrmAbout::GameStep);
    connect(btnOK, &QPushButton::clicked, this, &TfrmAbout::btnOKClick);
    adjustSize();
    CentreOnScreen(this);
}

void TfrmAbout::btnOKClick()
{
    if (Game_.Running()) return;
    const QRect screenArea = screen()->geometry();
    ScreenBottom_ = screenArea.y() + screenArea.height();
    Game_.Start(y());
    Timer_.start();
}

void TfrmAbout::GameStep()
{
    move(x(), Game_.Step(ScreenBottom_));
    if (!Game_.Running()) done(QDialog::Accepted);
}

bool TfrmAbout::event(QEvent* event)
{
    // The title bar belongs to the window manager, which seldom reports clicks on it, so a click
    // anywhere on the moving window is a hit.
    const QEvent::Type type = event->type();
    if (Game_.Running() && (type == QEvent::NonClientAreaMouseButtonPress || type == QEvent::MouseButtonPress)) {
        Game_.Hit(y());
        return true;
    }
    return QDialog::event(event);
}

void TfrmAbout::done(int result)
{
    Timer_.stop();
    QDialog::done(result);
    if (const auto message = Game_.ResultMessage(HighScore_)) {
        QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), QString::fromStdString(*message),
                        QMessageBox::Ok, parentWidget());
        box.exec();
    }
}

} // namespace pictor

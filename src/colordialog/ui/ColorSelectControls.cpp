#include "colordialog/ui/ColorSelectControls.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>
#include <qdrawutil.h>

namespace pictor {

TImageView::TImageView(QSize size, QImage::Format format, QWidget* parent)
    : QWidget(parent), Image_(size, format)
{
    setFixedSize(size);
    Image_.fill(palette().color(QPalette::Button));
}

void TImageView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, Image_);
}

void TImageView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) emit LeftMouse(event->position());
}

void TImageView::mouseMoveEvent(QMouseEvent* event)
{
    // The press grabs the mouse, so drags outside the control still arrive here.
    if (event->buttons() & Qt::LeftButton) emit LeftMouse(event->position());
}

TPaletteCellButton::TPaletteCellButton(QWidget* parent) : QAbstractButton(parent)
{
    setCheckable(true);
    setFixedSize(18, 18);
    setFocusPolicy(Qt::NoFocus);
}

void TPaletteCellButton::paintEvent(QPaintEvent*)
{
    if (!isChecked() && !underMouse()) return;
    QPainter painter(this);
    qDrawShadeRect(&painter, rect(), palette(), isChecked() || isDown(), 1);
}

void TPaletteCellButton::enterEvent(QEnterEvent* event)
{
    update();
    QAbstractButton::enterEvent(event);
}

void TPaletteCellButton::leaveEvent(QEvent* event)
{
    update();
    QAbstractButton::leaveEvent(event);
}

TUpDownButtons::TUpDownButtons(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (auto [arrow, delta] : {std::pair{Qt::UpArrow, 1}, std::pair{Qt::DownArrow, -1}}) {
        auto* button = new QToolButton(this);
        button->setArrowType(arrow);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setFixedSize(16, 11);
        connect(button, &QToolButton::clicked, this, [this, delta = delta] { emit Stepped(delta); });
        layout->addWidget(button);
    }
    setFixedSize(16, 22);
}

} // namespace pictor

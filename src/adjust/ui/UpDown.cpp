#include "adjust/ui/UpDown.h"

#include <QToolButton>

TUpDown::TUpDown(QWidget* parent) : QWidget(parent)
{
    const auto addArrow = [this](Qt::ArrowType arrow, int delta, const char* name) {
        auto* button = new QToolButton(this);
        button->setObjectName(name);
        button->setArrowType(arrow);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QToolButton::clicked, this, [this, delta] { emit Click(delta); });
        return button;
    };
    Up_ = addArrow(Qt::UpArrow, 1, "Up");
    Down_ = addArrow(Qt::DownArrow, -1, "Down");
}

void TUpDown::resizeEvent(QResizeEvent*)
{
    const int half = height() / 2;
    Up_->setGeometry(0, 0, width(), half);
    Down_->setGeometry(0, half, width(), height() - half);
}

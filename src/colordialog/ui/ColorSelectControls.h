#pragma once
#include <QAbstractButton>
#include <QImage>
#include <QWidget>

namespace pictor {

// An image control: shows its own bitmap and reports left-button presses and drags.
class TImageView : public QWidget {
    Q_OBJECT
public:
    TImageView(QSize size, QImage::Format format, QWidget* parent);
    QImage& Image() { return Image_; }

signals:
    void LeftMouse(QPointF position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QImage Image_;
};

// A flat palette button: transparent, so the palette image shows through; sunken while down.
class TPaletteCellButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit TPaletteCellButton(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
};

// The up and down arrows beside a numeric field.
class TUpDownButtons : public QWidget {
    Q_OBJECT
public:
    explicit TUpDownButtons(QWidget* parent);

signals:
    void Stepped(int delta);
};

} // namespace pictor

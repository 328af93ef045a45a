#pragma once
#include <QImage>
#include <QWidget>

// The picture list's hint: the picture at its own size.
class TGraphicHint : public QWidget {
    Q_OBJECT
public:
    explicit TGraphicHint(QWidget* parent = nullptr);
    // Shows the image with the window's top-left corner at `at` (screen co-ordinates).
    void ShowImage(const QImage& image, const QPoint& at);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage Image_;
};

// The colour list's hint: the source around an occurrence, the colour text in bold italic.
class TSourceHint : public QWidget {
    Q_OBJECT
public:
    explicit TSourceHint(QWidget* parent = nullptr);
    // Shows the excerpt with the window's top-left corner at `at`, kept within the desktop.
    void ShowExcerpt(const QString& before, const QString& color, const QString& after, const QPoint& at);
    QString Before() const { return Before_; }
    QString Color() const { return Color_; }
    QString After() const { return After_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString Before_;
    QString Color_;
    QString After_;
};

#include "app/HintWindows.h"

#include "app/UiFonts.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QRegularExpression>
#include <QScreen>
#include <QToolTip>

namespace {

void SetUpHintWindow(QWidget* hint)
{
    hint->setAttribute(Qt::WA_TransparentForMouseEvents);
    hint->setAttribute(Qt::WA_ShowWithoutActivating);
    hint->setAutoFillBackground(true);
    QPalette palette = hint->palette();
    palette.setColor(QPalette::Window, QToolTip::palette().color(QPalette::ToolTipBase));
    palette.setColor(QPalette::WindowText, QToolTip::palette().color(QPalette::ToolTipText));
    hint->setPalette(palette);
}

QStringList Lines(const QString& text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    return text.split(lineBreak);
}

QFont ColorFont(QFont font)
{
    font.setBold(true);
    font.setItalic(true);
    return font;
}

} // namespace

TGraphicHint::TGraphicHint(QWidget* parent) : QWidget(parent, Qt::ToolTip)
{
    SetUpHintWindow(this);
}

void TGraphicHint::ShowImage(const QImage& image, const QPoint& at)
{
    Image_ = image;
    setGeometry(at.x(), at.y(), image.width() + 4, image.height());
    show();
    update();
}

void TGraphicHint::paintEvent(QPaintEvent*)
{
    QPainter(this).drawImage(1, 1, Image_);
}

TSourceHint::TSourceHint(QWidget* parent) : QWidget(parent, Qt::ToolTip)
{
    SetUpHintWindow(this);
    setFont(ProportionalPointFont(9));
}

void TSourceHint::ShowExcerpt(const QString& before, const QString& color, const QString& after, const QPoint& at)
{
    Before_ = before;
    Color_ = color;
    After_ = after;
    const QRect box = QFontMetrics(font()).boundingRect(QRect(0, 0, 9999, 0), Qt::AlignLeft | Qt::TextWordWrap,
                                                        before + color + after);
    QRect window(at, QSize(box.width() + 6 + 30, box.height() + 2));
    if (const QScreen* screen = QGuiApplication::screenAt(at)) {
        const QRect desktop = screen->geometry();
        window.moveRight(std::min(window.right(), desktop.right()));
        window.moveBottom(std::min(window.bottom(), desktop.bottom()));
        window.moveTopLeft(QPoint(std::max(window.left(), desktop.left()), std::max(window.top(), desktop.top())));
    }
    setGeometry(window);
    show();
    update();
}

void TSourceHint::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const QFont normal = font();
    const QFont bold = ColorFont(normal);
    const int lineHeight = QFontMetrics(normal).height();
    const int ascent = QFontMetrics(normal).ascent();
    const int margin = 2;

    const QStringList before = Lines(Before_);
    int y = margin;
    for (int i = 0; i + 1 < before.size(); ++i, y += lineHeight)
        painter.drawText(margin, y + ascent, before[i]);
    int x = margin;
    painter.drawText(x, y + ascent, before.last());
    x += QFontMetrics(normal).horizontalAdvance(before.last());
    painter.setFont(bold);
    painter.drawText(x, y + ascent, Color_);
    x += QFontMetrics(bold).horizontalAdvance(Color_ + QLatin1Char(' '));
    painter.setFont(normal);
    const QStringList after = Lines(After_);
    painter.drawText(x, y + ascent, after.first());
    for (int i = 1; i < after.size(); ++i) {
        y += lineHeight;
        painter.drawText(margin, y + ascent, after[i]);
    }
}

#include "widgets/SwatchDelegate.h"

#include <QApplication>
#include <QPainter>

#include <algorithm>

TSwatchDelegate::TSwatchDelegate(TColorOf colorOf, QObject* parent)
    : TCheckListDelegate(parent), ColorOf_(std::move(colorOf))
{
}

void TSwatchDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
    const QRect row = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, opt.widget);
    const QString text = opt.text;
    opt.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);

    QColor swatch;
    if (!ColorOf_(index.row(), swatch)) return;
    const int h = row.height();
    painter->save();
    // A square of side h - 2 whose outline lies inside it; a see-through colour over a checkerboard.
    const QRect square = QRect(row.left() + 1, row.top() + 1, h - 2, h - 2).adjusted(0, 0, -1, -1);
    if (swatch.alpha() < 255) {
        const int cell = std::max(2, h / 4);
        for (int y = square.top(); y <= square.bottom(); y += cell)
            for (int x = square.left(); x <= square.right(); x += cell)
                painter->fillRect(QRect(x, y, cell, cell).intersected(square),
                                  ((x - square.left()) / cell + (y - square.top()) / cell) % 2 ? Qt::lightGray : Qt::white);
    }
    painter->setPen(opt.palette.color(QPalette::Text));
    painter->setBrush(swatch);
    painter->drawRect(square);
    painter->setPen(opt.palette.color(opt.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(opt.font);
    painter->drawText(QRect(row.left() + h + 1, row.top(), row.width() - h - 1, h),
                      Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    painter->restore();
}

int TSwatchDelegate::DrawnWidth(const QStyleOptionViewItem& option) const
{
    return TCheckListDelegate::DrawnWidth(option) + RowHeight + 1;  // the swatch goes before the text
}

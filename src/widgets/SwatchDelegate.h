#pragma once
#include "widgets/MyCheckListBox.h"

#include <functional>

// Colour rows: a square swatch of the row's colour, then the row's text.
class TSwatchDelegate : public TCheckListDelegate {
    Q_OBJECT
public:
    // colorOf gives the swatch colour of a row, or false to leave the row blank.
    using TColorOf = std::function<bool(int row, QColor& color)>;
    TSwatchDelegate(TColorOf colorOf, QObject* parent = nullptr);
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    int DrawnWidth(const QStyleOptionViewItem& option) const override;

private:
    TColorOf ColorOf_;
};

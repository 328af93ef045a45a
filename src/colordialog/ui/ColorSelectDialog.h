#pragma once
#include "colordialog/ColorSelectModel.h"

#include <QObject>

class QWidget;

namespace pictor {

// The non-visual colour dialog component: carries the colour in and out and keeps the
// 28-cell palette from one run to the next for as long as it lives.
class TColorSelectDialog : public QObject {
    Q_OBJECT
public:
    explicit TColorSelectDialog(QObject* parent = nullptr);

    TColor Color() const { return Color_; }
    void SetColor(TColor color) { Color_ = color; }
    bool UseWebSafeColor() const { return UseWebSafeColor_; }
    void SetUseWebSafeColor(bool on) { UseWebSafeColor_ = on; }
    const TPaletteCells& CustomColors() const { return CustomColors_; }
    // An index outside 0..27 is ignored.
    void SetCustomColors(int index, TColor color);

    // Runs the form modally; true when closed with OK, which takes over its colour, palette and option.
    bool Execute(QWidget* parent = nullptr);

private:
    TColor Color_ = 0;
    bool UseWebSafeColor_ = false;
    TPaletteCells CustomColors_{};
};

} // namespace pictor

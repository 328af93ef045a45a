#pragma once
#include "app/PreviewContrast.h"

#include <QDialog>

#include <functional>
#include <vector>

class QTreeWidget;

namespace pictor {

// The texts of the preview that are hard to read, with their colours and ratios. Double-clicking a
// row asks for the occurrences of the text's colour to be ticked.
class TfrmContrast : public QDialog {
    Q_OBJECT
public:
    TfrmContrast(std::vector<TContrastRow> rows, std::function<void(TColor foreground)> tickColor, QWidget* parent = nullptr);

private:
    void lvContrastDblClick();

    std::vector<TContrastRow> Rows_;
    std::function<void(TColor)> TickColor_;
    QTreeWidget* lvContrast;
};

} // namespace pictor

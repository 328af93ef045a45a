#pragma once
#include "app/PreviewContrast.h"

#include <QDialog>

#include <functional>
#include <vector>

class QTreeWidget;

namespace pictor {

// The texts of the preview that are hard to read, with their colours and ratios. Double-clicking a
// row asks for the occurrences that give the text its colour to be ticked.
class TfrmContrast : public QDialog {
    Q_OBJECT
public:
    TfrmContrast(std::vector<TContrastRow> rows, std::function<void(const TPreviewText&)> tickSource,
                 QWidget* parent = nullptr);

private:
    void lvContrastDblClick();

    std::vector<TContrastRow> Rows_;
    std::function<void(const TPreviewText&)> TickSource_;
    QTreeWidget* lvContrast;
};

} // namespace pictor

#pragma once
#include "app/PreviewContrast.h"

#include <QDialog>

#include <functional>
#include <vector>

class QLabel;
class QTreeWidget;

namespace pictor {

// The texts of the preview that are hard to read, with their colours (swatch and code) and ratios.
// It stays open beside the window, which gives it new rows after each change. Double-clicking a row
// asks for the occurrences that give the text its colour to be ticked.
class TfrmContrast : public QDialog {
    Q_OBJECT
public:
    TfrmContrast(std::function<void(const TPreviewText&)> tickSource, QWidget* parent = nullptr);

    void SetRows(std::vector<TContrastRow> rows);

private:
    void lvContrastDblClick();

    std::vector<TContrastRow> Rows_;
    std::function<void(const TPreviewText&)> TickSource_;
    QLabel* lblCaption;
    QTreeWidget* lvContrast;
};

} // namespace pictor

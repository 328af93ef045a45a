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
// asks for the colours the last change moved (the text's, its background's or both) to be ticked.
class TfrmContrast : public QDialog {
    Q_OBJECT
public:
    TfrmContrast(std::function<void(const TContrastRow&)> tickSource, QWidget* parent = nullptr);

    void SetRows(std::vector<TContrastRow> rows);

private:
    void lvContrastDblClick();

    std::vector<TContrastRow> Rows_;
    std::function<void(const TContrastRow&)> TickSource_;
    QLabel* lblCaption;
    QTreeWidget* lvContrast;
};

} // namespace pictor

#pragma once
#include "app/PreviewContrast.h"

#include <QDialog>

#include <functional>
#include <vector>

class QLabel;
class QTreeWidget;

namespace pictor {

// The texts of the preview that are hard to read, with their colours (swatch and code), where each
// colour is declared, and their ratios. It stays open beside the window, which gives it new rows after
// each change. Double-clicking a row asks for the colours the last change moved (the text's, its
// background's or both) to be ticked.
class TfrmContrast : public QDialog {
    Q_OBJECT
public:
    // Two places a row, the text colour's and the background's; an empty one is unknown.
    using TPlacesFound = std::function<void(const std::vector<QString>& places)>;
    // Looks up where the rows' colours are declared, answering later through found.
    using TPlacesFinder = std::function<void(const std::vector<TContrastRow>& rows, TPlacesFound found)>;

    TfrmContrast(std::function<void(const TContrastRow&)> tickSource, TPlacesFinder findPlaces,
                 QWidget* parent = nullptr);

    void SetRows(std::vector<TContrastRow> rows);

private:
    void lvContrastDblClick();
    void ShowPlaces(const std::vector<QString>& places);

    std::vector<TContrastRow> Rows_;
    int Serial_ = 0; // places found for older rows are dropped
    std::function<void(const TContrastRow&)> TickSource_;
    TPlacesFinder FindPlaces_;
    QLabel* lblCaption;
    QTreeWidget* lvContrast;
};

} // namespace pictor

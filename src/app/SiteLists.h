#pragma once
#include "base/Color.h"
#include "site/SiteSummary.h"

#include <QString>

#include <optional>
#include <vector>

class TMyCheckListBox;
class TOpenDocument;

namespace pictor {
struct TOptions;
struct TPicRecord;
}

// The side bar's two lists while they show the open site as a whole: each colour value and each
// picture file once, a row ticked while every occurrence is.
class TSiteLists {
public:
    TSiteLists(const TOpenDocument& open, const pictor::TOptions& options, TMyCheckListBox& colors,
               TMyCheckListBox& pictures);

    // Lists the site's palette and pictures afresh, each list kept where it was scrolled to.
    void Fill();
    // The ticks as the records have them.
    void SyncCheckMarks();
    // A row's tick given to every occurrence of its value or file.
    void ColorClicked(int row, bool checked);
    void PictureClicked(int row, bool checked);
    // The picture of a row; null for none.
    const pictor::TPicRecord* Picture(int row) const;
    // The files a colour row's value occurs in, below the site's folder, a line each.
    std::optional<QString> ColorFiles(int row) const;
    // The colour value of a ticked row.
    std::optional<pictor::TColor> TickedColor(int row) const;

private:
    const TOpenDocument& Open_;
    const pictor::TOptions& Options_;
    TMyCheckListBox& Colors_;
    TMyCheckListBox& Pictures_;
    std::vector<pictor::TPaletteColor> Palette_;     // each value once
    std::vector<pictor::TSitePicture> PictureRows_;  // each file once
};

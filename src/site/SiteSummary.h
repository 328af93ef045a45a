#pragma once
#include "base/Color.h"
#include "document/HtmlStructure.h"

#include <string>
#include <vector>

namespace pictor {

class TSiteDocument;

// One colour value of a site (alpha aside) and where it is written.
struct TPaletteColor {
    TColor Value = 0;
    int Count = 0;                  // its occurrences, each file's counted once however many pages name it
    std::vector<std::string> Files; // the files that hold it, in file order
};

// Every colour value of files once, most used first, then by its code. Colours a browser ignores
// (an empty attribute, "transparent") are left out.
std::vector<TPaletteColor> SitePalette(const IFileSet& files);

// One picture file of a site and the pages that show it, directly or through a sheet.
struct TSitePicture {
    const TPicRecord* Picture = nullptr; // the first record of it
    std::vector<std::string> Pages;      // in page order
};

// Every picture file once, in the order first reached.
std::vector<TSitePicture> SitePictures(const TSiteDocument& site);

} // namespace pictor

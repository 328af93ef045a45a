#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace pictor::cli {

// The pages to open: one page on its own, or a site (several pages, or every page below Site).
struct TPagesRequest {
    std::vector<std::string> Pages;
    std::string Site;  // a folder

    bool OnePage() const { return Site.empty() && Pages.size() == 1; }
};

struct TListRequest : TPagesRequest {
    bool Json = false;
};

struct TAdjustRequest : TPagesRequest {
    // Exactly one adjustment: its name as given ("hue-sat", ...) and its values.
    std::string Kind;
    std::vector<int> Values;
    bool Invert = false;
    std::string NewColor;
    bool Dark = false;
    int DarkEnd = 18;   // oklch lightness in percent that white becomes
    int LightEnd = 93;  // and black
    bool DarkPhotos = false;
    bool FollowSystem = false;  // the dark colours in @media (prefers-color-scheme: dark), the light page kept
    std::vector<std::string> Colors;
    bool NoColors = false;
    std::vector<std::string> Pictures;
    bool NoPictures = false;
    bool InPlace = false;
    std::string OutFolder;
    bool Force = false;
    bool SkipExisting = false;
    bool LowerCase = false;
    int JpegQuality = 80;
    int JpegSampling = 444;
    bool JpegToBmp = false;
    bool GifToBmp = false;
    bool Json = false;
    // A text colour and its background falling below it make the change an error; 0: below 4.5 is
    // reported only.
    double MinContrast = 0;
};

// Raised for a request that is wrong as a whole (exit status 2).
struct TUsageError {
    std::string Message;
};

// How a command ended: its exit status, and whether files were saved, which a report that then cannot
// be written must not hide.
struct TCommandEnd {
    int Status = 0;
    bool Saved = false;
};

TCommandEnd RunList(const TListRequest& request);
// A colour given on the command line; a malformed one is a usage error.
std::uint32_t ParseColor(const std::string& text);
TCommandEnd RunAdjust(const TAdjustRequest& request);
// Finishes or undoes every save cut short in folder, below it or above it, and removes what dead saves
// left there; prints what it found. 1 when a journal had to be left as it was.
int RunRecover(const std::string& folder);

} // namespace pictor::cli

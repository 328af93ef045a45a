#include "document/ColorPairs.h"

#include "document/Contrast.h"
#include "document/DocumentText.h"

#include <algorithm>

namespace pictor {

namespace {

struct TPlaced {
    std::size_t Index;  // of the occurrence, in walk order
    TColorPlace Place;
    bool Attribute;
};

// Keeps the occurrences that may be part of a pair.
class TPlaceRecorder : public TScanEvents {
public:
    explicit TPlaceRecorder(std::vector<TPlaced>& placed) : Placed_(placed) {}

    void ColorFound(std::size_t, std::size_t, TColorForm form, int, const TColorPlace& place) override
    {
        if (place.Role != TColorRole::Other) Placed_.push_back({Count_, place, form == TColorForm::Attribute});
        ++Count_;
    }
    bool WantsReferences() const override { return false; }

private:
    std::vector<TPlaced>& Placed_;
    std::size_t Count_ = 0;
};

using TIt = std::vector<TPlaced>::const_iterator;

// A "background" is a background colour only when its declaration holds that one colour.
bool IsBackground(TIt it, TIt begin, TIt end)
{
    if (it->Place.Role == TColorRole::Background) return true;
    if (it->Place.Role != TColorRole::Shorthand) return false;
    const auto sameDeclaration = [&](const TPlaced& p) { return p.Place.Declaration == it->Place.Declaration; };
    return std::count_if(begin, end, sameDeclaration) == 1;
}

} // namespace

std::vector<TColorPair> FindColorPairs(const TElements& file, bool isPage)
{
    std::vector<TPlaced> placed;
    TPlaceRecorder recorder(placed);
    WalkFile(file, isPage, recorder);
    // A block's declarations may stand on either side of a nested block.
    std::stable_sort(placed.begin(), placed.end(),
                     [](const TPlaced& a, const TPlaced& b) { return a.Place.Group < b.Place.Group; });

    std::vector<TColorPair> pairs;
    auto add = [&](std::size_t foreground, std::size_t background) {
        const TColorRecord& f = file.Colors.at(foreground);
        const TColorRecord& b = file.Colors.at(background);
        if (!f.Tickable() || !b.Tickable()) return;
        const int fa = AlphaToByte(f.AlphaForm, f.Alpha), ba = AlphaToByte(b.AlphaForm, b.Alpha);
        pairs.push_back({foreground, background, ContrastRatio(f.OrgColor, fa, b.OrgColor, ba),
                         ContrastRatio(f.Color, fa, b.Color, ba)});
    };
    for (TIt begin = placed.begin(); begin != placed.end();) {
        const TIt end = std::find_if(begin, placed.cend(),
                                     [&](const TPlaced& p) { return p.Place.Group != begin->Place.Group; });
        if (begin->Attribute) {
            // A tag: the first of a repeated attribute is the one a browser takes.
            const TIt background = std::find_if(begin, end, [](const TPlaced& p) { return p.Place.Role == TColorRole::Background; });
            if (background != end)
                for (TIt it = begin; it != end; ++it)
                    if (it->Place.Role == TColorRole::Foreground) add(it->Index, background->Index);
        } else {
            TIt foreground = end, background = end;
            for (TIt it = begin; it != end; ++it) {
                if (it->Place.Role == TColorRole::Foreground) foreground = it;
                else if (IsBackground(it, begin, end)) background = it;
            }
            if (foreground != end && background != end) add(foreground->Index, background->Index);
        }
        begin = end;
    }
    return pairs;
}

} // namespace pictor

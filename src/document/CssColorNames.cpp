#include "document/CssColorNames.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>

namespace pictor {

constexpr TNamedColor CssNamedColors[148] = {
    {"aliceblue", RGB(240, 248, 255)},
    {"antiquewhite", RGB(250, 235, 215)},
    {"aqua", RGB(0, 255, 255)},
    {"aquamarine", RGB(127, 255, 212)},
    {"azure", RGB(240, 255, 255)},
    {"beige", RGB(245, 245, 220)},
    {"bisque", RGB(255, 228, 196)},
    {"black", RGB(0, 0, 0)},
    {"blanchedalmond", RGB(255, 235, 205)},
    {"blue", RGB(0, 0, 255)},
    {"blueviolet", RGB(138, 43, 226)},
    {"brown", RGB(165, 42, 42)},
    {"burlywood", RGB(222, 184, 135)},
    {"cadetblue", RGB(95, 158, 160)},
    {"chartreuse", RGB(127, 255, 0)},
    {"chocolate", RGB(210, 105, 30)},
    {"coral", RGB(255, 127, 80)},
    {"cornflowerblue", RGB(100, 149, 237)},
    {"cornsilk", RGB(255, 248, 220)},
    {"crimson", RGB(220, 20, 60)},
    {"cyan", RGB(0, 255, 255)},
    {"darkblue", RGB(0, 0, 139)},
    {"darkcyan", RGB(0, 139, 139)},
    {"darkgoldenrod", RGB(184, 134, 11)},
    {"darkgray", RGB(169, 169, 169)},
    {"darkgreen", RGB(0, 100, 0)},
    {"darkgrey", RGB(169, 169, 169)},
    {"darkkhaki", RGB(189, 183, 107)},
    {"darkmagenta", RGB(139, 0, 139)},
    {"darkolivegreen", RGB(85, 107, 47)},
    {"darkorange", RGB(255, 140, 0)},
    {"darkorchid", RGB(153, 50, 204)},
    {"darkred", RGB(139, 0, 0)},
    {"darksalmon", RGB(233, 150, 122)},
    {"darkseagreen", RGB(143, 188, 143)},
    {"darkslateblue", RGB(72, 61, 139)},
    {"darkslategray", RGB(47, 79, 79)},
    {"darkslategrey", RGB(47, 79, 79)},
    {"darkturquoise", RGB(0, 206, 209)},
    {"darkviolet", RGB(148, 0, 211)},
    {"deeppink", RGB(255, 20, 147)},
    {"deepskyblue", RGB(0, 191, 255)},
    {"dimgray", RGB(105, 105, 105)},
    {"dimgrey", RGB(105, 105, 105)},
    {"dodgerblue", RGB(30, 144, 255)},
    {"firebrick", RGB(178, 34, 34)},
    {"floralwhite", RGB(255, 250, 240)},
    {"forestgreen", RGB(34, 139, 34)},
    {"fuchsia", RGB(255, 0, 255)},
    {"gainsboro", RGB(220, 220, 220)},
    {"ghostwhite", RGB(248, 248, 255)},
    {"gold", RGB(255, 215, 0)},
    {"goldenrod", RGB(218, 165, 32)},
    {"gray", RGB(128, 128, 128)},
    {"green", RGB(0, 128, 0)},
    {"greenyellow", RGB(173, 255, 47)},
    {"grey", RGB(128, 128, 128)},
    {"honeydew", RGB(240, 255, 240)},
    {"hotpink", RGB(255, 105, 180)},
    {"indianred", RGB(205, 92, 92)},
    {"indigo", RGB(75, 0, 130)},
    {"ivory", RGB(255, 255, 240)},
    {"khaki", RGB(240, 230, 140)},
    {"lavender", RGB(230, 230, 250)},
    {"lavenderblush", RGB(255, 240, 245)},
    {"lawngreen", RGB(124, 252, 0)},
    {"lemonchiffon", RGB(255, 250, 205)},
    {"lightblue", RGB(173, 216, 230)},
    {"lightcoral", RGB(240, 128, 128)},
    {"lightcyan", RGB(224, 255, 255)},
    {"lightgoldenrodyellow", RGB(250, 250, 210)},
    {"lightgray", RGB(211, 211, 211)},
    {"lightgreen", RGB(144, 238, 144)},
    {"lightgrey", RGB(211, 211, 211)},
    {"lightpink", RGB(255, 182, 193)},
    {"lightsalmon", RGB(255, 160, 122)},
    {"lightseagreen", RGB(32, 178, 170)},
    {"lightskyblue", RGB(135, 206, 250)},
    {"lightslategray", RGB(119, 136, 153)},
    {"lightslategrey", RGB(119, 136, 153)},
    {"lightsteelblue", RGB(176, 196, 222)},
    {"lightyellow", RGB(255, 255, 224)},
    {"lime", RGB(0, 255, 0)},
    {"limegreen", RGB(50, 205, 50)},
    {"linen", RGB(250, 240, 230)},
    {"magenta", RGB(255, 0, 255)},
    {"maroon", RGB(128, 0, 0)},
    {"mediumaquamarine", RGB(102, 205, 170)},
    {"mediumblue", RGB(0, 0, 205)},
    {"mediumorchid", RGB(186, 85, 211)},
    {"mediumpurple", RGB(147, 112, 219)},
    {"mediumseagreen", RGB(60, 179, 113)},
    {"mediumslateblue", RGB(123, 104, 238)},
    {"mediumspringgreen", RGB(0, 250, 154)},
    {"mediumturquoise", RGB(72, 209, 204)},
    {"mediumvioletred", RGB(199, 21, 133)},
    {"midnightblue", RGB(25, 25, 112)},
    {"mintcream", RGB(245, 255, 250)},
    {"mistyrose", RGB(255, 228, 225)},
    {"moccasin", RGB(255, 228, 181)},
    {"navajowhite", RGB(255, 222, 173)},
    {"navy", RGB(0, 0, 128)},
    {"oldlace", RGB(253, 245, 230)},
    {"olive", RGB(128, 128, 0)},
    {"olivedrab", RGB(107, 142, 35)},
    {"orange", RGB(255, 165, 0)},
    {"orangered", RGB(255, 69, 0)},
    {"orchid", RGB(218, 112, 214)},
    {"palegoldenrod", RGB(238, 232, 170)},
    {"palegreen", RGB(152, 251, 152)},
    {"paleturquoise", RGB(175, 238, 238)},
    {"palevioletred", RGB(219, 112, 147)},
    {"papayawhip", RGB(255, 239, 213)},
    {"peachpuff", RGB(255, 218, 185)},
    {"peru", RGB(205, 133, 63)},
    {"pink", RGB(255, 192, 203)},
    {"plum", RGB(221, 160, 221)},
    {"powderblue", RGB(176, 224, 230)},
    {"purple", RGB(128, 0, 128)},
    {"rebeccapurple", RGB(102, 51, 153)},
    {"red", RGB(255, 0, 0)},
    {"rosybrown", RGB(188, 143, 143)},
    {"royalblue", RGB(65, 105, 225)},
    {"saddlebrown", RGB(139, 69, 19)},
    {"salmon", RGB(250, 128, 114)},
    {"sandybrown", RGB(244, 164, 96)},
    {"seagreen", RGB(46, 139, 87)},
    {"seashell", RGB(255, 245, 238)},
    {"sienna", RGB(160, 82, 45)},
    {"silver", RGB(192, 192, 192)},
    {"skyblue", RGB(135, 206, 235)},
    {"slateblue", RGB(106, 90, 205)},
    {"slategray", RGB(112, 128, 144)},
    {"slategrey", RGB(112, 128, 144)},
    {"snow", RGB(255, 250, 250)},
    {"springgreen", RGB(0, 255, 127)},
    {"steelblue", RGB(70, 130, 180)},
    {"tan", RGB(210, 180, 140)},
    {"teal", RGB(0, 128, 128)},
    {"thistle", RGB(216, 191, 216)},
    {"tomato", RGB(255, 99, 71)},
    {"turquoise", RGB(64, 224, 208)},
    {"violet", RGB(238, 130, 238)},
    {"wheat", RGB(245, 222, 179)},
    {"white", RGB(255, 255, 255)},
    {"whitesmoke", RGB(245, 245, 245)},
    {"yellow", RGB(255, 255, 0)},
    {"yellowgreen", RGB(154, 205, 50)},
};

namespace {

// Where the names of each first letter start: a word is looked up among the few of its letter, and
// most words of a value (none, solid, inherit...) are turned away after two or three comparisons.
constexpr std::array<unsigned char, 27> FirstLetterStarts = [] {
    std::array<unsigned char, 27> starts{};
    size_t k = 0;
    for (size_t letter = 0; letter < 26; ++letter) {
        starts[letter] = static_cast<unsigned char>(k);
        while (k < std::size(CssNamedColors) && size_t(CssNamedColors[k].Name[0] - 'a') == letter) ++k;
    }
    starts[26] = static_cast<unsigned char>(k);
    return starts;
}();
static_assert(FirstLetterStarts[26] == std::size(CssNamedColors), "the names are sorted by their first letter");

// By first letter, the lengths its names have (bit n: a name of n letters): "var" or "solid" needs no search.
constexpr std::array<std::uint32_t, 26> LengthsByLetter = [] {
    std::array<std::uint32_t, 26> lengths{};
    for (const TNamedColor& named : CssNamedColors)
        lengths[size_t(named.Name[0] - 'a')] |= std::uint32_t(1) << named.Name.size();
    return lengths;
}();
static_assert(std::all_of(std::begin(CssNamedColors), std::end(CssNamedColors),
                          [](const TNamedColor& named) {
                              return std::all_of(named.Name.begin(), named.Name.end(),
                                                 [](char c) { return c >= 'a' && c <= 'z'; });
                          }),
              "every name is lower-case letters only");

} // namespace

int CssNamedColorIndex(std::string_view word)
{
    // The longest name is "lightgoldenrodyellow".
    constexpr size_t longest = 20;
    if (word.size() < 3 || word.size() > longest) return -1;
    char lower[longest];
    for (size_t i = 0; i < word.size(); ++i) {
        const char c = word[i];
        lower[i] = (c >= 'A' && c <= 'Z') ? char(c + 32) : c;
        if (lower[i] < 'a' || lower[i] > 'z') return -1; // names are letters only: sans-serif is none
    }
    const std::string_view key(lower, word.size());
    const size_t letter = size_t(key[0] - 'a');
    if (!(LengthsByLetter[letter] >> key.size() & 1)) return -1;
    const auto* end = std::begin(CssNamedColors) + FirstLetterStarts[letter + 1];
    const auto* at = std::lower_bound(std::begin(CssNamedColors) + FirstLetterStarts[letter], end, key,
                                      [](const TNamedColor& named, std::string_view k) { return named.Name < k; });
    return (at != end && at->Name == key) ? int(at - std::begin(CssNamedColors)) : -1;
}

} // namespace pictor

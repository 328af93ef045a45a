// TextToColor over arbitrary colour texts: a value with a zero top byte or a TPictorError, nothing else.
#include "FuzzCheck.h"

#include "document/ColorLiterals.h"
#include "base/PictorError.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

using namespace pictor;

namespace {

std::optional<TColor> ColorOrError(std::string_view text)
{
    try {
        return TextToColor(text);
    } catch (const TPictorError&) {
        return std::nullopt;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<TColor> color = ColorOrError(text);
    fuzz::Require(!color || (*color >> 24) == 0, "the top byte of a colour is 0");
    fuzz::Require((NamedColorToColor(text) >> 24) == 0, "the top byte of a named colour is 0");
    const int pair = HexPairToByte(text.substr(0, 2));
    fuzz::Require(pair >= 0 && pair <= 255, "a hex pair gives a byte");

    // Spaces are removed before a code or a name is looked at; in a function they separate components.
    if (text.find('(') == std::string_view::npos) {
        std::string spaced(text);
        spaced.insert(size / 2, " ");
        fuzz::Require(ColorOrError(spaced) == color, "a space changes nothing in a code or a name");
    }
    return 0;
}

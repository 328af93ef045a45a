// ApplyReplacements over arbitrary texts and tables. Input: a byte whose low three bits give the
// number of table rows, each row's key and value on lines of their own, then the text.
#include "FuzzCheck.h"

#include "replace/Replacer.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using namespace pictor;

namespace {

std::string LowerAscii(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c + 32);
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    std::string_view in(reinterpret_cast<const char*>(data) + 1, size - 1);
    const size_t rows = data[0] & 7;
    std::vector<std::string> keys, values;
    for (size_t eol; keys.size() + values.size() < 2 * rows && (eol = in.find('\n')) != std::string_view::npos;) {
        (keys.size() == values.size() ? keys : values).emplace_back(in.substr(0, eol));
        in.remove_prefix(eol + 1);
    }
    const std::string_view text = in;
    for (bool utf8 : {false, true}) {
        ApplyReplacements(text, keys, values, utf8);
        fuzz::Require(ApplyReplacements(text, {}, {}, utf8) == text, "an empty table changes nothing");
        // A key replaced by itself leaves the text as it was, up to the case of its letters.
        if (std::none_of(keys.begin(), keys.end(), [](const std::string& k) { return k.find('\\') != k.npos; }))
            fuzz::Require(LowerAscii(ApplyReplacements(text, keys, keys, utf8)) == LowerAscii(std::string(text)),
                          "keys replaced by themselves change nothing");
    }
    return 0;
}

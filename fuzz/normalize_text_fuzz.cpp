// NormalizeText and the detector and converters behind it over arbitrary bytes.
#include "FuzzCheck.h"

#include "encoding/CharCode.h"
#include "encoding/TextNormalizer.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace pictor;

namespace {

// Every line break is CR LF, two-byte characters taken as units.
bool OnlyCrLfBreaks(std::string_view text)
{
    for (size_t i = 0; i < text.size();) {
        const auto c = (unsigned char)text[i];
        if (IsSjisLeadByte(c) && i + 1 < text.size()) {
            i += 2;
        } else if (c == '\r') {
            if (i + 1 == text.size() || text[i + 1] != '\n') return false;
            i += 2;
        } else if (c == '\n') {
            return false;
        } else {
            ++i;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string text(bytes);
    const TCharCode code = NormalizeText(text);
    fuzz::Require(code >= ccEuc && code <= ccBinary, "NormalizeText gives one of the seven codes");
    if (code == ccBinary) fuzz::Require(text == bytes, "binary text stays as it is");
    else fuzz::Require(OnlyCrLfBreaks(text), "every line break becomes CR LF");

    const TJisDetect detected = DetectJisCode(bytes);
    fuzz::Require(detected >= jdAscii && detected <= jdEucOrSjis, "DetectJisCode gives one of its seven values");
    ConvertKanjiCode(bytes, jdSjis);
    ConvertKanjiCodeFrom(bytes, jdEuc, jdSjis);
    return 0;
}

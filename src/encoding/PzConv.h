#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pictor {

enum TJisByteCodeType { btAscii, btRoman };
enum TJisKanaConvType { ktNone, ktZenWithDaku, ktZenSepaDaku };

// The three-byte EUC-JP characters (8F xx xx, JIS X 0212) of one file. Each is carried through the Shift-JIS
// text as a code of the user-defined area, so that the text stays in step and the file comes back byte for byte.
struct TEucExtraChars {
    // Codes[k] (0x8Fxxxx) stands at the k-th user-area code: F040, F041, ... F07E, F080, ... F9FC.
    std::vector<std::uint32_t> Codes;
};

// Conversions between Shift-JIS and ISO-2022-JP / EUC-JP. Never fail; malformed bytes are copied.
class TPzConv {
public:
    TJisByteCodeType JisByteCodeType = btAscii;
    TJisKanaConvType JisKanaConvType = ktZenWithDaku;

    std::string JisToSjis(std::string_view text) const;
    // Records the three-byte characters met in *extra, replacing what it held; with extra null they are
    // carried all the same, only not recorded.
    std::string EucToSjis(std::string_view text, TEucExtraChars* extra = nullptr) const;
    std::string SjisToJis(std::string_view text) const;
    // Writes the user-area codes listed in *extra back as their three-byte characters.
    std::string SjisToEuc(std::string_view text, const TEucExtraChars* extra = nullptr) const;
};

// The program's own converter: kanji runs closed with ESC ( B, half-width katakana left alone.
const TPzConv& PzConv();

} // namespace pictor

#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pictor {

enum TJisByteCodeType { btAscii, btRoman };
enum TJisKanaConvType { ktNone, ktZenWithDaku, ktZenSepaDaku };

// The three-byte EUC-JP characters (8F xx xx) of one file, each carried through the Shift-JIS text as a
// code of the user-defined area so that the file comes back byte for byte.
struct TEucExtraChars {
    std::vector<std::uint32_t> Codes;  // 0x8Fxxxx, index i stands for the i-th user-area code handed out
    std::vector<std::uint16_t> Stand;  // the Shift-JIS code standing for Codes[i]
};

// Conversions between Shift-JIS and ISO-2022-JP / EUC-JP. Never fail; malformed bytes are copied.
class TPzConv {
public:
    TJisByteCodeType JisByteCodeType = btAscii;
    TJisKanaConvType JisKanaConvType = ktZenWithDaku;

    std::string JisToSjis(std::string_view text) const;
    std::string EucToSjis(std::string_view text, TEucExtraChars* extra = nullptr) const;
    std::string SjisToJis(std::string_view text) const;
    std::string SjisToEuc(std::string_view text, const TEucExtraChars* extra = nullptr) const;
};

// The program's own converter: kanji runs closed with ESC ( B, half-width katakana left alone.
const TPzConv& PzConv();

} // namespace pictor

#include "encoding/CharCode.h"

namespace pictor {

std::string_view CharCodeName(int code)
{
    switch (code) {
    case ccEuc: return "EUC-JP";
    case ccSjis: return "Shift-JIS";
    case ccJis: return "ISO-2022-JP";
    case ccUtf8: return "UTF-8";
    case ccUtf16LE: return "UTF-16LE";
    case ccUtf16BE: return "UTF-16BE";
    case ccSingleByte: return "single-byte";
    default: return "binary";
    }
}

} // namespace pictor

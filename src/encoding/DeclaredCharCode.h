#pragma once
#include "encoding/CharCode.h"

#include <string>
#include <string_view>

namespace pictor {

// The encoding a file is read in, and the name a single-byte one goes by.
struct TReadCharCode {
    int Code = 0;      // 0: nothing declared
    std::string Name;  // ccSingleByte only: the declared name, upper case
};

// What a charset name stands for, in any case and with spaces around it ignored: the names of UTF-8,
// Shift-JIS, EUC-JP and ISO-2022-JP; UTF-16's names as UTF-8 (a declaration readable as ASCII is no
// UTF-16); any other name a single-byte encoding. Code 0 for an empty name.
TReadCharCode CharCodeOfName(std::string_view name);

// The value of a tag's attribute as a browser reads it (quoted or not; the name given in upper case, in any
// case in the tag); tag is the text after the tag's name. Empty when the tag has no such attribute.
std::string_view TagAttribute(std::string_view tag, std::string_view upperName);

// A page: a byte-order mark, else <meta charset="..."> or <meta http-equiv="Content-Type"
// content="...; charset=..."> within its first 1,024 bytes, else valid UTF-8 with a multi-byte
// character, else the guess.
TReadCharCode PageCharCode(std::string_view bytes);
// A sheet: a byte-order mark, else @charset "..."; at its very start, else the charset attribute of
// the link that names it, else valid UTF-8 with a multi-byte character, else the guess.
TReadCharCode SheetCharCode(std::string_view bytes, std::string_view linkCharset);

} // namespace pictor

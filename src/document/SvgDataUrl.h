#pragma once
#include "document/ScanEvents.h"

#include <string>
#include <string_view>

namespace pictor {

// When url (a url()'s or an attribute's value, standing at pos in the walked text) is a
// "data:image/svg+xml" URL, walks the picture it holds and reports its colours placed at place, with
// the URL's data as their embed, and returns true. Colours in a data: URL inside that picture are not
// looked for.
bool WalkSvgDataUrl(std::string_view url, std::size_t pos, const TColorPlace& place, TScanEvents& events);

// A data: URL's data as bytes: percent escapes decoded, or base64 decoded (empty when it is not base64).
std::string DecodeEmbedded(std::string_view data, TEmbedding kind);

// text as it stands in percent-encoded data: every byte but letters, digits, ".", "," and "-" escaped,
// so that it may stand in any url() and keeps "#" from ending the data.
std::string PercentEncode(std::string_view text);
std::string Base64Encode(std::string_view bytes);
// Whether data[at] starts a percent escape ("%" and two hexadecimal digits): decoding and rewriting
// step through the data alike.
bool IsPercentEscape(std::string_view data, std::size_t at);

} // namespace pictor

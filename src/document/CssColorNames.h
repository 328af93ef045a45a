#pragma once
#include "document/ColorLiterals.h"

#include <string_view>

namespace pictor {

// Every named colour of CSS, lower case, sorted by name.
extern const TNamedColor CssNamedColors[148];

// The index in CssNamedColors of word (any case), or -1.
int CssNamedColorIndex(std::string_view word);

} // namespace pictor

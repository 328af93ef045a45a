#pragma once
#include "document/ScanEvents.h"

#include <string>
#include <string_view>

namespace pictor {

// Tag and attribute names to upper case; values and text outside tags keep their case. Same length.
void UpperCaseTags(std::string& text, bool utf8);

// Walks an HTML page: colour attributes, style attributes and style blocks give colours; style
// attributes, BACKGROUND=, IMG SRC= and style blocks give pictures; LINK REL="STYLESHEET" and the
// "@import" rules that open a style block give sheets.
void WalkPage(std::string_view text, bool utf8, TScanEvents& events);
// Walks an SVG picture's text as a page is walked, every element an SVG one: FILL, STROKE and the
// *COLOR attributes, style attributes and style blocks give colours; style blocks give pictures.
void WalkSvg(std::string_view text, bool utf8, TScanEvents& events);

} // namespace pictor

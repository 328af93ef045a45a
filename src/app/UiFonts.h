#pragma once
#include <QFont>

// The window's proportional font ("ＭＳ Ｐゴシック" when installed) and the colour list's fixed-pitch
// one ("ＭＳ ゴシック"); both fall back to "Noto Sans CJK JP".
QFont ProportionalFont(int pixelSize);
QFont FixedFont(int pixelSize);
// For sizes given in points, such as the source hint's 9.
QFont ProportionalPointFont(int pointSize);

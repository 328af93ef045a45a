#pragma once
#include "adjust/DarkColors.h"
#include "picture/BitmapEx.h"

namespace pictor {

// A flat-colour picture (a logo, an icon, a drawn button) rather than a photograph: it has transparent
// pixels or at most FlatPictureColors distinct colours.
constexpr int FlatPictureColors = 256;
bool IsFlatColorPicture(const TBitmapEx& bitmap);

// Every pixel of every frame as DarkColor changes it; alpha kept. With flatOnly a photograph is left
// as it is.
void DarkenPicture(TBitmapEx& bitmap, const TDarkEnds& ends, bool flatOnly, TWorkPool* pool = nullptr);

} // namespace pictor

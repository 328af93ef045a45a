#pragma once
// Shared by the picture codecs; the rest of the program goes through PictureIO.h.
#include "picture/BitmapEx.h"

#include <string>
#include <string_view>

namespace pictor {

TBitmapEx DecodeBmp(std::string_view bytes, const std::string& nameForErrors);
TBitmapEx DecodeJpeg(std::string_view bytes, const std::string& nameForErrors);
TBitmapEx DecodePng(std::string_view bytes, const std::string& nameForErrors);
TBitmapEx DecodeGif(std::string_view bytes, const std::string& nameForErrors);

// Called with the header's dimensions before any pixel memory is allocated. format: the format's name,
// for the reason.
void CheckPictureSize(long long width, long long height, std::string_view format, const std::string& nameForErrors);

// Frame 0, the only one BMP, JPEG and PNG can hold; throws for an empty bitmap.
const TFrame& FrameToEncode(const TBitmapEx& bitmap, const std::string& nameForErrors);

} // namespace pictor

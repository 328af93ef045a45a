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
TBitmapEx DecodeWebp(std::string_view bytes, const std::string& nameForErrors);

// The quality (0-100) libwebp most likely made a lossy WebP frame with, read from its quantizers; -1
// when the frame holds no VP8 key frame. frame: the frame's chunks, an "ALPH" one first if it has one.
int EstimateWebpQuality(std::string_view frame);

// Called with the header's dimensions before any pixel memory is allocated. format: the format's name,
// for the reason.
void CheckPictureSize(long long width, long long height, std::string_view format, const std::string& nameForErrors);

// Sets frame's colours and alpha from Width x Height pixels stored blue, green, red, alpha.
void SplitAlpha(const std::uint8_t* bgra, TFrame& frame);

// Frame 0, the only one BMP, JPEG and PNG can hold; throws for an empty bitmap.
const TFrame& FrameToEncode(const TBitmapEx& bitmap, const std::string& nameForErrors);

} // namespace pictor

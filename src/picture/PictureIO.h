#pragma once
#include "picture/BitmapEx.h"

#include <string>
#include <string_view>

namespace pictor {

// Pictures larger than this many pixels are refused rather than allocated.
constexpr long long MaxPicturePixels = 1LL << 28;
// A picture's file holds at most its pixels at 64 bits each, the most any reader here accepts.
constexpr std::size_t MaxPictureFileBytes = std::size_t(MaxPicturePixels) * 8;

enum class TPictureFormat { None, Bmp, Jpeg, Png, Gif, Webp };
// By the ending, without regard to case.
TPictureFormat PictureFormatOf(std::string_view path);

// Decodes a picture file (format by its ending). An unknown ending gives an empty bitmap.
// Throws TPictorError naming the file when it cannot be read or decoded.
TBitmapEx ReadPicture(const std::string& path);
TBitmapEx DecodePicture(TPictureFormat format, std::string_view bytes, const std::string& nameForErrors);

// Encoders: the file's bytes. Throw TPictorError naming nameForErrors on failure.
std::string EncodeBmp(const TBitmapEx& bitmap);
std::string EncodeJpeg(const TBitmapEx& bitmap, int quality, bool use444, const std::string& nameForErrors);
// A large picture's rows are compressed in bands on pool (none: one after another), to the same bytes.
std::string EncodePng(const TBitmapEx& bitmap, const std::string& nameForErrors, TWorkPool* pool = nullptr);
std::string EncodeGif(const TBitmapEx& bitmap, const std::string& nameForErrors);
// Lossless or at the quality its extras give; every frame with its timing when it was animated.
std::string EncodeWebp(const TBitmapEx& bitmap, const std::string& nameForErrors);

// How pictures are saved: the JPEG encoder's settings and the formats saved as BMP instead.
struct TPictureSaveOptions {
    int JpegQuality = 80;  // the setting as stored: only its low byte counts, kept within 1..100
    bool Use444 = true;    // JPEG colour not subsampled
    bool JpegToBmp = false;
    bool GifToBmp = false;
    TWorkPool* Pool = nullptr;  // where large pictures are encoded in parts; none: on the calling thread
};

// path with its extension replaced by ".bmp".
std::string WithBmpExtension(const std::string& path);
// Where a picture read from path is saved: path itself, or path with ".bmp" when its format is saved as BMP.
std::string SavedPicturePath(const std::string& path, const TPictureSaveOptions& options);

// Writes the picture in the format of the path's ending (JPEG at jpegQuality, default subsampling).
void WritePictureWorkCopy(const std::string& path, const TBitmapEx& bitmap, int jpegQuality, TWorkPool* pool = nullptr);
// The file's bytes for saving at SavedPicturePath, honouring Use444; empty for an unknown ending.
std::string EncodePictureForSave(const std::string& path, const TBitmapEx& bitmap, const TPictureSaveOptions& options);

} // namespace pictor

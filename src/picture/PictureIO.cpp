#include "picture/PictureIO.h"

#include "base/FailureReasons.h"
#include "base/FileIO.h"
#include "base/PictorError.h"
#include "picture/PictureCodecs.h"

#include <algorithm>
#include <cctype>
#include <cerrno>

namespace pictor {

namespace {

bool EndsWithNoCase(std::string_view text, std::string_view ending)
{
    if (text.size() < ending.size())
        return false;
    return std::equal(ending.begin(), ending.end(), text.end() - std::ptrdiff_t(ending.size()),
                      [](char a, char b) { return std::tolower((unsigned char)a) == std::tolower((unsigned char)b); });
}

// The setting is stored as an integer of which only the low byte counts.
int JpegQualityOf(int setting)
{
    return std::clamp(setting & 0xFF, 1, 100);
}

std::string EncodeAs(TPictureFormat format, const std::string& path, int quality, bool use444, const TBitmapEx& bitmap,
                     TWorkPool* pool)
{
    if (bitmap.Empty())
        throw TPictorError(path, NoPictureToWriteText());
    switch (format) {
    case TPictureFormat::Bmp: return EncodeBmp(bitmap);
    case TPictureFormat::Jpeg: return EncodeJpeg(bitmap, quality, use444, path);
    case TPictureFormat::Png: return EncodePng(bitmap, path, pool);
    case TPictureFormat::Gif: return EncodeGif(bitmap, path);
    case TPictureFormat::Webp: return EncodeWebp(bitmap, path);
    case TPictureFormat::None: break;
    }
    return {};
}

} // namespace

void CheckPictureSize(long long width, long long height, std::string_view format, const std::string& nameForErrors)
{
    if (width <= 0 || height <= 0)
        throw TPictorError(nameForErrors, DecodeFailureText(format, TDecodeFailure::NoPicture));
    if (width > MaxPicturePixels / height)
        throw TPictorError(nameForErrors, PictureTooLargeText(width, height, MaxPicturePixels));
}

void SplitAlpha(const std::uint8_t* bgra, TFrame& frame)
{
    const std::size_t count = std::size_t(frame.Width) * std::size_t(frame.Height);
    frame.Pixels.resize(count * 3);
    frame.Alpha.resize(count);
    std::uint8_t* colour = frame.Pixels.data();
    for (std::uint8_t& alpha : frame.Alpha) {
        colour[0] = bgra[0];
        colour[1] = bgra[1];
        colour[2] = bgra[2];
        alpha = bgra[3];
        bgra += 4;
        colour += 3;
    }
}

const TFrame& FrameToEncode(const TBitmapEx& bitmap, const std::string& nameForErrors)
{
    if (bitmap.Empty())
        throw TPictorError(nameForErrors, NoPictureToWriteText());
    return bitmap.Frame(0);
}

TPictureFormat PictureFormatOf(std::string_view path)
{
    if (EndsWithNoCase(path, ".bmp"))
        return TPictureFormat::Bmp;
    if (EndsWithNoCase(path, ".jpg") || EndsWithNoCase(path, ".jpeg"))
        return TPictureFormat::Jpeg;
    if (EndsWithNoCase(path, ".png"))
        return TPictureFormat::Png;
    if (EndsWithNoCase(path, ".gif"))
        return TPictureFormat::Gif;
    if (EndsWithNoCase(path, ".webp"))
        return TPictureFormat::Webp;
    return TPictureFormat::None;
}

TBitmapEx ReadPicture(const std::string& path)
{
    const TPictureFormat format = PictureFormatOf(path);
    if (format == TPictureFormat::None)
        return {};
    try {
        const TLargeBytes bytes = ReadLargeFile(path, MaxPictureFileBytes);
        return DecodePicture(format, std::string_view(bytes.data(), bytes.size()), path);
    } catch (const std::bad_alloc&) {
        throw TPictorError(path, SystemErrorText(ENOMEM));
    }
}

TBitmapEx DecodePicture(TPictureFormat format, std::string_view bytes, const std::string& nameForErrors)
{
    switch (format) {
    case TPictureFormat::Bmp: return DecodeBmp(bytes, nameForErrors);
    case TPictureFormat::Jpeg: return DecodeJpeg(bytes, nameForErrors);
    case TPictureFormat::Png: return DecodePng(bytes, nameForErrors);
    case TPictureFormat::Gif: return DecodeGif(bytes, nameForErrors);
    case TPictureFormat::Webp: return DecodeWebp(bytes, nameForErrors);
    case TPictureFormat::None: break;
    }
    return {};
}

std::string WithBmpExtension(const std::string& path)
{
    const auto dot = path.find_last_of('.');
    const auto separator = path.find_last_of("/\\");
    if (dot == std::string::npos || (separator != std::string::npos && dot < separator))
        return path + ".bmp";
    return path.substr(0, dot) + ".bmp";
}

std::string SavedPicturePath(const std::string& path, const TPictureSaveOptions& options)
{
    const TPictureFormat format = PictureFormatOf(path);
    const bool asBmp = (format == TPictureFormat::Jpeg && options.JpegToBmp) ||
                       (format == TPictureFormat::Gif && options.GifToBmp);
    return asBmp ? WithBmpExtension(path) : path;
}

void WritePictureWorkCopy(const std::string& path, const TBitmapEx& bitmap, int jpegQuality, TWorkPool* pool)
{
    const TPictureFormat format = PictureFormatOf(path);
    if (format != TPictureFormat::None)
        WriteWorkingCopy(path, EncodeAs(format, path, JpegQualityOf(jpegQuality), false, bitmap, pool));
}

std::string EncodePictureForSave(const std::string& path, const TBitmapEx& bitmap, const TPictureSaveOptions& options)
{
    const std::string saved = SavedPicturePath(path, options);
    const TPictureFormat format = PictureFormatOf(saved);
    return format == TPictureFormat::None
               ? std::string()
               : EncodeAs(format, saved, JpegQualityOf(options.JpegQuality), options.Use444, bitmap, options.Pool);
}

} // namespace pictor

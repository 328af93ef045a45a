#include "picture/PictureCodecs.h"
#include "picture/PictureIO.h"

#include "base/FailureReasons.h"
#include "base/PictorError.h"

#include <cerrno>
#include <cstring>

#include <png.h>

namespace pictor {

// PNG reading through libpng (writing: PngEncoder.cpp). libpng reports a fatal error by longjmp to
// the setjmp in RunDecoder below, which holds only trivially destructible locals; everything with a
// destructor lives in its caller.

namespace {

struct TPngStream {
    std::string_view In;
    std::size_t Position = 0;
    bool Truncated = false;  // the file ended where more was to come
    bool OutOfMemory = false;
};

// libpng gives its errors as English text only; running out of memory is the one told apart.
[[noreturn]] void OnError(png_structp png, png_const_charp message)
{
    auto* stream = static_cast<TPngStream*>(png_get_error_ptr(png));
    stream->OutOfMemory = std::strstr(message, "memory") != nullptr;
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void ReadBytes(png_structp png, png_bytep data, std::size_t length)
{
    auto* stream = static_cast<TPngStream*>(png_get_io_ptr(png));
    if (stream->In.size() - stream->Position < length) {
        stream->Truncated = true;
        png_error(png, "unexpected end of file");
    }
    std::memcpy(data, stream->In.data() + stream->Position, length);
    stream->Position += length;
}

struct TDecodeTarget {
    TFrame& Frame;
    bool& HasAlpha;
    TPixelBytes& Bgra;  // the whole picture when it has alpha, split afterwards
    std::vector<png_bytep>& Rows;
};

bool RunDecoder(png_structp png, png_infop info, const std::string& name, TDecodeTarget& target)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_read_fn(png, png_get_error_ptr(png), ReadBytes);
    png_read_info(png, info);
    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, colorType = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, nullptr, nullptr, nullptr);
    CheckPictureSize(width, height, "PNG", name);

    const bool tRNS = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    target.HasAlpha = (colorType & PNG_COLOR_MASK_ALPHA) != 0 || tRNS;
    png_set_strip_16(png);
    png_set_packing(png);
    if (colorType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (tRNS)
        png_set_tRNS_to_alpha(png);
    if ((colorType & PNG_COLOR_MASK_COLOR) == 0)
        png_set_gray_to_rgb(png);
    png_set_bgr(png);
    const bool interlaced = png_set_interlace_handling(png) > 1;
    png_read_update_info(png, info);

    TFrame& frame = target.Frame;
    frame.Width = int(width);
    frame.Height = int(height);
    const std::size_t rowBytes = std::size_t(width) * (target.HasAlpha ? 4 : 3);
    if (png_get_rowbytes(png, info) != rowBytes)
        png_error(png, "unexpected row layout");
    TPixelBytes& into = target.HasAlpha ? target.Bgra : frame.Pixels;
    if (interlaced) {
        // Every pass visits the whole picture.
        into.resize(rowBytes * height);
        target.Rows.resize(height);
        for (png_uint_32 y = 0; y < height; ++y)
            target.Rows[y] = into.data() + std::size_t(y) * rowBytes;
        png_read_image(png, target.Rows.data());
    } else {
        // Grown as rows arrive: a header that claims more rows than the file holds costs nothing.
        into.reserve(rowBytes * height);
        for (png_uint_32 y = 0; y < height; ++y) {
            into.resize(rowBytes * (y + 1));
            png_read_row(png, into.data() + std::size_t(y) * rowBytes, nullptr);
        }
    }
    if (target.HasAlpha)
        frame.Pixels.resize(std::size_t(width) * height * 3);
    return true;
}

void SplitAlpha(const TPixelBytes& bgra, TFrame& frame)
{
    frame.Alpha.resize(bgra.size() / 4);
    const std::uint8_t* in = bgra.data();
    std::uint8_t* colour = frame.Pixels.data();
    for (std::uint8_t& alpha : frame.Alpha) {
        colour[0] = in[0];
        colour[1] = in[1];
        colour[2] = in[2];
        alpha = in[3];
        in += 4;
        colour += 3;
    }
}

} // namespace

TBitmapEx DecodePng(std::string_view bytes, const std::string& name)
{
    static constexpr std::string_view Signature = "\x89PNG\r\n\x1A\n";
    if (bytes.empty() || !Signature.starts_with(bytes.substr(0, Signature.size())))
        throw TPictorError(name, DecodeFailureText("PNG", TDecodeFailure::NotThisFormat));
    TPngStream stream;
    stream.In = bytes;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &stream, OnError, OnWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    struct TGuard {
        png_structp& Png;
        png_infop& Info;
        ~TGuard() { png_destroy_read_struct(&Png, &Info, nullptr); }
    } guard{png, info};
    if (!info)
        throw TPictorError(name, SystemErrorText(ENOMEM));

    std::vector<TFrame> frames(1);
    bool hasAlpha = false;
    TPixelBytes bgra;
    std::vector<png_bytep> rows;
    TDecodeTarget target{frames[0], hasAlpha, bgra, rows};
    if (!RunDecoder(png, info, name, target)) {
        if (stream.OutOfMemory) throw TPictorError(name, SystemErrorText(ENOMEM));
        throw TPictorError(name, DecodeFailureText("PNG", stream.Truncated ? TDecodeFailure::Truncated
                                                                          : TDecodeFailure::Corrupt));
    }
    if (hasAlpha)
        SplitAlpha(bgra, frames[0]);

    TBitmapEx bitmap;
    bitmap.SetFrames(std::move(frames));
    TPictureExtras extras;
    extras.PngHasAlpha = hasAlpha;
    bitmap.SetExtras(std::move(extras));
    return bitmap;
}

} // namespace pictor

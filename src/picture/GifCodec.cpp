#include "picture/PictureCodecs.h"
#include "picture/PictureIO.h"

#include "picture/GifPalette.h"
#include "base/FailureReasons.h"
#include "base/PictorError.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include <gif_lib.h>

namespace pictor {

namespace {

constexpr int MaxGifSide = 65535;

struct TDecoderCloser {
    void operator()(GifFileType* gif) const { int error = 0; DGifCloseFile(gif, &error); }
};
struct TEncoderCloser {
    void operator()(GifFileType* gif) const { int error = 0; EGifCloseFile(gif, &error); }
};
struct TMapDeleter {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

[[noreturn]] void Fail(const std::string& name, TDecodeFailure failure, const std::string& detail = {})
{
    throw TPictorError(name, DecodeFailureText("GIF", failure, detail));
}

// giflib's error codes: those of reading in the user's words, those of writing by their number.
[[noreturn]] void Fail(const std::string& name, int error)
{
    switch (error) {
    case D_GIF_ERR_NOT_GIF_FILE: Fail(name, TDecodeFailure::NotThisFormat);
    case D_GIF_ERR_READ_FAILED:
    case D_GIF_ERR_EOF_TOO_SOON: Fail(name, TDecodeFailure::Truncated);
    case D_GIF_ERR_NOT_ENOUGH_MEM:
    case E_GIF_ERR_NOT_ENOUGH_MEM: throw TPictorError(name, SystemErrorText(ENOMEM));
    }
    if (error >= D_GIF_ERR_OPEN_FAILED) Fail(name, TDecodeFailure::Corrupt);
    throw TPictorError(name, EncodeFailureText("GIF", "giflib のエラー " + std::to_string(error)));
}

struct TReader {
    std::string_view Bytes;
    std::size_t Position = 0;
    bool CameShort = false;  // a read asked for more than the file holds
};

int ReadBytes(GifFileType* gif, GifByteType* into, int length)
{
    auto* reader = static_cast<TReader*>(gif->UserData);
    const std::size_t count = std::min(std::size_t(length), reader->Bytes.size() - reader->Position);
    std::memcpy(into, reader->Bytes.data() + reader->Position, count);
    reader->Position += count;
    reader->CameShort = reader->CameShort || count < std::size_t(length);
    return int(count);
}

// giflib is C: a failed append is reported as a short write, never as an exception through it.
int WriteBytes(GifFileType* gif, const GifByteType* data, int length)
{
    try {
        static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(data), std::size_t(length));
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return length;
}

GraphicsControlBlock NoControl()
{
    return {DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
}

using TBgr = std::array<std::uint8_t, 3>;

TBgr BackgroundOf(const GifFileType& gif)
{
    const ColorMapObject* map = gif.SColorMap;
    if (!map || gif.SBackGroundColor < 0 || gif.SBackGroundColor >= map->ColorCount)
        return {0, 0, 0};
    const GifColorType& c = map->Colors[gif.SBackGroundColor];
    return {c.Blue, c.Green, c.Red};
}

void ReadExtension(GifFileType* gif, GraphicsControlBlock& control, TPictureExtras& extras, const std::string& name)
{
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR)
        Fail(name, gif->Error);
    bool looping = false;
    if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] == 4)
        DGifExtensionToGCB(4, block + 1, &control);
    else if (code == APPLICATION_EXT_FUNC_CODE && block && block[0] == 11)
        looping = std::memcmp(block + 1, "NETSCAPE2.0", 11) == 0 || std::memcmp(block + 1, "ANIMEXTS1.0", 11) == 0;
    while (block) {
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR)
            Fail(name, gif->Error);
        if (looping && block && block[0] >= 3 && block[1] == 1)
            extras.GifLoopCount = block[2] | block[3] << 8;
    }
}

void ReadIndices(GifFileType* gif, int width, int height, bool interlaced, std::vector<GifPixelType>& indices,
                 const std::string& name)
{
    // Interlaced rows arrive in four passes: every 8th from 0, every 8th from 4, every 4th from 2, every 2nd from 1.
    static constexpr int Start[] = {0, 4, 2, 1};
    static constexpr int Step[] = {8, 8, 4, 2};
    const int passes = interlaced ? 4 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        const int step = interlaced ? Step[pass] : 1;
        for (int y = interlaced ? Start[pass] : 0; y < height; y += step)
            if (DGifGetLine(gif, indices.data() + std::size_t(y) * std::size_t(width), width) == GIF_ERROR)
                Fail(name, gif->Error);
    }
}

// One image as stored: its own rect, colours through its palette, alpha from its transparent index.
TFrame ReadImage(GifFileType* gif, const GraphicsControlBlock& control, std::vector<GifPixelType>& indices,
                 long long& pixelBudget, const std::string& name)
{
    if (DGifGetImageDesc(gif) == GIF_ERROR)
        Fail(name, gif->Error);
    const GifImageDesc& desc = gif->Image;
    CheckPictureSize(desc.Width, desc.Height, "GIF", name);
    pixelBudget -= (long long)desc.Width * desc.Height;
    if (pixelBudget < 0)
        throw TPictorError(name, AnimationTooLargeText(MaxPicturePixels - pixelBudget, MaxPicturePixels));
    const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
    if (!map)
        Fail(name, TDecodeFailure::Corrupt, "色テーブルのない画像があります");

    const std::size_t count = std::size_t(desc.Width) * std::size_t(desc.Height);
    indices.resize(count);
    ReadIndices(gif, desc.Width, desc.Height, desc.Interlace, indices, name);

    std::array<TBgr, 256> colours{};  // indices beyond the table read as black
    for (int i = 0; i < std::min(map->ColorCount, 256); ++i)
        colours[std::size_t(i)] = {map->Colors[i].Blue, map->Colors[i].Green, map->Colors[i].Red};
    TFrame frame;
    frame.Left = desc.Left;
    frame.Top = desc.Top;
    frame.Width = desc.Width;
    frame.Height = desc.Height;
    frame.DelayCs = control.DelayTime;
    frame.Disposal = control.DisposalMode;
    frame.Pixels.resize(count * 3);
    const int transparent = control.TransparentColor;
    if (transparent != NO_TRANSPARENT_COLOR)
        frame.Alpha.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::memcpy(&frame.Pixels[i * 3], colours[indices[i]].data(), 3);
        if (!frame.Alpha.empty())
            frame.Alpha[i] = indices[i] == transparent ? 0 : 255;
    }
    return frame;
}

// The frame's pixels copied into the rect (left, top, width, height); the rest of the rect is
// background, and transparent when withAlpha.
TFrame Reframe(const TFrame& frame, int left, int top, int width, int height, TBgr background, bool withAlpha)
{
    TFrame out;
    out.Left = left;
    out.Top = top;
    out.Width = width;
    out.Height = height;
    out.DelayCs = frame.DelayCs;
    out.Disposal = frame.Disposal;
    const std::size_t count = std::size_t(width) * std::size_t(height);
    out.Pixels.resize(count * 3);
    for (std::size_t i = 0; i < count; ++i)
        std::memcpy(&out.Pixels[i * 3], background.data(), 3);
    if (withAlpha)
        out.Alpha.assign(count, 0);

    const int x0 = std::max(left, frame.Left), x1 = std::min(left + width, frame.Left + frame.Width);
    const int y0 = std::max(top, frame.Top), y1 = std::min(top + height, frame.Top + frame.Height);
    for (int y = y0; y < y1; ++y) {
        const std::size_t from = std::size_t(y - frame.Top) * std::size_t(frame.Width) + std::size_t(x0 - frame.Left);
        const std::size_t to = std::size_t(y - top) * std::size_t(width) + std::size_t(x0 - left);
        const std::size_t run = x1 > x0 ? std::size_t(x1 - x0) : 0;
        std::memcpy(&out.Pixels[to * 3], &frame.Pixels[from * 3], run * 3);
        if (!withAlpha)
            continue;
        if (frame.Alpha.empty())
            std::fill_n(&out.Alpha[to], run, std::uint8_t(255));
        else
            std::memcpy(&out.Alpha[to], &frame.Alpha[from], run);
    }
    return out;
}

bool Inside(const TFrame& frame, int width, int height)
{
    return frame.Left >= 0 && frame.Top >= 0 && frame.Left + frame.Width <= width && frame.Top + frame.Height <= height;
}

// Frame 0 becomes the whole canvas; later frames are cut to it, and one wholly outside keeps its
// timing as a single transparent pixel.
void FitToCanvas(std::vector<TFrame>& frames, int width, int height, TBgr background, TPictureExtras& extras)
{
    TFrame& first = frames[0];
    first = Reframe(first, 0, 0, width, height, background, extras.GifHasTransparency);
    if (std::all_of(first.Alpha.begin(), first.Alpha.end(), [](std::uint8_t a) { return a == 255; }))
        first.Alpha.clear();
    for (std::size_t k = 1; k < frames.size(); ++k) {
        TFrame& frame = frames[k];
        if (Inside(frame, width, height))
            continue;
        const int x0 = std::max(frame.Left, 0), x1 = std::min(frame.Left + frame.Width, width);
        const int y0 = std::max(frame.Top, 0), y1 = std::min(frame.Top + frame.Height, height);
        if (x0 < x1 && y0 < y1) {
            frame = Reframe(frame, x0, y0, x1 - x0, y1 - y0, background, !frame.Alpha.empty());
        } else {
            frame = Reframe(frame, 0, 0, 1, 1, background, true);
            extras.GifHasTransparency = true;
        }
    }
}

void PutLoopCount(GifFileType* gif, int loopCount, const std::string& name)
{
    const GifByteType loop[3] = {1, GifByteType(loopCount & 0xFF), GifByteType(loopCount >> 8 & 0xFF)};
    if (EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
        EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0") == GIF_ERROR ||
        EGifPutExtensionBlock(gif, 3, loop) == GIF_ERROR || EGifPutExtensionTrailer(gif) == GIF_ERROR)
        Fail(name, gif->Error);
}

void PutFrame(GifFileType* gif, const TFrame& frame, bool animated, const std::string& name)
{
    TIndexedFrame indexed = ToIndexedFrame(frame, name);
    if (animated || indexed.TransparentIndex >= 0 || frame.DelayCs != 0 || frame.Disposal != 0) {
        GraphicsControlBlock control = NoControl();
        control.DisposalMode = std::clamp(frame.Disposal, 0, 7);
        control.DelayTime = std::clamp(frame.DelayCs, 0, 65535);
        control.TransparentColor = indexed.TransparentIndex;
        GifByteType extension[4];
        const std::size_t length = EGifGCBToExtension(&control, extension);
        if (EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(length), extension) == GIF_ERROR)
            Fail(name, gif->Error);
    }
    // giflib wants a colour table whose size is a power of two, at least 2.
    int size = 2;
    while (size < int(indexed.Palette.size()))
        size *= 2;
    std::vector<GifColorType> colours(std::size_t(size), GifColorType{0, 0, 0});
    for (std::size_t i = 0; i < indexed.Palette.size(); ++i)
        colours[i] = {indexed.Palette[i][0], indexed.Palette[i][1], indexed.Palette[i][2]};
    std::unique_ptr<ColorMapObject, TMapDeleter> map(GifMakeMapObject(size, colours.data()));
    if (!map)
        throw TPictorError(name, SystemErrorText(ENOMEM));
    if (EGifPutImageDesc(gif, frame.Left, frame.Top, frame.Width, frame.Height, false, map.get()) == GIF_ERROR)
        Fail(name, gif->Error);
    for (int y = 0; y < frame.Height; ++y)
        if (EGifPutLine(gif, indexed.Indices.data() + std::size_t(y) * std::size_t(frame.Width), frame.Width) == GIF_ERROR)
            Fail(name, gif->Error);
}

} // namespace

namespace {

TBitmapEx ReadGif(TReader& reader, const std::string& name)
{
    int error = 0;
    std::unique_ptr<GifFileType, TDecoderCloser> gif(DGifOpen(&reader, ReadBytes, &error));
    if (!gif)
        Fail(name, error);
    CheckPictureSize(gif->SWidth, gif->SHeight, "GIF", name);

    std::vector<TFrame> frames;
    TPictureExtras extras;
    GraphicsControlBlock control = NoControl();  // applies to the next image only
    std::vector<GifPixelType> indices;
    long long pixelBudget = MaxPicturePixels;
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR)
            Fail(name, gif->Error);
        if (type == TERMINATE_RECORD_TYPE)
            break;
        if (type == EXTENSION_RECORD_TYPE) {
            ReadExtension(gif.get(), control, extras, name);
        } else if (type == IMAGE_DESC_RECORD_TYPE) {
            frames.push_back(ReadImage(gif.get(), control, indices, pixelBudget, name));
            extras.GifHasTransparency = extras.GifHasTransparency || control.TransparentColor != NO_TRANSPARENT_COLOR;
            control = NoControl();
        }
    }
    if (frames.empty())
        Fail(name, TDecodeFailure::NoPicture);
    FitToCanvas(frames, gif->SWidth, gif->SHeight, BackgroundOf(*gif), extras);

    TBitmapEx bitmap;
    bitmap.SetFrames(std::move(frames));
    bitmap.SetExtras(std::move(extras));
    return bitmap;
}

} // namespace

TBitmapEx DecodeGif(std::string_view bytes, const std::string& name)
{
    TReader reader{bytes};
    try {
        return ReadGif(reader, name);
    } catch (const TPictorError&) {
        // giflib tells a file that ends early in several ways, a missing screen descriptor among them.
        if (reader.CameShort) Fail(name, TDecodeFailure::Truncated);
        throw;
    }
}

std::string EncodeGif(const TBitmapEx& bitmap, const std::string& name)
{
    const TFrame& canvas = FrameToEncode(bitmap, name);
    if (canvas.Width > MaxGifSide || canvas.Height > MaxGifSide)
        throw TPictorError(name, EncodeFailureText("GIF", std::to_string(canvas.Width) + "×" +
                                                              std::to_string(canvas.Height) + " ピクセル、幅も高さも上限は " +
                                                              std::to_string(MaxGifSide) + " ピクセル"));
    std::string out;
    int error = 0;
    std::unique_ptr<GifFileType, TEncoderCloser> gif(EGifOpen(&out, WriteBytes, &error));
    if (!gif)
        Fail(name, error);
    EGifSetGifVersion(gif.get(), true);
    if (EGifPutScreenDesc(gif.get(), canvas.Width, canvas.Height, 8, 0, nullptr) == GIF_ERROR)
        Fail(name, gif->Error);
    if (bitmap.Extras().GifLoopCount >= 0)
        PutLoopCount(gif.get(), bitmap.Extras().GifLoopCount, name);
    for (int k = 0; k < bitmap.FrameCount(); ++k) {
        const TFrame& frame = bitmap.Frame(k);
        if (!Inside(frame, canvas.Width, canvas.Height) || frame.Width == 0 || frame.Height == 0)
            throw TPictorError(name, EncodeFailureText("GIF", "フレーム " + std::to_string(k) + " が画像の外にあります"));
        PutFrame(gif.get(), frame, bitmap.FrameCount() > 1, name);
    }
    if (EGifCloseFile(gif.release(), &error) == GIF_ERROR)
        Fail(name, error);
    return out;
}

} // namespace pictor

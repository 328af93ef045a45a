#pragma once
#include "base/HugePageAllocator.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pictor {

class TWorkPool;

using TPixelBytes = std::vector<std::uint8_t, THugePageAllocator<std::uint8_t>>;

// One image plane: 24-bit pixels stored blue, green, red, row 0 on top, rows packed (stride Width * 3),
// and an optional alpha plane (Width bytes a row; empty when the picture is opaque).
struct TFrame {
    int Width = 0;
    int Height = 0;
    TPixelBytes Pixels;
    TPixelBytes Alpha;
    // Animated GIF frames after the first: where the frame stands and how it is shown.
    int Left = 0, Top = 0;
    int DelayCs = 0;      // hundredths of a second
    int Disposal = 0;     // GIF disposal method
    // Animated WebP frames: each the whole canvas as shown, for this many milliseconds.
    int DelayMs = 0;
};

// What a picture file carries beyond its pixels, kept so that writing it back loses nothing.
struct TPictureExtras {
    std::vector<std::pair<int, std::string>> JpegMarkers;  // APPn and COM markers: (marker, payload)
    int GifLoopCount = -1;      // -1: no looping extension
    bool GifHasTransparency = false;
    bool PngHasAlpha = false;
    // WebP: written back lossless when read so, otherwise at the quality it was most likely made with.
    bool WebpLossless = false;
    int WebpQuality = 75;
    bool WebpAnimated = false;
    int WebpLoopCount = 0;                      // 0: for ever
    std::uint32_t WebpBackground = 0xFFFFFFFF;  // the animation's background, as the file gives it
};

// The 24-bit bitmap holding a picture. Copies share their pixels until one of them changes
// (copy on write), so the undo history holds an unchanged picture once.
class TBitmapEx {
public:
    TBitmapEx();
    TBitmapEx(int width, int height);  // black, opaque

    int Width() const;
    int Height() const;
    bool Empty() const { return Width() == 0 || Height() == 0; }
    int Stride() const { return Width() * 3; }

    const std::uint8_t* ScanLine(int y) const;
    std::uint8_t* ScanLine(int y);  // detaches from any sharer

    // Frame 0 is the picture itself (the whole canvas); further frames come from animated GIFs.
    int FrameCount() const;
    const TFrame& Frame(int i) const;
    TFrame& MutableFrame(int i);  // detaches from any sharer
    void SetFrames(std::vector<TFrame> frames);
    const TPictureExtras& Extras() const;
    void SetExtras(TPictureExtras extras);

    bool SharesPixelsWith(const TBitmapEx& other) const;
    bool SamePixels(const TBitmapEx& other) const;  // every frame's colours and alpha equal

    // In place over every frame's colours; alpha and transparency stay as they are.
    // Large pictures are split into row bands on pool; none: on the calling thread.
    void Invert(TWorkPool* pool = nullptr);
    void ColorBalance(int red, int green, int blue, TWorkPool* pool = nullptr);
    void BrightContrast(int brightness, int contrast, TWorkPool* pool = nullptr);
    void HueSat(int hue, int saturation, int lightness, TWorkPool* pool = nullptr);

private:
    struct TData {
        std::vector<TFrame> Frames;
        TPictureExtras Extras;
    };
    const TData& Data() const;
    void Detach();
    std::shared_ptr<TData> Data_;  // null in a default or moved-from bitmap: empty costs no allocation
};

} // namespace pictor

#include "picture/PictureCodecs.h"
#include "picture/PictureIO.h"

#include "base/FailureReasons.h"
#include "base/PictorError.h"

#include <algorithm>
#include <cerrno>
#include <memory>

#include <webp/decode.h>
#include <webp/demux.h>
#include <webp/encode.h>
#include <webp/mux.h>

namespace pictor {

// WebP through libwebp: pictures and animations both go through its animation decoder, which gives
// every frame as the whole canvas it shows; animations are written back with its animation encoder.

namespace {

struct TAnimDecoderDeleter {
    void operator()(WebPAnimDecoder* decoder) const { WebPAnimDecoderDelete(decoder); }
};
struct TDemuxDeleter {
    void operator()(WebPDemuxer* demux) const { WebPDemuxDelete(demux); }
};
struct TAnimEncoderDeleter {
    void operator()(WebPAnimEncoder* encoder) const { WebPAnimEncoderDelete(encoder); }
};

// Lossless when every frame is; otherwise the highest quality any lossy frame was made at, so that no
// frame comes out coarser than it was.
void ReadHowMade(const WebPData& data, TPictureExtras& extras, const std::string& name)
{
    const std::unique_ptr<WebPDemuxer, TDemuxDeleter> demux(WebPDemux(&data));
    if (!demux) throw TPictorError(name, DecodeFailureText("WebP", TDecodeFailure::Corrupt));
    int quality = -1;
    WebPIterator frame;
    if (WebPDemuxGetFrame(demux.get(), 1, &frame)) {
        do {
            quality = std::max(quality, EstimateWebpQuality(std::string_view(
                                            reinterpret_cast<const char*>(frame.fragment.bytes), frame.fragment.size)));
        } while (WebPDemuxNextFrame(&frame));
        WebPDemuxReleaseIterator(&frame);
    }
    extras.WebpLossless = quality < 0;
    if (quality >= 0) extras.WebpQuality = quality;
    extras.WebpAnimated = (WebPDemuxGetI(demux.get(), WEBP_FF_FORMAT_FLAGS) & ANIMATION_FLAG) != 0;
}

[[noreturn]] void EncodeError(const std::string& name, int code)
{
    throw TPictorError(name, EncodeFailureText("WebP", "libwebp " + std::to_string(code)));
}

// One frame as libwebp takes it.
class TWebpPicture {
public:
    TWebpPicture(const TFrame& frame, const std::string& name)
    {
        if (!WebPPictureInit(&Picture_)) throw TPictorError(name, EncodeFailureText("WebP", "libwebp"));
        Picture_.use_argb = 1;
        Picture_.width = frame.Width;
        Picture_.height = frame.Height;
        bool imported;
        if (frame.Alpha.empty()) {
            imported = WebPPictureImportBGR(&Picture_, frame.Pixels.data(), frame.Width * 3);
        } else {
            TPixelBytes bgra(frame.Alpha.size() * 4);
            for (std::size_t i = 0; i < frame.Alpha.size(); ++i) {
                std::copy_n(&frame.Pixels[i * 3], 3, &bgra[i * 4]);
                bgra[i * 4 + 3] = frame.Alpha[i];
            }
            imported = WebPPictureImportBGRA(&Picture_, bgra.data(), frame.Width * 4);
        }
        if (!imported) throw TPictorError(name, SystemErrorText(ENOMEM));
    }
    ~TWebpPicture() { WebPPictureFree(&Picture_); }
    TWebpPicture(const TWebpPicture&) = delete;
    TWebpPicture& operator=(const TWebpPicture&) = delete;
    WebPPicture* Get() { return &Picture_; }

private:
    WebPPicture Picture_;
};

std::string EncodeStill(const TFrame& frame, const WebPConfig& config, const std::string& name)
{
    TWebpPicture picture(frame, name);
    WebPMemoryWriter writer;
    WebPMemoryWriterInit(&writer);
    picture.Get()->writer = WebPMemoryWrite;
    picture.Get()->custom_ptr = &writer;
    const bool done = WebPEncode(&config, picture.Get());
    std::string out(reinterpret_cast<const char*>(writer.mem), writer.size);
    WebPMemoryWriterClear(&writer);
    if (!done) EncodeError(name, picture.Get()->error_code);
    return out;
}

std::string EncodeAnimation(const TBitmapEx& bitmap, const WebPConfig& config, const std::string& name)
{
    const TFrame& canvas = bitmap.Frame(0);
    WebPAnimEncoderOptions options;
    if (!WebPAnimEncoderOptionsInit(&options)) throw TPictorError(name, EncodeFailureText("WebP", "libwebp"));
    options.anim_params.loop_count = bitmap.Extras().WebpLoopCount;
    options.anim_params.bgcolor = bitmap.Extras().WebpBackground;
    const std::unique_ptr<WebPAnimEncoder, TAnimEncoderDeleter> encoder(
        WebPAnimEncoderNew(canvas.Width, canvas.Height, &options));
    if (!encoder) throw TPictorError(name, SystemErrorText(ENOMEM));
    int timestamp = 0;
    for (int k = 0; k < bitmap.FrameCount(); ++k) {
        const TFrame& frame = bitmap.Frame(k);
        if (frame.Width != canvas.Width || frame.Height != canvas.Height)
            throw TPictorError(name, EncodeFailureText("WebP", "frame " + std::to_string(k)));
        TWebpPicture picture(frame, name);
        if (!WebPAnimEncoderAdd(encoder.get(), picture.Get(), timestamp, &config))
            throw TPictorError(name, EncodeFailureText("WebP", WebPAnimEncoderGetError(encoder.get())));
        timestamp += frame.DelayMs;
    }
    WebPData out;
    WebPDataInit(&out);
    if (!WebPAnimEncoderAdd(encoder.get(), nullptr, timestamp, nullptr) ||
        !WebPAnimEncoderAssemble(encoder.get(), &out))
        throw TPictorError(name, EncodeFailureText("WebP", WebPAnimEncoderGetError(encoder.get())));
    std::string bytes(reinterpret_cast<const char*>(out.bytes), out.size);
    WebPDataClear(&out);
    return bytes;
}

} // namespace

TBitmapEx DecodeWebp(std::string_view bytes, const std::string& name)
{
    const WebPData data{reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
    WebPBitstreamFeatures features;
    if (WebPGetFeatures(data.bytes, data.size, &features) != VP8_STATUS_OK)
        throw TPictorError(name, DecodeFailureText("WebP", TDecodeFailure::NotThisFormat));
    TPictureExtras extras;
    ReadHowMade(data, extras, name);

    WebPAnimDecoderOptions options;
    if (!WebPAnimDecoderOptionsInit(&options))
        throw TPictorError(name, DecodeFailureText("WebP", TDecodeFailure::Unsupported, "libwebp"));
    options.color_mode = MODE_BGRA;
    const std::unique_ptr<WebPAnimDecoder, TAnimDecoderDeleter> decoder(WebPAnimDecoderNew(&data, &options));
    if (!decoder) throw TPictorError(name, DecodeFailureText("WebP", TDecodeFailure::Corrupt));
    WebPAnimInfo info;
    if (!WebPAnimDecoderGetInfo(decoder.get(), &info)) throw TPictorError(name, DecodeFailureText("WebP", TDecodeFailure::Corrupt));
    CheckPictureSize(info.canvas_width, info.canvas_height, "WebP", name);
    const long long canvasPixels = static_cast<long long>(info.canvas_width) * info.canvas_height;
    if (info.frame_count == 0 || info.frame_count > static_cast<std::uint32_t>(MaxPicturePixels / canvasPixels))
        throw TPictorError(name, AnimationTooLargeText(canvasPixels * info.frame_count, MaxPicturePixels));
    extras.WebpLoopCount = int(info.loop_count);
    extras.WebpBackground = info.bgcolor;

    std::vector<TFrame> frames;
    int shown = 0;
    while (WebPAnimDecoderHasMoreFrames(decoder.get())) {
        std::uint8_t* bgra = nullptr;
        int timestamp = 0;
        if (!WebPAnimDecoderGetNext(decoder.get(), &bgra, &timestamp))
            throw TPictorError(name, DecodeFailureText("WebP", TDecodeFailure::Corrupt));
        TFrame& frame = frames.emplace_back();
        frame.Width = int(info.canvas_width);
        frame.Height = int(info.canvas_height);
        frame.DelayMs = timestamp - shown;
        shown = timestamp;
        SplitAlpha(bgra, frame);
        if (!features.has_alpha) frame.Alpha = TPixelBytes();
    }
    TBitmapEx bitmap;
    bitmap.SetFrames(std::move(frames));
    bitmap.SetExtras(std::move(extras));
    return bitmap;
}

std::string EncodeWebp(const TBitmapEx& bitmap, const std::string& name)
{
    const TFrame& canvas = FrameToEncode(bitmap, name);
    if (canvas.Width > WEBP_MAX_DIMENSION || canvas.Height > WEBP_MAX_DIMENSION)
        throw TPictorError(name, PictureTooLargeText(canvas.Width, canvas.Height, WEBP_MAX_DIMENSION * (long long)WEBP_MAX_DIMENSION));
    const TPictureExtras& extras = bitmap.Extras();
    WebPConfig config;
    if (!WebPConfigInit(&config)) throw TPictorError(name, EncodeFailureText("WebP", "libwebp"));
    config.lossless = extras.WebpLossless ? 1 : 0;
    if (!extras.WebpLossless) config.quality = float(extras.WebpQuality);
    config.exact = 1;  // colours under transparent pixels are kept as they were
    if (extras.WebpAnimated) return EncodeAnimation(bitmap, config, name);
    return EncodeStill(canvas, config, name);
}

} // namespace pictor

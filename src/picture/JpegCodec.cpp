#include "picture/PictureCodecs.h"
#include "picture/PictureIO.h"

#include "base/FailureReasons.h"
#include "base/PictorError.h"

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstring>

#include <jpeglib.h>
#include <jerror.h>

namespace pictor {

// libjpeg reports a fatal error by calling error_exit, which must not return. It longjmps back into
// the Run* functions below; those hold only trivially destructible locals, so the jump skips no destructor.
// Everything with a destructor lives in their callers.

namespace {

// The code of a file that repeats its scans without end (see LimitScans), beside libjpeg's own codes.
constexpr int TooManyScans = -1;

struct TJpegErrors {
    jpeg_error_mgr Manager;  // first, so libjpeg's pointer to it is a pointer to the whole
    std::jmp_buf Jump;
    int Code = 0;  // libjpeg's message code, or TooManyScans
};

[[noreturn]] void ExitWithCode(j_common_ptr info, int code)
{
    reinterpret_cast<TJpegErrors*>(info->err)->Code = code;
    std::longjmp(reinterpret_cast<TJpegErrors*>(info->err)->Jump, 1);
}

[[noreturn]] void ExitWithError(j_common_ptr info)
{
    ExitWithCode(info, info->err->msg_code);
}

// A cut-off file must fail rather than decode as grey rows, and a progression that contradicts itself
// marks a corrupt file. Other warnings, such as stray bytes before a marker, are common in camera files
// and harmless.
void OnMessage(j_common_ptr info, int level)
{
    if (level < 0 && (info->err->msg_code == JWRN_JPEG_EOF || info->err->msg_code == JWRN_BOGUS_PROGRESSION))
        ExitWithError(info);
}

// Every scan of a progressive file is a pass over the whole picture, and nothing stops a file from
// repeating its scans without end; encoders write a dozen or so.
constexpr int MaxScans = 100;

void LimitScans(j_common_ptr info)
{
    if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > MaxScans)
        ExitWithCode(info, TooManyScans);
}

jpeg_error_mgr* InstallErrors(TJpegErrors& errors)
{
    jpeg_std_error(&errors.Manager);
    errors.Manager.error_exit = ExitWithError;
    errors.Manager.emit_message = OnMessage;
    return &errors.Manager;
}

// Adobe writers store CMYK inverted (255 = no ink); others store it plain.
void CmykToBgr(const std::uint8_t* in, std::uint8_t* out, int width, bool inverted)
{
    for (int x = 0; x < width; ++x, in += 4, out += 3) {
        const unsigned c = inverted ? in[0] : 255u - in[0];
        const unsigned m = inverted ? in[1] : 255u - in[1];
        const unsigned y = inverted ? in[2] : 255u - in[2];
        const unsigned k = inverted ? in[3] : 255u - in[3];
        out[0] = std::uint8_t((y * k + 127) / 255);
        out[1] = std::uint8_t((m * k + 127) / 255);
        out[2] = std::uint8_t((c * k + 127) / 255);
    }
}

struct TDecodeTarget {
    TFrame& Frame;
    TPictureExtras& Extras;
    std::vector<std::uint8_t>& CmykRow;
};

bool RunDecoder(jpeg_decompress_struct& info, TJpegErrors& errors, std::string_view bytes,
                const std::string& name, TDecodeTarget& target)
{
    jpeg_progress_mgr progress{};
    progress.progress_monitor = LimitScans;
    if (setjmp(errors.Jump))
        return false;
    jpeg_create_decompress(&info);
    info.progress = &progress;
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
    jpeg_save_markers(&info, JPEG_COM, 0xFFFF);
    for (int n = 0; n < 16; ++n)
        jpeg_save_markers(&info, JPEG_APP0 + n, 0xFFFF);
    jpeg_read_header(&info, TRUE);
    CheckPictureSize(info.image_width, info.image_height, "JPEG", name);

    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_start_decompress(&info);

    TFrame& frame = target.Frame;
    frame.Width = int(info.output_width);
    frame.Height = int(info.output_height);
    const std::size_t stride = std::size_t(frame.Width) * 3;
    // Grown as rows arrive: a header that claims more rows than the file holds costs nothing.
    frame.Pixels.reserve(stride * std::size_t(frame.Height));
    if (cmyk)
        target.CmykRow.resize(std::size_t(frame.Width) * 4);
    while (info.output_scanline < info.output_height) {
        frame.Pixels.resize(stride * (info.output_scanline + 1));
        std::uint8_t* row = frame.Pixels.data() + info.output_scanline * stride;
        JSAMPROW into = cmyk ? target.CmykRow.data() : row;
        jpeg_read_scanlines(&info, &into, 1);
        if (cmyk)
            CmykToBgr(target.CmykRow.data(), row, frame.Width, info.saw_Adobe_marker);
    }
    for (jpeg_saved_marker_ptr m = info.marker_list; m; m = m->next) {
        const char* data = reinterpret_cast<const char*>(m->data);
        // A CMYK picture's colour profile describes inks that the decoded picture no longer has.
        if (cmyk && m->marker == JPEG_APP0 + 2 && m->data_length >= 12 && std::memcmp(data, "ICC_PROFILE", 12) == 0)
            continue;
        target.Extras.JpegMarkers.emplace_back(int(m->marker), std::string(data, m->data_length));
    }
    jpeg_finish_decompress(&info);
    return true;
}

// Collects the compressed bytes in a std::string; an allocation failure becomes a libjpeg error
// instead of an exception crossing libjpeg's C frames.
struct TStringDestination {
    jpeg_destination_mgr Manager;  // first, as for TJpegErrors
    std::string* Out = nullptr;
    JOCTET Chunk[65536];
};

bool Append(j_compress_ptr info, std::size_t count)
{
    auto* dest = reinterpret_cast<TStringDestination*>(info->dest);
    bool ok = true;
    try {
        dest->Out->append(reinterpret_cast<const char*>(dest->Chunk), count);
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    dest->Manager.next_output_byte = dest->Chunk;
    dest->Manager.free_in_buffer = sizeof dest->Chunk;
    return ok;
}

void InitDestination(j_compress_ptr info)
{
    auto* dest = reinterpret_cast<TStringDestination*>(info->dest);
    dest->Manager.next_output_byte = dest->Chunk;
    dest->Manager.free_in_buffer = sizeof dest->Chunk;
}

boolean EmptyDestination(j_compress_ptr info)
{
    auto* dest = reinterpret_cast<TStringDestination*>(info->dest);
    if (!Append(info, sizeof dest->Chunk))
        ERREXIT(info, JERR_OUT_OF_MEMORY);
    return TRUE;
}

void TermDestination(j_compress_ptr info)
{
    auto* dest = reinterpret_cast<TStringDestination*>(info->dest);
    if (!Append(info, sizeof dest->Chunk - dest->Manager.free_in_buffer))
        ERREXIT(info, JERR_OUT_OF_MEMORY);
}

// libjpeg writes its own JFIF header, and an Adobe marker would describe another colour transform.
bool WrittenByEncoder(int marker, const std::string& payload)
{
    return (marker == JPEG_APP0 && payload.compare(0, 5, std::string("JFIF\0", 5)) == 0) ||
           (marker == JPEG_APP0 + 14 && payload.compare(0, 5, "Adobe") == 0);
}

bool RunEncoder(jpeg_compress_struct& info, TJpegErrors& errors, TStringDestination& dest, const TBitmapEx& bitmap,
                const TFrame& frame, int quality, bool use444)
{
    if (setjmp(errors.Jump))
        return false;
    jpeg_create_compress(&info);
    dest.Manager.init_destination = InitDestination;
    dest.Manager.empty_output_buffer = EmptyDestination;
    dest.Manager.term_destination = TermDestination;
    info.dest = &dest.Manager;

    info.image_width = JDIMENSION(frame.Width);
    info.image_height = JDIMENSION(frame.Height);
    info.input_components = 3;
    info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, std::clamp(quality, 1, 100), TRUE);
    if (use444) {
        for (int i = 0; i < info.num_components; ++i) {
            info.comp_info[i].h_samp_factor = 1;
            info.comp_info[i].v_samp_factor = 1;
        }
    }
    jpeg_start_compress(&info, TRUE);
    for (const auto& [marker, payload] : bitmap.Extras().JpegMarkers) {
        if (!WrittenByEncoder(marker, payload))
            jpeg_write_marker(&info, marker, reinterpret_cast<const JOCTET*>(payload.data()), unsigned(payload.size()));
    }
    const std::size_t stride = std::size_t(frame.Width) * 3;
    while (info.next_scanline < info.image_height) {
        // libjpeg's row type is not const, but compression only reads it.
        JSAMPROW row = const_cast<std::uint8_t*>(frame.Pixels.data()) + info.next_scanline * stride;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    return true;
}

// Why a file could not be decoded, in the user's words rather than libjpeg's.
std::string DecodeFailureReason(const TJpegErrors& errors)
{
    switch (errors.Code) {
    case JWRN_JPEG_EOF:
    case JERR_INPUT_EOF:
    case JERR_INPUT_EMPTY: return DecodeFailureText("JPEG", TDecodeFailure::Truncated);
    case JERR_NO_SOI: return DecodeFailureText("JPEG", TDecodeFailure::NotThisFormat);
    case JERR_OUT_OF_MEMORY: return SystemErrorText(ENOMEM);
    case TooManyScans:
        return DecodeFailureText("JPEG", TDecodeFailure::Corrupt,
                                 "スキャンが " + std::to_string(MaxScans) + " を超えます");
    default: return DecodeFailureText("JPEG", TDecodeFailure::Corrupt);
    }
}

} // namespace

TBitmapEx DecodeJpeg(std::string_view bytes, const std::string& name)
{
    TJpegErrors errors;
    jpeg_decompress_struct info{};
    info.err = InstallErrors(errors);
    std::vector<TFrame> frames(1);
    TPictureExtras extras;
    std::vector<std::uint8_t> cmykRow;
    TDecodeTarget target{frames[0], extras, cmykRow};

    struct TGuard {
        jpeg_decompress_struct& Info;
        ~TGuard() { jpeg_destroy_decompress(&Info); }
    } guard{info};
    if (!RunDecoder(info, errors, bytes, name, target))
        throw TPictorError(name, DecodeFailureReason(errors));

    TBitmapEx bitmap;
    bitmap.SetFrames(std::move(frames));
    bitmap.SetExtras(std::move(extras));
    return bitmap;
}

std::string EncodeJpeg(const TBitmapEx& bitmap, int quality, bool use444, const std::string& name)
{
    const TFrame& frame = FrameToEncode(bitmap, name);
    TJpegErrors errors;
    jpeg_compress_struct info{};
    info.err = InstallErrors(errors);
    std::string out;
    TStringDestination dest{};
    dest.Out = &out;

    struct TGuard {
        jpeg_compress_struct& Info;
        ~TGuard() { jpeg_destroy_compress(&Info); }
    } guard{info};
    if (!RunEncoder(info, errors, dest, bitmap, frame, quality, use444))
        throw TPictorError(name, errors.Code == JERR_OUT_OF_MEMORY
                                     ? SystemErrorText(ENOMEM)
                                     : EncodeFailureText("JPEG", "libjpeg のエラー " + std::to_string(errors.Code)));
    return out;
}

} // namespace pictor

// PNG writing with zlib directly: the rows are compressed in segments on several cores, the way
// pigz does, and joined into one zlib stream. Reading stays with libpng (PngCodec.cpp).
#include "base/ParallelRows.h"
#include "base/FailureReasons.h"
#include "base/PictorError.h"
#include "picture/PictureCodecs.h"
#include "picture/PictureIO.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <string_view>

#include <zlib.h>

namespace pictor {

namespace {

constexpr int Level = 3;               // with the up filter: a little larger than zlib's default, several times faster
constexpr std::size_t Window = 32768;  // deflate's dictionary
// Segments depend on the picture alone, so the bytes written do not depend on the machine.
constexpr std::size_t MinSegmentBytes = std::size_t(8) << 20;
constexpr int MaxSegments = 8;
constexpr std::string_view ZlibHeader("\x78\x5E", 2);  // deflate with a 32 KiB window, "fast" level

void PutBigEndian(std::string& out, std::uint32_t value)
{
    const char bytes[4] = {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
    out.append(bytes, 4);
}

// A chunk whose data is the pieces one after another.
void PutChunk(std::string& out, const char type[4], std::initializer_list<std::string_view> pieces)
{
    std::size_t size = 0;
    for (std::string_view piece : pieces) size += piece.size();
    PutBigEndian(out, std::uint32_t(size));
    const std::size_t start = out.size();
    out.append(type, 4);
    for (std::string_view piece : pieces) out.append(piece);
    const auto* typed = reinterpret_cast<const Bytef*>(out.data() + start);
    PutBigEndian(out, std::uint32_t(crc32(0, typed, uInt(out.size() - start))));
}

// Row y as PNG stores it with the up filter: the filter byte, then each sample minus the one above,
// colours turned from blue-green-red to red-green-blue and alpha put beside them.
class TUpFilter {
public:
    explicit TUpFilter(const TFrame& frame)
        : Frame_(frame), Width_(std::size_t(frame.Width)), HasAlpha_(!frame.Alpha.empty()),
          Zeros_(Width_ * 3, 0)  // what the top row is filtered against
    {
    }
    std::size_t RowBytes() const { return 1 + Width_ * (HasAlpha_ ? 4 : 3); }

    void Row(std::size_t y, std::uint8_t* out) const
    {
        *out++ = 2;  // up
        const std::uint8_t* bgr = Frame_.Pixels.data() + y * Width_ * 3;
        const std::uint8_t* above = y ? bgr - Width_ * 3 : Zeros_.data();
        if (!HasAlpha_) {
            for (std::size_t i = 0; i < Width_ * 3; i += 3, out += 3) {
                out[0] = std::uint8_t(bgr[i + 2] - above[i + 2]);
                out[1] = std::uint8_t(bgr[i + 1] - above[i + 1]);
                out[2] = std::uint8_t(bgr[i] - above[i]);
            }
            return;
        }
        const std::uint8_t* alpha = Frame_.Alpha.data() + y * Width_;
        const std::uint8_t* alphaAbove = y ? alpha - Width_ : Zeros_.data();
        for (std::size_t x = 0, i = 0; x < Width_; ++x, i += 3, out += 4) {
            out[0] = std::uint8_t(bgr[i + 2] - above[i + 2]);
            out[1] = std::uint8_t(bgr[i + 1] - above[i + 1]);
            out[2] = std::uint8_t(bgr[i] - above[i]);
            out[3] = std::uint8_t(alpha[x] - alphaAbove[x]);
        }
    }

private:
    const TFrame& Frame_;
    std::size_t Width_;
    bool HasAlpha_;
    std::vector<std::uint8_t> Zeros_;
};

// One band of rows as a run of raw deflate blocks that continues the bands before it.
struct TSegment {
    TPixelBytes Compressed;
    std::size_t Size = 0;
    uLong Adler = 0;
    std::size_t RawBytes = 0;
    bool Failed = false;
};

void CompressRows(const TUpFilter& filter, int firstRow, int endRow, bool last, TSegment& segment)
{
    const std::size_t rowBytes = filter.RowBytes();
    // The rows just before the band, filtered again, prime the dictionary as if the stream had run on.
    const std::size_t primeRows = firstRow ? std::min<std::size_t>(firstRow, (Window + rowBytes - 1) / rowBytes) : 0;
    const std::size_t rows = primeRows + std::size_t(endRow - firstRow);
    TPixelBytes filtered(rows * rowBytes);
    for (std::size_t r = 0; r < rows; ++r) filter.Row(std::size_t(firstRow) - primeRows + r, filtered.data() + r * rowBytes);
    const std::size_t primeBytes = primeRows * rowBytes;
    segment.RawBytes = filtered.size() - primeBytes;
    segment.Adler = adler32_z(adler32(0, nullptr, 0), filtered.data() + primeBytes, segment.RawBytes);

    z_stream z{};
    if (deflateInit2(&z, Level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        segment.Failed = true;
        return;
    }
    const std::size_t dictionary = std::min(primeBytes, Window);
    if (dictionary) deflateSetDictionary(&z, filtered.data() + primeBytes - dictionary, uInt(dictionary));
    // Room for the worst case and the flush marker, so one call does it all (a picture's rows stay
    // below 4 GiB); pages never written are never touched.
    segment.Compressed.resize(deflateBound(&z, uLong(segment.RawBytes)) + 64);
    z.next_in = filtered.data() + primeBytes;
    z.avail_in = uInt(segment.RawBytes);
    z.next_out = segment.Compressed.data();
    z.avail_out = uInt(segment.Compressed.size());
    const int status = deflate(&z, last ? Z_FINISH : Z_SYNC_FLUSH);
    segment.Failed = status != (last ? Z_STREAM_END : Z_OK) || z.avail_in != 0;
    segment.Size = z.total_out;
    deflateEnd(&z);
}

} // namespace

std::string EncodePng(const TBitmapEx& bitmap, const std::string& name, TWorkPool* pool)
{
    const TFrame& frame = FrameToEncode(bitmap, name);
    const TUpFilter filter(frame);
    const std::size_t rawBytes = filter.RowBytes() * std::size_t(frame.Height);
    const int segmentCount =
        int(std::clamp<std::size_t>(rawBytes / MinSegmentBytes, 1, std::min(MaxSegments, frame.Height)));
    std::vector<TSegment> segments(static_cast<std::size_t>(segmentCount));
    ForEachRowBand(pool, frame.Height, segmentCount, [&](int k, int firstRow, int endRow) {
        CompressRows(filter, firstRow, endRow, k == segmentCount - 1, segments[std::size_t(k)]);
    });

    uLong adler = adler32(0, nullptr, 0);
    std::size_t compressed = 0;
    for (const TSegment& s : segments) {
        if (s.Failed) throw TPictorError(name, EncodeFailureText("PNG", "圧縮できませんでした"));
        adler = adler32_combine(adler, s.Adler, z_off_t(s.RawBytes));
        compressed += s.Size;
    }
    std::string checksum;
    PutBigEndian(checksum, std::uint32_t(adler));

    std::string out = "\x89PNG\r\n\x1A\n";
    out.reserve(out.size() + compressed + 12 * segments.size() + 64);
    std::string header;
    PutBigEndian(header, std::uint32_t(frame.Width));
    PutBigEndian(header, std::uint32_t(frame.Height));
    // 8 bits a sample, RGB or RGBA, deflate, adaptive filtering, not interlaced. No gAMA chunk: the
    // pixels are written as they are, for browsers to take as sRGB.
    header += {8, char(frame.Alpha.empty() ? 2 : 6), 0, 0, 0};
    PutChunk(out, "IHDR", {header});
    // One IDAT a band: the zlib header opens the first, the checksum closes the last.
    for (std::size_t k = 0; k < segments.size(); ++k) {
        const TSegment& s = segments[k];
        PutChunk(out, "IDAT", {k == 0 ? ZlibHeader : std::string_view(),
                               std::string_view(reinterpret_cast<const char*>(s.Compressed.data()), s.Size),
                               k + 1 == segments.size() ? std::string_view(checksum) : std::string_view()});
    }
    PutChunk(out, "IEND", {});
    return out;
}

} // namespace pictor

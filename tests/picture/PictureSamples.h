#pragma once
// Pictures made in code for the codec tests, so that no binary fixtures are needed.
#include "picture/BitmapEx.h"
#include "picture/PictureIO.h"
#include "support/Errors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>

namespace pictor::test {

// One colour all over.
inline TBitmapEx Solid(int width, int height, int r, int g, int b)
{
    TBitmapEx bitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = bitmap.ScanLine(y) + x * 3;
            p[0] = std::uint8_t(b), p[1] = std::uint8_t(g), p[2] = std::uint8_t(r);
        }
    return bitmap;
}

// Every pixel its own colour: more than 256 colours from 17 x 16 pixels on.
inline TBitmapEx ManyColours(int width, int height)
{
    TBitmapEx bitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = bitmap.ScanLine(y) + x * 3;
            p[0] = std::uint8_t(x * 7 + y);
            p[1] = std::uint8_t(y * 5);
            p[2] = std::uint8_t(x * 3 + y * 11);
        }
    return bitmap;
}

// Stripes of a few colours whose byte order matters (blue, green, red differ).
inline TBitmapEx FewColours(int width, int height)
{
    static const std::uint8_t palette[4][3] = {{10, 20, 200}, {0, 255, 0}, {250, 128, 1}, {33, 33, 33}};
    TBitmapEx bitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            std::copy_n(palette[(x / 2 + y) % 4], 3, bitmap.ScanLine(y) + x * 3);
    return bitmap;
}

// The picture with an alpha that differs from pixel to pixel.
inline TBitmapEx WithAlpha(TBitmapEx bitmap)
{
    TFrame& frame = bitmap.MutableFrame(0);
    frame.Alpha.resize(std::size_t(frame.Width) * std::size_t(frame.Height));
    for (std::size_t i = 0; i < frame.Alpha.size(); ++i) frame.Alpha[i] = std::uint8_t(i * 37);
    return bitmap;
}

inline std::size_t DistinctColours(const TFrame& frame)
{
    std::set<int> colours;
    for (std::size_t i = 0; i + 2 < frame.Pixels.size(); i += 3)
        colours.insert(frame.Pixels[i] | frame.Pixels[i + 1] << 8 | frame.Pixels[i + 2] << 16);
    return colours.size();
}

// Largest difference of any byte: lossy codecs are judged by it.
inline int MaxDifference(const TFrame& a, const TFrame& b)
{
    int worst = 0;
    for (std::size_t i = 0; i < a.Pixels.size() && i < b.Pixels.size(); ++i)
        worst = std::max(worst, std::abs(int(a.Pixels[i]) - int(b.Pixels[i])));
    return worst;
}

// Decoding each of the bytes must fail with an error naming the file, its reason containing the one
// given.
inline void ExpectDecodeErrors(TPictureFormat format, std::initializer_list<std::pair<std::string, std::string>> cases)
{
    for (const auto& [bytes, reason] : cases) {
        const TPictorError e = ErrorOf([&] { DecodePicture(format, bytes, "bad-file"); });
        EXPECT_EQ(e.File, "bad-file") << bytes.size() << " bytes";
        EXPECT_NE(e.Reason.find(reason), std::string::npos) << e.Reason;
    }
}

// Decoding bytes whose header claims 16000 x 16000 pixels (732 MiB) that the file does not hold must fail
// before the process's peak memory rises by 64 MiB; skipped where the system cannot reset the peak.
inline void ExpectLyingHeaderCostsNoMemory(TPictureFormat format, const std::string& bytes)
{
    auto kib = [](const char* field) {
        std::ifstream status("/proc/self/status");
        for (std::string line; std::getline(status, line);)
            if (line.rfind(field, 0) == 0) return std::atol(line.c_str() + std::char_traits<char>::length(field));
        return -1L;
    };
    if (!(std::ofstream("/proc/self/clear_refs") << "5" << std::flush))
        GTEST_SKIP() << "the peak memory cannot be reset here";
    const long before = kib("VmRSS:");
    EXPECT_THROW(DecodePicture(format, bytes, "lying-header"), TPictorError);
    const long peak = kib("VmHWM:");
    if (before < 0 || peak < 0) GTEST_SKIP() << "the peak memory cannot be read here";
    EXPECT_LT((peak - before) / 1024, 64);
}

} // namespace pictor::test

#include "base/WorkPool.h"
#include "picture/PictureIO.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

constexpr int Width = 4000;
constexpr int Height = 3000;

// A photo-like picture: smooth gradients with some noise, so the codecs neither idle nor choke.
const pictor::TBitmapEx& Photo()
{
    static const pictor::TBitmapEx photo = [] {
        pictor::TBitmapEx bitmap(Width, Height);
        std::minstd_rand noise(7);
        for (int y = 0; y < Height; ++y) {
            std::uint8_t* row = bitmap.ScanLine(y);
            for (int x = 0; x < Width; ++x) {
                const int n = int(noise() % 16);
                row[x * 3] = std::uint8_t((x * 255 / Width + n) & 0xFF);
                row[x * 3 + 1] = std::uint8_t((y * 255 / Height + n) & 0xFF);
                row[x * 3 + 2] = std::uint8_t(((x + y) * 255 / (Width + Height)) ^ n);
            }
        }
        return bitmap;
    }();
    return photo;
}

void ReportPixels(benchmark::State& state)
{
    state.counters["Mpixel/s"] = benchmark::Counter(double(state.iterations()) * Width * Height / 1e6,
                                                    benchmark::Counter::kIsRate);
}

void BM_JpegEncode(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(pictor::EncodeJpeg(Photo(), 80, false, "bench.jpg"));
    ReportPixels(state);
}

void BM_JpegDecode(benchmark::State& state)
{
    const std::string bytes = pictor::EncodeJpeg(Photo(), 80, false, "bench.jpg");
    for (auto _ : state)
        benchmark::DoNotOptimize(pictor::DecodePicture(pictor::TPictureFormat::Jpeg, bytes, "bench.jpg"));
    ReportPixels(state);
}

void BM_PngEncode(benchmark::State& state)
{
    pictor::TWorkPool pool;
    for (auto _ : state)
        benchmark::DoNotOptimize(pictor::EncodePng(Photo(), "bench.png", &pool));
    ReportPixels(state);
}

void BM_PngDecode(benchmark::State& state)
{
    const std::string bytes = pictor::EncodePng(Photo(), "bench.png");
    for (auto _ : state)
        benchmark::DoNotOptimize(pictor::DecodePicture(pictor::TPictureFormat::Png, bytes, "bench.png"));
    ReportPixels(state);
}

BENCHMARK(BM_JpegEncode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegDecode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngEncode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngDecode)->Unit(benchmark::kMillisecond);

} // namespace

#include "base/WorkPool.h"
#include "picture/BitmapEx.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace {

using pictor::TBitmapEx;
using pictor::TFrame;
using pictor::TWorkPool;

enum TPicture { ptPhoto, ptRandom };

// Smooth gradients with a little noise, as a photo has: many distinct colours, mostly close to
// their neighbours'. The random picture gives nearly every pixel a colour of its own.
TBitmapEx MakePicture(TPicture kind, int width, int height)
{
    TFrame frame;
    frame.Width = width;
    frame.Height = height;
    frame.Pixels.resize(std::size_t(width) * height * 3);
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> noise(-3, 3);
    auto channel = [&](double smooth) {
        const int c = int(smooth) + noise(rng);
        return std::uint8_t(c < 0 ? 0 : c > 255 ? 255 : c);
    };
    std::uint8_t* p = frame.Pixels.data();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x, p += 3) {
            if (kind == ptRandom) {
                const std::uint32_t c = rng();
                p[0] = std::uint8_t(c);
                p[1] = std::uint8_t(c >> 8);
                p[2] = std::uint8_t(c >> 16);
            } else {
                p[0] = channel(127.5 + 127.5 * std::sin((x + 2 * y) * 0.003));
                p[1] = channel(255.0 * y / height);
                p[2] = channel(255.0 * x / width);
            }
        }
    TBitmapEx bitmap;
    bitmap.SetFrames({std::move(frame)});
    return bitmap;
}

double DistinctColours(const TBitmapEx& bitmap)
{
    std::vector<bool> seen(std::size_t(1) << 24);
    double count = 0;
    const auto& pixels = bitmap.Frame(0).Pixels;
    for (std::size_t i = 0; i < pixels.size(); i += 3) {
        const std::uint32_t c = pixels[i] | pixels[i + 1] << 8 | pixels[i + 2] << 16;
        if (seen[c]) continue;
        seen[c] = true;
        ++count;
    }
    return count;
}

// Each run starts again from the same pixels, so that hue/saturation meets the same colours every time.
template <class Adjust>
void Run(benchmark::State& state, TPicture kind, const Adjust& adjust)
{
    const int width = int(state.range(0)), height = int(state.range(1));
    const TBitmapEx source = MakePicture(kind, width, height);
    TBitmapEx work = source;
    TWorkPool pool;
    for (auto _ : state) {
        state.PauseTiming();
        work.MutableFrame(0).Pixels = source.Frame(0).Pixels;
        state.ResumeTiming();
        adjust(work, &pool);
        benchmark::DoNotOptimize(work.Frame(0).Pixels.data());
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t(width) * height);
    state.counters["colours"] = DistinctColours(source);
}

void BM_Invert(benchmark::State& state) { Run(state, ptPhoto, [](TBitmapEx& b, TWorkPool* pool) { b.Invert(pool); }); }
void BM_ColorBalance(benchmark::State& state)
{
    Run(state, ptPhoto, [](TBitmapEx& b, TWorkPool* pool) { b.ColorBalance(20, -15, 40, pool); });
}
void BM_BrightContrast(benchmark::State& state)
{
    Run(state, ptPhoto, [](TBitmapEx& b, TWorkPool* pool) { b.BrightContrast(12, 35, pool); });
}
void BM_HueSatLighten(benchmark::State& state)
{
    Run(state, ptPhoto, [](TBitmapEx& b, TWorkPool* pool) { b.HueSat(40, 25, 15, pool); });
}
void BM_HueSatDarken(benchmark::State& state)
{
    Run(state, ptPhoto, [](TBitmapEx& b, TWorkPool* pool) { b.HueSat(-40, 25, -15, pool); });
}
void BM_HueSatRandomLighten(benchmark::State& state)
{
    Run(state, ptRandom, [](TBitmapEx& b, TWorkPool* pool) { b.HueSat(40, 25, 15, pool); });
}
void BM_HueSatRandomDarken(benchmark::State& state)
{
    Run(state, ptRandom, [](TBitmapEx& b, TWorkPool* pool) { b.HueSat(-40, 25, -15, pool); });
}

void Sizes(benchmark::internal::Benchmark* b)
{
    b->Args({4000, 3000})->Args({247, 247})->UseRealTime()->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_Invert)->Apply(Sizes);
BENCHMARK(BM_ColorBalance)->Apply(Sizes);
BENCHMARK(BM_BrightContrast)->Apply(Sizes);
BENCHMARK(BM_HueSatLighten)->Apply(Sizes);
BENCHMARK(BM_HueSatDarken)->Apply(Sizes);
BENCHMARK(BM_HueSatRandomLighten)->Apply(Sizes);
BENCHMARK(BM_HueSatRandomDarken)->Apply(Sizes);

} // namespace

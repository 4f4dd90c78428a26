// Face generation cost of the textured button, per pixel, for the dialog's size and a large face.
#include <benchmark/benchmark.h>

#include "controls/Texture_core.h"

using namespace texture;

namespace
{
const TextureColors kClassic{0xC0C0C0, 0x808080, 0xFFFFFF};

// Arguments: width, height, effect. Reports time per pixel through the items-processed rate.
void BM_GenerateTextureFaces(benchmark::State& state)
{
    const int width = int(state.range(0)), height = int(state.range(1));
    const uint32_t effect = uint32_t(state.range(2));
    pixelcanvas::Image face, hot;
    ResetTextureRandom();
    for (auto _ : state)
    {
        GenerateTextureFaces(width, height, kClassic, effect, 4, 20, 10, 0xFA5032, face, hot);
        benchmark::DoNotOptimize(face.Pixels());
        benchmark::DoNotOptimize(hot.Pixels());
    }
    const double pixels = double(width) * double(height);
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(pixels));
    state.counters["ns_per_pixel"] =
        benchmark::Counter(pixels, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
} // namespace

BENCHMARK(BM_GenerateTextureFaces)
    ->ArgNames({"w", "h", "effect"})
    ->Args({125, 28, TextureVerticalRamp})
    ->Args({1000, 1000, TextureVerticalRamp})
    ->Args({125, 28, TextureCushion})
    ->Args({1000, 1000, TextureCushion})
    ->Args({125, 28, TextureScratched})
    ->Args({1000, 1000, TextureScratched})
    ->Unit(benchmark::kMicrosecond);

// Fuzz target: the texture generator. One pair of faces per input from any effect number, grain,
// tints, colours and start of the random source, at sizes up to a bound that keeps a run fast;
// the faces must have the promised shape, share their pixels, and draw the promised random values.
#include <cstring>

#include "FuzzInput.h"
#include "controls/Texture_core.h"

using namespace pixelcanvas;
using namespace texture;

namespace {

// Faces up to this many pixels, counting one more per side so that a side of zero still bounds the
// other (its rows or columns are still visited).
constexpr int64_t kMaxPixels = 1 << 17;

// The state the random source reaches from state after count values.
uint32_t StateAfter(uint32_t state, int64_t count)
{
    ResetTextureRandom(state);
    for (int64_t i = 0; i < count; ++i)
        NextTextureRandom();
    return TextureRandomState();
}

bool IsColor(const RgbQuad& e, uint32_t color)
{
    return e.rgbRed == (color & 0xFF) && e.rgbGreen == ((color >> 8) & 0xFF) && e.rgbBlue == ((color >> 16) & 0xFF);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const auto side = [&in] { return in.ConsumeBool() ? in.ConsumeIntegralInRange<int32_t>(-2, 400) : AnyInt(in); };
    const int32_t width = side(), height = side();
    if (width >= 0 && height >= 0 && (int64_t(width) + 1) * (int64_t(height) + 1) > kMaxPixels)
        return 0;
    const uint32_t effect = in.ConsumeBool() ? in.ConsumeIntegralInRange<uint32_t>(0, 9) : in.ConsumeIntegral<uint32_t>();
    const uint32_t grain = Percent(in), hotTint = Percent(in), tint = Percent(in);
    const TextureColors colors{in.ConsumeIntegral<uint32_t>(), in.ConsumeIntegral<uint32_t>(),
                               in.ConsumeIntegral<uint32_t>()};
    const uint32_t tintColor = in.ConsumeIntegral<uint32_t>();
    const uint32_t start = in.ConsumeIntegral<uint32_t>();

    Image face, hot;
    if (in.ConsumeBool()) {   // faces made before are replaced
        face.Create(3, 2, 8);
        hot.Create(5, 1, 24);
    }
    ResetTextureRandom(start);
    GenerateTextureFaces(width, height, colors, effect, grain, hotTint, tint, tintColor, face, hot);
    const uint32_t end = TextureRandomState();

    if (width < 0 || height < 0) {
        FUZZ_CHECK(!face.Block() && !hot.Block() && end == start);
        return 0;
    }
    FUZZ_CHECK(face.Block() && face.Width() == width && face.Height() == height && face.BitCount() == 8 &&
               face.PaletteCount() == 256);
    FUZZ_CHECK(hot.Block() && hot.Width() == width && hot.Height() == height && hot.BitCount() == 8);
    const size_t imageBytes = face.Header().biSizeImage;
    FUZZ_CHECK(std::memcmp(hot.Pixels(), face.Pixels(), imageBytes) == 0);

    // The palette runs from the shadow to the light colour, then takes the tints.
    const RgbQuad* palette = face.Palette();
    const RgbQuad* hotPalette = hot.Palette();
    if ((tint & 0xFF) == 0)
        FUZZ_CHECK(IsColor(palette[0], colors.shadow) && IsColor(palette[255], colors.light));
    for (int i = 0; i < 256; ++i) {
        if ((tint & 0xFF) >= 100)
            FUZZ_CHECK(IsColor(palette[i], tintColor));
        if ((hotTint & 0xFF) == 0)
            FUZZ_CHECK(std::memcmp(&palette[i], &hotPalette[i], 4) == 0);
        if ((hotTint & 0xFF) >= 100)
            FUZZ_CHECK(IsColor(hotPalette[i], colors.light));
    }

    // One random value per pixel and pass; the capsule's side bands are a second pass.
    const int64_t pixels = int64_t(width) * height;
    if (effect == TextureScratched) {
        if (width < 1 || width > 32767 || height < 1 || height > 32767) {
            FUZZ_CHECK(end == start);
            for (size_t i = 0; i < imageBytes; ++i)
                FUZZ_CHECK(face.Pixels()[i] == 0);
        }
    } else {
        const int passes = effect == TextureCapsule && height >= 2 ? 2 : 1;
        FUZZ_CHECK(end == StateAfter(start, passes * pixels));
    }
    return 0;
}

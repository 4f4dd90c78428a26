// Texture generation: random source, face palette, each effect's values, bounds and visiting order.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "controls/Texture_core.h"

using namespace texture;

namespace
{
// An independent reference of the runtime's generator.
struct RefLcg
{
    uint32_t state;
    int Next()
    {
        state = state * 214013u + 2531011u;
        return int((state >> 16) & 0x7FFF);
    }
};

std::vector<int> Draws(uint32_t state, size_t count)
{
    RefLcg r{state};
    std::vector<int> out(count);
    for (int& v : out)
        v = r.Next();
    return out;
}

uint32_t StateAfter(uint32_t state, size_t count)
{
    RefLcg r{state};
    for (size_t i = 0; i < count; ++i)
        r.Next();
    return r.state;
}

// Classic system colours: face 192, shadow 128, highlight 255.
const TextureColors kClassic{0xC0C0C0, 0x808080, 0xFFFFFF};
const uint32_t kDialogTint = 0xFA5032; // red 50, green 80, blue 250

struct Faces
{
    pixelcanvas::Image face;
    pixelcanvas::Image hot;
};

void Make(Faces& f, int width, int height, uint32_t effect, uint32_t grain, uint32_t state = 1,
          uint32_t hotTint = 20, uint32_t tint = 10, uint32_t tintColor = kDialogTint,
          const TextureColors& colors = kClassic)
{
    ResetTextureRandom(state);
    GenerateTextureFaces(width, height, colors, effect, grain, hotTint, tint, tintColor, f.face, f.hot);
}

// Pixel at x from the left and b rows from the bottom.
int At(const pixelcanvas::Image& c, int x, int b)
{
    return c.Pixels()[size_t(b) * size_t(c.Stride()) + size_t(x)];
}

// Position of (x, b) in the visiting order: columns for effects 3 and 5, rows otherwise.
size_t Visit(uint32_t effect, int x, int b, int width, int height)
{
    if (effect == TextureHorizontalRamp || effect == TextureHorizontalCurve)
        return size_t(x) * size_t(height) + size_t(b);
    return size_t(b) * size_t(width) + size_t(x);
}

int NoiseDivisor(int grain)
{
    return 32767 / std::max(2 * grain, 1);
}

// For the one-pass effects: each pixel's value before its noise, the noise taken from the
// reference generator in visiting order.
std::vector<int> Bases(const pixelcanvas::Image& c, uint32_t effect, int grain, uint32_t state)
{
    const int W = c.Width(), H = c.Height();
    const std::vector<int> r = Draws(state, size_t(W) * size_t(H));
    std::vector<int> base(size_t(W) * size_t(H));
    for (int b = 0; b < H; ++b)
        for (int x = 0; x < W; ++x)
        {
            const int n = r[Visit(effect, x, b, W, H)] / NoiseDivisor(grain) - grain;
            base[size_t(b) * W + x] = (At(c, x, b) - n) & 0xFF;
        }
    return base;
}

std::vector<uint8_t> PixelBytes(const pixelcanvas::Image& c)
{
    return std::vector<uint8_t>(c.Pixels(), c.Pixels() + c.Header().biSizeImage);
}

std::vector<uint8_t> PaletteBytes(const pixelcanvas::Image& c)
{
    const uint8_t* p = reinterpret_cast<const uint8_t*>(c.Palette());
    return std::vector<uint8_t>(p, p + c.PaletteBytes());
}

struct EntryCase
{
    int index, red, green, blue;
};

void ExpectEntries(const pixelcanvas::Image& c, std::initializer_list<EntryCase> entries)
{
    for (const EntryCase& k : entries)
    {
        const pixelcanvas::RgbQuad& e = c.Palette()[k.index];
        EXPECT_EQ(e.rgbRed, k.red) << "entry " << k.index;
        EXPECT_EQ(e.rgbGreen, k.green) << "entry " << k.index;
        EXPECT_EQ(e.rgbBlue, k.blue) << "entry " << k.index;
        EXPECT_EQ(e.rgbReserved, 0) << "entry " << k.index;
    }
}

// The generator state whose next value is 32767.
uint32_t StateBefore32767()
{
    uint32_t inverse = 214013u; // Newton's iteration for the inverse of an odd number mod 2^32
    for (int i = 0; i < 5; ++i)
        inverse *= 2u - 214013u * inverse;
    return (0x7FFF0000u - 2531011u) * inverse;
}
} // namespace

TEST(TextureRandom, FollowsTheRuntimeRuleFromStateOne)
{
    ResetTextureRandom();
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
    for (int v : expected)
        EXPECT_EQ(NextTextureRandom(), v);
    EXPECT_EQ(TextureRandomState(), StateAfter(1, 10));

    ResetTextureRandom(0xDEADBEEF);
    RefLcg ref{0xDEADBEEF};
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(NextTextureRandom(), ref.Next()) << "draw " << i;
    EXPECT_EQ(StateBefore32767() * 214013u + 2531011u, 0x7FFF0000u);
}

TEST(TexturePalette, WorkedExampleWithClassicColours)
{
    Faces f;
    Make(f, 125, 28, TextureVerticalRamp, 4);
    ASSERT_NE(f.face.Palette(), nullptr);
    ASSERT_NE(f.hot.Palette(), nullptr);
    ExpectEntries(f.face, {{0, 120, 123, 140}, {128, 177, 180, 197}, {255, 234, 237, 254}});
    ExpectEntries(f.hot, {{0, 147, 149, 163}, {128, 192, 195, 208}, {255, 238, 240, 254}});
}

TEST(TexturePalette, RampPassesPerComponent)
{
    // Distinct components: face (200, 100, 50), shadow (10, 20, 30), light (250, 240, 230).
    const TextureColors colors{0x003264C8, 0x001E140A, 0x00E6F0FA};
    Faces f;
    Make(f, 4, 4, TextureNoise, 4, 1, /*hotTint*/ 0, /*tint*/ 0, kDialogTint, colors);
    // Entry 128 comes from the second pass (face and light), not the face colour itself.
    ExpectEntries(f.face, {{0, 10, 20, 30}, {64, 105, 60, 40}, {127, 198, 99, 49}, {128, 200, 101, 51},
                           {192, 225, 171, 141}, {255, 250, 240, 230}});
    EXPECT_EQ(PaletteBytes(f.hot), PaletteBytes(f.face));
}

TEST(TexturePalette, TintsUseLowEightBitsAndStopAt100)
{
    Faces plain; // untinted ramp
    Make(plain, 8, 4, TextureVerticalRamp, 4, 1, 0, 0);
    struct Case
    {
        uint32_t tint, hotTint;
        bool faceIsTintColor; // else the untinted ramp
        bool hotIsLight;      // else equal to the normal face's palette
    };
    const Case cases[] = {
        {100, 0, true, false}, {200, 256, true, false}, {255, 0, true, false}, {356, 100, true, true},
        {256, 0, false, false}, {0, 356, false, true}, {0, 150, false, true},
    };
    for (const Case& k : cases)
    {
        SCOPED_TRACE(testing::Message() << "tint " << k.tint << " hotTint " << k.hotTint);
        Faces f;
        Make(f, 8, 4, TextureVerticalRamp, 4, 1, k.hotTint, k.tint);
        for (int i = 0; i < 256; ++i)
        {
            if (k.faceIsTintColor)
                ExpectEntries(f.face, {{i, 50, 80, 250}});
            if (k.hotIsLight)
                ExpectEntries(f.hot, {{i, 255, 255, 255}});
        }
        if (!k.faceIsTintColor)
        {
            EXPECT_EQ(PaletteBytes(f.face), PaletteBytes(plain.face));
        }
        if (!k.hotIsLight)
        {
            EXPECT_EQ(PaletteBytes(f.hot), PaletteBytes(f.face));
        }
        EXPECT_EQ(PixelBytes(f.hot), PixelBytes(f.face));
    }
}

TEST(TextureFaces, VerticalRampGrainFourBounds)
{
    Faces f;
    Make(f, 125, 28, TextureVerticalRamp, 4);
    ASSERT_EQ(f.face.Width(), 125);
    ASSERT_EQ(f.face.Height(), 28);
    ASSERT_EQ(f.face.BitCount(), 8);
    const std::vector<int> base = Bases(f.face, TextureVerticalRamp, 4, 1);
    EXPECT_EQ(base[0 * 125], 4);
    EXPECT_EQ(base[14 * 125], 127);
    EXPECT_EQ(base[27 * 125], 242);
    for (int b = 0; b < 28; ++b)
        for (int x = 0; x < 125; ++x)
        {
            EXPECT_EQ(base[b * 125 + x], base[b * 125]) << "row " << b << " is one ramp step";
            if (b > 0)
            {
                EXPECT_LE(base[(b - 1) * 125], base[b * 125]);
            }
        }

    // Over many faces (the sequence continuing) no pixel wraps.
    for (int run = 0; run < 30; ++run)
    {
        GenerateTextureFaces(125, 28, kClassic, TextureVerticalRamp, 4, 20, 10, kDialogTint, f.face, f.hot);
        EXPECT_EQ(PixelBytes(f.hot), PixelBytes(f.face));
        for (int b = 0; b < 28; ++b)
            for (int x = 0; x < 125; ++x)
            {
                const int v = At(f.face, x, b);
                ASSERT_LE(v, b == 0 ? 8 : 254) << "x " << x << " b " << b;
            }
    }
}

// Every pixel is 128 plus its noise (so within 124 to 132, and the same face for each number).
TEST(TextureFaces, OtherEffectNumbersGiveNoise)
{
    const uint32_t effects[] = {0, 9, 10, 0xFFFFFFFFu};
    for (uint32_t effect : effects)
    {
        SCOPED_TRACE(effect);
        Faces f;
        Make(f, 125, 28, effect, 4, 77);
        const std::vector<int> base = Bases(f.face, effect, 4, 77);
        EXPECT_EQ(std::count(base.begin(), base.end(), 128), 125 * 28);
    }
}

TEST(TextureFaces, GrainZeroAddsOneOnlyFor32767)
{
    const uint32_t start = StateBefore32767();
    Faces f;
    Make(f, 125, 28, TextureNoise, 0, start);
    const std::vector<int> r = Draws(start, 125 * 28);
    EXPECT_EQ(At(f.face, 0, 0), 129); // the first value drawn is 32767
    for (int b = 0; b < 28; ++b)
        for (int x = 0; x < 125; ++x)
            ASSERT_EQ(At(f.face, x, b), 128 + (r[size_t(b) * 125 + x] == 32767 ? 1 : 0));
}

// Values before the noise, worked by hand from the effect formulas, on a 10 x 8 face.
TEST(TextureFaces, EffectValuesBeforeNoise)
{
    struct Case
    {
        uint32_t effect;
        int grain, x, b, value;
    };
    // Effects by their numbers: 1 diagonal ramp, 2 vertical ramp, 3 horizontal ramp, 4 vertical
    // curve, 5 horizontal curve, 6 cushion.
    const Case cases[] = {
        {1, 4, 0, 0, 127},    // S 123: 123*10/10 + 0 + 4
        {1, 4, 9, 7, 123},    // 12 + 107 + 4
        {1, 4, 5, 4, 126},    // 61 + 61 + 4
        {1, 200, 9, 7, 130},  // S -72: -7 (toward zero) - 63 + 200
        {2, 4, 3, 0, 4},
        {2, 4, 3, 7, 220},    // 7*247/8 + 4
        {3, 4, 0, 2, 251},    // 247*10/10 + 4
        {3, 4, 9, 2, 28},     // 247*1/10 + 4
        {3, 4, 5, 6, 127},
        {4, 4, 1, 0, 7},      // t -127, cubic -125: -121 + 128
        {4, 4, 1, 7, 180},    // t 96, cubic 54: 52 + 128
        {5, 4, 0, 3, 252},    // t 128, cubic 128: 124 + 128
        {5, 4, 9, 3, 66},     // t -102, cubic -64: -62 + 128
        {6, 4, 0, 0, 130},    // (128 - 125) * 124 / 128 + 128
        {6, 4, 0, 7, 251},    // 304 lowered to 255 - g
        {6, 4, 9, 0, 4},      // -55 raised to g
    };
    for (const Case& k : cases)
    {
        SCOPED_TRACE(testing::Message() << "effect " << k.effect << " grain " << k.grain << " at " << k.x
                                        << "," << k.b);
        Faces f;
        Make(f, 10, 8, k.effect, uint32_t(k.grain) + 0x300); // only the low 8 bits of grain count
        EXPECT_EQ(Bases(f.face, k.effect, k.grain, 1)[size_t(k.b) * 10 + k.x], k.value);
    }
}

TEST(TextureFaces, CushionStaysWithinGrain)
{
    Faces f;
    Make(f, 40, 30, TextureCushion, 100);
    const std::vector<int> base = Bases(f.face, TextureCushion, 100, 1);
    EXPECT_EQ(*std::min_element(base.begin(), base.end()), 100);
    EXPECT_EQ(*std::max_element(base.begin(), base.end()), 155);
}

// Two faces from two generator states: the values before the noise cancel, so each pixel's
// difference is the difference of the values drawn at its place in the visiting order.
TEST(TextureFaces, VisitingOrderOfEachEffect)
{
    struct Case
    {
        uint32_t effect;
        int width, height;
        int passes; // random values drawn per pixel
    };
    const Case cases[] = {
        {TextureNoise, 7, 5, 1},          {TextureDiagonalRamp, 7, 5, 1},    {TextureVerticalRamp, 7, 5, 1},
        {TextureHorizontalRamp, 7, 5, 1}, {TextureVerticalCurve, 7, 5, 1},   {TextureHorizontalCurve, 7, 5, 1},
        {TextureCushion, 7, 5, 1},        {9, 7, 5, 1},
        {TextureCapsule, 5, 7, 2}, // narrower than 6: no side bands, both passes add noise everywhere
    };
    const int grain = 20;
    const uint32_t s1 = 1, s2 = 0xDEADBEEF;
    for (const Case& k : cases)
    {
        SCOPED_TRACE(testing::Message() << "effect " << k.effect);
        const int W = k.width, H = k.height;
        const size_t count = size_t(W) * H;
        Faces a, b;
        Make(a, W, H, k.effect, grain, s1);
        EXPECT_EQ(TextureRandomState(), StateAfter(s1, count * k.passes));
        Make(b, W, H, k.effect, grain, s2);
        EXPECT_EQ(TextureRandomState(), StateAfter(s2, count * k.passes));
        const std::vector<int> r1 = Draws(s1, count * k.passes), r2 = Draws(s2, count * k.passes);
        const int Dn = NoiseDivisor(grain);
        for (int row = 0; row < H; ++row)
            for (int x = 0; x < W; ++x)
            {
                int expected = 0;
                for (int pass = 0; pass < k.passes; ++pass)
                {
                    const size_t i = pass * count + Visit(k.effect, x, row, W, H);
                    expected += r1[i] / Dn - r2[i] / Dn;
                }
                ASSERT_EQ((At(a.face, x, row) - At(b.face, x, row)) & 0xFF, expected & 0xFF)
                    << "x " << x << " b " << row;
            }
    }
}

TEST(TextureFaces, CapsuleSideBands)
{
    // 12 x 4, grain 0: B 2, Q 4, hH 2, hW 6. Row 0 has P = 6 (no bands); rows 1 to 3 have P = 4:
    // right band at x 11 (1 * 128 / 2 = 64), left band at x 0 (255) and x 1 (255 - 64).
    const int W = 12, H = 4;
    const int firstPass[H] = {3, 112, 128, 144}; // cubic(t) * 128 / 128 + 128, t = -127, -64, 0, 64
    Faces f;
    Make(f, W, H, TextureCapsule, 0);
    EXPECT_EQ(TextureRandomState(), StateAfter(1, 2 * W * H));
    const std::vector<int> r = Draws(1, 2 * W * H);
    auto noise = [&](int pass, int x, int b) { return r[size_t(pass * W * H + b * W + x)] == 32767 ? 1 : 0; };
    for (int b = 0; b < H; ++b)
        for (int x = 0; x < W; ++x)
        {
            int expected = firstPass[b] + noise(0, x, b) + noise(1, x, b);
            if (b > 0 && x == 0)
                expected = 255 + noise(1, x, b);
            if (b > 0 && x == 1)
                expected = 191 + noise(1, x, b);
            if (b > 0 && x == 11)
                expected = 64 + noise(1, x, b);
            EXPECT_EQ(At(f.face, x, b), expected & 0xFF) << "x " << x << " b " << b;
        }
}

TEST(TextureFaces, CapsuleOneRowHighSkipsTheBands)
{
    // The band shape divides by H * H / 4, which is 0 here: only the first pass runs.
    Faces f;
    Make(f, 10, 1, TextureCapsule, 4);
    EXPECT_EQ(TextureRandomState(), StateAfter(1, 10));
    const std::vector<int> r = Draws(1, 10);
    for (int x = 0; x < 10; ++x) // t -127, cubic -125: -125 * 60 * 2 / 128 + 128 = 11
        EXPECT_EQ(At(f.face, x, 0), 11 + r[size_t(x)] / 4095 - 4);
}

TEST(TextureFaces, ScratchedFollowsItsDraws)
{
    // Reference: 200 strokes of four draws each, then the ramp with r / Dn noise, over a 0 fill.
    const int W = 40, H = 12, g = 4;
    std::vector<int> img(size_t(W) * H, 0); // bottom row first
    RefLcg r{1};
    auto put = [&](int x, int y, int c) {
        if (x >= 0 && x < W && y >= 0 && y < H)
            img[size_t(H - 1 - y) * W + x] = c;
    };
    const int DW = 32767 / W, DH = 32767 / H, Dm = 32767 / std::min(W, H);
    int strokePixels = 0;
    for (int s = 0; s < 200; ++s)
    {
        const int px = r.Next() / DW, py = r.Next() / DH, len = r.Next() / Dm, c = r.Next() / 819;
        for (int i = 0; i < len / 2; ++i)
        {
            if (px - i > 0 && py + i < H)
                put(px - i, py + i, c), ++strokePixels;
            if (px + i < W && py - i > 0)
                put(W - px + i, py - i, c), ++strokePixels;
        }
    }
    ASSERT_GT(strokePixels, 100);
    const int S = (255 - g - g - 40) / 2;
    for (int b = 0; b < H; ++b)
        for (int x = 0; x < W; ++x)
            img[size_t(b) * W + x] = (img[size_t(b) * W + x] + S * (W - x) / W + b * S / H + r.Next() / 4095) & 0xFF;

    Faces f;
    Make(f, W, H, TextureScratched, g);
    EXPECT_EQ(TextureRandomState(), r.state);
    for (int b = 0; b < H; ++b)
        for (int x = 0; x < W; ++x)
            ASSERT_EQ(At(f.face, x, b), img[size_t(b) * W + x]) << "x " << x << " b " << b;
}

TEST(TextureFaces, ScratchedGrainFourStaysBelow254)
{
    Faces f;
    Make(f, 125, 28, TextureScratched, 4);
    for (int run = 0; run < 20; ++run)
    {
        GenerateTextureFaces(125, 28, kClassic, TextureScratched, 4, 20, 10, kDialogTint, f.face, f.hot);
        for (int b = 0; b < 28; ++b)
            for (int x = 0; x < 125; ++x)
                ASSERT_LE(At(f.face, x, b), 253);
    }
}

TEST(TextureFaces, ScratchedOutsideItsSizeLimitsStaysZero)
{
    // Effect 8 divides by W, H and 32767 / min(W, H): outside 1 to 32767 the face stays as the
    // zero fill made it and no random value is drawn.
    const int sizes[][2] = {{0, 10}, {10, 0}, {40000, 1}, {1, 40000}, {32768, 2}};
    for (const auto& s : sizes)
    {
        SCOPED_TRACE(testing::Message() << s[0] << "x" << s[1]);
        Faces f;
        Make(f, s[0], s[1], TextureScratched, 4, 99);
        EXPECT_EQ(TextureRandomState(), 99u);
        ASSERT_NE(f.face.Block(), nullptr);
        EXPECT_EQ(PixelBytes(f.face), std::vector<uint8_t>(f.face.Header().biSizeImage, 0));
        EXPECT_EQ(PixelBytes(f.hot), PixelBytes(f.face));
    }
    Faces f; // the largest allowed width still works
    Make(f, 32767, 1, TextureScratched, 4, 99);
    EXPECT_EQ(TextureRandomState(), StateAfter(99, 800 + 32767));
}

TEST(TextureFaces, NegativeOrZeroSizesDrawNothing)
{
    for (uint32_t effect = 0; effect <= 9; ++effect)
    {
        SCOPED_TRACE(effect);
        for (const auto& s : {std::pair<int, int>{-4, 10}, {10, -4}})
        {
            Faces f;
            ASSERT_NE(f.hot.Create(3, 3, 8), nullptr); // an earlier hot face goes too
            Make(f, s.first, s.second, effect, 4, 5);
            EXPECT_EQ(TextureRandomState(), 5u);
            EXPECT_EQ(f.face.Block(), nullptr);
            EXPECT_EQ(f.hot.Block(), nullptr);
        }
        for (const auto& s : {std::pair<int, int>{0, 10}, {10, 0}})
        {
            Faces f;
            Make(f, s.first, s.second, effect, 4, 5);
            EXPECT_EQ(TextureRandomState(), 5u);
            ASSERT_NE(f.face.Palette(), nullptr);
            EXPECT_EQ(f.face.Header().biSizeImage, 0u);
            ExpectEntries(f.face, {{255, 234, 237, 254}});
            ExpectEntries(f.hot, {{255, 238, 240, 254}});
        }
    }
}

TEST(TextureFaces, TwoButtonsContinueOneSequence)
{
    Faces first, second, again;
    Make(first, 125, 28, TextureVerticalRamp, 4);
    const uint32_t between = TextureRandomState();
    EXPECT_EQ(between, StateAfter(1, 125 * 28));
    GenerateTextureFaces(125, 28, kClassic, TextureVerticalRamp, 4, 20, 10, kDialogTint, second.face, second.hot);
    EXPECT_EQ(TextureRandomState(), StateAfter(1, 2 * 125 * 28));
    EXPECT_NE(PixelBytes(first.face), PixelBytes(second.face));
    Make(again, 125, 28, TextureVerticalRamp, 4, between);
    EXPECT_EQ(PixelBytes(again.face), PixelBytes(second.face));
    // Every run starts from the same state, so the first button's face is the same each time.
    Make(again, 125, 28, TextureVerticalRamp, 4);
    EXPECT_EQ(PixelBytes(again.face), PixelBytes(first.face));
}

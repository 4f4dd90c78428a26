// Texture generation of the textured button: random source, face palette, the nine effects.
#include "controls/Texture_core.h"

#include <algorithm>
#include <cstddef>

namespace texture {

namespace
{
uint32_t g_randomState = 1;

// All pixel values are formed in 64-bit integers: the same results as 32-bit arithmetic wherever
// that does not overflow, and no overflow for very tall or wide faces.
using Value = int64_t;

// (t^3 / 128) / 128 with truncating divisions; |t| <= 128 keeps t^3 within 32 bits.
inline Value Cubic(Value t)
{
    return (t * t * t / 128) / 128;
}

// What every effect needs to lay out and jitter the pixels.
struct FaceGrid
{
    uint8_t* pixels; // bottom row first
    size_t stride;
    Value width;
    Value height;
    Value grain;
    Value noiseDivisor;

    uint8_t* Row(Value b) const { return pixels + size_t(b) * stride; }
    // Noise of one pixel: r / Dn - g, one random value drawn.
    Value Noise() const { return NextTextureRandom() / noiseDivisor - grain; }
    // Stores the low 8 bits of base, then adds the pixel's noise, again keeping the low 8 bits.
    void Store(uint8_t* pixel, Value base) const
    {
        *pixel = static_cast<uint8_t>(base);
        *pixel = static_cast<uint8_t>(*pixel + Noise());
    }
};

// Rows from the bottom up, and x from left to right within a row.
template <typename Base>
void ByRows(const FaceGrid& f, Base base)
{
    for (Value b = 0; b < f.height; ++b)
    {
        uint8_t* row = f.Row(b);
        for (Value x = 0; x < f.width; ++x)
            f.Store(row + x, base(x, b));
    }
}

// Columns from left to right, and rows from the bottom up within a column.
template <typename Base>
void ByColumns(const FaceGrid& f, Base base)
{
    for (Value x = 0; x < f.width; ++x)
        for (Value b = 0; b < f.height; ++b)
            f.Store(f.Row(b) + x, base(x, b));
}

// The capsule's side bands: a second pass over the whole image, one random value per pixel.
void CapsuleBands(const FaceGrid& f)
{
    const Value W = f.width, H = f.height, g = f.grain;
    const Value B = std::min<Value>(W / 6, 16);
    const Value Q = H * H / 4;
    if (Q == 0)
        return; // height below 2: the band shape divides by Q, so the first pass stays as it is
    const Value hH = H / 2, hW = W / 2;
    for (Value b = 0; b < H; ++b)
    {
        uint8_t* row = f.Row(b);
        const Value P = B * (b - hH) * (b - hH) / Q - B + hW;
        for (Value x = 0; x < W; ++x)
        {
            const Value d = x - hW;
            // With W below 6, B is 0 and neither condition can hold.
            if (d > P)
                row[x] = static_cast<uint8_t>((W - x) * 128 / B + g);
            if (P + d < 0)
                row[x] = static_cast<uint8_t>((255 - g) - x * 128 / B);
            row[x] = static_cast<uint8_t>(row[x] + f.Noise());
        }
    }
}

void Scratched(pixelcanvas::Image& canvas, const FaceGrid& f)
{
    const Value W = f.width, H = f.height, g = f.grain;
    canvas.Fill(0);
    // The scratch positions divide by W, H and 32767 / min(W, H): outside 1 to 32767 the face
    // stays filled with zeros.
    if (W < 1 || W > 32767 || H < 1 || H > 32767)
        return;
    const Value DW = 32767 / W, DH = 32767 / H, Dm = 32767 / std::min(W, H);
    for (int stroke = 0; stroke < 200; ++stroke)
    {
        const Value px = NextTextureRandom() / DW;
        const Value py = NextTextureRandom() / DH;
        const Value len = NextTextureRandom() / Dm;
        const int c = NextTextureRandom() / 819;
        const Value half = len / 2;
        for (Value i = 0; i < half; ++i)
        {
            if (px - i > 0 && py + i < H)
                canvas.PutPixel(int(px - i), int(py + i), c);
            if (px + i < W && py - i > 0)
                canvas.PutPixel(int(W - px + i), int(py - i), c);
        }
    }
    const Value S = (255 - g - g - 40) / 2;
    for (Value b = 0; b < H; ++b)
    {
        uint8_t* row = f.Row(b);
        for (Value x = 0; x < W; ++x)
        {
            // Here the noise is r / Dn alone, and the ramp has no g added.
            const Value add = S * (W - x) / W + b * S / H + NextTextureRandom() / f.noiseDivisor;
            row[x] = static_cast<uint8_t>(row[x] + add);
        }
    }
}

void GeneratePixels(pixelcanvas::Image& canvas, const FaceGrid& f, uint32_t effect)
{
    const Value W = f.width, H = f.height, g = f.grain;
    switch (effect)
    {
    case TextureDiagonalRamp:
    {
        const Value S = (255 - 2 * g) / 2;
        ByRows(f, [&](Value x, Value b) { return S * (W - x) / W + b * S / H + g; });
        break;
    }
    case TextureVerticalRamp:
        ByRows(f, [&](Value, Value b) { return b * (255 - 2 * g) / H + g; });
        break;
    case TextureHorizontalRamp:
        ByColumns(f, [&](Value x, Value) { return (255 - 2 * g) * (W - x) / W + g; });
        break;
    case TextureVerticalCurve:
        ByRows(f, [&](Value, Value b) { return Cubic(b * 255 / H - 127) * (128 - g) / 128 + 128; });
        break;
    case TextureHorizontalCurve:
        ByColumns(f, [&](Value x, Value) { return Cubic((W - x) * 255 / W - 127) * (128 - g) / 128 + 128; });
        break;
    case TextureCushion:
        ByRows(f, [&](Value x, Value b) {
            const Value ty = b * 255 / H - 127, tx = (W - x) * 255 / W - 127;
            Value v = (Cubic(tx) + Cubic(ty)) * (128 - g) / 128 + 128;
            if (v < g)
                v = g;
            if (v > 255 - g)
                v = 255 - g;
            return v;
        });
        break;
    case TextureCapsule:
        ByRows(f, [&](Value, Value b) { return Cubic(b * 255 / H - 127) * (64 - g) * 2 / 128 + 128; });
        CapsuleBands(f);
        break;
    case TextureScratched:
        Scratched(canvas, f);
        break;
    default: // TextureNoise
        ByRows(f, [](Value, Value) { return Value(128); });
        break;
    }
}

// Entry k of the face palette, one colour component: shadow -> face over 0..128, then
// face -> light over 128..255 (the second pass overwrites entry 128).
void SetRampPalette(pixelcanvas::Image& canvas, const TextureColors& colors)
{
    auto part = [](uint32_t color, int shift) { return int((color >> shift) & 0xFF); };
    for (int k = 0; k <= 128; ++k)
    {
        auto mix = [k](int shadow, int face) { return (shadow * (128 - k) + face * k) / 128; };
        canvas.SetColor(k, mix(part(colors.shadow, 0), part(colors.face, 0)),
                        mix(part(colors.shadow, 8), part(colors.face, 8)),
                        mix(part(colors.shadow, 16), part(colors.face, 16)));
    }
    for (int i = 1; i <= 128; ++i)
    {
        auto mix = [i](int face, int light) { return (face * (128 - i) + light * i) / 128; };
        canvas.SetColor(127 + i, mix(part(colors.face, 0), part(colors.light, 0)),
                        mix(part(colors.face, 8), part(colors.light, 8)),
                        mix(part(colors.face, 16), part(colors.light, 16)));
    }
}
} // namespace

int NextTextureRandom()
{
    g_randomState = g_randomState * 214013u + 2531011u;
    return static_cast<int>((g_randomState >> 16) & 0x7FFF);
}

void ResetTextureRandom(uint32_t state)
{
    g_randomState = state;
}

uint32_t TextureRandomState()
{
    return g_randomState;
}

void GenerateTextureFaces(int width, int height, const TextureColors& colors, uint32_t effect, uint32_t grain,
                          uint32_t hotTint, uint32_t tint, uint32_t tintColor, pixelcanvas::Image& face,
                          pixelcanvas::Image& hotFace)
{
    face.Create(width, height, 8);
    SetRampPalette(face, colors);
    face.TintPalette(tintColor, tint & 0xFF);

    // Without image memory there is nothing to lay out (and no random value is drawn).
    if (uint8_t* pixels = face.Pixels())
    {
        const Value g = grain & 0xFF;
        const FaceGrid grid{pixels, size_t(face.Stride()), width, height, g, 32767 / std::max<Value>(2 * g, 1)};
        GeneratePixels(face, grid, effect);
    }

    hotFace.CopyFrom(face);
    hotFace.TintPalette(colors.light, hotTint & 0xFF);
}

}  // namespace texture

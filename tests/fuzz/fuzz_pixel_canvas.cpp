// Fuzz target: the pixel canvas. Two canvases take a sequence of Create, Fill, PutPixel, SetColor,
// TintPalette, CopyFrom and Free decoded from the input; after each step the block must hold what
// the step promises, and nothing else may have changed.
#include <algorithm>
#include <cstring>
#include <vector>

#include "FuzzInput.h"
#include "controls/PixelCanvas_core.h"

using namespace pixelcanvas;

namespace {

// Images of more bytes than this, up to the int range, are valid but slow to allocate and release
// under the address sanitizer in every run: they are not asked for. Larger ones, which the canvas
// must refuse, are.
constexpr uint64_t kMaxImageBytes = 1 << 22;
// Steps that touch every byte are skipped on blocks above this size.
constexpr int64_t kTouchBytes = 1 << 20;
// Blocks up to this size are compared whole around a step; larger ones only where the step writes.
constexpr int64_t kCompareBytes = 1 << 16;

std::vector<uint8_t> Snapshot(const Image& c)
{
    if (!c.Block() || c.TotalBytes() > kCompareBytes)
        return {};
    return {c.Block(), c.Block() + c.TotalBytes()};
}

bool Unchanged(const Image& c, const std::vector<uint8_t>& before)
{
    return before.empty() || std::memcmp(c.Block(), before.data(), before.size()) == 0;
}

// The block is laid out as its header says: header copy, colour table, rows padded to 4 bytes.
void CheckLayout(const Image& c)
{
    if (!c.Block()) {
        FUZZ_CHECK(c.Pixels() == nullptr && c.Palette() == nullptr);
        return;
    }
    const InfoHeader& h = c.Header();
    FUZZ_CHECK(std::memcmp(c.Block(), &h, sizeof h) == 0);
    FUZZ_CHECK(h.biSize == 40 && h.biPlanes == 1 && h.biCompression == 0);
    FUZZ_CHECK(c.Width() >= 0 && c.Height() >= 0);
    const int64_t rowBits = int64_t(c.Width()) * c.BitCount();
    FUZZ_CHECK(c.Stride() % 4 == 0 && c.Stride() * int64_t(8) >= rowBits && c.Stride() * int64_t(8) < rowBits + 32);
    FUZZ_CHECK(h.biSizeImage == uint64_t(c.Stride()) * uint64_t(c.Height()));
    const int entries = c.BitCount() == 1 ? 2 : c.BitCount() == 4 ? 16 : c.BitCount() == 8 ? 256 : 0;
    FUZZ_CHECK(c.PaletteCount() == entries);
    FUZZ_CHECK(c.TotalBytes() == 40 + 4 * int64_t(entries) + int64_t(h.biSizeImage));
    FUZZ_CHECK(c.Pixels() == c.Block() + 40 + c.PaletteBytes());
}

int32_t BitCount(FuzzedDataProvider& in)
{
    static const int32_t kDepths[] = {0, 1, 4, 8, 16, 24, 32, 0x10008, -8};
    return in.ConsumeBool() ? in.PickValueInArray(kDepths) : AnyInt(in);
}

// A coordinate near the canvas (one beyond either edge included), or any value.
int32_t Coordinate(FuzzedDataProvider& in, int32_t size)
{
    return in.ConsumeBool() ? in.ConsumeIntegralInRange<int32_t>(-1, size < INT32_MAX ? size : size - 1) : AnyInt(in);
}

bool Between(uint8_t value, uint8_t from, uint8_t to)
{
    return from <= to ? from <= value && value <= to : to <= value && value <= from;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    Image canvases[2];
    while (in.remaining_bytes() > 0) {
        Image& c = canvases[in.ConsumeBool()];
        const bool big = c.Block() && c.TotalBytes() > kTouchBytes;
        switch (in.ConsumeIntegralInRange<int>(0, 6)) {
        case 0: {
            const int32_t width = AnyInt(in), height = AnyInt(in), bits = BitCount(in);
            // Rows padded to whole 32-bit words.
            const uint64_t imageBytes = width < 0 || height < 0 ? 0
                : (uint64_t(uint16_t(bits)) * uint32_t(width) + 31) / 32 * 4 * uint32_t(height);
            if (imageBytes > kMaxImageBytes && imageBytes <= INT32_MAX)
                break;
            uint8_t* block = c.Create(width, height, bits);
            FUZZ_CHECK(block == c.Block());
            if (width < 0 || height < 0 || imageBytes > INT32_MAX)
                FUZZ_CHECK(!block);
            // A modest image must be made.
            if (width >= 0 && width <= 4096 && height >= 0 && height <= 4096 && uint16_t(bits) <= 32)
                FUZZ_CHECK(block);
            if (block)
                FUZZ_CHECK(c.Width() == width && c.Height() == height && c.BitCount() == uint16_t(bits));
            break;
        }
        case 1: {
            if (big)
                break;
            const int value = AnyInt(in);
            c.Fill(value);
            const int64_t bytes = c.Block() ? std::min<int64_t>(c.Header().biSizeImage, kCompareBytes) : 0;
            for (int64_t i = 0; i < bytes; ++i)
                FUZZ_CHECK(c.Pixels()[i] == uint8_t(value));
            break;
        }
        case 2: {
            const int32_t x = Coordinate(in, c.Width()), y = Coordinate(in, c.Height()), index = AnyInt(in);
            std::vector<uint8_t> before = Snapshot(c);
            c.PutPixel(x, y, index);
            if (c.Block() && c.BitCount() == 8 && x >= 0 && x < c.Width() && y >= 0 && y < c.Height()) {
                // Rows are stored bottom-up, y counts from the top.
                const size_t offset = size_t(c.Height() - 1 - y) * c.Stride() + size_t(x);
                FUZZ_CHECK(c.Pixels()[offset] == uint8_t(index));
                if (!before.empty())
                    before[c.Pixels() - c.Block() + offset] = uint8_t(index);
            }
            FUZZ_CHECK(Unchanged(c, before));
            break;
        }
        case 3: {
            const int32_t index = AnyInt(in), red = AnyInt(in), green = AnyInt(in), blue = AnyInt(in);
            std::vector<uint8_t> before = Snapshot(c);
            c.SetColor(index, red, green, blue);
            const unsigned entry = unsigned(index) & 0xFF;
            if (c.Block() && entry < unsigned(c.PaletteCount())) {
                const RgbQuad& e = c.Palette()[entry];
                FUZZ_CHECK(e.rgbRed == uint8_t(red) && e.rgbGreen == uint8_t(green) && e.rgbBlue == uint8_t(blue) &&
                           e.rgbReserved == 0);
                if (!before.empty())
                    std::memcpy(&before[40 + 4 * entry], &e, 4);
            }
            FUZZ_CHECK(Unchanged(c, before));
            break;
        }
        case 4: {
            const uint32_t color = in.ConsumeIntegral<uint32_t>();
            const uint32_t percent = Percent(in);
            const RgbQuad* palette = c.Palette();
            const std::vector<RgbQuad> old(palette, palette ? palette + c.PaletteCount() : nullptr);
            const std::vector<uint8_t> before = Snapshot(c);
            c.TintPalette(color, percent);
            const uint8_t red = color & 0xFF, green = (color >> 8) & 0xFF, blue = (color >> 16) & 0xFF;
            // Each component moves from its old value toward the colour's, all the way from 100 on.
            for (size_t i = 0; i < old.size(); ++i) {
                const RgbQuad& e = palette[i];
                FUZZ_CHECK(Between(e.rgbRed, old[i].rgbRed, red) && Between(e.rgbGreen, old[i].rgbGreen, green) &&
                           Between(e.rgbBlue, old[i].rgbBlue, blue) && e.rgbReserved == old[i].rgbReserved);
                if (percent == 0)
                    FUZZ_CHECK(std::memcmp(&e, &old[i], 4) == 0);
                if (percent >= 100)
                    FUZZ_CHECK(e.rgbRed == red && e.rgbGreen == green && e.rgbBlue == blue);
            }
            // Nothing but the colour table changes.
            if (!before.empty())
                FUZZ_CHECK(std::memcmp(c.Pixels(), &before[c.Pixels() - c.Block()], c.Header().biSizeImage) == 0);
            break;
        }
        case 5: {
            const Image& source = canvases[in.ConsumeBool()];
            if (source.Block() && source.TotalBytes() > kTouchBytes)
                break;
            const uint8_t* sourceBlock = source.Block();
            const std::vector<uint8_t> before = Snapshot(source);
            c.CopyFrom(source);
            if (&source == &c) {
                FUZZ_CHECK(c.Block() == sourceBlock && Unchanged(c, before));
            } else if (sourceBlock) {
                FUZZ_CHECK(c.Block() && c.Block() != sourceBlock && c.TotalBytes() == source.TotalBytes());
                FUZZ_CHECK(std::memcmp(c.Block(), sourceBlock, size_t(source.TotalBytes())) == 0);
            } else {
                FUZZ_CHECK(!c.Block());
            }
            break;
        }
        default:
            FUZZ_CHECK(c.Free() == 0 && !c.Block() && c.Width() == 0 && c.Height() == 0 && c.BitCount() == 0);
            break;
        }
        CheckLayout(c);
    }
    return 0;
}

// The canvas's image block logic: sizes and layout, pixel addressing, palette rules, copies, refused sizes.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "controls/PixelCanvas_core.h"

using namespace pixelcanvas;

namespace
{
std::vector<uint8_t> Bytes(const void* from, size_t count)
{
    return std::vector<uint8_t>(static_cast<const uint8_t*>(from), static_cast<const uint8_t*>(from) + count);
}

std::vector<uint8_t> PixelBytes(const Image& c)
{
    return std::vector<uint8_t>(c.Pixels(), c.Pixels() + c.Header().biSizeImage);
}

// Writable colour table entry (the canvas only hands out a const view).
RgbQuad& Entry(Image& c, int i)
{
    return reinterpret_cast<RgbQuad*>(c.Pixels() - c.PaletteBytes())[i];
}

void ExpectEmpty(const Image& c)
{
    EXPECT_EQ(c.Block(), nullptr);
    EXPECT_EQ(c.Pixels(), nullptr);
    EXPECT_EQ(c.Palette(), nullptr);
    EXPECT_EQ(c.Width(), 0);
    EXPECT_EQ(c.Height(), 0);
    EXPECT_EQ(c.BitCount(), 0);
    EXPECT_EQ(c.Stride(), 0);
    EXPECT_EQ(c.TotalBytes(), 0);
    const InfoHeader zero{};
    EXPECT_EQ(std::memcmp(&c.Header(), &zero, sizeof zero), 0);
}
} // namespace

TEST(PixelCanvas, SizesAndHeaderByDepth)
{
    struct Case
    {
        int width, height, bits;
        int stride, image, palette, total;
        uint16_t bitCount;
    };
    const Case cases[] = {
        {1, 1, 8, 4, 4, 256, 1068, 8},       // one pixel, row padded to 4 bytes
        {125, 28, 8, 128, 3584, 256, 4648, 8}, // the dialog's button
        {0, 5, 8, 0, 0, 256, 1064, 8},       // width 0: an image of no bytes
        {5, 0, 8, 8, 0, 256, 1064, 8},       // height 0
        {33, 2, 1, 8, 16, 2, 64, 1},
        {3, 2, 4, 4, 8, 16, 112, 4},
        {2, 2, 16, 4, 8, 0, 48, 16},
        {3, 2, 24, 12, 24, 0, 64, 24},
        {3, 2, 32, 12, 24, 0, 64, 32},
        {2, 1, 0x10008, 4, 4, 256, 1068, 8}, // only the low 16 bits of the depth count
        {2, 1, 0x10001, 4, 4, 2, 52, 1},
        {2, 1, 7, 4, 4, 0, 44, 7},           // any other depth has no colour table
    };
    for (const Case& k : cases)
    {
        SCOPED_TRACE(testing::Message() << k.width << "x" << k.height << " bits " << k.bits);
        Image c;
        uint8_t* block = c.Create(k.width, k.height, k.bits);
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(block, c.Block());
        EXPECT_EQ(c.Stride(), k.stride);
        EXPECT_EQ(c.PaletteBytes(), 4 * k.palette);
        EXPECT_EQ(c.PaletteCount(), k.palette);
        EXPECT_EQ(c.TotalBytes(), k.total);
        EXPECT_EQ(c.Pixels(), block + 40 + 4 * k.palette);
        EXPECT_EQ(c.BitCount(), k.bitCount);
        // The header field by field, and the block opening with a copy of it.
        const InfoHeader expected{40, k.width, k.height, 1, k.bitCount, 0, uint32_t(k.image), 0, 0, 0, 0};
        EXPECT_EQ(Bytes(&c.Header(), 40), Bytes(&expected, 40));
        EXPECT_EQ(Bytes(block, 40), Bytes(&expected, 40));
        // The whole block is usable (the sanitizer catches an undersized one).
        std::memset(block + 40, 0xA5, size_t(k.total) - 40);
    }
}

TEST(PixelCanvas, RefusedSizesGiveAnEmptyCanvas)
{
    struct Case
    {
        const char* what;
        int width, height, bits;
    };
    const Case cases[] = {
        {"negative width", -3, 4, 8},
        {"negative height", 4, -3, 8},
        {"both negative", -1, -1, 8},
        // 2^27 pixels of 32 bits: the row alone is 2^29 bytes, the image 2^31 bytes.
        {"image beyond int", 1 << 27, 4, 32},
        // The 32-bit stride formula wraps to 0 here, which would give a block without pixel rows.
        {"stride wraps in 32 bits", 1 << 28, 2, 32 + 0x10000 * 3},
        {"rows times height beyond int", 65536, 32768, 8},
        {"row beyond int, no rows", 0x7FFFFFFF, 0, 32},
    };
    for (const Case& k : cases)
    {
        SCOPED_TRACE(k.what);
        Image c;
        ASSERT_NE(c.Create(4, 4, 8), nullptr); // an earlier image is released either way
        EXPECT_EQ(c.Create(k.width, k.height, k.bits), nullptr);
        ExpectEmpty(c);
        // Every operation is a no-op on the empty canvas.
        c.Fill(1);
        c.PutPixel(0, 0, 1);
        c.SetColor(0, 1, 2, 3);
        c.TintPalette(0xFFFFFF, 50);
        ExpectEmpty(c);
    }
}

TEST(PixelCanvas, FreeEmptiesAndCanRepeat)
{
    Image c;
    ExpectEmpty(c);
    ASSERT_NE(c.Create(10, 3, 8), nullptr);
    EXPECT_EQ(c.Free(), 0);
    ExpectEmpty(c);
    EXPECT_EQ(c.Free(), 0);
    ExpectEmpty(c);
}

TEST(PixelCanvas, PutPixelCountsYFromTheTop)
{
    Image c;
    ASSERT_NE(c.Create(5, 3, 8), nullptr); // stride 8
    c.Fill(0);
    c.PutPixel(0, 0, 11);     // top row: last stored row
    c.PutPixel(4, 2, 22);     // bottom row: first stored row
    c.PutPixel(2, 1, 0x1AB);  // low 8 bits stored
    std::vector<uint8_t> expected(24, 0);
    expected[2 * 8 + 0] = 11;
    expected[0 * 8 + 4] = 22;
    expected[1 * 8 + 2] = 0xAB;
    EXPECT_EQ(PixelBytes(c), expected);

    // Out of the image: nothing changes (padding bytes included).
    const int outside[][2] = {{5, 0}, {0, 3}, {-1, 0}, {0, -1}, {7, 1}, {-2147483647 - 1, 0}, {2147483647, 2}};
    for (const auto& p : outside)
        c.PutPixel(p[0], p[1], 99);
    EXPECT_EQ(PixelBytes(c), expected);
}

TEST(PixelCanvas, PutPixelWritesOnlyEightBitCanvases)
{
    // In 1- and 4-bit canvases a byte holds several pixels, so x can lie beyond the row's bytes.
    for (int bits : {1, 4, 16, 24, 32})
    {
        SCOPED_TRACE(bits);
        Image c;
        ASSERT_NE(c.Create(40, 2, bits), nullptr);
        c.Fill(0x5A);
        const std::vector<uint8_t> before = PixelBytes(c);
        for (int x = 0; x < 40; ++x)
            c.PutPixel(x, 0, 1);
        EXPECT_EQ(PixelBytes(c), before);
    }
}

TEST(PixelCanvas, FillCoversPaddingWithLowByte)
{
    Image c;
    ASSERT_NE(c.Create(5, 2, 8), nullptr);
    c.Fill(0x1FF);
    EXPECT_EQ(PixelBytes(c), std::vector<uint8_t>(16, 0xFF));
    c.Fill(-256); // low 8 bits: 0
    EXPECT_EQ(PixelBytes(c), std::vector<uint8_t>(16, 0));

    Image wide; // no colour table: Fill still works
    ASSERT_NE(wide.Create(3, 1, 24), nullptr);
    wide.Fill(7);
    EXPECT_EQ(PixelBytes(wide), std::vector<uint8_t>(12, 7));
}

TEST(PixelCanvas, SetColorUsesLowEightBits)
{
    Image c;
    ASSERT_NE(c.Create(1, 1, 8), nullptr);
    std::memset(c.Pixels() - c.PaletteBytes(), 0xEE, size_t(c.PaletteBytes()));
    c.SetColor(300, 256 + 7, 512 + 8, -1); // entry 44; red 7, green 8, blue 255
    EXPECT_EQ(Bytes(&c.Palette()[44], 4), (std::vector<uint8_t>{255, 8, 7, 0})); // blue, green, red, reserved
    c.SetColor(-1, 1, 2, 3); // entry 255
    EXPECT_EQ(c.Palette()[255].rgbRed, 1);
    EXPECT_EQ(c.Palette()[255].rgbBlue, 3);
    EXPECT_EQ(c.Palette()[43].rgbRed, 0xEE);

    // A 2-entry table: index 2 (or 258) is out of range.
    Image mono;
    ASSERT_NE(mono.Create(8, 1, 1), nullptr);
    std::memset(mono.Pixels() - 8, 0, 8);
    mono.Fill(0);
    mono.SetColor(2, 9, 9, 9);
    mono.SetColor(258, 9, 9, 9);
    mono.SetColor(257, 10, 20, 30);
    EXPECT_EQ(mono.Palette()[0].rgbRed, 0);
    EXPECT_EQ(Bytes(&mono.Palette()[1], 4), (std::vector<uint8_t>{30, 20, 10, 0}));
    EXPECT_EQ(mono.Pixels()[0], 0); // nothing spilled into the pixels

    Image wide; // no colour table: nothing to set, pixels untouched
    ASSERT_NE(wide.Create(1, 1, 32), nullptr);
    wide.Fill(0);
    wide.SetColor(0, 1, 2, 3);
    EXPECT_EQ(PixelBytes(wide), std::vector<uint8_t>(4, 0));
}

TEST(PixelCanvas, TintRoundsDownAndClampsAt100)
{
    // Entry (red 11, green 200, blue 3), reserved 7, toward red 48, green 33, blue 255.
    const uint32_t color = 0x00FF2130;
    struct Case
    {
        uint32_t percent;
        int red, green, blue;
    };
    const Case cases[] = {
        {0, 11, 200, 3},
        {1, 11, 198, 5},    // 1137/100, 19833/100, 552/100
        {50, 29, 116, 129}, // 59/2, 233/2, 258/2
        {99, 47, 34, 252},  // 4763/100, 3467/100, 25248/100
        {100, 48, 33, 255},
        {150, 48, 33, 255},
        {0xFFFFFFFFu, 48, 33, 255}, // compared as unsigned
    };
    for (const Case& k : cases)
    {
        SCOPED_TRACE(k.percent);
        Image c;
        ASSERT_NE(c.Create(1, 1, 4), nullptr);
        for (int i = 0; i < 16; ++i)
        {
            c.SetColor(i, 11, 200, 3);
            Entry(c, i).rgbReserved = 7;
        }
        c.TintPalette(color, k.percent);
        std::vector<uint8_t> entries; // blue, green, red, and the reserved byte left alone
        for (int i = 0; i < 16; ++i)
            entries.insert(entries.end(), {uint8_t(k.blue), uint8_t(k.green), uint8_t(k.red), 7});
        EXPECT_EQ(Bytes(c.Palette(), 64), entries);
    }
}

TEST(PixelCanvas, TintWithoutColourTableChangesNothing)
{
    Image c;
    ASSERT_NE(c.Create(2, 2, 24), nullptr);
    c.Fill(0x11);
    std::vector<uint8_t> before(c.Block(), c.Block() + c.TotalBytes());
    c.TintPalette(0xFFFFFF, 100);
    EXPECT_EQ(std::vector<uint8_t>(c.Block(), c.Block() + c.TotalBytes()), before);
}

TEST(PixelCanvas, CopyIsIndependent)
{
    Image source;
    ASSERT_NE(source.Create(5, 3, 8), nullptr);
    for (int i = 0; i < 256; ++i)
        source.SetColor(i, i, 255 - i, i / 2);
    for (int i = 0; i < 24; ++i)
        source.Pixels()[i] = uint8_t(3 * i + 1); // padding bytes included
    const std::vector<uint8_t> original(source.Block(), source.Block() + source.TotalBytes());

    Image copy;
    ASSERT_NE(copy.Create(50, 50, 24), nullptr); // the earlier image goes
    copy.CopyFrom(source);
    ASSERT_NE(copy.Block(), nullptr);
    EXPECT_NE(copy.Block(), source.Block());
    EXPECT_EQ(copy.Width(), 5);
    EXPECT_EQ(copy.Height(), 3);
    EXPECT_EQ(copy.BitCount(), 8);
    EXPECT_EQ(copy.Stride(), 8);
    EXPECT_EQ(std::vector<uint8_t>(copy.Block(), copy.Block() + copy.TotalBytes()), original);

    copy.PutPixel(0, 0, 200);
    copy.SetColor(5, 1, 1, 1);
    copy.TintPalette(0, 100);
    EXPECT_EQ(std::vector<uint8_t>(source.Block(), source.Block() + source.TotalBytes()), original);

    source.Fill(0);
    EXPECT_EQ(copy.Pixels()[1], original[40 + 1024 + 1]);
}

TEST(PixelCanvas, CopyOfItselfChangesNothing)
{
    Image c;
    ASSERT_NE(c.Create(3, 2, 8), nullptr);
    c.Fill(0x42);
    c.SetColor(9, 1, 2, 3);
    const uint8_t* block = c.Block();
    const std::vector<uint8_t> before(block, block + c.TotalBytes());
    c.CopyFrom(c);
    EXPECT_EQ(c.Block(), block);
    EXPECT_EQ(std::vector<uint8_t>(c.Block(), c.Block() + c.TotalBytes()), before);
}

TEST(PixelCanvas, CopyOfEmptySourceIsEmpty)
{
    Image empty;
    Image refused;
    refused.Create(-1, 10, 8);
    for (const Image* source : {&empty, &refused})
    {
        Image copy;
        ASSERT_NE(copy.Create(4, 4, 8), nullptr);
        copy.CopyFrom(*source);
        ExpectEmpty(copy);
    }
}

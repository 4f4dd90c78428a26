// The pixel canvas's image: one palettised picture held as a packed device-independent bitmap
// (header, colour table, bottom-up pixel rows) with its pixel and palette operations. Platform-free;
// CPixelCanvas (controls/PixelCanvas.h) draws it on Windows.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pixelcanvas {

// The 40-byte bitmap header as it lies at the start of a packed DIB; the Windows build checks that
// it matches BITMAPINFOHEADER field for field.
struct InfoHeader
{
    uint32_t biSize;
    int32_t biWidth;
    int32_t biHeight;
    uint16_t biPlanes;
    uint16_t biBitCount;
    uint32_t biCompression;
    uint32_t biSizeImage;
    int32_t biXPelsPerMeter;
    int32_t biYPelsPerMeter;
    uint32_t biClrUsed;
    uint32_t biClrImportant;
};

// One colour table entry, laid out as RGBQUAD.
struct RgbQuad
{
    uint8_t rgbBlue;
    uint8_t rgbGreen;
    uint8_t rgbRed;
    uint8_t rgbReserved;
};

static_assert(sizeof(InfoHeader) == 40, "bitmap header must be 40 bytes");
static_assert(offsetof(InfoHeader, biWidth) == 4 && offsetof(InfoHeader, biHeight) == 8 &&
                  offsetof(InfoHeader, biPlanes) == 12 && offsetof(InfoHeader, biBitCount) == 14 &&
                  offsetof(InfoHeader, biCompression) == 16 &&
                  offsetof(InfoHeader, biSizeImage) == 20 &&
                  offsetof(InfoHeader, biXPelsPerMeter) == 24 &&
                  offsetof(InfoHeader, biYPelsPerMeter) == 28 &&
                  offsetof(InfoHeader, biClrUsed) == 32 &&
                  offsetof(InfoHeader, biClrImportant) == 36,
              "bitmap header layout");
static_assert(sizeof(RgbQuad) == 4 && offsetof(RgbQuad, rgbBlue) == 0 &&
                  offsetof(RgbQuad, rgbGreen) == 1 && offsetof(RgbQuad, rgbRed) == 2 &&
                  offsetof(RgbQuad, rgbReserved) == 3,
              "colour table entry layout");

// A palettised image in one owned block.
class Image
{
public:
    Image();
    virtual ~Image();

    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    // Releases the block (and what a display made from it); the image becomes empty. Returns 0.
    int Free();

    // Builds a new image of width x height at bitCount bits per pixel (low 16 bits used) and returns
    // its block, or null when none could be made. Colour table and pixels are left undefined.
    // A negative size, or a size whose block would not fit in an int, gives an empty image.
    uint8_t* Create(int width, int height, int bitCount);

    // Sets every byte of the pixel rows, row padding included, to the low 8 bits of value.
    void Fill(int value);
    // Stores the low 8 bits of index at (x, y), y counted from the top; 8-bit images only.
    void PutPixel(int x, int y, int index);
    // Sets colour table entry (index & 0xFF) when it exists.
    void SetColor(int index, int red, int green, int blue);
    // Moves every colour table entry toward color (0x00BBGGRR) by percent (above 100 acts as 100).
    void TintPalette(uint32_t color, uint32_t percent);
    // Makes this image an independent copy of source (header, colour table, pixels, padding).
    void CopyFrom(const Image& source);

    int Width() const { return m_header.biWidth; }
    int Height() const { return m_header.biHeight; }
    uint16_t BitCount() const { return m_header.biBitCount; }
    int Stride() const { return static_cast<int>(m_stride); }
    // Start of the pixel rows (bottom row first), null when there is no block.
    uint8_t* Pixels();
    const uint8_t* Pixels() const;
    int PaletteBytes() const { return 4 * m_paletteCount; }
    int TotalBytes() const;

    // The whole packed block (what the platform receives as a BITMAPINFO), null when empty.
    const uint8_t* Block() const { return m_block; }
    const InfoHeader& Header() const { return m_header; }
    int PaletteCount() const { return m_paletteCount; }
    // The colour table, null when there is no block or no table.
    const RgbQuad* Palette() const;

protected:
    // Called by Free, and so by Create and CopyFrom, before the block goes: whatever a display made
    // from the old image goes with it. The image itself makes none.
    virtual void ReleaseDisplay() {}

private:
    RgbQuad* PaletteEntries();

    uint8_t* m_block;
    InfoHeader m_header;
    uint32_t m_stride;
    uint16_t m_paletteCount;
};

}  // namespace pixelcanvas

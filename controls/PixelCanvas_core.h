// CPixelCanvas: a palettised image held as one packed device-independent bitmap
// (header, colour table, bottom-up pixel rows), drawn 1:1 into a device context.
// The block logic is platform-free; Draw and the display objects exist in the Windows build only
// (controls/PixelCanvasDraw.cpp).
#pragma once

#include <cstddef>
#include <cstdint>

// The 40-byte bitmap header as it lies at the start of a packed DIB; the Windows build checks that
// it matches BITMAPINFOHEADER field for field.
struct CanvasInfoHeader
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
struct CanvasRgbQuad
{
    uint8_t rgbBlue;
    uint8_t rgbGreen;
    uint8_t rgbRed;
    uint8_t rgbReserved;
};

static_assert(sizeof(CanvasInfoHeader) == 40, "bitmap header must be 40 bytes");
static_assert(offsetof(CanvasInfoHeader, biWidth) == 4 && offsetof(CanvasInfoHeader, biHeight) == 8 &&
                  offsetof(CanvasInfoHeader, biPlanes) == 12 && offsetof(CanvasInfoHeader, biBitCount) == 14 &&
                  offsetof(CanvasInfoHeader, biCompression) == 16 &&
                  offsetof(CanvasInfoHeader, biSizeImage) == 20 &&
                  offsetof(CanvasInfoHeader, biXPelsPerMeter) == 24 &&
                  offsetof(CanvasInfoHeader, biYPelsPerMeter) == 28 &&
                  offsetof(CanvasInfoHeader, biClrUsed) == 32 &&
                  offsetof(CanvasInfoHeader, biClrImportant) == 36,
              "bitmap header layout");
static_assert(sizeof(CanvasRgbQuad) == 4 && offsetof(CanvasRgbQuad, rgbBlue) == 0 &&
                  offsetof(CanvasRgbQuad, rgbGreen) == 1 && offsetof(CanvasRgbQuad, rgbRed) == 2 &&
                  offsetof(CanvasRgbQuad, rgbReserved) == 3,
              "colour table entry layout");

// The GDI handle types, declared the way <windows.h> declares them (STRICT), so this header needs no
// Windows header and the class has the same members on both sides.
struct HDC__;
struct HBITMAP__;

// A palettised image in one owned block; owns the DIB section and memory DC it makes for display.
class CPixelCanvas
{
public:
    CPixelCanvas();
    virtual ~CPixelCanvas();

    CPixelCanvas(const CPixelCanvas&) = delete;
    CPixelCanvas& operator=(const CPixelCanvas&) = delete;

    // Releases the display objects and the block; the canvas becomes empty. Returns 0.
    int Free();

    // Builds a new image of width x height at bitCount bits per pixel (low 16 bits used) and returns
    // its block, or null when none could be made. Colour table and pixels are left undefined.
    // A negative size, or a size whose block would not fit in an int, gives an empty canvas.
    uint8_t* Create(int width, int height, int bitCount);

    // Sets every byte of the pixel rows, row padding included, to the low 8 bits of value.
    void Fill(int value);
    // Stores the low 8 bits of index at (x, y), y counted from the top; 8-bit canvases only.
    void PutPixel(int x, int y, int index);
    // Sets colour table entry (index & 0xFF) when it exists.
    void SetColor(int index, int red, int green, int blue);
    // Moves every colour table entry toward color (0x00BBGGRR) by percent (above 100 acts as 100).
    void TintPalette(uint32_t color, uint32_t percent);
    // Makes this canvas an independent copy of source (header, colour table, pixels, padding).
    void CopyFrom(const CPixelCanvas& source);

#ifdef _WIN32
    // Copies the pixels into the kept DIB section and blits the image 1:1 onto target at (x, y).
    void Draw(HDC__* target, int x, int y);
#endif

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
    const CanvasInfoHeader& Header() const { return m_header; }
    int PaletteCount() const { return m_paletteCount; }
    // The colour table, null when there is no block or no table.
    const CanvasRgbQuad* Palette() const;
    // The display objects made by the first Draw and kept until Free (null before).
    HBITMAP__* DisplayBitmap() const { return m_dib; }
    HDC__* DisplayDC() const { return m_memDC; }

private:
    CanvasRgbQuad* PaletteEntries();
    // Deletes the memory DC and the DIB section (Windows build); elsewhere there are none.
    void FreeDisplay();

    uint8_t* m_block;
    CanvasInfoHeader m_header;
    uint32_t m_stride;
    uint16_t m_paletteCount;
    HBITMAP__* m_dib;
    HDC__* m_memDC;
    void* m_dibBits;
};

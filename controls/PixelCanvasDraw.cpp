// CPixelCanvas: the DIB section and memory DC kept for display, and Draw.
#include "controls/PixelCanvas.h"

#include <cstddef>
#include <cstring>

#include "framework/afxgdi.h"

using pixelcanvas::InfoHeader;
using pixelcanvas::RgbQuad;

// The platform-free structs are the real ones, byte for byte, so the block is a valid BITMAPINFO.
static_assert(sizeof(InfoHeader) == sizeof(BITMAPINFOHEADER), "header size");
static_assert(offsetof(InfoHeader, biWidth) == offsetof(BITMAPINFOHEADER, biWidth) &&
                  offsetof(InfoHeader, biHeight) == offsetof(BITMAPINFOHEADER, biHeight) &&
                  offsetof(InfoHeader, biPlanes) == offsetof(BITMAPINFOHEADER, biPlanes) &&
                  offsetof(InfoHeader, biBitCount) == offsetof(BITMAPINFOHEADER, biBitCount) &&
                  offsetof(InfoHeader, biCompression) == offsetof(BITMAPINFOHEADER, biCompression) &&
                  offsetof(InfoHeader, biSizeImage) == offsetof(BITMAPINFOHEADER, biSizeImage) &&
                  offsetof(InfoHeader, biXPelsPerMeter) ==
                      offsetof(BITMAPINFOHEADER, biXPelsPerMeter) &&
                  offsetof(InfoHeader, biYPelsPerMeter) ==
                      offsetof(BITMAPINFOHEADER, biYPelsPerMeter) &&
                  offsetof(InfoHeader, biClrUsed) == offsetof(BITMAPINFOHEADER, biClrUsed) &&
                  offsetof(InfoHeader, biClrImportant) == offsetof(BITMAPINFOHEADER, biClrImportant),
              "header layout");
static_assert(sizeof(RgbQuad) == sizeof(RGBQUAD) &&
                  offsetof(RgbQuad, rgbBlue) == offsetof(RGBQUAD, rgbBlue) &&
                  offsetof(RgbQuad, rgbGreen) == offsetof(RGBQUAD, rgbGreen) &&
                  offsetof(RgbQuad, rgbRed) == offsetof(RGBQUAD, rgbRed) &&
                  offsetof(RgbQuad, rgbReserved) == offsetof(RGBQUAD, rgbReserved),
              "colour table entry layout");

CPixelCanvas::~CPixelCanvas()
{
    // The base's destructor frees the image too late for this class's part.
    ReleaseDisplay();
}

void CPixelCanvas::ReleaseDisplay()
{
    if (m_memDC)
        DeleteDC(m_memDC);
    if (m_dib)
        DeleteObject(m_dib);
    m_memDC = nullptr;
    m_dib = nullptr;
    m_dibBits = nullptr;
}

bool CPixelCanvas::Draw(HDC target, int x, int y)
{
    // An image of no bytes (width or height 0) has nothing to show; CreateDIBSection would refuse it.
    const uint32_t imageBytes = Header().biSizeImage;
    if (!Block() || imageBytes == 0)
        return false;

    if (!m_dib)
    {
        // The colour table of the block is taken over now; later palette changes do not reach it.
        void* bits = nullptr;
        HBITMAP dib = CreateDIBSection(target, reinterpret_cast<const BITMAPINFO*>(Block()), DIB_RGB_COLORS,
                                       &bits, nullptr, 0);
        if (!dib)
            return false;
        if (!bits)
        {
            DeleteObject(dib);
            return false;
        }
        m_dib = dib;
        m_dibBits = bits;
    }

    // GDI may still be working on the section's memory from an earlier blit.
    GdiFlush();
    std::memcpy(m_dibBits, Pixels(), imageBytes);

    if (!m_memDC)
    {
        m_memDC = CreateCompatibleDC(target);
        if (!m_memDC)
            return false; // the DIB section stays for the next Draw
    }

    CScopedSelect select(m_memDC, m_dib);   // only for the blit
    return BitBlt(target, x, y, Width(), Height(), m_memDC, 0, 0, SRCCOPY) != FALSE;
}

// CPixelCanvas on Windows: the DIB section and memory DC kept for display, and Draw.
#include <windows.h>

#include <cstddef>
#include <cstring>
#include <type_traits>

#include "controls/PixelCanvas_core.h"

// The platform-free structs are the real ones, byte for byte, so the block is a valid BITMAPINFO.
static_assert(sizeof(CanvasInfoHeader) == sizeof(BITMAPINFOHEADER), "header size");
static_assert(offsetof(CanvasInfoHeader, biWidth) == offsetof(BITMAPINFOHEADER, biWidth) &&
                  offsetof(CanvasInfoHeader, biHeight) == offsetof(BITMAPINFOHEADER, biHeight) &&
                  offsetof(CanvasInfoHeader, biPlanes) == offsetof(BITMAPINFOHEADER, biPlanes) &&
                  offsetof(CanvasInfoHeader, biBitCount) == offsetof(BITMAPINFOHEADER, biBitCount) &&
                  offsetof(CanvasInfoHeader, biCompression) == offsetof(BITMAPINFOHEADER, biCompression) &&
                  offsetof(CanvasInfoHeader, biSizeImage) == offsetof(BITMAPINFOHEADER, biSizeImage) &&
                  offsetof(CanvasInfoHeader, biXPelsPerMeter) ==
                      offsetof(BITMAPINFOHEADER, biXPelsPerMeter) &&
                  offsetof(CanvasInfoHeader, biYPelsPerMeter) ==
                      offsetof(BITMAPINFOHEADER, biYPelsPerMeter) &&
                  offsetof(CanvasInfoHeader, biClrUsed) == offsetof(BITMAPINFOHEADER, biClrUsed) &&
                  offsetof(CanvasInfoHeader, biClrImportant) == offsetof(BITMAPINFOHEADER, biClrImportant),
              "header layout");
static_assert(sizeof(CanvasRgbQuad) == sizeof(RGBQUAD) &&
                  offsetof(CanvasRgbQuad, rgbBlue) == offsetof(RGBQUAD, rgbBlue) &&
                  offsetof(CanvasRgbQuad, rgbGreen) == offsetof(RGBQUAD, rgbGreen) &&
                  offsetof(CanvasRgbQuad, rgbRed) == offsetof(RGBQUAD, rgbRed) &&
                  offsetof(CanvasRgbQuad, rgbReserved) == offsetof(RGBQUAD, rgbReserved),
              "colour table entry layout");
// The class declares the handle types itself; they must be the ones <windows.h> uses.
static_assert(std::is_same<HDC, HDC__*>::value && std::is_same<HBITMAP, HBITMAP__*>::value,
              "STRICT handle types expected");

void CPixelCanvas::FreeDisplay()
{
    if (m_memDC)
        DeleteDC(m_memDC);
    if (m_dib)
        DeleteObject(m_dib);
    m_memDC = nullptr;
    m_dib = nullptr;
    m_dibBits = nullptr;
}

void CPixelCanvas::Draw(HDC target, int x, int y)
{
    // An image of no bytes (width or height 0) has nothing to show; CreateDIBSection would refuse it.
    if (!m_block || m_header.biSizeImage == 0)
        return;

    if (!m_dib)
    {
        // The colour table of the block is taken over now; later palette changes do not reach it.
        void* bits = nullptr;
        HBITMAP dib = CreateDIBSection(target, reinterpret_cast<const BITMAPINFO*>(m_block), DIB_RGB_COLORS,
                                       &bits, nullptr, 0);
        if (!dib)
            return;
        if (!bits)
        {
            DeleteObject(dib);
            return;
        }
        m_dib = dib;
        m_dibBits = bits;
    }

    // GDI may still be working on the section's memory from an earlier blit.
    GdiFlush();
    std::memcpy(m_dibBits, Pixels(), m_header.biSizeImage);

    if (!m_memDC)
    {
        m_memDC = CreateCompatibleDC(target);
        if (!m_memDC)
            return; // the DIB section stays for the next Draw
    }

    HGDIOBJ previous = SelectObject(m_memDC, m_dib);
    BitBlt(target, x, y, m_header.biWidth, m_header.biHeight, m_memDC, 0, 0, SRCCOPY);
    SelectObject(m_memDC, previous);
}

// The pixel canvas's image: block layout, sizes and the pixel and palette operations.
#include "controls/PixelCanvas_core.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace pixelcanvas {

namespace
{
const uint32_t kHeaderBytes = sizeof(InfoHeader);

uint16_t PaletteCountFor(uint16_t bitCount)
{
    switch (bitCount)
    {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}
} // namespace

Image::Image() : m_block(nullptr), m_header(), m_stride(0), m_paletteCount(0)
{
}

Image::~Image()
{
    Free();
}

int Image::Free()
{
    ReleaseDisplay();
    std::free(m_block);
    m_block = nullptr;
    m_header = InfoHeader();
    // The header is all zero after Free, so the sizes derived from it go back to zero as well.
    m_stride = 0;
    m_paletteCount = 0;
    return 0;
}

uint8_t* Image::Create(int width, int height, int bitCount)
{
    Free();
    const uint16_t bits = static_cast<uint16_t>(bitCount);
    if (width < 0 || height < 0)
        return nullptr; // rows are stored bottom-up; a negative size has no layout

    // Sizes in 64-bit arithmetic: a block whose size would not fit in an int is refused rather
    // than allocated at a wrapped size.
    const uint64_t stride = (uint64_t(bits) * uint64_t(width) + 31) / 32 * 4;
    const uint16_t paletteCount = PaletteCountFor(bits);
    const uint64_t image = stride * uint64_t(height);
    const uint64_t total = kHeaderBytes + 4u * uint64_t(paletteCount) + image;
    if (stride > uint64_t(INT_MAX) || total > uint64_t(INT_MAX))
        return nullptr;

    m_paletteCount = paletteCount;
    m_stride = static_cast<uint32_t>(stride);
    m_header.biSize = kHeaderBytes;
    m_header.biWidth = width;
    m_header.biHeight = height;
    m_header.biPlanes = 1;
    m_header.biBitCount = bits;
    m_header.biCompression = 0; // BI_RGB
    m_header.biSizeImage = static_cast<uint32_t>(image);

    m_block = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(total)));
    if (!m_block)
        return nullptr; // the header stays as built, the canvas has no block
    std::memcpy(m_block, &m_header, kHeaderBytes);
    return m_block;
}

uint8_t* Image::Pixels()
{
    return m_block ? m_block + m_header.biSize + 4u * m_paletteCount : nullptr;
}

const uint8_t* Image::Pixels() const
{
    return m_block ? m_block + m_header.biSize + 4u * m_paletteCount : nullptr;
}

int Image::TotalBytes() const
{
    return static_cast<int>(PaletteBytes() + m_header.biSizeImage + m_header.biSize);
}

RgbQuad* Image::PaletteEntries()
{
    if (!m_block || m_paletteCount == 0)
        return nullptr;
    return reinterpret_cast<RgbQuad*>(m_block + m_header.biSize);
}

const RgbQuad* Image::Palette() const
{
    if (!m_block || m_paletteCount == 0)
        return nullptr;
    return reinterpret_cast<const RgbQuad*>(m_block + m_header.biSize);
}

void Image::Fill(int value)
{
    if (m_block)
        std::memset(Pixels(), value & 0xFF, m_header.biSizeImage);
}

void Image::PutPixel(int x, int y, int index)
{
    // One byte per pixel is the 8-bit layout; in 1- and 4-bit canvases x can lie beyond the
    // row's bytes, so those depths are not written.
    if (!m_block || m_paletteCount == 0 || m_header.biBitCount != 8)
        return;
    if (x < 0 || x >= m_header.biWidth || y < 0 || y >= m_header.biHeight)
        return;
    const size_t offset = size_t(m_header.biHeight - y - 1) * m_stride + size_t(x);
    Pixels()[offset] = static_cast<uint8_t>(index);
}

void Image::SetColor(int index, int red, int green, int blue)
{
    RgbQuad* entries = PaletteEntries();
    const unsigned entry = static_cast<unsigned>(index) & 0xFF;
    if (!entries || entry >= m_paletteCount)
        return;
    entries[entry].rgbBlue = static_cast<uint8_t>(blue);
    entries[entry].rgbGreen = static_cast<uint8_t>(green);
    entries[entry].rgbRed = static_cast<uint8_t>(red);
    entries[entry].rgbReserved = 0;
}

void Image::TintPalette(uint32_t color, uint32_t percent)
{
    RgbQuad* entries = PaletteEntries();
    if (!entries)
        return;
    const uint32_t p = percent > 100 ? 100 : percent;
    const uint32_t red = color & 0xFF, green = (color >> 8) & 0xFF, blue = (color >> 16) & 0xFF;
    for (unsigned i = 0; i < m_paletteCount; ++i)
    {
        RgbQuad& e = entries[i];
        e.rgbBlue = static_cast<uint8_t>((e.rgbBlue * (100 - p) + blue * p) / 100);
        e.rgbGreen = static_cast<uint8_t>((e.rgbGreen * (100 - p) + green * p) / 100);
        e.rgbRed = static_cast<uint8_t>((e.rgbRed * (100 - p) + red * p) / 100);
    }
}

void Image::CopyFrom(const Image& source)
{
    // Copying onto itself would free the very block it copies from.
    if (&source == this)
        return;
    // A source without a block gives an empty copy, never one with undefined pixels.
    if (!source.m_block)
    {
        Free();
        return;
    }
    if (Create(source.Width(), source.Height(), source.BitCount()))
        std::memcpy(m_block, source.m_block, static_cast<size_t>(source.TotalBytes()));
}

}  // namespace pixelcanvas

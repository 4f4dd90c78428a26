// CPixelCanvas::Draw against real GDI: pixels read back from a memory drawing context, the kept
// DIB section and memory DC, and which later changes reach the screen.
#include <windows.h>

#include <gtest/gtest.h>

#include "controls/PixelCanvas_core.h"
#include "controls/Texture_core.h"

namespace
{
const COLORREF kBackground = RGB(1, 2, 3);

// A 32-bit memory drawing context to draw into and read back, filled with kBackground.
class Target
{
public:
    Target(int width, int height) : m_width(width), m_height(height)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height; // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        m_dc = CreateCompatibleDC(nullptr);
        void* bits = nullptr;
        m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_old = SelectObject(m_dc, m_bitmap);
        Clear();
    }
    ~Target()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    Target(const Target&) = delete;
    Target& operator=(const Target&) = delete;

    HDC dc() const { return m_dc; }
    bool ok() const { return m_dc && m_bitmap; }
    void Clear()
    {
        RECT all = {0, 0, m_width, m_height};
        HBRUSH brush = CreateSolidBrush(kBackground);
        FillRect(m_dc, &all, brush);
        DeleteObject(brush);
    }
    COLORREF At(int x, int y) const { return GetPixel(m_dc, x, y); }
    // True when no pixel differs from the background.
    bool Untouched() const
    {
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                if (At(x, y) != kBackground)
                    return false;
        return true;
    }

private:
    int m_width, m_height;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
};

COLORREF EntryColor(const CPixelCanvas& c, int index)
{
    const CanvasRgbQuad& e = c.Palette()[index];
    return RGB(e.rgbRed, e.rgbGreen, e.rgbBlue);
}

// Index of the canvas pixel at (x, y), y counted from the top.
int IndexAt(const CPixelCanvas& c, int x, int y)
{
    return c.Pixels()[size_t(c.Height() - 1 - y) * size_t(c.Stride()) + size_t(x)];
}

// A 7 x 5 canvas (rows padded to 8 bytes) with distinct colours and a distinct index per pixel.
void MakeSample(CPixelCanvas& c)
{
    ASSERT_NE(c.Create(7, 5, 8), nullptr);
    for (int i = 0; i < 256; ++i)
        c.SetColor(i, i, 255 - i, (i * 7) & 0xFF);
    c.Fill(0);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            c.PutPixel(x, y, 10 + 7 * y + x);
}

// Every pixel of the canvas appears at (left + x, top + y); everything else is the background.
void ExpectDrawnAt(const Target& t, const CPixelCanvas& c, int left, int top, int width, int height)
{
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            const int cx = x - left, cy = y - top;
            const bool inside = cx >= 0 && cx < c.Width() && cy >= 0 && cy < c.Height();
            const COLORREF expected = inside ? EntryColor(c, IndexAt(c, cx, cy)) : kBackground;
            ASSERT_EQ(t.At(x, y), expected) << "at " << x << "," << y;
        }
}
} // namespace

TEST(PixelCanvasDraw, CopiesOneToOneAtThePosition)
{
    CPixelCanvas canvas;
    MakeSample(canvas);
    const POINT positions[] = {{0, 0}, {3, 2}, {-2, -1}, {10, 12}};
    for (const POINT& p : positions)
    {
        SCOPED_TRACE(testing::Message() << "at " << p.x << "," << p.y);
        Target target(16, 16);
        ASSERT_TRUE(target.ok());
        canvas.Draw(target.dc(), p.x, p.y);
        ExpectDrawnAt(target, canvas, p.x, p.y, 16, 16);
    }
}

TEST(PixelCanvasDraw, TopRowIsLastStoredRow)
{
    CPixelCanvas canvas;
    ASSERT_NE(canvas.Create(2, 3, 8), nullptr);
    canvas.SetColor(0, 0, 0, 0);
    canvas.SetColor(1, 255, 0, 0);
    canvas.SetColor(2, 0, 0, 255);
    canvas.Fill(0);
    canvas.Pixels()[2 * canvas.Stride()] = 1; // last stored row
    canvas.Pixels()[0] = 2;                   // first stored row
    Target target(2, 3);
    canvas.Draw(target.dc(), 0, 0);
    EXPECT_EQ(target.At(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(target.At(0, 2), RGB(0, 0, 255));
    EXPECT_EQ(target.At(0, 1), RGB(0, 0, 0));
}

TEST(PixelCanvasDraw, KeepsItsDisplayObjectsUntilFree)
{
    CPixelCanvas canvas;
    MakeSample(canvas);
    Target target(8, 8);
    EXPECT_EQ(canvas.DisplayBitmap(), nullptr);
    EXPECT_EQ(canvas.DisplayDC(), nullptr);

    canvas.Draw(target.dc(), 0, 0);
    HBITMAP dib = canvas.DisplayBitmap();
    HDC memDC = canvas.DisplayDC();
    ASSERT_NE(dib, nullptr);
    ASSERT_NE(memDC, nullptr);
    EXPECT_EQ(GetObjectType(dib), DWORD(OBJ_BITMAP));
    EXPECT_EQ(GetObjectType(memDC), DWORD(OBJ_MEMDC));
    // The DIB section is selected only for the blit.
    EXPECT_NE(GetCurrentObject(memDC, OBJ_BITMAP), HGDIOBJ(dib));

    for (int i = 0; i < 3; ++i)
    {
        target.Clear();
        canvas.Draw(target.dc(), 1, 1);
        EXPECT_EQ(canvas.DisplayBitmap(), dib);
        EXPECT_EQ(canvas.DisplayDC(), memDC);
        ExpectDrawnAt(target, canvas, 1, 1, 8, 8);
    }

    canvas.Free();
    EXPECT_EQ(canvas.DisplayBitmap(), nullptr);
    EXPECT_EQ(canvas.DisplayDC(), nullptr);
    EXPECT_EQ(GetObjectType(dib), 0u);
    EXPECT_EQ(GetObjectType(memDC), 0u);
}

TEST(PixelCanvasDraw, CreateAndDestructorReleaseDisplayObjects)
{
    Target target(8, 8);
    HBITMAP dib = nullptr;
    HDC memDC = nullptr;
    {
        CPixelCanvas canvas;
        MakeSample(canvas);
        canvas.Draw(target.dc(), 0, 0);
        dib = canvas.DisplayBitmap();
        memDC = canvas.DisplayDC();
        ASSERT_NE(dib, nullptr);

        canvas.Create(3, 3, 8); // a new image: the old display objects go
        EXPECT_EQ(canvas.DisplayBitmap(), nullptr);
        EXPECT_EQ(GetObjectType(dib), 0u);
        EXPECT_EQ(GetObjectType(memDC), 0u);

        canvas.Fill(0);
        canvas.Draw(target.dc(), 0, 0);
        dib = canvas.DisplayBitmap();
        memDC = canvas.DisplayDC();
        ASSERT_NE(dib, nullptr);
    }
    EXPECT_EQ(GetObjectType(dib), 0u);
    EXPECT_EQ(GetObjectType(memDC), 0u);
}

TEST(PixelCanvasDraw, PixelChangesShowPaletteChangesWaitForANewImage)
{
    CPixelCanvas canvas;
    MakeSample(canvas);
    Target target(8, 8);
    canvas.Draw(target.dc(), 0, 0);
    const COLORREF before = EntryColor(canvas, 10);
    ASSERT_EQ(target.At(0, 0), before);

    // A pixel change shows at the next draw.
    canvas.PutPixel(0, 0, 200);
    canvas.Draw(target.dc(), 0, 0);
    EXPECT_EQ(target.At(0, 0), EntryColor(canvas, 200));

    // A palette change reaches the block only; the screen keeps the colours of the first draw.
    const COLORREF oldColour = EntryColor(canvas, 200);
    canvas.SetColor(200, 9, 99, 199);
    canvas.TintPalette(RGB(255, 255, 255), 50);
    canvas.Draw(target.dc(), 0, 0);
    EXPECT_EQ(target.At(0, 0), oldColour);
    EXPECT_EQ(target.At(1, 0), RGB(11, 244, 77)); // index 11 as first drawn

    // A new image (here a copy) shows the new colours.
    CPixelCanvas copy;
    copy.CopyFrom(canvas);
    target.Clear();
    copy.Draw(target.dc(), 0, 0);
    EXPECT_EQ(target.At(0, 0), EntryColor(canvas, 200));
    EXPECT_NE(target.At(0, 0), oldColour);
    ExpectDrawnAt(target, canvas, 0, 0, 8, 8);
}

TEST(PixelCanvasDraw, EmptyCanvasesDrawNothing)
{
    Target target(8, 8);
    CPixelCanvas empty;
    empty.Draw(target.dc(), 0, 0);
    CPixelCanvas noWidth;
    ASSERT_NE(noWidth.Create(0, 5, 8), nullptr);
    noWidth.Draw(target.dc(), 0, 0);
    CPixelCanvas noHeight;
    ASSERT_NE(noHeight.Create(5, 0, 8), nullptr);
    noHeight.Draw(target.dc(), 0, 0);
    CPixelCanvas copyOfEmpty; // a face that could not be made
    ASSERT_NE(copyOfEmpty.Create(4, 4, 8), nullptr);
    copyOfEmpty.CopyFrom(empty);
    copyOfEmpty.Draw(target.dc(), 0, 0);
    EXPECT_TRUE(target.Untouched());
    for (const CPixelCanvas* c : {&empty, &noWidth, &noHeight, &copyOfEmpty})
    {
        EXPECT_EQ(c->DisplayBitmap(), nullptr);
        EXPECT_EQ(c->DisplayDC(), nullptr);
    }
}

TEST(PixelCanvasDraw, GeneratedButtonFacesShowTheirPalettes)
{
    // The dialog's button texture with the classic colours: the bottom row is nearly the tinted
    // shadow, the top row nearly the tinted highlight, the hot face lighter than the normal one.
    const TextureColors classic{RGB(192, 192, 192), RGB(128, 128, 128), RGB(255, 255, 255)};
    CPixelCanvas face, hot;
    ResetTextureRandom();
    GenerateTextureFaces(125, 28, classic, TextureVerticalRamp, 4, 20, 10, 0xFA5032, face, hot);
    Target normal(125, 28), lit(125, 28);
    face.Draw(normal.dc(), 0, 0);
    hot.Draw(lit.dc(), 0, 0);
    ExpectDrawnAt(normal, face, 0, 0, 125, 28);
    ExpectDrawnAt(lit, hot, 0, 0, 125, 28);
    EXPECT_EQ(normal.At(0, 27), EntryColor(face, IndexAt(face, 0, 27)));
    EXPECT_LT(GetRValue(normal.At(60, 27)), 140);
    EXPECT_GT(GetRValue(normal.At(60, 0)), 220);
    EXPECT_GT(GetRValue(lit.At(60, 27)), GetRValue(normal.At(60, 27)));
}

// CPixelCanvas::Draw against real GDI: pixels read back from a memory drawing context, the kept
// DIB section and memory DC, and which later changes reach the screen. (The generated button faces
// on screen are checked with the textured button.)
#include <windows.h>

#include <gtest/gtest.h>

#include "controls/PixelCanvas.h"
#include "support/TestDialog.h"

namespace
{
using wintest::Capture;
using wintest::CanvasColor;
using wintest::PaletteColor;

const COLORREF kBackground = RGB(1, 2, 3);

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

// Every pixel of the canvas appears at (left + x, top + y), the last stored row on top; everything
// else is the background.
void ExpectDrawnAt(const Capture& t, const CPixelCanvas& c, int left, int top, int width, int height)
{
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            const int cx = x - left, cy = y - top;
            const bool inside = cx >= 0 && cx < c.Width() && cy >= 0 && cy < c.Height();
            const COLORREF expected = inside ? CanvasColor(c, cx, cy) : kBackground;
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
        Capture target(16, 16, kBackground);
        canvas.Draw(target.dc(), p.x, p.y);
        ExpectDrawnAt(target, canvas, p.x, p.y, 16, 16);
    }
}

// The display objects live from the first draw until Free, a new image or the destructor.
TEST(PixelCanvasDraw, KeepsItsDisplayObjectsUntilFreeANewImageOrItsEnd)
{
    Capture target(8, 8, kBackground);
    enum End { ByFree, ByCreate, ByDestructor };
    for (End end : {ByFree, ByCreate, ByDestructor})
    {
        SCOPED_TRACE(end);
        HBITMAP dib = nullptr;
        HDC memDC = nullptr;
        {
            CPixelCanvas canvas;
            MakeSample(canvas);
            EXPECT_EQ(canvas.DisplayBitmap(), nullptr);
            EXPECT_EQ(canvas.DisplayDC(), nullptr);
            for (int i = 0; i < 3; ++i)
            {
                target.Fill(kBackground);
                canvas.Draw(target.dc(), 1, 1);
                if (i == 0)
                {
                    dib = canvas.DisplayBitmap();
                    memDC = canvas.DisplayDC();
                }
                EXPECT_EQ(canvas.DisplayBitmap(), dib);
                EXPECT_EQ(canvas.DisplayDC(), memDC);
                ExpectDrawnAt(target, canvas, 1, 1, 8, 8);
            }
            ASSERT_NE(dib, nullptr);
            ASSERT_NE(memDC, nullptr);
            EXPECT_EQ(GetObjectType(dib), DWORD(OBJ_BITMAP));
            EXPECT_EQ(GetObjectType(memDC), DWORD(OBJ_MEMDC));
            // The DIB section is selected only for the blit.
            EXPECT_NE(GetCurrentObject(memDC, OBJ_BITMAP), HGDIOBJ(dib));

            if (end == ByFree)
                canvas.Free();
            if (end == ByCreate)
                canvas.Create(3, 3, 8);
            if (end != ByDestructor)
            {
                EXPECT_EQ(canvas.DisplayBitmap(), nullptr);
                EXPECT_EQ(canvas.DisplayDC(), nullptr);
                EXPECT_EQ(GetObjectType(dib), 0u);
                EXPECT_EQ(GetObjectType(memDC), 0u);
                continue;
            }
        }
        EXPECT_EQ(GetObjectType(dib), 0u);
        EXPECT_EQ(GetObjectType(memDC), 0u);
    }
}

TEST(PixelCanvasDraw, PixelChangesShowPaletteChangesWaitForANewImage)
{
    CPixelCanvas canvas;
    MakeSample(canvas);
    Capture target(8, 8, kBackground);
    canvas.Draw(target.dc(), 0, 0);
    const COLORREF before = PaletteColor(canvas, 10);
    ASSERT_EQ(target.At(0, 0), before);

    // A pixel change shows at the next draw.
    canvas.PutPixel(0, 0, 200);
    canvas.Draw(target.dc(), 0, 0);
    EXPECT_EQ(target.At(0, 0), PaletteColor(canvas, 200));

    // A palette change reaches the block only; the screen keeps the colours of the first draw.
    const COLORREF oldColour = PaletteColor(canvas, 200);
    canvas.SetColor(200, 9, 99, 199);
    canvas.TintPalette(RGB(255, 255, 255), 50);
    canvas.Draw(target.dc(), 0, 0);
    EXPECT_EQ(target.At(0, 0), oldColour);
    EXPECT_EQ(target.At(1, 0), RGB(11, 244, 77)); // index 11 as first drawn

    // A new image (here a copy) shows the new colours.
    CPixelCanvas copy;
    copy.CopyFrom(canvas);
    target.Fill(kBackground);
    copy.Draw(target.dc(), 0, 0);
    EXPECT_EQ(target.At(0, 0), PaletteColor(canvas, 200));
    EXPECT_NE(target.At(0, 0), oldColour);
    ExpectDrawnAt(target, canvas, 0, 0, 8, 8);
}

TEST(PixelCanvasDraw, EmptyCanvasesDrawNothing)
{
    Capture target(8, 8, kBackground);
    CPixelCanvas empty, noWidth, noHeight, copyOfEmpty;
    ASSERT_NE(noWidth.Create(0, 5, 8), nullptr);
    ASSERT_NE(noHeight.Create(5, 0, 8), nullptr);
    ASSERT_NE(copyOfEmpty.Create(4, 4, 8), nullptr); // then a face that could not be made
    copyOfEmpty.CopyFrom(empty);
    for (CPixelCanvas* c : {&empty, &noWidth, &noHeight, &copyOfEmpty})
    {
        c->Draw(target.dc(), 0, 0);
        EXPECT_EQ(c->DisplayBitmap(), nullptr);
        EXPECT_EQ(c->DisplayDC(), nullptr);
    }
    EXPECT_EQ(target.CountOf(kBackground, target.Area()), 64);
}

// CPixelCanvas: the pixel canvas's image drawn 1:1 into a Windows device context, through a DIB
// section and a memory DC that the first Draw makes and that are kept until the image is freed or
// made anew.
#pragma once

#include <windows.h>

#include "controls/PixelCanvas_core.h"

class CPixelCanvas : public pixelcanvas::Image
{
public:
    CPixelCanvas() = default;
    // Releases the display objects; the image goes with the base.
    ~CPixelCanvas() override;

    // Copies the pixels into the kept DIB section and blits the image 1:1 onto target at (x, y);
    // false when there was nothing to show or the display objects could not be made.
    bool Draw(HDC target, int x, int y);

    // The display objects made by the first Draw and kept until Free (null before).
    HBITMAP DisplayBitmap() const { return m_dib; }
    HDC DisplayDC() const { return m_memDC; }

protected:
    // Deletes the memory DC and the DIB section.
    void ReleaseDisplay() override;

private:
    HBITMAP m_dib = NULL;
    HDC m_memDC = NULL;
    void* m_dibBits = nullptr;   // the DIB section's own pixel memory
};

// The system DPI and the scaling of pixel lengths by it.
#include "controls/DisplayScale.h"

#include <windows.h>

int SystemDpi()
{
    HDC screen = ::GetDC(NULL);
    const int dpi = screen != NULL ? ::GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != NULL)
        ::ReleaseDC(NULL, screen);
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

int ScaleToSystemDpi(int pixels)
{
    return ::MulDiv(pixels, SystemDpi(), USER_DEFAULT_SCREEN_DPI);
}

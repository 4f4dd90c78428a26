// The floor of the start-up benchmark: the launcher's dialog template shown with DialogBoxParamA
// and nothing else (same resources, same toolchain and options).
#include <windows.h>

#include "res/resource.h"

namespace {

INT_PTR CALLBACK BareDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        ::EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return static_cast<int>(
        ::DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_NOTICE), NULL, BareDialogProc, 0));
}

// The floor of the start-up benchmark: the launcher's dialog template shown with DialogBoxParamA
// and nothing else (same resources, same toolchain and options). Its dialog procedure leaves
// everything to the system: TRUE to WM_INITDIALOG lets it give the first tab stop the focus, as
// the launcher's dialog does (focus and activation then come before the dialog shows), and OK or
// Cancel end the dialog.
#include <windows.h>

#include "res/resource.h"

namespace {

INT_PTR CALLBACK BareDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        ::EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return message == WM_INITDIALOG;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return static_cast<int>(
        ::DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_NOTICE), NULL, BareDialogProc, 0));
}

// Start-up: the library search and code page before anything else, then the language probe, the
// warning dialog, exit.
#include "app/LauncherApp.h"

#include "app/LanguageProbe.h"
#include "dialog/NoticeDialog.h"
#include "framework/afxdll.h"

#include <mbctype.h>

namespace {

// Runs before every other static initialiser of a program that holds the application object (101
// is the first priority a program may take), so nothing can load a library before the search is
// restricted. Then the module state exists and the C runtime's multibyte functions use the system
// ANSI code page.
struct StartupState
{
    StartupState()
    {
        AfxRestrictLibrarySearch();
        AfxGetModuleState();
        _setmbcp(_MB_CP_ANSI);
    }
} startupState __attribute__((init_priority(101)));

}  // namespace

BEGIN_MESSAGE_MAP(CLauncherApp, CWinApp)
    // void OnHelp()
    ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

CLauncherApp::CLauncherApp() : CWinApp(nullptr)
{
}

BOOL CLauncherApp::InitInstance()
{
    AfxEnableControlContainer();
    Enable3dControls();

    CLanguageProbe probe;
    CNoticeDialog dialog(probe.GetLanguageCode(), nullptr);
    m_pMainWnd = &dialog;
    // OK and Cancel end the launcher alike; -1 (no dialog, or one whose start failed) with an error code.
    m_exitCode = dialog.DoModal() == -1 ? 1 : 0;
    // The dialog object dies at the end of this scope; nothing may keep pointing at it.
    m_pMainWnd = nullptr;
    return FALSE;
}

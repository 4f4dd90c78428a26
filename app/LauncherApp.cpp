// Start-up: language probe, the warning dialog, exit.
#include "app/LauncherApp.h"

#include "app/LanguageProbe.h"
#include "dialog/NoticeDialog.h"

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
    dialog.DoModal();   // OK, Cancel or -1: the launcher ends the same way
    // The dialog object dies at the end of this scope; nothing may keep pointing at it.
    m_pMainWnd = nullptr;
    return FALSE;
}

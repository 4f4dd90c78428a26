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
    // OK and Cancel end the launcher alike; -1 (no dialog, or one whose start failed) with an error code.
    m_exitCode = dialog.DoModal() == -1 ? 1 : 0;
    // The dialog object dies at the end of this scope; nothing may keep pointing at it.
    m_pMainWnd = nullptr;
    return FALSE;
}

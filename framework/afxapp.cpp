// CWinApp and AfxWinMain: start-up, the application title and the application's message box.
#include "framework/afxapp.h"

AFX_MODULE_STATE* AfxGetModuleState()
{
    // Made on first use, so that static initialisers of any order find it ready.
    static AFX_MODULE_STATE state = { ::GetModuleHandleA(NULL), ::GetModuleHandleA(NULL), nullptr };
    return &state;
}

CWinThread* AfxGetThread()
{
    return AfxGetModuleState()->m_pCurrentWinApp;
}

CWinApp* AfxGetApp()
{
    return AfxGetModuleState()->m_pCurrentWinApp;
}

HINSTANCE AfxGetInstanceHandle()
{
    return AfxGetModuleState()->m_hCurrentInstanceHandle;
}

HINSTANCE AfxFindResourceHandle(LPCSTR name, LPCSTR type)
{
    AFX_MODULE_STATE* state = AfxGetModuleState();
    if (::FindResourceA(state->m_hCurrentResourceHandle, name, type) != NULL)
        return state->m_hCurrentResourceHandle;
    return state->m_hCurrentInstanceHandle;
}

void AfxEnableControlContainer()
{
}

AfxWideString AfxGetModulePath(HINSTANCE module, DWORD* length)
{
    // A path that fills the buffer was cut: try again with a larger one. No path is longer than
    // 32,767 characters, so the last buffer always holds it whole.
    AfxWideString path;
    for (DWORD size = MAX_PATH;; size *= 4) {
        path.resize(size);
        const DWORD copied = ::GetModuleFileNameW(module, AfxWideBuffer(path), size);
        if (copied < size || size > 32767) {
            path.resize(copied < size ? copied : 0);
            break;
        }
    }
    if (length != nullptr)
        *length = (DWORD)path.size();
    return path;
}

int CWinThread::Run()
{
    MSG msg;
    while (::GetMessageW(&msg, NULL, 0, 0) > 0) {
        if (!CWnd::WalkPreTranslateTree(NULL, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        AfxDeleteTempWndMap();
        AfxDeleteTempMaps();
    }
    return ExitInstance();
}

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
    // void OnHelp()
    ON_COMMAND(ID_HELP, OnHelp)
END_MESSAGE_MAP()

CWinApp::CWinApp(const char* appName) : m_title(AfxTextToWide(appName))
{
    AFX_MODULE_STATE* state = AfxGetModuleState();
    state->m_pCurrentWinApp = this;
    m_hInstance = state->m_hCurrentInstanceHandle;
}

CWinApp::~CWinApp()
{
    AFX_MODULE_STATE* state = AfxGetModuleState();
    if (state->m_pCurrentWinApp == this)
        state->m_pCurrentWinApp = nullptr;
}

BOOL CWinApp::Enable3dControls()
{
    return TRUE;
}

void CWinApp::OnHelp()
{
}

namespace {

// The executable's file name without directory and extension.
AfxWideString ModuleBaseName(HINSTANCE module)
{
    AfxWideString name = AfxGetModulePath(module);
    name.erase(0, name.find_last_of(u"\\/:") + 1);   // npos + 1: nothing to erase
    return name.substr(0, name.rfind(u'.'));
}

}  // namespace

const wchar_t* CWinApp::GetAppTitle()
{
    if (m_title.empty())
        m_title = ModuleBaseName(m_hInstance);
    return AfxWide(m_title);
}

int AfxMessageBox(const char* text, UINT type, UINT helpId)
{
    return AfxMessageBox(AfxWide(AfxTextToWide(text)), type, helpId);
}

int AfxMessageBox(const wchar_t* text, UINT type, UINT)
{
    CWinApp* app = AfxGetApp();
    const AfxWideString title = app != nullptr ? AfxWideString(reinterpret_cast<const char16_t*>(app->GetAppTitle()))
                                               : ModuleBaseName(AfxGetInstanceHandle());

    // Over the application's window while it exists, else over whatever of ours is active.
    HWND owner = NULL;
    if (app != nullptr && app->m_pMainWnd != nullptr && ::IsWindow(app->m_pMainWnd->m_hWnd))
        owner = app->m_pMainWnd->m_hWnd;
    else
        owner = ::GetActiveWindow();
    if (owner != NULL)
        owner = ::GetLastActivePopup(owner);
    return ::MessageBoxW(owner, text, AfxWide(title), type);
}

int AfxWinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    AFX_MODULE_STATE* state = AfxGetModuleState();
    state->m_hCurrentInstanceHandle = instance;
    state->m_hCurrentResourceHandle = instance;

    int result = -1;
    CWinThread* thread = AfxGetThread();
    if (thread != nullptr) {
        if (CWinApp* app = AfxGetApp())
            app->m_hInstance = instance;
        result = thread->InitInstance() ? thread->Run() : thread->ExitInstance();
    }
    AfxDeleteTempWndMap();
    AfxDeleteTempMaps();
    return result;
}

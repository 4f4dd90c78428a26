// The application object and the road from WinMain into InitInstance; module state, resource
// look-up and the application's message box.
#pragma once

#include "framework/afxconv.h"
#include "framework/afxwnd.h"

class CWinApp;

// The running module: its instance handle, where resources come from, and its application object.
struct AFX_MODULE_STATE
{
    HINSTANCE m_hCurrentInstanceHandle;
    HINSTANCE m_hCurrentResourceHandle;
    CWinApp* m_pCurrentWinApp;
};

AFX_MODULE_STATE* AfxGetModuleState();

class CWinThread : public CCmdTarget
{
public:
    CWnd* m_pMainWnd = nullptr;

    virtual BOOL InitInstance() { return FALSE; }
    virtual int ExitInstance() { return 0; }
    // The message loop, for an application whose InitInstance keeps it running.
    virtual int Run();
    virtual CWnd* GetMainWnd() { return m_pMainWnd; }
};

class CWinApp : public CWinThread
{
public:
    // appName NULL: the title is the executable's file name without its extension.
    explicit CWinApp(const char* appName = nullptr);
    ~CWinApp() override;

    // Kept for the start-up sequence; 3-D controls are the system's own look nowadays.
    BOOL Enable3dControls();
    // The help command; the launcher ships no help file, so there is nothing to open.
    void OnHelp();

    // The title: the name given to the constructor, or the executable's base name with every
    // character of it, whatever its script.
    const wchar_t* GetAppTitle();

    HINSTANCE m_hInstance = NULL;

private:
    AfxWideString m_title;

    DECLARE_MESSAGE_MAP()
};

CWinThread* AfxGetThread();
CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
// The module that holds the resource (the program itself here), or the instance handle when none does.
HINSTANCE AfxFindResourceHandle(LPCSTR name, LPCSTR type);
// The full path of module's file (the program's own for NULL), in UTF-16 with every character of
// every folder name, however long. length (if given) receives its length in characters: 0 when the
// path could not be read.
AfxWideString AfxGetModulePath(HINSTANCE module, DWORD* length = nullptr);
// Sets the handles and calls InitInstance; FALSE there means no message loop: ExitInstance, done.
int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);
// No control container is needed: the launcher hosts no embedded controls.
void AfxEnableControlContainer();
// AfxMessageBox (declared with the exceptions that report through it) is a modal message box over
// the application's window, captioned with the application title. This one takes a text that may
// hold characters no code page has (a path).
int AfxMessageBox(const wchar_t* text, UINT type = MB_OK, UINT helpId = 0);

#ifndef ID_HELP
#define ID_HELP 0xE146
#endif

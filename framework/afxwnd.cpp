// CWnd: the handle map, subclassing and the hook that gives a new window to its object; the window
// operations that are more than one call on the handle, and the tooltip control.
#include "framework/afxwnd.h"

#include <unordered_map>

#include "framework/afxapp.h"
#include "framework/afxconv.h"

namespace {

// Everything of the window layer runs on the one GUI thread: plain statics, no per-thread storage
// (which would bring a threads library into a program that starts no thread).
std::unordered_map<HWND, CWnd*> t_permanentMap;
std::unordered_map<HWND, CWnd*> t_temporaryMap;
CWnd* t_wndInit = nullptr;  // the object the next created window belongs to
HHOOK t_createHook = NULL;

LRESULT CALLBACK CreateHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && t_wndInit != nullptr) {
        CWnd* wnd = t_wndInit;
        t_wndInit = nullptr;
        HWND hWnd = (HWND)wParam;
        wnd->Attach(hWnd);
        // From here on every message of the new window, WM_NCCREATE included, reaches the object.
        // Set with the wide function, the window stays Unicode: its texts never pass through the
        // system's code page.
        WNDPROC old = (WNDPROC)::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, (LONG_PTR)AfxWndProc);
        AfxSetSuperProc(wnd, old);
        // The one window is taken: the windows created after it (a dialog's controls) need no hook.
        const LRESULT result = ::CallNextHookEx(t_createHook, code, wParam, lParam);
        ::UnhookWindowsHookEx(t_createHook);
        t_createHook = NULL;
        return result;
    }
    return ::CallNextHookEx(t_createHook, code, wParam, lParam);
}

}  // namespace

void AfxSetSuperProc(CWnd* wnd, WNDPROC proc)
{
    if (proc != AfxWndProc)
        wnd->m_pfnSuper = proc;
}

// ---- Handle map ----------------------------------------------------------------------------

CWnd::~CWnd()
{
    // The application must never keep pointing at a window object that is gone.
    if (CWinThread* thread = AfxGetThread()) {
        if (thread->m_pMainWnd == this)
            thread->m_pMainWnd = nullptr;
    }
    if (m_hWnd != NULL && FromHandlePermanent(m_hWnd) == this) {
        if (::IsWindow(m_hWnd))
            DestroyWindow();   // WM_NCDESTROY detaches
        if (m_hWnd != NULL)
            Detach();
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    auto it = t_permanentMap.find(hWnd);
    return it == t_permanentMap.end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (hWnd == NULL)
        return nullptr;
    if (CWnd* wnd = FromHandlePermanent(hWnd))
        return wnd;
    CWnd*& temp = t_temporaryMap[hWnd];
    if (temp == nullptr) {
        temp = new CWnd;
        temp->m_hWnd = hWnd;   // not in the permanent map: never destroys or detaches anything
    }
    return temp;
}

void AfxDeleteTempWndMap()
{
    for (auto& entry : t_temporaryMap) {
        entry.second->m_hWnd = NULL;
        delete entry.second;
    }
    t_temporaryMap.clear();
}

BOOL CWnd::Attach(HWND hWnd)
{
    if (hWnd == NULL || m_hWnd != NULL || FromHandlePermanent(hWnd) != nullptr)
        return FALSE;
    m_hWnd = hWnd;
    t_permanentMap[hWnd] = this;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd != NULL) {
        auto it = t_permanentMap.find(hWnd);
        if (it != t_permanentMap.end() && it->second == this)
            t_permanentMap.erase(it);
    }
    m_hWnd = NULL;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!::IsWindow(hWnd) || !Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    WNDPROC old = (WNDPROC)::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, (LONG_PTR)AfxWndProc);
    AfxSetSuperProc(this, old);
    return TRUE;
}

BOOL AfxHookWindowCreate(CWnd* wnd)
{
    if (t_createHook == NULL)
        t_createHook = ::SetWindowsHookExA(WH_CBT, CreateHookProc, NULL, ::GetCurrentThreadId());
    if (t_createHook == NULL)
        return FALSE;
    t_wndInit = wnd;
    return TRUE;
}

BOOL AfxUnhookWindowCreate()
{
    if (t_createHook != NULL) {
        ::UnhookWindowsHookEx(t_createHook);
        t_createHook = NULL;
    }
    BOOL taken = t_wndInit == nullptr;
    t_wndInit = nullptr;
    return taken;
}

// ---- Window operations ---------------------------------------------------------------------

void CWnd::SetWindowText(const char* text)
{
    ::SetWindowTextW(m_hWnd, AfxWide(AfxTextToWide(text)));
}

void CWnd::GetWindowText(CString& text) const
{
    AfxWideString wide((size_t)::GetWindowTextLengthW(m_hWnd), u'\0');
    const int copied = ::GetWindowTextW(m_hWnd, AfxWideBuffer(wide), (int)wide.size() + 1);
    text = AfxTextFromWide(AfxWide(wide), copied > 0 ? copied : 0);
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags)
{
    DWORD style = GetStyle();
    DWORD newStyle = (style & ~remove) | add;
    if (style == newStyle)
        return FALSE;
    ::SetWindowLongW(m_hWnd, GWL_STYLE, (LONG)newStyle);
    if (swpFlags != 0)
        ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return TRUE;
}

// ---- Controls ------------------------------------------------------------------------------

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style)
{
    INITCOMMONCONTROLSEX icc = { sizeof(icc), ICC_WIN95_CLASSES };
    ::InitCommonControlsEx(&icc);
    HWND hWnd = ::CreateWindowExW(0, TOOLTIPS_CLASSW, NULL, WS_POPUP | style, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  parent != nullptr ? parent->m_hWnd : NULL, NULL,
                                  AfxGetInstanceHandle(), NULL);
    return hWnd != NULL && Attach(hWnd);
}

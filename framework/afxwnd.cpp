// CWnd: the handle map, subclassing, message dispatch through the maps, and message reflection.
#include "framework/afxwnd.h"

#include <unordered_map>

#include "framework/afxapp.h"
#include "framework/afxconv.h"

namespace {

// Everything of the window layer runs on the one GUI thread: plain statics, no per-thread storage
// (which would bring a threads library into a program that starts no thread).
std::unordered_map<HWND, CWnd*> t_permanentMap;
std::unordered_map<HWND, CWnd*> t_temporaryMap;
MSG t_currentMessage;       // the message being handled, for Default() and reflection
CWnd* t_wndInit = nullptr;  // the object the next created window belongs to
HHOOK t_createHook = NULL;

bool IsCommandLike(UINT message)
{
    return message == WM_COMMAND || message == WM_REFLECT_BASE + WM_COMMAND;
}

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

// Runs a handler call for hWnd's message. An exception must not unwind through the system's frames
// that called the window procedure: it ends here, reported and deleted, and the message gets the
// answer of failure (-1 for WM_CREATE, else 0). A dialog whose initialisation failed is destroyed. A
// window that failed to paint is validated before the report, whose own loop would otherwise paint
// it again, fail again and report again without end.
template <class Call>
LRESULT CallGuarded(HWND hWnd, UINT message, Call call)
{
    CException* e = nullptr;
    try {
        return call();
    } catch (CException* thrown) {
        e = thrown;
    } catch (...) {
        static CException unknown;   // not one of ours: reported without a text of its own
        e = &unknown;
    }
    if (message == WM_PAINT)
        ::ValidateRect(hWnd, NULL);
    e->ReportError();
    e->Delete();
    if (message == WM_INITDIALOG)
        ::DestroyWindow(hWnd);
    return message == WM_CREATE ? -1 : 0;
}

}  // namespace

void AfxSetSuperProc(CWnd* wnd, WNDPROC proc)
{
    if (proc != AfxWndProc)
        wnd->m_pfnSuper = proc;
}

const MSG* AfxGetCurrentMessage()
{
    return &t_currentMessage;
}

// ---- Message maps --------------------------------------------------------------------------

const AFX_MSGMAP* PASCAL CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = { { 0, 0, 0, 0, nullptr } };
    static const AFX_MSGMAP messageMap = { nullptr, &entries[0] };
    return &messageMap;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

BOOL CCmdTarget::DispatchMessageMap(UINT message, UINT code, UINT id, WPARAM wParam, LPARAM lParam,
                                    LRESULT* result)
{
    for (const AFX_MSGMAP* map = GetMessageMap(); map != nullptr;
         map = map->pfnGetBaseMap != nullptr ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->message != 0; ++entry) {
            if (entry->message != message)
                continue;
            if (IsCommandLike(message) && (entry->code != code || id < entry->id || id > entry->lastId))
                continue;
            // The first matching entry answers; one that declines (a reflected handler returning
            // FALSE or a null brush) is the class's answer, not a reason to ask its base.
            return entry->dispatch(this, wParam, lParam, result);
        }
    }
    return FALSE;
}

BOOL CCmdTarget::OnCmdMsg(UINT id, UINT code)
{
    LRESULT ignored = 0;
    return DispatchMessageMap(WM_COMMAND, code, id, 0, 0, &ignored);
}

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

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

// ---- Dispatch ------------------------------------------------------------------------------

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = CWnd::FromHandlePermanent(hWnd);
    if (wnd == nullptr)
        return ::DefWindowProcW(hWnd, message, wParam, lParam);

    // Nested messages (a SendMessage from inside a handler) must not lose the outer one.
    MSG saved = t_currentMessage;
    t_currentMessage.hwnd = hWnd;
    t_currentMessage.message = message;
    t_currentMessage.wParam = wParam;
    t_currentMessage.lParam = lParam;
    LRESULT result =
        CallGuarded(hWnd, message, [&] { return wnd->WindowProc(message, wParam, lParam); });
    t_currentMessage = saved;

    if (message == WM_NCDESTROY) {
        if ((WNDPROC)::GetWindowLongPtrW(hWnd, GWLP_WNDPROC) == AfxWndProc && wnd->m_pfnSuper != NULL)
            ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, (LONG_PTR)wnd->m_pfnSuper);
        wnd->m_pfnSuper = NULL;
        wnd->Detach();
        wnd->PostNcDestroy();
    }
    return result;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper != NULL)
        return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    const MSG& msg = t_currentMessage;
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *result = 0;
        return TRUE;
    }

    const bool isCtlColor = message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
    const UINT mapMessage = isCtlColor ? (UINT)WM_CTLCOLOR : message;
    if (DispatchMessageMap(mapMessage, 0, 0, wParam, lParam, result))
        return TRUE;

    // Colours and owner drawing are offered to the child first even when the class maps nothing.
    if (isCtlColor) {
        *result = (LRESULT)OnCtlColor(CDC::FromHandle((HDC)wParam), FromHandle((HWND)lParam),
                                      message - WM_CTLCOLORMSGBOX);
        return TRUE;
    }
    if (message == WM_DRAWITEM && lParam != 0) {
        const DRAWITEMSTRUCT* drawItem = (const DRAWITEMSTRUCT*)lParam;
        if (drawItem->CtlType != ODT_MENU && ReflectLastMsg(drawItem->hwndItem, result))
            return TRUE;
    }
    return FALSE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    HWND control = (HWND)lParam;
    if (control != NULL) {
        LRESULT ignored = 0;
        if (ReflectLastMsg(control, &ignored))
            return TRUE;   // the control handled its own notification
    }
    return OnCmdMsg(LOWORD(wParam), HIWORD(wParam));
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* wnd, UINT)
{
    LRESULT brush = 0;
    if (wnd != nullptr && wnd->m_hWnd != m_hWnd && ReflectLastMsg(wnd->m_hWnd, &brush))
        return (HBRUSH)brush;
    return (HBRUSH)Default();
}

BOOL CWnd::ReflectLastMsg(HWND hChild, LRESULT* result)
{
    CWnd* child = FromHandlePermanent(hChild);
    if (child == nullptr)
        return FALSE;
    const MSG& msg = t_currentMessage;
    return child->OnChildNotify(msg.message, msg.wParam, msg.lParam, result);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    return ReflectChildNotify(message, wParam, lParam, result);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        // The reflected colour request carries the drawing context and the CTLCOLOR_ type.
        return DispatchMessageMap(WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, wParam,
                                  (LPARAM)(message - WM_CTLCOLORMSGBOX), result);
    }
    if (message == WM_COMMAND)
        return DispatchMessageMap(WM_REFLECT_BASE + WM_COMMAND, HIWORD(wParam), LOWORD(wParam),
                                  wParam, lParam, result);
    return DispatchMessageMap(WM_REFLECT_BASE + message, 0, 0, wParam, lParam, result);
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* msg)
{
    for (HWND hWnd = msg->hwnd; hWnd != NULL; hWnd = ::GetParent(hWnd)) {
        CWnd* wnd = FromHandlePermanent(hWnd);
        if (wnd != nullptr &&
            CallGuarded(msg->hwnd, msg->message, [&] { return (LRESULT)wnd->PreTranslateMessage(msg); }))
            return TRUE;
        if (hWnd == hWndStop)
            break;
    }
    return FALSE;
}

// ---- Window operations ---------------------------------------------------------------------

LRESULT CWnd::SendMessage(UINT msg, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessageW(m_hWnd, msg, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT msg, WPARAM wParam, LPARAM lParam) const
{
    return ::PostMessageW(m_hWnd, msg, wParam, lParam);
}

CWnd* CWnd::GetDlgItem(int id) const
{
    return FromHandle(::GetDlgItem(m_hWnd, id));
}

int CWnd::GetDlgCtrlID() const
{
    return ::GetDlgCtrlID(m_hWnd);
}

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

void CWnd::GetClientRect(LPRECT rect) const { ::GetClientRect(m_hWnd, rect); }
void CWnd::GetWindowRect(LPRECT rect) const { ::GetWindowRect(m_hWnd, rect); }
void CWnd::ClientToScreen(LPPOINT point) const { ::ClientToScreen(m_hWnd, point); }

void CWnd::InvalidateRect(LPCRECT rect, BOOL erase) { ::InvalidateRect(m_hWnd, rect, erase); }
void CWnd::UpdateWindow() { ::UpdateWindow(m_hWnd); }

BOOL CWnd::RedrawWindow(LPCRECT rect, HRGN region, UINT flags)
{
    return ::RedrawWindow(m_hWnd, rect, region, flags);
}

BOOL CWnd::ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
BOOL CWnd::IsIconic() const { return ::IsIconic(m_hWnd); }
CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
DWORD CWnd::GetStyle() const { return (DWORD)::GetWindowLongA(m_hWnd, GWL_STYLE); }

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags)
{
    DWORD style = GetStyle();
    DWORD newStyle = (style & ~remove) | add;
    if (style == newStyle)
        return FALSE;
    ::SetWindowLongA(m_hWnd, GWL_STYLE, (LONG)newStyle);
    if (swpFlags != 0)
        ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return TRUE;
}

HICON CWnd::SetIcon(HICON icon, BOOL bigIcon)
{
    return (HICON)SendMessage(WM_SETICON, bigIcon ? ICON_BIG : ICON_SMALL, (LPARAM)icon);
}

BOOL CWnd::DestroyWindow()
{
    if (m_hWnd == NULL)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

// ---- Controls ------------------------------------------------------------------------------

void CButton::DrawItem(LPDRAWITEMSTRUCT)
{
}

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_DRAWITEM) {
        DrawItem((LPDRAWITEMSTRUCT)lParam);
        *result = TRUE;
        return TRUE;
    }
    return CWnd::OnChildNotify(message, wParam, lParam, result);
}

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style)
{
    INITCOMMONCONTROLSEX icc = { sizeof(icc), ICC_WIN95_CLASSES };
    ::InitCommonControlsEx(&icc);
    HWND hWnd = ::CreateWindowExA(0, TOOLTIPS_CLASSA, NULL, WS_POPUP | style, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  parent != nullptr ? parent->m_hWnd : NULL, NULL,
                                  AfxGetInstanceHandle(), NULL);
    return hWnd != NULL && Attach(hWnd);
}

void CToolTipCtrl::Activate(BOOL activate) { SendMessage(TTM_ACTIVATE, (WPARAM)activate); }
int CToolTipCtrl::SetMaxTipWidth(int width) { return (int)SendMessage(TTM_SETMAXTIPWIDTH, 0, width); }
void CToolTipCtrl::RelayEvent(LPMSG msg) { SendMessage(TTM_RELAYEVENT, 0, (LPARAM)msg); }

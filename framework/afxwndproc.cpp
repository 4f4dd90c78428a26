// Messages into CWnd objects: the message maps, the window procedure with the guard where handlers
// are called, dispatch through the maps, message reflection and the PreTranslateMessage walk.
#include "framework/afxwnd.h"

namespace {

// The message being handled, for Default() and reflection (a plain static: see afxwnd.cpp).
MSG t_currentMessage;

bool IsCommandLike(UINT message)
{
    return message == WM_COMMAND || message == WM_REFLECT_BASE + WM_COMMAND;
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

// ---- Controls ------------------------------------------------------------------------------

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_DRAWITEM) {
        DrawItem((LPDRAWITEMSTRUCT)lParam);
        *result = TRUE;
        return TRUE;
    }
    return CWnd::OnChildNotify(message, wParam, lParam, result);
}

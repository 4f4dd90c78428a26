// Windows as C++ objects: the command target with its message map, CWnd with the handle map,
// subclassing and message reflection, and the few control classes the launcher uses.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/afxobj.h"
#include "framework/afxstr.h"
#include "framework/afxgdi.h"
#include "framework/afxmsg.h"

// Something that answers messages through a message map.
class CCmdTarget : public CObject
{
public:
    // Looks the message up in this class's map and then in each base map; TRUE when an entry handled it.
    BOOL DispatchMessageMap(UINT message, UINT code, UINT id, WPARAM wParam, LPARAM lParam,
                            LRESULT* result);
    // A WM_COMMAND routed to this target: TRUE when an ON_COMMAND entry took it.
    virtual BOOL OnCmdMsg(UINT id, UINT code);

protected:
    static const AFX_MSGMAP* PASCAL GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};

class CWnd : public CCmdTarget
{
public:
    HWND m_hWnd = NULL;

    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    ~CWnd() override;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return GetSafeHwnd(); }

    // The object attached to a window: the permanent one, or a temporary wrapper that lives until the
    // temporary maps are next emptied (AfxDeleteTempMaps).
    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromHandlePermanent(HWND hWnd);

    BOOL Attach(HWND hWnd);
    HWND Detach();
    // Routes the window's messages through this object's message map from now on.
    BOOL SubclassWindow(HWND hWnd);

    virtual BOOL PreTranslateMessage(MSG*) { return FALSE; }
    // Offers msg to PreTranslateMessage of its window and of each parent up to hWndStop.
    static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* msg);

    // Called once the window is destroyed and detached (WM_NCDESTROY).
    virtual void PostNcDestroy() {}

    // --- Window operations -----------------------------------------------------------------
    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageW(m_hWnd, msg, wParam, lParam);
    }
    BOOL PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageW(m_hWnd, msg, wParam, lParam);
    }
    CWnd* GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    void SetWindowText(const char* text);
    void GetWindowText(CString& text) const;
    void GetClientRect(LPRECT rect) const { ::GetClientRect(m_hWnd, rect); }
    void GetWindowRect(LPRECT rect) const { ::GetWindowRect(m_hWnd, rect); }
    void ClientToScreen(LPPOINT point) const { ::ClientToScreen(m_hWnd, point); }
    void InvalidateRect(LPCRECT rect, BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, rect, erase); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    BOOL RedrawWindow(LPCRECT rect = NULL, HRGN region = NULL,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE)
    {
        return ::RedrawWindow(m_hWnd, rect, region, flags);
    }
    BOOL ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    DWORD GetStyle() const { return (DWORD)::GetWindowLongW(m_hWnd, GWL_STYLE); }
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
    HICON SetIcon(HICON icon, BOOL bigIcon)
    {
        return (HICON)SendMessage(WM_SETICON, bigIcon ? ICON_BIG : ICON_SMALL, (LPARAM)icon);
    }
    virtual BOOL DestroyWindow() { return m_hWnd != NULL && ::DestroyWindow(m_hWnd); }

    // --- Message handling ------------------------------------------------------------------
    // Default processing of the message now being handled: the window's original procedure.
    LRESULT Default();
    // Dispatches one message: the message map first, then DefWindowProc.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // TRUE when the message map (or the built-in routing of commands, colours and owner drawing)
    // handled the message.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);

    // Message reflection. The parent calls ReflectLastMsg for the child window a message is about;
    // the child's OnChildNotify answers for it first.
    static BOOL ReflectLastMsg(HWND hChild, LRESULT* result);
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    // Handlers with default processing, for derived classes to map and to call as their base.
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlType);
    void OnPaint() { Default(); }
    BOOL OnEraseBkgnd(CDC*) { return (BOOL)Default(); }
    HCURSOR OnQueryDragIcon() { return (HCURSOR)Default(); }
    void OnTimer(UINT_PTR) { Default(); }
    void OnLButtonDown(UINT, CPoint) { Default(); }
    void OnMouseMove(UINT, CPoint) { Default(); }
    BOOL OnSetCursor(CWnd*, UINT, UINT) { return (BOOL)Default(); }
    void OnKillFocus(CWnd*) { Default(); }
    void OnSysColorChange() { Default(); }
    void OnActivate(UINT, CWnd*, BOOL) { Default(); }
    void OnEnable(BOOL) { Default(); }
    void OnCancelMode() { Default(); }
    UINT OnGetDlgCode() { return (UINT)Default(); }

protected:
    // Called between attaching and subclassing, while the window still runs its own procedure.
    virtual void PreSubclassWindow() {}

    WNDPROC m_pfnSuper = NULL;   // the window's procedure before we subclassed it

    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend void AfxSetSuperProc(CWnd*, WNDPROC);
    DECLARE_MESSAGE_MAP()
};

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
// Records the procedure a window ran before AfxWndProc took it over.
void AfxSetSuperProc(CWnd* wnd, WNDPROC proc);
// Makes the next window this thread creates belong to wnd (subclassed from its first message on);
// FALSE when the system refuses the hook, and a window created now would not be wnd's.
BOOL AfxHookWindowCreate(CWnd* wnd);
BOOL AfxUnhookWindowCreate();
// Frees the temporary window wrappers (and the drawing ones of the GDI layer).
void AfxDeleteTempWndMap();

class CStatic : public CWnd
{
};

// A push button (or check box); owner-drawn buttons answer the reflected WM_DRAWITEM with DrawItem.
class CButton : public CWnd
{
public:
    virtual void DrawItem(LPDRAWITEMSTRUCT) {}

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

// The common controls' tooltip window.
class CToolTipCtrl : public CWnd
{
public:
    BOOL Create(CWnd* parent, DWORD style = 0);
    void Activate(BOOL activate) { SendMessage(TTM_ACTIVATE, (WPARAM)activate); }
    int SetMaxTipWidth(int width) { return (int)SendMessage(TTM_SETMAXTIPWIDTH, 0, width); }
    void RelayEvent(LPMSG msg) { SendMessage(TTM_RELAYEVENT, 0, (LPARAM)msg); }
};

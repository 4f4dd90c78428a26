// Message maps: a static table per class, the base class's table behind it.
// Each entry names a message (and, for commands and reflected notifications, a code and a control id
// range) and a small dispatcher that unpacks wParam/lParam and calls the handler with its own signature.
#pragma once

#include <windows.h>

class CCmdTarget;
class CWnd;
class CDC;

// Reflected messages come back to the control that caused them under this base.
#define WM_REFLECT_BASE 0xBC00
// All WM_CTLCOLORxxx messages are handled under this one number, with the CTLCOLOR_ type apart.
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif
// The message the system generates for the F1 key (it would become a WM_HELP request).
#ifndef WM_KEYF1
#define WM_KEYF1 0x004D
#endif

// Answers whether the entry handled the message; the handler's result goes to *result.
typedef BOOL (*AFX_DISPATCH)(CCmdTarget* target, WPARAM wParam, LPARAM lParam, LRESULT* result);

struct AFX_MSGMAP_ENTRY
{
    UINT message;   // 0 ends the table
    UINT code;      // notification code (WM_COMMAND, reflected WM_COMMAND), CTLCOLOR type is not matched
    UINT id;        // first control or command id (commands only)
    UINT lastId;    // last id of the range (commands only)
    AFX_DISPATCH dispatch;
};

struct AFX_MSGMAP
{
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                                        \
protected:                                                           \
    static const AFX_MSGMAP* PASCAL GetThisMessageMap();             \
    virtual const AFX_MSGMAP* GetMessageMap() const override;

// The map is built inside a static member function, so handlers may be protected or private and the
// dispatchers below see them through ThisClass.
#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                   \
    const AFX_MSGMAP* theClass::GetMessageMap() const                            \
    {                                                                            \
        return GetThisMessageMap();                                              \
    }                                                                            \
    const AFX_MSGMAP* PASCAL theClass::GetThisMessageMap()                       \
    {                                                                            \
        using ThisClass [[maybe_unused]] = theClass;                             \
        typedef baseClass TheBaseClass;                                          \
        static const AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP()                                                        \
            { 0, 0, 0, 0, nullptr }                                              \
        };                                                                       \
        static const AFX_MSGMAP messageMap = {                                   \
            &TheBaseClass::GetThisMessageMap, &entries[0] };                     \
        return &messageMap;                                                      \
    }

#define AFX_THIS(t) static_cast<ThisClass*>(t)
#define AFX_POINT(lp) CPoint((int)(short)LOWORD(lp), (int)(short)HIWORD(lp))

// --- Entry kinds. Above each, the handler's signature. ------------------------------------------

// LRESULT fn(WPARAM, LPARAM)
#define ON_MESSAGE(msg, fn)                                                           \
    { (UINT)(msg), 0, 0, 0, [](CCmdTarget* t, WPARAM w, LPARAM l, LRESULT* r) -> BOOL \
      { *r = AFX_THIS(t)->fn(w, l); return TRUE; } },

// void fn()   -- a menu or button command
#define ON_COMMAND(id, fn)                                                            \
    { WM_COMMAND, 0, (UINT)(id), (UINT)(id),                                          \
      [](CCmdTarget* t, WPARAM, LPARAM, LRESULT* r) -> BOOL                           \
      { AFX_THIS(t)->fn(); *r = 0; return TRUE; } },

// BOOL fn()   -- a notification reflected back to the control; FALSE lets the parent handle it too
#define ON_CONTROL_REFLECT_EX(code, fn)                                               \
    { WM_REFLECT_BASE + WM_COMMAND, (UINT)(code), 0, 0xFFFF,                          \
      [](CCmdTarget* t, WPARAM, LPARAM, LRESULT* r) -> BOOL                           \
      { *r = 0; return AFX_THIS(t)->fn(); } },

// HBRUSH CtlColor(CDC* dc, UINT ctlType)   -- a null brush means "not handled"
#define ON_WM_CTLCOLOR_REFLECT()                                                      \
    { WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, 0,                                         \
      [](CCmdTarget* t, WPARAM w, LPARAM l, LRESULT* r) -> BOOL                       \
      { HBRUSH b = AFX_THIS(t)->CtlColor(CDC::FromHandle((HDC)w), (UINT)l);           \
        *r = (LRESULT)b; return b != NULL; } },

// void DrawItem(LPDRAWITEMSTRUCT)   -- owner drawing reflected to the control
#define ON_WM_DRAWITEM_REFLECT()                                                      \
    { WM_REFLECT_BASE + WM_DRAWITEM, 0, 0, 0,                                         \
      [](CCmdTarget* t, WPARAM, LPARAM l, LRESULT* r) -> BOOL                         \
      { AFX_THIS(t)->DrawItem((LPDRAWITEMSTRUCT)l); *r = TRUE; return TRUE; } },

// HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlType)   -- every WM_CTLCOLORxxx
#define ON_WM_CTLCOLOR()                                                              \
    { WM_CTLCOLOR, 0, 0, 0, [](CCmdTarget* t, WPARAM w, LPARAM l, LRESULT* r) -> BOOL \
      { const MSG* m = AfxGetCurrentMessage();                                        \
        *r = (LRESULT)AFX_THIS(t)->OnCtlColor(CDC::FromHandle((HDC)w),                \
                CWnd::FromHandle((HWND)l), m->message - WM_CTLCOLORMSGBOX);           \
        return TRUE; } },

// void OnPaint()
#define ON_WM_PAINT()                                                                 \
    { WM_PAINT, 0, 0, 0, [](CCmdTarget* t, WPARAM, LPARAM, LRESULT* r) -> BOOL        \
      { AFX_THIS(t)->OnPaint(); *r = 0; return TRUE; } },

// BOOL OnEraseBkgnd(CDC* dc)
#define ON_WM_ERASEBKGND()                                                            \
    { WM_ERASEBKGND, 0, 0, 0, [](CCmdTarget* t, WPARAM w, LPARAM, LRESULT* r) -> BOOL \
      { *r = AFX_THIS(t)->OnEraseBkgnd(CDC::FromHandle((HDC)w)); return TRUE; } },

// HCURSOR OnQueryDragIcon()
#define ON_WM_QUERYDRAGICON()                                                         \
    { WM_QUERYDRAGICON, 0, 0, 0, [](CCmdTarget* t, WPARAM, LPARAM, LRESULT* r) -> BOOL \
      { *r = (LRESULT)AFX_THIS(t)->OnQueryDragIcon(); return TRUE; } },

// void OnTimer(UINT_PTR id)
#define ON_WM_TIMER()                                                                 \
    { WM_TIMER, 0, 0, 0, [](CCmdTarget* t, WPARAM w, LPARAM, LRESULT* r) -> BOOL      \
      { AFX_THIS(t)->OnTimer((UINT_PTR)w); *r = 0; return TRUE; } },

// void OnLButtonDown(UINT flags, CPoint point)
#define ON_WM_LBUTTONDOWN()                                                           \
    { WM_LBUTTONDOWN, 0, 0, 0, [](CCmdTarget* t, WPARAM w, LPARAM l, LRESULT* r) -> BOOL \
      { AFX_THIS(t)->OnLButtonDown((UINT)w, AFX_POINT(l)); *r = 0; return TRUE; } },

// void OnMouseMove(UINT flags, CPoint point)
#define ON_WM_MOUSEMOVE()                                                             \
    { WM_MOUSEMOVE, 0, 0, 0, [](CCmdTarget* t, WPARAM w, LPARAM l, LRESULT* r) -> BOOL \
      { AFX_THIS(t)->OnMouseMove((UINT)w, AFX_POINT(l)); *r = 0; return TRUE; } },

// BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT mouseMessage)
#define ON_WM_SETCURSOR()                                                             \
    { WM_SETCURSOR, 0, 0, 0, [](CCmdTarget* t, WPARAM w, LPARAM l, LRESULT* r) -> BOOL \
      { *r = AFX_THIS(t)->OnSetCursor(CWnd::FromHandle((HWND)w), LOWORD(l), HIWORD(l)); \
        return TRUE; } },

// void OnKillFocus(CWnd* newFocus)
#define ON_WM_KILLFOCUS()                                                             \
    { WM_KILLFOCUS, 0, 0, 0, [](CCmdTarget* t, WPARAM w, LPARAM, LRESULT* r) -> BOOL  \
      { AFX_THIS(t)->OnKillFocus(CWnd::FromHandle((HWND)w)); *r = 0; return TRUE; } },

// void OnSysColorChange()
#define ON_WM_SYSCOLORCHANGE()                                                        \
    { WM_SYSCOLORCHANGE, 0, 0, 0, [](CCmdTarget* t, WPARAM, LPARAM, LRESULT* r) -> BOOL \
      { AFX_THIS(t)->OnSysColorChange(); *r = 0; return TRUE; } },

// void OnActivate(UINT state, CWnd* other, BOOL minimized)
#define ON_WM_ACTIVATE()                                                              \
    { WM_ACTIVATE, 0, 0, 0, [](CCmdTarget* t, WPARAM w, LPARAM l, LRESULT* r) -> BOOL \
      { AFX_THIS(t)->OnActivate(LOWORD(w), CWnd::FromHandle((HWND)l), HIWORD(w) != 0); \
        *r = 0; return TRUE; } },

// void OnEnable(BOOL enable)
#define ON_WM_ENABLE()                                                                \
    { WM_ENABLE, 0, 0, 0, [](CCmdTarget* t, WPARAM w, LPARAM, LRESULT* r) -> BOOL     \
      { AFX_THIS(t)->OnEnable((BOOL)w); *r = 0; return TRUE; } },

// void OnCancelMode()
#define ON_WM_CANCELMODE()                                                            \
    { WM_CANCELMODE, 0, 0, 0, [](CCmdTarget* t, WPARAM, LPARAM, LRESULT* r) -> BOOL   \
      { AFX_THIS(t)->OnCancelMode(); *r = 0; return TRUE; } },

// UINT OnGetDlgCode()
#define ON_WM_GETDLGCODE()                                                            \
    { WM_GETDLGCODE, 0, 0, 0, [](CCmdTarget* t, WPARAM, LPARAM, LRESULT* r) -> BOOL   \
      { *r = AFX_THIS(t)->OnGetDlgCode(); return TRUE; } },

const MSG* AfxGetCurrentMessage();

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

#define AFX_POINT(lp) CPoint((int)(short)LOWORD(lp), (int)(short)HIWORD(lp))

// One entry: the dispatcher's body sees t (the object as ThisClass), w, l and r (the result) and
// answers whether the entry handled the message.
#define AFX_ENTRY(msg, code, id, lastId, ...)                                                  \
    { (UINT)(msg), (UINT)(code), (UINT)(id), (UINT)(lastId),                                   \
      [](CCmdTarget* target, [[maybe_unused]] WPARAM w, [[maybe_unused]] LPARAM l,            \
         LRESULT* r) -> BOOL {                                                                 \
          ThisClass* t = static_cast<ThisClass*>(target);                                      \
          __VA_ARGS__ } },
// A window message whose handler's answer is the message's result.
#define AFX_ANSWER(msg, call) AFX_ENTRY(msg, 0, 0, 0, *r = (LRESULT)(call); return TRUE;)
// A window message whose handler answers nothing: the result is 0.
#define AFX_NOTICE(msg, call) AFX_ENTRY(msg, 0, 0, 0, call; *r = 0; return TRUE;)

// --- Entry kinds. Above each, the handler's signature. ------------------------------------------

// LRESULT fn(WPARAM, LPARAM)
#define ON_MESSAGE(msg, fn) AFX_ANSWER(msg, t->fn(w, l))
// void fn()   -- a menu or button command
#define ON_COMMAND(id, fn) AFX_ENTRY(WM_COMMAND, 0, id, id, t->fn(); *r = 0; return TRUE;)
// BOOL fn()   -- a notification reflected back to the control; FALSE lets the parent handle it too
#define ON_CONTROL_REFLECT_EX(code, fn) \
    AFX_ENTRY(WM_REFLECT_BASE + WM_COMMAND, code, 0, 0xFFFF, *r = 0; return t->fn();)
// HBRUSH CtlColor(CDC* dc, UINT ctlType)   -- a null brush means "not handled"
#define ON_WM_CTLCOLOR_REFLECT()                                                                \
    AFX_ENTRY(WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, 0,                                          \
              *r = (LRESULT)t->CtlColor(CDC::FromHandle((HDC)w), (UINT)l); return *r != 0;)
// HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlType)   -- every WM_CTLCOLORxxx
#define ON_WM_CTLCOLOR()                                                                        \
    AFX_ANSWER(WM_CTLCOLOR, t->OnCtlColor(CDC::FromHandle((HDC)w), CWnd::FromHandle((HWND)l), \
                                          AfxGetCurrentMessage()->message - WM_CTLCOLORMSGBOX))
// void OnPaint()
#define ON_WM_PAINT() AFX_NOTICE(WM_PAINT, t->OnPaint())
// BOOL OnEraseBkgnd(CDC* dc)
#define ON_WM_ERASEBKGND() AFX_ANSWER(WM_ERASEBKGND, t->OnEraseBkgnd(CDC::FromHandle((HDC)w)))
// HCURSOR OnQueryDragIcon()
#define ON_WM_QUERYDRAGICON() AFX_ANSWER(WM_QUERYDRAGICON, t->OnQueryDragIcon())
// void OnTimer(UINT_PTR id)
#define ON_WM_TIMER() AFX_NOTICE(WM_TIMER, t->OnTimer((UINT_PTR)w))
// void OnLButtonDown(UINT flags, CPoint point)
#define ON_WM_LBUTTONDOWN() AFX_NOTICE(WM_LBUTTONDOWN, t->OnLButtonDown((UINT)w, AFX_POINT(l)))
// void OnMouseMove(UINT flags, CPoint point)
#define ON_WM_MOUSEMOVE() AFX_NOTICE(WM_MOUSEMOVE, t->OnMouseMove((UINT)w, AFX_POINT(l)))
// BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT mouseMessage)
#define ON_WM_SETCURSOR() \
    AFX_ANSWER(WM_SETCURSOR, t->OnSetCursor(CWnd::FromHandle((HWND)w), LOWORD(l), HIWORD(l)))
// void OnKillFocus(CWnd* newFocus)
#define ON_WM_KILLFOCUS() AFX_NOTICE(WM_KILLFOCUS, t->OnKillFocus(CWnd::FromHandle((HWND)w)))
// void OnSysColorChange()
#define ON_WM_SYSCOLORCHANGE() AFX_NOTICE(WM_SYSCOLORCHANGE, t->OnSysColorChange())
// void OnActivate(UINT state, CWnd* other, BOOL minimized)
#define ON_WM_ACTIVATE() \
    AFX_NOTICE(WM_ACTIVATE, t->OnActivate(LOWORD(w), CWnd::FromHandle((HWND)l), HIWORD(w) != 0))
// void OnEnable(BOOL enable)
#define ON_WM_ENABLE() AFX_NOTICE(WM_ENABLE, t->OnEnable((BOOL)w))
// void OnCancelMode()
#define ON_WM_CANCELMODE() AFX_NOTICE(WM_CANCELMODE, t->OnCancelMode())
// UINT OnGetDlgCode()
#define ON_WM_GETDLGCODE() AFX_ANSWER(WM_GETDLGCODE, t->OnGetDlgCode())

const MSG* AfxGetCurrentMessage();

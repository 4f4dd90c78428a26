// CDrawButton: construction and destruction, the setters, the subclass, default-button and check
// protocol, the tooltip, hot tracking and the click. The rules themselves are in DrawButton_core.
#include "controls/DrawButton.h"

#include <type_traits>

#include "controls/DisplayScale.h"

static_assert(std::is_same<BOOL, drawbutton::Bool>::value && std::is_same<BYTE, drawbutton::Byte>::value,
              "the rules' state holds the button's members in their Windows types");

BEGIN_MESSAGE_MAP(CDrawButton, CButton)
    // BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT mouseMessage)
    ON_WM_SETCURSOR()
    // void OnKillFocus(CWnd* newFocus)
    ON_WM_KILLFOCUS()
    // void OnMouseMove(UINT flags, CPoint point)
    ON_WM_MOUSEMOVE()
    // void OnSysColorChange()
    ON_WM_SYSCOLORCHANGE()
    // BOOL OnClicked()
    ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClicked)
    // void OnActivate(UINT state, CWnd* other, BOOL minimized)
    ON_WM_ACTIVATE()
    // void OnEnable(BOOL enable)
    ON_WM_ENABLE()
    // void OnCancelMode()
    ON_WM_CANCELMODE()
    // UINT OnGetDlgCode()
    ON_WM_GETDLGCODE()
    // HBRUSH CtlColor(CDC* dc, UINT ctlType)
    ON_WM_CTLCOLOR_REFLECT()
    // LRESULT OnSetStyleMessage(WPARAM style, LPARAM redraw)
    ON_MESSAGE(BM_SETSTYLE, OnSetStyleMessage)
    // LRESULT OnMouseLeaveMessage(WPARAM, LPARAM)
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeaveMessage)
    // LRESULT OnSetCheckMessage(WPARAM check, LPARAM)
    ON_MESSAGE(BM_SETCHECK, OnSetCheckMessage)
    // LRESULT OnGetCheckMessage(WPARAM, LPARAM)
    ON_MESSAGE(BM_GETCHECK, OnGetCheckMessage)
END_MESSAGE_MAP()

// ---- Construction and destruction --------------------------------------------------------------

// m_state starts with the values its own members give it.
CDrawButton::CDrawButton()
    : m_embossDisabledBitmap(TRUE),
      m_copyParentBackground(FALSE),
      m_colors(),
      m_menuOwner(NULL),
      m_menu(NULL),
      m_hoverCursor(NULL),
      m_previousBitmap(NULL),
      m_link(),
      m_icons(),
      m_bitmaps(),
      m_menuNotify(),
      m_bevelReported(FALSE)
{
    ReleaseImages(FALSE);
    SetPressShift(PressShiftDiagonal, FALSE);
    ResetColors(FALSE);
    SetLink(NULL);
}

CDrawButton::~CDrawButton()
{
    ReleaseSnapshot();
    ReleaseImages(TRUE);
    if (m_hoverCursor != NULL)
        ::DestroyCursor(m_hoverCursor);
    m_hoverCursor = NULL;
    if (m_menu != NULL)
        ::DestroyMenu(m_menu);
    m_menu = NULL;
    // The tooltip is owned by the dialog's window too, and may have gone with it already.
    if (m_tooltip.m_hWnd != NULL && ::IsWindow(m_tooltip.m_hWnd))
        m_tooltip.DestroyWindow();
}

// ---- Setters ---------------------------------------------------------------------------------

void CDrawButton::Repaint(BOOL repaint)
{
    if (repaint && m_hWnd != NULL)
        ::InvalidateRect(m_hWnd, NULL, TRUE);
}

DWORD CDrawButton::RepaintIfDone(DWORD result, BOOL repaint)
{
    Repaint(repaint && result == drawbutton::ResultDone);
    return result;
}

DWORD CDrawButton::SetImageAlign(BYTE align, BOOL repaint)
{
    return RepaintIfDone(drawbutton::SetImageAlign(m_state, align), repaint);
}

DWORD CDrawButton::SetFocusRectWhenFlat(BOOL draw, BOOL repaint)
{
    m_state.m_focusRectWhenFlat = draw;
    Repaint(repaint);
    return drawbutton::ResultDone;
}

DWORD CDrawButton::SetPressShift(BYTE style, BOOL repaint)
{
    return RepaintIfDone(drawbutton::SetPressShift(m_state, style), repaint);
}

DWORD CDrawButton::SetChecked(int check, BOOL repaint)
{
    if (m_state.m_checkMode) {
        m_state.m_checked = check != 0;
        Repaint(repaint);
    }
    return drawbutton::ResultDone;
}

BOOL CDrawButton::IsChecked() const
{
    return m_state.m_checked;
}

DWORD CDrawButton::ResetColors(BOOL repaint)
{
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE), text = ::GetSysColor(COLOR_BTNTEXT);
    for (int slot = ColorHotBack; slot <= ColorFocusText; slot += 2) {
        m_colors[slot] = face;
        m_colors[slot + 1] = text;
    }
    Repaint(repaint);
    return drawbutton::ResultDone;
}

DWORD CDrawButton::SetSystemLook(BOOL on, BOOL repaint)
{
    m_state.m_systemLook = on;
    if (on)
        m_state.m_hot = FALSE;   // the 3-D look has no hot state, and a lit face would come back lit
    Repaint(repaint);
    return drawbutton::ResultDone;
}

// ---- Subclass, default-button and check protocol -----------------------------------------------

void CDrawButton::PreSubclassWindow()
{
    const DWORD style = GetStyle();
    if (drawbutton::IsCheckBoxType(style))
        m_state.m_checkMode = TRUE;
    if (drawbutton::IsDefPushButtonType(style))
        m_state.m_isDefault = TRUE;
    ModifyStyle(drawbutton::ButtonTypeMask, BS_OWNERDRAW, SWP_FRAMECHANGED);
    CButton::PreSubclassWindow();
}

UINT CDrawButton::OnGetDlgCode()
{
    return drawbutton::DialogCode(CButton::OnGetDlgCode(), m_state.m_isDefault);
}

LRESULT CDrawButton::OnSetStyleMessage(WPARAM wParam, LPARAM lParam)
{
    switch (drawbutton::DefaultChangeForStyle(wParam)) {
    case drawbutton::DefaultChange::Set:
        m_state.m_isDefault = TRUE;
        break;
    case drawbutton::DefaultChange::Clear:
        m_state.m_isDefault = FALSE;
        break;
    case drawbutton::DefaultChange::Keep:
        break;
    }
    return DefWindowProc(BM_SETSTYLE, drawbutton::OwnerDrawStyle(wParam), lParam);
}

LRESULT CDrawButton::OnSetCheckMessage(WPARAM wParam, LPARAM)
{
    SetChecked(drawbutton::CheckFromSetCheck(wParam) ? 1 : 0, TRUE);
    return 0;
}

LRESULT CDrawButton::OnGetCheckMessage(WPARAM, LPARAM)
{
    return IsChecked();
}

HBRUSH CDrawButton::CtlColor(CDC*, UINT)
{
    return (HBRUSH)::GetStockObject(NULL_BRUSH);
}

void CDrawButton::OnSysColorChange()
{
    CButton::OnSysColorChange();
    ReleaseSnapshot();   // the next paint takes a new one
    ResetColors(TRUE);
}

// ---- Tooltip -----------------------------------------------------------------------------------

BOOL CDrawButton::PreTranslateMessage(MSG* msg)
{
    EnsureTooltip();
    m_tooltip.RelayEvent(msg);
    // An owner-drawn button would report the second click of a double click as BN_DOUBLECLICKED;
    // as a button-down it is an ordinary click.
    if (msg->message == WM_LBUTTONDBLCLK)
        msg->message = WM_LBUTTONDOWN;
    return CButton::PreTranslateMessage(msg);
}

void CDrawButton::EnsureTooltip()
{
    if (m_tooltip.m_hWnd != NULL)
        return;
    if (!m_tooltip.Create(this, 0))
        return;
    m_tooltip.Activate(FALSE);
    m_tooltip.SetMaxTipWidth(ScaleToSystemDpi(400));
}

// ---- Hot state ---------------------------------------------------------------------------------

void CDrawButton::LeaveHot()
{
    Repaint(drawbutton::LeaveHot(m_state).repaint);
}

void CDrawButton::OnMouseMove(UINT flags, CPoint point)
{
    CButton::OnMouseMove(flags, point);

    ClientToScreen(&point);
    const drawbutton::HotStep step = drawbutton::OnMouseMove(
        m_state, {(flags & MK_LBUTTON) != 0, ::WindowFromPoint(point) == m_hWnd, ::GetActiveWindow() != NULL});
    Repaint(step.repaint);
    if (step.trackLeave) {
        // The structure's own size: with any other, the call fails and no WM_MOUSELEAVE comes.
        TRACKMOUSEEVENT track = {};
        track.cbSize = sizeof(TRACKMOUSEEVENT);
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = m_hWnd;
        ::_TrackMouseEvent(&track);
    }
}

LRESULT CDrawButton::OnMouseLeaveMessage(WPARAM, LPARAM)
{
    LeaveHot();
    return 0;
}

void CDrawButton::OnKillFocus(CWnd* newFocus)
{
    CButton::OnKillFocus(newFocus);
    LeaveHot();
}

void CDrawButton::OnCancelMode()
{
    CButton::OnCancelMode();
    LeaveHot();
}

void CDrawButton::OnActivate(UINT state, CWnd* other, BOOL minimized)
{
    CButton::OnActivate(state, other, minimized);
    if (state == WA_INACTIVE)
        LeaveHot();
}

void CDrawButton::OnEnable(BOOL enable)
{
    CButton::OnEnable(enable);
    if (enable)
        return;
    // The focus leaves a disabled button, whichever control had it.
    HWND parent = ::GetParent(m_hWnd);
    HWND next = ::GetNextDlgTabItem(parent, m_hWnd, FALSE);
    ::SetFocus(next != NULL ? next : parent);
    LeaveHot();
}

BOOL CDrawButton::OnSetCursor(CWnd* wnd, UINT hitTest, UINT mouseMessage)
{
    if (m_hoverCursor != NULL) {
        ::SetCursor(m_hoverCursor);
        return TRUE;
    }
    return CButton::OnSetCursor(wnd, hitTest, mouseMessage);
}

// ---- Click -------------------------------------------------------------------------------------

BOOL CDrawButton::OnClicked()
{
    SetFocus();
    if (m_state.m_checkMode) {
        m_state.m_checked = !m_state.m_checked;
        Repaint(TRUE);
    } else if (m_menu != NULL) {
        OpenDropDownMenu();
    } else if (m_link[0] != '\0') {
        OpenLink();
    }
    return FALSE;   // the parent still receives BN_CLICKED
}

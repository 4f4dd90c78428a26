// CDrawButton's options beyond the look it starts with: the flat or 3-D look, single colour slots,
// the copy of the parent's background, a cursor and a tooltip text of its own. A file of its own,
// so that a program that keeps the defaults links none of it.
#include "controls/DrawButton.h"

DWORD CDrawButton::SetFlatLook(BOOL flat, BOOL repaint)
{
    m_state.m_flatLook = flat;
    if (!flat)
        m_state.m_hot = FALSE;   // the 3-D look has no hot state
    Repaint(repaint);
    return drawbutton::ResultDone;
}

DWORD CDrawButton::SetColor(int slot, COLORREF color, BOOL repaint)
{
    if (slot < ColorHotBack || slot >= drawbutton::ColorSlotCount)
        return drawbutton::ResultBadColorSlot;
    m_colors[slot] = color;
    Repaint(repaint);
    return drawbutton::ResultDone;
}

DWORD CDrawButton::SetCopyParentBackground(BOOL copy, BOOL repaint)
{
    m_copyParentBackground = copy;
    ReleaseSnapshot();   // the next paint copies what the parent shows then
    Repaint(repaint);
    return drawbutton::ResultDone;
}

DWORD CDrawButton::SetHoverCursor(HCURSOR cursor, BOOL repaint)
{
    if (m_hoverCursor != NULL && m_hoverCursor != cursor)
        ::DestroyCursor(m_hoverCursor);
    m_hoverCursor = cursor;
    Repaint(repaint);
    return drawbutton::ResultDone;
}

DWORD CDrawButton::SetTooltipText(LPCSTR text, BOOL repaint)
{
    if (m_hWnd != NULL)
        EnsureTooltip();
    if (m_tooltip.m_hWnd != NULL) {
        // The whole button is the one tool, named by its window; the tooltip keeps a copy of the text.
        AfxWideString wide = AfxTextToWide(text);
        TTTOOLINFOW tool = {};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;   // a size every version of the common controls takes
        tool.uFlags = TTF_IDISHWND;
        tool.hwnd = ::GetParent(m_hWnd);
        tool.uId = (UINT_PTR)m_hWnd;
        tool.lpszText = AfxWideBuffer(wide);
        m_tooltip.SendMessage(TTM_DELTOOLW, 0, (LPARAM)&tool);
        if (!wide.empty())
            m_tooltip.SendMessage(TTM_ADDTOOLW, 0, (LPARAM)&tool);
        m_tooltip.Activate(!wide.empty());
    }
    Repaint(repaint);
    return drawbutton::ResultDone;
}

// CDrawButton's paint: the plan, then the five steps in order (background, border, icon, bitmap,
// caption) and the focus rectangle; the steps of background, border and caption, and the 3-D bevel.
#include "controls/DrawButton.h"

#include "controls/DisplayScale.h"

namespace {

// Frames rect with a one-pixel solid brush of color; nothing when the brush is refused.
void FrameSolid(CDC* dc, const RECT& rect, COLORREF color)
{
    CBrush brush;
    if (brush.CreateSolidBrush(color))
        dc->FrameRect(&rect, &brush);
}

}  // namespace

void CDrawButton::DrawItem(LPDRAWITEMSTRUCT drawItem)
{
    CDC* dc = CDC::FromHandle(drawItem->hDC);
    if (dc == nullptr)
        return;
    const drawbutton::PaintPlan plan = drawbutton::PlanPaint(m_state, drawItem->itemState, m_menu != NULL);

    CRect work(drawItem->rcItem);
    dc->SetBkMode(TRANSPARENT);

    if (plan.blackFrame) {
        FrameSolid(dc, work, m_state.m_systemLook ? ::GetSysColor(COLOR_WINDOWFRAME) : RGB(0, 0, 0));
        work.DeflateRect(1, 1);
    }

    if (m_state.m_systemLook)
        CDrawButton::DrawFaceBackground(dc, &work);   // plain, whatever a subclass paints
    else if (m_copyParentBackground)
        CopyParentBackground(dc);
    else
        DrawFaceBackground(dc, &work);

    switch (plan.border) {
    case drawbutton::Border::Face:
        DrawFaceBorder(dc, &work);
        break;
    case drawbutton::Border::ShadowFrame:
        FrameSolid(dc, work, ::GetSysColor(COLOR_BTNSHADOW));
        break;
    case drawbutton::Border::RaisedBevel:
        DrawRaisedBevel(dc, work);
        break;
    case drawbutton::Border::None:
        break;
    }

    CString text;
    GetWindowText(text);
    const BOOL hasText = !text.IsEmpty();
    CRect caption(drawItem->rcItem);

    if (m_icons[0].icon != NULL)
        DrawFaceIcon(dc, hasText, &drawItem->rcItem, &caption, m_state.m_drawPressed, m_state.m_drawDisabled);
    if (m_bitmaps[0].image != NULL) {
        dc->SetBkColor(RGB(255, 255, 255));
        DrawFaceBitmap(dc, hasText, &drawItem->rcItem, &caption, m_state.m_drawPressed, m_state.m_drawDisabled);
    }
    if (hasText)
        DrawFaceText(dc, text, &drawItem->rcItem, &caption, m_state.m_drawPressed, m_state.m_drawDisabled);

    if (plan.focusRect) {
        CRect focus(work);
        const int inset = ScaleToSystemDpi(3);
        focus.DeflateRect(inset, inset);
        dc->DrawFocusRect(&focus);
    }
}

void CDrawButton::DrawRaisedBevel(CDC* dc, const CRect& rect)
{
    // The pens in the order of drawbutton::BevelLine::Pen.
    static const int kColors[4] = {COLOR_BTNHIGHLIGHT, COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_BTNSHADOW};
    CPen pens[4];
    bool made = true;
    for (int pen = 0; pen < 4 && made; ++pen)
        made = pens[pen].CreatePen(PS_SOLID, 0, ::GetSysColor(kColors[pen])) != FALSE;
    if (!made) {
        // Reported once: every paint would report again, and each report's end brings a repaint.
        if (!m_bevelReported) {
            m_bevelReported = TRUE;
            CResourceException().ReportError(MB_OK);
        }
        // The same two frames, drawn with fills that need no pen.
        CRect inner(rect);
        dc->Draw3dRect(&inner, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_3DDKSHADOW));
        inner.DeflateRect(1, 1);
        dc->Draw3dRect(&inner, ::GetSysColor(COLOR_3DLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
        return;
    }
    drawbutton::BevelLine lines[4];
    drawbutton::RaisedBevel(drawbutton::Rect::From(rect), lines);
    for (const drawbutton::BevelLine& line : lines) {
        // Each line's pen leaves the context with the line, before the pens die with this call.
        CScopedSelect pen(dc, &pens[line.pen]);
        dc->MoveTo(line.points[0].x, line.points[0].y);
        dc->LineTo(line.points[1].x, line.points[1].y);
        dc->LineTo(line.points[2].x, line.points[2].y);
    }
}

DWORD CDrawButton::DrawFaceBackground(CDC* dc, CRect* rect)
{
    CBrush brush;
    if (brush.CreateSolidBrush(m_colors[drawbutton::BackgroundSlot(m_state)]))
        dc->FillRect(rect, &brush);
    return 0;
}

DWORD CDrawButton::DrawFaceBorder(CDC* dc, CRect* rect)
{
    if (m_state.m_drawPressed)
        dc->Draw3dRect(rect, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    else
        dc->Draw3dRect(rect, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
    return 0;
}

DWORD CDrawButton::DrawFaceText(CDC* dc, LPCSTR text, const RECT*, RECT* caption, BOOL pressed,
                                BOOL disabled)
{
    const UINT format = DT_WORDBREAK | DT_CENTER;
    if (pressed && !m_state.m_checkMode)
        ::OffsetRect(caption, m_state.m_pressShiftX, m_state.m_pressShiftY);
    const drawbutton::Rect available = drawbutton::Rect::From(*caption);
    dc->DrawText(text, -1, caption, format | DT_CALCRECT);
    drawbutton::CentreCaption(available, drawbutton::Rect::From(*caption)).To(caption);
    dc->SetBkMode(TRANSPARENT);

    if (disabled) {
        // Embossed: the highlight one pixel right and down, the shadow in place over it.
        ::OffsetRect(caption, 1, 1);
        dc->SetTextColor(::GetSysColor(COLOR_BTNHIGHLIGHT));
        dc->DrawText(text, -1, caption, format);
        ::OffsetRect(caption, -1, -1);
        dc->SetTextColor(::GetSysColor(COLOR_BTNSHADOW));
        dc->DrawText(text, -1, caption, format);
        return 0;
    }

    const drawbutton::TextSlots slots = drawbutton::TextColorSlots(m_state);
    dc->SetTextColor(m_colors[slots.text]);
    dc->SetBkColor(m_colors[slots.back]);
    dc->DrawText(text, -1, caption, format);
    return 0;
}

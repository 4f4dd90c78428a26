// CDrawButton: subclassing, the default-button protocol, hot tracking, painting through the five
// steps, images, the drop-down menu and the link. The rules themselves are in DrawButton_core.
#include "controls/DrawButton.h"

#include <shellapi.h>
#include <mbstring.h>

#include <cstddef>
#include <cstring>

#include "controls/DisplayScale.h"
#include "controls/DrawButton_core.h"

// The rules by name, one by one: the ones named like members (LeaveHot, OnMouseMove, PlaceImage) are
// always written drawbutton::.
using drawbutton::BackgroundSlot;
using drawbutton::BevelLine;
using drawbutton::Border;
using drawbutton::ButtonTypeMask;
using drawbutton::CentreCaption;
using drawbutton::CheckFromSetCheck;
using drawbutton::CheckImageAlign;
using drawbutton::ChooseImageSlot;
using drawbutton::DefaultChange;
using drawbutton::DefaultChangeForStyle;
using drawbutton::DialogCode;
using drawbutton::HotStep;
using drawbutton::IsCheckBoxType;
using drawbutton::IsDefPushButtonType;
using drawbutton::MenuCommandParam;
using drawbutton::MenuCommandPosts;
using drawbutton::MouseMoveFacts;
using drawbutton::OwnerDrawStyle;
using drawbutton::PaintFacts;
using drawbutton::PaintPlan;
using drawbutton::PlaceInput;
using drawbutton::Placement;
using drawbutton::PlanPaint;
using drawbutton::PressShiftFor;
using drawbutton::RaisedBevel;
using drawbutton::ResultDone;
using drawbutton::Shift;
using drawbutton::TextColorSlots;
using drawbutton::TextSlots;

static_assert(sizeof(drawbutton::Rect) == sizeof(RECT) && offsetof(RECT, bottom) == 12,
              "the rules' rectangle is laid out as RECT");

namespace {

drawbutton::Rect ToCore(const RECT& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

void FromCore(const drawbutton::Rect& from, RECT* to)
{
    ::SetRect(to, from.left, from.top, from.right, from.bottom);
}

// Frames rect with a one-pixel solid brush of color, made and deleted for this call.
void FrameSolid(CDC* dc, const RECT& rect, COLORREF color)
{
    CBrush brush;
    if (brush.CreateSolidBrush(color))
        dc->FrameRect(&rect, &brush);
}

// The size of an icon: its colour bitmap's, or half the height of a monochrome icon's mask.
void IconSize(HICON icon, DWORD* width, DWORD* height)
{
    *width = *height = 0;
    ICONINFO info = {};
    if (icon == NULL || !::GetIconInfo(icon, &info))
        return;
    BITMAP bm = {};
    if (info.hbmColor != NULL && ::GetObjectA(info.hbmColor, sizeof bm, &bm)) {
        *width = (DWORD)bm.bmWidth;
        *height = (DWORD)bm.bmHeight;
    } else if (info.hbmMask != NULL && ::GetObjectA(info.hbmMask, sizeof bm, &bm)) {
        *width = (DWORD)bm.bmWidth;
        *height = (DWORD)bm.bmHeight / 2;
    }
    if (info.hbmColor != NULL)
        ::DeleteObject(info.hbmColor);
    if (info.hbmMask != NULL)
        ::DeleteObject(info.hbmMask);
}

// Fills a bitmap slot from an image whose pixels of colour transparent are to show the face: makes
// the monochrome mask (white there) and turns those pixels of the image black.
void FillBitmapSlot(ButtonBitmap* slot, HBITMAP image, COLORREF transparent)
{
    *slot = ButtonBitmap{};
    BITMAP bm = {};
    if (image == NULL || ::GetObjectType(image) != OBJ_BITMAP || !::GetObjectA(image, sizeof bm, &bm))
        return;
    const int width = bm.bmWidth, height = bm.bmHeight;
    HBITMAP mask = ::CreateBitmap(width, height, 1, 1, NULL);
    CDC imageDC, maskDC;
    if (mask == NULL || !imageDC.CreateCompatibleDC(nullptr) || !maskDC.CreateCompatibleDC(nullptr)) {
        if (mask != NULL)
            ::DeleteObject(mask);
        return;
    }
    {
        CScopedSelect selectImage(imageDC, image);
        CScopedSelect selectMask(maskDC, mask);
        // Colour to monochrome: pixels of the source's background colour become white.
        ::SetBkColor(imageDC, transparent);
        ::BitBlt(maskDC, 0, 0, width, height, imageDC, 0, 0, SRCCOPY);
        // Monochrome to colour: white gives the destination's background colour (black), black its
        // text colour (white), so SRCAND blackens the transparent pixels and keeps the rest.
        ::SetBkColor(imageDC, RGB(0, 0, 0));
        ::SetTextColor(imageDC, RGB(255, 255, 255));
        ::BitBlt(imageDC, 0, 0, width, height, maskDC, 0, 0, SRCAND);
    }
    *slot = ButtonBitmap{image, (DWORD)width, (DWORD)height, mask};
}

}  // namespace

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

CDrawButton::CDrawButton()
    : m_embossDisabledBitmap(TRUE),
      m_imageMarginX(3),
      m_imageMarginY(3),
      m_pressShiftX(1),
      m_pressShiftY(1),
      m_flatLook(TRUE),
      m_hot(FALSE),
      m_copyParentBackground(FALSE),
      m_drawPressed(FALSE),
      m_drawFocused(FALSE),
      m_drawDisabled(FALSE),
      m_isDefault(FALSE),
      m_checkMode(FALSE),
      m_imageAlign(ImageLeft),
      m_flatBorder(TRUE),
      m_focusRectWhenFlat(FALSE),
      m_colors(),
      m_menuOwner(NULL),
      m_menuShown(FALSE),
      m_menu(NULL),
      m_hoverCursor(NULL),
      m_previousBitmap(NULL),
      m_hoverWhenInactive(TRUE),
      m_checked(FALSE),
      m_link(),
      m_icons(),
      m_bitmaps(),
      m_menuNotify(),
      m_systemLook(FALSE),
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

DWORD CDrawButton::SetImageAlign(BYTE align, BOOL repaint)
{
    const DWORD result = CheckImageAlign(align);
    if (result != ResultDone)
        return result;
    m_imageAlign = align;
    Repaint(repaint);
    return ResultDone;
}

DWORD CDrawButton::SetFocusRectWhenFlat(BOOL draw, BOOL repaint)
{
    m_focusRectWhenFlat = draw;
    Repaint(repaint);
    return ResultDone;
}

DWORD CDrawButton::SetPressShift(BYTE style, BOOL repaint)
{
    Shift shift = {m_pressShiftX, m_pressShiftY};
    const DWORD result = PressShiftFor(style, &shift);
    if (result != ResultDone)
        return result;
    m_pressShiftX = shift.x;
    m_pressShiftY = shift.y;
    Repaint(repaint);
    return ResultDone;
}

DWORD CDrawButton::SetChecked(int check, BOOL repaint)
{
    if (m_checkMode) {
        m_checked = check != 0;
        Repaint(repaint);
    }
    return ResultDone;
}

BOOL CDrawButton::IsChecked() const
{
    return m_checked;
}

DWORD CDrawButton::ResetColors(BOOL repaint)
{
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE), text = ::GetSysColor(COLOR_BTNTEXT);
    for (int slot = ColorHotBack; slot <= ColorFocusText; slot += 2) {
        m_colors[slot] = face;
        m_colors[slot + 1] = text;
    }
    Repaint(repaint);
    return ResultDone;
}

DWORD CDrawButton::SetLink(LPCSTR link)
{
    std::memset(m_link, 0, sizeof m_link);
    if (link != NULL)
        ::_mbsnbcpy((unsigned char*)m_link, (const unsigned char*)link, sizeof m_link - 1);
    return ResultDone;
}

DWORD CDrawButton::SetSystemLook(BOOL on, BOOL repaint)
{
    m_systemLook = on;
    if (on)
        m_hot = FALSE;   // the 3-D look has no hot state, and a lit face would come back lit
    Repaint(repaint);
    return ResultDone;
}

DWORD CDrawButton::SetIcons(HICON hotIcon, HICON normalIcon, BOOL repaint)
{
    // One handle given for both slots is held once, in the hot slot, which serves the normal state too:
    // held twice, it would be destroyed twice.
    const HICON icons[2] = {hotIcon, normalIcon != hotIcon ? normalIcon : NULL};
    for (int slot = 0; slot < 2; ++slot) {
        ButtonIcon& held = m_icons[slot];
        if (held.icon != NULL && held.icon != icons[0] && held.icon != icons[1])
            ::DestroyIcon(held.icon);
        held = ButtonIcon{icons[slot], 0, 0};
        IconSize(icons[slot], &held.width, &held.height);
    }
    Repaint(repaint);
    return ResultDone;
}

DWORD CDrawButton::SetBitmaps(HBITMAP hotBitmap, COLORREF hotTransparent, HBITMAP normalBitmap,
                              COLORREF normalTransparent, BOOL repaint)
{
    // As with the icons: a bitmap given for both slots is held (and masked) once.
    const HBITMAP images[2] = {hotBitmap, normalBitmap != hotBitmap ? normalBitmap : NULL};
    const COLORREF transparent[2] = {hotTransparent, normalTransparent};
    for (int slot = 0; slot < 2; ++slot) {
        ButtonBitmap& held = m_bitmaps[slot];
        if (held.image != NULL && held.image != images[0] && held.image != images[1])
            ::DeleteObject(held.image);
        if (held.mask != NULL)
            ::DeleteObject(held.mask);
        FillBitmapSlot(&held, images[slot], transparent[slot]);
    }
    Repaint(repaint);
    return ResultDone;
}

DWORD CDrawButton::SetDropDownMenu(HMENU menu, HWND owner, BOOL repaint)
{
    if (m_menu != NULL && m_menu != menu)
        ::DestroyMenu(m_menu);
    m_menu = menu;
    if (owner == NULL && m_hWnd != NULL)
        owner = ::GetParent(m_hWnd);
    m_menuOwner = owner;
    Repaint(repaint);
    return ResultDone;
}

DWORD CDrawButton::SetMenuNotify(HWND window, UINT message, LPARAM value)
{
    m_menuNotify = MenuNotify{window, message, value};
    return ResultDone;
}

void CDrawButton::ReleaseImages(BOOL destroy)
{
    if (destroy) {
        for (const ButtonIcon& slot : m_icons)
            if (slot.icon != NULL)
                ::DestroyIcon(slot.icon);
        for (const ButtonBitmap& slot : m_bitmaps)
            if (slot.image != NULL)
                ::DeleteObject(slot.image);
        for (const ButtonBitmap& slot : m_bitmaps)
            if (slot.mask != NULL)
                ::DeleteObject(slot.mask);
    }
    for (ButtonIcon& slot : m_icons)
        slot = ButtonIcon{};
    for (ButtonBitmap& slot : m_bitmaps)
        slot = ButtonBitmap{};
}

// ---- Framework overrides -----------------------------------------------------------------------

void CDrawButton::PreSubclassWindow()
{
    const DWORD style = (DWORD)::GetWindowLongA(m_hWnd, GWL_STYLE);
    if (IsCheckBoxType(style))
        m_checkMode = TRUE;
    if (IsDefPushButtonType(style))
        m_isDefault = TRUE;
    ModifyStyle(ButtonTypeMask, BS_OWNERDRAW, SWP_FRAMECHANGED);
    CButton::PreSubclassWindow();
}

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

// ---- Painting ----------------------------------------------------------------------------------

void CDrawButton::DrawItem(LPDRAWITEMSTRUCT drawItem)
{
    CDC* dc = CDC::FromHandle(drawItem->hDC);
    if (dc == nullptr)
        return;

    PaintFacts facts = {};
    facts.itemState = drawItem->itemState;
    facts.checkMode = m_checkMode != FALSE;
    facts.checked = m_checked != FALSE;
    facts.menuSet = m_menu != NULL;
    facts.menuShown = m_menuShown != FALSE;
    facts.hot = m_hot != FALSE;
    facts.flatLook = ShowsFlatLook();
    facts.flatBorder = m_flatBorder != FALSE;
    facts.focusRectWhenFlat = m_focusRectWhenFlat != FALSE;
    facts.isDefault = m_isDefault != FALSE;
    const PaintPlan plan = PlanPaint(facts);
    m_drawPressed = plan.pressed;
    m_drawFocused = plan.focused;
    m_drawDisabled = plan.disabled;

    CRect work(drawItem->rcItem);
    dc->SetBkMode(TRANSPARENT);

    if (plan.blackFrame) {
        FrameSolid(dc, work, m_systemLook ? ::GetSysColor(COLOR_WINDOWFRAME) : RGB(0, 0, 0));
        work.DeflateRect(1, 1);
    }

    if (m_systemLook)
        CDrawButton::DrawFaceBackground(dc, &work);   // plain, whatever a subclass paints
    else if (m_copyParentBackground)
        CopyParentBackground(dc);
    else
        DrawFaceBackground(dc, &work);

    switch (plan.border) {
    case Border::Face:
        DrawFaceBorder(dc, &work);
        break;
    case Border::ShadowFrame:
        FrameSolid(dc, work, ::GetSysColor(COLOR_BTNSHADOW));
        break;
    case Border::RaisedBevel:
        DrawRaisedBevel(dc, work);
        break;
    case Border::None:
        break;
    }

    CString text;
    GetWindowText(text);
    const BOOL hasText = !text.IsEmpty();
    CRect caption(drawItem->rcItem);

    if (m_icons[0].icon != NULL)
        DrawFaceIcon(dc, hasText, &drawItem->rcItem, &caption, m_drawPressed, m_drawDisabled);
    if (m_bitmaps[0].image != NULL) {
        dc->SetBkColor(RGB(255, 255, 255));
        DrawFaceBitmap(dc, hasText, &drawItem->rcItem, &caption, m_drawPressed, m_drawDisabled);
    }
    if (hasText)
        DrawFaceText(dc, text, &drawItem->rcItem, &caption, m_drawPressed, m_drawDisabled);

    if (plan.focusRect) {
        CRect focus(work);
        const int inset = ScaleToSystemDpi(3);
        focus.DeflateRect(inset, inset);
        dc->DrawFocusRect(&focus);
    }
}

void CDrawButton::DrawRaisedBevel(CDC* dc, const CRect& rect)
{
    try {
        CPen highlight(PS_SOLID, 0, ::GetSysColor(COLOR_BTNHIGHLIGHT));
        CPen light(PS_SOLID, 0, ::GetSysColor(COLOR_3DLIGHT));
        CPen shadow(PS_SOLID, 0, ::GetSysColor(COLOR_BTNSHADOW));
        CPen darkShadow(PS_SOLID, 0, ::GetSysColor(COLOR_3DDKSHADOW));
        CPen* pens[4] = {};
        pens[BevelLine::Highlight] = &highlight;
        pens[BevelLine::Light] = &light;
        pens[BevelLine::DarkShadow] = &darkShadow;
        pens[BevelLine::Shadow] = &shadow;

        BevelLine lines[4];
        RaisedBevel(ToCore(rect), lines);
        for (const BevelLine& line : lines) {
            // Each line's pen leaves the context with the line, before the pens die with this block.
            CScopedSelect pen(dc, pens[line.pen]);
            dc->MoveTo(line.points[0].x, line.points[0].y);
            dc->LineTo(line.points[1].x, line.points[1].y);
            dc->LineTo(line.points[2].x, line.points[2].y);
        }
    } catch (CException* e) {
        // Reported once: every paint would report again, and each report's end brings a repaint.
        if (!m_bevelReported) {
            m_bevelReported = TRUE;
            e->ReportError(MB_OK);
        }
        e->Delete();
        // The same two frames, drawn with fills that need no pen.
        CRect inner(rect);
        dc->Draw3dRect(&inner, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_3DDKSHADOW));
        inner.DeflateRect(1, 1);
        dc->Draw3dRect(&inner, ::GetSysColor(COLOR_3DLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
    }
}

DWORD CDrawButton::DrawFaceBackground(CDC* dc, CRect* rect)
{
    const int slot = BackgroundSlot(m_hot != FALSE, m_drawPressed != FALSE, m_drawFocused != FALSE);
    HBRUSH brush = ::CreateSolidBrush(m_colors[slot]);
    if (brush != NULL) {
        ::FillRect(dc->m_hDC, rect, brush);
        ::DeleteObject(brush);
    }
    return 0;
}

DWORD CDrawButton::DrawFaceBorder(CDC* dc, CRect* rect)
{
    if (m_drawPressed)
        dc->Draw3dRect(rect, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    else
        dc->Draw3dRect(rect, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
    return 0;
}

DWORD CDrawButton::DrawFaceText(CDC* dc, LPCSTR text, const RECT*, RECT* caption, BOOL,
                                BOOL disabled)
{
    const UINT format = DT_WORDBREAK | DT_CENTER;
    if (m_drawPressed && !m_checkMode)
        ::OffsetRect(caption, m_pressShiftX, m_pressShiftY);
    const drawbutton::Rect available = ToCore(*caption);
    dc->DrawText(text, -1, caption, format | DT_CALCRECT);
    FromCore(CentreCaption(available, ToCore(*caption)), caption);
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

    const TextSlots slots = TextColorSlots(m_hot != FALSE, m_drawPressed != FALSE);
    dc->SetTextColor(m_colors[slots.text]);
    dc->SetBkColor(m_colors[slots.back]);
    dc->DrawText(text, -1, caption, format);
    return 0;
}

void CDrawButton::PlaceImage(BOOL hasText, const RECT* item, RECT* caption, BOOL pressed,
                             DWORD width, DWORD height, RECT* image)
{
    RECT client = {};
    GetClientRect(&client);
    PlaceInput in = {};
    in.align = m_imageAlign;
    in.hasText = hasText != FALSE;
    in.item = ToCore(*item);
    in.caption = ToCore(*caption);
    in.pressed = pressed != FALSE;
    in.checkMode = m_checkMode != FALSE;
    in.width = (int32_t)width;
    in.height = (int32_t)height;
    // The margins are pixels at 96 DPI. The press shift stays as set: like the one-pixel frame
    // lines it is no length of the layout, and the pressed face moves by one pixel at every scale.
    in.marginX = ScaleToSystemDpi(m_imageMarginX);
    in.marginY = ScaleToSystemDpi(m_imageMarginY);
    in.pressShift = {m_pressShiftX, m_pressShiftY};
    in.clientRight = client.right;
    const Placement out = drawbutton::PlaceImage(in);
    FromCore(out.image, image);
    FromCore(out.caption, caption);
}

int CDrawButton::ChooseIconSlot(BOOL pressed) const
{
    return ChooseImageSlot(m_checkMode != FALSE, pressed != FALSE, m_hot != FALSE,
                           m_icons[1].icon != NULL);
}

int CDrawButton::ChooseBitmapSlot(BOOL pressed) const
{
    return ChooseImageSlot(m_checkMode != FALSE, pressed != FALSE, m_hot != FALSE,
                           m_bitmaps[1].image != NULL);
}

DWORD CDrawButton::DrawFaceIcon(CDC* dc, BOOL hasText, const RECT* item, RECT* caption,
                                BOOL pressed, BOOL disabled)
{
    const ButtonIcon& slot = m_icons[ChooseIconSlot(pressed)];
    RECT place = {};
    PlaceImage(hasText, item, caption, pressed, slot.width, slot.height, &place);
    ::DrawStateA(dc->m_hDC, NULL, NULL, (LPARAM)slot.icon, 0, place.left, place.top,
                 place.right - place.left, place.bottom - place.top,
                 DST_ICON | (disabled ? DSS_DISABLED : DSS_NORMAL));
    return 0;
}

DWORD CDrawButton::DrawFaceBitmap(CDC* dc, BOOL hasText, const RECT* item, RECT* caption,
                                  BOOL pressed, BOOL disabled)
{
    const ButtonBitmap& slot = m_bitmaps[ChooseBitmapSlot(pressed)];
    RECT place = {};
    PlaceImage(hasText, item, caption, pressed, slot.width, slot.height, &place);
    const int width = (int)slot.width, height = (int)slot.height;

    CDC imageDC, maskDC;
    imageDC.CreateCompatibleDC(dc);
    maskDC.CreateCompatibleDC(nullptr);
    CScopedSelect selectImage(imageDC, slot.image);
    CScopedSelect selectMask(maskDC, slot.mask);

    if (disabled && m_embossDisabledBitmap) {
        // The image on white in a bitmap of its own, drawn in the system's disabled style.
        HBITMAP temp = ::CreateCompatibleBitmap(dc->m_hDC, width, height);
        {
            CDC tempDC;
            tempDC.CreateCompatibleDC(dc);
            CScopedSelect selectTemp(tempDC, temp);   // out again before DrawState takes the bitmap
            RECT whole = {0, 0, width, height};
            ::FillRect(tempDC, &whole, (HBRUSH)::GetStockObject(WHITE_BRUSH));
            ::SetBkColor(tempDC, RGB(255, 255, 255));
            ::BitBlt(tempDC, 0, 0, width, height, maskDC, 0, 0, SRCAND);
            ::BitBlt(tempDC, 0, 0, width, height, imageDC, 0, 0, SRCPAINT);
        }
        ::DrawStateA(dc->m_hDC, NULL, NULL, (LPARAM)temp, 0, place.left, place.top, width, height,
                     DST_BITMAP | DSS_DISABLED);
        ::DeleteObject(temp);
    } else {
        ::BitBlt(dc->m_hDC, place.left, place.top, width, height, maskDC, 0, 0, SRCAND);
        ::BitBlt(dc->m_hDC, place.left, place.top, width, height, imageDC, 0, 0, SRCPAINT);
    }
    return 0;
}

void CDrawButton::CopyParentBackground(CDC* dc)
{
    try {
        CClientDC parentDC(::GetParent(m_hWnd));
        CRect client;
        GetClientRect(&client);
        CRect window;
        GetWindowRect(&window);
        ::ScreenToClient(::GetParent(m_hWnd), (LPPOINT)&window.left);
        ::ScreenToClient(::GetParent(m_hWnd), (LPPOINT)&window.right);

        if (m_backgroundDC.m_hDC == NULL) {
            try {
                m_backgroundDC.Attach(::CreateCompatibleDC(parentDC.m_hDC));
                m_backgroundBitmap.Attach(
                    ::CreateCompatibleBitmap(parentDC.m_hDC, client.Width(), client.Height()));
                m_previousBitmap = (HBITMAP)m_backgroundDC.SelectObject(m_backgroundBitmap.m_hObject);
                m_backgroundDC.BitBlt(0, 0, client.Width(), client.Height(), &parentDC, window.left,
                                      window.top, SRCCOPY);
            } catch (CException* e) {
                e->Delete();   // the paint goes on with whatever the snapshot holds
            }
        }
        dc->BitBlt(0, 0, client.Width(), client.Height(), &m_backgroundDC, 0, 0, SRCCOPY);
    } catch (CException* e) {
        e->Delete();   // no context of the parent: nothing to copy
    }
}

void CDrawButton::ReleaseSnapshot()
{
    // A bitmap still selected into a context cannot be deleted: put the context's own one back.
    if (m_backgroundDC.m_hDC != NULL && m_previousBitmap != NULL)
        m_backgroundDC.SelectObject(m_previousBitmap);
    m_previousBitmap = NULL;
    m_backgroundBitmap.DeleteObject();
    m_backgroundDC.DeleteDC();
}

// ---- Hot state ---------------------------------------------------------------------------------

void CDrawButton::LeaveHot()
{
    const HotStep step = drawbutton::LeaveHot(m_flatLook != FALSE, m_hot != FALSE);
    m_hot = step.hot;
    Repaint(step.repaint);
}

void CDrawButton::OnMouseMove(UINT flags, CPoint point)
{
    CButton::OnMouseMove(flags, point);

    ClientToScreen(&point);
    MouseMoveFacts facts = {};
    facts.leftButtonDown = (flags & MK_LBUTTON) != 0;
    facts.flatLook = ShowsFlatLook();
    facts.pointerOverButton = ::WindowFromPoint(point) == m_hWnd;
    facts.hoverWhenInactive = m_hoverWhenInactive != FALSE;
    facts.activeWindowExists = ::GetActiveWindow() != NULL;
    const HotStep step = drawbutton::OnMouseMove(m_hot != FALSE, facts);
    m_hot = step.hot;
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

// ---- Other messages ----------------------------------------------------------------------------

BOOL CDrawButton::OnSetCursor(CWnd* wnd, UINT hitTest, UINT mouseMessage)
{
    if (m_hoverCursor != NULL) {
        ::SetCursor(m_hoverCursor);
        return TRUE;
    }
    return CButton::OnSetCursor(wnd, hitTest, mouseMessage);
}

void CDrawButton::OnSysColorChange()
{
    CButton::OnSysColorChange();
    ReleaseSnapshot();   // the next paint takes a new one
    ResetColors(TRUE);
}

UINT CDrawButton::OnGetDlgCode()
{
    return DialogCode(CButton::OnGetDlgCode(), m_isDefault != FALSE);
}

HBRUSH CDrawButton::CtlColor(CDC*, UINT)
{
    return (HBRUSH)::GetStockObject(NULL_BRUSH);
}

LRESULT CDrawButton::OnSetStyleMessage(WPARAM wParam, LPARAM lParam)
{
    switch (DefaultChangeForStyle(wParam)) {
    case DefaultChange::Set:
        m_isDefault = TRUE;
        break;
    case DefaultChange::Clear:
        m_isDefault = FALSE;
        break;
    case DefaultChange::Keep:
        break;
    }
    return DefWindowProc(BM_SETSTYLE, OwnerDrawStyle(wParam), lParam);
}

LRESULT CDrawButton::OnSetCheckMessage(WPARAM wParam, LPARAM)
{
    SetChecked(CheckFromSetCheck(wParam) ? 1 : 0, TRUE);
    return 0;
}

LRESULT CDrawButton::OnGetCheckMessage(WPARAM, LPARAM)
{
    return IsChecked();
}

// ---- Click -------------------------------------------------------------------------------------

BOOL CDrawButton::OnClicked()
{
    SetFocus();
    if (m_checkMode) {
        m_checked = !m_checked;
        Repaint(TRUE);
    } else if (m_menu != NULL) {
        OpenDropDownMenu();
    } else if (m_link[0] != '\0') {
        OpenLink();
    }
    return FALSE;   // the parent still receives BN_CLICKED
}

void CDrawButton::OpenDropDownMenu()
{
    CRect window;
    GetWindowRect(&window);
    m_menuShown = TRUE;   // drawn pressed while the menu is open
    Repaint(TRUE);

    HMENU popup = ::GetSubMenu(m_menu, 0);
    if (m_menuNotify.window != NULL)
        ::SendMessageA(m_menuNotify.window, m_menuNotify.message, (WPARAM)popup, m_menuNotify.value);
    const UINT command = (UINT)::TrackPopupMenuEx(popup, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON,
                                                  window.left, window.bottom, m_menuOwner, NULL);
    m_menuShown = FALSE;
    Repaint(TRUE);

    if (MenuCommandPosts(command))
        ::PostMessageA(m_menuOwner, WM_COMMAND, MenuCommandParam(command), 0);
}

void CDrawButton::OpenLink()
{
    // The structure's own size (112 bytes in a 64-bit program); a shorter one is refused.
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof(SHELLEXECUTEINFOA);
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.lpVerb = "open";
    info.lpFile = m_link;
    info.nShow = SW_SHOWMAXIMIZED;
    ::ShellExecuteExA(&info);
}

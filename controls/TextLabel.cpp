// CTextLabel: font setters, the reflected colour request, and the blink, click and cursor handlers.
#include "controls/TextLabel.h"

#include <shellapi.h>

static_assert(LF_FACESIZE == textlabel::FaceNameSize, "the face name rule is made for LOGFONTA");

BEGIN_MESSAGE_MAP(CTextLabel, CWnd)
    // HBRUSH CtlColor(CDC* dc, UINT ctlType)
    ON_WM_CTLCOLOR_REFLECT()
    // void OnTimer(UINT_PTR id)
    ON_WM_TIMER()
    // void OnLButtonDown(UINT flags, CPoint point)
    ON_WM_LBUTTONDOWN()
    // BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT mouseMessage)
    ON_WM_SETCURSOR()
    // void OnSysColorChange()
    ON_WM_SYSCOLORCHANGE()
END_MESSAGE_MAP()

CTextLabel::CTextLabel()
    : m_textColor(::GetSysColor(COLOR_WINDOWTEXT)),
      m_logFont(),
      m_blinkPhase(FALSE),
      m_blinkMode(BlinkNone),
      m_hoverCursor(NULL)
{
    // The label starts from the default GUI font's whole description.
    ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(m_logFont), &m_logFont);
    // A font or brush the system refuses is simply not there: the label still draws (below).
    m_font.CreateFontIndirect(&m_logFont);
    m_bkBrush.CreateSolidBrush(::GetSysColor(COLOR_BTNFACE));
    m_blinkBrush.CreateSolidBrush(::GetSysColor(COLOR_BTNFACE));
}

CTextLabel::~CTextLabel()
{
    // A control that outlives the label must not keep drawing with the font deleted here.
    if (m_hWnd != NULL && ::IsWindow(m_hWnd))
        SendMessage(WM_SETFONT, 0, FALSE);
}

CTextLabel& CTextLabel::SetLabelText(CString text)
{
    SetWindowText(text);
    return *this;
}

CTextLabel& CTextLabel::SetBoldWeight(BOOL bold)
{
    m_logFont.lfWeight = textlabel::FontWeightFor(bold);
    RebuildAndRedraw();
    return *this;
}

CTextLabel& CTextLabel::SetCharHeight(int height)
{
    m_logFont.lfHeight = textlabel::FontHeightFor(height);
    RebuildAndRedraw();
    return *this;
}

CTextLabel& CTextLabel::SetFaceName(CString faceName)
{
    // Cut to the field: a name of 32 bytes or more would otherwise run over the members behind it.
    textlabel::CopyFaceName(m_logFont.lfFaceName, faceName);
    RebuildAndRedraw();
    return *this;
}

void CTextLabel::RebuildFont()
{
    m_font.DeleteObject();
    // A font the system refuses leaves the label in its dialog's font (the template's), still readable.
    m_font.CreateFontIndirect(&m_logFont);
    // The font selected in CtlColor is what the text is drawn in where the static control selects
    // its own font before asking for colours (Windows). Wine's static control selects its own font
    // after asking, so the control is given the same font as well, without a repaint of its own.
    if (m_hWnd != NULL && ::IsWindow(m_hWnd)) {
        HGDIOBJ shown = m_font.GetSafeHandle();
        if (shown == NULL)
            shown = (HGDIOBJ)::SendMessageW(::GetParent(m_hWnd), WM_GETFONT, 0, 0);
        SendMessage(WM_SETFONT, (WPARAM)shown, FALSE);
    }
}

void CTextLabel::RebuildAndRedraw()
{
    RebuildFont();
    Redraw();
}

void CTextLabel::Redraw()
{
    // Without a window there is nothing to repaint; RedrawWindow(NULL) would repaint the desktop.
    if (m_hWnd != NULL)
        RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

HBRUSH CTextLabel::CtlColor(CDC* dc, UINT ctlType)
{
    if (ctlType == CTLCOLOR_STATIC && dc != nullptr) {
        // A font that cannot be selected leaves the context's own: the brush still answers.
        dc->SelectObject(&m_font);
        dc->SetTextColor(m_textColor);
        dc->SetBkMode(TRANSPARENT);
    }
    // A brush that is not null tells the parent that the label answered the request itself.
    return textlabel::BrushFor(m_blinkMode, m_blinkPhase != FALSE) == textlabel::LabelBrush::Blink
               ? (HBRUSH)m_blinkBrush
               : (HBRUSH)m_bkBrush;
}

void CTextLabel::OnTimer(UINT_PTR)
{
    const textlabel::BlinkTick tick = textlabel::BlinkTickFor(m_blinkMode, m_blinkPhase != FALSE);
    m_blinkPhase = tick.phase ? TRUE : FALSE;
    if (tick.text == textlabel::TextChange::Clear)
        SetWindowText("");
    else if (tick.text == textlabel::TextChange::ShowBlinkText)
        SetWindowText(m_blinkText);
    if (tick.repaint) {
        // The repaint asks for the colours again, and CtlColor picks the brush of the new phase.
        InvalidateRect(NULL, FALSE);
        UpdateWindow();
    }
    Default();
}

void CTextLabel::OnLButtonDown(UINT, CPoint)
{
    CString text;
    GetWindowText(text);
    // A text that names nothing openable has no effect; the result is not looked at. The text is
    // Windows-1252, as the captions are.
    ::ShellExecuteW(NULL, L"open", AfxWide(AfxTextToWide(text)), NULL, NULL, SW_SHOWNORMAL);
    Default();
}

BOOL CTextLabel::OnSetCursor(CWnd*, UINT, UINT)
{
    if (m_hoverCursor != NULL) {
        ::SetCursor(m_hoverCursor);
        return TRUE;
    }
    return (BOOL)Default();
}

void CTextLabel::OnSysColorChange()
{
    Default();
    m_textColor = ::GetSysColor(COLOR_WINDOWTEXT);
    // A brush that cannot be made keeps the old one: the label still names a brush.
    for (CBrush* brush : {&m_bkBrush, &m_blinkBrush}) {
        CBrush made;
        if (made.CreateSolidBrush(::GetSysColor(COLOR_BTNFACE)))
            brush->Attach(made.Detach());
    }
    InvalidateRect(NULL, TRUE);
}

// CTextLabel's options beyond its defaults: its text and background colours and a cursor of its
// own. A file of its own, so that a program that keeps the defaults links none of it.
#include "controls/TextLabel.h"

CTextLabel& CTextLabel::SetTextColor(COLORREF color)
{
    m_textColor = color;
    if (m_hWnd != NULL)
        RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    return *this;
}

CTextLabel& CTextLabel::SetBackColor(COLORREF color)
{
    // A brush the system refuses keeps the old one: the label still names a brush.
    CBrush made;
    if (made.CreateSolidBrush(color))
        m_bkBrush.Attach(made.Detach());
    return SetTextColor(m_textColor);
}

CTextLabel& CTextLabel::SetHoverCursor(HCURSOR cursor)
{
    m_hoverCursor = cursor;
    return *this;
}

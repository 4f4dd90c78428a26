// CTextLabel's options beyond its defaults: its text and background colours and a cursor of its
// own. A file of its own, so that a program that keeps the defaults links none of it.
#include "controls/TextLabel.h"

CTextLabel& CTextLabel::SetTextColor(COLORREF color)
{
    m_textColor = color;
    Redraw();
    return *this;
}

CTextLabel& CTextLabel::SetBackColor(COLORREF color)
{
    // The brush in use goes only once its successor exists; one the system refuses leaves it, so
    // the label still names a brush.
    m_bkBrush.CreateSolidBrush(color);
    Redraw();
    return *this;
}

CTextLabel& CTextLabel::SetHoverCursor(HCURSOR cursor)
{
    m_hoverCursor = cursor;
    return *this;
}

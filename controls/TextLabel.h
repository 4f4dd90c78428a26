// CTextLabel: a static text control with a font and a text colour of its own, drawn through the
// parent's colour request reflected back to it.
#pragma once

#include "framework/afx.h"
#include "controls/TextLabel_core.h"

// A dialog's static text bound by DDX_Control, drawn in its own font and colour. It can also blink
// (on WM_TIMER), open its text with the shell when clicked and show a cursor of its own.
class CTextLabel : public CStatic
{
public:
    // Values of m_blinkMode.
    static constexpr int BlinkNone = textlabel::BlinkNone;
    static constexpr int BlinkText = textlabel::BlinkText;
    static constexpr int BlinkBackground = textlabel::BlinkBackground;

    CTextLabel();
    ~CTextLabel() override;

    // Each setter returns the label, so calls can be chained. The font setters rebuild the font
    // and repaint the label before they return; they need the label bound to its window.
    CTextLabel& SetLabelText(CString text);
    CTextLabel& SetBoldWeight(BOOL bold);
    CTextLabel& SetCharHeight(int height);
    CTextLabel& SetFaceName(CString faceName);
    // The colours repaint the label before they return, as the font setters do; the system's
    // colours replace both when they change.
    CTextLabel& SetTextColor(COLORREF color);
    CTextLabel& SetBackColor(COLORREF color);
    // The cursor over the label (NULL: the class cursor), borrowed; the label answers the pointer
    // only when its control has SS_NOTIFY, as a clickable link has.
    CTextLabel& SetHoverCursor(HCURSOR cursor);

protected:
    // Replaces m_font with a font made from m_logFont.
    void RebuildFont();
    void RebuildAndRedraw();
    // Repaints the label before it returns.
    void Redraw();

    // The parent's colour request for this control, reflected back to it.
    HBRUSH CtlColor(CDC* dc, UINT ctlType);
    void OnTimer(UINT_PTR id);
    void OnLButtonDown(UINT flags, CPoint point);
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT mouseMessage);
    // New system colours: the text colour and both brushes made again from them, and a repaint.
    void OnSysColorChange();

    COLORREF m_textColor;
    CBrush m_bkBrush;
    CBrush m_blinkBrush;      // the background in background blinking while m_blinkPhase is FALSE
    LOGFONTA m_logFont;       // m_font is always made from this
    CFont m_font;
    CString m_blinkText;      // the text in text blinking while m_blinkPhase is FALSE
    BOOL m_blinkPhase;
    int m_blinkMode;
    HCURSOR m_hoverCursor;    // borrowed, never destroyed here

    DECLARE_MESSAGE_MAP()
};

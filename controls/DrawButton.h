// CDrawButton: a push button that paints its own face (background, border, icon, masked bitmap,
// caption, focus rectangle) through five replaceable steps, lights up under the pointer in the flat
// look, and can open a drop-down menu or a link when clicked. Its source, by concern:
//   DrawButton.cpp          lifetime, setters, the subclass, default-button and check protocol,
//                           the tooltip, hot tracking and the click
//   DrawButtonPaint.cpp     the paint and its steps: background, border and bevel, caption
//   DrawButtonImages.cpp    the icon and bitmap slots, their masks, placement and drawing
//   DrawButtonMenu.cpp      the drop-down menu and the link
//   DrawButtonSnapshot.cpp  the copy of the parent's background
//   DrawButton_core         the rules, on the state this class holds (m_state)
#pragma once

#include "framework/afx.h"
#include "controls/DrawButton_core.h"

// An icon slot; the icon is owned by the button.
struct ButtonIcon
{
    HICON icon;
    DWORD width;
    DWORD height;
};

// A bitmap slot. The image and its mask are owned by the button. The mask is monochrome, white where
// the image is transparent and black where it is opaque; the image is black where the mask is white.
struct ButtonBitmap
{
    HBITMAP image;
    DWORD width;
    DWORD height;
    HBITMAP mask;
};

// A message sent before the drop-down menu opens: (window, message, popup menu handle, value).
struct MenuNotify
{
    HWND window;
    UINT message;
    LPARAM value;
};

// An owner-drawn push button with a hot look; attach it to a dialog's button with DDX_Control.
class CDrawButton : public CButton
{
public:
    // The rules' values, under the button's name.
    using ImageAlign = drawbutton::ImageAlign;
    using PressShiftStyle = drawbutton::PressShiftStyle;
    using ColorSlot = drawbutton::ColorSlot;
    static constexpr ImageAlign ImageLeft = drawbutton::ImageLeft, ImageTop = drawbutton::ImageTop,
                                ImageRight = drawbutton::ImageRight, ImageAtCorner = drawbutton::ImageAtCorner;
    static constexpr PressShiftStyle PressShiftDiagonal = drawbutton::PressShiftDiagonal,
                                     PressShiftDown = drawbutton::PressShiftDown;
    static constexpr ColorSlot ColorHotBack = drawbutton::ColorHotBack, ColorHotText = drawbutton::ColorHotText,
                               ColorNormalBack = drawbutton::ColorNormalBack,
                               ColorNormalText = drawbutton::ColorNormalText,
                               ColorFocusBack = drawbutton::ColorFocusBack,
                               ColorFocusText = drawbutton::ColorFocusText;

    CDrawButton();
    ~CDrawButton() override;

    // ---- Setters: the trailing flag repaints (invalidate with erase); 0 means done. ----------

    // 0 to 3 (ImageLeft .. ImageAtCorner); 4 and nothing changed for a larger value.
    DWORD SetImageAlign(BYTE align, BOOL repaint);
    DWORD SetFocusRectWhenFlat(BOOL draw, BOOL repaint);
    // PressShiftDiagonal: (1, 1), PressShiftDown: (0, 2); 6 and nothing changed for another style.
    DWORD SetPressShift(BYTE style, BOOL repaint);
    // Only in check mode (the control was a check box): checked = (check != 0).
    DWORD SetChecked(int check, BOOL repaint);
    BOOL IsChecked() const;
    // Background slots to the button face colour, text slots to the button text colour.
    DWORD ResetColors(BOOL repaint);
    // The text opened through the shell on a click (NULL: none); cut to 259 bytes.
    DWORD SetLink(LPCSTR link);
    // on: the button class's own look for high contrast, whatever the look set otherwise: the 3-D
    // look on a plain face of the colour slots (no face picture, no parent snapshot), the frame of
    // the default or focused button in the window frame colour, never hot. off: the look as set.
    DWORD SetSystemLook(BOOL on, BOOL repaint);

    // ---- Images and menu: the button takes ownership of every handle given. ----------------

    // Icon slots: hot (slot 0, also pressed) and normal (slot 1, optional). Icons held before are
    // destroyed. Nothing is drawn while the hot icon is NULL. An icon given for both is held once.
    DWORD SetIcons(HICON hotIcon, HICON normalIcon, BOOL repaint);
    // Bitmap slots, each with the colour that stands for transparent: the button makes the masks
    // and blackens the transparent pixels of the images. Bitmaps held before and not given again
    // are deleted; one held already keeps its slot's mask (its transparent colour is not read
    // again). The images must not be selected into a context. A bitmap given for both is held
    // once. Every bitmap given is the button's from the call on, also one it cannot use (its mask
    // or a context refused): that one is deleted at once and its slot stays empty. A handle that
    // is no bitmap (GetObjectType) is not taken: it stays the caller's, untouched.
    DWORD SetBitmaps(HBITMAP hotBitmap, COLORREF hotTransparent, HBITMAP normalBitmap,
                     COLORREF normalTransparent, BOOL repaint);
    // The drop-down menu: its sub-menu 0 opens under the button on a click, and the chosen command
    // is posted to owner as WM_COMMAND (owner NULL: the button's parent). A menu held before is
    // destroyed; NULL removes the menu.
    DWORD SetDropDownMenu(HMENU menu, HWND owner, BOOL repaint);
    // Sent (window, message, popup, value) before the menu opens; a NULL window sends nothing.
    DWORD SetMenuNotify(HWND window, UINT message, LPARAM value);
    // destroy TRUE: destroys the icons, images and masks held; then every slot becomes empty.
    void ReleaseImages(BOOL destroy);

    // ---- Framework overrides ---------------------------------------------------------------

    // Relays the message to the tooltip and turns a double click into a second ordinary click.
    BOOL PreTranslateMessage(MSG* msg) override;
    // Paints the whole face for the reflected WM_DRAWITEM.
    void DrawItem(LPDRAWITEMSTRUCT drawItem) override;

    // ---- Painting steps, in the order DrawItem calls them; each answers 0. -----------------

    virtual DWORD DrawFaceBackground(CDC* dc, CRect* rect);
    virtual DWORD DrawFaceBorder(CDC* dc, CRect* rect);
    virtual DWORD DrawFaceIcon(CDC* dc, BOOL hasText, const RECT* item, RECT* caption, BOOL pressed,
                               BOOL disabled);
    virtual DWORD DrawFaceBitmap(CDC* dc, BOOL hasText, const RECT* item, RECT* caption,
                                 BOOL pressed, BOOL disabled);
    virtual DWORD DrawFaceText(CDC* dc, LPCSTR text, const RECT* item, RECT* caption, BOOL pressed,
                               BOOL disabled);

protected:
    // Takes check mode and the default flag from the control's style and makes it owner-drawn.
    void PreSubclassWindow() override;

    // Ends the hot state of a lit flat button, with one repaint.
    void LeaveHot();
    // Creates the (empty, inactive) tooltip on first use.
    void EnsureTooltip();
    // Paints the parent's pixels behind the button, from a snapshot taken at the first paint.
    void CopyParentBackground(CDC* dc);
    // The image rectangle for the chosen slot's size; narrows the caption where the image goes.
    void PlaceImage(BOOL hasText, const RECT* item, RECT* caption, BOOL pressed, DWORD width,
                    DWORD height, RECT* image);
    // The slot a paint shows: 0 (hot) or 1 (normal, when present).
    int ChooseIconSlot(BOOL pressed) const;
    int ChooseBitmapSlot(BOOL pressed) const;
    void DrawRaisedBevel(CDC* dc, const CRect& rect);
    void OpenDropDownMenu();
    void OpenLink();
    void ReleaseSnapshot();
    void Repaint(BOOL repaint);
    // A setter's end: repaints (as asked) when its rule took the value; answers the rule's result.
    DWORD RepaintIfDone(DWORD result, BOOL repaint);

    // ---- Message handlers ------------------------------------------------------------------
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT mouseMessage);
    void OnKillFocus(CWnd* newFocus);
    void OnMouseMove(UINT flags, CPoint point);
    void OnSysColorChange();
    BOOL OnClicked();
    void OnActivate(UINT state, CWnd* other, BOOL minimized);
    void OnEnable(BOOL enable);
    void OnCancelMode();
    UINT OnGetDlgCode();
    HBRUSH CtlColor(CDC* dc, UINT ctlType);
    LRESULT OnSetStyleMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseLeaveMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetCheckMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetCheckMessage(WPARAM wParam, LPARAM lParam);

    // ---- Data model ------------------------------------------------------------------------
    // What the rules read and write, held where they take it directly: the flags (m_state.m_hot,
    // m_state.m_drawPressed, ...), the image alignment and margins, the press shift.
    drawbutton::State m_state;
    BOOL m_embossDisabledBitmap;
    BOOL m_copyParentBackground;   // the face background is a copy of the parent, not a fill
    COLORREF m_colors[drawbutton::ColorSlotCount];
    HWND m_menuOwner;
    HMENU m_menu;
    HCURSOR m_hoverCursor;
    CToolTipCtrl m_tooltip;
    CDC m_backgroundDC;            // the parent snapshot, taken at the first paint that copies it
    CBitmap m_backgroundBitmap;
    HBITMAP m_previousBitmap;      // the context's own bitmap, put back before the snapshot goes
    char m_link[drawbutton::LinkSize];
    ButtonIcon m_icons[2];
    ButtonBitmap m_bitmaps[2];
    MenuNotify m_menuNotify;
    BOOL m_bevelReported;   // the raised border's pens were refused once, and that was reported

    DECLARE_MESSAGE_MAP()
};

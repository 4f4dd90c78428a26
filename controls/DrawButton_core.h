// The owner-drawn button's rules that need no window system: the hot state, what a paint draws in
// which state, image placement and slot choice, caption centring, the default-button style
// transform, the check-box types and the setters' checks. They read and write the button's State,
// which CDrawButton holds as m_state; the drawing and the window calls are CDrawButton's.
#pragma once

#include <cstdint>

#include "controls/Geometry_core.h"

namespace drawbutton {

using geometry::Held;

// A rectangle laid out as RECT (right and bottom exclusive).
struct Rect
{
    int32_t left, top, right, bottom;

    int32_t Width() const { return Held(int64_t(right) - left); }
    int32_t Height() const { return Held(int64_t(bottom) - top); }
    void Offset(int64_t dx, int64_t dy)
    {
        left = Held(left + dx);
        right = Held(right + dx);
        top = Held(top + dy);
        bottom = Held(bottom + dy);
    }
    bool operator==(const Rect& other) const
    {
        return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
    }
    // From and to any rectangle with these four fields (RECT on Windows).
    template <class R> static Rect From(const R& r) { return {r.left, r.top, r.right, r.bottom}; }
    template <class R> void To(R* r) const { r->left = left; r->top = top; r->right = right; r->bottom = bottom; }
};

// ---- Setter result codes -----------------------------------------------------------------------

constexpr uint32_t ResultDone = 0;
constexpr uint32_t ResultBadImageAlign = 4;   // SetImageAlign: alignment above 3
constexpr uint32_t ResultBadPressShift = 6;   // SetPressShift: style other than 0 and 1
constexpr uint32_t ResultBadColorSlot = 5;    // SetColor: no slot of that index

enum ImageAlign : uint8_t { ImageLeft = 0, ImageTop = 1, ImageRight = 2, ImageAtCorner = 3 };
enum PressShiftStyle : uint8_t { PressShiftDiagonal = 0, PressShiftDown = 1 };

// Slots of the colour array.
enum ColorSlot : int {
    ColorHotBack = 0, ColorHotText = 1, ColorNormalBack = 2, ColorNormalText = 3,
    ColorFocusBack = 4, ColorFocusText = 5, ColorSlotCount = 6,
};

constexpr int LinkSize = 260;   // bytes of the link text, the terminating zero included

// ---- The button's state ------------------------------------------------------------------------

// Windows' BOOL and BYTE, the types of the button's flags and alignment (DrawButton.h checks that).
using Bool = int;
using Byte = uint8_t;

// What the rules read and write, under the button's own member names and with the values its
// constructor gives them: CDrawButton holds it as m_state, which a rule takes as it is.
struct State
{
    int m_imageMarginX = 3;     // gap beside the text, pixels at 96 DPI
    int m_imageMarginY = 3;     // top of an image above the text, pixels at 96 DPI
    int m_pressShiftX = 1;      // how far text and images move while pressed
    int m_pressShiftY = 1;
    Bool m_flatLook = 1;        // border only while hot or pressed, instead of the 3-D look
    Bool m_hot = 0;             // the pointer is over the button; only ever set in the flat look
    Bool m_drawPressed = 0;     // paint-time state, written at the start of every paint
    Bool m_drawFocused = 0;
    Bool m_drawDisabled = 0;
    Bool m_isDefault = 0;       // the dialog's default push button
    Bool m_checkMode = 0;       // behaves as a check box
    Byte m_imageAlign = ImageLeft;
    Bool m_flatBorder = 1;      // in the flat look, a border while hot or pressed
    Bool m_focusRectWhenFlat = 0;
    Bool m_menuShown = 0;       // the drop-down menu is open
    Bool m_hoverWhenInactive = 1;   // hot also while no window of the thread is active
    Bool m_checked = 0;         // changes only in check mode
    Bool m_systemLook = 0;      // high contrast: the 3-D look whatever m_flatLook says, never hot
};

// The flat look is shown: set, and not replaced by the system look.
bool ShowsFlatLook(const State& s);

// align 0 to 3 is stored; a larger one gives ResultBadImageAlign and changes nothing.
uint32_t SetImageAlign(State& s, uint8_t align);
// The shift of a press-shift style: (1, 1) diagonal, (0, 2) down. Another style gives
// ResultBadPressShift and changes nothing.
uint32_t SetPressShift(State& s, uint8_t style);

// ---- Button styles -----------------------------------------------------------------------------

constexpr uint32_t ButtonTypeMask = 0x1F;   // the type bits the button looks at
constexpr uint32_t TypePushButton = 0x00;
constexpr uint32_t TypeDefPushButton = 0x01;
constexpr uint32_t TypeOwnerDraw = 0x0B;

// Check mode belongs to the check-box types only: BS_CHECKBOX (2), BS_AUTOCHECKBOX (3), BS_3STATE (5)
// and BS_AUTO3STATE (6). Testing the bit of value 2 alone would also take group boxes (7), owner-drawn
// buttons (11) and others for check boxes.
bool IsCheckBoxType(uint32_t style);
bool IsDefPushButtonType(uint32_t style);

// What a BM_SETSTYLE does to the default flag.
enum class DefaultChange { Keep, Set, Clear };

DefaultChange DefaultChangeForStyle(uintptr_t wParam);
// The wParam handed on to the control: the type bits forced to owner-draw, every other bit passed.
uintptr_t OwnerDrawStyle(uintptr_t wParam);

// WM_GETDLGCODE: the control's own code with the default or non-default push-button flag added.
constexpr uint32_t DlgCodeDefPushButton = 0x0010;
constexpr uint32_t DlgCodeUndefPushButton = 0x0020;
uint32_t DialogCode(uint32_t defaultCode, bool isDefault);

// BM_SETCHECK: checked (1) and indeterminate (2) check the button, anything else unchecks it.
bool CheckFromSetCheck(uintptr_t wParam);

// ---- Hot state ---------------------------------------------------------------------------------

// What the handler does after the rule has set m_hot.
struct HotStep
{
    bool repaint;       // invalidate with erase
    bool trackLeave;    // ask for WM_MOUSELEAVE
};

// Where the pointer is, as WM_MOUSEMOVE finds it.
struct Pointer
{
    bool leftButtonDown;       // MK_LBUTTON in the message's flags
    bool overButton;           // the window under the pointer is this button
    bool activeWindowExists;   // GetActiveWindow gives a window
};

// WM_MOUSEMOVE, after default processing.
HotStep OnMouseMove(State& s, const Pointer& pointer);
// LeaveHot: WM_MOUSELEAVE, WM_KILLFOCUS, WM_CANCELMODE, WM_ACTIVATE inactive, disabling, or a move
// onto another window. Only a lit flat button goes dark (with one repaint).
HotStep LeaveHot(State& s);

// ---- Painting ----------------------------------------------------------------------------------

// Owner-draw state flags as the draw request carries them.
constexpr uint32_t StateSelected = 0x0001;   // ODS_SELECTED
constexpr uint32_t StateDisabled = 0x0004;   // ODS_DISABLED
constexpr uint32_t StateFocus = 0x0010;      // ODS_FOCUS

enum class Border {
    None,
    Face,           // DrawFaceBorder: raised, or sunken while pressed
    ShadowFrame,    // 3-D look pressed: one-pixel frame in the button shadow colour
    RaisedBevel,    // 3-D look: two-pixel bevel of four system colours
};

struct PaintPlan
{
    bool blackFrame;         // 3-D look, focused or default: black frame, work rectangle shrinks by 1
    Border border;
    bool focusRect;          // dotted focus rectangle 3 pixels inside the work rectangle
};

// The start of a paint: sets the paint-time state from the request's ODS_ flags (and whether a
// drop-down menu is set) and answers what is drawn.
PaintPlan PlanPaint(State& s, uint32_t itemState, bool menuSet);

// Face background slot: hot back while hot or pressed, focus back while focused, else normal back.
ColorSlot BackgroundSlot(const State& s);

struct TextSlots { ColorSlot text, back; };
// Caption colours of an enabled button.
TextSlots TextColorSlots(const State& s);

// One segment chain of the raised bevel: drawn from points[0] through points[2], each segment
// without its end point.
struct BevelLine
{
    enum Pen { Highlight, Light, DarkShadow, Shadow } pen;
    struct { int32_t x, y; } points[3];
};

// The four chains of the raised bevel round r, in drawing order.
void RaisedBevel(const Rect& r, BevelLine lines[4]);

// The caption's measured block moved to the centre of the available area; halves drop their
// remainder toward zero, so a block larger than the area moves up and left by half the excess.
Rect CentreCaption(const Rect& available, const Rect& measured);

// ---- Images ------------------------------------------------------------------------------------

// Slot 0 is the hot image, slot 1 the normal one. Answers which slot a paint uses.
int ChooseImageSlot(const State& s, bool pressed, bool slot1Present);

// One image to place; alignment, check mode and press shift come from the state.
struct ImageRequest
{
    bool hasText;
    Rect item;                // the request's item rectangle
    Rect caption;             // the caption rectangle so far
    bool pressed;
    int32_t width, height;    // the chosen slot's image size
    int32_t marginX, marginY; // the state's margins at the display's scale
    int32_t clientRight;      // right edge of the button's client rectangle
};

struct Placement
{
    Rect image;     // top-left is where the image goes; bottom-right stays the item's (shifted)
    Rect caption;   // the caption rectangle, narrowed where the image takes room
};

Placement PlaceImage(const State& s, const ImageRequest& in);

// ---- Menu --------------------------------------------------------------------------------------

// The WM_COMMAND wParam posted for a chosen menu command; 0 (dismissed) posts nothing.
bool MenuCommandPosts(uint32_t command);
uint32_t MenuCommandParam(uint32_t command);

}  // namespace drawbutton

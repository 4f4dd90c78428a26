// The owner-drawn button's rules that need no window system: the hot state, what a paint draws in
// which state, image placement and slot choice, caption centring, the default-button style
// transform, the check-box types and the setters' result codes. CDrawButton (DrawButton.cpp) asks
// these and does the drawing and the window calls itself.
#pragma once

#include <cstdint>

namespace drawbutton {

// Coordinate arithmetic is done in 64 bits and the result held to the int32 range, so that any
// rectangle or size a caller passes gives a defined result: the plain one wherever 32 bits suffice.
inline int32_t Held(int64_t value)
{
    return value < INT32_MIN ? INT32_MIN : value > INT32_MAX ? INT32_MAX : static_cast<int32_t>(value);
}

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
};

// ---- Setter result codes -----------------------------------------------------------------------

constexpr uint32_t ResultDone = 0;
constexpr uint32_t ResultBadImageAlign = 4;   // SetImageAlign: alignment above 3
constexpr uint32_t ResultBadPressShift = 6;   // SetPressShift: style other than 0 and 1

// ---- Image alignment and press shift -----------------------------------------------------------

enum ImageAlign : uint8_t { ImageLeft = 0, ImageTop = 1, ImageRight = 2, ImageAtCorner = 3 };

// ResultDone for 0 to 3, else ResultBadImageAlign.
uint32_t CheckImageAlign(uint8_t align);

enum PressShiftStyle : uint8_t { PressShiftDiagonal = 0, PressShiftDown = 1 };

struct Shift { int32_t x, y; };

// The offset for a press-shift style: (1, 1) diagonal, (0, 2) down. Another style gives
// ResultBadPressShift and leaves *shift alone.
uint32_t PressShiftFor(uint8_t style, Shift* shift);

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

// What the handler does after a state change.
struct HotStep
{
    bool hot;           // the new m_hot
    bool repaint;       // invalidate with erase
    bool trackLeave;    // ask for WM_MOUSELEAVE
};

struct MouseMoveFacts
{
    bool leftButtonDown;       // MK_LBUTTON in the message's flags
    bool flatLook;
    bool pointerOverButton;    // the window under the pointer is this button
    bool hoverWhenInactive;
    bool activeWindowExists;   // GetActiveWindow gives a window
};

// WM_MOUSEMOVE, after default processing.
HotStep OnMouseMove(bool hot, const MouseMoveFacts& facts);
// LeaveHot: WM_MOUSELEAVE, WM_KILLFOCUS, WM_CANCELMODE, WM_ACTIVATE inactive, disabling, or a move
// onto another window. Only a lit flat button goes dark (with one repaint).
HotStep LeaveHot(bool flatLook, bool hot);

// ---- Painting ----------------------------------------------------------------------------------

// Slots of the colour array.
enum ColorSlot : int {
    ColorHotBack = 0, ColorHotText = 1, ColorNormalBack = 2, ColorNormalText = 3,
    ColorFocusBack = 4, ColorFocusText = 5, ColorSlotCount = 6,
};

// Owner-draw state flags as the draw request carries them.
constexpr uint32_t StateSelected = 0x0001;   // ODS_SELECTED
constexpr uint32_t StateDisabled = 0x0004;   // ODS_DISABLED
constexpr uint32_t StateFocus = 0x0010;      // ODS_FOCUS

struct PaintFacts
{
    uint32_t itemState;   // ODS_ flags of the request
    bool checkMode;
    bool checked;
    bool menuSet;
    bool menuShown;
    bool hot;
    bool flatLook;
    bool flatBorder;
    bool focusRectWhenFlat;
    bool isDefault;
};

enum class Border {
    None,
    Face,           // DrawFaceBorder: raised, or sunken while pressed
    ShadowFrame,    // 3-D look pressed: one-pixel frame in the button shadow colour
    RaisedBevel,    // 3-D look: two-pixel bevel of four system colours
};

struct PaintPlan
{
    bool pressed;            // m_drawPressed
    bool focused;            // m_drawFocused
    bool disabled;           // m_drawDisabled
    bool blackFrame;         // 3-D look, focused or default: black frame, work rectangle shrinks by 1
    Border border;
    bool focusRect;          // dotted focus rectangle 3 pixels inside the work rectangle
};

PaintPlan PlanPaint(const PaintFacts& facts);

// Face background slot: hot back while hot or pressed, focus back while focused, else normal back.
ColorSlot BackgroundSlot(bool hot, bool pressed, bool focused);

struct TextSlots { ColorSlot text, back; };
// Caption colours of an enabled button.
TextSlots TextColorSlots(bool hot, bool pressed);

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
int ChooseImageSlot(bool checkMode, bool pressed, bool hot, bool slot1Present);

struct PlaceInput
{
    uint8_t align;            // ImageAlign
    bool hasText;
    Rect item;                // the request's item rectangle
    Rect caption;             // the caption rectangle so far
    bool pressed;
    bool checkMode;
    int32_t width, height;    // the chosen slot's image size
    int32_t marginX, marginY; // m_imageMarginX, m_imageMarginY
    Shift pressShift;
    int32_t clientRight;      // right edge of the button's client rectangle
};

struct Placement
{
    Rect image;     // top-left is where the image goes; bottom-right stays the item's (shifted)
    Rect caption;   // the caption rectangle, narrowed where the image takes room
};

Placement PlaceImage(const PlaceInput& in);

// ---- Menu --------------------------------------------------------------------------------------

// The WM_COMMAND wParam posted for a chosen menu command; 0 (dismissed) posts nothing.
bool MenuCommandPosts(uint32_t command);
uint32_t MenuCommandParam(uint32_t command);

// ---- Link --------------------------------------------------------------------------------------

constexpr int LinkSize = 260;   // bytes of m_link, the terminating zero included

}  // namespace drawbutton

// The owner-drawn button's platform-free rules (see DrawButton_core.h).
#include "controls/DrawButton_core.h"

namespace drawbutton {

bool ShowsFlatLook(const State& s)
{
    return s.m_flatLook && !s.m_systemLook;
}

uint32_t SetImageAlign(State& s, uint8_t align)
{
    if (align > ImageAtCorner)
        return ResultBadImageAlign;
    s.m_imageAlign = align;
    return ResultDone;
}

uint32_t SetPressShift(State& s, uint8_t style)
{
    switch (style) {
    case PressShiftDiagonal:
        s.m_pressShiftX = s.m_pressShiftY = 1;
        return ResultDone;
    case PressShiftDown:
        s.m_pressShiftX = 0;
        s.m_pressShiftY = 2;
        return ResultDone;
    default:
        return ResultBadPressShift;
    }
}

bool IsCheckBoxType(uint32_t style)
{
    switch (style & ButtonTypeMask) {
    case 0x02:   // BS_CHECKBOX
    case 0x03:   // BS_AUTOCHECKBOX
    case 0x05:   // BS_3STATE
    case 0x06:   // BS_AUTO3STATE
        return true;
    default:
        return false;
    }
}

bool IsDefPushButtonType(uint32_t style)
{
    return (style & ButtonTypeMask) == TypeDefPushButton;
}

DefaultChange DefaultChangeForStyle(uintptr_t wParam)
{
    const uintptr_t type = wParam & ButtonTypeMask;
    if (type == TypeDefPushButton)
        return DefaultChange::Set;
    return type == TypePushButton ? DefaultChange::Clear : DefaultChange::Keep;
}

uintptr_t OwnerDrawStyle(uintptr_t wParam)
{
    // Clearing the type bits that owner-draw lacks (0x14) and setting its own (0x0B) leaves 0x0B in
    // the five type bits, whatever they were.
    return (wParam & ~uintptr_t(ButtonTypeMask & ~TypeOwnerDraw)) | TypeOwnerDraw;
}

uint32_t DialogCode(uint32_t defaultCode, bool isDefault)
{
    return defaultCode | (isDefault ? DlgCodeDefPushButton : DlgCodeUndefPushButton);
}

bool CheckFromSetCheck(uintptr_t wParam)
{
    return wParam == 1 || wParam == 2;
}

HotStep OnMouseMove(State& s, const Pointer& pointer)
{
    // A drag that started elsewhere, or that left the button, does not light it.
    if ((pointer.leftButtonDown && !s.m_hot) || !ShowsFlatLook(s))
        return {false, false};
    const bool trackable = s.m_hoverWhenInactive || pointer.activeWindowExists;
    if (pointer.overButton && trackable) {
        if (s.m_hot)
            return {false, false};
        s.m_hot = 1;
        return {true, true};
    }
    return LeaveHot(s);
}

HotStep LeaveHot(State& s)
{
    if (!s.m_flatLook || !s.m_hot)
        return {false, false};
    s.m_hot = 0;
    return {true, false};
}

PaintPlan PlanPaint(State& s, uint32_t itemState, bool menuSet)
{
    const bool selected = (itemState & StateSelected) != 0;
    if (s.m_checkMode)
        s.m_drawPressed = selected || s.m_checked;
    else
        s.m_drawPressed = selected || (menuSet && s.m_menuShown);
    s.m_drawFocused = (itemState & StateFocus) != 0;
    s.m_drawDisabled = (itemState & StateDisabled) != 0;

    const bool flat = ShowsFlatLook(s);
    PaintPlan plan{};
    plan.blackFrame = !flat && (s.m_drawFocused || s.m_isDefault);
    if (s.m_drawPressed)
        plan.border = flat ? (s.m_flatBorder ? Border::Face : Border::None) : Border::ShadowFrame;
    else if (flat)
        plan.border = s.m_hot && s.m_flatBorder ? Border::Face : Border::None;
    else
        plan.border = Border::RaisedBevel;
    plan.focusRect = (!flat || s.m_focusRectWhenFlat) && s.m_drawFocused;
    return plan;
}

ColorSlot BackgroundSlot(const State& s)
{
    if (s.m_hot || s.m_drawPressed)
        return ColorHotBack;
    return s.m_drawFocused ? ColorFocusBack : ColorNormalBack;
}

TextSlots TextColorSlots(const State& s)
{
    if (s.m_hot || s.m_drawPressed)
        return {ColorHotText, ColorHotBack};
    return {ColorNormalText, ColorNormalBack};
}

void RaisedBevel(const Rect& r, BevelLine lines[4])
{
    const int64_t l = r.left, t = r.top, rt = r.right, b = r.bottom;
    lines[0] = {BevelLine::Highlight, {{Held(l), Held(b - 1)}, {Held(l), Held(t)}, {Held(rt), Held(t)}}};
    lines[1] = {BevelLine::Light, {{Held(l + 1), Held(b - 1)}, {Held(l + 1), Held(t + 1)}, {Held(rt), Held(t + 1)}}};
    lines[2] = {BevelLine::DarkShadow, {{Held(l), Held(b - 1)}, {Held(rt - 1), Held(b - 1)}, {Held(rt - 1), Held(t - 1)}}};
    lines[3] = {BevelLine::Shadow, {{Held(l + 1), Held(b - 2)}, {Held(rt - 2), Held(b - 2)}, {Held(rt - 2), Held(t)}}};
}

Rect CentreCaption(const Rect& available, const Rect& measured)
{
    Rect caption = measured;
    // Integer division of a signed value drops the remainder toward zero.
    const int64_t availableWidth = int64_t(available.right) - available.left;
    const int64_t availableHeight = int64_t(available.bottom) - available.top;
    const int64_t measuredWidth = int64_t(measured.right) - measured.left;
    const int64_t measuredHeight = int64_t(measured.bottom) - measured.top;
    caption.Offset((availableWidth - measuredWidth) / 2, (availableHeight - measuredHeight) / 2);
    return caption;
}

int ChooseImageSlot(const State& s, bool pressed, bool slot1Present)
{
    const bool hotImage = s.m_checkMode ? pressed : (pressed || s.m_hot);
    if (hotImage || !slot1Present)
        return 0;
    return 1;
}

Placement PlaceImage(const State& s, const ImageRequest& in)
{
    Placement out{in.item, in.caption};
    Rect& p = out.image;
    Rect& c = out.caption;
    const int64_t itemWidth = int64_t(in.item.right) - in.item.left;
    const int64_t itemHeight = int64_t(in.item.bottom) - in.item.top;

    switch (s.m_imageAlign) {
    case ImageLeft:
        if (in.hasText) {
            p.left = Held(int64_t(p.left) + in.marginX);
            c.left = Held(int64_t(c.left) + in.width + in.marginX);
        } else {
            p.left = Held(p.left + (itemWidth - in.width) / 2);
        }
        p.top = Held(p.top + (itemHeight - in.height) / 2);
        break;
    case ImageTop:
        p.left = Held(p.left + (itemWidth - in.width) / 2);
        if (in.hasText) {
            p.top = in.marginY;   // a client coordinate, not an offset from the item's top
            c.top = Held(int64_t(c.top) + in.height);
        } else {
            p.top = Held(p.top + (itemHeight - in.height) / 2);
        }
        break;
    case ImageRight:
        if (in.hasText) {
            c.right = Held(int64_t(c.right) - (int64_t(c.left) + in.marginX + in.width));
            c.left = in.marginX;
            p.left = Held(int64_t(in.clientRight) - in.marginX - in.width);
            p.top = Held(p.top + (itemHeight - in.height) / 2);
        } else {
            p.left = Held(p.left + (itemWidth - in.width) / 2);
        }
        break;
    default:   // ImageAtCorner: the item's top-left corner
        break;
    }

    if (in.pressed && !s.m_checkMode)
        p.Offset(s.m_pressShiftX, s.m_pressShiftY);
    return out;
}

bool MenuCommandPosts(uint32_t command)
{
    return command != 0;
}

uint32_t MenuCommandParam(uint32_t command)
{
    return command & 0xFFFF;
}

}  // namespace drawbutton

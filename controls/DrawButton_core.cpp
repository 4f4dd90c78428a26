// The owner-drawn button's platform-free rules (see DrawButton_core.h).
#include "controls/DrawButton_core.h"

namespace drawbutton {

uint32_t CheckImageAlign(uint8_t align)
{
    return align <= ImageAtCorner ? ResultDone : ResultBadImageAlign;
}

uint32_t PressShiftFor(uint8_t style, Shift* shift)
{
    switch (style) {
    case PressShiftDiagonal:
        *shift = {1, 1};
        return ResultDone;
    case PressShiftDown:
        *shift = {0, 2};
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
    switch (wParam & ButtonTypeMask) {
    case TypeDefPushButton:
        return DefaultChange::Set;
    case TypePushButton:
        return DefaultChange::Clear;
    default:
        return DefaultChange::Keep;
    }
}

uintptr_t OwnerDrawStyle(uintptr_t wParam)
{
    // Clearing 0x14 and setting 0x0B leaves 0x0B in the five type bits, whatever they were.
    return (wParam & ~static_cast<uintptr_t>(0x14)) | 0x0B;
}

uint32_t DialogCode(uint32_t defaultCode, bool isDefault)
{
    return defaultCode | (isDefault ? DlgCodeDefPushButton : DlgCodeUndefPushButton);
}

bool CheckFromSetCheck(uintptr_t wParam)
{
    return wParam == 1 || wParam == 2;
}

HotStep OnMouseMove(bool hot, const MouseMoveFacts& facts)
{
    // A drag that started elsewhere, or that left the button, does not light it.
    if (facts.leftButtonDown && !hot)
        return {hot, false, false};
    if (!facts.flatLook)
        return {hot, false, false};
    const bool trackable = facts.hoverWhenInactive || facts.activeWindowExists;
    if (facts.pointerOverButton && trackable) {
        if (hot)
            return {true, false, false};
        return {true, true, true};
    }
    return LeaveHot(facts.flatLook, hot);
}

HotStep LeaveHot(bool flatLook, bool hot)
{
    if (flatLook && hot)
        return {false, true, false};
    return {hot, false, false};
}

PaintPlan PlanPaint(const PaintFacts& f)
{
    PaintPlan plan{};
    const bool selected = (f.itemState & StateSelected) != 0;
    if (f.checkMode)
        plan.pressed = selected || f.checked;
    else
        plan.pressed = selected || (f.menuSet && f.menuShown);
    plan.focused = (f.itemState & StateFocus) != 0;
    plan.disabled = (f.itemState & StateDisabled) != 0;

    plan.blackFrame = !f.flatLook && (plan.focused || f.isDefault);

    if (plan.pressed)
        plan.border = f.flatLook ? (f.flatBorder ? Border::Face : Border::None) : Border::ShadowFrame;
    else if (f.flatLook)
        plan.border = f.hot && f.flatBorder ? Border::Face : Border::None;
    else
        plan.border = Border::RaisedBevel;

    plan.focusRect = (!f.flatLook || f.focusRectWhenFlat) && plan.focused;
    return plan;
}

ColorSlot BackgroundSlot(bool hot, bool pressed, bool focused)
{
    if (hot || pressed)
        return ColorHotBack;
    return focused ? ColorFocusBack : ColorNormalBack;
}

TextSlots TextColorSlots(bool hot, bool pressed)
{
    if (hot || pressed)
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

int ChooseImageSlot(bool checkMode, bool pressed, bool hot, bool slot1Present)
{
    const bool hotImage = checkMode ? pressed : (pressed || hot);
    if (hotImage || !slot1Present)
        return 0;
    return 1;
}

Placement PlaceImage(const PlaceInput& in)
{
    Placement out{in.item, in.caption};
    Rect& p = out.image;
    Rect& c = out.caption;
    const int64_t itemWidth = int64_t(in.item.right) - in.item.left;
    const int64_t itemHeight = int64_t(in.item.bottom) - in.item.top;

    switch (in.align) {
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

    if (in.pressed && !in.checkMode)
        p.Offset(in.pressShift.x, in.pressShift.y);
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

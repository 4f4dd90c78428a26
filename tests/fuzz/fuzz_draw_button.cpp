// Fuzz target: the owner-drawn button's rules (image placement, caption centring, hot state, paint
// plan, style transform) and the warning dialog's geometry, for any rectangles, sizes and message
// sequences. Placed images and captions must land where their rules promise.
#include <cstdlib>

#include "FuzzInput.h"
#include "controls/DrawButton_core.h"
#include "dialog/NoticeRules_core.h"

using namespace drawbutton;

namespace {

Rect AnyRect(FuzzedDataProvider& in)
{
    return Rect{AnyInt(in), AnyInt(in), AnyInt(in), AnyInt(in)};
}

// A paint's item rectangle is the client rectangle, whose top-left corner is (0, 0).
Rect ItemRect(FuzzedDataProvider& in)
{
    return in.ConsumeBool() ? Rect{0, 0, AnyInt(in), AnyInt(in)} : AnyRect(in);
}

int64_t Width(const Rect& r) { return int64_t(r.right) - r.left; }
int64_t Height(const Rect& r) { return int64_t(r.bottom) - r.top; }

void CheckPlacement(FuzzedDataProvider& in)
{
    State button;
    button.m_imageAlign = in.ConsumeBool() ? in.ConsumeIntegralInRange<uint8_t>(0, 3) : in.ConsumeIntegral<uint8_t>();
    const bool hasText = in.ConsumeBool();
    const Rect item = ItemRect(in);
    // A braced list is read from left to right: caption, pressed, size, margins.
    ImageRequest p{hasText, item, in.ConsumeBool() ? item : AnyRect(in), in.ConsumeBool(),
                   AnyInt(in), AnyInt(in), AnyInt(in), AnyInt(in), 0};
    button.m_checkMode = in.ConsumeBool();
    if (in.ConsumeBool() || SetPressShift(button, in.ConsumeIntegral<uint8_t>()) != ResultDone) {
        button.m_pressShiftX = AnyInt(in);
        button.m_pressShiftY = AnyInt(in);
    }
    p.clientRight = in.ConsumeBool() ? p.item.right : AnyInt(in);
    const Placement out = PlaceImage(button, p);

    // An image that fits with its margins on both sides, moved by a press shift no larger than its
    // margins, lies inside the item.
    const bool shifted = p.pressed && !button.m_checkMode;
    const struct { int32_t x, y; } s = {shifted ? button.m_pressShiftX : 0, shifted ? button.m_pressShiftY : 0};
    const uint8_t align = button.m_imageAlign;
    const bool fits = p.item.left == 0 && p.item.top == 0 && p.clientRight == p.item.right && align <= 3 &&
                      p.width >= 0 && p.height >= 0 && s.x >= 0 && s.y >= 0 && p.marginX >= s.x &&
                      p.marginY >= s.y && p.width + 2 * int64_t(p.marginX) <= Width(p.item) &&
                      p.height + 2 * int64_t(p.marginY) <= Height(p.item);
    if (!fits)
        return;
    const Rect& image = out.image;
    FUZZ_CHECK(image.left >= 0 && image.top >= 0 && image.left + int64_t(p.width) <= p.item.right &&
               image.top + int64_t(p.height) <= p.item.bottom);
    // Its far edges stay the item's, moved with it.
    if (p.item.right + int64_t(s.x) <= INT32_MAX && p.item.bottom + int64_t(s.y) <= INT32_MAX)
        FUZZ_CHECK(image.right == p.item.right + s.x && image.bottom == p.item.bottom + s.y);
    // Beside the text, image and caption do not overlap.
    if (p.hasText && !shifted && p.caption == p.item && (align == ImageLeft || align == ImageRight))
        FUZZ_CHECK(image.left + int64_t(p.width) <= out.caption.left || out.caption.right <= image.left);
}

void CheckCentring(FuzzedDataProvider& in)
{
    const Rect available = AnyRect(in);
    // The caption is measured from the available area's top-left corner.
    const Rect measured = in.ConsumeBool() ? Rect{available.left, available.top, AnyInt(in), AnyInt(in)} : AnyRect(in);
    const Rect caption = CentreCaption(available, measured);
    // Checked where the block's edges stay in the int range: coordinates within +-2^30.
    const auto small = [](const Rect& r) {
        return std::abs(int64_t(r.left)) <= 1 << 30 && std::abs(int64_t(r.top)) <= 1 << 30 &&
               std::abs(int64_t(r.right)) <= 1 << 30 && std::abs(int64_t(r.bottom)) <= 1 << 30;
    };
    const bool sane = measured.left == available.left && measured.top == available.top && small(available) &&
                      small(measured) && Width(measured) >= 0 && Height(measured) >= 0;
    if (!sane)
        return;
    // The block keeps its size and has equal gaps on both sides (one pixel apart at most), whether
    // it fits or overhangs.
    FUZZ_CHECK(Width(caption) == Width(measured) && Height(caption) == Height(measured));
    const int64_t left = int64_t(caption.left) - available.left, right = int64_t(available.right) - caption.right;
    const int64_t top = int64_t(caption.top) - available.top, bottom = int64_t(available.bottom) - caption.bottom;
    FUZZ_CHECK(left - right <= 1 && right - left <= 1 && top - bottom <= 1 && bottom - top <= 1);
}

void CheckPaintRules(FuzzedDataProvider& in)
{
    State f;
    const uint32_t itemState = in.ConsumeIntegral<uint32_t>();
    for (Bool* flag : {&f.m_checkMode, &f.m_checked, &f.m_menuShown, &f.m_hot, &f.m_flatLook, &f.m_flatBorder,
                       &f.m_focusRectWhenFlat, &f.m_isDefault, &f.m_systemLook})
        *flag = in.ConsumeBool();
    const PaintPlan plan = PlanPaint(f, itemState, in.ConsumeBool());
    FUZZ_CHECK(!(itemState & StateSelected) || f.m_drawPressed);
    FUZZ_CHECK(!plan.focusRect || f.m_drawFocused);
    FUZZ_CHECK(!plan.blackFrame || !ShowsFlatLook(f));
    const bool slot1 = in.ConsumeBool();
    const int slot = ChooseImageSlot(f, f.m_drawPressed, slot1);
    FUZZ_CHECK(slot == 0 || (slot == 1 && slot1 && !f.m_drawPressed));
    // Whatever style arrives, the control stays owner-drawn and keeps its other bits.
    const uintptr_t style = in.ConsumeIntegral<uintptr_t>();
    const uintptr_t kept = OwnerDrawStyle(style);
    FUZZ_CHECK((kept & ButtonTypeMask) == TypeOwnerDraw && (kept & ~uintptr_t(ButtonTypeMask)) == (style & ~uintptr_t(ButtonTypeMask)));
    BevelLine lines[4];
    RaisedBevel(AnyRect(in), lines);
}

void CheckDialogGeometry(FuzzedDataProvider& in)
{
    notice::PanelRect(AnyInt(in), AnyInt(in), AnyInt(in));
    const int cw = AnyInt(in), ch = AnyInt(in), iw = AnyInt(in), ih = AnyInt(in);
    const notice::Point at = notice::MinimizedIconPosition(cw, ch, iw, ih);
    // An icon no larger than the client area lies inside it.
    if (0 <= iw && iw <= cw)
        FUZZ_CHECK(at.x >= 0 && at.x + int64_t(iw) <= cw);
    if (0 <= ih && ih <= ch)
        FUZZ_CHECK(at.y >= 0 && at.y + int64_t(ih) <= ch);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    // The button's look is fixed when it is made; its hot state runs through the whole input.
    State button;
    button.m_flatLook = in.ConsumeBool();
    button.m_hoverWhenInactive = in.ConsumeBool();
    const bool flat = button.m_flatLook;
    while (in.remaining_bytes() > 0) {
        const bool hot = button.m_hot;
        switch (in.ConsumeIntegralInRange<int>(0, 5)) {
        case 0: CheckPlacement(in); break;
        case 1: CheckCentring(in); break;
        case 2: CheckPaintRules(in); break;
        case 3: CheckDialogGeometry(in); break;
        case 4: {   // WM_MOUSEMOVE
            const Pointer pointer{in.ConsumeBool(), in.ConsumeBool(), in.ConsumeBool()};
            const HotStep step = OnMouseMove(button, pointer);
            const bool lights = flat && pointer.overButton && (button.m_hoverWhenInactive || pointer.activeWindowExists) &&
                                !(pointer.leftButtonDown && !hot);
            FUZZ_CHECK((button.m_hot != 0) == lights);
            FUZZ_CHECK(step.repaint == ((button.m_hot != 0) != hot) && step.trackLeave == (button.m_hot && !hot));
            break;
        }
        default: {   // WM_MOUSELEAVE, WM_KILLFOCUS, WM_CANCELMODE, deactivation, disabling
            const HotStep step = LeaveHot(button);
            FUZZ_CHECK(!button.m_hot && step.repaint == hot && !step.trackLeave);
            break;
        }
        }
        FUZZ_CHECK(!button.m_hot || flat);
    }
    return 0;
}

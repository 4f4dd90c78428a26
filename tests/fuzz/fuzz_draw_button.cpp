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
    const uint8_t align = in.ConsumeBool() ? in.ConsumeIntegralInRange<uint8_t>(0, 3) : in.ConsumeIntegral<uint8_t>();
    const bool hasText = in.ConsumeBool();
    const Rect item = ItemRect(in);
    // A braced list is read from left to right: caption, pressed, check mode, size, margins.
    PlaceInput p{align, hasText, item, in.ConsumeBool() ? item : AnyRect(in), in.ConsumeBool(), in.ConsumeBool(),
                 AnyInt(in), AnyInt(in), AnyInt(in), AnyInt(in), {0, 0}, 0};
    if (in.ConsumeBool() || PressShiftFor(in.ConsumeIntegral<uint8_t>(), &p.pressShift) != ResultDone)
        p.pressShift = {AnyInt(in), AnyInt(in)};
    p.clientRight = in.ConsumeBool() ? p.item.right : AnyInt(in);
    const Placement out = PlaceImage(p);

    // An image that fits with its margins on both sides, moved by a press shift no larger than its
    // margins, lies inside the item.
    const bool shifted = p.pressed && !p.checkMode;
    const Shift s = shifted ? p.pressShift : Shift{0, 0};
    const bool fits = p.item.left == 0 && p.item.top == 0 && p.clientRight == p.item.right && p.align <= 3 &&
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
    if (p.hasText && !shifted && p.caption == p.item && (p.align == ImageLeft || p.align == ImageRight))
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
    PaintFacts f{in.ConsumeIntegral<uint32_t>(), in.ConsumeBool(), in.ConsumeBool(), in.ConsumeBool(),
                 in.ConsumeBool(), in.ConsumeBool(), in.ConsumeBool(), in.ConsumeBool(),
                 in.ConsumeBool(), in.ConsumeBool()};
    const PaintPlan plan = PlanPaint(f);
    FUZZ_CHECK(!(f.itemState & StateSelected) || plan.pressed);
    FUZZ_CHECK(!plan.focusRect || plan.focused);
    FUZZ_CHECK(!plan.blackFrame || !f.flatLook);
    const bool slot1 = in.ConsumeBool();
    const int slot = ChooseImageSlot(f.checkMode, plan.pressed, f.hot, slot1);
    FUZZ_CHECK(slot == 0 || (slot == 1 && slot1 && !plan.pressed));
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
    const bool flat = in.ConsumeBool(), hoverWhenInactive = in.ConsumeBool();
    bool hot = false;
    while (in.remaining_bytes() > 0) {
        switch (in.ConsumeIntegralInRange<int>(0, 5)) {
        case 0: CheckPlacement(in); break;
        case 1: CheckCentring(in); break;
        case 2: CheckPaintRules(in); break;
        case 3: CheckDialogGeometry(in); break;
        case 4: {   // WM_MOUSEMOVE
            const MouseMoveFacts facts{in.ConsumeBool(), flat, in.ConsumeBool(), hoverWhenInactive, in.ConsumeBool()};
            const HotStep step = OnMouseMove(hot, facts);
            const bool lights = flat && facts.pointerOverButton && (hoverWhenInactive || facts.activeWindowExists) &&
                                !(facts.leftButtonDown && !hot);
            FUZZ_CHECK(step.hot == lights);
            FUZZ_CHECK(step.repaint == (step.hot != hot) && step.trackLeave == (step.hot && !hot));
            hot = step.hot;
            break;
        }
        default: {   // WM_MOUSELEAVE, WM_KILLFOCUS, WM_CANCELMODE, deactivation, disabling
            const HotStep step = LeaveHot(flat, hot);
            FUZZ_CHECK(!step.hot && step.repaint == hot && !step.trackLeave);
            hot = step.hot;
            break;
        }
        }
        FUZZ_CHECK(!hot || flat);
    }
    return 0;
}

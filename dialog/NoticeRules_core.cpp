// The warning dialog's platform-free rules.
#include "dialog/NoticeRules_core.h"

#include <climits>

namespace notice {

namespace {
// Sizes come from the system; arithmetic on them is done in 64 bits and the result held to the
// int range, so that no size, however large or negative, overflows.
int Held(std::int64_t value)
{
    return value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

constexpr unsigned MsgKeyDown = 0x0100, MsgSysKeyDown = 0x0104, MsgKeyF1 = 0x004D;
constexpr std::uintptr_t KeyTab = 0x09, KeyMenu = 0x12;
}  // namespace

ColorAnswer ChooseColorAnswer(unsigned ctlType)
{
    switch (ctlType) {
    case CtlColorEdit:
    case CtlColorStatic:
        return ColorAnswer::BackBrushAndColor;
    case CtlColorDialog:
        return ColorAnswer::BackBrush;
    default:
        return ColorAnswer::BaseResult;
    }
}

Rect PanelRect(int frameWidth, int frameHeight, int fontLineHeight)
{
    return Rect{0, fontLineHeight / 2, Held(std::int64_t(frameWidth) - 2), Held(std::int64_t(frameHeight) - 2)};
}

Point MinimizedIconPosition(int clientWidth, int clientHeight, int iconWidth, int iconHeight)
{
    // Integer division truncates toward zero, also for an icon larger than the client area.
    return Point{Held((std::int64_t(clientWidth) - iconWidth + 1) / 2),
                 Held((std::int64_t(clientHeight) - iconHeight + 1) / 2)};
}

KeyAction ClassifyKeyMessage(unsigned message, std::uintptr_t wParam)
{
    if ((message == MsgSysKeyDown && wParam == KeyMenu) || (message == MsgKeyDown && wParam == KeyTab))
        return KeyAction::RepaintThenPassOn;
    if (message == MsgKeyF1)
        return KeyAction::Swallow;
    return KeyAction::PassOn;
}

}  // namespace notice

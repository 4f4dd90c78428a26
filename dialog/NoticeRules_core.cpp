// The warning dialog's platform-free rules.
#include "dialog/NoticeRules_core.h"

#include "controls/Geometry_core.h"

#include <cmath>

namespace notice {

namespace {
// Sizes come from the system: no size, however large or negative, overflows.
using geometry::Held;

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

double RelativeLuminance(std::uint32_t color)
{
    auto linear = [](std::uint32_t channel) {
        const double c = (channel & 0xFF) / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(color) + 0.7152 * linear(color >> 8) + 0.0722 * linear(color >> 16);
}

double ContrastRatio(std::uint32_t color1, std::uint32_t color2)
{
    const double l1 = RelativeLuminance(color1), l2 = RelativeLuminance(color2);
    return (std::fmax(l1, l2) + 0.05) / (std::fmin(l1, l2) + 0.05);
}

ColorScheme ChooseColorScheme(bool highContrast, std::uint32_t windowText, std::uint32_t window)
{
    constexpr std::uint32_t Black = 0x000000, White = 0xFFFFFF;
    ColorScheme scheme{highContrast ? window : BackColor, highContrast};
    if (ContrastRatio(windowText, scheme.panel) >= MinTextContrast)
        return scheme;
    if (ContrastRatio(windowText, window) >= MinTextContrast)
        scheme.panel = window;
    else if (ContrastRatio(windowText, Black) >= ContrastRatio(windowText, White))
        scheme.panel = Black;
    else
        scheme.panel = White;
    return scheme;
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

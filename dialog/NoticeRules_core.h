// The warning dialog's rules that need no window system: colours by control and type, the panel
// inside the group box, the icon when minimised, and the keys it looks at before the dialog does.
#pragma once

#include <cstdint>

namespace notice {

constexpr int FrameControlId = 1004;       // the group box that encloses the panel
constexpr std::uint32_t BackColor = 0xF5F5F5;

// CTLCOLOR_ types as the system numbers them.
constexpr unsigned CtlColorMsgBox = 0, CtlColorEdit = 1, CtlColorListBox = 2, CtlColorButton = 3,
                   CtlColorDialog = 4, CtlColorScrollBar = 5, CtlColorStatic = 6;

enum class ColorAnswer {
    BaseResult,          // hand on what the base handling (and the control) answered
    BackBrush,           // the dialog's brush, background colour untouched
    BackBrushAndColor,   // the dialog's brush, and the background colour set to the dialog's
};

ColorAnswer ChooseColorAnswer(unsigned ctlType);

struct Rect { int left, top, right, bottom; };

// The panel filled inside a group box window of this size, in the group box's coordinates: below
// the line where a caption would sit, inside the frame. The group box draws that line, two pixels
// wide, from half the line height of its font less one: the panel starts under its second pixel,
// so that it meets the line at every font size.
Rect PanelRect(int frameWidth, int frameHeight, int fontLineHeight);

struct Point { int x, y; };

// Where the icon goes in a minimised dialog's client area.
Point MinimizedIconPosition(int clientWidth, int clientHeight, int iconWidth, int iconHeight);

enum class KeyAction {
    PassOn,               // to the base dialog's keyboard handling
    RepaintThenPassOn,    // Alt or Tab: repaint the whole dialog, then as PassOn
    Swallow,              // F1: consumed, nothing happens
};

KeyAction ClassifyKeyMessage(unsigned message, std::uintptr_t wParam);

}  // namespace notice

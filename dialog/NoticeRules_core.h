// The warning dialog's rules that need no window system: colours by control and type, the colours
// that keep its text readable, the panel inside the group box, the icon when minimised, and the keys
// it looks at before the dialog does.
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

// ---- Readable text in every colour scheme (WCAG 2: text needs 4.5:1 against what lies behind it)

constexpr double MinTextContrast = 4.5;

// The relative luminance of a colour (0x00BBGGRR), 0 for black to 1 for white: the linearised sRGB
// channels weighted 0.2126 red, 0.7152 green, 0.0722 blue.
double RelativeLuminance(std::uint32_t color);
// (lighter + 0.05) / (darker + 0.05) of the two luminances: 1 for equal colours, 21 for black on white.
double ContrastRatio(std::uint32_t color1, std::uint32_t color2);

struct ColorScheme {
    std::uint32_t panel;   // the dialog's background colour: the panel's and the labels'
    bool systemLook;       // no picture, and the buttons in the 3-D look of the system's colours
};

// The dialog's colours for the labels' text colour windowText (COLOR_WINDOWTEXT), the system's
// window colour (COLOR_WINDOW) and the high-contrast flag. With the flag on, the system look on the
// window colour; otherwise the fixed panel colour. Where the text would fail MinTextContrast against
// that colour, the window colour takes its place, and where it fails against both, black or white,
// whichever is further from the text (one of them always passes).
ColorScheme ChooseColorScheme(bool highContrast, std::uint32_t windowText, std::uint32_t window);

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

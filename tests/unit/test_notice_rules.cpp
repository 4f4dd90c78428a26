// The warning dialog's platform-free rules: colour answers, readable colours, panel, minimised icon, keys.
#include <gtest/gtest.h>

#include <climits>

#include "dialog/NoticeRules_core.h"

using namespace notice;

TEST(NoticeColorRule, EachCtlColorTypeGetsItsAnswer)
{
    struct Row { unsigned type; ColorAnswer expected; } rows[] = {
        {CtlColorMsgBox, ColorAnswer::BaseResult},  {CtlColorEdit, ColorAnswer::BackBrushAndColor},
        {CtlColorListBox, ColorAnswer::BaseResult}, {CtlColorButton, ColorAnswer::BaseResult},
        {CtlColorDialog, ColorAnswer::BackBrush},   {CtlColorScrollBar, ColorAnswer::BaseResult},
        {CtlColorStatic, ColorAnswer::BackBrushAndColor}, {7, ColorAnswer::BaseResult},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, ChooseColorAnswer(row.type)) << "type " << row.type;
}

TEST(NoticeReadableColors, ContrastAsMeasuredOnScreen)
{
    // Text colours of the schemes against the fixed panel, as measured on screen (to 0.01).
    struct Row { std::uint32_t text; double ratio; } rows[] = {
        {0x000000, 19.26}, {0xFFFFFF, 1.09}, {0x00FFFF, 1.02}, {0x00FF00, 1.26},
    };
    for (const Row& row : rows) {
        EXPECT_NEAR(row.ratio, ContrastRatio(row.text, BackColor), 0.005) << std::hex << row.text;
        EXPECT_DOUBLE_EQ(ContrastRatio(row.text, BackColor), ContrastRatio(BackColor, row.text));
    }
    EXPECT_DOUBLE_EQ(21.0, ContrastRatio(0x000000, 0xFFFFFF));
    EXPECT_DOUBLE_EQ(1.0, ContrastRatio(0x123456, 0x123456));
    EXPECT_NEAR(0.0722, RelativeLuminance(0xFF0000), 1e-12) << "blue is the high byte";
}

TEST(NoticeReadableColors, PanelKeepsItsColourUnlessTheTextWouldFail)
{
    struct Row {
        const char* scheme; bool highContrast; std::uint32_t text, window, panel; bool systemLook;
    } rows[] = {
        {"classic", false, 0x000000, 0xFFFFFF, BackColor, false},
        {"High Contrast White, flag not reported", false, 0x000000, 0xFFFFFF, BackColor, false},
        {"High Contrast Black, flag not reported", false, 0xFFFFFF, 0x000000, 0x000000, false},
        {"High Contrast #1, flag not reported", false, 0x00FFFF, 0x000000, 0x000000, false},
        {"High Contrast Black", true, 0xFFFFFF, 0x000000, 0x000000, true},
        {"High Contrast White", true, 0x000000, 0xFFFFFF, 0xFFFFFF, true},
        {"grey on grey, light text", false, 0xC0C0C0, 0x808080, 0x000000, false},
        {"grey on grey, dark text", true, 0x404040, 0x606060, 0xFFFFFF, true},
    };
    for (const Row& row : rows) {
        const ColorScheme scheme = ChooseColorScheme(row.highContrast, row.text, row.window);
        EXPECT_EQ(row.panel, scheme.panel) << row.scheme;
        EXPECT_EQ(row.systemLook, scheme.systemLook) << row.scheme;
        EXPECT_GE(ContrastRatio(row.text, scheme.panel), MinTextContrast) << row.scheme;
    }
}

TEST(NoticePanel, FillsInsideTheFrameBelowTheCaptionLine)
{
    // The dialog's 8-point font has 12-pixel lines at 96 DPI, 17 at 144 DPI.
    Rect panel = PanelRect(300, 280, 12);
    EXPECT_EQ(0, panel.left);
    EXPECT_EQ(6, panel.top);
    EXPECT_EQ(298, panel.right);
    EXPECT_EQ(278, panel.bottom);
    EXPECT_EQ(8, PanelRect(300, 280, 17).top);

    // A frame too small for a panel gives an empty (inverted) rectangle, which fills nothing.
    Rect tiny = PanelRect(1, 4, 12);
    EXPECT_LE(tiny.right, tiny.left);
    EXPECT_LE(tiny.bottom, tiny.top);
}

TEST(NoticeMinimizedIcon, CentredWithDivisionTowardZero)
{
    Point at = MinimizedIconPosition(36, 36, 32, 32);
    EXPECT_EQ(2, at.x);
    EXPECT_EQ(2, at.y);
    at = MinimizedIconPosition(37, 38, 32, 32);   // odd remainders
    EXPECT_EQ(3, at.x);
    EXPECT_EQ(3, at.y);
    at = MinimizedIconPosition(16, 20, 32, 32);   // icon larger than the client area
    EXPECT_EQ(-7, at.x);                          // (16 - 32 + 1) / 2 = -15 / 2 = -7
    EXPECT_EQ(-5, at.y);                          // (20 - 32 + 1) / 2 = -11 / 2 = -5

    // Any sizes give a defined result: exact where it fits in an int, else held at the edge.
    at = MinimizedIconPosition(INT_MAX, INT_MAX, -1, INT_MIN);
    EXPECT_EQ(1 << 30, at.x);                     // (2^31 - 1 + 1 + 1) / 2
    EXPECT_EQ(INT_MAX, at.y);                     // 2^31 is beyond the range
    Rect panel = PanelRect(INT_MIN, INT_MIN + 1, 12);
    EXPECT_EQ(INT_MIN, panel.right);
    EXPECT_EQ(INT_MIN, panel.bottom);
}

TEST(NoticeKeys, AltAndTabRepaintF1IsSwallowedRestPassesOn)
{
    const unsigned keyDown = 0x0100, keyUp = 0x0101, sysKeyDown = 0x0104, keyF1 = 0x004D;
    struct Row { unsigned message; std::uintptr_t key; KeyAction expected; } rows[] = {
        {sysKeyDown, 0x12, KeyAction::RepaintThenPassOn},   // Alt
        {keyDown, 0x09, KeyAction::RepaintThenPassOn},      // Tab
        {keyF1, 0, KeyAction::Swallow},
        {keyDown, 0x12, KeyAction::PassOn},                 // Alt as an ordinary key-down
        {sysKeyDown, 0x09, KeyAction::PassOn},              // Alt+Tab belongs to the system
        {keyUp, 0x09, KeyAction::PassOn},
        {keyDown, 0x0D, KeyAction::PassOn},                 // Enter
        {keyDown, 0x1B, KeyAction::PassOn},                 // Escape
        {keyDown, 0x70, KeyAction::PassOn},                 // F1's key-down itself
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, ClassifyKeyMessage(row.message, row.key))
            << "message 0x" << std::hex << row.message << " key 0x" << row.key;
}

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
    // The schemes' text colours on the fixed panel, as measured on screen: black, white, yellow, green.
    EXPECT_NEAR(19.26, ContrastRatio(0x000000, BackColor), 0.005);
    EXPECT_NEAR(1.09, ContrastRatio(BackColor, 0xFFFFFF), 0.005);
    EXPECT_NEAR(1.02, ContrastRatio(0x00FFFF, BackColor), 0.005) << "red in the low byte";
    EXPECT_NEAR(1.26, ContrastRatio(0x00FF00, BackColor), 0.005);
    EXPECT_DOUBLE_EQ(21.0, ContrastRatio(0xFFFFFF, 0x000000));
}

TEST(NoticeReadableColors, PanelKeepsItsColourUnlessTheTextWouldFail)
{
    struct Row { bool highContrast; std::uint32_t text, window, panel; } rows[] = {
        {false, 0x000000, 0xFFFFFF, BackColor},   // classic, High Contrast White without the flag
        {false, 0xFFFFFF, 0x000000, 0x000000},    // High Contrast Black without the flag
        {true, 0x000000, 0xFFFFFF, 0xFFFFFF},     // High Contrast White
        {true, 0x404040, 0x606060, 0xFFFFFF},     // fails on both: black or white, the further
    };
    for (const Row& row : rows) {
        const ColorScheme scheme = ChooseColorScheme(row.highContrast, row.text, row.window);
        EXPECT_EQ(row.panel, scheme.panel) << std::hex << row.text;
        EXPECT_EQ(row.highContrast, scheme.systemLook) << std::hex << row.text;
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

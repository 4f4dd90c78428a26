// The owner-drawn button's platform-free rules: hot state, paint plan, image placement and slots,
// caption centring, the default-button style transform, check-box types and setter results.
#include <gtest/gtest.h>

#include <ostream>

#include "controls/DrawButton_core.h"

using namespace drawbutton;

namespace drawbutton {
std::ostream& operator<<(std::ostream& out, const Rect& r)
{
    return out << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}
}  // namespace drawbutton

namespace {

// ---- Hot state -----------------------------------------------------------------------------

// A button's state as its constructor leaves it (flat, flat border, hover when inactive), hot or
// not, and one more flag set (or cleared) as a row asks.
State Button(bool hot = false, bool flat = true, Bool State::*flag = nullptr, Bool value = 1)
{
    State s;
    s.m_hot = hot;
    s.m_flatLook = flat;
    if (flag != nullptr)
        s.*flag = value;
    return s;
}

TEST(DrawButtonHotState, MouseMoveFollowsTheTable)
{
    struct Row {
        const char* what;
        State button;
        Pointer pointer;        // left down, over button, active window
        bool hot;               // afterwards
        HotStep expected;       // repaint, track leave
    } rows[] = {
        {"enters: lights once and asks for the leave", Button(), {false, true, false}, true, {true, true}},
        {"further moves over it: nothing", Button(true), {false, true, true}, true, {false, false}},
        {"moves onto another window: dark with one repaint", Button(true), {false, false, true}, false, {true, false}},
        {"not hot, another window: nothing", Button(), {false, false, true}, false, {false, false}},
        {"drag from elsewhere does not light it", Button(), {true, true, true}, false, {false, false}},
        {"a lit button stays lit while pressed over it", Button(true), {true, true, true}, true, {false, false}},
        {"a lit button dragged off goes dark", Button(true), {true, false, true}, false, {true, false}},
        {"3-D look never lights", Button(false, false), {false, true, true}, false, {false, false}},
        {"system look never lights", Button(false, true, &State::m_systemLook), {false, true, true}, false, {false, false}},
        {"inactive thread, hover only when active: stays dark", Button(false, true, &State::m_hoverWhenInactive, 0),
         {false, true, false}, false, {false, false}},
        {"active window, hover only when active: lights", Button(false, true, &State::m_hoverWhenInactive, 0),
         {false, true, true}, true, {true, true}},
        {"lit, thread became inactive: dark", Button(true, true, &State::m_hoverWhenInactive, 0), {false, true, false},
         false, {true, false}},
    };
    for (Row& row : rows) {
        const HotStep step = OnMouseMove(row.button, row.pointer);
        EXPECT_EQ(row.hot, row.button.m_hot != 0) << row.what;
        EXPECT_EQ(row.expected.repaint, step.repaint) << row.what;
        EXPECT_EQ(row.expected.trackLeave, step.trackLeave) << row.what;
    }
}

TEST(DrawButtonHotState, LeaveRepaintsOnlyALitFlatButton)
{
    struct Row { bool flat, hot, hotAfter, repaint; } rows[] = {
        {true, true, false, true},
        {true, false, false, false},
        {false, false, false, false},
        {false, true, true, false},   // cannot happen; the 3-D look leaves it alone
    };
    for (const Row& row : rows) {
        State button = Button(row.hot, row.flat);
        const HotStep step = LeaveHot(button);
        EXPECT_EQ(row.hotAfter, button.m_hot != 0) << "flat " << row.flat << " hot " << row.hot;
        EXPECT_EQ(row.repaint, step.repaint) << "flat " << row.flat << " hot " << row.hot;
        EXPECT_FALSE(step.trackLeave);
    }
}

// ---- Paint plan ----------------------------------------------------------------------------

TEST(DrawButtonPaintPlan, PressedStateByMode)
{
    struct Row { const char* what; uint32_t itemState; bool checkMode, checked, menuSet, menuShown, pressed; } rows[] = {
        {"selected", StateSelected, false, false, false, false, true},
        {"idle", 0, false, false, false, false, false},
        {"menu open", 0, false, false, true, true, true},
        {"menu flag without a menu", 0, false, false, false, true, false},
        {"checked in check mode", 0, true, true, false, false, true},
        {"unchecked but selected in check mode", StateSelected, true, false, false, false, true},
        {"menu open in check mode is not pressed", 0, true, false, true, true, false},
        {"checked outside check mode is not pressed", 0, false, true, false, false, false},
    };
    for (const Row& row : rows) {
        State button;
        button.m_checkMode = row.checkMode;
        button.m_checked = row.checked;
        button.m_menuShown = row.menuShown;
        PlanPaint(button, row.itemState, row.menuSet);
        EXPECT_EQ(row.pressed, button.m_drawPressed != 0) << row.what;
    }
}

TEST(DrawButtonPaintPlan, BorderFrameAndFocusRectByLook)
{
    struct Row {
        const char* what;
        State button;
        uint32_t itemState;
        Border border;
        bool blackFrame, focusRect;
    } rows[] = {
        {"flat idle", Button(), 0, Border::None, false, false},
        {"flat hot", Button(true), 0, Border::Face, false, false},
        {"flat hot without flat border", Button(true, true, &State::m_flatBorder, 0), 0, Border::None, false, false},
        {"flat pressed", Button(), StateSelected, Border::Face, false, false},
        {"flat pressed without flat border", Button(false, true, &State::m_flatBorder, 0), StateSelected, Border::None,
         false, false},
        {"flat focused", Button(), StateFocus, Border::None, false, false},
        {"flat focused with focus rect", Button(false, true, &State::m_focusRectWhenFlat), StateFocus, Border::None,
         false, true},
        {"flat default: no black frame", Button(false, true, &State::m_isDefault), 0, Border::None, false, false},
        {"3-D idle", Button(false, false), 0, Border::RaisedBevel, false, false},
        {"3-D pressed", Button(false, false), StateSelected, Border::ShadowFrame, false, false},
        {"3-D focused", Button(false, false), StateFocus, Border::RaisedBevel, true, true},
        {"3-D default", Button(false, false, &State::m_isDefault), 0, Border::RaisedBevel, true, false},
        {"3-D hot flag is ignored", Button(true, false), 0, Border::RaisedBevel, false, false},
        {"system look over the flat one", Button(false, true, &State::m_systemLook), StateFocus, Border::RaisedBevel,
         true, true},
    };
    for (Row& row : rows) {
        const PaintPlan plan = PlanPaint(row.button, row.itemState, false);
        EXPECT_EQ(row.border, plan.border) << row.what;
        EXPECT_EQ(row.blackFrame, plan.blackFrame) << row.what;
        EXPECT_EQ(row.focusRect, plan.focusRect) << row.what;
    }
    State disabled;
    PlanPaint(disabled, StateDisabled | StateFocus, false);
    EXPECT_TRUE(disabled.m_drawDisabled);
    EXPECT_TRUE(disabled.m_drawFocused);
}

TEST(DrawButtonPaintPlan, ColourSlotsByState)
{
    const auto at = [](bool hot, bool pressed, bool focused) {
        State s = Button(hot, true, &State::m_drawPressed, pressed);
        s.m_drawFocused = focused;
        return s;
    };
    EXPECT_EQ(ColorNormalBack, BackgroundSlot(at(false, false, false)));
    EXPECT_EQ(ColorFocusBack, BackgroundSlot(at(false, false, true)));
    EXPECT_EQ(ColorHotBack, BackgroundSlot(at(true, false, true)));
    EXPECT_EQ(ColorHotBack, BackgroundSlot(at(false, true, true)));

    // The text never uses the focus slots.
    EXPECT_EQ(ColorNormalText, TextColorSlots(at(false, false, true)).text);
    EXPECT_EQ(ColorNormalBack, TextColorSlots(at(false, false, true)).back);
    EXPECT_EQ(ColorHotText, TextColorSlots(at(true, false, false)).text);
    EXPECT_EQ(ColorHotText, TextColorSlots(at(false, true, false)).text);
    EXPECT_EQ(ColorHotBack, TextColorSlots(at(false, true, false)).back);
}

TEST(DrawButtonPaintPlan, RaisedBevelPoints)
{
    BevelLine lines[4];
    RaisedBevel({1, 2, 41, 22}, lines);
    const BevelLine expected[4] = {
        {BevelLine::Highlight, {{1, 21}, {1, 2}, {41, 2}}},
        {BevelLine::Light, {{2, 21}, {2, 3}, {41, 3}}},
        {BevelLine::DarkShadow, {{1, 21}, {40, 21}, {40, 1}}},
        {BevelLine::Shadow, {{2, 20}, {39, 20}, {39, 2}}},
    };
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(expected[i].pen, lines[i].pen) << "line " << i;
        for (int p = 0; p < 3; ++p) {
            EXPECT_EQ(expected[i].points[p].x, lines[i].points[p].x) << "line " << i << " point " << p;
            EXPECT_EQ(expected[i].points[p].y, lines[i].points[p].y) << "line " << i << " point " << p;
        }
    }
}

// ---- Caption centring ----------------------------------------------------------------------

TEST(DrawButtonCaption, CentredWithRemaindersDroppedTowardZero)
{
    struct Row { const char* what; Rect available, measured, expected; } rows[] = {
        {"even remainders", {0, 0, 100, 30}, {0, 0, 40, 10}, {30, 10, 70, 20}},
        {"odd remainders", {0, 0, 75, 25}, {0, 0, 40, 12}, {17, 6, 57, 18}},
        {"shifted area", {1, 1, 76, 26}, {1, 1, 41, 13}, {18, 7, 58, 19}},
        // Taller than the area by 7: up by 3 (not 4), out over both edges.
        {"block taller than the button", {0, 0, 60, 20}, {0, 0, 50, 27}, {5, -3, 55, 24}},
        {"block wider by an odd amount", {0, 0, 20, 20}, {0, 0, 25, 10}, {-2, 5, 23, 15}},
        {"exact fit", {3, 4, 53, 24}, {3, 4, 53, 24}, {3, 4, 53, 24}},
        // Wider than the int range, still exact: (2^32 - 3) / 2 from INT32_MIN.
        {"area wider than 32 bits", {INT32_MIN, 0, INT32_MAX, 10}, {INT32_MIN, 0, INT32_MIN + 2, 10},
         {-2, 0, 0, 10}},
        // A result beyond the int range is held at its edge.
        {"result beyond the range", {0, 0, INT32_MAX, 0}, {INT32_MAX - 5, 0, INT32_MAX, 0},
         {INT32_MAX, 0, INT32_MAX, 0}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, CentreCaption(row.available, row.measured)) << row.what;
}

// ---- Images --------------------------------------------------------------------------------

TEST(DrawButtonImages, SlotChoice)
{
    struct Row { bool checkMode, pressed, hot, slot1; int expected; } rows[] = {
        {false, false, false, true, 1},   // normal image while neither hot nor pressed
        {false, false, true, true, 0},
        {false, true, false, true, 0},
        {false, false, false, false, 0},  // only the hot slot: it shows always
        {true, false, true, true, 1},     // check mode: hot does not count
        {true, true, false, true, 0},     // checked (drawn pressed) shows the hot image
        {true, false, false, false, 0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.expected, ChooseImageSlot(Button(row.hot, true, &State::m_checkMode, row.checkMode), row.pressed,
                                                row.slot1))
            << "check mode " << row.checkMode << " pressed " << row.pressed << " hot " << row.hot
            << " slot 1 " << row.slot1;
}

// One image of 16 by 15 on a button of 100 by 40, with the constructor's margins and press shift.
struct Place
{
    State button;
    ImageRequest in;

    Place(uint8_t align, bool hasText, bool pressed = false)
        : in{hasText, {0, 0, 100, 40}, {0, 0, 100, 40}, pressed, 16, 15, 3, 3, 100}
    {
        button.m_imageAlign = align;
    }
    Placement operator()() const { return PlaceImage(button, in); }
};

TEST(DrawButtonImages, PlacementForEveryAlignment)
{
    struct Row { const char* what; Place place; Rect image, caption; } rows[] = {
        // Beside the text: 3 right of the item's edge, centred vertically (25 / 2 = 12).
        {"left, text", Place(0, true), {3, 12, 100, 40}, {19, 0, 100, 40}},
        {"left, alone", Place(0, false), {42, 12, 100, 40}, {0, 0, 100, 40}},
        {"top, text", Place(1, true), {42, 3, 100, 40}, {0, 15, 100, 40}},
        {"top, alone", Place(1, false), {42, 12, 100, 40}, {0, 0, 100, 40}},
        {"right, text", Place(2, true), {81, 12, 100, 40}, {3, 0, 81, 40}},
        {"right, alone: at the top", Place(2, false), {42, 0, 100, 40}, {0, 0, 100, 40}},
        {"corner, text", Place(3, true), {0, 0, 100, 40}, {0, 0, 100, 40}},
        {"corner, alone", Place(3, false), {0, 0, 100, 40}, {0, 0, 100, 40}},
        {"left, text, pressed", Place(0, true, true), {4, 13, 101, 41}, {19, 0, 100, 40}},
        {"top, text, pressed", Place(1, true, true), {43, 4, 101, 41}, {0, 15, 100, 40}},
        {"right, text, pressed", Place(2, true, true), {82, 13, 101, 41}, {3, 0, 81, 40}},
        {"corner, pressed", Place(3, false, true), {1, 1, 101, 41}, {0, 0, 100, 40}},
        {"left, pressed, shift down",
         [] { Place p(0, false, true); SetPressShift(p.button, 1); return p; }(),
         {42, 14, 100, 42}, {0, 0, 100, 40}},
        {"left, pressed in check mode: not moved",
         [] { Place p(0, true, true); p.button.m_checkMode = 1; return p; }(),
         {3, 12, 100, 40}, {19, 0, 100, 40}},
    };
    for (const Row& row : rows) {
        const Placement out = row.place();
        EXPECT_EQ(row.image, out.image) << row.what;
        EXPECT_EQ(row.caption, out.caption) << row.what;
    }
}

TEST(DrawButtonImages, PlacementArithmeticIsSigned)
{
    // An image larger than the button is centred about it (negative halves drop toward zero).
    Place p(0, false);
    p.in.width = 105;
    p.in.height = 45;
    EXPECT_EQ(-2, p().image.left);
    EXPECT_EQ(-2, p().image.top);

    // The top alignment's margin is a client coordinate even when the item starts lower.
    p = Place(1, true);
    p.in.item = {0, 10, 100, 50};
    EXPECT_EQ(3, p().image.top);

    // Any rectangle and size give a defined result: exact where it fits in an int, else held.
    p = Place(0, false);
    p.in.item = {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
    p.in.width = p.in.height = 1;
    EXPECT_EQ((Rect{-1, -1, INT32_MAX, INT32_MAX}), p().image);   // (2^32 - 2) / 2 from INT32_MIN
    p = Place(2, true, true);
    p.in.clientRight = INT32_MIN;
    p.in.caption = {INT32_MAX, 0, INT32_MIN, 40};
    const Placement held = p();
    EXPECT_EQ(INT32_MIN + 1, held.image.left);   // held at INT32_MIN, then the press shift
    EXPECT_EQ(INT32_MIN, held.caption.right);
}

TEST(DrawButtonImages, IconThenBitmapBothNarrowTheCaption)
{
    const Placement first = Place(0, true)();
    Place bitmap(0, true);
    bitmap.in.caption = first.caption;
    bitmap.in.width = 10;
    const Placement second = bitmap();
    EXPECT_EQ(3, second.image.left);   // both images start at the item's edge
    EXPECT_EQ((Rect{32, 0, 100, 40}), second.caption);   // 19 + 10 + 3
}

// ---- Styles and codes ----------------------------------------------------------------------

TEST(DrawButtonStyles, CheckModeOnlyForCheckBoxTypes)
{
    // Not by the bit of value 2: group boxes (7) and owner-drawn buttons (11) have it, 3-state (5) has not.
    for (uint32_t type = 0; type <= 0x1F; ++type) {
        const bool expected = type == 2 || type == 3 || type == 5 || type == 6;
        EXPECT_EQ(expected, IsCheckBoxType(type)) << "type " << type;
        EXPECT_EQ(expected, IsCheckBoxType(type | 0x50010000)) << "type " << type << " with other bits";
    }
}

TEST(DrawButtonStyles, DefaultFromTemplateStyle)
{
    EXPECT_TRUE(IsDefPushButtonType(0x50010001));
    EXPECT_FALSE(IsDefPushButtonType(0x50010000));
    EXPECT_TRUE(IsDefPushButtonType(0x50010021));    // BS_LEFTTEXT lies outside the type bits
    EXPECT_FALSE(IsDefPushButtonType(0x50010011));   // 0x11 is not a default push button
}

TEST(DrawButtonStyles, SetStyleKeepsOwnerDrawAndTracksTheDefault)
{
    struct Row { uintptr_t wParam; DefaultChange change; uintptr_t passed; } rows[] = {
        {0x00, DefaultChange::Clear, 0x0B},          // BS_PUSHBUTTON
        {0x01, DefaultChange::Set, 0x0B},            // BS_DEFPUSHBUTTON
        {0x0B, DefaultChange::Keep, 0x0B},           // BS_OWNERDRAW
        {0x03, DefaultChange::Keep, 0x0B},
        {0x1F, DefaultChange::Keep, 0x0B},           // every type bit set
        {0x14, DefaultChange::Keep, 0x0B},
        {0x21, DefaultChange::Set, 0x2B},            // BS_LEFTTEXT passes
        {0x10000F00, DefaultChange::Clear, 0x10000F0B},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.change, DefaultChangeForStyle(row.wParam)) << std::hex << row.wParam;
        EXPECT_EQ(row.passed, OwnerDrawStyle(row.wParam)) << std::hex << row.wParam;
        EXPECT_EQ(TypeOwnerDraw, OwnerDrawStyle(row.wParam) & ButtonTypeMask) << std::hex << row.wParam;
    }
}

TEST(DrawButtonStyles, DialogCodeAndSetCheck)
{
    EXPECT_EQ(0x2010u, DialogCode(0x2000, true));
    EXPECT_EQ(0x2020u, DialogCode(0x2000, false));
    EXPECT_EQ(0x0020u, DialogCode(0, false));

    const bool checks[] = {false, true, true, false, false};   // wParam 0 .. 4
    for (uintptr_t w = 0; w < 5; ++w)
        EXPECT_EQ(checks[w], CheckFromSetCheck(w)) << "BM_SETCHECK " << w;
}

// The numbers callers see: 0 done, 4 for an alignment above 3, 6 for a press-shift style other than
// 0 (diagonal) and 1 (down).
TEST(DrawButtonSetters, ResultCodes)
{
    for (unsigned align = 0; align < 256; ++align) {
        State button;
        button.m_imageAlign = 2;
        EXPECT_EQ(align <= 3 ? 0u : 4u, SetImageAlign(button, (uint8_t)align)) << "align " << align;
        EXPECT_EQ(align <= 3 ? align : 2u, button.m_imageAlign) << "align " << align;
    }

    State button;
    button.m_pressShiftX = button.m_pressShiftY = 7;
    EXPECT_EQ(0u, SetPressShift(button, 0));
    EXPECT_EQ(1, button.m_pressShiftX);
    EXPECT_EQ(1, button.m_pressShiftY);
    EXPECT_EQ(0u, SetPressShift(button, 1));
    EXPECT_EQ(0, button.m_pressShiftX);
    EXPECT_EQ(2, button.m_pressShiftY);
    for (unsigned style : {2u, 3u, 255u}) {
        EXPECT_EQ(6u, SetPressShift(button, (uint8_t)style)) << "style " << style;
        EXPECT_EQ(0, button.m_pressShiftX) << "a refused style changes nothing";
        EXPECT_EQ(2, button.m_pressShiftY);
    }
}

TEST(DrawButtonMenu, CommandZeroPostsNothing)
{
    EXPECT_FALSE(MenuCommandPosts(0));
    EXPECT_TRUE(MenuCommandPosts(1));
    EXPECT_EQ(0x1234u, MenuCommandParam(0x1234));
    EXPECT_EQ(0x0001u, MenuCommandParam(0x70001));
}

}  // namespace

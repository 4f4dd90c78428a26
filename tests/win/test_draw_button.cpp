// CDrawButton in a real dialog under Wine: attaching, the default-button protocol, clicks, hot
// tracking by message sequence, disabling, check mode, what it paints (focus rectangle, caption,
// face colours, images), the parent snapshot's release, the drop-down menu and the link.
#include <windows.h>

#include <gtest/gtest.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "controls/DrawButton.h"
#include "support/FaultHooks.h"
#include "support/ImportHook.h"
#include "support/MessageRecorder.h"
#include "support/SelfStub.h"
#include "support/TestDialog.h"
#include "support/Watchdog.h"

using namespace wintest;

namespace {

// The link test copies this program under a stub name and has the button open that copy. Started
// under that name, the program only leaves a marker file beside itself and ends, before any test.
const char kStubPrefix[] = "draw_button_link_stub";

const bool g_stubRun = ExitIfStartedAsStub(kStubPrefix);

// Opens the button's state to the tests (nothing in the product sets these after construction).
class CProbeButton : public CDrawButton
{
public:
    using CDrawButton::m_backgroundBitmap;
    using CDrawButton::m_backgroundDC;
    using CDrawButton::m_bitmaps;
    using CDrawButton::m_colors;
    using CDrawButton::m_copyParentBackground;
    using CDrawButton::m_embossDisabledBitmap;
    using CDrawButton::m_hoverCursor;
    using CDrawButton::m_icons;
    using CDrawButton::m_link;
    using CDrawButton::m_menu;
    using CDrawButton::m_menuNotify;
    using CDrawButton::m_menuOwner;
    using CDrawButton::m_previousBitmap;
    using CDrawButton::m_state;
    using CDrawButton::m_tooltip;
};

const int kW = 90, kH = 30;          // every button's size in pixels
const RECT kAll = {0, 0, kW, kH};
const int kOtherId = 3;              // a plain push button after OK and Cancel in the tab order
const POINT kAway = {1200, 1000};    // a pointer position outside the dialog
// The Wine environment's classic colours.
const COLORREF kFace = RGB(192, 192, 192), kShadow = RGB(128, 128, 128), kHighlight = RGB(255, 255, 255);
const COLORREF kText = RGB(0, 0, 160);   // a caption colour no system colour has

RECT Shifted(RECT r, int dx, int dy)
{
    ::OffsetRect(&r, dx, dy);
    return r;
}

// A dialog with OK (the default push button), Cancel and a plain third button, OK and Cancel
// attached as CDrawButton; OK's messages are recorded on the control channel, Cancel's on Other,
// the dialog's on Parent.
class DrawButtonInDialog : public testing::Test
{
public:
    void SetUp() override
    {
        ASSERT_FALSE(g_stubRun);
        DialogTemplate dialogTemplate(WS_POPUP | WS_CAPTION, 200, 60, L"Buttons");
        dialogTemplate.AddButton(IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 5, 5, 50, 14, L"OK");
        dialogTemplate.AddButton(IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 60, 5, 50, 14, L"Cancel");
        dialogTemplate.AddButton(kOtherId, BS_PUSHBUTTON | WS_TABSTOP, 115, 5, 50, 14, L"Other");
        dialog.bind = [this](CDataExchange* dx) {
            DDX_Control(dx, IDOK, ok);
            DDX_Control(dx, IDCANCEL, cancel);
        };
        ::SetCursorPos(kAway.x, kAway.y);
        ASSERT_TRUE(dialog.Create(dialogTemplate, 100, 100, 340, 100));
        other = ::GetDlgItem(dialog, kOtherId);
        ::SetWindowPos(ok, NULL, 20, 20, kW, kH, SWP_NOZORDER);
        ::SetWindowPos(cancel, NULL, 120, 20, kW, kH, SWP_NOZORDER);
        ::SetWindowPos(other, NULL, 220, 20, kW, kH, SWP_NOZORDER);
        Pump();
        ASSERT_EQ((HWND)ok, ::GetFocus()) << "the first tab stop has the focus";
        recorder.Watch(ok);
        recorder.Watch(cancel, Other);
        recorder.Watch(dialog, Parent);
    }

    void Pump() { PumpMessages(dialog); }

    // Puts the pointer on the button's middle (plus dx) and waits for its move to be handled.
    void PointAt(HWND button, int dx = 0)
    {
        RECT r = {};
        ::GetWindowRect(button, &r);
        const int moves = recorder.Count(WM_MOUSEMOVE, button);
        ::SetCursorPos((r.left + r.right) / 2 + dx, (r.top + r.bottom) / 2);
        PumpUntil(dialog, [&] { return recorder.Count(WM_MOUSEMOVE, button) > moves; }, 2000);
        Pump();
    }

    void PointAway()
    {
        ::SetCursorPos(kAway.x, kAway.y);
        PumpFor(dialog, 100);
    }

    // The parent's WM_COMMAND wParams, those sent or those posted.
    std::vector<WPARAM> Commands(unsigned how) const
    {
        std::vector<WPARAM> commands;
        for (const RecordedMessage& m : recorder.Messages())
            if (m.message == WM_COMMAND && (m.flags & Parent) && (m.flags & how))
                commands.push_back(m.wParam);
        return commands;
    }

    // The button's client area as it paints it now (into a memory context filled with a marker).
    const Capture& Painted(HWND button)
    {
        PrintClient(button, shot, RGB(1, 2, 3));
        return shot;
    }

    CTestDialog dialog;
    CProbeButton ok, cancel;
    HWND other = NULL;
    MessageRecorder recorder;
    Capture shot{kW, kH};
};

// ---- Construction and setters --------------------------------------------------------------------

TEST(DrawButton, ConstructorGivesTheValuesOfTheDataModel)
{
    CProbeButton b;
    const drawbutton::State& s = b.m_state;
    const struct { const char* member; long long value, expected; } rows[] = {
        {"m_embossDisabledBitmap", b.m_embossDisabledBitmap, 1}, {"m_imageMarginX", s.m_imageMarginX, 3},
        {"m_imageMarginY", s.m_imageMarginY, 3}, {"m_pressShiftX", s.m_pressShiftX, 1},
        {"m_pressShiftY", s.m_pressShiftY, 1}, {"m_flatLook", s.m_flatLook, 1}, {"m_hot", s.m_hot, 0},
        {"m_copyParentBackground", b.m_copyParentBackground, 0}, {"m_drawPressed", s.m_drawPressed, 0},
        {"m_drawFocused", s.m_drawFocused, 0}, {"m_drawDisabled", s.m_drawDisabled, 0},
        {"m_isDefault", s.m_isDefault, 0}, {"m_checkMode", s.m_checkMode, 0}, {"m_imageAlign", s.m_imageAlign, 0},
        {"m_flatBorder", s.m_flatBorder, 1}, {"m_focusRectWhenFlat", s.m_focusRectWhenFlat, 0},
        {"m_menuOwner", (long long)b.m_menuOwner, 0}, {"m_menuShown", s.m_menuShown, 0},
        {"m_menu", (long long)b.m_menu, 0}, {"m_hoverCursor", (long long)b.m_hoverCursor, 0},
        {"m_previousBitmap", (long long)b.m_previousBitmap, 0}, {"m_hoverWhenInactive", s.m_hoverWhenInactive, 1},
        {"m_checked", s.m_checked, 0}, {"m_menuNotify.window", (long long)b.m_menuNotify.window, 0},
        {"m_link bytes", (long long)sizeof b.m_link, 260},
        {"m_link zeros", std::count(b.m_link, b.m_link + sizeof b.m_link, '\0'), 260},
        {"icon and bitmap slots", (long long)b.m_icons[0].icon | (long long)b.m_icons[1].icon |
                                      (long long)b.m_bitmaps[0].image | (long long)b.m_bitmaps[1].image, 0},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.expected, row.value) << row.member;
    for (int slot = 0; slot < 6; ++slot)   // hot, normal and focus: background, text
        EXPECT_EQ(::GetSysColor(slot % 2 == 0 ? COLOR_BTNFACE : COLOR_BTNTEXT), b.m_colors[slot]) << "slot " << slot;

    const std::string longLink(300, 'x');
    EXPECT_EQ(0u, b.SetLink(longLink.c_str()));
    EXPECT_EQ(longLink.substr(0, 259), b.m_link);
}

// An out-of-range value changes nothing and repaints nothing.
TEST_F(DrawButtonInDialog, SettersAnswerTheirNumbersAndRepaintOnlyWhatTheyTook)
{
    struct Row { const char* what; DWORD (*set)(CDrawButton& b); DWORD result; bool repaints; } rows[] = {
        {"alignment 3", [](CDrawButton& b) { return b.SetImageAlign(3, TRUE); }, 0, true},
        {"alignment 4", [](CDrawButton& b) { return b.SetImageAlign(4, TRUE); }, 4, false},
        {"alignment 255", [](CDrawButton& b) { return b.SetImageAlign(255, TRUE); }, 4, false},
        {"press shift 1", [](CDrawButton& b) { return b.SetPressShift(1, TRUE); }, 0, true},
        {"press shift 2", [](CDrawButton& b) { return b.SetPressShift(2, TRUE); }, 6, false},
        {"checked outside check mode", [](CDrawButton& b) { return b.SetChecked(1, TRUE); }, 0, false},
    };
    for (const Row& row : rows) {
        ::UpdateWindow(ok);
        EXPECT_EQ(row.result, row.set(ok)) << row.what;
        EXPECT_EQ(row.repaints, ::GetUpdateRect(ok, NULL, FALSE) != FALSE) << row.what;
    }
    EXPECT_EQ(3, ok.m_state.m_imageAlign);
    EXPECT_EQ(0, ok.m_state.m_pressShiftX);
    EXPECT_EQ(2, ok.m_state.m_pressShiftY);
    EXPECT_FALSE(ok.IsChecked());
}


// ---- Attaching, the default-button protocol and clicks -----------------------------------------

TEST_F(DrawButtonInDialog, DefaultButtonProtocolFollowsTheFocus)
{
    EXPECT_TRUE(ok.m_state.m_isDefault) << "taken from BS_DEFPUSHBUTTON";
    EXPECT_FALSE(cancel.m_state.m_isDefault);
    const UINT def = DLGC_BUTTON | DLGC_DEFPUSHBUTTON, undef = DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    struct Row {
        const char* what;
        HWND focus;
        UINT okCode, cancelCode;   // WM_GETDLGCODE answers
        int enterId;               // the command Enter sends
    } rows[] = {
        {"OK focused", ok, def, undef, IDOK},
        {"Cancel focused", cancel, undef, def, IDCANCEL},
        {"plain button focused", other, undef, undef, kOtherId},
        {"OK focused again", ok, def, undef, IDOK},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ::SendMessageA(dialog, WM_NEXTDLGCTL, (WPARAM)row.focus, TRUE);
        Pump();
        ASSERT_EQ(row.focus, ::GetFocus());
        // The dialog manager's BM_SETSTYLE never changes the owner-draw type.
        EXPECT_EQ(BS_OWNERDRAW, ::GetWindowLongA(ok, GWL_STYLE) & 0x1F);
        EXPECT_EQ(BS_OWNERDRAW, ::GetWindowLongA(cancel, GWL_STYLE) & 0x1F);
        EXPECT_EQ(row.okCode, (UINT)::SendMessageA(ok, WM_GETDLGCODE, 0, 0));
        EXPECT_EQ(row.cancelCode, (UINT)::SendMessageA(cancel, WM_GETDLGCODE, 0, 0));
        // Moving the focus moves the default look, not the dialog's default identifier.
        EXPECT_EQ(MAKELRESULT(IDOK, DC_HASDEFID), ::SendMessageA(dialog, DM_GETDEFID, 0, 0));

        recorder.Clear();
        ::PostMessageA(row.focus, WM_KEYDOWN, VK_RETURN, 0);
        Pump();
        EXPECT_EQ(std::vector<WPARAM>{MAKEWPARAM(row.enterId, BN_CLICKED)}, Commands(Sent));
    }
}

TEST_F(DrawButtonInDialog, DoubleClickGivesTheParentTwoClicks)
{
    PointAt(ok);
    recorder.Clear();
    INPUT clicks[4] = {};
    for (int i = 0; i < 4; ++i) {
        clicks[i].type = INPUT_MOUSE;
        clicks[i].mi.dwFlags = i % 2 == 0 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    }
    ASSERT_EQ(4u, ::SendInput(4, clicks, sizeof(INPUT)));
    PumpUntil(dialog, [&] { return recorder.Count(WM_LBUTTONUP, ok) == 2; }, 2000);
    Pump();
    // The second press reaches the button as an ordinary button-down, not as a double click.
    EXPECT_EQ(2, recorder.Count(WM_LBUTTONDOWN, ok));
    EXPECT_EQ(0, recorder.Count(WM_LBUTTONDBLCLK, ok));
    const WPARAM click = MAKEWPARAM(IDOK, BN_CLICKED);
    EXPECT_EQ((std::vector<WPARAM>{click, click}), Commands(Sent));
}

// ---- Hot tracking --------------------------------------------------------------------------------

// One repaint with erase: the paint, its erase and the parent's draw request (with the colour
// requests of the erase and of the paint, which Wine and Windows do not send alike).
#define REPAINT                                                                                     \
    {WM_PAINT, Posted, 0, 0}, {WM_ERASEBKGND, Sent, 0, 0}, {WM_CTLCOLORBTN, Parent | Optional, 0, 0}, \
        {WM_CTLCOLORBTN, Parent | Optional, 0, 0}, {WM_DRAWITEM, Parent | Sent | CheckWParam, IDOK, 0}

TEST_F(DrawButtonInDialog, FlatButtonLightsUnderThePointerAndGoesDarkOnARealLeave)
{
    // The pointer arrives: lit, with one repaint.
    const ExpectedMessage arrive[] = {{WM_MOUSEMOVE, Posted, 0, 0}, REPAINT};
    PointAt(ok);
    EXPECT_TRUE(ok.m_state.m_hot);
    EXPECT_TRUE(SequenceMatches(recorder, arrive));

    // Further moves over it repaint nothing.
    const ExpectedMessage move[] = {{WM_MOUSEMOVE, Posted, 0, 0}};
    recorder.Clear();
    PointAt(ok, 5);
    EXPECT_TRUE(ok.m_state.m_hot);
    EXPECT_TRUE(SequenceMatches(recorder, move));

    // The pointer leaves the dialog, so the button sees no move: only the WM_MOUSELEAVE that
    // _TrackMouseEvent asked for ends the hot look.
    const ExpectedMessage leave[] = {{WM_MOUSELEAVE, Posted, 0, 0}, REPAINT};
    recorder.Clear();
    ::SetCursorPos(kAway.x, kAway.y);
    EXPECT_TRUE(PumpUntil(dialog, [&] { return recorder.Count(WM_MOUSELEAVE, ok) > 0; }, 3000));
    Pump();
    EXPECT_FALSE(ok.m_state.m_hot);
    EXPECT_TRUE(SequenceMatches(recorder, leave));
}

TEST_F(DrawButtonInDialog, FocusLossCancelModeDeactivationAndDisablingEndTheHotLook)
{
    // Only the first row gives OK the focus, so the others cannot end the hot look by focus loss.
    struct Row { const char* what; HWND focus; void (*act)(DrawButtonInDialog& t); } rows[] = {
        {"focus loss", ok, [](DrawButtonInDialog& t) { ::SetFocus(t.cancel); }},
        {"cancel mode", cancel, [](DrawButtonInDialog& t) { ::SendMessageA(t.ok, WM_CANCELMODE, 0, 0); }},
        {"deactivation", cancel, [](DrawButtonInDialog& t) { ::SendMessageA(t.ok, WM_ACTIVATE, WA_INACTIVE, 0); }},
        {"disabling", cancel, [](DrawButtonInDialog& t) { ::EnableWindow(t.ok, FALSE); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ::SetFocus(row.focus);
        PointAt(ok);
        ASSERT_TRUE(ok.m_state.m_hot);
        recorder.Clear();
        row.act(*this);
        Pump();
        EXPECT_FALSE(ok.m_state.m_hot);
        // One repaint with erase; the button's own procedure repaints without erasing.
        EXPECT_EQ(1, recorder.Count(WM_ERASEBKGND, ok));
        PointAway();
        ::EnableWindow(ok, TRUE);
    }
}

// ---- Disabling and check mode ------------------------------------------------------------------

TEST_F(DrawButtonInDialog, DisablingMovesTheFocusToTheNextTabStopWhoeverHadIt)
{
    struct Row { const char* what; HWND focus, disabled, expected; } rows[] = {
        {"OK disabled while focused", ok, ok, cancel},
        {"OK disabled while the third button is focused", other, ok, cancel},
        {"Cancel disabled while focused", cancel, cancel, other},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ::EnableWindow(ok, TRUE);
        ::EnableWindow(cancel, TRUE);
        ::SetFocus(row.focus);
        ::EnableWindow(row.disabled, FALSE);
        EXPECT_EQ(row.expected, ::GetFocus());
    }
}

TEST_F(DrawButtonInDialog, CheckModeOnlyForCheckBoxTypes)
{
    struct Row { DWORD type; bool checkMode; } rows[] = {
        {BS_CHECKBOX, true}, {BS_AUTOCHECKBOX, true}, {BS_3STATE, true}, {BS_AUTO3STATE, true},
        {BS_PUSHBUTTON, false}, {BS_GROUPBOX, false}, {BS_OWNERDRAW, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("type " + std::to_string(row.type));
        HWND hwnd = ::CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | row.type, 20, 60, kW, kH,
                                      dialog, (HMENU)100, NULL, NULL);
        CProbeButton button;
        ASSERT_TRUE(button.SubclassWindow(hwnd));
        EXPECT_EQ(row.checkMode, button.m_state.m_checkMode != FALSE);
        EXPECT_EQ(BS_OWNERDRAW, ::GetWindowLongA(hwnd, GWL_STYLE) & 0x1F);

        // Checked and indeterminate check, anything else unchecks; outside check mode nothing does.
        const struct { WPARAM set; LRESULT get; } steps[] = {{1, 1}, {0, 0}, {2, 1}, {3, 0}};
        for (const auto& step : steps) {
            EXPECT_EQ(0, ::SendMessageA(hwnd, BM_SETCHECK, step.set, 0));
            EXPECT_EQ(row.checkMode ? step.get : 0, ::SendMessageA(hwnd, BM_GETCHECK, 0, 0)) << step.set;
        }
        // A checked box is drawn pressed (sunken border), and a click unchecks it.
        ::SendMessageA(hwnd, BM_SETCHECK, 1, 0);
        EXPECT_EQ(row.checkMode ? kShadow : kFace, Painted(hwnd).At(0, kH / 2));
        ::SendMessageA(hwnd, BM_CLICK, 0, 0);
        EXPECT_EQ(0, ::SendMessageA(hwnd, BM_GETCHECK, 0, 0));
    }
}

// ---- Painting ------------------------------------------------------------------------------------

TEST_F(DrawButtonInDialog, FocusRectangleLiesThreePixelsInsideFlatAndFour3D)
{
    ok.SetWindowText("");
    const RECT none = {0, 0, 0, 0};
    const COLORREF dot = RGB(63, 63, 63);   // the dotted rectangle inverts the grey face
    struct Row { const char* what; BOOL flat, rectWhenFlat; HWND focus; RECT expected; } rows[] = {
        {"flat, focused, no rectangle asked for", TRUE, FALSE, ok, none},
        {"flat, focused, rectangle asked for", TRUE, TRUE, ok, {3, 3, kW - 3, kH - 3}},
        {"flat, not focused", TRUE, TRUE, cancel, none},
        {"3-D, focused", FALSE, FALSE, ok, {4, 4, kW - 4, kH - 4}},
        {"3-D, not focused", FALSE, FALSE, cancel, none},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ok.m_state.m_flatLook = row.flat;
        ok.SetFocusRectWhenFlat(row.rectWhenFlat, FALSE);
        ::SetFocus(row.focus);
        EXPECT_EQ(row.expected, Painted(ok).BoundsOf(dot, kAll));
    }
}

TEST_F(DrawButtonInDialog, CaptionMovesWhenPressedAndIsEmbossedWhenDisabled)
{
    ok.m_colors[CDrawButton::ColorNormalText] = ok.m_colors[CDrawButton::ColorHotText] = kText;
    ::SetFocus(cancel);
    const RECT normal = Painted(ok).BoundsOf(kText, kAll);
    ASSERT_FALSE(::IsRectEmpty(&normal));

    struct Row { BYTE style; int dx, dy; } rows[] = {
        {0, 1, 1}, {1, 0, 2},   // diagonal, down
    };
    for (const Row& row : rows) {
        EXPECT_EQ(0u, ok.SetPressShift(row.style, FALSE));
        ::SendMessageA(ok, BM_SETSTATE, TRUE, 0);
        EXPECT_EQ(Shifted(normal, row.dx, row.dy), Painted(ok).BoundsOf(kText, kAll)) << "style " << (int)row.style;
        ::SendMessageA(ok, BM_SETSTATE, FALSE, 0);
    }

    // Disabled: the caption in the highlight colour one pixel right and down, then in the shadow
    // colour in place over it.
    ::EnableWindow(ok, FALSE);
    const Capture& disabled = Painted(ok);
    EXPECT_EQ(0, disabled.CountOf(kText, kAll));
    const RECT light = disabled.BoundsOf(kHighlight, kAll);
    EXPECT_EQ(normal, disabled.BoundsOf(kShadow, kAll));
    EXPECT_EQ(normal.right + 1, light.right);
    EXPECT_EQ(normal.bottom + 1, light.bottom);
}

TEST_F(DrawButtonInDialog, FaceColoursFollowTheStateUntilReset)
{
    enum { HotBack, HotText, NormalBack, NormalText, FocusBack, FocusText };
    const COLORREF slots[6] = {RGB(200, 0, 0), RGB(255, 255, 0), RGB(0, 160, 0),
                               RGB(0, 0, 160), RGB(0, 0, 220),   RGB(0, 200, 200)};
    std::copy(slots, slots + 6, ok.m_colors);
    struct Row { const char* what; HWND focus; bool hot, pressed; COLORREF back, text; } rows[] = {
        {"focused", ok, false, false, slots[FocusBack], slots[NormalText]},
        {"normal", cancel, false, false, slots[NormalBack], slots[NormalText]},
        {"pressed", cancel, false, true, slots[HotBack], slots[HotText]},
        {"hot", cancel, true, false, slots[HotBack], slots[HotText]},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ::SetFocus(row.focus);
        if (row.hot)
            PointAt(ok);
        ASSERT_EQ(row.hot, ok.m_state.m_hot != FALSE);
        ::SendMessageA(ok, BM_SETSTATE, row.pressed, 0);
        const Capture& face = Painted(ok);
        EXPECT_EQ(row.back, face.At(5, kH / 2));
        EXPECT_GT(face.CountOf(row.text, kAll), 0);
        EXPECT_EQ(0, face.CountOf(slots[FocusText], kAll)) << "the focus text slot is never drawn";
        ::SendMessageA(ok, BM_SETSTATE, FALSE, 0);
    }

    PointAway();
    EXPECT_EQ(0u, ok.ResetColors(TRUE));
    EXPECT_EQ(kFace, Painted(ok).At(5, kH / 2));
    EXPECT_GT(shot.CountOf(RGB(0, 0, 0), kAll), 0) << "the caption in the button text colour";
}

// A 16 x 12 picture: its middle 12 x 8 in kImageColor, a 2-pixel frame of `frame` around it.
const int kImageW = 16, kImageH = 12;
const COLORREF kImageColor = RGB(200, 40, 120), kKey = RGB(255, 0, 255);

HBITMAP MakePicture(COLORREF frame)
{
    HDC screen = ::GetDC(NULL), dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, kImageW, kImageH);
    HGDIOBJ previous = ::SelectObject(dc, bitmap);
    const RECT all = {0, 0, kImageW, kImageH}, middle = {2, 2, kImageW - 2, kImageH - 2};
    ::SetBkColor(dc, frame);
    ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &all, NULL, 0, NULL);
    ::SetBkColor(dc, kImageColor);
    ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &middle, NULL, 0, NULL);
    ::SelectObject(dc, previous);
    ::DeleteDC(dc);
    ::ReleaseDC(NULL, screen);
    return bitmap;
}

// An icon of the same picture whose frame is transparent by its mask (white there, black inside).
HICON MakeIcon()
{
    WORD rows[kImageH];
    for (int y = 0; y < kImageH; ++y)
        rows[y] = y < 2 || y >= kImageH - 2 ? 0xFFFF : 0x03C0;   // bytes C0 03: two white pixels each side
    ICONINFO info = {TRUE, 0, 0, ::CreateBitmap(kImageW, kImageH, 1, 1, rows), MakePicture(RGB(0, 0, 0))};
    HICON icon = ::CreateIconIndirect(&info);
    ::DeleteObject(info.hbmMask);
    ::DeleteObject(info.hbmColor);
    return icon;
}

TEST_F(DrawButtonInDialog, ImagesTakeTheirFourPlacesAndMoveWhenPressed)
{
    ok.m_colors[CDrawButton::ColorNormalText] = ok.m_colors[CDrawButton::ColorHotText] = kText;
    ::SetFocus(cancel);
    const RECT alone = Painted(ok).BoundsOf(kText, kAll);   // the caption without an image

    // The picture's top-left corner, with the caption "OK" beside it.
    struct Row { BYTE align; int x, y; } rows[] = {
        {0, 3, (kH - kImageH) / 2},                 // left
        {1, (kW - kImageW) / 2, 3},                 // top
        {2, kW - 3 - kImageW, (kH - kImageH) / 2},  // right
        {3, 0, 0},                                  // at the corner
    };
    for (bool icon : {true, false}) {
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(icon ? "icon" : "bitmap") + ", alignment " + std::to_string(row.align));
            if (icon)
                ok.SetIcons(MakeIcon(), NULL, FALSE);
            else
                ok.SetBitmaps(MakePicture(kKey), kKey, NULL, 0, FALSE);
            EXPECT_EQ(0u, ok.SetImageAlign(row.align, FALSE));
            const RECT middle = {row.x + 2, row.y + 2, row.x + kImageW - 2, row.y + kImageH - 2};
            ::SendMessageA(ok, BM_SETSTATE, TRUE, 0);
            EXPECT_EQ(Shifted(middle, 1, 1), Painted(ok).BoundsOf(kImageColor, kAll)) << "pressed";
            ::SendMessageA(ok, BM_SETSTATE, FALSE, 0);
            EXPECT_EQ(middle, Painted(ok).BoundsOf(kImageColor, kAll));
            EXPECT_EQ(0, shot.CountOf(kKey, kAll)) << "the frame is transparent";
            // The caption keeps out of the picture's way (at the corner it stays where it was).
            const RECT caption = shot.BoundsOf(kText, kAll);
            switch (row.align) {
            case 0: EXPECT_GE(caption.left, row.x + kImageW); break;
            case 1: EXPECT_GE(caption.top, row.y + kImageH); break;
            case 2: EXPECT_LE(caption.right, row.x); break;
            default: EXPECT_EQ(alone, caption); break;
            }
            ok.ReleaseImages(TRUE);
        }
    }
}

TEST_F(DrawButtonInDialog, DisabledBitmapIsEmbossedUnlessSwitchedOff)
{
    ok.SetWindowText("");
    ok.SetBitmaps(MakePicture(kKey), kKey, NULL, 0, FALSE);
    ::EnableWindow(ok, FALSE);
    // Alone, the picture is centred; its coloured middle is what the emboss outlines.
    const int x = (kW - kImageW) / 2 + 2, y = (kH - kImageH) / 2 + 2;
    const RECT middle = {x, y, x + kImageW - 4, y + kImageH - 4};
    EXPECT_EQ(0, Painted(ok).CountOf(kImageColor, kAll));
    EXPECT_EQ(middle, shot.BoundsOf(kShadow, kAll));
    EXPECT_EQ(Shifted(middle, 1, 1), shot.BoundsOf(kHighlight, kAll));

    ok.m_embossDisabledBitmap = FALSE;
    EXPECT_EQ(middle, Painted(ok).BoundsOf(kImageColor, kAll));
    EXPECT_EQ(0, shot.CountOf(kShadow, kAll));
}

TEST_F(DrawButtonInDialog, ImagesHandedAgainKeepTheirMasks)
{
    ok.SetWindowText("");
    ::SetFocus(cancel);
    const HBITMAP a = MakePicture(kKey), b = MakePicture(kKey);
    ok.SetBitmaps(a, kKey, b, kKey, FALSE);
    // Alone, the picture is centred; its frame's corner shows the face, not black.
    const int x = (kW - kImageW) / 2, y = (kH - kImageH) / 2;
    struct Row { const char* what; HBITMAP hot, normal; } rows[] = {
        {"the same pair again", a, b}, {"swapped", b, a}, {"one of them for both", b, b},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ok.SetBitmaps(row.hot, kKey, row.normal, kKey, FALSE);
        EXPECT_EQ(kFace, Painted(ok).At(x, y)) << "normal slot";
        ::SendMessageA(ok, BM_SETSTATE, TRUE, 0);
        EXPECT_EQ(kFace, Painted(ok).At(x + 1, y + 1)) << "hot slot, pressed";
        ::SendMessageA(ok, BM_SETSTATE, FALSE, 0);
    }
    EXPECT_EQ(0u, ::GetObjectType(a)) << "let go, so deleted";
    EXPECT_EQ((DWORD)OBJ_BITMAP, ::GetObjectType(b));
}

// ---- The parent snapshot -------------------------------------------------------------------------

// Counts deletions of the bitmap selected into a watched context. Windows refuses to delete a
// selected bitmap (it leaks); Wine defers the deletion until the context goes, so only the order
// of the calls shows the fault there (and GetGuiResources cannot: Wine answers 0 for it).
HDC g_watchedDC = NULL;
int g_selectedDeletions = 0;
ImportHook* g_deleteHook = nullptr;
std::map<const void*, int> g_destroyed;   // every handle deleted or destroyed, with its count

BOOL WINAPI RecordingDeleteObject(HGDIOBJ object)
{
    ++g_destroyed[object];
    if (g_watchedDC != NULL && object != NULL && ::GetCurrentObject(g_watchedDC, OBJ_BITMAP) == object)
        ++g_selectedDeletions;
    return g_deleteHook->Original<decltype(&::DeleteObject)>()(object);
}

TEST_F(DrawButtonInDialog, SystemColourChangeReleasesTheSnapshotAndTheNextPaintTakesANewOne)
{
    ImportHook hook("gdi32.dll", "DeleteObject", (void*)&RecordingDeleteObject);
    ASSERT_TRUE(hook.Installed());
    g_deleteHook = &hook;
    ok.m_copyParentBackground = TRUE;
    ::InvalidateRect(ok, NULL, TRUE);
    Pump();
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const HGDIOBJ snapshot = ok.m_backgroundBitmap.m_hObject;
        ASSERT_EQ((DWORD)OBJ_BITMAP, ::GetObjectType(snapshot));
        g_watchedDC = ok.m_backgroundDC.m_hDC;
        g_selectedDeletions = 0;
        recorder.Clear();
        ::SendMessageA(ok, WM_SYSCOLORCHANGE, 0, 0);
        g_watchedDC = NULL;
        EXPECT_EQ(0, g_selectedDeletions) << "deleted while still selected";
        EXPECT_EQ(0u, ::GetObjectType(snapshot));
        EXPECT_EQ(nullptr, ok.m_backgroundDC.m_hDC);
        Pump();
        EXPECT_EQ(1, recorder.Count(WM_PAINT, ok));
        EXPECT_EQ((DWORD)OBJ_BITMAP, ::GetObjectType(ok.m_backgroundBitmap.m_hObject));
    }
}

TEST_F(DrawButtonInDialog, SnapshotWhoseBitmapWasRefusedIsTakenAtTheNextPaint)
{
    ok.m_copyParentBackground = TRUE;
    wintest::g_faultCalls = 0;
    wintest::g_failEvery = false;
    {
        wintest::Hooks hooks;
        FAULT("gdi32.dll", CreateCompatibleBitmap)(hooks);
        ::RedrawWindow(ok, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        ASSERT_EQ(1, wintest::g_faultCalls);
        ::RedrawWindow(ok, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    EXPECT_EQ((DWORD)OBJ_BITMAP, ::GetObjectType(ok.m_backgroundBitmap.m_hObject));
    EXPECT_EQ(kFace, Painted(ok).At(5, kH / 2)) << "the dialog's face behind the button";
}

ImportHook* g_destroyIconHook = nullptr;

BOOL WINAPI CountingDestroyIcon(HICON icon)
{
    ++g_destroyed[icon];
    return g_destroyIconHook->Original<decltype(&::DestroyIcon)>()(icon);
}

TEST_F(DrawButtonInDialog, AnImageGivenForBothSlotsIsDestroyedOnce)
{
    ImportHook deleteHook("gdi32.dll", "DeleteObject", (void*)&RecordingDeleteObject);
    ImportHook destroyHook("user32.dll", "DestroyIcon", (void*)&CountingDestroyIcon);
    g_deleteHook = &deleteHook;
    g_destroyIconHook = &destroyHook;
    const HICON icon = MakeIcon();
    const HBITMAP picture = MakePicture(kKey);
    ok.SetIcons(icon, icon, FALSE);
    ok.SetBitmaps(picture, kKey, picture, kKey, FALSE);
    g_destroyed.clear();
    ok.ReleaseImages(TRUE);
    EXPECT_EQ(1, g_destroyed[icon]);
    EXPECT_EQ(1, g_destroyed[picture]);
}

// ---- When Windows refuses what the idle paths make ---------------------------------------------

const wintest::FaultCall kIdleFaults[] = {
    {"GetIconInfo", {FAULT("user32.dll", GetIconInfo)}},                        // the icons' sizes
    {"CreateBitmap", {FAULT("gdi32.dll", CreateBitmap)}},                       // the masks
    {"CreateCompatibleDC", {FAULT("gdi32.dll", CreateCompatibleDC)}},           // masks, images, snapshot
    {"CreateCompatibleBitmap", {FAULT("gdi32.dll", CreateCompatibleBitmap)}},   // emboss, snapshot
    {"GetDC", {FAULT("user32.dll", GetDC)}},                                    // the parent's pixels
    {"GetSubMenu", {FAULT("user32.dll", GetSubMenu)}},
    {"TrackPopupMenuEx", {FAULT("user32.dll", TrackPopupMenuEx)}},
    {"CreateWindowEx", {FAULT("user32.dll", CreateWindowExA), FAULT("user32.dll", CreateWindowExW)}},   // tooltip
    {"SetCursor", {FAULT("user32.dll", SetCursor)}},
};

// A dialog of its own: the focus and activation that the link test's start can move do not matter.
class IdleFaultMatrix : public testing::TestWithParam<std::tuple<wintest::FaultCall, bool>>
{
public:
    void SetUp() override
    {
        ASSERT_TRUE(dialog.Create(DialogTemplate(WS_POPUP | WS_CAPTION, 200, 60, L"Faults"), 100, 100, 340, 100));
    }

    CTestDialog dialog;
};

// A new button through its idle paths with one call refused: images, masks, the snapshot, the
// tooltip, the cursor and the menu. Once it has died, every handle it was given or made is gone
// and what it was lent lives on.
TEST_P(IdleFaultMatrix, NothingHangsNorOutlivesTheButton)
{
    // Made before the hooks, which refuse the test's own calls too.
    const HWND hwnd = ::CreateWindowExA(0, "BUTTON", "Idle", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 20, 60, kW, kH,
                                        dialog, (HMENU)100, NULL, NULL);
    const HICON icons[2] = {MakeIcon(), MakeIcon()};
    const HBITMAP pictures[2] = {MakePicture(kKey), MakePicture(kKey)};
    const HBRUSH lent = ::CreateSolidBrush(kText);   // no bitmap: never the button's
    const HMENU bar = ::CreateMenu(), popup = ::CreatePopupMenu();
    ::AppendMenuA(popup, MF_STRING, 101, "First");
    ::AppendMenuA(bar, MF_POPUP, (UINT_PTR)popup, "Menu");
    const BYTE andPlane[128] = {}, xorPlane[128] = {};
    const HCURSOR cursor = ::CreateCursor(NULL, 0, 0, 32, 32, andPlane, xorPlane);
    std::vector<HGDIOBJ> made;
    HWND tooltip = NULL;
    wintest::g_faultCalls = 0;
    wintest::g_failEvery = std::get<1>(GetParam());
    {
        CProbeButton button;
        ASSERT_TRUE(button.SubclassWindow(hwnd));
        button.m_copyParentBackground = TRUE;
        button.m_hoverCursor = cursor;
        wintest::Watchdog watchdog("the drop-down menu to close on Escape");
        wintest::Hooks hooks;
        for (const auto& fault : std::get<0>(GetParam()).faults)
            fault(hooks);
        button.SetBitmaps((HBITMAP)lent, kKey, NULL, 0, FALSE);
        button.SetIcons(icons[0], icons[1], FALSE);
        button.SetBitmaps(pictures[0], kKey, pictures[1], kKey, FALSE);
        button.SetDropDownMenu(bar, NULL, FALSE);
        button.SetMenuNotify(dialog, WM_APP, 0);
        // Normal, pressed, disabled (embossed), and after a colour change (a new snapshot).
        for (int step = 0; step < 4; ++step) {
            ::SendMessageA(hwnd, BM_SETSTATE, step == 1, 0);
            ::EnableWindow(hwnd, step != 2);
            if (step == 3)
                ::SendMessageA(hwnd, WM_SYSCOLORCHANGE, 0, 0);
            ::RedrawWindow(hwnd, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        }
        ::PostMessageA(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));   // pre-translated: the tooltip
        PumpMessages(dialog);
        ::SendMessageA(hwnd, WM_SETCURSOR, (WPARAM)hwnd, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        ::PostMessageA(hwnd, WM_KEYDOWN, VK_ESCAPE, 0);   // read by the menu's own loop
        ::SendMessageA(hwnd, BM_CLICK, 0, 0);
        PumpMessages(dialog);
        for (const ButtonBitmap& slot : button.m_bitmaps)
            made.push_back(slot.mask);
        made.push_back(button.m_backgroundBitmap.m_hObject);
        made.push_back(button.m_backgroundDC.m_hDC);
        tooltip = button.m_tooltip.m_hWnd;
    }
    EXPECT_GT(wintest::g_faultCalls, 0) << "the call was never made";
    ICONINFO info = {};
    for (HICON icon : {icons[0], icons[1], (HICON)cursor})
        EXPECT_FALSE(::GetIconInfo(icon, &info)) << "an icon or the cursor lives on";
    const char* const names[] = {"hot image", "normal image", "hot mask", "normal mask", "snapshot", "its context"};
    const HGDIOBJ objects[] = {pictures[0], pictures[1], made[0], made[1], made[2], made[3]};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(0u, objects[i] != NULL ? ::GetObjectType(objects[i]) : 0u) << "the " << names[i] << " lives on";
    EXPECT_FALSE(::IsMenu(bar) || ::IsMenu(popup));
    EXPECT_FALSE(tooltip != NULL && ::IsWindow(tooltip));
    EXPECT_EQ((DWORD)OBJ_BRUSH, ::GetObjectType(lent)) << "what was lent is the caller's";
    EXPECT_TRUE(::IsWindow(dialog)) << "the menu's owner";
    ::DeleteObject(lent);
}

INSTANTIATE_TEST_SUITE_P(Calls, IdleFaultMatrix, testing::Combine(testing::ValuesIn(kIdleFaults), testing::Bool()),
                         wintest::FaultCaseName<wintest::FaultCall>);

// ---- Menu and link -------------------------------------------------------------------------------

TEST_F(DrawButtonInDialog, MenuCommandIsPostedToItsOwnerAndADismissalPostsNothing)
{
    HMENU bar = ::CreateMenu(), popup = ::CreatePopupMenu();
    ::AppendMenuA(popup, MF_STRING, 101, "First");
    ::AppendMenuA(popup, MF_STRING, 102, "Second");
    ::AppendMenuA(bar, MF_POPUP, (UINT_PTR)popup, "Menu");
    ok.SetDropDownMenu(bar, NULL, FALSE);   // the owner is the dialog
    ok.SetMenuNotify(dialog, WM_APP, 77);
    const ExpectedMessage notified[] = {{WM_APP, Parent | Sent | CheckWParam | CheckLParam, (WPARAM)popup, 77}};

    struct Row {
        const char* what;
        std::vector<UINT> keys;   // queued before the click, read by the popup's own loop
        std::vector<WPARAM> posted;
    } rows[] = {
        {"first item chosen", {VK_DOWN, VK_RETURN}, {101}},
        {"menu dismissed", {VK_ESCAPE}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        for (UINT key : row.keys)
            ::PostMessageA(ok, WM_KEYDOWN, key, 0);
        recorder.Clear();
        ::SendMessageA(ok, BM_CLICK, 0, 0);
        std::vector<RecordedMessage> notifications;
        for (const RecordedMessage& m : recorder.Messages())
            if (m.message == WM_APP)
                notifications.push_back(m);
        EXPECT_TRUE(SequenceMatches(notifications, notified, 1));
        Pump();
        EXPECT_EQ(row.posted, Commands(Posted));
        EXPECT_EQ(std::vector<WPARAM>{MAKEWPARAM(IDOK, BN_CLICKED)}, Commands(Sent));
        for (const RecordedMessage& m : recorder.Messages())
            EXPECT_TRUE(m.message != WM_COMMAND || !(m.flags & Posted) || m.lParam == 0) << "no lParam";
    }
}

// The size the product gave ShellExecuteExW. Wine opens the file whatever the size says; Windows
// refuses a structure whose size is not its own.
DWORD g_shellInfoSize = 0;
ImportHook* g_shellHook = nullptr;

BOOL WINAPI RecordingShellExecuteEx(SHELLEXECUTEINFOW* info)
{
    g_shellInfoSize = info->cbSize;
    return g_shellHook->Original<decltype(&::ShellExecuteExW)>()(info);
}

// Last in this program: under Wine the stub's start can still move the activation a moment later,
// which would disturb a following test's dialog.
TEST_F(DrawButtonInDialog, LinkIsOpenedThroughTheShell)
{
    const SelfStub stub(kStubPrefix);
    ASSERT_TRUE(stub.Made()) << stub.Path();

    ImportHook hook("shell32.dll", "ShellExecuteExW", (void*)&RecordingShellExecuteEx);
    ASSERT_TRUE(hook.Installed());
    g_shellHook = &hook;
    EXPECT_EQ(0u, ok.SetLink(stub.Path().c_str()));
    recorder.Clear();
    ::SendMessageA(ok, BM_CLICK, 0, 0);
    EXPECT_TRUE(stub.WaitUntilRan(20000)) << "the stub did not run: " << stub.Path();
    EXPECT_EQ(sizeof(SHELLEXECUTEINFOW), g_shellInfoSize);
    Pump();
    EXPECT_EQ(std::vector<WPARAM>{MAKEWPARAM(IDOK, BN_CLICKED)}, Commands(Sent)) << "the parent still hears it";

}

}  // namespace

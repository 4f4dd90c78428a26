// CDrawButton in a real dialog under Wine: attaching, the default-button protocol, clicks, hot
// tracking by message sequence, disabling, check mode, what it paints (focus rectangle, caption,
// face colours, images), the drop-down menu, the link and the release of the parent snapshot.
#include <windows.h>

#include <gtest/gtest.h>
#include <shellapi.h>
#include <shlwapi.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

#include "controls/DrawButton.h"
#include "support/ImportHook.h"
#include "support/MessageRecorder.h"
#include "support/TestDialog.h"

using namespace wintest;

// Rectangles compared and printed by the assertions (found through RECT's own namespace).
static bool operator==(const RECT& a, const RECT& b)
{
    return ::EqualRect(&a, &b) != FALSE;
}

static std::ostream& operator<<(std::ostream& out, const RECT& r)
{
    return out << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

namespace {

// ---- The link stub -------------------------------------------------------------------------------
// The link test copies this program under a stub name and has the button open that copy. Started
// under that name, the program only leaves a marker file beside itself and ends, before any test.
const char kStubPrefix[] = "draw_button_link_stub";

const bool g_stubRun = [] {
    char path[MAX_PATH] = "";
    const DWORD length = ::GetModuleFileNameA(NULL, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH - 4 ||
        ::StrCmpNIA(::PathFindFileNameA(path), kStubPrefix, sizeof kStubPrefix - 1) != 0)
        return false;
    lstrcatA(path, ".ran");
    HANDLE marker = ::CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (marker != INVALID_HANDLE_VALUE)
        ::CloseHandle(marker);
    ::ExitProcess(0);
}();

// ---- The dialog ------------------------------------------------------------------------------------

// Opens the button's state to the tests (nothing in the product sets these after construction).
class CProbeButton : public CDrawButton
{
public:
    using CDrawButton::m_backgroundBitmap;
    using CDrawButton::m_backgroundDC;
    using CDrawButton::m_checkMode;
    using CDrawButton::m_colors;
    using CDrawButton::m_copyParentBackground;
    using CDrawButton::m_embossDisabledBitmap;
    using CDrawButton::m_flatLook;
    using CDrawButton::m_hot;
    using CDrawButton::m_isDefault;
};

const int kW = 90, kH = 30;          // every button's size in pixels
const int kOtherId = 3;              // a plain push button after OK and Cancel in the tab order
const POINT kAway = {1200, 1000};    // a pointer position outside the dialog
const COLORREF kFace = RGB(192, 192, 192), kShadow = RGB(128, 128, 128),
               kHighlight = RGB(255, 255, 255), kMarker = RGB(1, 2, 3);

RECT Rect(int left, int top, int right, int bottom)
{
    return {left, top, right, bottom};
}

RECT Shifted(RECT r, int dx, int dy)
{
    ::OffsetRect(&r, dx, dy);
    return r;
}

const RECT kAll = {0, 0, kW, kH};

// A dialog with OK (the default push button), Cancel and a plain third button, OK and Cancel
// attached as CDrawButton, every message of the three recorded: OK on the control channel, Cancel
// on Other, the dialog on Parent.
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
        PumpMessages(dialog);
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

    // The parent's WM_COMMAND wParams (only those posted, or only those sent).
    std::vector<WPARAM> Commands(unsigned how) const
    {
        std::vector<WPARAM> commands;
        for (const RecordedMessage& m : recorder.Messages())
            if (m.message == WM_COMMAND && (m.flags & Parent) && (m.flags & how))
                commands.push_back(m.wParam);
        return commands;
    }

    // The button's client area as it paints it into a memory context first filled with kMarker.
    void Print(HWND button, Capture& capture) { PrintClient(button, capture, kMarker); }

    CTestDialog dialog;
    CProbeButton ok, cancel;
    HWND other = NULL;
    MessageRecorder recorder;
};

// ---- Attaching and the default-button protocol -------------------------------------------------

TEST_F(DrawButtonInDialog, DefaultButtonProtocolFollowsTheFocus)
{
    EXPECT_TRUE(ok.m_isDefault) << "taken from BS_DEFPUSHBUTTON";
    EXPECT_FALSE(cancel.m_isDefault);
    struct Row {
        const char* what;
        HWND focus;
        UINT okCode, cancelCode;   // WM_GETDLGCODE answers
        int enterId;               // the command Enter sends
    } rows[] = {
        {"OK focused", ok, DLGC_BUTTON | DLGC_DEFPUSHBUTTON, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON, IDOK},
        {"Cancel focused", cancel, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON, DLGC_BUTTON | DLGC_DEFPUSHBUTTON, IDCANCEL},
        {"plain button focused", other, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON,
         kOtherId},
        {"OK focused again", ok, DLGC_BUTTON | DLGC_DEFPUSHBUTTON, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON, IDOK},
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
        // The template's default stays the dialog's default identifier.
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
    EXPECT_TRUE(ok.m_hot);
    EXPECT_TRUE(SequenceMatches(recorder, arrive));

    // Further moves over it repaint nothing.
    const ExpectedMessage move[] = {{WM_MOUSEMOVE, Posted, 0, 0}};
    recorder.Clear();
    PointAt(ok, 5);
    EXPECT_TRUE(ok.m_hot);
    EXPECT_TRUE(SequenceMatches(recorder, move));

    // The pointer leaves the dialog, so the button sees no move: only the WM_MOUSELEAVE that
    // _TrackMouseEvent asked for ends the hot look.
    const ExpectedMessage leave[] = {{WM_MOUSELEAVE, Posted, 0, 0}, REPAINT};
    recorder.Clear();
    ::SetCursorPos(kAway.x, kAway.y);
    EXPECT_TRUE(PumpUntil(dialog, [&] { return recorder.Count(WM_MOUSELEAVE, ok) > 0; }, 3000));
    Pump();
    EXPECT_FALSE(ok.m_hot);
    EXPECT_TRUE(SequenceMatches(recorder, leave));
}

TEST_F(DrawButtonInDialog, FocusLossCancelModeDeactivationAndDisablingEndTheHotLook)
{
    // Only the first row gives OK the focus, so the others cannot end the hot look by focus loss.
    struct Row {
        const char* what;
        HWND focus;
        void (*act)(DrawButtonInDialog& t);
    } rows[] = {
        {"focus loss", ok, [](DrawButtonInDialog& t) { ::SetFocus(t.cancel); }},
        {"cancel mode", cancel, [](DrawButtonInDialog& t) { ::SendMessageA(t.ok, WM_CANCELMODE, 0, 0); }},
        {"deactivation", cancel, [](DrawButtonInDialog& t) { ::SendMessageA(t.ok, WM_ACTIVATE, WA_INACTIVE, 0); }},
        {"disabling", cancel, [](DrawButtonInDialog& t) { ::EnableWindow(t.ok, FALSE); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ::SetFocus(row.focus);
        PointAt(ok);
        ASSERT_TRUE(ok.m_hot);
        recorder.Clear();
        row.act(*this);
        Pump();
        EXPECT_FALSE(ok.m_hot);
        // One repaint with erase; the button's own procedure repaints without erasing.
        EXPECT_EQ(1, recorder.Count(WM_ERASEBKGND, ok));
        ::SetCursorPos(kAway.x, kAway.y);
        PumpFor(dialog, 100);
        ::EnableWindow(ok, TRUE);
    }
}

TEST_F(DrawButtonInDialog, NeitherADragFromOutsideNorThe3DLookLights)
{
    // The left button goes down on the dialog beside the buttons, then the pointer moves onto OK.
    POINT beside = {60, 70};
    ::ClientToScreen(dialog, &beside);
    ::SetCursorPos(beside.x, beside.y);
    Pump();
    INPUT press = {};
    press.type = INPUT_MOUSE;
    press.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    ::SendInput(1, &press, sizeof press);
    Pump();
    recorder.Clear();
    PointAt(ok);
    EXPECT_FALSE(ok.m_hot);
    EXPECT_EQ(0, recorder.Count(WM_PAINT, ok));
    press.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(1, &press, sizeof press);
    ::SetCursorPos(kAway.x, kAway.y);
    PumpFor(dialog, 100);

    ok.m_flatLook = FALSE;
    recorder.Clear();
    PointAt(ok);
    EXPECT_FALSE(ok.m_hot);
    EXPECT_EQ(0, recorder.Count(WM_PAINT, ok));
}

// ---- Disabling and check mode ------------------------------------------------------------------

TEST_F(DrawButtonInDialog, DisablingMovesTheFocusToTheNextTabStopWhoeverHadIt)
{
    struct Row {
        const char* what;
        HWND focus, disabled, expected;
    } rows[] = {
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
    struct Row {
        DWORD type;
        bool checkMode;
    } rows[] = {
        {BS_CHECKBOX, true}, {BS_AUTOCHECKBOX, true}, {BS_3STATE, true}, {BS_AUTO3STATE, true},
        {BS_PUSHBUTTON, false}, {BS_GROUPBOX, false}, {BS_OWNERDRAW, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("type " + std::to_string(row.type));
        HWND hwnd = ::CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | row.type, 20, 60, kW, kH,
                                      dialog, (HMENU)100, NULL, NULL);
        ASSERT_NE(nullptr, hwnd);
        CProbeButton button;
        ASSERT_TRUE(button.SubclassWindow(hwnd));
        EXPECT_EQ(row.checkMode, button.m_checkMode != FALSE);
        EXPECT_EQ(BS_OWNERDRAW, ::GetWindowLongA(hwnd, GWL_STYLE) & 0x1F);

        // BM_SETCHECK: checked and indeterminate check, anything else unchecks; only in check mode.
        const struct { WPARAM set; LRESULT get; } steps[] = {{1, 1}, {0, 0}, {2, 1}, {3, 0}};
        for (const auto& step : steps) {
            EXPECT_EQ(0, ::SendMessageA(hwnd, BM_SETCHECK, step.set, 0));
            EXPECT_EQ(row.checkMode ? step.get : 0, ::SendMessageA(hwnd, BM_GETCHECK, 0, 0)) << step.set;
        }
        // A checked check box is drawn pressed (sunken border), and a click unchecks it.
        ::SendMessageA(hwnd, BM_SETCHECK, 1, 0);
        Capture capture(kW, kH);
        Print(hwnd, capture);
        EXPECT_EQ(row.checkMode ? kShadow : kFace, capture.At(0, kH / 2));
        ::SendMessageA(hwnd, BM_CLICK, 0, 0);
        EXPECT_EQ(0, ::SendMessageA(hwnd, BM_GETCHECK, 0, 0));
    }
}

// ---- Painting ------------------------------------------------------------------------------------

TEST_F(DrawButtonInDialog, FocusRectangleLiesThreePixelsInsideFlatAndFour3D)
{
    ok.SetWindowText("");
    const RECT none = {0, 0, 0, 0};
    // The dotted rectangle inverts the face's pixels: grey 192 becomes 63.
    const COLORREF dot = RGB(63, 63, 63);
    struct Row {
        const char* what;
        BOOL flat, rectWhenFlat;
        HWND focus;
        RECT expected;
    } rows[] = {
        {"flat, focused, no rectangle asked for", TRUE, FALSE, ok, none},
        {"flat, focused, rectangle asked for", TRUE, TRUE, ok, Rect(3, 3, kW - 3, kH - 3)},
        {"flat, not focused", TRUE, TRUE, cancel, none},
        {"3-D, focused", FALSE, FALSE, ok, Rect(4, 4, kW - 4, kH - 4)},
        {"3-D, not focused", FALSE, FALSE, cancel, none},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ok.m_flatLook = row.flat;
        ok.SetFocusRectWhenFlat(row.rectWhenFlat, FALSE);
        ::SetFocus(row.focus);
        Capture capture(kW, kH);
        Print(ok, capture);
        EXPECT_EQ(row.expected, capture.BoundsOf(dot, kAll));
    }
}

TEST_F(DrawButtonInDialog, CaptionMovesWhenPressedAndIsEmbossedWhenDisabled)
{
    const COLORREF text = RGB(0, 0, 160);
    ok.m_colors[CDrawButton::ColorNormalText] = ok.m_colors[CDrawButton::ColorHotText] = text;
    ::SetFocus(cancel);
    Capture capture(kW, kH);
    Print(ok, capture);
    const RECT normal = capture.BoundsOf(text, kAll);
    ASSERT_FALSE(::IsRectEmpty(&normal));

    struct Row { BYTE style; int dx, dy; } rows[] = {
        {CDrawButton::PressShiftDiagonal, 1, 1}, {CDrawButton::PressShiftDown, 0, 2},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(0u, ok.SetPressShift(row.style, FALSE));
        ::SendMessageA(ok, BM_SETSTATE, TRUE, 0);
        Print(ok, capture);
        EXPECT_EQ(Shifted(normal, row.dx, row.dy), capture.BoundsOf(text, kAll)) << "style " << (int)row.style;
        ::SendMessageA(ok, BM_SETSTATE, FALSE, 0);
    }

    // Disabled: the caption once in the highlight colour one pixel right and down, then in the
    // shadow colour in place over it.
    ::EnableWindow(ok, FALSE);
    Print(ok, capture);
    EXPECT_EQ(0, capture.CountOf(text, kAll));
    const RECT shadow = capture.BoundsOf(kShadow, kAll), light = capture.BoundsOf(kHighlight, kAll);
    EXPECT_EQ(normal, shadow);
    EXPECT_EQ(normal.right + 1, light.right);
    EXPECT_EQ(normal.bottom + 1, light.bottom);
}

TEST_F(DrawButtonInDialog, FaceColoursFollowTheStateUntilReset)
{
    enum { HotBack, HotText, NormalBack, NormalText, FocusBack, FocusText };
    const COLORREF slots[6] = {RGB(200, 0, 0),   RGB(255, 255, 0), RGB(0, 160, 0),
                               RGB(0, 0, 160),   RGB(0, 0, 220),   RGB(0, 200, 200)};
    for (int i = 0; i < 6; ++i)
        ok.m_colors[i] = slots[i];
    struct Row {
        const char* what;
        HWND focus;
        bool hot, pressed;
        COLORREF back, text;
    } rows[] = {
        {"focused", ok, false, false, slots[FocusBack], slots[NormalText]},
        {"normal", cancel, false, false, slots[NormalBack], slots[NormalText]},
        {"pressed", cancel, false, true, slots[HotBack], slots[HotText]},
        {"hot", cancel, true, false, slots[HotBack], slots[HotText]},
    };
    Capture capture(kW, kH);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ::SetFocus(row.focus);
        if (row.hot)
            PointAt(ok);
        ASSERT_EQ(row.hot, ok.m_hot != FALSE);
        ::SendMessageA(ok, BM_SETSTATE, row.pressed, 0);
        Print(ok, capture);
        EXPECT_EQ(row.back, capture.At(5, kH / 2));
        EXPECT_GT(capture.CountOf(row.text, kAll), 0);
        EXPECT_EQ(0, capture.CountOf(slots[FocusText], kAll)) << "the focus text slot is never drawn";
        ::SendMessageA(ok, BM_SETSTATE, FALSE, 0);
    }

    ::SetCursorPos(kAway.x, kAway.y);
    PumpFor(dialog, 100);
    EXPECT_EQ(0u, ok.ResetColors(TRUE));
    Print(ok, capture);
    EXPECT_EQ(kFace, capture.At(5, kH / 2));
    EXPECT_GT(capture.CountOf(RGB(0, 0, 0), kAll), 0) << "the caption in the button text colour";
}

// A 16 x 12 picture: its middle 12 x 8 in colour, a 2-pixel frame of key around it.
const int kImageW = 16, kImageH = 12;
const COLORREF kImageColor = RGB(200, 40, 120), kKey = RGB(255, 0, 255);

HBITMAP MakePicture(COLORREF frame)
{
    HDC screen = ::GetDC(NULL);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, kImageW, kImageH);
    HDC dc = ::CreateCompatibleDC(screen);
    HGDIOBJ previous = ::SelectObject(dc, bitmap);
    HBRUSH frameBrush = ::CreateSolidBrush(frame), colorBrush = ::CreateSolidBrush(kImageColor);
    const RECT all = {0, 0, kImageW, kImageH}, middle = {2, 2, kImageW - 2, kImageH - 2};
    ::FillRect(dc, &all, frameBrush);
    ::FillRect(dc, &middle, colorBrush);
    ::DeleteObject(frameBrush);
    ::DeleteObject(colorBrush);
    ::SelectObject(dc, previous);
    ::DeleteDC(dc);
    ::ReleaseDC(NULL, screen);
    return bitmap;
}

// An icon of the same picture whose frame is transparent by its mask.
HICON MakeIcon()
{
    HBITMAP color = MakePicture(RGB(0, 0, 0));
    HBITMAP mask = ::CreateBitmap(kImageW, kImageH, 1, 1, NULL);
    HDC dc = ::CreateCompatibleDC(NULL);
    HGDIOBJ previous = ::SelectObject(dc, mask);
    const RECT all = {0, 0, kImageW, kImageH}, middle = {2, 2, kImageW - 2, kImageH - 2};
    ::FillRect(dc, &all, (HBRUSH)::GetStockObject(WHITE_BRUSH));
    ::FillRect(dc, &middle, (HBRUSH)::GetStockObject(BLACK_BRUSH));
    ::SelectObject(dc, previous);
    ::DeleteDC(dc);
    ICONINFO info = {TRUE, 0, 0, mask, color};
    HICON icon = ::CreateIconIndirect(&info);
    ::DeleteObject(color);
    ::DeleteObject(mask);
    return icon;
}

TEST_F(DrawButtonInDialog, ImagesTakeTheirFourPlacesAndMoveWhenPressed)
{
    const COLORREF text = RGB(0, 0, 160);
    ok.m_colors[CDrawButton::ColorNormalText] = ok.m_colors[CDrawButton::ColorHotText] = text;
    ::SetFocus(cancel);
    Capture capture(kW, kH);
    Print(ok, capture);
    const RECT alone = capture.BoundsOf(text, kAll);   // the caption without an image

    // The picture's top-left corner, with the caption "OK" beside it.
    struct Row {
        BYTE align;
        int x, y;
    } rows[] = {
        {CDrawButton::ImageLeft, 3, (kH - kImageH) / 2},
        {CDrawButton::ImageTop, (kW - kImageW) / 2, 3},
        {CDrawButton::ImageRight, kW - 3 - kImageW, (kH - kImageH) / 2},
        {CDrawButton::ImageAtCorner, 0, 0},
    };
    for (bool icon : {true, false}) {
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(icon ? "icon" : "bitmap") + ", alignment " + std::to_string(row.align));
            if (icon)
                ok.SetIcons(MakeIcon(), NULL, FALSE);
            else
                ok.SetBitmaps(MakePicture(kKey), kKey, NULL, 0, FALSE);
            EXPECT_EQ(0u, ok.SetImageAlign(row.align, FALSE));
            const RECT middle = Rect(row.x + 2, row.y + 2, row.x + kImageW - 2, row.y + kImageH - 2);
            ::SendMessageA(ok, BM_SETSTATE, TRUE, 0);
            Print(ok, capture);
            EXPECT_EQ(Shifted(middle, 1, 1), capture.BoundsOf(kImageColor, kAll)) << "pressed";
            ::SendMessageA(ok, BM_SETSTATE, FALSE, 0);
            Print(ok, capture);
            EXPECT_EQ(middle, capture.BoundsOf(kImageColor, kAll));
            EXPECT_EQ(0, capture.CountOf(kKey, kAll)) << "the frame is transparent";
            // The caption keeps out of the picture's way (at the corner it stays where it was).
            const RECT caption = capture.BoundsOf(text, kAll);
            switch (row.align) {
            case CDrawButton::ImageLeft: EXPECT_GE(caption.left, row.x + kImageW); break;
            case CDrawButton::ImageTop: EXPECT_GE(caption.top, row.y + kImageH); break;
            case CDrawButton::ImageRight: EXPECT_LE(caption.right, row.x); break;
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
    const RECT middle = Rect(x, y, x + kImageW - 4, y + kImageH - 4);
    Capture capture(kW, kH);
    Print(ok, capture);
    EXPECT_EQ(0, capture.CountOf(kImageColor, kAll));
    EXPECT_EQ(middle, capture.BoundsOf(kShadow, kAll));
    EXPECT_EQ(Shifted(middle, 1, 1), capture.BoundsOf(kHighlight, kAll));

    ok.m_embossDisabledBitmap = FALSE;
    Print(ok, capture);
    EXPECT_EQ(middle, capture.BoundsOf(kImageColor, kAll));
    EXPECT_EQ(0, capture.CountOf(kShadow, kAll));
}

// ---- The parent snapshot ---------------------------------------------------------------------------

// Counts deletions of the bitmap selected into a watched context. Windows refuses to delete a
// selected bitmap (it leaks); Wine defers the deletion until the context goes, so only the order
// of the calls shows the fault there. (GetGuiResources cannot: Wine answers 0 for it.)
HDC g_watchedDC = NULL;
int g_selectedDeletions = 0;
ImportHook* g_deleteHook = nullptr;

BOOL WINAPI RecordingDeleteObject(HGDIOBJ object)
{
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
        EXPECT_EQ(0u, ::GetObjectType(snapshot)) << "the snapshot bitmap is deleted";
        EXPECT_EQ(nullptr, ok.m_backgroundDC.m_hDC);
        Pump();
        EXPECT_EQ(1, recorder.Count(WM_PAINT, ok));
        EXPECT_EQ((DWORD)OBJ_BITMAP, ::GetObjectType(ok.m_backgroundBitmap.m_hObject));
    }
}

// ---- Menu and link -------------------------------------------------------------------------------

// The menu's notify window: checks what it is told and has the popup choose by keys.
struct MenuScript
{
    std::vector<UINT> keys;
    WPARAM popup = 0;
    LPARAM value = 0;
} g_menuScript;

LRESULT CALLBACK MenuNotifyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_APP + 1)
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    g_menuScript.popup = wParam;
    g_menuScript.value = lParam;
    // The popup's loop reads these from the thread's queue once it runs.
    for (UINT key : g_menuScript.keys)
        ::PostMessageA(::GetFocus(), WM_KEYDOWN, key, 0);
    return 0;
}

TEST_F(DrawButtonInDialog, MenuCommandIsPostedToItsOwnerAndADismissalPostsNothing)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = MenuNotifyProc;
    windowClass.lpszClassName = "DrawButtonMenuNotify";
    ::RegisterClassA(&windowClass);
    HWND notify = ::CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL);
    ASSERT_NE(nullptr, notify);

    HMENU bar = ::CreateMenu(), popup = ::CreatePopupMenu();
    ::AppendMenuA(popup, MF_STRING, 101, "First");
    ::AppendMenuA(popup, MF_STRING, 102, "Second");
    ::AppendMenuA(bar, MF_POPUP, (UINT_PTR)popup, "Menu");
    ok.SetDropDownMenu(bar, NULL, FALSE);   // the owner is the dialog
    ok.SetMenuNotify(notify, WM_APP + 1, 77);

    struct Row {
        const char* what;
        std::vector<UINT> keys;
        std::vector<WPARAM> posted;
    } rows[] = {
        {"first item chosen", {VK_DOWN, VK_RETURN}, {101}},
        {"menu dismissed", {VK_ESCAPE}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        g_menuScript = MenuScript{row.keys};
        recorder.Clear();
        ::SendMessageA(ok, BM_CLICK, 0, 0);
        Pump();
        EXPECT_EQ((WPARAM)popup, g_menuScript.popup);
        EXPECT_EQ(77, g_menuScript.value);
        EXPECT_EQ(row.posted, Commands(Posted));
        EXPECT_EQ(std::vector<WPARAM>{MAKEWPARAM(IDOK, BN_CLICKED)}, Commands(Sent));
        for (const RecordedMessage& m : recorder.Messages())
            EXPECT_TRUE(m.message != WM_COMMAND || !(m.flags & Posted) || m.lParam == 0) << "no lParam";
    }
    ::DestroyWindow(notify);
}

bool WaitForFile(const std::string& path, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    while (::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (::GetTickCount() - start > timeoutMs)
            return false;
        ::Sleep(50);
    }
    return true;
}

// Waits for every process running from the file name to end (a stub still ending would keep the
// next test's dialog from becoming the foreground window).
void WaitForProcessesOf(const char* fileName)
{
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32First(snapshot, &entry); more; more = ::Process32Next(snapshot, &entry)) {
        HANDLE process = ::lstrcmpiA(entry.szExeFile, fileName) == 0
                             ? ::OpenProcess(SYNCHRONIZE, FALSE, entry.th32ProcessID)
                             : NULL;
        if (process != NULL) {
            ::WaitForSingleObject(process, 10000);
            ::CloseHandle(process);
        }
    }
    ::CloseHandle(snapshot);
}

// The size the product gave ShellExecuteExA. Wine opens the file whatever the size says; Windows
// refuses a structure whose size is not its own.
DWORD g_shellInfoSize = 0;
ImportHook* g_shellHook = nullptr;

BOOL WINAPI RecordingShellExecuteEx(SHELLEXECUTEINFOA* info)
{
    g_shellInfoSize = info->cbSize;
    return g_shellHook->Original<decltype(&::ShellExecuteExA)>()(info);
}

TEST_F(DrawButtonInDialog, LinkIsOpenedThroughTheShell)
{
    char self[MAX_PATH] = "", temp[MAX_PATH] = "";
    ASSERT_NE(0u, ::GetModuleFileNameA(NULL, self, MAX_PATH));
    ::GetTempPathA(MAX_PATH, temp);
    const std::string name = std::string(kStubPrefix) + "_" + std::to_string(::GetCurrentProcessId()) + ".exe";
    const std::string stub = temp + name, marker = stub + ".ran";
    ::DeleteFileA(marker.c_str());
    ASSERT_TRUE(::CopyFileA(self, stub.c_str(), FALSE)) << ::GetLastError();

    ImportHook hook("shell32.dll", "ShellExecuteExA", (void*)&RecordingShellExecuteEx);
    ASSERT_TRUE(hook.Installed());
    g_shellHook = &hook;
    EXPECT_EQ(0u, ok.SetLink(stub.c_str()));
    recorder.Clear();
    ::SendMessageA(ok, BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitForFile(marker, 20000)) << "the stub did not run: " << stub;
    EXPECT_EQ(sizeof(SHELLEXECUTEINFOA), g_shellInfoSize);
    Pump();
    EXPECT_EQ(std::vector<WPARAM>{MAKEWPARAM(IDOK, BN_CLICKED)}, Commands(Sent)) << "the parent still hears it";

    // Last in this program: under Wine the stub's start can still move the activation a moment
    // later, which would disturb a following test's dialog.
    WaitForProcessesOf(name.c_str());
    ::DeleteFileA(marker.c_str());
    ::DeleteFileA(stub.c_str());
}

}  // namespace

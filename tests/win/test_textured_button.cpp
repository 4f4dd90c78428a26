// CTexturedButton in the launcher's own dialog template: the faces it generates from the system
// colours and the shared random source, the face it shows on screen in each state, and SetTexture
// without a usable window.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "controls/TexturedButton.h"
#include "controls/Texture_core.h"
#include "framework/afx.h"
#include "res/resource.h"
#include "support/MessageRecorder.h"
#include "support/TestDialog.h"

namespace {

using texture::GenerateTextureFaces;
using texture::ResetTextureRandom;
using texture::TextureColors;
using texture::TextureRandomState;
using wintest::CanvasColor;
using wintest::Capture;

// The dialog's values: vertical ramp, grain 4, hot tint 20, tint 10 toward red 50, green 80, blue 250.
const UINT kEffect = 2, kGrain = 4, kHotTint = 20, kTint = 10;
const COLORREF kTintColor = 0xFA5032;

// Opens the paint-time state to the test.
class CProbeButton : public CTexturedButton
{
public:
    using CTexturedButton::m_state;
};

SIZE WindowSize(HWND hwnd)
{
    RECT r = {};
    ::GetWindowRect(hwnd, &r);
    return {r.right - r.left, r.bottom - r.top};
}

std::vector<uint8_t> BlockBytes(const CPixelCanvas& canvas)
{
    if (canvas.Block() == nullptr)
        return {};
    return std::vector<uint8_t>(canvas.Block(), canvas.Block() + canvas.TotalBytes());
}

// Header, colour table and the pixels of every row, without the row padding (which no effect
// writes and nothing shows).
std::vector<uint8_t> FaceContent(const CPixelCanvas& canvas)
{
    if (canvas.Block() == nullptr)
        return {};
    const uint8_t* block = canvas.Block();
    std::vector<uint8_t> content(block, block + 40 + canvas.PaletteBytes());
    for (int row = 0; row < canvas.Height(); ++row) {
        const uint8_t* pixels = canvas.Pixels() + size_t(row) * size_t(canvas.Stride());
        content.insert(content.end(), pixels, pixels + canvas.Width());
    }
    return content;
}

// Compares the screen with face placed at (dx, dy) over the area [left, right) x [top, bottom).
// Returns how many pixels differ and describes the first of them.
int CountFaceMismatches(const Capture& screen, const CPixelCanvas& face, int dx, int dy, const RECT& area,
                        std::string* first)
{
    int mismatches = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            const COLORREF expected = CanvasColor(face, x - dx, y - dy);
            const COLORREF actual = screen.At(x, y);
            if (actual != expected && mismatches++ == 0) {
                char text[120];
                std::snprintf(text, sizeof text, "at %d,%d expected %06lX, shown %06lX", x, y,
                              (unsigned long)expected, (unsigned long)actual);
                *first = text;
            }
        }
    return mismatches;
}

class TexturedButtonInDialog : public testing::Test
{
protected:
    void SetUp() override
    {
        // Template 102, OK and Cancel bound by DDX_Control as the real dialog binds them.
        dialog.bind = [this](CDataExchange* dx) {
            DDX_Control(dx, IDOK, ok);
            DDX_Control(dx, IDCANCEL, cancel);
        };
        ASSERT_TRUE(dialog.Create(IDD_NOTICE));
        ASSERT_EQ(ok.m_hWnd, ::GetDlgItem(dialog.m_hWnd, IDOK));
        ASSERT_EQ(cancel.m_hWnd, ::GetDlgItem(dialog.m_hWnd, IDCANCEL));
        // Keep the pointer off the buttons until a test lights one.
        ::SetCursorPos(1200, 1000);
        Pump();
    }

    void Pump() { wintest::PumpMessages(dialog.m_hWnd); }

    // Points at the button's middle and lets it see the move.
    void Hover(CProbeButton& button)
    {
        RECT r = {};
        ::GetWindowRect(button.m_hWnd, &r);
        ::SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        ::SendMessageA(button.m_hWnd, WM_MOUSEMOVE, 0,
                       MAKELPARAM((r.right - r.left) / 2, (r.bottom - r.top) / 2));
        Pump();
    }

    CProbeButton ok, cancel;
    wintest::CTestDialog dialog;   // goes first, and its buttons' windows with it
};

// ---- Generation --------------------------------------------------------------------------------

TEST(TexturedButtonEnvironment, SystemColoursAreClassic)
{
    // The Wine environment imports the classic colours, for which the unit tests work out the faces'
    // colour tables.
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), RGB(192, 192, 192));
    EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), RGB(128, 128, 128));
    EXPECT_EQ(::GetSysColor(COLOR_BTNHIGHLIGHT), RGB(255, 255, 255));
}

// Each face, header and colour table included, is the generator's for the button's size and the
// system colours.
TEST_F(TexturedButtonInDialog, TwoButtonsContinueOneRandomSequence)
{
    const TextureColors colors{::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_BTNSHADOW),
                               ::GetSysColor(COLOR_BTNHIGHLIGHT)};
    ResetTextureRandom();
    ok.SetTexture(kEffect, kGrain, kHotTint, kTint, kTintColor);
    cancel.SetTexture(kEffect, kGrain, kHotTint, kTint, kTintColor);
    const uint32_t stateAfterBoth = TextureRandomState();

    // The same two generations, independently and in the same order.
    const SIZE okSize = WindowSize(ok.m_hWnd), cancelSize = WindowSize(cancel.m_hWnd);
    CPixelCanvas okFace, okHot, cancelFace, cancelHot, freshFace, freshHot;
    ResetTextureRandom();
    GenerateTextureFaces(okSize.cx, okSize.cy, colors, kEffect, kGrain, kHotTint, kTint, kTintColor, okFace, okHot);
    GenerateTextureFaces(cancelSize.cx, cancelSize.cy, colors, kEffect, kGrain, kHotTint, kTint, kTintColor,
                         cancelFace, cancelHot);
    EXPECT_EQ(TextureRandomState(), stateAfterBoth);
    ResetTextureRandom();
    GenerateTextureFaces(cancelSize.cx, cancelSize.cy, colors, kEffect, kGrain, kHotTint, kTint, kTintColor,
                         freshFace, freshHot);

    EXPECT_EQ(FaceContent(ok.Face()), FaceContent(okFace));
    EXPECT_EQ(FaceContent(ok.HotFace()), FaceContent(okHot));
    EXPECT_EQ(FaceContent(cancel.Face()), FaceContent(cancelFace));
    EXPECT_EQ(FaceContent(cancel.HotFace()), FaceContent(cancelHot));
    // Cancel went on where OK stopped: its noise is not the start of the sequence again.
    EXPECT_NE(FaceContent(cancel.Face()), FaceContent(freshFace));
}

// ---- Painting by state -------------------------------------------------------------------------

TEST_F(TexturedButtonInDialog, ShowsTheFaceOfEachStateAtItsPlace)
{
    // The faces shown are the button's own (which the test above compares with the generator's).
    CProbeButton& button = cancel;
    button.SetWindowText("");   // no caption over the face
    button.SetTexture(kEffect, kGrain, kHotTint, kTint, kTintColor);
    const CPixelCanvas &face = button.Face(), &hotFace = button.HotFace();
    ASSERT_NE(face.Block(), nullptr);
    const SIZE size = WindowSize(button.m_hWnd);

    const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT), shadow = ::GetSysColor(COLOR_BTNSHADOW);
    const int w = size.cx, h = size.cy;
    const RECT all = {0, 0, w, h}, inside = {1, 1, w - 1, h - 1};
    // One row per state of the face choice (texturedbutton::PlaceFace), seen through the real paint.
    enum Frame { NoFrame, Raised, Sunken };
    struct Row {
        const char* what;
        bool hot, pressed;
        const CPixelCanvas* face;
        int dx, dy;
        RECT area;     // where the face must show (the frame, if any, covers the edge)
        Frame frame;
    } rows[] = {
        {"normal: normal face at the origin", false, false, &face, 0, 0, all, NoFrame},
        {"pressed, not hot: normal face at the origin", false, true, &face, 0, 0, inside, Sunken},
        {"hot: hot face at the origin", true, false, &hotFace, 0, 0, inside, Raised},
        {"hot and pressed: hot face one pixel right and down", true, true, &hotFace, 1, 1, inside, Sunken},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        if (row.hot)
            Hover(button);
        else
            ::SetCursorPos(1200, 1000);
        ::SendMessageA(button.m_hWnd, BM_SETSTATE, row.pressed, 0);
        ::InvalidateRect(button.m_hWnd, NULL, TRUE);
        Pump();
        Capture screen(w, h);
        wintest::CopyFromScreen(button.m_hWnd, screen);
        ASSERT_EQ(button.m_state.m_hot != FALSE, row.hot);
        ASSERT_EQ(button.m_state.m_drawPressed != FALSE, row.pressed);

        std::string first;
        EXPECT_EQ(CountFaceMismatches(screen, *row.face, row.dx, row.dy, row.area, &first), 0) << first;

        // The base button's frame over the face: raised while hot, sunken while pressed.
        if (row.frame != NoFrame) {
            const COLORREF topLeft = row.frame == Raised ? light : shadow;
            const COLORREF bottomRight = row.frame == Raised ? shadow : light;
            EXPECT_EQ(screen.At(w / 2, 0), topLeft);
            EXPECT_EQ(screen.At(0, h / 2), topLeft);
            EXPECT_EQ(screen.At(w / 2, h - 1), bottomRight);
            EXPECT_EQ(screen.At(w - 1, h / 2), bottomRight);
        }
        ::SendMessageA(button.m_hWnd, BM_SETSTATE, FALSE, 0);
    }
}

TEST_F(TexturedButtonInDialog, PaintsNothingBeforeSetTextureAndTheFaceAfter)
{
    CProbeButton& button = ok;
    const SIZE size = WindowSize(button.m_hWnd);
    button.SetWindowText("");
    ::SetCursorPos(1200, 1000);
    Pump();
    ASSERT_FALSE(button.m_state.m_hot);

    // The base class would fill the face colour; an empty face copies nothing.
    const COLORREF marker = RGB(1, 2, 3);
    Capture printed(size.cx, size.cy);
    wintest::PrintClient(button.m_hWnd, printed, marker);
    EXPECT_EQ(printed.CountOf(marker, printed.Area()), size.cx * size.cy);

    // The same print reaches the face once there is one.
    button.SetTexture(kEffect, kGrain, kHotTint, kTint, kTintColor);
    wintest::PrintClient(button.m_hWnd, printed, marker);
    std::string first;
    EXPECT_EQ(CountFaceMismatches(printed, button.Face(), 0, 0, {0, 0, size.cx, size.cy}, &first), 0) << first;
}

// A live change of the system colours, passed on to the buttons as their dialog does: the captions
// take the new text colour (the base button's colour slots), on the faces made anew.
TEST_F(TexturedButtonInDialog, CaptionsFollowALiveColourChange)
{
    int index = COLOR_BTNTEXT;
    const COLORREF old = ::GetSysColor(index), green = RGB(0, 255, 0);   // neither lies on a face
    const SIZE size = WindowSize(ok.m_hWnd);
    Capture shot(size.cx, size.cy);
    const auto captionPixels = [&](CProbeButton& button, COLORREF color) {
        wintest::PrintClient(button.m_hWnd, shot, RGB(1, 2, 3));
        return shot.CountOf(color, shot.Area());
    };
    for (CProbeButton* button : {&ok, &cancel}) {
        button->SetTexture(kEffect, kGrain, kHotTint, kTint, kTintColor);
        EXPECT_GT(captionPixels(*button, old), 0);
    }
    ::SetSysColors(1, &index, &green);
    for (CProbeButton* button : {&ok, &cancel}) {
        ::SendMessageW(button->m_hWnd, WM_SYSCOLORCHANGE, 0, 0);
        EXPECT_GT(captionPixels(*button, green), 0) << "caption of " << ::GetDlgCtrlID(button->m_hWnd);
        EXPECT_EQ(captionPixels(*button, old), 0) << "caption of " << ::GetDlgCtrlID(button->m_hWnd);
    }
    ::SetSysColors(1, &index, &old);   // the colours would outlive the program
}

// ---- SetTexture without a usable window ---------------------------------------------------------

TEST(TexturedButtonWithoutWindow, NeverAttachedStaysEmptyAndDrawsNoRandomValue)
{
    CTexturedButton button;
    ResetTextureRandom(12345);
    button.SetTexture(kEffect, kGrain, kHotTint, kTint, kTintColor);
    EXPECT_EQ(button.Face().Block(), nullptr);
    EXPECT_EQ(button.HotFace().Block(), nullptr);
    EXPECT_EQ(TextureRandomState(), 12345u);
}

TEST(TexturedButtonWithoutWindow, LostWindowLeavesTheFacesAsTheyWere)
{
    enum Loss { DestroyedSubclassed, DestroyedBehindItsBack };
    struct Row { const char* what; Loss loss; } rows[] = {
        // The framework detaches the object when its subclassed window goes: no window.
        {"window destroyed, object detached", DestroyedSubclassed},
        // Only attached: the object still holds the dead handle, whose rectangle cannot be read.
        {"window destroyed, object still holding the handle", DestroyedBehindItsBack},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        CTexturedButton button;
        HWND hwnd = ::CreateWindowExA(0, "BUTTON", "", WS_POPUP | BS_PUSHBUTTON, 0, 0, 60, 20, NULL, NULL, NULL, NULL);
        ASSERT_NE(hwnd, nullptr);
        ASSERT_TRUE(row.loss == DestroyedSubclassed ? button.SubclassWindow(hwnd) : button.Attach(hwnd));
        ResetTextureRandom();
        button.SetTexture(kEffect, kGrain, kHotTint, kTint, kTintColor);
        ASSERT_NE(button.Face().Block(), nullptr);
        const std::vector<uint8_t> face = BlockBytes(button.Face()), hotFace = BlockBytes(button.HotFace());
        const uint8_t* faceBlock = button.Face().Block();

        ::DestroyWindow(hwnd);
        EXPECT_EQ(button.m_hWnd == NULL, row.loss == DestroyedSubclassed);
        const uint32_t state = TextureRandomState();
        button.SetTexture(3, 9, 50, 40, RGB(0, 255, 0));

        EXPECT_EQ(button.Face().Block(), faceBlock) << "the face was made anew";
        EXPECT_EQ(BlockBytes(button.Face()), face);
        EXPECT_EQ(BlockBytes(button.HotFace()), hotFace);
        EXPECT_EQ(TextureRandomState(), state);
        button.Detach();
    }
}

}  // namespace

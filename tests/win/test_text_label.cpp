// CTextLabel in a real dialog under Wine: the font, colours and brush its parent's colour request
// leaves in a drawing context, the font setters, the blink, click and cursor handlers driven by
// real messages, and the GDI objects it releases.
#include <gtest/gtest.h>

#include <shlwapi.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/TextLabel.h"
#include "res/resource.h"
#include "support/SelfStub.h"
#include "support/TestDialog.h"

namespace {

// ---- The click stub ------------------------------------------------------------------------------
// The click test copies this program under a stub name and has the label open that copy. Started
// under that name, the program only leaves a marker file beside itself and ends, before any test.
const char kStubPrefix[] = "label_click_stub";

const bool g_stubRun = wintest::ExitIfStartedAsStub(kStubPrefix);

// ---- The label with its state in reach -----------------------------------------------------------

// Nothing in the product sets the blink mode, blink text or cursor; the tests reach them here.
class CTestLabel : public CTextLabel
{
public:
    using CTextLabel::m_blinkBrush;
    using CTextLabel::m_blinkMode;
    using CTextLabel::m_blinkPhase;
    using CTextLabel::m_blinkText;
    using CTextLabel::m_bkBrush;
    using CTextLabel::m_font;
    using CTextLabel::m_hoverCursor;
    using CTextLabel::m_logFont;
    using CTextLabel::m_textColor;

    HFONT Font() const { return (HFONT)m_font.m_hObject; }
    CString Text() const
    {
        CString text;
        GetWindowText(text);
        return text;
    }
};

// The static control's own procedure, behind the label: it sees the messages the label leaves to
// default processing.
WNDPROC g_staticProc = NULL;
std::vector<UINT> g_staticMessages;

LRESULT CALLBACK RecordingStaticProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    g_staticMessages.push_back(message);
    return ::CallWindowProcA(g_staticProc, hWnd, message, wParam, lParam);
}

int CountOf(const std::vector<UINT>& messages, UINT message)
{
    return static_cast<int>(std::count(messages.begin(), messages.end(), message));
}

// The warning dialog's template with the heading bound to a label. The dialog records what the
// label answered each time it was asked for its colours, and, like the warning dialog, may return
// a brush of its own in its place.
class CLabelDialog : public wintest::CTestDialog
{
public:
    explicit CLabelDialog(bool ownBrush) : m_replaceBrush(ownBrush)
    {
        m_ownBrush.CreateSolidBrush(0xF5F5F5);
        bind = [this](CDataExchange* dx) { DDX_Control(dx, IDC_HEAD, m_label); };
    }

    CTestLabel m_label;
    bool m_replaceBrush;
    CBrush m_ownBrush;
    std::vector<HBRUSH> m_labelAnswers;   // the label's brush, per colour request about it

protected:
    BOOL OnInitDialog() override
    {
        // The recorder goes behind the label, which subclasses the static when it is bound.
        HWND head = ::GetDlgItem(m_hWnd, IDC_HEAD);
        g_staticProc = (WNDPROC)::SetWindowLongPtrA(head, GWLP_WNDPROC, (LONG_PTR)RecordingStaticProc);
        return CTestDialog::OnInitDialog();
    }

    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlType)
    {
        HBRUSH answer = CWnd::OnCtlColor(dc, wnd, ctlType);
        if (wnd == nullptr || wnd->m_hWnd != m_label.m_hWnd)
            return answer;
        m_labelAnswers.push_back(answer);
        if (!m_replaceBrush)
            return answer;
        dc->SetBkColor(0xF5F5F5);
        return m_ownBrush;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CLabelDialog, wintest::CTestDialog)
    // HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlType)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

// Runs body once the dialog is up and every pending paint is over.
void RunInDialog(std::function<void(CLabelDialog&)> body, bool ownBrush = false)
{
    CLabelDialog dialog(ownBrush);
    ASSERT_TRUE(dialog.Create(IDD_NOTICE));
    dialog.RedrawWindow(NULL, NULL, RDW_UPDATENOW | RDW_ALLCHILDREN);
    dialog.m_labelAnswers.clear();
    g_staticMessages.clear();
    body(dialog);
}

// A memory context as a control's paint hands it to its parent, with a text colour and background
// mode that no label sets.
class CAskContext : public wintest::Capture
{
public:
    CAskContext() : Capture(1, 1)
    {
        ::SetTextColor(dc(), kUntouchedText);
        ::SetBkMode(dc(), OPAQUE);
    }

    // Sends the parent the colour request (WM_CTLCOLORSTATIC unless told) about the label.
    HBRUSH Ask(CLabelDialog& dialog, UINT message = WM_CTLCOLORSTATIC) const
    {
        return (HBRUSH)::SendMessageA(dialog.m_hWnd, message, (WPARAM)dc(), (LPARAM)dialog.m_label.m_hWnd);
    }

    static constexpr COLORREF kUntouchedText = 0x00123456;
    const HGDIOBJ m_originalFont = ::GetCurrentObject(dc(), OBJ_FONT);
};

// What a context holds: the font's description and its realised metrics, the colours, the mode.
struct ContextState
{
    HGDIOBJ font;
    LOGFONTA logFont;
    int charHeight;   // realised: cell height less internal leading
    int cellHeight;
    LONG realWeight;
    char realFace[LF_FACESIZE];
    COLORREF textColor;
    int bkMode;
};

ContextState Read(HDC dc)
{
    ContextState s{};
    s.font = ::GetCurrentObject(dc, OBJ_FONT);
    ::GetObjectA(s.font, sizeof s.logFont, &s.logFont);
    TEXTMETRICA tm{};
    ::GetTextMetricsA(dc, &tm);
    s.charHeight = tm.tmHeight - tm.tmInternalLeading;
    s.cellHeight = tm.tmHeight;
    s.realWeight = tm.tmWeight;
    ::GetTextFaceA(dc, LF_FACESIZE, s.realFace);
    s.textColor = ::GetTextColor(dc);
    s.bkMode = ::GetBkMode(dc);
    return s;
}

// ---- Colours and font --------------------------------------------------------------------------

TEST(TextLabel, UnchangedLabelDrawsInTheDefaultGuiFontOnItsButtonFaceBrush)
{
    RunInDialog([](CLabelDialog& dialog) {
        CTestLabel& label = dialog.m_label;
        CAskContext context;
        EXPECT_EQ((HBRUSH)label.m_bkBrush, context.Ask(dialog));
        const ContextState s = Read(context.dc());

        LOGFONTA guiFont{};
        ASSERT_NE(0, ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof guiFont, &guiFont));
        EXPECT_EQ(label.Font(), s.font);
        EXPECT_STREQ(guiFont.lfFaceName, s.logFont.lfFaceName);
        EXPECT_EQ(guiFont.lfHeight, s.logFont.lfHeight);
        EXPECT_EQ(guiFont.lfWeight, s.logFont.lfWeight);
        EXPECT_EQ(guiFont.lfCharSet, s.logFont.lfCharSet);
        EXPECT_EQ(::GetSysColor(COLOR_WINDOWTEXT), s.textColor);
        EXPECT_EQ(TRANSPARENT, s.bkMode);

        // Two brushes of their own, both in the button face colour.
        EXPECT_NE((HBRUSH)label.m_bkBrush, (HBRUSH)label.m_blinkBrush);
        EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), wintest::BrushColor((HBRUSH)label.m_bkBrush));
        EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), wintest::BrushColor((HBRUSH)label.m_blinkBrush));
    });
}

TEST(TextLabel, OtherColourRequestsLeaveTheContextAndNameTheBrushByTheBlinkRule)
{
    const UINT messages[] = {WM_CTLCOLORMSGBOX, WM_CTLCOLOREDIT, WM_CTLCOLORLISTBOX,
                             WM_CTLCOLORBTN, WM_CTLCOLORDLG, WM_CTLCOLORSCROLLBAR};
    RunInDialog([&](CLabelDialog& dialog) {
        CTestLabel& label = dialog.m_label;
        for (UINT message : messages) {
            SCOPED_TRACE("message " + std::to_string(message));
            CAskContext context;
            label.m_blinkMode = CTextLabel::BlinkNone;
            EXPECT_EQ((HBRUSH)label.m_bkBrush, context.Ask(dialog, message));
            label.m_blinkMode = CTextLabel::BlinkBackground;   // phase still FALSE
            EXPECT_EQ((HBRUSH)label.m_blinkBrush, context.Ask(dialog, message));
            const ContextState s = Read(context.dc());
            EXPECT_EQ(context.m_originalFont, s.font);
            EXPECT_EQ(CAskContext::kUntouchedText, s.textColor);
            EXPECT_EQ(OPAQUE, s.bkMode);
        }
    });
}

TEST(TextLabel, ParentBrushReplacesTheLabelsButTheLabelsFontAndColoursStay)
{
    RunInDialog(
        [](CLabelDialog& dialog) {
            CAskContext context;
            EXPECT_EQ((HBRUSH)dialog.m_ownBrush, context.Ask(dialog));
            ASSERT_EQ(1u, dialog.m_labelAnswers.size());
            EXPECT_EQ((HBRUSH)dialog.m_label.m_bkBrush, dialog.m_labelAnswers[0]) << "the label was asked first";
            const ContextState s = Read(context.dc());
            EXPECT_EQ(dialog.m_label.Font(), s.font);
            EXPECT_EQ(::GetSysColor(COLOR_WINDOWTEXT), s.textColor);
            EXPECT_EQ(TRANSPARENT, s.bkMode);
            EXPECT_EQ(0xF5F5F5u, ::GetBkColor(context.dc()));
        },
        true);
}

struct FontCase
{
    int height;
    BOOL bold;
    const char* face;
    LONG lfHeight;
    LONG weight;
    bool realised;        // a font of that face exists: the realised font is looked at too
    int realCharHeight;   // 0: not looked at
    int realCellHeight;   // 0: not looked at
};

TEST(TextLabel, FontSettersChainRebuildAndRepaintAtOnce)
{
    const std::string longFace = "Liberation Sans Narrow Bold Italic Extra";   // 40 bytes
    const FontCase cases[] = {
        {18, TRUE, "Arial", -18, 700, true, 18, 0},   // the heading
        {11, FALSE, "Arial", -11, 400, true, 11, 0},  // introduction and instructions
        {9, FALSE, "Arial", -9, 400, true, 9, 0},     // the liability sentence
        {-9, 5, "Arial", 9, 700, true, 0, 9},         // a cell height; any non-zero flag is bold
        {12, FALSE, longFace.c_str(), -12, 400, false, 0, 0},
    };
    RunInDialog([&](CLabelDialog& dialog) {
        CTestLabel& label = dialog.m_label;
        for (const FontCase& c : cases) {
            SCOPED_TRACE(std::string(c.face) + " " + std::to_string(c.height));
            const HFONT before = label.Font();
            const size_t answersBefore = dialog.m_labelAnswers.size();
            g_staticMessages.clear();

            // The face name last: it must keep the height and weight set before it.
            CTextLabel& chained = label.SetCharHeight(c.height).SetBoldWeight(c.bold).SetFaceName(c.face);
            EXPECT_EQ(&label, &chained);

            // Three rebuilds, each repainted before its setter returned.
            EXPECT_EQ(3, CountOf(g_staticMessages, WM_PAINT));
            EXPECT_EQ(3, CountOf(g_staticMessages, WM_ERASEBKGND));
            EXPECT_EQ(answersBefore + 3, dialog.m_labelAnswers.size());
            EXPECT_NE(before, label.Font());
            EXPECT_EQ(0u, ::GetObjectType(before)) << "the replaced font is released";

            CAskContext context;
            context.Ask(dialog);
            const ContextState s = Read(context.dc());
            EXPECT_EQ(label.Font(), s.font);
            EXPECT_EQ(std::string(c.face).substr(0, 31), s.logFont.lfFaceName);
            EXPECT_EQ(c.lfHeight, s.logFont.lfHeight);
            EXPECT_EQ(c.weight, s.logFont.lfWeight);
            if (c.realised) {
                // Arial itself, or Liberation Sans standing in for it under Wine.
                EXPECT_TRUE(std::string(s.realFace) == "Arial" || std::string(s.realFace) == "Liberation Sans")
                    << s.realFace;
                EXPECT_EQ(c.weight, s.realWeight);
            }
            if (c.realCharHeight != 0) {
                EXPECT_EQ(c.realCharHeight, s.charHeight);
            }
            if (c.realCellHeight != 0) {
                EXPECT_EQ(c.realCellHeight, s.cellHeight);
            }
        }
        // The long name stayed inside its field: m_font, right behind it, still begins as every
        // CFont does (its vtable pointer), and the later members are unchanged.
        CFont fresh;
        EXPECT_EQ(0, memcmp(&fresh, &label.m_font, sizeof(void*))) << "m_font was overwritten";
        EXPECT_TRUE(label.m_blinkText.IsEmpty());
        EXPECT_EQ(0, label.m_blinkMode) << "no blinking";
        EXPECT_EQ(nullptr, label.m_hoverCursor);
    });
}

TEST(TextLabel, SetLabelTextChangesOnlyTheText)
{
    RunInDialog([](CLabelDialog& dialog) {
        CTestLabel& label = dialog.m_label;
        label.SetFaceName("Arial").SetCharHeight(18);
        const HFONT font = label.Font();
        const LOGFONTA logFont = label.m_logFont;

        EXPECT_EQ(&label, &label.SetLabelText("Achtung!"));
        EXPECT_STREQ("Achtung!", label.Text());
        EXPECT_EQ(font, label.Font());
        EXPECT_EQ(0, memcmp(&logFont, &label.m_logFont, sizeof logFont));
        CAskContext context;
        context.Ask(dialog);
        EXPECT_EQ(font, Read(context.dc()).font);
    });
}

// ---- Blinking, click and cursor ------------------------------------------------------------------

enum class Answer { None, Back, Blink };   // what a tick's repaint had the label answer

struct TickCase
{
    BOOL phase;          // after the tick
    const char* text;    // after the tick
    Answer repaint;
};

TEST(TextLabel, TimerTicksBlinkByMode)
{
    const struct { int mode; TickCase ticks[3]; } cases[] = {
        {0,   // no blinking
         {{TRUE, "Head", Answer::None}, {FALSE, "Head", Answer::None}, {TRUE, "Head", Answer::None}}},
        // Text blinking: the static control repaints itself for each new text.
        {1,
         {{TRUE, "", Answer::Back}, {FALSE, "Blink", Answer::Back}, {TRUE, "", Answer::Back}}},
        {2,   // background blinking
         {{TRUE, "Head", Answer::Back}, {FALSE, "Head", Answer::Blink}, {TRUE, "Head", Answer::Back}}},
    };
    const COLORREF blinkColor = RGB(200, 0, 0);
    RunInDialog([&](CLabelDialog& dialog) {
        CTestLabel& label = dialog.m_label;
        label.m_blinkBrush.DeleteObject();   // a blink colour that the button face is not
        label.m_blinkBrush.CreateSolidBrush(blinkColor);
        label.m_blinkText = "Blink";
        for (const auto& c : cases) {
            label.SetLabelText("Head");
            label.m_blinkPhase = FALSE;
            label.m_blinkMode = c.mode;
            int tickNumber = 0;
            for (const TickCase& t : c.ticks) {
                SCOPED_TRACE("mode " + std::to_string(c.mode) + " tick " + std::to_string(++tickNumber));
                dialog.m_labelAnswers.clear();
                g_staticMessages.clear();
                label.SendMessage(WM_TIMER, 1, 0);

                EXPECT_EQ(t.phase, label.m_blinkPhase);
                EXPECT_STREQ(t.text, label.Text());
                EXPECT_EQ(1, CountOf(g_staticMessages, WM_TIMER)) << "passed on to default processing";
                if (t.repaint == Answer::None) {
                    EXPECT_TRUE(dialog.m_labelAnswers.empty()) << dialog.m_labelAnswers.size();
                    continue;
                }
                // Repainted inside the tick, with the brush of the new phase.
                ASSERT_EQ(1u, dialog.m_labelAnswers.size());
                const bool blink = t.repaint == Answer::Blink;
                EXPECT_EQ(blink ? (HBRUSH)label.m_blinkBrush : (HBRUSH)label.m_bkBrush, dialog.m_labelAnswers[0]);
                CRect client;
                label.GetClientRect(&client);
                HDC dc = ::GetDC(label.m_hWnd);
                const COLORREF pixel = ::GetPixel(dc, client.right - 2, client.bottom / 2);
                ::ReleaseDC(label.m_hWnd, dc);
                EXPECT_EQ(blink ? blinkColor : ::GetSysColor(COLOR_BTNFACE), pixel);
            }
        }
    });
}

TEST(TextLabel, ClickOpensTheLabelsTextWithTheShell)
{
    const wintest::SelfStub stub(kStubPrefix);
    ASSERT_TRUE(stub.Made()) << stub.Path();

    RunInDialog([&](CLabelDialog& dialog) {
        CTestLabel& label = dialog.m_label;
        // A text that names nothing has no effect.
        label.SetLabelText("Z:\\no such folder\\nothing.exe");
        label.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        EXPECT_EQ(1, CountOf(g_staticMessages, WM_LBUTTONDOWN)) << "passed on to default processing";

        label.SetLabelText(stub.Path().c_str());
        label.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        EXPECT_EQ(2, CountOf(g_staticMessages, WM_LBUTTONDOWN));
        EXPECT_TRUE(stub.WaitUntilRan(20000)) << "the stub did not run: " << stub.Path();
    });
}

TEST(TextLabel, HoverCursorIsSetOnlyWhenTheLabelHasOne)
{
    RunInDialog([](CLabelDialog& dialog) {
        CTestLabel& label = dialog.m_label;
        const HCURSOR hand = ::LoadCursorA(NULL, (LPCSTR)IDC_HAND);
        const LPARAM hit = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);

        ::SetCursor(NULL);
        label.SendMessage(WM_SETCURSOR, (WPARAM)label.m_hWnd, hit);
        EXPECT_EQ(1, CountOf(g_staticMessages, WM_SETCURSOR)) << "no cursor: default processing";
        EXPECT_NE(hand, ::GetCursor());

        label.m_hoverCursor = hand;
        EXPECT_EQ(TRUE, label.SendMessage(WM_SETCURSOR, (WPARAM)label.m_hWnd, hit));
        EXPECT_EQ(hand, ::GetCursor());
        EXPECT_EQ(1, CountOf(g_staticMessages, WM_SETCURSOR)) << "answered by the label alone";
    });
}

// ---- Ownership -------------------------------------------------------------------------------------

struct Owned { HGDIOBJ font, back, blink; };

Owned OwnedBy(const CTestLabel& label)
{
    return {label.m_font.m_hObject, label.m_bkBrush.m_hObject, label.m_blinkBrush.m_hObject};
}

void ExpectReleased(const Owned& gone)
{
    for (HGDIOBJ handle : {gone.font, gone.back, gone.blink})
        EXPECT_EQ(0u, ::GetObjectType(handle)) << (handle == gone.font ? "font" : "a brush");
}

TEST(TextLabel, DestructionReleasesExactlyItsFontAndTwoBrushes)
{
    RunInDialog([](CLabelDialog& dialog) {
        // A cursor the label borrows, and a second label bound to the introduction.
        const BYTE andMask[32 * 4] = {}, xorMask[32 * 4] = {};
        HCURSOR cursor = ::CreateCursor(::GetModuleHandleA(NULL), 0, 0, 32, 32, andMask, xorMask);
        ASSERT_NE(nullptr, cursor);
        auto intro = std::make_unique<CTestLabel>();
        ASSERT_TRUE(intro->SubclassWindow(::GetDlgItem(dialog.m_hWnd, IDC_INTRO)));
        intro->SetFaceName("Arial").SetCharHeight(11);
        intro->m_hoverCursor = cursor;

        const Owned gone = OwnedBy(*intro), kept = OwnedBy(dialog.m_label);
        for (HGDIOBJ handle : {gone.font, gone.back, gone.blink})
            ASSERT_NE(0u, ::GetObjectType(handle));
        intro.reset();

        ExpectReleased(gone);
        EXPECT_EQ((DWORD)OBJ_FONT, ::GetObjectType(kept.font)) << "the other label's objects stay";
        EXPECT_EQ((DWORD)OBJ_BRUSH, ::GetObjectType(kept.back));
        EXPECT_EQ((DWORD)OBJ_BRUSH, ::GetObjectType(kept.blink));
        EXPECT_EQ((DWORD)OBJ_FONT, ::GetObjectType(::GetStockObject(DEFAULT_GUI_FONT)));
        ICONINFO info{};
        EXPECT_TRUE(::GetIconInfo(cursor, &info)) << "the borrowed cursor stays";
        ::DeleteObject(info.hbmMask);
        ::DeleteObject(info.hbmColor);
        ::DestroyCursor(cursor);
    });

    // A label that never had a window releases its objects all the same.
    Owned gone{};
    {
        CTestLabel label;
        label.SetBoldWeight(TRUE);   // no window: rebuilds without repainting anything
        gone = OwnedBy(label);
        ASSERT_EQ((DWORD)OBJ_FONT, ::GetObjectType(gone.font));
    }
    ExpectReleased(gone);
}

}  // namespace

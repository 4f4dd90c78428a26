// The framework's window half under Wine: message maps with their base maps, Default(), the handle
// map and subclassing, message reflection, data exchange, the modal loop and its PreTranslateMessage
// walk, the application object and its message box.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "framework/afx.h"
#include "support/ImportHook.h"
#include "support/TestDialog.h"
#include "support/Watchdog.h"

namespace {

// ---- A plain window class whose own procedure records what reaches it ------------------------

std::vector<UINT> g_originalProcSaw;

LRESULT CALLBACK RecordingProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= WM_USER)
        g_originalProcSaw.push_back(message);
    if (message == WM_USER + 50)
        return 5050;
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

HWND CreatePlainWindow(HWND parent = NULL, DWORD style = WS_OVERLAPPEDWINDOW)
{
    static ATOM atom = 0;
    if (atom == 0) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = RecordingProc;
        wc.hInstance = ::GetModuleHandleA(NULL);
        wc.lpszClassName = "FrameworkTestPlain";
        atom = ::RegisterClassA(&wc);
    }
    return ::CreateWindowExA(0, "FrameworkTestPlain", "plain", style, 0, 0, 200, 100, parent, NULL,
                             ::GetModuleHandleA(NULL), NULL);
}

// ---- Message maps: a base class and a derived one ------------------------------------------

class CBaseTarget : public CWnd
{
public:
    std::vector<std::string> calls;

    LRESULT OnFirst(WPARAM, LPARAM) { calls.push_back("base first"); return 1; }
    LRESULT OnSecond(WPARAM, LPARAM) { calls.push_back("base second"); return 2; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseTarget, CWnd)
    ON_MESSAGE(WM_USER + 1, OnFirst)
    ON_MESSAGE(WM_USER + 2, OnSecond)
END_MESSAGE_MAP()

class CDerivedTarget : public CBaseTarget
{
public:
    LRESULT OnSecondAgain(WPARAM w, LPARAM l)
    {
        calls.push_back("derived second");
        return 20 + (LRESULT)w + (LRESULT)l;
    }
    LRESULT OnDefaulted(WPARAM, LPARAM)
    {
        calls.push_back("derived defaulted");
        return Default() + 1;   // the window's own procedure answers 5050
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedTarget, CBaseTarget)
    ON_MESSAGE(WM_USER + 2, OnSecondAgain)
    ON_MESSAGE(WM_USER + 50, OnDefaulted)
END_MESSAGE_MAP()

TEST(MessageMap, DerivedEntriesFirstThenBaseMapThenWindowProcedure)
{
    HWND hWnd = CreatePlainWindow();
    ASSERT_NE(nullptr, hWnd);
    CDerivedTarget target;
    ASSERT_TRUE(target.SubclassWindow(hWnd));
    g_originalProcSaw.clear();

    EXPECT_EQ(1, ::SendMessageA(hWnd, WM_USER + 1, 0, 0));      // only the base maps it
    EXPECT_EQ(23, ::SendMessageA(hWnd, WM_USER + 2, 1, 2));     // the derived entry hides the base one
    EXPECT_EQ(5051, ::SendMessageA(hWnd, WM_USER + 50, 0, 0));  // handler plus Default()
    ::SendMessageA(hWnd, WM_USER + 3, 0, 0);                    // mapped nowhere

    std::vector<std::string> expectedCalls = {"base first", "derived second", "derived defaulted"};
    EXPECT_EQ(expectedCalls, target.calls);
    // The window's own procedure saw what Default() passed on and what no map handled, nothing else.
    std::vector<UINT> expectedOriginal = {WM_USER + 50, WM_USER + 3};
    EXPECT_EQ(expectedOriginal, g_originalProcSaw);
    ::DestroyWindow(hWnd);
}

TEST(HandleMap, PermanentTemporaryAndDetachOnDestroy)
{
    HWND hWnd = CreatePlainWindow();
    ASSERT_NE(nullptr, hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
    CWnd* temporary = CWnd::FromHandle(hWnd);
    ASSERT_NE(nullptr, temporary);
    EXPECT_EQ(hWnd, temporary->m_hWnd);
    EXPECT_EQ(temporary, CWnd::FromHandle(hWnd));   // one wrapper per handle until the maps are emptied
    AfxDeleteTempWndMap();
    EXPECT_TRUE(::IsWindow(hWnd)) << "a temporary wrapper must never destroy its window";

    CBaseTarget target;
    ASSERT_TRUE(target.SubclassWindow(hWnd));
    EXPECT_EQ(&target, CWnd::FromHandlePermanent(hWnd));
    EXPECT_EQ(&target, CWnd::FromHandle(hWnd));
    EXPECT_EQ((LONG_PTR)AfxWndProc, ::GetWindowLongPtrW(hWnd, GWLP_WNDPROC))
        << "subclassed with the wide function: the window is Unicode from then on";

    CBaseTarget second;
    EXPECT_FALSE(second.SubclassWindow(hWnd)) << "a window belongs to one object";

    ::DestroyWindow(hWnd);
    EXPECT_EQ(nullptr, target.m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
}

TEST(HandleMap, DestroyingTheObjectDestroysItsWindow)
{
    HWND hWnd = CreatePlainWindow();
    {
        CBaseTarget target;
        ASSERT_TRUE(target.SubclassWindow(hWnd));
    }
    EXPECT_FALSE(::IsWindow(hWnd));
}

// ---- Reflection: a parent with one child object --------------------------------------------

class CReflectingChild : public CButton
{
public:
    HBRUSH brushToAnswer = NULL;
    BOOL clickAnswer = FALSE;
    int clicks = 0;
    int draws = 0;
    UINT lastCtlType = 0xFFFF;

    HBRUSH CtlColor(CDC*, UINT ctlType)
    {
        lastCtlType = ctlType;
        return brushToAnswer;
    }
    BOOL OnClicked()
    {
        ++clicks;
        return clickAnswer;
    }
    void DrawItem(LPDRAWITEMSTRUCT) override { ++draws; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectingChild, CButton)
    ON_WM_CTLCOLOR_REFLECT()
    ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClicked)
END_MESSAGE_MAP()

class CParentTarget : public CWnd
{
public:
    int commands = 0;
    void OnButtonCommand() { ++commands; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CParentTarget, CWnd)
    ON_COMMAND(77, OnButtonCommand)
END_MESSAGE_MAP()

struct ReflectionFixture : ::testing::Test
{
    CParentTarget parent;
    CReflectingChild child;
    HWND hParent = NULL, hChild = NULL;

    void SetUp() override
    {
        hParent = CreatePlainWindow();
        hChild = ::CreateWindowExA(0, "BUTTON", "child", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 50,
                                   20, hParent, (HMENU)77, ::GetModuleHandleA(NULL), NULL);
        ASSERT_TRUE(parent.SubclassWindow(hParent));
        ASSERT_TRUE(child.SubclassWindow(hChild));
    }
    void TearDown() override { ::DestroyWindow(hParent); }
};

TEST_F(ReflectionFixture, ChildBrushAnswersTheParentsColourRequest)
{
    HDC dc = ::CreateCompatibleDC(NULL);
    HBRUSH red = ::CreateSolidBrush(RGB(255, 0, 0));
    child.brushToAnswer = red;
    EXPECT_EQ((LRESULT)red, ::SendMessageA(hParent, WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)hChild));
    EXPECT_EQ((UINT)CTLCOLOR_STATIC, child.lastCtlType);
    EXPECT_EQ((LRESULT)red, ::SendMessageA(hParent, WM_CTLCOLORBTN, (WPARAM)dc, (LPARAM)hChild));
    EXPECT_EQ((UINT)CTLCOLOR_BTN, child.lastCtlType);

    // A null brush is no answer: the parent's default processing decides.
    child.brushToAnswer = NULL;
    LRESULT fallback = ::SendMessageA(hParent, WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)hChild);
    EXPECT_NE((LRESULT)red, fallback);
    EXPECT_EQ(::DefWindowProcA(hParent, WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)hChild), fallback);
    ::DeleteObject(red);
    ::DeleteDC(dc);
}

TEST_F(ReflectionFixture, ClickAnsweredFalseStillReachesTheParent)
{
    child.clickAnswer = FALSE;
    ::SendMessageA(hChild, BM_CLICK, 0, 0);
    EXPECT_EQ(1, child.clicks);
    EXPECT_EQ(1, parent.commands);

    child.clickAnswer = TRUE;   // the child keeps the click to itself
    ::SendMessageA(hChild, BM_CLICK, 0, 0);
    EXPECT_EQ(2, child.clicks);
    EXPECT_EQ(1, parent.commands);

    // A command without a control window (a menu, an accelerator) goes straight to the parent's map.
    ::SendMessageA(hParent, WM_COMMAND, MAKEWPARAM(77, 0), 0);
    EXPECT_EQ(2, child.clicks);
    EXPECT_EQ(2, parent.commands);
}

TEST_F(ReflectionFixture, DrawItemGoesToTheChildObject)
{
    DRAWITEMSTRUCT draw = {};
    draw.CtlType = ODT_BUTTON;
    draw.CtlID = 77;
    draw.hwndItem = hChild;
    EXPECT_EQ(TRUE, ::SendMessageA(hParent, WM_DRAWITEM, 77, (LPARAM)&draw));
    EXPECT_EQ(1, child.draws);

    // For a window without an object the parent's default processing answers.
    HWND other = ::CreateWindowExA(0, "BUTTON", "", WS_CHILD, 0, 0, 5, 5, hParent, (HMENU)78, NULL, NULL);
    draw.hwndItem = other;
    ::SendMessageA(hParent, WM_DRAWITEM, 78, (LPARAM)&draw);
    EXPECT_EQ(1, child.draws);
}

// ---- Dialogs ---------------------------------------------------------------------------------

// A control whose PreTranslateMessage records and may consume what the modal loop offers it.
class CRecordingEdit : public CWnd
{
public:
    std::vector<std::string>* log = nullptr;
    bool consumeKeys = false;

    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_KEYDOWN) {
            log->push_back("edit " + std::to_string(msg->wParam));
            return consumeKeys;
        }
        return FALSE;
    }
};

// A dialog run modal from an in-memory template; the test decides what happens once it is up.
class CModalDialog : public wintest::CTestDialog
{
public:
    std::vector<std::string> log;
    CRecordingEdit edit;
    CButton okButton;
    std::vector<MSG> toPost;     // posted after initialisation, in order
    int endInInit = 0;           // non-zero: EndDialog with it from OnInitDialog
    bool okCalled = false, cancelCalled = false;
    bool shownAfterCancel = false;   // still visible once OnCancel has ended the dialog

    CModalDialog()
    {
        edit.log = &log;
        m_template.AddButton(IDOK, WS_TABSTOP | BS_DEFPUSHBUTTON, 10, 50, 60, 14, L"OK");
        m_template.AddButton(IDCANCEL, WS_TABSTOP | BS_PUSHBUTTON, 80, 50, 60, 14, L"Cancel");
        m_template.AddControl(0x0081, 300, WS_TABSTOP | WS_BORDER, 10, 10, 60, 14, L"");   // an edit
    }

    INT_PTR DoModal() override
    {
        // The same road as CDialog::DoModal, from a template in memory instead of a resource.
        wintest::Watchdog watchdog("the test dialog to end");
        m_bContinueModal = TRUE;
        m_nModalResult = -1;
        if (Create(m_template, 40, 40, 300, 160) && m_bContinueModal)
            RunModalLoop();
        if (m_hWnd != NULL)
            DestroyWindow();
        return m_nModalResult;
    }

    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_KEYDOWN)
            log.push_back("dialog " + std::to_string(msg->wParam));
        return CDialog::PreTranslateMessage(msg);
    }

protected:
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Control(dx, IDOK, okButton);
        DDX_Control(dx, 300, edit);
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        log.push_back(CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, 300)) == &edit ? "edit bound"
                                                                                    : "edit not bound");
        if (endInInit != 0)
            EndDialog(endInInit);
        for (MSG msg : toPost) {
            HWND target = msg.hwnd == NULL ? m_hWnd : ::GetDlgItem(m_hWnd, (int)(INT_PTR)msg.hwnd);
            ::PostMessageA(target, msg.message, msg.wParam, msg.lParam);
        }
        return TRUE;
    }
    void OnOK() override
    {
        okCalled = true;
        CDialog::OnOK();
    }
    void OnCancel() override
    {
        cancelCalled = true;
        CDialog::OnCancel();
        shownAfterCancel = ::IsWindowVisible(m_hWnd) != FALSE;
    }

private:
    wintest::DialogTemplate m_template{WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE, 150, 80,
                                       L"Test dialog"};
};

// Its window is a control id, resolved once the dialog exists (0: the dialog).
MSG PostTo(int controlId, UINT message, WPARAM wParam)
{
    return MSG{(HWND)(INT_PTR)controlId, message, wParam, 0, 0, {0, 0}};
}

TEST(Dialog, RealResourceTemplateRunsToo)
{
    // Template 102 of the launcher's resources, ended at once with a distinctive code.
    class CEndsAtOnce : public CDialog
    {
    public:
        CEndsAtOnce() : CDialog(102) {}
        BOOL OnInitDialog() override
        {
            CDialog::OnInitDialog();
            EndDialog(77);
            return TRUE;
        }
    } dialog;
    wintest::Watchdog watchdog("template 102 to end from its initialisation");
    EXPECT_EQ(77, dialog.DoModal());

    CDialog missing(4711);   // no such template
    EXPECT_EQ(-1, missing.DoModal());
}

// What ends the modal loop, the walk a posted key takes, and the handler a command reaches. Every
// row leaves the dialog and its controls detached from their destroyed windows.
TEST(ModalLoop, EndsFromInitialisationOrByKeysAndCommands)
{
    struct Row {
        const char* what;
        int endInInit;
        bool consumeKeys;
        std::vector<MSG> posted;
        INT_PTR result;
        std::vector<std::string> log;
    } rows[] = {
        {"ended from initialisation", 4321, false, {}, 4321, {"edit bound"}},
        // A key visits the control, then the dialog, then the dialog manager.
        {"Escape to the edit", 0, false, {PostTo(300, WM_KEYDOWN, VK_ESCAPE)}, IDCANCEL,
         {"edit bound", "edit 27", "dialog 27"}},
        // Escape is kept by the edit control; the posted Enter to OK is then the dialog's.
        {"Escape kept by the edit", 0, true, {PostTo(300, WM_KEYDOWN, VK_ESCAPE), PostTo(IDOK, WM_KEYDOWN, VK_RETURN)},
         IDOK, {"edit bound", "edit 27", "dialog 13"}},
        {"Cancel", 0, false, {PostTo(0, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED))}, IDCANCEL, {"edit bound"}},
        {"the close box acts as Cancel", 0, false, {PostTo(0, WM_SYSCOMMAND, SC_CLOSE)}, IDCANCEL, {"edit bound"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        CModalDialog dialog;
        dialog.endInInit = row.endInInit;
        dialog.edit.consumeKeys = row.consumeKeys;
        dialog.toPost = row.posted;
        EXPECT_EQ(row.result, dialog.DoModal());
        EXPECT_EQ(row.result == IDOK, dialog.okCalled);
        EXPECT_EQ(row.result == IDCANCEL, dialog.cancelCalled);
        EXPECT_FALSE(dialog.shownAfterCancel);
        EXPECT_EQ(row.log, dialog.log);
        EXPECT_EQ(nullptr, dialog.m_hWnd);
        EXPECT_EQ(nullptr, dialog.okButton.m_hWnd);
    }
}

// Windows' WaitMessage: it handles what other threads send meanwhile, but returns only once a message
// is queued (Wine's returns after a sent message too). Signals g_loopIdle each time it begins.
HANDLE g_loopIdle = NULL;

BOOL WINAPI WaitForQueuedMessage()
{
    ::SetEvent(g_loopIdle);
    MSG msg;
    while (!::PeekMessageW(&msg, NULL, 0, 0, PM_NOREMOVE))
        ::MsgWaitForMultipleObjects(0, NULL, FALSE, INFINITE, QS_ALLINPUT);
    return TRUE;
}

// Cancel sent from another thread (an automation tool pressing the button) while the loop sleeps:
// the dialog hides at once and its loop wakes up without further input.
TEST(ModalLoop, CancelSentFromAnotherThreadEndsTheIdleLoop)
{
    wintest::ImportHook wait("user32.dll", "WaitMessage", (void*)&WaitForQueuedMessage);
    ASSERT_TRUE(wait.Installed());
    g_loopIdle = ::CreateEventW(NULL, FALSE, FALSE, NULL);
    CModalDialog dialog;
    DWORD sentAt = 0;
    std::thread sender([&] {
        if (::WaitForSingleObject(g_loopIdle, 5000) != WAIT_OBJECT_0)
            return;
        sentAt = ::GetTickCount();
        ::SendMessageW(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    const INT_PTR result = dialog.DoModal();
    const DWORD endedAt = ::GetTickCount();
    sender.join();
    ::CloseHandle(g_loopIdle);

    ASSERT_NE(0u, sentAt) << "the loop never waited";
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_LT(endedAt - sentAt, 1000u) << "ms from the Cancel to the end of the loop";
    EXPECT_FALSE(dialog.shownAfterCancel);
}

// A quit posted while the dialog runs ends it and is left queued for the loop outside it.
TEST(ModalLoop, QuitDuringTheDialogStaysQueuedForTheOuterLoop)
{
    class CQuitsAtOnce : public CDialog
    {
    public:
        CQuitsAtOnce() : CDialog(102) {}
        BOOL OnInitDialog() override
        {
            CDialog::OnInitDialog();
            ::PostQuitMessage(23);
            return TRUE;
        }
    } dialog;
    wintest::Watchdog watchdog("the quit to end the dialog");
    EXPECT_EQ(-1, dialog.DoModal());
    EXPECT_EQ(nullptr, dialog.m_hWnd);
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit was swallowed";
    EXPECT_EQ(23u, msg.wParam);
}

// ---- The application object and its message box --------------------------------------------

TEST(Application, MessageBoxCaptionIsTheExecutablesBaseName)
{
    CWinApp app;   // no name given: the title comes from the executable
    EXPECT_EQ(&app, AfxGetApp());
    EXPECT_STREQ(L"win_test_framework_window", app.GetAppTitle());

    wintest::MessageBoxCatcher catcher;
    EXPECT_EQ(IDOK, AfxMessageBox("Fehler\nDatei nicht gefunden: C:\\x.exe", MB_OK | MB_ICONERROR));
    ASSERT_EQ(1u, catcher.Boxes().size());
    EXPECT_EQ("win_test_framework_window", catcher.Boxes()[0].caption);
    EXPECT_EQ("Fehler\nDatei nicht gefunden: C:\\x.exe", catcher.Boxes()[0].text);
    EXPECT_EQ(UINT(MB_OK | MB_ICONERROR), catcher.Boxes()[0].type);
}

TEST(Application, MainWindowPointerDoesNotOutliveItsObject)
{
    CWinApp app("Named");
    EXPECT_STREQ(L"Named", app.GetAppTitle());
    {
        CDialog dialog(102);
        app.m_pMainWnd = &dialog;
        EXPECT_EQ(&dialog, AfxGetThread()->GetMainWnd());
    }
    EXPECT_EQ(nullptr, app.m_pMainWnd);
}

}  // namespace

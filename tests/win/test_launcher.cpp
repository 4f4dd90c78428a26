// The launcher's Windows side under Wine: the registry reader and the language probe against real
// keys, the version reader on real files, and the warning dialog from its real template, also with
// each of its creation calls refused.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <functional>
#include <list>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/LanguageProbe.h"
#include "app/LanguageTable_core.h"
#include "app/LauncherApp.h"
#include "app/Version.h"
#include "dialog/NoticeDialog.h"
#include "framework/afxdll.h"
#include "support/FaultHooks.h"
#include "support/ImportHook.h"
#include "support/MessageRecorder.h"
#include "support/TestDialog.h"
#include "support/Watchdog.h"

namespace {

// version.dll and comctl32.dll are bound on first use here too, through the launcher's hook. The
// slots each binding fills are recorded with what they held, so that a test can undo the bindings:
// the next call then loads the library anew.
std::vector<std::pair<void**, void*>> g_bindings;

FARPROC WINAPI RecordingDelayLoadHook(unsigned notification, PDelayLoadInfo info)
{
    if (notification == dliStartProcessing) {
        g_bindings.emplace_back((void**)info->ppfn, (void*)*info->ppfn);
        g_bindings.emplace_back((void**)((BYTE*)::GetModuleHandleA(NULL) + info->pidd->rvaHmod), nullptr);
    }
    return AfxDelayLoadHook(notification, info);
}

}  // namespace

PfnDliHook __pfnDliNotifyHook2 = RecordingDelayLoadHook;
PfnDliHook __pfnDliFailureHook2 = AfxDelayLoadHook;
// The slot the launcher calls the delay-loaded shell function through; the launch test answers there.
extern "C" void* __imp_ShellExecuteExW;

namespace {

const char* const TestKey = "Software\\TeleskarnTests\\Reader";

std::string ModuleDirectory()
{
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(NULL, path, MAX_PATH);
    std::string directory(path);
    return directory.substr(0, directory.find_last_of('\\'));
}

// A test path as the launcher's wide calls take it.
std::u16string Wide(const std::string& path)
{
    return AfxTextToWide(path.c_str());
}

// ---- Start-up -------------------------------------------------------------------------------

// The launcher's start-up, which runs in this program too before its other static initialisers, takes
// the program's own folder out of the library search: a library beside it is not found by its name.
TEST(LauncherStart, LibraryBesideTheProgramIsNotFoundByName)
{
    const std::string name = "teleskarn-planted.dll";
    EXPECT_EQ(nullptr, ::LoadLibraryA(name.c_str()));
    HMODULE beside = ::LoadLibraryA((ModuleDirectory() + "\\" + name).c_str());
    EXPECT_NE(nullptr, beside) << "not beside the program, or not loadable";
    ::FreeLibrary(beside);
}

// ---- Registry reader -----------------------------------------------------------------------

class RegistryReader : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, TestKey);
        ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_USER, TestKey, 0, NULL, 0, KEY_ALL_ACCESS,
                                                   NULL, &m_key, NULL));
    }
    void TearDown() override
    {
        ::RegCloseKey(m_key);
        ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\TeleskarnTests");
    }
    void Set(const char* name, DWORD type, const std::string& data)
    {
        ASSERT_EQ(ERROR_SUCCESS,
                  ::RegSetValueExA(m_key, name, 0, type, (const BYTE*)data.data(), (DWORD)data.size()));
    }
    CString Read(const char* name, const char* subKey = TestKey)
    {
        CRegistryKeyReader reader(HKEY_CURRENT_USER, subKey);
        return reader.ReadStringValue(name);
    }

    HKEY m_key = NULL;
};

TEST_F(RegistryReader, TextsUpToTheFirstNulAndNothingBeyondTheBuffer)
{
    const std::string fits(CRegistryKeyReader::DataBufferSize, 'a');      // fills the buffer, no NUL
    Set("exactFit", REG_BINARY, fits);
    Set("withNul", REG_SZ, std::string(CRegistryKeyReader::DataBufferSize - 1, 'b') + '\0');
    Set("overLong", REG_SZ, std::string(300, 'c') + '\0');
    Set("binary", REG_BINARY, std::string("de\0xyz", 6));
    Set("tag", REG_SZ, std::string("en-us;English\0", 14));
    Set("empty", REG_SZ, std::string("\0", 1));
    Set("", REG_SZ, std::string("zz-default\0", 11));

    EXPECT_STREQ(fits.c_str(), Read("exactFit"));
    EXPECT_EQ(259, Read("withNul").GetLength());
    EXPECT_STREQ("", Read("overLong")) << "data that do not fit give no text";
    EXPECT_STREQ("de", Read("binary")) << "the type is not examined";
    EXPECT_STREQ("en-us;English", Read("tag"));
    EXPECT_STREQ("", Read("empty"));
    EXPECT_STREQ("", Read("noSuchValue"));
    EXPECT_STREQ("zz-default", Read("")) << "an empty name reads the key's default value";
    EXPECT_STREQ("", Read("tag", "Software\\TeleskarnTests\\NoSuchKey"));
}

// ---- Language probe -------------------------------------------------------------------------

const char* const TableKey = "MIME\\Database\\Rfc1766";

TEST(LanguageProbe, LooksUpTheImportedTable)
{
    CLanguageProbe probe;
    struct Row { const char* id; const char* code; } rows[] = {
        {"0407", "de"}, {"0409", "en"}, {"0809", "en"}, {"0406", "da"}, {"0410", "it"}, {"040b", "fi"},
        {"040B", "fi"},   // value names are not case-sensitive
        {"0414", "no"}, {"041d", "sv"}, {"040c", "fr"}, {"0807", "de"}, {"9999", ""},
    };
    for (const Row& row : rows)
        EXPECT_STREQ(row.code, probe.LookupRfc1766Code(row.id)) << "identifier " << row.id;

    // The fixture runs the tests with LC_ALL=C.UTF-8, an English (0409) user locale.
    EXPECT_STREQ("en", probe.GetLanguageCode());
}

TEST(LanguageProbe, WithoutTheTableTheCodeIsEmpty)
{
    // Take the table away for the duration of the test (a copy waits under the test key) and put it back.
    HKEY table = NULL, saved = NULL;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExA(HKEY_CLASSES_ROOT, TableKey, 0, KEY_READ, &table));
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\TeleskarnTests\\Rfc1766", 0, NULL, 0,
                                               KEY_ALL_ACCESS, NULL, &saved, NULL));
    ASSERT_EQ(ERROR_SUCCESS, ::RegCopyTreeA(table, NULL, saved));
    ::RegCloseKey(table);
    ASSERT_EQ(ERROR_SUCCESS, ::RegDeleteTreeA(HKEY_CLASSES_ROOT, TableKey));
    ::RegDeleteKeyA(HKEY_CLASSES_ROOT, TableKey);

    CLanguageProbe probe;
    CString withoutTable = probe.GetLanguageCode();
    CString lookedUp = probe.LookupRfc1766Code("0407");

    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CLASSES_ROOT, TableKey, 0, NULL, 0, KEY_ALL_ACCESS, NULL,
                                               &table, NULL));
    EXPECT_EQ(ERROR_SUCCESS, ::RegCopyTreeA(saved, NULL, table));
    ::RegCloseKey(table);
    ::RegCloseKey(saved);
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\TeleskarnTests");

    EXPECT_STREQ("", withoutTable);
    EXPECT_STREQ("", lookedUp);
    EXPECT_STREQ("de", probe.LookupRfc1766Code("0407")) << "the table is back for the other tests";
}

// ---- Version reader -------------------------------------------------------------------------

TEST(VersionReader, ReadsTheLaunchersOwnVersion)
{
    std::string launcher = ModuleDirectory() + "\\Teleskarn.exe";
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(launcher.c_str())) << launcher;
    EXPECT_STREQ("1.0.2.0", CVersion(AfxWide(Wide(launcher))).GetFileVersion());

    CString product("unchanged");
    CVersion::QueryVersionString(AfxWide(Wide(launcher)), "ProductName", product);
    EXPECT_STREQ("Vantaro Teleskarn", product);
    CString raw;
    CVersion::QueryVersionString(AfxWide(Wide(launcher)), "FileVersion", raw);
    EXPECT_STREQ("1, 0, 2, 0", raw);

    EXPECT_STREQ("CVersion", CVersion(L"x").GetRuntimeClass()->m_lpszClassName);
    EXPECT_EQ(0xFFFFu, RUNTIME_CLASS(CVersion)->m_wSchema);
}

TEST(VersionReader, FailuresLeaveTheCallersStringAlone)
{
    std::string missing = ModuleDirectory() + "\\no-such-file.exe";
    std::string plain = ModuleDirectory() + "\\version-test.txt";
    HANDLE file = ::CreateFileA(plain.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    DWORD written = 0;
    ::WriteFile(file, "no version here", 15, &written, NULL);
    ::CloseHandle(file);

    for (const std::string& path : {missing, plain}) {
        EXPECT_STREQ("", CVersion(AfxWide(Wide(path))).GetFileVersion()) << path;
        CString value("unchanged");
        CVersion::QueryVersionString(AfxWide(Wide(path)), "FileVersion", value);
        EXPECT_STREQ("unchanged", value) << path;
    }
    // A resource without the asked-for string leaves it alone too.
    CString value("unchanged");
    CVersion::QueryVersionString(AfxWide(Wide(ModuleDirectory() + "\\Teleskarn.exe")), "NoSuchKey", value);
    EXPECT_STREQ("unchanged", value);
    ::DeleteFileA(plain.c_str());
}

// ---- The warning dialog ----------------------------------------------------------------------

// Runs the real dialog; inspect() sees it once it is up and shown, then it is cancelled.
class CInspectedDialog : public CNoticeDialog
{
public:
    std::function<void(CInspectedDialog&)> inspect;

    explicit CInspectedDialog(const char* code) : CNoticeDialog(code, nullptr) {}

    using CNoticeDialog::PreTranslateMessage;
    int erasures = 0;   // WM_ERASEBKGND seen
    // A control's text, or with id 0 the caption.
    CString Text(int id = 0) const
    {
        char text[1024] = "";
        ::GetWindowTextA(id == 0 ? m_hWnd : ::GetDlgItem(m_hWnd, id), text, sizeof(text));
        return text;
    }
    HBRUSH AskColor(UINT message, HDC dc, HWND control)
    {
        return (HBRUSH)::SendMessageA(m_hWnd, message, (WPARAM)dc, (LPARAM)control);
    }
    const CTexturedButton& Button(int id) const { return id == IDOK ? m_okButton : m_cancelButton; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_ERASEBKGND)
            ++erasures;
        if (message == WM_APP) {
            if (inspect)
                inspect(*this);
            PostMessage(WM_COMMAND, IDCANCEL);
            return 0;
        }
        return CNoticeDialog::WindowProc(message, wParam, lParam);
    }
    BOOL OnInitDialog() override
    {
        BOOL result = CNoticeDialog::OnInitDialog();
        PostMessage(WM_APP);   // the dialog is shown before posted messages are read
        return result;
    }
};

// Runs the real dialog in a language; inspect sees it once, then the dialog ends as cancelled.
void Inspect(const char* code, const std::function<void(CInspectedDialog&)>& inspect)
{
    CInspectedDialog dialog(code);
    bool inspected = false;
    dialog.inspect = [&](CInspectedDialog& d) {
        inspected = true;
        inspect(d);
    };
    wintest::Watchdog watchdog("the dialog to end after its inspection");
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_TRUE(inspected);
}

TEST(NoticeDialog, AppliesTheRowOrFallsBackToEnglish)
{
    // Each row by its own code; codes no row has (another language, a second code, another case,
    // a longer tag, none) give English.
    const char* const cases[][2] = {{"de", "de"}, {"en", "en"}, {"da", "da"}, {"it", "it"}, {"fi", "fi"},
                                    {"no", "no"}, {"sv", "sv"}, {"fr", "en"}, {"", "en"},   {"DE", "en"},
                                    {"dk", "en"}, {"se", "en"}, {"de-x", "en"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("code \"") + c[0] + "\"");
        const languagetable::LanguageTextRow& row = *languagetable::FindLanguageRow(c[1]);
        Inspect(c[0], [&](CInspectedDialog& d) {
            EXPECT_STREQ(c[1], d.GetLanguageCode());
            const std::pair<int, const char*> shown[] = {
                {1000, row.headText}, {1001, row.introText}, {1002, row.instructionText},
                {1003, row.liabilityText}, {IDOK, row.okText}, {IDCANCEL, row.cancelText}};
            for (const auto& control : shown)
                EXPECT_STREQ(control.second, d.Text(control.first)) << "control " << control.first;
            EXPECT_STREQ(row.captionText, d.Text()) << "the version suffix is worked out but not shown";
            EXPECT_STREQ(" (v.1.0.2.0)", d.GetVersionSuffix());
            EXPECT_STREQ(row.errorPrefix, d.GetErrorPrefix());
        });
    }
}

TEST(NoticeDialog, ColoursPanelAndBrushByControlAndType)
{
    Inspect("en", [](CInspectedDialog& d) {
        const COLORREF black = RGB(0, 0, 0), panel = 0xF5F5F5;
        HWND frame = ::GetDlgItem(d.m_hWnd, 1004);
        RECT frameRect;
        ::GetWindowRect(frame, &frameRect);
        const int w = frameRect.right - frameRect.left, h = frameRect.bottom - frameRect.top;

        // The group box: its panel is filled on every colour request that names it.
        wintest::Capture canvas(w, h, black);
        HBRUSH brush = d.AskColor(WM_CTLCOLORSTATIC, canvas.dc(), frame);
        EXPECT_EQ(panel, wintest::BrushColor(brush));
        EXPECT_EQ(panel, ::GetBkColor(canvas.dc()));
        EXPECT_EQ(panel, canvas.At(0, 6));
        EXPECT_EQ(panel, canvas.At(w - 3, h - 3));
        EXPECT_EQ(black, canvas.At(0, 5)) << "the caption line stays the frame's";
        EXPECT_EQ(black, canvas.At(w - 2, h / 2));
        EXPECT_EQ(black, canvas.At(w / 2, h - 2));
        wintest::Capture again(w, h, black);
        d.AskColor(WM_CTLCOLORBTN, again.dc(), frame);
        EXPECT_EQ(panel, again.At(w / 2, h / 2)) << "whatever the type";

        // A label: the dialog's brush and background colour.
        wintest::Capture label(4, 4, black);
        ::SetBkColor(label.dc(), RGB(1, 2, 3));
        EXPECT_EQ(brush, d.AskColor(WM_CTLCOLORSTATIC, label.dc(), ::GetDlgItem(d.m_hWnd, 1002)));
        EXPECT_EQ(panel, ::GetBkColor(label.dc()));
        EXPECT_EQ(black, label.At(1, 1)) << "only the group box gets a panel";

        // The dialog itself: the brush, and whatever background colour the default processing set.
        ::SetBkColor(label.dc(), RGB(1, 2, 3));
        EXPECT_EQ(brush, d.AskColor(WM_CTLCOLORDLG, label.dc(), d.m_hWnd));
        EXPECT_EQ(::GetSysColor(COLOR_3DFACE), ::GetBkColor(label.dc()));

        // Buttons: the base answer, not the dialog's brush.
        EXPECT_NE(brush, d.AskColor(WM_CTLCOLORBTN, label.dc(), ::GetDlgItem(d.m_hWnd, IDOK)));

        // A static control that is not one of the four labels is treated alike.
        HWND extra = ::CreateWindowExA(0, "STATIC", "x", WS_CHILD, 0, 0, 5, 5, d.m_hWnd, (HMENU)1500, NULL, NULL);
        ::SetBkColor(label.dc(), RGB(1, 2, 3));
        EXPECT_EQ(brush, d.AskColor(WM_CTLCOLORSTATIC, label.dc(), extra));
        EXPECT_EQ(panel, ::GetBkColor(label.dc()));
    });
}

TEST(NoticeDialog, LabelsDrawInTheirOwnFontsOnTheDialogsColours)
{
    Inspect("de", [](CInspectedDialog& d) {
        struct Row { int id; LONG height; LONG weight; } rows[] = {
            {1000, -18, FW_BOLD}, {1001, -11, FW_NORMAL}, {1002, -11, FW_NORMAL}, {1003, -9, FW_NORMAL},
        };
        HBRUSH dialogBrush = d.AskColor(WM_CTLCOLORDLG, wintest::Capture(1, 1).dc(), d.m_hWnd);
        for (const Row& row : rows) {
            SCOPED_TRACE("label " + std::to_string(row.id));
            HWND label = ::GetDlgItem(d.m_hWnd, row.id);
            ASSERT_NE(nullptr, CWnd::FromHandlePermanent(label)) << "bound to a member";
            wintest::Capture canvas(4, 4, 0);
            ::SetBkMode(canvas.dc(), OPAQUE);
            HBRUSH brush = d.AskColor(WM_CTLCOLORSTATIC, canvas.dc(), label);

            LOGFONTA font = {};
            ASSERT_EQ((int)sizeof(font), ::GetObjectA(::GetCurrentObject(canvas.dc(), OBJ_FONT), sizeof(font), &font));
            EXPECT_STREQ("Arial", font.lfFaceName);
            EXPECT_EQ(row.height, font.lfHeight);
            EXPECT_EQ(row.weight, font.lfWeight);
            EXPECT_EQ(::GetSysColor(COLOR_WINDOWTEXT), ::GetTextColor(canvas.dc()));
            EXPECT_EQ(TRANSPARENT, ::GetBkMode(canvas.dc()));
            EXPECT_EQ(0xF5F5F5u, ::GetBkColor(canvas.dc()));
            EXPECT_EQ(dialogBrush, brush) << "the dialog's brush replaces the label's";
            // The static control draws in the same font.
            EXPECT_EQ((LRESULT)::GetCurrentObject(canvas.dc(), OBJ_FONT), ::SendMessageA(label, WM_GETFONT, 0, 0));
        }
    });
}

TEST(NoticeDialog, ButtonsAreOwnerDrawnAndKeepTheDefaultButtonProtocol)
{
    Inspect("en", [](CInspectedDialog& d) {
        for (int id : {IDOK, IDCANCEL}) {
            HWND button = ::GetDlgItem(d.m_hWnd, id);
            EXPECT_EQ((LONG)BS_OWNERDRAW, ::GetWindowLongA(button, GWL_STYLE) & 0x1F) << "button " << id;
            EXPECT_NE(nullptr, CWnd::FromHandlePermanent(button));
        }
        EXPECT_EQ(IDOK, LOWORD(::SendMessageA(d.m_hWnd, DM_GETDEFID, 0, 0)));
        EXPECT_TRUE(::SendMessageA(::GetDlgItem(d.m_hWnd, IDOK), WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON);
        EXPECT_EQ(::GetDlgItem(d.m_hWnd, IDOK), ::GetFocus()) << "the first tab stop has the focus";
    });
}

TEST(NoticeDialog, BackgroundIsTheStretchedPicture)
{
    Inspect("en", [](CInspectedDialog& d) {
        RECT client;
        ::GetClientRect(d.m_hWnd, &client);
        wintest::Capture canvas(client.right, client.bottom, RGB(0, 0, 0));
        EXPECT_EQ(TRUE, ::SendMessageA(d.m_hWnd, WM_ERASEBKGND, (WPARAM)canvas.dc(), 0));

        // The picture itself, corner pixels, to compare with.
        HBITMAP picture = ::LoadBitmapA(::GetModuleHandleA(NULL), MAKEINTRESOURCEA(129));
        BITMAP info = {};
        ::GetObjectA(picture, sizeof(info), &info);
        HDC source = ::CreateCompatibleDC(NULL);
        HGDIOBJ old = ::SelectObject(source, picture);
        EXPECT_EQ(::GetPixel(source, 0, 0), canvas.At(0, 0));
        EXPECT_EQ(::GetPixel(source, info.bmWidth - 1, info.bmHeight - 1),
                  canvas.At(client.right - 1, client.bottom - 1));
        ::SelectObject(source, old);
        ::DeleteDC(source);
        ::DeleteObject(picture);
        EXPECT_GT(client.right, info.bmWidth) << "the picture is stretched over a larger client area";
    });
}

TEST(NoticeDialog, AltAndTabRepaintEverythingF1IsSwallowed)
{
    Inspect("en", [](CInspectedDialog& d) {
        RECT client, update;
        ::GetClientRect(d.m_hWnd, &client);
        auto keyMessage = [&](UINT message, WPARAM key) {
            return MSG{::GetDlgItem(d.m_hWnd, IDOK), message, key, 0, 0, {0, 0}};
        };

        ::ValidateRect(d.m_hWnd, NULL);
        MSG other = keyMessage(WM_KEYDOWN, 'A');
        d.PreTranslateMessage(&other);
        EXPECT_FALSE(::GetUpdateRect(d.m_hWnd, &update, FALSE));

        for (MSG msg : {keyMessage(WM_SYSKEYDOWN, VK_MENU), keyMessage(WM_KEYDOWN, VK_TAB)}) {
            ::ValidateRect(d.m_hWnd, NULL);
            d.erasures = 0;
            d.PreTranslateMessage(&msg);
            // The dialog manager may paint at once (Alt shows the keyboard cues): then the erase has
            // happened already; otherwise the whole client area waits for it.
            if (d.erasures == 0) {
                ASSERT_TRUE(::GetUpdateRect(d.m_hWnd, &update, FALSE)) << "message 0x" << std::hex << msg.message;
                EXPECT_TRUE(::EqualRect(&client, &update));
                ::UpdateWindow(d.m_hWnd);
            }
            EXPECT_GT(d.erasures, 0) << "message 0x" << std::hex << msg.message;
        }

        MSG f1 = keyMessage(WM_KEYF1, 0);
        EXPECT_TRUE(d.PreTranslateMessage(&f1));
    });
}

// ---- High contrast and new system colours ------------------------------------------------------

// Wine always reports high contrast off; through this hook the program sees the flag the test sets.
bool g_highContrast = false;
wintest::ImportHook* g_parametersHook = nullptr;

BOOL WINAPI ReportHighContrast(UINT action, UINT param, PVOID data, UINT winIni)
{
    if (action != SPI_GETHIGHCONTRAST)
        return g_parametersHook->Original<decltype(&::SystemParametersInfoW)>()(action, param, data, winIni);
    static_cast<HIGHCONTRASTW*>(data)->dwFlags = HCF_AVAILABLE | (g_highContrast ? HCF_HIGHCONTRASTON : 0);
    return TRUE;
}

TEST(NoticeDialog, HighContrastDrawsPlainInSystemColoursAndFollowsTheirChanges)
{
    wintest::ImportHook hook("user32.dll", "SystemParametersInfoW", (void*)&ReportHighContrast);
    ASSERT_TRUE(hook.Installed());
    g_parametersHook = &hook;
    g_highContrast = true;
    Inspect("en", [](CInspectedDialog& d) {
        RECT client, button;
        ::GetClientRect(d.m_hWnd, &client);
        ::GetClientRect(::GetDlgItem(d.m_hWnd, IDOK), &button);
        const int w = button.right, h = button.bottom;
        const COLORREF dot = RGB(63, 63, 63);   // the grey face inverted
        wintest::Capture background(client.right, client.bottom), shot(w, h), label(1, 1);
        auto paint = [&](int id) { wintest::PrintClient(::GetDlgItem(d.m_hWnd, id), shot, RGB(1, 2, 3)); };
        auto windowPixels = [&] {
            ::SendMessageA(d.m_hWnd, WM_ERASEBKGND, (WPARAM)background.dc(), 0);
            return background.CountOf(::GetSysColor(COLOR_WINDOW), client);
        };

        EXPECT_EQ(client.right * client.bottom, windowPixels()) << "the window colour, no picture";
        // Raised (the highlight at the top left), OK framed as the default, with the focus rectangle.
        struct Row { int id; COLORREF corner; RECT focus; } rows[] = {
            {IDOK, ::GetSysColor(COLOR_WINDOWFRAME), {4, 4, w - 4, h - 4}},
            {IDCANCEL, ::GetSysColor(COLOR_BTNHIGHLIGHT), {0, 0, 0, 0}},
        };
        for (const Row& row : rows) {
            paint(row.id);
            EXPECT_EQ(row.corner, shot.At(0, 0)) << row.id;
            EXPECT_GT(shot.CountOf(::GetSysColor(COLOR_BTNFACE), shot.Area()), w * h / 2) << "plain " << row.id;
            EXPECT_EQ(row.focus, shot.BoundsOf(dot, shot.Area())) << row.id;
        }

        // Off again: the picture and the faces.
        g_highContrast = false;
        ::SendMessageA(d.m_hWnd, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
        paint(IDOK);
        EXPECT_EQ(wintest::CanvasColor(d.Button(IDOK).Face(), w / 2, 3), shot.At(w / 2, 3)) << "the face again";
        EXPECT_EQ(0, windowPixels()) << "the picture again";

        // High Contrast Black's colours without the flag, set while the dialog is open. They would
        // outlive the process: the old ones go back.
        int indices[] = {COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_BTNFACE};
        COLORREF black[] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0)};
        COLORREF old[] = {::GetSysColor(indices[0]), ::GetSysColor(indices[1]), ::GetSysColor(indices[2])};
        ::SetSysColors(3, indices, black);
        for (int id : {IDOK, IDCANCEL})   // the ramp's middle: nearly the face colour, tinted
            EXPECT_LT(GetRValue(wintest::PaletteColor(d.Button(id).Face(), 128)), 10) << "button " << id;
        HBRUSH brush = d.AskColor(WM_CTLCOLORSTATIC, label.dc(), ::GetDlgItem(d.m_hWnd, 1001));
        EXPECT_EQ(RGB(255, 255, 255), ::GetTextColor(label.dc()));
        EXPECT_EQ(RGB(0, 0, 0), wintest::BrushColor(brush)) << "the panel in the window colour";
        ::SetSysColors(3, indices, old);
    });
    g_highContrast = false;
}

// A change of the system colours, in process as another program makes it (the change, then every
// window painted at once in z-order: the group box after the labels above it), and with its new
// brushes refused: the group box, its panel and labels must come out on screen as they were.
HBRUSH WINAPI RefuseBrush(COLORREF)
{
    return NULL;
}

TEST(NoticeDialog, AColourChangeLeavesEveryLabelWhole)
{
    wintest::MessageBoxCatcher catcher;   // the refused brush is reported
    for (bool refuse : {false, true}) {
        SCOPED_TRACE(refuse ? "brushes refused" : "the colours set again");
        Inspect("en", [&](CInspectedDialog& d) {
            RECT client, frame, head;
            ::GetClientRect(d.m_hWnd, &client);
            for (auto [id, rect] : {std::pair<int, RECT*>{1004, &frame}, {1000, &head}}) {
                ::GetWindowRect(::GetDlgItem(d.m_hWnd, id), rect);
                ::MapWindowPoints(NULL, d.m_hWnd, reinterpret_cast<POINT*>(rect), 2);
            }
            wintest::Capture before(client.right, client.bottom), after(client.right, client.bottom);
            wintest::PumpMessages(d.m_hWnd);
            wintest::CopyFromScreen(d.m_hWnd, before);
            ASSERT_GT(before.CountOf(::GetSysColor(COLOR_WINDOWTEXT), head), 100) << "the heading at first";
            {
                std::list<wintest::ImportHook> hook;
                if (refuse)
                    hook.emplace_back("gdi32.dll", "CreateSolidBrush", (void*)&RefuseBrush);
                int index = COLOR_WINDOWTEXT;
                const COLORREF same = ::GetSysColor(index);
                ::SetSysColors(1, &index, &same);
            }
            wintest::PumpMessages(d.m_hWnd);
            wintest::CopyFromScreen(d.m_hWnd, after);
            int changed = 0;
            for (int y = frame.top; y < frame.bottom; ++y)
                for (int x = frame.left; x < frame.right; ++x)
                    changed += before.At(x, y) != after.At(x, y);
            EXPECT_EQ(0, changed) << "pixels changed; the heading's ink: "
                                  << after.CountOf(::GetSysColor(COLOR_WINDOWTEXT), head);
            EXPECT_EQ(OBJ_BRUSH, ::GetObjectType(d.AskColor(WM_CTLCOLORDLG, before.dc(), d.m_hWnd))) << "a brush";
        });
    }
}

// ---- The launch on OK ----------------------------------------------------------------------------

// The shell as the test answers it (the error it leaves, and its result: above 32 started), and what
// it was asked, with the file; and the path the launcher is told it runs from, where a row says.
DWORD g_shellError = 0;
INT_PTR g_shellResult = 0;
std::vector<std::pair<SHELLEXECUTEINFOW, std::u16string>> g_launches;
HWND g_dialog = NULL;
std::u16string g_modulePath;

BOOL WINAPI AnswerLaunch(SHELLEXECUTEINFOW* info)
{
    g_launches.emplace_back(*info, reinterpret_cast<const char16_t*>(info->lpFile));
    info->hInstApp = (HINSTANCE)g_shellResult;
    ::SetLastError(g_shellError);
    return g_shellResult > 32;
}

DWORD WINAPI AnswerModulePath(HMODULE, LPWSTR buffer, DWORD size)
{
    const DWORD length = (DWORD)std::min<size_t>(g_modulePath.size(), size - 1);
    std::copy_n(g_modulePath.data(), length, reinterpret_cast<char16_t*>(buffer));
    buffer[length] = L'\0';
    return length < g_modulePath.size() ? size : length;
}

// OK through the launcher's own start, the shell answering each way: the box or none, and the call,
// owned by the dialog (on Windows the tool's elevation or security prompt must not open behind it).
TEST(LauncherApp, OkStartsTheToolOrSaysWhyNot)
{
    const std::string path = ModuleDirectory() + "\\Teleskarn-pqrw7kt3mz.exe";
    // A launcher 236 characters deep: its own path fits the classic limit, the tool's does not.
    const std::string deep = "C:\\" + std::string(233, 'd');
    struct Row {
        DWORD error;
        INT_PTR result;
        std::string box;                // Wine's texts, English for LC_ALL=C.UTF-8
        std::string directory = "";     // the launcher's, where it is not this program's own
    } rows[] = {
        {0, 42, ""},
        {ERROR_CANCELLED, SE_ERR_ACCESSDENIED, ""},   // the user declined the elevation prompt
        {ERROR_FILE_NOT_FOUND, SE_ERR_FNF, "Error\nFile not found: " + path},
        {ERROR_ACCESS_DENIED, SE_ERR_NOASSOC, "Error\nAccess denied.\n" + path},   // the error goes first
        {ERROR_BAD_EXE_FORMAT, ERROR_BAD_FORMAT, "Error\nBad EXE format for " + path + "."},
        // No error left: the result tells why, or else the file counts as missing.
        {0, SE_ERR_ACCESSDENIED, "Error\nAccess denied.\n" + path},
        {0, SE_ERR_NOASSOC, "Error\nNo associated application.\n" + path},
        {0, SE_ERR_DDEBUSY, "Error\nDDE failure.\n" + path},
        {0, 0, "Error\nFile not found: " + path},
        {0, 42, "Error\nFile not found: " + deep + "\\Teleskarn-pqrw7kt3mz.exe", deep},
    };
    void* const shell = __imp_ShellExecuteExW;
    __imp_ShellExecuteExW = (void*)&AnswerLaunch;
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.error) + " " + std::to_string(row.result) + " " + row.directory);
        g_shellError = row.error;
        g_shellResult = row.result;
        g_modulePath = Wide(row.directory + "\\win_test_launcher.exe");
        std::optional<wintest::ImportHook> modulePath;
        if (!row.directory.empty())
            modulePath.emplace("kernel32.dll", "GetModuleFileNameW", (void*)&AnswerModulePath);
        g_launches.clear();
        g_dialog = NULL;
        wintest::MessageBoxCatcher catcher;
        const UINT_PTR press = ::SetTimer(NULL, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
            if (g_dialog == NULL && (g_dialog = ::GetActiveWindow()) != NULL)
                ::PostMessageW(g_dialog, WM_COMMAND, IDOK, 0);
        });
        CLauncherApp app;
        wintest::Watchdog watchdog("the launcher to end after OK");
        EXPECT_FALSE(app.InitInstance());
        ::KillTimer(NULL, press);
        ASSERT_EQ(row.directory.empty() ? 1u : 0u, g_launches.size());
        for (const auto& [call, file] : g_launches)
            EXPECT_EQ(std::make_tuple(g_dialog, Wide(path), DWORD(sizeof call),
                                      ULONG(SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC), LPCWSTR(NULL), LPCWSTR(NULL),
                                      LPCWSTR(NULL), SW_SHOWNORMAL),
                      std::make_tuple(call.hwnd, file, call.cbSize, call.fMask, call.lpVerb, call.lpParameters,
                                      call.lpDirectory, call.nShow));
        EXPECT_EQ(row.box.empty() ? 0u : 1u, catcher.Boxes().size());
        for (const wintest::MessageBoxCatcher::Box& box : catcher.Boxes())
            EXPECT_EQ(std::make_tuple("win_test_launcher", row.box, UINT(MB_OK | MB_ICONERROR)),
                      std::make_tuple(box.caption, box.text, box.type));
    }
    __imp_ShellExecuteExW = shell;
}

// ---- When Windows refuses a resource ------------------------------------------------------------

using wintest::g_failEvery;
using wintest::g_faultCalls;
using wintest::Hooks;

// What the user sees: the dialog, readable and usable (after the framework's report), or the report
// and no dialog, or nothing.
enum Sees { Dialog, ReportThenDialog, ReportThenEnd, Nothing };

struct FaultRow : wintest::FaultCall
{
    Sees first, every;   // with the first call failing, with every call failing
};

const FaultRow kFaultRows[] = {
    {{"CreateFontIndirect", {FAULT("gdi32.dll", CreateFontIndirectA), FAULT("gdi32.dll", CreateFontIndirectW)}},
     Dialog, Dialog},
    {{"CreateCompatibleDC", {FAULT("gdi32.dll", CreateCompatibleDC)}}, Dialog, Dialog},
    {{"CreateDIBSection", {FAULT("gdi32.dll", CreateDIBSection), FAULT("gdi32.dll", CreateCompatibleBitmap)}},
     Dialog, Dialog},
    {{"CreateSolidBrush", {FAULT("gdi32.dll", CreateSolidBrush)}}, Dialog, ReportThenDialog},
    // Only the high-contrast look's raised border takes pens.
    {{"CreatePen",
      {FAULT("gdi32.dll", CreatePen),
       [](Hooks& h) {
           h.emplace_back("user32.dll", "SystemParametersInfoW", (void*)&ReportHighContrast);
           g_parametersHook = &h.back();
           g_highContrast = true;
       }}},
     ReportThenDialog, ReportThenDialog},
    {{"GetDC", {FAULT("user32.dll", GetDC)}}, Dialog, ReportThenEnd},
    {{"LoadBitmap", {FAULT("user32.dll", LoadBitmapA), FAULT("user32.dll", LoadBitmapW)}}, Dialog, Dialog},
    {{"LoadIcon", {FAULT("user32.dll", LoadIconA), FAULT("user32.dll", LoadIconW)}}, Dialog, Dialog},
    {{"CreateWindowEx", {FAULT("user32.dll", CreateWindowExA), FAULT("user32.dll", CreateWindowExW)}},
     Dialog, Dialog},
    {{"SetWindowsHookEx", {FAULT("user32.dll", SetWindowsHookExA), FAULT("user32.dll", SetWindowsHookExW)}},
     Nothing, Nothing},
    {{"CreateDialogIndirectParam",
      {FAULT("user32.dll", CreateDialogIndirectParamA), FAULT("user32.dll", CreateDialogIndirectParamW)}},
     Nothing, Nothing},
    // The late libraries; LoadLibrary is the delay-load helper's own way when its hook gives none.
    {{"LoadLibrary", {FAULT("kernel32.dll", LoadLibraryExA), FAULT("kernel32.dll", LoadLibraryExW),
                      FAULT("kernel32.dll", LoadLibraryA), FAULT("kernel32.dll", LoadLibraryW)}},
     Dialog, Dialog},
};

class FaultMatrix : public testing::TestWithParam<std::tuple<FaultRow, bool>>
{
};

// The real dialog with one creation call failing: started, painted, the pointer over OK, Escape.
TEST_P(FaultMatrix, EndsSoonReportedOrUsable)
{
    const FaultRow& row = std::get<0>(GetParam());
    g_failEvery = std::get<1>(GetParam());
    const Sees expected = g_failEvery ? row.every : row.first;
    const languagetable::LanguageTextRow& de = *languagetable::FindLanguageRow("de");
    wintest::MessageBoxCatcher catcher;   // made before the faults, which would refuse them
    wintest::Capture corner(4, 4);
    const auto unbind = [] {   // the late libraries are loaded anew
        for (const auto& binding : g_bindings)
            *binding.first = binding.second;
    };
    unbind();
    g_faultCalls = 0;
    {
        Hooks hooks;
        for (const auto& fault : row.faults)
            fault(hooks);
        CInspectedDialog dialog("de");
        bool usable = false;
        dialog.inspect = [&](CInspectedDialog& d) {
            HWND ok = ::GetDlgItem(d.m_hWnd, IDOK);
            ::RedrawWindow(d.m_hWnd, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            ::PostMessageA(ok, WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));   // lights OK: its hot face
            wintest::PumpMessages(d.m_hWnd);
            usable = ::IsWindowVisible(d.m_hWnd) && std::string(d.Text(1002)) == de.instructionText &&
                     std::string(d.Text(IDOK)) == de.okText;
            for (int label = 1000; label <= 1003; ++label)   // its own font or the dialog's, never a deleted one
                usable = usable && ::GetObjectType((HGDIOBJ)::SendMessageA(::GetDlgItem(d.m_hWnd, label),
                                                                           WM_GETFONT, 0, 0)) == OBJ_FONT;
            wintest::PrintClient(ok, corner, RGB(1, 2, 3));   // a face, generated or plain
            usable = usable && corner.At(2, 2) != RGB(1, 2, 3);
            ::PostMessageA(ok, WM_KEYDOWN, VK_ESCAPE, 0);
        };
        wintest::Watchdog watchdog("the dialog to end after Escape, or the launcher without it");
        const INT_PTR result = dialog.DoModal();
        if (result == -1 && g_failEvery) {   // the launcher ends at once too, with an error code
            CLauncherApp app;
            EXPECT_FALSE(app.InitInstance());
            EXPECT_EQ(1, app.ExitInstance());
        }

        const bool shown = expected == Dialog || expected == ReportThenDialog;
        EXPECT_EQ(shown ? IDCANCEL : -1, result);
        EXPECT_EQ(shown, usable);
    }
    unbind();
    g_highContrast = false;
    EXPECT_GT(g_faultCalls, 0) << "the launcher never made the call";
    EXPECT_EQ(expected == ReportThenDialog || expected == ReportThenEnd, !catcher.Boxes().empty());
    EXPECT_LE(catcher.Boxes().size(), 2u) << "once for each button at most, not at every paint";
    for (const wintest::MessageBoxCatcher::Box& box : catcher.Boxes())
        EXPECT_STREQ(kResourceExceptionText, box.text.c_str());
}

INSTANTIATE_TEST_SUITE_P(Calls, FaultMatrix, testing::Combine(testing::ValuesIn(kFaultRows), testing::Bool()),
                         wintest::FaultCaseName<FaultRow>);

}  // namespace

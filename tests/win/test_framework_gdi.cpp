// The framework's non-window half: CString, run-time classes, exceptions, GDI wrappers and
// drawing contexts, checked against real GDI under Wine (handles, pixels, a real WM_PAINT).
#include <gtest/gtest.h>

#include <list>
#include <string>
#include <vector>

#include "framework/afx.h"
#include "framework/afxdll.h"
#include "support/ImportHook.h"
#include "support/TestDialog.h"

namespace {

// ---- CString ---------------------------------------------------------------------------------

TEST(CStringTest, ConstructionAssignmentAndValueSemantics)
{
    EXPECT_STREQ("", CString(static_cast<const char*>(nullptr)));
    EXPECT_TRUE(CString().IsEmpty());
    EXPECT_EQ(2, CString("abc", 2).GetLength());
    EXPECT_EQ(3, CString("abc", 10).GetLength()); // never reads past the NUL
    CString assigned("x");
    assigned = static_cast<const char*>(nullptr);
    EXPECT_TRUE(assigned.IsEmpty());

    CString original("1, 0, 2, 0");
    CString copy = original;
    copy.GetBuffer(0)[0] = '9';
    copy.ReleaseBuffer();
    EXPECT_STREQ("1, 0, 2, 0", original);
    EXPECT_STREQ("9, 0, 2, 0", copy);
    CString moved = std::move(copy);
    EXPECT_STREQ("9, 0, 2, 0", moved);
    EXPECT_EQ(',', moved[1]);
    EXPECT_EQ('0', moved.GetAt(moved.GetLength() - 1));

    CString self("abc");
    self = static_cast<const char*>(self) + 1; // assignment from its own text
    EXPECT_STREQ("bc", self);

    // Left clamps its count.
    const CString text("Hallo Welt");
    EXPECT_STREQ("Ha", text.Left(2));
    EXPECT_STREQ("", text.Left(0));
    EXPECT_STREQ("", text.Left(-1));
    EXPECT_STREQ("Hallo Welt", text.Left(99));
}

TEST(CStringTest, FormatFollowsPrintfAtAnyLength)
{
    CString text;
    text.Format(" (v.%s)", "1.0.2.0");
    EXPECT_STREQ(" (v.1.0.2.0)", text);
    text.Format("%04x|%-3d|%c", 0x41d, 7, 'z');
    EXPECT_STREQ("041d|7  |z", text);

    const std::string longArg(5000, 'x');
    text.Format("[%s]%d", longArg.c_str(), 12345);
    ASSERT_EQ(5007, text.GetLength());
    EXPECT_EQ('[', text[0]);
    EXPECT_EQ(std::string("]12345"), std::string(text).substr(5001));

    // An argument that is the string itself.
    text = "ab";
    text.Format("%s%s", static_cast<const char*>(text), static_cast<const char*>(text));
    EXPECT_STREQ("abab", text);

    text.Format("%s", "");
    EXPECT_TRUE(text.IsEmpty());
}

TEST(CStringTest, GetBufferAndReleaseBuffer)
{
    CString text;
    char* buffer = text.GetBuffer(128);
    ASSERT_NE(nullptr, buffer);
    EXPECT_EQ('\0', buffer[0]); // an empty text is handed out as empty
    // A callee may fill all 128 characters and the NUL.
    std::string full(128, 'q');
    memcpy(buffer, full.c_str(), 129);
    text.ReleaseBuffer();
    EXPECT_EQ(128, text.GetLength());

    buffer = text.GetBuffer(128);
    strcpy(buffer, "0407");
    text.ReleaseBuffer(); // up to the first NUL
    EXPECT_STREQ("0407", text);
    EXPECT_EQ(4, text.GetLength());

    // The current text is kept when the buffer is opened, and a smaller minimum keeps it all.
    buffer = text.GetBuffer(2);
    EXPECT_STREQ("0407", buffer);
    text.ReleaseBuffer(2); // explicit length
    EXPECT_STREQ("04", text);

    text.GetBuffer(10);
    text.ReleaseBuffer(500); // never longer than the buffer handed out
    EXPECT_EQ(10, text.GetLength());
}

// ---- Run-time classes ------------------------------------------------------------------------

class CSampleReader : public CObject
{
    DECLARE_DYNAMIC(CSampleReader);

public:
    int m_value = 0;
};
IMPLEMENT_DYNAMIC(CSampleReader, CObject)

class CUndeclaredChild : public CSampleReader
{
};

TEST(RuntimeClassTest, RecordsNameBaseAndSchema)
{
    const CRuntimeClass* cls = RUNTIME_CLASS(CSampleReader);
    EXPECT_STREQ("CSampleReader", cls->m_lpszClassName);
    EXPECT_EQ(static_cast<int>(sizeof(CSampleReader)), cls->m_nObjectSize);
    EXPECT_EQ(0xFFFFu, cls->m_wSchema);
    EXPECT_EQ(RUNTIME_CLASS(CObject), cls->m_pBaseClass);
    EXPECT_EQ(nullptr, RUNTIME_CLASS(CObject)->m_pBaseClass);

    CSampleReader reader;
    CUndeclaredChild child; // reports its nearest declared ancestor
    const CObject* asObject = &child;
    EXPECT_EQ(cls, reader.GetRuntimeClass());
    EXPECT_EQ(cls, asObject->GetRuntimeClass());
    EXPECT_TRUE(asObject->IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(asObject->IsKindOf(RUNTIME_CLASS(CException)));
    EXPECT_FALSE(asObject->IsKindOf(nullptr));

    CResourceException stackException;
    EXPECT_TRUE(stackException.IsKindOf(RUNTIME_CLASS(CException)));
    EXPECT_STREQ("CResourceException", stackException.GetRuntimeClass()->m_lpszClassName);
    CPen pen;
    EXPECT_TRUE(pen.IsKindOf(RUNTIME_CLASS(CGdiObject)));
    EXPECT_FALSE(pen.IsKindOf(RUNTIME_CLASS(CBrush)));
}

// ---- Exceptions ------------------------------------------------------------------------------

// Counts destructions, to see which Delete calls free the object.
int g_exceptionsDestroyed = 0;
class CCountedException : public CResourceException
{
public:
    ~CCountedException() override { ++g_exceptionsDestroyed; }
};

TEST(ExceptionTest, DeleteFreesOnlyHeapExceptions)
{
    g_exceptionsDestroyed = 0;
    try {
        throw new CCountedException;
    } catch (CException* e) {
        EXPECT_TRUE(e->IsAutoDelete());
        e->Delete();
    }
    EXPECT_EQ(1, g_exceptionsDestroyed);

    {
        CCountedException onStack;
        EXPECT_FALSE(onStack.IsAutoDelete());
        onStack.Delete(); // must not free a stack object
        EXPECT_EQ(1, g_exceptionsDestroyed);
    }
    EXPECT_EQ(2, g_exceptionsDestroyed); // by its scope only
}

TEST(ExceptionTest, ErrorMessageTexts)
{
    CResourceException resource;
    char text[128] = "garbage";
    UINT help = 99;
    ASSERT_TRUE(resource.GetErrorMessage(text, sizeof text, &help));
    EXPECT_STREQ("A required resource was unavailable.", text);
    EXPECT_EQ(0u, help);

    char small[6];
    ASSERT_TRUE(resource.GetErrorMessage(small, sizeof small));
    EXPECT_STREQ("A req", small); // cut, still terminated
    EXPECT_FALSE(resource.GetErrorMessage(small, 0));

    CException plain;
    strcpy(text, "garbage");
    EXPECT_FALSE(plain.GetErrorMessage(text, sizeof text));
    EXPECT_STREQ("", text);
}

TEST(ExceptionTest, ReportErrorShowsTheTextInAMessageBox)
{
    wintest::MessageBoxCatcher catcher;
    ASSERT_TRUE(catcher.Installed());
    CException* e = new CResourceException;
    e->ReportError(MB_OK, 0);
    e->Delete();
    // Neither the exception nor a string resource 4711 has a text: the generic one is shown.
    CException plain;
    plain.ReportError(MB_OK, 4711);

    ASSERT_EQ(2u, catcher.Boxes().size());
    EXPECT_EQ("A required resource was unavailable.", catcher.Boxes()[0].text);
    EXPECT_EQ("No error message is available.", catcher.Boxes()[1].text);
}

// ---- The library search ------------------------------------------------------------------------

// What the restriction asked for, recorded instead of applied to the test program's own search.
DWORD g_defaultDirectories = 0;
std::vector<std::string> g_dllDirectories;   // each SetDllDirectory argument ("<null>" for NULL)
const wintest::ImportHook* g_procHook = nullptr;

BOOL WINAPI RecordDefaultDirectories(DWORD flags)
{
    g_defaultDirectories = flags;
    return TRUE;
}
BOOL WINAPI RecordDllDirectoryA(LPCSTR path)
{
    g_dllDirectories.push_back(path == nullptr ? "<null>" : path);
    return TRUE;
}
BOOL WINAPI RecordDllDirectoryW(LPCWSTR path)
{
    g_dllDirectories.push_back(path == nullptr ? "<null>" : *path == 0 ? "" : "<a directory>");
    return TRUE;
}
FARPROC WINAPI LookUpRecorders(HMODULE module, LPCSTR name)
{
    if (!IS_INTRESOURCE(name) && std::string(name) == "SetDefaultDllDirectories")
        return (FARPROC)(void*)&RecordDefaultDirectories;
    return g_procHook->Original<decltype(&::GetProcAddress)>()(module, name);
}

TEST(LibrarySearch, OnlyTheSystemDirectoryAndNoDllDirectory)
{
    wintest::ImportHook lookUp("kernel32.dll", "GetProcAddress", (void*)&LookUpRecorders);
    wintest::ImportHook ansi("kernel32.dll", "SetDllDirectoryA", (void*)&RecordDllDirectoryA);
    wintest::ImportHook wide("kernel32.dll", "SetDllDirectoryW", (void*)&RecordDllDirectoryW);
    ASSERT_TRUE(lookUp.Installed());
    ASSERT_TRUE(ansi.Installed() || wide.Installed());
    g_procHook = &lookUp;
    AfxRestrictLibrarySearch();
    EXPECT_EQ(0x800u, g_defaultDirectories) << "LOAD_LIBRARY_SEARCH_SYSTEM32 alone";
    EXPECT_EQ(std::vector<std::string>{""}, g_dllDirectories);
}

// ---- GDI object ownership --------------------------------------------------------------------

bool HandleAlive(HGDIOBJ handle)
{
    return GetObjectType(handle) != 0;
}

// Stands in for each creation Windows refuses: the x64 caller cleans up, so it fits every signature.
void* WINAPI Refuse() { return nullptr; }

// A NULL handle and a refused creation leave an object, GDI object or context alike, as it was.
TEST(GdiObjectTest, RefusalsLeaveTheObjectAsItWas)
{
    CPen pen;
    CBrush brush;
    CFont font;
    CBitmap bitmap, compatible;
    CDC dc;
    LOGFONTA lf = {};
    ASSERT_TRUE(pen.CreatePen(PS_SOLID, 0, 0) && brush.CreateSolidBrush(0) && font.CreateFontIndirect(&lf) &&
                bitmap.CreateBitmap(1, 1, 1, 1, nullptr) && dc.CreateCompatibleDC(nullptr) &&
                compatible.CreateCompatibleBitmap(&dc, 1, 1));
    const std::vector<HGDIOBJ> held = {pen, brush, font, bitmap, compatible, dc};
    EXPECT_FALSE(brush.Attach(NULL));
    EXPECT_FALSE(dc.Attach(NULL));
    EXPECT_FALSE(compatible.CreateCompatibleBitmap(nullptr, 1, 1));
    {
        std::list<wintest::ImportHook> hooks;
        for (const char* name : {"CreatePen", "CreateSolidBrush", "CreateFontIndirectA", "CreateBitmap",
                                 "CreateCompatibleBitmap", "CreateCompatibleDC"})
            hooks.emplace_back("gdi32.dll", name, (void*)&Refuse);
        hooks.emplace_back("user32.dll", "GetDC", (void*)&Refuse);
        for (const wintest::ImportHook& hook : hooks)
            ASSERT_TRUE(hook.Installed());
        EXPECT_FALSE(pen.CreatePen(PS_SOLID, 1, RGB(1, 2, 3)));
        EXPECT_FALSE(brush.CreateSolidBrush(RGB(1, 2, 3)));
        EXPECT_FALSE(font.CreateFontIndirect(&lf));
        EXPECT_FALSE(bitmap.CreateBitmap(2, 2, 1, 1, nullptr));
        EXPECT_FALSE(compatible.CreateCompatibleBitmap(&dc, 2, 2));
        EXPECT_FALSE(dc.CreateCompatibleDC(nullptr));
        // Without a context the quiet client context is empty (the other form raises, as the fault
        // matrix of the launcher's tests shows).
        EXPECT_EQ(nullptr, CClientDC(NULL, std::nothrow).GetSafeHdc());
    }
    EXPECT_EQ(held, (std::vector<HGDIOBJ>{pen, brush, font, bitmap, compatible, dc}));
    for (HGDIOBJ handle : held)
        EXPECT_TRUE(HandleAlive(handle));
}

// The owning logic, shared by GDI objects and drawing contexts.
TEST(GdiObjectTest, OwnerDeletesItsHandle)
{
    HGDIOBJ handle;
    {
        CBrush brush;
        ASSERT_TRUE(brush.CreateSolidBrush(RGB(10, 20, 30)));
        handle = brush;
        ASSERT_TRUE(HandleAlive(handle));
        EXPECT_EQ(RGB(10, 20, 30), wintest::BrushColor(brush));
    }
    EXPECT_FALSE(HandleAlive(handle)); // by the destructor

    CPen pen;
    ASSERT_TRUE(pen.CreatePen(PS_SOLID, 0, RGB(1, 1, 1)));
    handle = pen;
    EXPECT_TRUE(pen.DeleteObject());
    EXPECT_FALSE(HandleAlive(handle));
    EXPECT_EQ(nullptr, pen.GetSafeHandle());
    EXPECT_FALSE(pen.DeleteObject()); // nothing left
    EXPECT_EQ(0, pen.GetObject(sizeof(LOGPEN), nullptr));

    // Attaching another handle releases the one held before.
    CBrush brush;
    HBRUSH first = CreateSolidBrush(RGB(1, 0, 0));
    HBRUSH second = CreateSolidBrush(RGB(0, 1, 0));
    EXPECT_TRUE(brush.Attach(first));
    EXPECT_TRUE(brush.Attach(second));
    EXPECT_FALSE(HandleAlive(first));
    EXPECT_TRUE(brush.Attach(second)); // the same handle again is kept
    EXPECT_TRUE(HandleAlive(second));

    // Detach hands the handle back undeleted.
    HGDIOBJ detached = brush.Detach();
    EXPECT_EQ(second, detached);
    EXPECT_TRUE(HandleAlive(detached));
    DeleteObject(detached);
}

TEST(GdiObjectTest, FontAndBitmapDescribeTheirObjects)
{
    LOGFONTA lf = {};
    lf.lfHeight = -12;
    strcpy(lf.lfFaceName, "Arial");
    CFont font;
    EXPECT_FALSE(font.CreateFontIndirect(nullptr));
    ASSERT_TRUE(font.CreateFontIndirect(&lf));
    LOGFONTA back = {};
    EXPECT_EQ(static_cast<int>(sizeof back), font.GetObject(sizeof back, &back));
    EXPECT_EQ(-12, back.lfHeight);
    EXPECT_STREQ("Arial", back.lfFaceName);

    CBitmap bitmap, compatible;
    ASSERT_TRUE(bitmap.CreateBitmap(7, 5, 1, 1, nullptr));
    BITMAP info = {};
    EXPECT_EQ(static_cast<int>(sizeof info), bitmap.GetBitmap(&info));
    EXPECT_EQ(7, info.bmWidth);
    EXPECT_EQ(5, info.bmHeight);
    // In the format of the context: the 32-bit capture's, not the monochrome default of a new context.
    wintest::Capture capture(1, 1);
    ASSERT_TRUE(compatible.CreateCompatibleBitmap(CDC::FromHandle(capture.dc()), 3, 2));
    compatible.GetBitmap(&info);
    EXPECT_EQ(3, info.bmWidth);
    EXPECT_EQ(32, info.bmBitsPixel);
    AfxDeleteTempMaps();
}

// ---- Drawing contexts ------------------------------------------------------------------------

TEST(DrawingContextTest, OwnershipOfContexts)
{
    // A created context dies with its object (Attach and Detach: the owning logic the GDI objects
    // share, checked with them).
    HDC created;
    {
        CDC memory;
        ASSERT_TRUE(memory.CreateCompatibleDC(nullptr));
        created = memory;
        EXPECT_TRUE(HandleAlive(created));
    }
    EXPECT_FALSE(HandleAlive(created));

    // A temporary wrapper: one per handle, never deleting it.
    HDC kept = CreateCompatibleDC(NULL);
    CDC* wrapped = CDC::FromHandle(kept);
    ASSERT_NE(nullptr, wrapped);
    EXPECT_EQ(kept, wrapped->GetSafeHdc());
    EXPECT_EQ(wrapped, CDC::FromHandle(kept));
    EXPECT_EQ(nullptr, CDC::FromHandle(NULL));
    AfxDeleteTempMaps();
    EXPECT_TRUE(HandleAlive(kept));
    DeleteDC(kept);
}

// A 32-bit memory context cleared to white, with a framework wrapper for drawing.
struct Canvas
{
    static constexpr int kSize = 32;
    wintest::Capture capture{kSize, kSize};
    CDC& dc = *CDC::FromHandle(capture.dc());

    Canvas() { capture.Fill(RGB(255, 255, 255)); }
};

TEST(DrawingContextTest, SelectionsAnswerThePreviousObject)
{
    Canvas canvas;
    LOGFONTA lf = {};
    lf.lfHeight = -20;
    strcpy(lf.lfFaceName, "Arial");
    CFont font;
    ASSERT_TRUE(font.CreateFontIndirect(&lf));
    HGDIOBJ fontBefore = GetCurrentObject(canvas.dc, OBJ_FONT);

    // The font form answers a temporary wrapper of the font selected before.
    CFont* previous = canvas.dc.SelectObject(&font);
    ASSERT_NE(nullptr, previous);
    EXPECT_NE(&font, previous);
    EXPECT_EQ(fontBefore, previous->GetSafeHandle());
    EXPECT_TRUE(previous->IsKindOf(RUNTIME_CLASS(CFont)));
    EXPECT_EQ(font.GetSafeHandle(), GetCurrentObject(canvas.dc, OBJ_FONT));
    EXPECT_EQ(font.GetSafeHandle(), canvas.dc.SelectObject(fontBefore)); // the handle form
    EXPECT_EQ(nullptr, canvas.dc.SelectObject(static_cast<CFont*>(nullptr)));
    EXPECT_EQ(nullptr, canvas.dc.SelectObject(static_cast<HGDIOBJ>(nullptr)));

    // The scoped helper puts the previous object back.
    {
        CScopedSelect select(&canvas.dc, &font);
        EXPECT_EQ(fontBefore, select.Previous());
        EXPECT_EQ(font.GetSafeHandle(), GetCurrentObject(canvas.dc, OBJ_FONT));
    }
    EXPECT_EQ(fontBefore, GetCurrentObject(canvas.dc, OBJ_FONT));
    AfxDeleteTempMaps();
    EXPECT_TRUE(HandleAlive(font));
}

struct PixelCase { int x, y; COLORREF expected; };

void ExpectPixels(const Canvas& canvas, const std::vector<PixelCase>& cases, const char* what)
{
    for (const PixelCase& c : cases)
        EXPECT_EQ(c.expected, canvas.capture.At(c.x, c.y))
            << what << " at (" << c.x << ", " << c.y << ")";
}

const COLORREF kWhite = RGB(255, 255, 255);

TEST(DrawingContextTest, FillSolidRectFillsAndLeavesTheBackgroundColour)
{
    Canvas canvas;
    const COLORREF fill = RGB(0xF5, 0xF5, 0xF5) ^ RGB(0, 0x40, 0x80);
    canvas.dc.SetBkColor(RGB(1, 2, 3));
    canvas.dc.FillSolidRect(CRect(2, 3, 10, 8), fill);
    EXPECT_EQ(fill, GetBkColor(canvas.dc));
    ExpectPixels(canvas,
                 {{2, 3, fill}, {9, 7, fill}, {1, 3, kWhite}, {10, 7, kWhite}, {9, 8, kWhite},
                  {2, 2, kWhite}},
                 "rect form");

    const COLORREF other = RGB(200, 10, 10);
    canvas.dc.FillSolidRect(20, 20, 3, 2, other);
    ExpectPixels(canvas, {{20, 20, other}, {22, 21, other}, {23, 21, kWhite}, {22, 22, kWhite}},
                 "x/y/cx/cy form");
}

TEST(DrawingContextTest, Draw3dRectDrawsOnePixelEdges)
{
    Canvas canvas;
    const COLORREF light = RGB(255, 0, 0), dark = RGB(0, 0, 255);
    canvas.dc.Draw3dRect(CRect(4, 4, 14, 10), light, dark); // x 4..13, y 4..9
    // Top and left edges light; right and bottom dark, with the top-right and bottom-left corners.
    for (int y = 2; y < 12; ++y)
        for (int x = 2; x < 16; ++x) {
            const bool darkEdge = (x == 13 && y >= 4 && y <= 9) || (y == 9 && x >= 4 && x <= 13);
            const bool lightEdge = (x == 4 && y >= 4 && y < 9) || (y == 4 && x >= 4 && x < 13);
            EXPECT_EQ(darkEdge ? dark : lightEdge ? light : kWhite, canvas.capture.At(x, y)) << x << "," << y;
        }
}

TEST(DrawingContextTest, FillAndFrameRectUseTheBrushAndLinesLeaveOutTheirEnd)
{
    Canvas canvas;
    CBrush black;
    ASSERT_TRUE(black.CreateSolidBrush(RGB(0, 0, 0)));
    canvas.dc.FrameRect(CRect(10, 10, 16, 16), &black);
    ExpectPixels(canvas, {{10, 10, 0}, {15, 15, 0}, {15, 10, 0}, {11, 11, kWhite}, {16, 16, kWhite}},
                 "FrameRect");
    canvas.dc.FillRect(CRect(2, 10, 5, 12), &black);
    ExpectPixels(canvas, {{2, 10, 0}, {4, 11, 0}, {5, 11, kWhite}, {4, 12, kWhite}}, "FillRect");

    // A line from MoveTo to LineTo leaves out its end point.
    CPen red;
    ASSERT_TRUE(red.CreatePen(PS_SOLID, 0, RGB(255, 0, 0)));
    CScopedSelect pen(&canvas.dc, &red);
    canvas.dc.MoveTo(20, 2);
    canvas.dc.LineTo(25, 2);
    ExpectPixels(canvas, {{20, 2, RGB(255, 0, 0)}, {24, 2, RGB(255, 0, 0)}, {25, 2, kWhite}},
                 "MoveTo/LineTo");
}

TEST(DrawingContextTest, BitBltAndStretchBltCopyPixels)
{
    Canvas source;
    Canvas target;
    source.dc.FillSolidRect(0, 0, 2, 2, RGB(10, 200, 30));
    EXPECT_TRUE(target.dc.BitBlt(5, 5, 2, 2, &source.dc, 0, 0, SRCCOPY));
    EXPECT_TRUE(target.dc.StretchBlt(10, 10, 8, 8, &source.dc, 0, 0, 2, 2, SRCCOPY));
    ExpectPixels(target,
                 {{5, 5, RGB(10, 200, 30)}, {6, 6, RGB(10, 200, 30)}, {7, 7, kWhite},
                  {10, 10, RGB(10, 200, 30)}, {17, 17, RGB(10, 200, 30)}, {18, 18, kWhite}},
                 "blits");
}

// ---- Paint and client contexts in a real window ----------------------------------------------

const COLORREF kPaintColor = RGB(0x32, 0x50, 0xFA);

// A popup window whose paint fills its client area through CPaintDC.
class CPaintedWindow : public CWnd
{
public:
    int paints = 0;
    bool contextMatches = false;

    void OnPaint()
    {
        CPaintDC dc(this);
        ++paints;
        contextMatches = dc.m_ps.hdc == dc.m_hDC && dc.m_hDC != NULL;
        CRect client;
        GetClientRect(client);
        dc.FillSolidRect(client, kPaintColor);
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPaintedWindow, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

TEST(WindowContextTest, PaintDCBeginsAndEndsPaintingByScope)
{
    CPaintedWindow window;
    ASSERT_TRUE(window.SubclassWindow(
        CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 10, 10, 60, 40, NULL, NULL, NULL, NULL)));
    InvalidateRect(window, NULL, TRUE);
    UpdateWindow(window);
    EXPECT_EQ(1, window.paints);
    EXPECT_TRUE(window.contextMatches);
    // EndPaint ran: nothing is left to paint, so the window is not asked again.
    EXPECT_FALSE(GetUpdateRect(window, NULL, FALSE));
    UpdateWindow(window);
    EXPECT_EQ(1, window.paints);

    CClientDC client(window);
    ASSERT_NE(nullptr, client.GetSafeHdc());
    EXPECT_EQ(kPaintColor, GetPixel(client, 5, 5));
    EXPECT_EQ(kPaintColor, GetPixel(client, 59, 39));
}

} // namespace

// The framework's non-window half: CString, run-time classes, exceptions, GDI wrappers and
// drawing contexts, checked against real GDI under Wine (handles, pixels, a real WM_PAINT).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/afx.h"
#include "res/resource.h"

namespace {

// ---- CString ---------------------------------------------------------------------------------

TEST(CStringTest, NullAndEmptyConstruction)
{
    CString fromNull(static_cast<const char*>(nullptr));
    CString byDefault;
    EXPECT_TRUE(fromNull.IsEmpty());
    EXPECT_TRUE(byDefault.IsEmpty());
    EXPECT_STREQ("", static_cast<const char*>(fromNull));
    EXPECT_TRUE(fromNull == byDefault);
    EXPECT_TRUE(fromNull == static_cast<const char*>(nullptr));

    CString assigned("x");
    assigned = static_cast<const char*>(nullptr);
    EXPECT_TRUE(assigned.IsEmpty());
    EXPECT_EQ(2, CString("abc", 2).GetLength());
    EXPECT_EQ(3, CString("abc", 10).GetLength()); // never reads past the NUL
}

TEST(CStringTest, ValueSemantics)
{
    CString original("1, 0, 2, 0");
    CString copy = original;
    copy.Replace(",", ".");
    copy.GetBuffer(0)[0] = '9';
    copy.ReleaseBuffer();
    EXPECT_STREQ("1, 0, 2, 0", original);
    EXPECT_STREQ("9. 0. 2. 0", copy);

    CString moved = std::move(copy);
    EXPECT_STREQ("9. 0. 2. 0", moved);

    CString self("abc");
    self = static_cast<const char*>(self) + 1; // assignment from its own text
    EXPECT_STREQ("bc", self);
}

struct SubstringCase
{
    const char* what;
    CString (*take)(const CString&);
    const char* expected;
};

TEST(CStringTest, SubstringsClampTheirCounts)
{
    const SubstringCase cases[] = {
        {"Left(2)", [](const CString& s) { return s.Left(2); }, "Ha"},
        {"Left(0)", [](const CString& s) { return s.Left(0); }, ""},
        {"Left(-1)", [](const CString& s) { return s.Left(-1); }, ""},
        {"Left(99)", [](const CString& s) { return s.Left(99); }, "Hallo Welt"},
        {"Mid(6)", [](const CString& s) { return s.Mid(6); }, "Welt"},
        {"Mid(6, 2)", [](const CString& s) { return s.Mid(6, 2); }, "We"},
        {"Mid(6, 99)", [](const CString& s) { return s.Mid(6, 99); }, "Welt"},
        {"Mid(-3, 2)", [](const CString& s) { return s.Mid(-3, 2); }, "Ha"},
        {"Mid(10)", [](const CString& s) { return s.Mid(10); }, ""},
        {"Mid(50, 2)", [](const CString& s) { return s.Mid(50, 2); }, ""},
        {"Mid(2, -1)", [](const CString& s) { return s.Mid(2, -1); }, ""},
        {"Right(4)", [](const CString& s) { return s.Right(4); }, "Welt"},
        {"Right(99)", [](const CString& s) { return s.Right(99); }, "Hallo Welt"},
        {"Right(-2)", [](const CString& s) { return s.Right(-2); }, ""},
    };
    const CString text("Hallo Welt");
    for (const SubstringCase& c : cases)
        EXPECT_STREQ(c.expected, c.take(text)) << c.what;
    EXPECT_STREQ("Hallo Welt", text);
}

TEST(CStringTest, FindAndIndex)
{
    const CString text("C:\\dir\\file.exe");
    EXPECT_EQ(2, text.Find('\\'));
    EXPECT_EQ(6, text.Find('\\', 3));
    EXPECT_EQ(6, text.ReverseFind('\\'));
    EXPECT_EQ(-1, text.Find('?'));
    EXPECT_EQ(-1, text.Find('C', 99));
    EXPECT_EQ(7, text.Find("file"));
    EXPECT_EQ(-1, text.Find("file", 8));
    EXPECT_EQ(-1, text.Find(static_cast<const char*>(nullptr)));
    EXPECT_EQ(':', text[1]);
    EXPECT_EQ(':', text[size_t{1}]);
    EXPECT_EQ('e', text.GetAt(text.GetLength() - 1));
}

struct ReplaceCase
{
    const char* input;
    const char* from;
    const char* to;
    int count;
    const char* expected;
};

TEST(CStringTest, ReplaceAndRemove)
{
    const ReplaceCase cases[] = {
        {"1, 0, 2, 0", ",", ".", 3, "1. 0. 2. 0"},
        {"1, 0, 2, 0", ", ", "", 3, "1020"},
        {"1, 0, 2, 0", ", ", nullptr, 3, "1020"},
        {"aaa", "aa", "b", 1, "ba"},            // matches do not overlap
        {"abc", "abc", "abcabc", 1, "abcabc"}, // the replacement is not searched again
        {"abc", "x", "y", 0, "abc"},
        {"abc", "", "y", 0, "abc"},            // an empty pattern changes nothing
        {"", "a", "b", 0, ""},
    };
    for (const ReplaceCase& c : cases) {
        CString text(c.input);
        EXPECT_EQ(c.count, text.Replace(c.from, c.to)) << c.input << " / " << c.from;
        EXPECT_STREQ(c.expected, text) << c.input << " / " << c.from;
    }

    CString text("1, 0, 2, 0");
    EXPECT_EQ(3, text.Replace(',', '.'));
    EXPECT_EQ(3, text.Remove(' '));
    EXPECT_STREQ("1.0.2.0", text);
    EXPECT_EQ(0, text.Remove(' '));
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

    buffer = text.GetBufferSetLength(3);
    memcpy(buffer, "xyz", 3);
    EXPECT_STREQ("xyz", text);
    EXPECT_EQ(3, text.GetLength());
}

TEST(CStringTest, ConcatenationAndComparison)
{
    CString a("ab");
    const char* c = "cd";
    EXPECT_STREQ("abab", a + a);
    EXPECT_STREQ("abcd", a + c);
    EXPECT_STREQ("cdab", c + a);
    EXPECT_STREQ("ab!", a + '!');
    EXPECT_STREQ("!ab", '!' + a);
    CString b;
    b += a;
    b += "-";
    b += 'x';
    EXPECT_STREQ("ab-x", b);
    b.Empty();
    EXPECT_TRUE(b.IsEmpty());

    EXPECT_TRUE(a == "ab");
    EXPECT_TRUE("ab" == a);
    EXPECT_TRUE(a != "aB"); // case matters
    EXPECT_TRUE(a != CString("abc"));
    EXPECT_TRUE("abc" != a);
    EXPECT_FALSE(a != CString("ab"));
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

TEST(ExceptionTest, ThrowResourceExceptionThrowsByPointer)
{
    CException* caught = nullptr;
    try {
        AfxThrowResourceException();
    } catch (CException* e) {
        caught = e;
    }
    ASSERT_NE(nullptr, caught);
    EXPECT_TRUE(caught->IsKindOf(RUNTIME_CLASS(CResourceException)));
    caught->Delete();
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

// Catches the message boxes of this thread: once a box has set up its texts (WM_INITDIALOG has
// returned) the hook keeps the text and destroys the box before it is ever shown. (Under Wine
// without a window manager, hiding a shown window waits 2 s for the X server; this avoids it.)
class MessageBoxCatcher
{
public:
    MessageBoxCatcher()
    {
        s_texts.clear();
        m_hook = SetWindowsHookExA(WH_CALLWNDPROCRET, AfterMessage, NULL, GetCurrentThreadId());
    }
    ~MessageBoxCatcher() { UnhookWindowsHookEx(m_hook); }

    bool Installed() const { return m_hook != NULL; }
    static const std::vector<std::string>& Texts() { return s_texts; }

private:
    static BOOL CALLBACK FindStaticText(HWND child, LPARAM param)
    {
        char cls[32] = {};
        char text[256] = {};
        GetClassNameA(child, cls, sizeof cls);
        if (lstrcmpiA(cls, "Static") == 0 && GetWindowTextA(child, text, sizeof text) > 0)
            reinterpret_cast<std::string*>(param)->assign(text);
        return TRUE;
    }

    static LRESULT CALLBACK AfterMessage(int code, WPARAM wParam, LPARAM lParam)
    {
        const CWPRETSTRUCT* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        char cls[32] = {};
        if (code == HC_ACTION && call->message == WM_INITDIALOG &&
            GetClassNameA(call->hwnd, cls, sizeof cls) && strcmp(cls, "#32770") == 0) {
            std::string text;
            EnumChildWindows(call->hwnd, FindStaticText, reinterpret_cast<LPARAM>(&text));
            s_texts.push_back(text);
            DestroyWindow(call->hwnd);
        }
        return CallNextHookEx(NULL, code, wParam, lParam);
    }

    static std::vector<std::string> s_texts;
    HHOOK m_hook;
};
std::vector<std::string> MessageBoxCatcher::s_texts;

TEST(ExceptionTest, ReportErrorShowsTheTextInAMessageBox)
{
    MessageBoxCatcher catcher;
    ASSERT_TRUE(catcher.Installed());
    CException* e = new CResourceException;
    e->ReportError(MB_OK, 0);
    e->Delete();
    // Neither the exception nor a string resource 4711 has a text: the generic one is shown.
    CException plain;
    plain.ReportError(MB_OK, 4711);

    ASSERT_EQ(2u, MessageBoxCatcher::Texts().size());
    EXPECT_EQ("A required resource was unavailable.", MessageBoxCatcher::Texts()[0]);
    EXPECT_EQ("No error message is available.", MessageBoxCatcher::Texts()[1]);
}

// ---- Geometry --------------------------------------------------------------------------------

TEST(GeometryTest, RectHelpers)
{
    CRect r(10, 20, 110, 70);
    EXPECT_EQ(100, r.Width());
    EXPECT_EQ(50, r.Height());
    EXPECT_EQ(CSize(100, 50), r.Size());
    EXPECT_EQ(CPoint(10, 20), r.TopLeft());
    r.BottomRight() = CPoint(30, 40); // the corner refers into the rectangle
    EXPECT_EQ(CRect(10, 20, 30, 40), r);

    r.OffsetRect(5, -5);
    EXPECT_EQ(CRect(15, 15, 35, 35), r);
    r.DeflateRect(1, 2);
    EXPECT_EQ(CRect(16, 17, 34, 33), r);
    r.InflateRect(1, 2, 3, 4);
    EXPECT_EQ(CRect(15, 15, 37, 37), r);
    r.DeflateRect(1, 2, 3, 4);
    EXPECT_EQ(CRect(16, 17, 34, 33), r);
    EXPECT_TRUE(r.PtInRect(CPoint(16, 17)));
    EXPECT_FALSE(r.PtInRect(CPoint(34, 20))); // right edge is exclusive

    RECT plain;
    SetRect(&plain, 1, 2, 3, 4);
    CRect copy;
    copy.CopyRect(&plain);
    EXPECT_TRUE(copy == plain);
    EXPECT_TRUE(EqualRect(copy, &plain)); // converts to LPCRECT
    EXPECT_FALSE(copy.IsRectEmpty());
    EXPECT_TRUE(CRect(5, 5, 5, 9).IsRectEmpty());
}

// ---- GDI object ownership --------------------------------------------------------------------

bool HandleAlive(HGDIOBJ handle)
{
    return GetObjectType(handle) != 0;
}

TEST(GdiObjectTest, AttachNullRaisesResourceException)
{
    CBrush brush(RGB(1, 2, 3));
    HGDIOBJ held = brush.GetSafeHandle();
    bool thrown = false;
    try {
        brush.Attach(NULL);
    } catch (CException* e) {
        thrown = e->IsKindOf(RUNTIME_CLASS(CResourceException));
        e->Delete();
    }
    EXPECT_TRUE(thrown);
    EXPECT_EQ(held, brush.GetSafeHandle()); // left as it was
    EXPECT_TRUE(HandleAlive(held));
}

TEST(GdiObjectTest, OwnerDeletesItsHandle)
{
    HGDIOBJ handle;
    {
        CBrush brush(RGB(10, 20, 30));
        handle = brush;
        ASSERT_TRUE(HandleAlive(handle));
        EXPECT_EQ(static_cast<UINT>(OBJ_BRUSH), brush.GetObjectType());
        LOGBRUSH lb = {};
        EXPECT_EQ(static_cast<int>(sizeof lb), brush.GetLogBrush(&lb));
        EXPECT_EQ(RGB(10, 20, 30), lb.lbColor);
    }
    EXPECT_FALSE(HandleAlive(handle)); // by the destructor

    CPen pen(PS_SOLID, 0, RGB(1, 1, 1));
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

TEST(GdiObjectTest, TemporaryWrappersNeverDelete)
{
    HBRUSH brush = CreateSolidBrush(RGB(9, 9, 9));
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(9, 9, 9));
    HDC dc = CreateCompatibleDC(NULL);

    CBrush* wrapped = CBrush::FromHandle(brush);
    ASSERT_NE(nullptr, wrapped);
    EXPECT_EQ(brush, wrapped->m_hObject);
    EXPECT_EQ(wrapped, CBrush::FromHandle(brush)); // one wrapper per handle
    EXPECT_EQ(nullptr, CBrush::FromHandle(NULL));

    // The generic form picks the wrapper class from the object's type.
    CGdiObject* generic = CGdiObject::FromHandle(pen);
    EXPECT_TRUE(generic->IsKindOf(RUNTIME_CLASS(CPen)));
    EXPECT_TRUE(CGdiObject::FromHandle(GetStockObject(SYSTEM_FONT))->IsKindOf(RUNTIME_CLASS(CFont)));

    CDC* wrappedDC = CDC::FromHandle(dc);
    ASSERT_NE(nullptr, wrappedDC);
    EXPECT_EQ(dc, wrappedDC->GetSafeHdc());
    EXPECT_EQ(dc, wrappedDC->m_hAttribDC);
    EXPECT_EQ(wrappedDC, CDC::FromHandle(dc));

    AfxDeleteTempMaps();
    EXPECT_TRUE(HandleAlive(brush));
    EXPECT_TRUE(HandleAlive(pen));
    EXPECT_TRUE(HandleAlive(dc));

    // A handle value reused for another kind of object gets a wrapper of the right class.
    EXPECT_TRUE(CGdiObject::FromHandle(brush)->IsKindOf(RUNTIME_CLASS(CBrush)));
    EXPECT_TRUE(CPen::FromHandle(static_cast<HPEN>(static_cast<HGDIOBJ>(brush)))
                    ->IsKindOf(RUNTIME_CLASS(CPen)));
    AfxDeleteTempMaps();
    EXPECT_TRUE(HandleAlive(brush));

    DeleteObject(brush);
    DeleteObject(pen);
    DeleteDC(dc);
}

TEST(GdiObjectTest, BitmapFromResources)
{
    CBitmap background;
    ASSERT_TRUE(background.LoadBitmap(IDB_BACKGROUND));
    BITMAP info = {};
    EXPECT_EQ(static_cast<int>(sizeof info), background.GetBitmap(&info));
    EXPECT_GT(info.bmWidth, 0);
    EXPECT_GT(info.bmHeight, 0);

    CBitmap missing;
    EXPECT_FALSE(missing.LoadBitmap(4711));
    EXPECT_EQ(nullptr, missing.GetSafeHandle());

    LOGFONTA lf = {};
    lf.lfHeight = -12;
    strcpy(lf.lfFaceName, "Arial");
    CFont font;
    ASSERT_TRUE(font.CreateFontIndirect(&lf));
    LOGFONTA back = {};
    font.GetLogFont(&back);
    EXPECT_EQ(-12, back.lfHeight);
    EXPECT_STREQ("Arial", back.lfFaceName);
}

// ---- Drawing contexts ------------------------------------------------------------------------

TEST(DrawingContextTest, OwnershipOfContexts)
{
    HDC created;
    {
        CDC memory;
        ASSERT_TRUE(memory.CreateCompatibleDC(nullptr));
        created = memory;
        EXPECT_TRUE(HandleAlive(created));
    }
    EXPECT_FALSE(HandleAlive(created)); // a created context dies with its object

    HDC attached = CreateCompatibleDC(NULL);
    {
        CDC dc;
        EXPECT_FALSE(dc.Attach(NULL));
        EXPECT_TRUE(dc.Attach(attached));
    }
    EXPECT_FALSE(HandleAlive(attached)); // attached means owned

    HDC kept = CreateCompatibleDC(NULL);
    {
        CDC dc;
        dc.Attach(kept);
        EXPECT_EQ(kept, dc.Detach());
        EXPECT_FALSE(dc.DeleteDC());
    }
    EXPECT_TRUE(HandleAlive(kept));
    DeleteDC(kept);
}

// A memory context over a screen-compatible bitmap, cleared to white, for reading pixels back.
struct MemoryCanvas
{
    static constexpr int kSize = 32;
    CDC dc;
    CBitmap bitmap;
    CBitmap* previous = nullptr;

    MemoryCanvas()
    {
        dc.CreateCompatibleDC(nullptr);
        bitmap.CreateCompatibleBitmap(nullptr, kSize, kSize);
        previous = dc.SelectObject(&bitmap);
        PatBlt(dc, 0, 0, kSize, kSize, WHITENESS);
    }
    ~MemoryCanvas()
    {
        if (previous)
            dc.SelectObject(previous);
    }
};

TEST(DrawingContextTest, SelectObjectReturnsThePreviousObject)
{
    MemoryCanvas canvas;
    ASSERT_NE(nullptr, canvas.previous); // the context's default 1x1 bitmap
    EXPECT_TRUE(canvas.previous->IsKindOf(RUNTIME_CLASS(CBitmap)));
    EXPECT_NE(canvas.bitmap.GetSafeHandle(), canvas.previous->GetSafeHandle());

    CPen red(PS_SOLID, 0, RGB(255, 0, 0));
    CPen blue(PS_SOLID, 0, RGB(0, 0, 255));
    CPen* first = canvas.dc.SelectObject(&red);
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(GetStockObject(BLACK_PEN), first->GetSafeHandle());
    CPen* second = canvas.dc.SelectObject(&blue);
    ASSERT_NE(nullptr, second);
    EXPECT_EQ(red.GetSafeHandle(), second->GetSafeHandle());
    EXPECT_NE(&red, second); // a temporary wrapper, not the owner

    CBrush brush(RGB(0, 255, 0));
    CBrush* oldBrush = canvas.dc.SelectObject(&brush);
    ASSERT_NE(nullptr, oldBrush);
    EXPECT_EQ(GetStockObject(WHITE_BRUSH), oldBrush->GetSafeHandle());

    CGdiObject* viaStatic = CDC::SelectGdiObject(canvas.dc, GetStockObject(BLACK_PEN));
    ASSERT_NE(nullptr, viaStatic);
    EXPECT_EQ(blue.GetSafeHandle(), viaStatic->GetSafeHandle());
    EXPECT_TRUE(viaStatic->IsKindOf(RUNTIME_CLASS(CPen)));
    EXPECT_EQ(GetStockObject(BLACK_PEN), canvas.dc.SelectObject(red.GetSafeHandle()));
    CGdiObject* stock = canvas.dc.SelectStockObject(WHITE_PEN);
    ASSERT_NE(nullptr, stock);
    EXPECT_EQ(red.GetSafeHandle(), stock->GetSafeHandle());
    canvas.dc.SelectObject(oldBrush);

    EXPECT_EQ(nullptr, canvas.dc.SelectObject(static_cast<CPen*>(nullptr)));
    EXPECT_EQ(nullptr, CDC::SelectGdiObject(NULL, red.GetSafeHandle()));

    // The scoped helper puts the previous font back.
    LOGFONTA lf = {};
    lf.lfHeight = -20;
    strcpy(lf.lfFaceName, "Arial");
    CFont font;
    ASSERT_TRUE(font.CreateFontIndirect(&lf));
    HGDIOBJ fontBefore = GetCurrentObject(canvas.dc, OBJ_FONT);
    {
        CScopedSelect select(&canvas.dc, &font);
        EXPECT_EQ(fontBefore, select.Previous());
        EXPECT_EQ(font.GetSafeHandle(), GetCurrentObject(canvas.dc, OBJ_FONT));
    }
    EXPECT_EQ(fontBefore, GetCurrentObject(canvas.dc, OBJ_FONT));
    AfxDeleteTempMaps();
    EXPECT_TRUE(HandleAlive(red));
    EXPECT_TRUE(HandleAlive(blue));
}

struct PixelCase
{
    int x, y;
    COLORREF expected;
};

void ExpectPixels(CDC& dc, const std::vector<PixelCase>& cases, const char* what)
{
    for (const PixelCase& c : cases)
        EXPECT_EQ(c.expected, dc.GetPixel(c.x, c.y))
            << what << " at (" << c.x << ", " << c.y << ")";
}

const COLORREF kWhite = RGB(255, 255, 255);

TEST(DrawingContextTest, FillSolidRectFillsAndLeavesTheBackgroundColour)
{
    MemoryCanvas canvas;
    const COLORREF fill = RGB(0xF5, 0xF5, 0xF5) ^ RGB(0, 0x40, 0x80);
    canvas.dc.SetBkColor(RGB(1, 2, 3));
    canvas.dc.FillSolidRect(CRect(2, 3, 10, 8), fill);
    EXPECT_EQ(fill, canvas.dc.GetBkColor());
    ExpectPixels(canvas.dc,
                 {{2, 3, fill}, {9, 7, fill}, {1, 3, kWhite}, {10, 7, kWhite}, {9, 8, kWhite},
                  {2, 2, kWhite}},
                 "rect form");

    const COLORREF other = RGB(200, 10, 10);
    canvas.dc.FillSolidRect(20, 20, 3, 2, other);
    ExpectPixels(canvas.dc, {{20, 20, other}, {22, 21, other}, {23, 21, kWhite}, {22, 22, kWhite}},
                 "x/y/cx/cy form");
}

TEST(DrawingContextTest, Draw3dRectDrawsOnePixelEdges)
{
    MemoryCanvas canvas;
    const COLORREF light = RGB(255, 0, 0);
    const COLORREF dark = RGB(0, 0, 255);
    canvas.dc.Draw3dRect(CRect(4, 4, 14, 10), light, dark); // x 4..13, y 4..9
    ExpectPixels(canvas.dc,
                 {
                     {4, 4, light},   // top-left corner
                     {12, 4, light},  // top edge
                     {13, 4, dark},   // top-right corner belongs to the right edge
                     {4, 8, light},   // left edge
                     {4, 9, dark},    // bottom-left corner belongs to the bottom edge
                     {13, 7, dark},   // right edge
                     {8, 9, dark},    // bottom edge
                     {13, 9, dark},   // bottom-right corner
                     {5, 5, kWhite},  // inside untouched
                     {12, 8, kWhite},
                     {14, 5, kWhite}, // outside untouched
                     {8, 10, kWhite},
                     {3, 4, kWhite},
                     {4, 3, kWhite},
                 },
                 "Draw3dRect");
}

TEST(DrawingContextTest, FrameRectAndFillRectUseTheBrush)
{
    MemoryCanvas canvas;
    CBrush black(RGB(0, 0, 0));
    CBrush green(RGB(0, 128, 0));
    canvas.dc.FillRect(CRect(0, 0, 6, 6), &green);
    canvas.dc.FrameRect(CRect(10, 10, 16, 16), &black);
    ExpectPixels(canvas.dc,
                 {{0, 0, RGB(0, 128, 0)}, {5, 5, RGB(0, 128, 0)}, {6, 5, kWhite},
                  {10, 10, 0}, {15, 15, 0}, {15, 10, 0}, {11, 11, kWhite}, {16, 16, kWhite}},
                 "FillRect/FrameRect");

    // A line from MoveTo to LineTo leaves out its end point.
    CPen red(PS_SOLID, 0, RGB(255, 0, 0));
    CPen* old = canvas.dc.SelectObject(&red);
    canvas.dc.MoveTo(20, 2);
    canvas.dc.LineTo(25, 2);
    canvas.dc.SelectObject(old);
    ExpectPixels(canvas.dc, {{20, 2, RGB(255, 0, 0)}, {24, 2, RGB(255, 0, 0)}, {25, 2, kWhite}},
                 "MoveTo/LineTo");
}

TEST(DrawingContextTest, BitBltAndStretchBltCopyPixels)
{
    MemoryCanvas source;
    MemoryCanvas target;
    source.dc.FillSolidRect(0, 0, 2, 2, RGB(10, 200, 30));
    EXPECT_TRUE(target.dc.BitBlt(5, 5, 2, 2, &source.dc, 0, 0, SRCCOPY));
    EXPECT_TRUE(target.dc.StretchBlt(10, 10, 8, 8, &source.dc, 0, 0, 2, 2, SRCCOPY));
    ExpectPixels(target.dc,
                 {{5, 5, RGB(10, 200, 30)}, {6, 6, RGB(10, 200, 30)}, {7, 7, kWhite},
                  {10, 10, RGB(10, 200, 30)}, {17, 17, RGB(10, 200, 30)}, {18, 18, kWhite}},
                 "blits");
    EXPECT_GT(target.dc.GetDeviceCaps(BITSPIXEL), 0);
}

// ---- Paint and client contexts in a real window ----------------------------------------------

struct PaintRecord
{
    int paints = 0;
    bool contextMatches = false;
    HDC hdc = NULL;
};
PaintRecord g_paint;
const COLORREF kPaintColor = RGB(0x32, 0x50, 0xFA);

LRESULT CALLBACK PaintWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_PAINT) {
        CPaintDC dc(hwnd);
        ++g_paint.paints;
        g_paint.hdc = dc.GetSafeHdc();
        g_paint.contextMatches = dc.m_ps.hdc == dc.m_hDC && dc.m_hDC != NULL;
        CRect client;
        GetClientRect(hwnd, client);
        dc.FillSolidRect(client, kPaintColor);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

TEST(WindowContextTest, PaintDCBeginsAndEndsPaintingByScope)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = PaintWndProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "FrameworkGdiPaintTest";
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    ASSERT_NE(0, RegisterClassA(&wc));
    HWND hwnd = CreateWindowExA(0, wc.lpszClassName, "paint", WS_POPUP | WS_VISIBLE, 10, 10, 60,
                                40, NULL, NULL, wc.hInstance, NULL);
    ASSERT_NE(nullptr, hwnd);

    g_paint = PaintRecord();
    InvalidateRect(hwnd, NULL, TRUE);
    UpdateWindow(hwnd);
    EXPECT_EQ(1, g_paint.paints);
    EXPECT_TRUE(g_paint.contextMatches);
    // EndPaint ran: nothing is left to paint, so the window is not asked again.
    EXPECT_FALSE(GetUpdateRect(hwnd, NULL, FALSE));
    UpdateWindow(hwnd);
    EXPECT_EQ(1, g_paint.paints);

    {
        CClientDC client(hwnd);
        ASSERT_NE(nullptr, client.GetSafeHdc());
        EXPECT_EQ(kPaintColor, client.GetPixel(5, 5));
        EXPECT_EQ(kPaintColor, client.GetPixel(59, 39));
    }
    {
        CWindowDC window(hwnd);
        EXPECT_NE(nullptr, window.GetSafeHdc());
    }

    DestroyWindow(hwnd);
    UnregisterClassA(wc.lpszClassName, wc.hInstance);
}

} // namespace

// Dialog templates in memory, modeless framework dialogs, message boxes and pixels (see TestDialog.h).
#include "support/TestDialog.h"

#include <gtest/gtest.h>

#include <iterator>

namespace wintest {

// ---- DialogTemplate --------------------------------------------------------------------------

DialogTemplate::DialogTemplate(DWORD style, short cx, short cy, const wchar_t* title)
{
    style |= DS_SETFONT;
    m_words = {LOWORD(style), HIWORD(style), 0, 0, 0 /* item count */, 0, 0, (WORD)cx, (WORD)cy};
    m_words.push_back(0);   // no menu
    m_words.push_back(0);   // the dialog class
    AddString(title);
    m_words.push_back(8);   // point size
    AddString(L"MS Shell Dlg");
}

void DialogTemplate::AddString(const wchar_t* text)
{
    for (const wchar_t* c = text; *c != L'\0'; ++c)
        m_words.push_back((WORD)*c);
    m_words.push_back(0);
}

void DialogTemplate::AlignToDword()
{
    if (m_words.size() % 2 != 0)
        m_words.push_back(0);
}

void DialogTemplate::AddControl(WORD classAtom, WORD id, DWORD style, short x, short y, short cx,
                                short cy, const wchar_t* text)
{
    AlignToDword();
    style |= WS_CHILD | WS_VISIBLE;
    const WORD item[] = {LOWORD(style), HIWORD(style), 0, 0, (WORD)x, (WORD)y, (WORD)cx, (WORD)cy, id};
    m_words.insert(m_words.end(), std::begin(item), std::end(item));
    m_words.push_back(0xFFFF);
    m_words.push_back(classAtom);
    AddString(text);
    m_words.push_back(0);   // no creation data
    ++m_words[4];
}

// ---- CTestDialog -----------------------------------------------------------------------------

// The dialog's own procedure behind the framework's map: the dialog manager's defaults.
constexpr DLGPROC kNoDialogProc = [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; };

CTestDialog::CTestDialog() : CDialog(0, nullptr)
{
}

BOOL CTestDialog::Create(const DialogTemplate& dialogTemplate, int x, int y, int clientWidth,
                         int clientHeight)
{
    AfxHookWindowCreate(this);
    HWND hwnd = ::CreateDialogIndirectParamA(::GetModuleHandleA(NULL), dialogTemplate.Get(), NULL,
                                             kNoDialogProc, 0);
    AfxUnhookWindowCreate();
    RECT frame = {0, 0, clientWidth, clientHeight};
    ::AdjustWindowRectEx(&frame, (DWORD)::GetWindowLongA(hwnd, GWL_STYLE), FALSE,
                         (DWORD)::GetWindowLongA(hwnd, GWL_EXSTYLE));
    return Show(hwnd, x, y, frame.right - frame.left, frame.bottom - frame.top, 0);
}

BOOL CTestDialog::Create(UINT templateId)
{
    AfxHookWindowCreate(this);
    HWND hwnd = ::CreateDialogParamA(::GetModuleHandleA(NULL), MAKEINTRESOURCEA(templateId), NULL,
                                     kNoDialogProc, 0);
    AfxUnhookWindowCreate();
    return Show(hwnd, 40, 40, 0, 0, SWP_NOSIZE);
}

BOOL CTestDialog::Show(HWND hwnd, int x, int y, int width, int height, UINT flags)
{
    if (hwnd == NULL)
        return FALSE;
    ::SetWindowPos(hwnd, HWND_TOP, x, y, width, height, flags | SWP_SHOWWINDOW);
    ::SetForegroundWindow(hwnd);
    ::SetActiveWindow(hwnd);
    ::UpdateWindow(hwnd);
    return TRUE;
}

void CTestDialog::DoDataExchange(CDataExchange* dx)
{
    if (bind)
        bind(dx);
}

// ---- MessageBoxCatcher ---------------------------------------------------------------------------

namespace {

std::vector<MessageBoxCatcher::Box> g_boxes;
HHOOK g_boxHook = NULL;
int g_catchers = 0;
const ImportHook* g_ansiBox = nullptr;
const ImportHook* g_wideBox = nullptr;
UINT g_boxType = MessageBoxCatcher::NoType;   // of the box being set up

int WINAPI TypedMessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    g_boxType = type;
    return g_ansiBox->Original<decltype(&::MessageBoxA)>()(owner, text, caption, type);
}

int WINAPI TypedMessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    g_boxType = type;
    return g_wideBox->Original<decltype(&::MessageBoxW)>()(owner, text, caption, type);
}

LRESULT CALLBACK AfterMessage(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPRETSTRUCT* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    // A message box is the dialog whose text is the static with id 0xFFFF.
    if (code == HC_ACTION && call->message == WM_INITDIALOG && ::GetDlgItem(call->hwnd, 0xFFFF) != NULL) {
        char caption[256] = "", text[1024] = "";
        ::GetWindowTextA(call->hwnd, caption, sizeof caption);
        ::GetDlgItemTextA(call->hwnd, 0xFFFF, text, sizeof text);
        if (g_catchers > 0)
            g_boxes.push_back({caption, text, g_boxType});
        else
            ADD_FAILURE() << "a message box nobody expected, closed: \"" << caption << "\": \"" << text << "\"";
        g_boxType = MessageBoxCatcher::NoType;
        ::EndDialog(call->hwnd, IDOK);
    }
    return ::CallNextHookEx(NULL, code, wParam, lParam);
}

}  // namespace

void CatchMessageBoxes()
{
    g_boxHook = ::SetWindowsHookExA(WH_CALLWNDPROCRET, AfterMessage, NULL, ::GetCurrentThreadId());
}

MessageBoxCatcher::MessageBoxCatcher()
    : m_ansi("user32.dll", "MessageBoxA", (void*)&TypedMessageBoxA),
      m_wide("user32.dll", "MessageBoxW", (void*)&TypedMessageBoxW)
{
    g_boxes.clear();
    ++g_catchers;
    g_ansiBox = &m_ansi;
    g_wideBox = &m_wide;
}

MessageBoxCatcher::~MessageBoxCatcher()
{
    --g_catchers;
}

bool MessageBoxCatcher::Installed() const
{
    return g_boxHook != NULL;
}

const std::vector<MessageBoxCatcher::Box>& MessageBoxCatcher::Boxes() const
{
    return g_boxes;
}

// ---- Capture ---------------------------------------------------------------------------------

Capture::Capture(int width, int height, COLORREF fill) : m_width(width), m_height(height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;   // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_dc = ::CreateCompatibleDC(NULL);
    m_bitmap = ::CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    m_bits = static_cast<const DWORD*>(bits);
    m_previous = ::SelectObject(m_dc, m_bitmap);
    Fill(fill);
}

Capture::~Capture()
{
    ::SelectObject(m_dc, m_previous);
    ::DeleteObject(m_bitmap);
    ::DeleteDC(m_dc);
}

COLORREF Capture::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height || m_bits == nullptr)
        return CLR_INVALID;
    ::GdiFlush();
    const DWORD pixel = m_bits[y * m_width + x];   // 0x00RRGGBB
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

void Capture::Fill(COLORREF color)
{
    HBRUSH brush = ::CreateSolidBrush(color);
    RECT all = {0, 0, m_width, m_height};
    ::FillRect(m_dc, &all, brush);
    ::DeleteObject(brush);
}

RECT Capture::BoundsOf(COLORREF color, const RECT& area) const
{
    RECT bounds = {0, 0, 0, 0};
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (At(x, y) == color) {
                const RECT pixel = {x, y, x + 1, y + 1};
                ::UnionRect(&bounds, &bounds, &pixel);   // an empty rectangle adds nothing
            }
    return bounds;
}

int Capture::CountOf(COLORREF color, const RECT& area) const
{
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            count += At(x, y) == color ? 1 : 0;
    return count;
}

void PrintClient(HWND hwnd, Capture& capture, COLORREF background)
{
    capture.Fill(background);
    // Each print starts from the context's defaults (black text, white background), as a paint's
    // new context does; what the last print left selected or set does not carry over.
    const int saved = ::SaveDC(capture.dc());
    ::SendMessageA(hwnd, WM_PRINTCLIENT, (WPARAM)capture.dc(), PRF_CLIENT | PRF_ERASEBKGND);
    ::RestoreDC(capture.dc(), saved);
}

void CopyFromScreen(HWND hwnd, Capture& capture)
{
    ::UpdateWindow(hwnd);
    HDC window = ::GetDC(hwnd);
    const RECT area = capture.Area();
    ::BitBlt(capture.dc(), 0, 0, area.right, area.bottom, window, 0, 0, SRCCOPY);
    ::ReleaseDC(hwnd, window);
}

COLORREF PaletteColor(const pixelcanvas::Image& canvas, int index)
{
    const pixelcanvas::RgbQuad& entry = canvas.Palette()[index];
    return RGB(entry.rgbRed, entry.rgbGreen, entry.rgbBlue);
}

COLORREF CanvasColor(const pixelcanvas::Image& canvas, int x, int y)
{
    const size_t row = size_t(canvas.Height() - 1 - y);
    return PaletteColor(canvas, canvas.Pixels()[row * size_t(canvas.Stride()) + size_t(x)]);
}

COLORREF BrushColor(HBRUSH brush)
{
    LOGBRUSH info = {};
    return ::GetObjectA(brush, sizeof info, &info) == sizeof info ? info.lbColor : CLR_INVALID;
}

}  // namespace wintest

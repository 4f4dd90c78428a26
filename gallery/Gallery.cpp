// The controls gallery: one dialog that shows every feature of the styled label, the owner-drawn
// button and the textured button, used through their public members only, as a second program
// would. Its images, icons and cursor are made at run time.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "controls/TextLabel.h"
#include "controls/TexturedButton.h"
#include "framework/afx.h"
#include "gallery/GalleryIds.h"

namespace {

constexpr int kImageSize = 16;
constexpr COLORREF kClear = RGB(255, 0, 255);   // the bitmaps' transparent colour

// How far a pixel of a 16 x 16 image lies inside its edge: 0 on the outermost ring.
int Depth(int x, int y)
{
    return std::min(std::min(x, y), std::min(kImageSize - 1 - x, kImageSize - 1 - y));
}

// The bits of a monochrome bitmap, one set where bit(x, y); rows of 16 or 32 pixels are whole words.
template <class Bit>
std::vector<BYTE> MonoBits(int width, int height, Bit bit)
{
    std::vector<BYTE> bits((size_t)(width / 8 * height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (bit(x, y))
                bits[(size_t)(y * (width / 8) + x / 8)] |= (BYTE)(0x80 >> (x % 8));
    return bits;
}

template <class Bit>
HBITMAP MonoBitmap(int width, int height, Bit bit)
{
    return ::CreateBitmap(width, height, 1, 1, MonoBits(width, height, bit).data());
}

// A 16 x 16 colour bitmap: inner where Depth is below edge, outer elsewhere.
HBITMAP FrameBitmap(int edge, COLORREF inner, COLORREF outer)
{
    std::vector<DWORD> pixels(kImageSize * kImageSize);
    for (int y = 0; y < kImageSize; ++y)
        for (int x = 0; x < kImageSize; ++x) {
            const COLORREF c = Depth(x, y) < edge ? inner : outer;
            pixels[(size_t)(y * kImageSize + x)] = (DWORD)GetRValue(c) << 16 | (DWORD)GetGValue(c) << 8 | GetBValue(c);
        }
    return ::CreateBitmap(kImageSize, kImageSize, 1, 32, pixels.data());
}

// An icon from its mask (and colour bitmap, NULL for a mask-only icon); the bitmaps are copied.
HICON MakeIcon(HBITMAP mask, HBITMAP colour)
{
    ICONINFO info = {TRUE, 0, 0, mask, colour};
    HICON icon = ::CreateIconIndirect(&info);
    ::DeleteObject(mask);
    if (colour != NULL)
        ::DeleteObject(colour);
    return icon;
}

// A green square frame, 5 pixels wide, with a transparent middle.
HICON ColourIcon()
{
    return MakeIcon(MonoBitmap(kImageSize, kImageSize, [](int x, int y) { return Depth(x, y) >= 5; }),
                    FrameBitmap(5, RGB(0, 160, 0), RGB(0, 0, 0)));
}

// A mask-only icon of the same frame: its mask holds the AND half above the XOR half, 32 rows in
// all. White on the outer 2 pixels, black on the 3 inside them, the middle transparent.
HICON MaskOnlyIcon()
{
    return MakeIcon(MonoBitmap(kImageSize, 2 * kImageSize, [](int x, int y) {
                        return y < kImageSize ? Depth(x, y) >= 5 : Depth(x, y - kImageSize) < 2;
                    }), NULL);
}

// A black cross, 3 pixels thick, its hot spot in the middle.
HCURSOR CrossCursor()
{
    constexpr int size = 32, hot = 15;
    const std::vector<BYTE> andBits = MonoBits(size, size, [](int x, int y) {
        return std::abs(x - hot) > 1 && std::abs(y - hot) > 1;
    });
    const std::vector<BYTE> xorBits(andBits.size());
    return ::CreateCursor(AfxGetInstanceHandle(), hot, hot, size, size, andBits.data(), xorBits.data());
}

// Two commands, greyed until the owner hears that the menu is about to open.
HMENU DropDownMenu()
{
    HMENU popup = ::CreatePopupMenu();
    ::AppendMenuW(popup, MF_STRING | MF_GRAYED, ID_CHOICE_FIRST, L"First choice");
    ::AppendMenuW(popup, MF_STRING | MF_GRAYED, ID_CHOICE_SECOND, L"Second choice");
    HMENU bar = ::CreateMenu();
    ::AppendMenuW(bar, MF_POPUP, (UINT_PTR)popup, L"Choices");
    return bar;
}

// Colours of the slots ColorHotBack .. ColorFocusBack.
constexpr COLORREF kSlotColors[] = {RGB(255, 200, 80), RGB(0, 0, 128), RGB(255, 240, 160), RGB(128, 0, 0),
                                    RGB(190, 225, 255)};

}  // namespace

class CGalleryDialog : public CDialog
{
public:
    CGalleryDialog() : CDialog(IDD_GALLERY) {}

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    // The menu's commands reach the owner as WM_COMMAND with no control.
    BOOL OnCmdMsg(UINT id, UINT code) override;
    LRESULT OnMenuNotify(WPARAM popup, LPARAM value);
    BOOL OnEraseBkgnd(CDC* dc);

    CDrawButton& Button(int id) { return m_buttons[id - IDC_FLAT]; }
    void Report(const char* text, BOOL append);

    CDrawButton m_buttons[IDC_LASTDRAW - IDC_FLAT + 1];
    CTexturedButton m_textured[IDC_LASTTEXTURED - IDC_TEXTURED + 1];
    CTextLabel m_labels[IDC_LASTLABEL - IDC_LABEL + 1];
    CBitmap m_picture;
    CString m_status;

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CGalleryDialog, CDialog)
    // LRESULT OnMenuNotify(WPARAM popup, LPARAM value)
    ON_MESSAGE(WM_GALLERY_MENU_NOTIFY, OnMenuNotify)
    // BOOL OnEraseBkgnd(CDC* dc)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

void CGalleryDialog::DoDataExchange(CDataExchange* dx)
{
    for (int id = IDC_FLAT; id <= IDC_LASTDRAW; ++id)
        DDX_Control(dx, id, Button(id));
    for (int id = IDC_TEXTURED; id <= IDC_LASTTEXTURED; ++id)
        DDX_Control(dx, id, m_textured[id - IDC_TEXTURED]);
    for (int id = IDC_LABEL; id <= IDC_LASTLABEL; ++id)
        DDX_Control(dx, id, m_labels[id - IDC_LABEL]);
}

BOOL CGalleryDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_picture.Attach(::LoadBitmapW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(IDB_PICTURE)));

    Button(IDC_3D).SetFlatLook(FALSE, TRUE);
    Button(IDC_FOCUSED).SetFocusRectWhenFlat(TRUE, TRUE);
    Button(IDC_TOOLTIP).SetTooltipText("Its own tooltip", TRUE);
    Button(IDC_CURSOR).SetHoverCursor(CrossCursor(), TRUE);
    for (int id : {IDC_COLORS, IDC_FOCUSED, IDC_CHECK})
        for (int slot = CDrawButton::ColorHotBack; slot <= CDrawButton::ColorFocusBack; ++slot)
            Button(id).SetColor(slot, kSlotColors[slot], TRUE);
    Button(IDC_CHECK).SetChecked(1, TRUE);

    Button(IDC_COLORICON).SetIcons(ColourIcon(), NULL, TRUE);
    Button(IDC_TWOICONS).SetIcons(ColourIcon(), MaskOnlyIcon(), TRUE);   // hot, normal
    Button(IDC_MONOICON).SetIcons(MaskOnlyIcon(), NULL, TRUE);
    const struct { int id; BYTE align; } bitmaps[] = {
        {IDC_LEFT, CDrawButton::ImageLeft}, {IDC_TOP, CDrawButton::ImageTop}, {IDC_RIGHT, CDrawButton::ImageRight},
        {IDC_CORNER, CDrawButton::ImageAtCorner}, {IDC_SHIFTDIAG, CDrawButton::ImageLeft},
        {IDC_SHIFTDOWN, CDrawButton::ImageLeft}, {IDC_DISABLED, CDrawButton::ImageLeft}};
    for (const auto& b : bitmaps) {
        // A red frame, 4 pixels wide, round a transparent middle.
        Button(b.id).SetBitmaps(FrameBitmap(4, RGB(200, 0, 0), kClear), kClear, NULL, kClear, FALSE);
        Button(b.id).SetImageAlign(b.align, TRUE);
    }
    Button(IDC_SHIFTDOWN).SetPressShift(CDrawButton::PressShiftDown, TRUE);

    Button(IDC_MENU).SetDropDownMenu(DropDownMenu(), m_hWnd, TRUE);
    Button(IDC_MENU).SetMenuNotify(m_hWnd, WM_GALLERY_MENU_NOTIFY, 27);
    // The link: a program beside the gallery (none is there unless placed), opened by the shell.
    char link[MAX_PATH] = "";
    const DWORD length = ::GetModuleFileNameA(NULL, link, MAX_PATH);
    char* slash = length < MAX_PATH ? std::strrchr(link, '\\') : nullptr;
    if (slash != nullptr)
        std::snprintf(slash + 1, (size_t)(link + MAX_PATH - slash - 1), "GalleryLink.exe");
    Button(IDC_LINK).SetLink(link);
    Button(IDC_COPYBACK).SetCopyParentBackground(TRUE, TRUE);

    // Effects 1 to 8 and noise with a hot tint, then the vertical ramp without.
    for (UINT i = 0; i <= IDC_LASTTEXTURED - IDC_TEXTURED; ++i)
        m_textured[i].SetTexture(i < 8 ? i + 1 : i == 8 ? 0 : 2, 4, i < 9 ? 30 : 0, 10, RGB(50, 80, 250));

    m_labels[0].SetFaceName("Arial").SetCharHeight(16).SetBoldWeight(TRUE);
    m_labels[1].SetFaceName("Tahoma").SetCharHeight(14);
    m_labels[2].SetFaceName("Arial").SetCharHeight(13).SetTextColor(RGB(255, 255, 255)).SetBackColor(RGB(0, 0, 128));
    m_labels[3].SetFaceName("Arial").SetCharHeight(13).SetTextColor(RGB(0, 0, 238)).SetHoverCursor(
        ::LoadCursorW(NULL, MAKEINTRESOURCEW(32649)));   // IDC_HAND, shared: the label borrows it

    GetDlgItem(IDC_FOCUSED)->SetFocus();
    return FALSE;   // the focus is set
}

void CGalleryDialog::Report(const char* text, BOOL append)
{
    CString status;
    status.Format("%s%s", append ? (const char*)m_status : "", text);
    m_status = status;
    GetDlgItem(IDC_STATUS)->SetWindowText(m_status);
}

LRESULT CGalleryDialog::OnMenuNotify(WPARAM popup, LPARAM value)
{
    // The owner prepares the popup: its commands become available.
    for (int i = ::GetMenuItemCount((HMENU)popup) - 1; i >= 0; --i)
        ::EnableMenuItem((HMENU)popup, (UINT)i, MF_BYPOSITION | MF_ENABLED);
    char text[64];
    std::snprintf(text, sizeof text, "notify 0x%llx value %lld", (unsigned long long)popup, (long long)value);
    Report(text, FALSE);
    return 0;
}

BOOL CGalleryDialog::OnCmdMsg(UINT id, UINT code)
{
    if (code == 0 && (id == ID_CHOICE_FIRST || id == ID_CHOICE_SECOND)) {
        char text[32];
        std::snprintf(text, sizeof text, " then command %u", id);
        Report(text, TRUE);
        return TRUE;
    }
    return CDialog::OnCmdMsg(id, code);
}

BOOL CGalleryDialog::OnEraseBkgnd(CDC* dc)
{
    Default();
    CRect place;
    GetDlgItem(IDC_PICTURE)->GetWindowRect(&place);
    ::MapWindowPoints(NULL, m_hWnd, (LPPOINT)&place, 2);
    BITMAP info = {};
    CDC memory;
    if (m_picture.GetBitmap(&info) && memory.CreateCompatibleDC(dc)) {
        CScopedSelect picture(&memory, &m_picture);
        dc->StretchBlt(place.left, place.top, place.Width(), place.Height(), &memory, 0, 0, info.bmWidth,
                       info.bmHeight, SRCCOPY);
    }
    return TRUE;
}

// Shows the gallery once and ends.
class CGalleryApp : public CWinApp
{
public:
    BOOL InitInstance() override
    {
        CGalleryDialog dialog;
        m_pMainWnd = &dialog;
        dialog.DoModal();
        m_pMainWnd = nullptr;
        return FALSE;
    }
};

CGalleryApp theApp;

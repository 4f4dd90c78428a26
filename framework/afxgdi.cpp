// GDI object wrappers, drawing contexts and the maps of temporary wrappers.
#include "framework/afxgdi.h"

#include "framework/afxconv.h"
#include "framework/afxwnd.h"

#include <unordered_map>
#include <vector>

IMPLEMENT_DYNAMIC(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CDC, CObject)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)

// ---- Temporary wrappers ----------------------------------------------------------------------

namespace {

// Borrowing wrappers made by FromHandle. A wrapper whose handle value has since been
// reused for an object of another kind is retired rather than freed, since a caller may still hold
// it until the maps are cleared.
struct TempMaps
{
    std::unordered_map<HDC, CDC*> dcs;
    std::unordered_map<HGDIOBJ, CGdiObject*> objects;
    std::vector<CObject*> retired;

    ~TempMaps() { Clear(); }

    void Clear()
    {
        // Detach first: a temporary never deletes or releases its handle.
        for (auto& entry : dcs) {
            entry.second->Detach();
            delete entry.second;
        }
        for (auto& entry : objects) {
            entry.second->Detach();
            delete entry.second;
        }
        for (CObject* wrapper : retired) {
            if (wrapper->IsKindOf(RUNTIME_CLASS(CDC)))
                static_cast<CDC*>(wrapper)->Detach();
            else
                static_cast<CGdiObject*>(wrapper)->Detach();
            delete wrapper;
        }
        dcs.clear();
        objects.clear();
        retired.clear();
    }
};

TempMaps& Temps()
{
    static TempMaps maps;  // the one GUI thread's
    return maps;
}

// The temporary wrapper of class T for handle, made on first request.
template <class T>
T* TempGdiObject(HGDIOBJ handle)
{
    if (!handle)
        return nullptr;
    TempMaps& maps = Temps();
    auto found = maps.objects.find(handle);
    if (found != maps.objects.end()) {
        CGdiObject* wrapper = found->second;
        if (wrapper->m_hObject == handle && dynamic_cast<T*>(wrapper))
            return static_cast<T*>(wrapper);
        maps.retired.push_back(wrapper);
        maps.objects.erase(found);
    }
    T* wrapper = new T;
    wrapper->m_hObject = handle;
    maps.objects[handle] = wrapper;
    return wrapper;
}

} // namespace

void AfxDeleteTempMaps()
{
    Temps().Clear();
}

// ---- CGdiObject ------------------------------------------------------------------------------

CGdiObject::~CGdiObject()
{
    DeleteObject();
}

BOOL CGdiObject::Attach(HGDIOBJ handle)
{
    if (!handle)
        AfxThrowResourceException();
    if (m_hObject && m_hObject != handle)
        ::DeleteObject(m_hObject);
    m_hObject = handle;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ handle = m_hObject;
    m_hObject = NULL;
    return handle;
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject)
        return FALSE;
    return ::DeleteObject(Detach());
}

int CGdiObject::GetObject(int count, LPVOID object) const
{
    if (!m_hObject)
        return 0;
    return ::GetObjectA(m_hObject, count, object);
}

// ---- CPen, CBrush, CFont, CBitmap ------------------------------------------------------------

CPen::CPen(int style, int width, COLORREF color)
{
    if (!CreatePen(style, width, color))
        AfxThrowResourceException();
}

BOOL CPen::CreatePen(int style, int width, COLORREF color)
{
    HPEN pen = ::CreatePen(style, width, color);
    return pen ? Attach(pen) : FALSE;
}

BOOL CBrush::CreateSolidBrush(COLORREF color)
{
    HBRUSH brush = ::CreateSolidBrush(color);
    return brush ? Attach(brush) : FALSE;
}

BOOL CFont::CreateFontIndirect(const LOGFONTA* logFont)
{
    if (!logFont)
        return FALSE;
    HFONT font = ::CreateFontIndirectA(logFont);
    return font ? Attach(font) : FALSE;
}

// ---- CDC -------------------------------------------------------------------------------------

CDC::~CDC()
{
    DeleteDC();
}

BOOL CDC::Attach(HDC hdc)
{
    if (!hdc)
        return FALSE;
    if (m_hDC && m_hDC != hdc)
        ::DeleteDC(m_hDC);
    m_hDC = hdc;
    return TRUE;
}

HDC CDC::Detach()
{
    HDC hdc = m_hDC;
    m_hDC = NULL;
    return hdc;
}

BOOL CDC::DeleteDC()
{
    if (!m_hDC)
        return FALSE;
    return ::DeleteDC(Detach());
}

CDC* CDC::FromHandle(HDC hdc)
{
    if (!hdc)
        return nullptr;
    TempMaps& maps = Temps();
    auto found = maps.dcs.find(hdc);
    if (found != maps.dcs.end()) {
        if (found->second->m_hDC == hdc)
            return found->second;
        maps.retired.push_back(found->second);
        maps.dcs.erase(found);
    }
    CDC* wrapper = new CDC;
    wrapper->m_hDC = hdc;
    maps.dcs[hdc] = wrapper;
    return wrapper;
}

BOOL CDC::CreateCompatibleDC(CDC* dc)
{
    HDC hdc = ::CreateCompatibleDC(dc ? dc->m_hDC : NULL);
    return hdc ? Attach(hdc) : FALSE;
}

CFont* CDC::SelectObject(CFont* font)
{
    HGDIOBJ old = font ? SelectObject(font->m_hObject) : NULL;
    return old ? TempGdiObject<CFont>(old) : nullptr;
}

HGDIOBJ CDC::SelectObject(HGDIOBJ object)
{
    if (!m_hDC || !object)
        return NULL;
    HGDIOBJ old = ::SelectObject(m_hDC, object);
    return old == HGDI_ERROR ? NULL : old;
}

int CDC::SetBkMode(int mode)
{
    return ::SetBkMode(m_hDC, mode);
}

COLORREF CDC::SetBkColor(COLORREF color)
{
    return ::SetBkColor(m_hDC, color);
}

COLORREF CDC::SetTextColor(COLORREF color)
{
    return ::SetTextColor(m_hDC, color);
}

int CDC::DrawText(const char* text, int count, LPRECT rect, UINT format)
{
    const AfxWideString wide = AfxTextToWide(text, count);
    return ::DrawTextW(m_hDC, AfxWide(wide), (int)wide.size(), rect, format);
}

CPoint CDC::MoveTo(int x, int y)
{
    POINT old = {0, 0};
    ::MoveToEx(m_hDC, x, y, &old);
    return CPoint(old);
}

BOOL CDC::LineTo(int x, int y)
{
    return ::LineTo(m_hDC, x, y);
}

void CDC::FrameRect(LPCRECT rect, CBrush* brush)
{
    if (rect && brush)
        ::FrameRect(m_hDC, rect, static_cast<HBRUSH>(brush->m_hObject));
}

void CDC::DrawFocusRect(LPCRECT rect)
{
    if (rect)
        ::DrawFocusRect(m_hDC, rect);
}

void CDC::FillSolidRect(LPCRECT rect, COLORREF color)
{
    if (!rect)
        return;
    ::SetBkColor(m_hDC, color);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, rect, NULL, 0, NULL);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color)
{
    RECT rect = {x, y, x + cx, y + cy};
    FillSolidRect(&rect, color);
}

void CDC::Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight)
{
    if (rect)
        Draw3dRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
                   topLeft, bottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight)
{
    // Strips with positive extents only: the top and left edges stop one pixel short of the far
    // corners, which the right and bottom edges then cover.
    FillSolidRect(x, y, cx - 1, 1, topLeft);
    FillSolidRect(x, y, 1, cy - 1, topLeft);
    FillSolidRect(x + cx - 1, y, 1, cy, bottomRight);
    FillSolidRect(x, y + cy - 1, cx, 1, bottomRight);
}

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, DWORD rop)
{
    return ::BitBlt(m_hDC, x, y, width, height, src ? src->m_hDC : NULL, xSrc, ySrc, rop);
}

BOOL CDC::StretchBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc,
                     int srcWidth, int srcHeight, DWORD rop)
{
    return ::StretchBlt(m_hDC, x, y, width, height, src ? src->m_hDC : NULL, xSrc, ySrc, srcWidth,
                        srcHeight, rop);
}

// ---- Window contexts -------------------------------------------------------------------------

CClientDC::CClientDC(HWND hwnd) : m_hWnd(hwnd)
{
    if (!Attach(::GetDC(hwnd)))
        AfxThrowResourceException();
}

CClientDC::~CClientDC()
{
    ::ReleaseDC(m_hWnd, Detach());
}

CPaintDC::CPaintDC(CWnd* wnd) : CPaintDC(wnd ? wnd->m_hWnd : NULL) {}

CPaintDC::CPaintDC(HWND hwnd) : m_ps(), m_hWnd(hwnd)
{
    if (!Attach(::BeginPaint(hwnd, &m_ps)))
        AfxThrowResourceException();
}

CPaintDC::~CPaintDC()
{
    ::EndPaint(m_hWnd, &m_ps);
    Detach();
}

// GDI object wrappers, drawing contexts and the maps of temporary wrappers.
#include "framework/afxgdi.h"

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
IMPLEMENT_DYNAMIC(CWindowDC, CDC)
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

UINT CGdiObject::GetObjectType() const
{
    return m_hObject ? static_cast<UINT>(::GetObjectType(m_hObject)) : 0;
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ handle)
{
    if (!handle)
        return nullptr;
    switch (::GetObjectType(handle)) {
    case OBJ_PEN:
    case OBJ_EXTPEN:
        return TempGdiObject<CPen>(handle);
    case OBJ_BRUSH:
        return TempGdiObject<CBrush>(handle);
    case OBJ_FONT:
        return TempGdiObject<CFont>(handle);
    case OBJ_BITMAP:
        return TempGdiObject<CBitmap>(handle);
    default:
        return TempGdiObject<CGdiObject>(handle);
    }
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

CPen* CPen::FromHandle(HPEN handle)
{
    return TempGdiObject<CPen>(handle);
}

CBrush::CBrush(COLORREF color)
{
    if (!CreateSolidBrush(color))
        AfxThrowResourceException();
}

BOOL CBrush::CreateSolidBrush(COLORREF color)
{
    HBRUSH brush = ::CreateSolidBrush(color);
    return brush ? Attach(brush) : FALSE;
}

CBrush* CBrush::FromHandle(HBRUSH handle)
{
    return TempGdiObject<CBrush>(handle);
}

BOOL CFont::CreateFontIndirect(const LOGFONTA* logFont)
{
    if (!logFont)
        return FALSE;
    HFONT font = ::CreateFontIndirectA(logFont);
    return font ? Attach(font) : FALSE;
}

CFont* CFont::FromHandle(HFONT handle)
{
    return TempGdiObject<CFont>(handle);
}

BOOL CBitmap::LoadBitmap(UINT resourceId)
{
    return LoadBitmap(MAKEINTRESOURCEA(resourceId));
}

BOOL CBitmap::LoadBitmap(LPCSTR resourceName)
{
    HBITMAP bitmap = ::LoadBitmapA(::GetModuleHandleA(NULL), resourceName);
    return bitmap ? Attach(bitmap) : FALSE;
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height)
{
    // The screen's context stands in for a missing one; a memory context would give 1 bpp.
    HDC screen = dc ? NULL : ::GetDC(NULL);
    HBITMAP bitmap = ::CreateCompatibleBitmap(dc ? dc->m_hDC : screen, width, height);
    if (screen)
        ::ReleaseDC(NULL, screen);
    return bitmap ? Attach(bitmap) : FALSE;
}

CBitmap* CBitmap::FromHandle(HBITMAP handle)
{
    return TempGdiObject<CBitmap>(handle);
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
    m_hDC = m_hAttribDC = hdc;
    return TRUE;
}

HDC CDC::Detach()
{
    HDC hdc = m_hDC;
    m_hDC = m_hAttribDC = NULL;
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
    wrapper->m_hDC = wrapper->m_hAttribDC = hdc;
    maps.dcs[hdc] = wrapper;
    return wrapper;
}

BOOL CDC::CreateCompatibleDC(CDC* dc)
{
    HDC hdc = ::CreateCompatibleDC(dc ? dc->m_hDC : NULL);
    return hdc ? Attach(hdc) : FALSE;
}

CGdiObject* CDC::SelectGdiObject(HDC hdc, HGDIOBJ object)
{
    if (!hdc || !object)
        return nullptr;
    HGDIOBJ old = ::SelectObject(hdc, object);
    if (!old || old == HGDI_ERROR)
        return nullptr;
    return CGdiObject::FromHandle(old);
}

namespace {

// Selects object into hdc; the previous object of the same kind as a temporary T, or NULL.
template <class T>
T* SelectTyped(HDC hdc, const CGdiObject* object)
{
    if (!hdc || !object || !object->m_hObject)
        return nullptr;
    HGDIOBJ old = ::SelectObject(hdc, object->m_hObject);
    if (!old || old == HGDI_ERROR)
        return nullptr;
    return TempGdiObject<T>(old);
}

} // namespace

CPen* CDC::SelectObject(CPen* pen)
{
    return SelectTyped<CPen>(m_hDC, pen);
}

CBrush* CDC::SelectObject(CBrush* brush)
{
    return SelectTyped<CBrush>(m_hDC, brush);
}

CFont* CDC::SelectObject(CFont* font)
{
    return SelectTyped<CFont>(m_hDC, font);
}

CBitmap* CDC::SelectObject(CBitmap* bitmap)
{
    return SelectTyped<CBitmap>(m_hDC, bitmap);
}

CGdiObject* CDC::SelectObject(CGdiObject* object)
{
    return object ? SelectGdiObject(m_hDC, object->m_hObject) : nullptr;
}

HGDIOBJ CDC::SelectObject(HGDIOBJ object)
{
    if (!m_hDC || !object)
        return NULL;
    HGDIOBJ old = ::SelectObject(m_hDC, object);
    return old == HGDI_ERROR ? NULL : old;
}

CGdiObject* CDC::SelectStockObject(int index)
{
    HGDIOBJ stock = ::GetStockObject(index);
    return stock ? SelectGdiObject(m_hDC, stock) : nullptr;
}

int CDC::SetBkMode(int mode)
{
    return ::SetBkMode(m_hDC, mode);
}

int CDC::GetBkMode() const
{
    return ::GetBkMode(m_hAttribDC);
}

COLORREF CDC::SetBkColor(COLORREF color)
{
    return ::SetBkColor(m_hDC, color);
}

COLORREF CDC::GetBkColor() const
{
    return ::GetBkColor(m_hAttribDC);
}

COLORREF CDC::SetTextColor(COLORREF color)
{
    return ::SetTextColor(m_hDC, color);
}

COLORREF CDC::GetTextColor() const
{
    return ::GetTextColor(m_hAttribDC);
}

int CDC::SetStretchBltMode(int mode)
{
    return ::SetStretchBltMode(m_hDC, mode);
}

int CDC::SaveDC()
{
    return ::SaveDC(m_hDC);
}

BOOL CDC::RestoreDC(int savedDC)
{
    return ::RestoreDC(m_hDC, savedDC);
}

int CDC::GetDeviceCaps(int index) const
{
    return ::GetDeviceCaps(m_hAttribDC, index);
}

int CDC::DrawText(const char* text, int count, LPRECT rect, UINT format)
{
    return ::DrawTextA(m_hDC, text ? text : "", text ? count : 0, rect, format);
}

int CDC::DrawText(const CString& text, LPRECT rect, UINT format)
{
    return ::DrawTextA(m_hDC, text, text.GetLength(), rect, format);
}

BOOL CDC::TextOut(int x, int y, const char* text, int count)
{
    return ::TextOutA(m_hDC, x, y, text ? text : "", text ? count : 0);
}

BOOL CDC::TextOut(int x, int y, const CString& text)
{
    return ::TextOutA(m_hDC, x, y, text, text.GetLength());
}

CSize CDC::GetTextExtent(const char* text, int count) const
{
    SIZE size = {0, 0};
    if (text)
        ::GetTextExtentPoint32A(m_hAttribDC, text, count, &size);
    return CSize(size);
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

COLORREF CDC::GetPixel(int x, int y) const
{
    return ::GetPixel(m_hDC, x, y);
}

COLORREF CDC::SetPixel(int x, int y, COLORREF color)
{
    return ::SetPixel(m_hDC, x, y, color);
}

void CDC::FillRect(LPCRECT rect, CBrush* brush)
{
    if (rect && brush)
        ::FillRect(m_hDC, rect, static_cast<HBRUSH>(brush->m_hObject));
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

namespace {

HWND HandleOf(const CWnd* wnd)
{
    return wnd ? wnd->m_hWnd : NULL;
}

} // namespace

CClientDC::CClientDC(CWnd* wnd) : CClientDC(HandleOf(wnd)) {}
CWindowDC::CWindowDC(CWnd* wnd) : CWindowDC(HandleOf(wnd)) {}
CPaintDC::CPaintDC(CWnd* wnd) : CPaintDC(HandleOf(wnd)) {}

CClientDC::CClientDC(HWND hwnd) : m_hWnd(hwnd)
{
    if (!Attach(::GetDC(hwnd)))
        AfxThrowResourceException();
}

CClientDC::~CClientDC()
{
    ::ReleaseDC(m_hWnd, Detach());
}

CWindowDC::CWindowDC(HWND hwnd) : m_hWnd(hwnd)
{
    if (!Attach(::GetWindowDC(hwnd)))
        AfxThrowResourceException();
}

CWindowDC::~CWindowDC()
{
    ::ReleaseDC(m_hWnd, Detach());
}

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

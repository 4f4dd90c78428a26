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

// ---- Owning one handle -----------------------------------------------------------------------

template <class Slot>
CHandleOwner<Slot>::~CHandleOwner()
{
    DestroyHandle();
}

template <class Slot>
BOOL CHandleOwner<Slot>::Attach(Handle handle)
{
    Handle& held = this->Owned();
    if (handle == NULL)
        return FALSE;
    if (held != NULL && held != handle)
        Slot::Destroy(held);
    held = handle;
    return TRUE;
}

template <class Slot>
typename CHandleOwner<Slot>::Handle CHandleOwner<Slot>::Detach()
{
    Handle handle = this->Owned();
    this->Owned() = NULL;
    return handle;
}

template <class Slot>
BOOL CHandleOwner<Slot>::DestroyHandle()
{
    return this->Owned() != NULL && Slot::Destroy(Detach());
}

template class CHandleOwner<AfxGdiObjectSlot>;
template class CHandleOwner<AfxDCSlot>;

// ---- Temporary wrappers ----------------------------------------------------------------------

namespace {

// The borrowing wrappers FromHandle made of one kind (Base: CDC or CGdiObject), by handle. A
// wrapper whose handle value has since been reused for an object of another class is retired
// rather than freed, since a caller may still hold it until the maps are cleared.
template <class Base>
struct TempMap
{
    using Handle = typename Base::Handle;
    std::unordered_map<Handle, Base*> live;
    std::vector<CObject*> retired;

    ~TempMap() { Clear(); }

    // The temporary wrapper of class T for handle, made on first request.
    template <class T>
    T* Get(Handle handle)
    {
        if (handle == NULL)
            return nullptr;
        Base*& wrapper = live[handle];
        if (wrapper != nullptr && (wrapper->Owned() != handle || dynamic_cast<T*>(wrapper) == nullptr)) {
            retired.push_back(wrapper);
            wrapper = nullptr;
        }
        if (wrapper == nullptr) {
            wrapper = new T;
            wrapper->Attach(handle);
        }
        return static_cast<T*>(wrapper);
    }

    void Clear()
    {
        for (auto& entry : live)
            retired.push_back(entry.second);
        for (CObject* wrapper : retired) {
            static_cast<Base*>(wrapper)->Detach();   // a temporary never deletes or releases its handle
            delete wrapper;
        }
        live.clear();
        retired.clear();
    }
};

// The one GUI thread's.
TempMap<CDC>& TempDCs()
{
    static TempMap<CDC> map;
    return map;
}

TempMap<CGdiObject>& TempObjects()
{
    static TempMap<CGdiObject> map;
    return map;
}

} // namespace

void AfxDeleteTempMaps()
{
    TempDCs().Clear();
    TempObjects().Clear();
}

// ---- CBitmap ---------------------------------------------------------------------------------

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height)
{
    return dc != nullptr && Attach(::CreateCompatibleBitmap(dc->m_hDC, width, height));
}

// ---- CDC -------------------------------------------------------------------------------------

CDC* CDC::FromHandle(HDC hdc)
{
    return TempDCs().Get<CDC>(hdc);
}

CFont* CDC::SelectObject(CFont* font)
{
    HGDIOBJ old = font ? SelectObject(font->m_hObject) : NULL;
    return TempObjects().Get<CFont>(old);
}

HGDIOBJ CDC::SelectObject(HGDIOBJ object)
{
    if (!m_hDC || !object)
        return NULL;
    HGDIOBJ old = ::SelectObject(m_hDC, object);
    return old == HGDI_ERROR ? NULL : old;
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

void CDC::FillSolidRect(LPCRECT rect, COLORREF color)
{
    if (!rect)
        return;
    ::SetBkColor(m_hDC, color);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, rect, NULL, 0, NULL);
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

// ---- Window contexts -------------------------------------------------------------------------

CClientDC::CClientDC(HWND hwnd, std::nothrow_t) : m_hWnd(hwnd)
{
    Attach(::GetDC(hwnd));
}

CClientDC::CClientDC(HWND hwnd) : CClientDC(hwnd, std::nothrow)
{
    if (m_hDC == NULL)
        AfxThrowResourceException();
}

CClientDC::~CClientDC()
{
    if (m_hDC != NULL)
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

// Drawing: geometry helpers (CPoint, CRect), GDI object wrappers (CGdiObject, CPen, CBrush, CFont,
// CBitmap) and drawing contexts (CDC, CClientDC, CPaintDC).
//
// Ownership: a wrapper that attached or created a handle owns it and deletes it when it dies.
// A wrapper from FromHandle (or returned by SelectObject) is a temporary that borrows the handle,
// never deletes or releases it, and lives until AfxDeleteTempMaps. Creation never throws: each
// Create answers FALSE, the object unchanged, when Windows refuses, so that a paint can do without.
#pragma once

#include <windows.h>

#include <new>

#include "framework/afxexcept.h"
#include "framework/afxobj.h"
#include "framework/afxstr.h"

class CWnd;
class CDC;

// ---- Geometry --------------------------------------------------------------------------------

class CPoint : public tagPOINT
{
public:
    CPoint() : tagPOINT() {}
    CPoint(int xInit, int yInit) : tagPOINT{xInit, yInit} {}
    CPoint(POINT point) : tagPOINT(point) {}
};

// A rectangle with right and bottom exclusive, as everywhere in GDI.
class CRect : public tagRECT
{
public:
    CRect() : tagRECT() {}
    CRect(int l, int t, int r, int b) : tagRECT{l, t, r, b} {}
    CRect(const RECT& rect) : tagRECT(rect) {}

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    void DeflateRect(int dx, int dy) { ::InflateRect(this, -dx, -dy); }

    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }
};

// ---- Owning one handle -------------------------------------------------------------------------

// Where a GDI object wrapper keeps its handle, and how such a handle is destroyed.
struct AfxGdiObjectSlot : public CObject
{
    using Handle = HGDIOBJ;
    HGDIOBJ m_hObject = NULL;
    Handle& Owned() { return m_hObject; }
    static BOOL Destroy(HGDIOBJ handle) { return ::DeleteObject(handle); }
};

// The same for a drawing context.
struct AfxDCSlot : public CObject
{
    using Handle = HDC;
    HDC m_hDC = NULL;
    Handle& Owned() { return m_hDC; }
    static BOOL Destroy(HDC hdc) { return ::DeleteDC(hdc); }
};

// Owns at most one handle, kept in Slot's member: the owning logic of GDI objects and drawing
// contexts written once (afxgdi.cpp makes it for the two slots). The handle dies with the object;
// a temporary wrapper (FromHandle) is detached before it is freed.
template <class Slot>
class CHandleOwner : public Slot
{
public:
    using Handle = typename Slot::Handle;

    CHandleOwner() = default;
    ~CHandleOwner() override;
    CHandleOwner(const CHandleOwner&) = delete;
    CHandleOwner& operator=(const CHandleOwner&) = delete;

    // Takes ownership of handle. A NULL handle is refused: FALSE, and the object is left as it was.
    // A different handle held before is destroyed first, so nothing leaks.
    BOOL Attach(Handle handle);
    // Gives up ownership without destroying; returns the handle.
    Handle Detach();

protected:
    // Destroys the owned handle and clears it; FALSE when there is none.
    BOOL DestroyHandle();
};

// ---- GDI objects -----------------------------------------------------------------------------

// Owns at most one GDI object handle.
class CGdiObject : public CHandleOwner<AfxGdiObjectSlot>
{
    DECLARE_DYNAMIC(CGdiObject);

public:
    operator HGDIOBJ() const { return m_hObject; }
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    BOOL DeleteObject() { return DestroyHandle(); }

    // GetObjectA on the handle: bytes written, 0 on failure or when empty.
    int GetObject(int count, LPVOID object) const
    {
        return m_hObject != NULL ? ::GetObjectA(m_hObject, count, object) : 0;
    }
};

class CPen : public CGdiObject
{
    DECLARE_DYNAMIC(CPen);

public:
    BOOL CreatePen(int style, int width, COLORREF color) { return Attach(::CreatePen(style, width, color)); }
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }
};

class CBrush : public CGdiObject
{
    DECLARE_DYNAMIC(CBrush);

public:
    BOOL CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
};

class CFont : public CGdiObject
{
    DECLARE_DYNAMIC(CFont);

public:
    BOOL CreateFontIndirect(const LOGFONTA* logFont)
    {
        return logFont != nullptr && Attach(::CreateFontIndirectA(logFont));
    }
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
};

class CBitmap : public CGdiObject
{
    DECLARE_DYNAMIC(CBitmap);

public:
    BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits)
    {
        return Attach(::CreateBitmap(width, height, planes, bitsPerPixel, bits));
    }
    // A bitmap of dc's format; FALSE without a dc.
    BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);

    int GetBitmap(BITMAP* bitmap) const { return GetObject(sizeof(BITMAP), bitmap); }
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
};

// ---- Drawing contexts ------------------------------------------------------------------------

// Wraps an HDC. An attached or created context is owned and deleted (DeleteDC) with the object;
// CClientDC and CPaintDC release theirs the way they got it.
class CDC : public CHandleOwner<AfxDCSlot>
{
    DECLARE_DYNAMIC(CDC);

public:
    // A temporary non-owning wrapper; NULL for a NULL handle.
    static CDC* FromHandle(HDC hdc);

    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { return m_hDC; }
    BOOL DeleteDC() { return DestroyHandle(); }

    // A memory context compatible with dc (with the screen for a NULL dc).
    BOOL CreateCompatibleDC(CDC* dc) { return Attach(::CreateCompatibleDC(dc ? dc->m_hDC : NULL)); }

    // Each returns the object selected before (the font as a temporary wrapper); NULL on failure.
    CFont* SelectObject(CFont* font);
    HGDIOBJ SelectObject(HGDIOBJ object);

    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
    COLORREF SetBkColor(COLORREF color) { return ::SetBkColor(m_hDC, color); }
    COLORREF SetTextColor(COLORREF color) { return ::SetTextColor(m_hDC, color); }

    int DrawText(const char* text, int count, LPRECT rect, UINT format);

    CPoint MoveTo(int x, int y);
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }

    // Nothing is drawn for a NULL rectangle or brush.
    void FillRect(LPCRECT rect, CBrush* brush) { if (rect && brush) ::FillRect(m_hDC, rect, *brush); }
    void FrameRect(LPCRECT rect, CBrush* brush) { if (rect && brush) ::FrameRect(m_hDC, rect, *brush); }
    void DrawFocusRect(LPCRECT rect) { if (rect) ::DrawFocusRect(m_hDC, rect); }
    // Fills with ExtTextOut(ETO_OPAQUE): the context's background colour is left set to color.
    void FillSolidRect(LPCRECT rect, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color)
    {
        RECT rect = {x, y, x + cx, y + cy};
        FillSolidRect(&rect, color);
    }
    // A one-pixel frame: top and left edges in topLeft, right and bottom edges in bottomRight
    // (so the top-right and bottom-left corner pixels take bottomRight). Leaves the background
    // colour set, as FillSolidRect does.
    void Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight);

    BOOL BitBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, DWORD rop)
    {
        return ::BitBlt(m_hDC, x, y, width, height, src ? src->m_hDC : NULL, xSrc, ySrc, rop);
    }
    BOOL StretchBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc,
                    int srcWidth, int srcHeight, DWORD rop)
    {
        return ::StretchBlt(m_hDC, x, y, width, height, src ? src->m_hDC : NULL, xSrc, ySrc,
                            srcWidth, srcHeight, rop);
    }
};

// The client area's context of a window (GetDC/ReleaseDC; a NULL window gives the screen's).
// Raises CResourceException when there is no context; with std::nothrow m_hDC is NULL instead.
class CClientDC : public CDC
{
    DECLARE_DYNAMIC(CClientDC);

public:
    explicit CClientDC(HWND hwnd);
    CClientDC(HWND hwnd, std::nothrow_t);
    ~CClientDC() override;

protected:
    HWND m_hWnd;
};

// Painting in WM_PAINT: BeginPaint on construction, EndPaint on destruction.
// Raises CResourceException when BeginPaint gives no context.
class CPaintDC : public CDC
{
    DECLARE_DYNAMIC(CPaintDC);

public:
    explicit CPaintDC(CWnd* wnd);
    explicit CPaintDC(HWND hwnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps;

protected:
    HWND m_hWnd;
};

// Frees the temporary wrappers (FromHandle, SelectObject results) without touching
// their handles. Called by the message loop when the queue is idle and at exit.
void AfxDeleteTempMaps();

// Selects a GDI object into a context for one scope and puts the previous one back at its end.
class CScopedSelect
{
public:
    CScopedSelect(HDC hdc, HGDIOBJ object) : m_hDC(hdc), m_hOld(::SelectObject(hdc, object)) {}
    CScopedSelect(CDC* dc, CGdiObject* object)
        : CScopedSelect(dc ? dc->m_hDC : NULL, object ? object->m_hObject : NULL) {}
    ~CScopedSelect()
    {
        if (m_hOld && m_hOld != HGDI_ERROR)
            ::SelectObject(m_hDC, m_hOld);
    }
    CScopedSelect(const CScopedSelect&) = delete;
    CScopedSelect& operator=(const CScopedSelect&) = delete;

    // The object that was selected before; NULL if the selection failed.
    HGDIOBJ Previous() const { return m_hOld == HGDI_ERROR ? NULL : m_hOld; }

private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};

// Drawing: geometry helpers (CPoint, CSize, CRect), GDI object wrappers (CGdiObject, CPen, CBrush,
// CFont, CBitmap) and drawing contexts (CDC, CClientDC, CPaintDC).
//
// Ownership: a wrapper that attached or created a handle owns it and deletes it when it dies.
// A wrapper from FromHandle (or returned by SelectObject) is a temporary that borrows the handle,
// never deletes or releases it, and lives until AfxDeleteTempMaps.
#pragma once

#include <windows.h>

#include "framework/afxexcept.h"
#include "framework/afxobj.h"
#include "framework/afxstr.h"

class CWnd;
class CDC;

// ---- Geometry --------------------------------------------------------------------------------

class CSize : public tagSIZE
{
public:
    CSize() { cx = cy = 0; }
    CSize(int cxInit, int cyInit) { cx = cxInit; cy = cyInit; }
    CSize(SIZE size) { cx = size.cx; cy = size.cy; }

    bool operator==(SIZE other) const { return cx == other.cx && cy == other.cy; }
    bool operator!=(SIZE other) const { return !(*this == other); }
};

class CPoint : public tagPOINT
{
public:
    CPoint() { x = y = 0; }
    CPoint(int xInit, int yInit) { x = xInit; y = yInit; }
    CPoint(POINT point) { x = point.x; y = point.y; }

    void Offset(int dx, int dy) { x += dx; y += dy; }
    bool operator==(POINT other) const { return x == other.x && y == other.y; }
    bool operator!=(POINT other) const { return !(*this == other); }
};

// A rectangle with right and bottom exclusive, as everywhere in GDI.
class CRect : public tagRECT
{
public:
    CRect() { left = top = right = bottom = 0; }
    CRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
    CRect(const RECT& rect) { ::CopyRect(this, &rect); }
    CRect(LPCRECT rect) { ::CopyRect(this, rect); }
    CRect(POINT topLeft, SIZE size)
    {
        left = topLeft.x; top = topLeft.y; right = left + size.cx; bottom = top + size.cy;
    }
    CRect(POINT topLeft, POINT bottomRight)
    {
        left = topLeft.x; top = topLeft.y; right = bottomRight.x; bottom = bottomRight.y;
    }
    CRect& operator=(const RECT& rect) { ::CopyRect(this, &rect); return *this; }

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    // The corners as points stored in the rectangle itself (RECT is two POINTs in a row).
    CPoint& TopLeft() { return *reinterpret_cast<CPoint*>(&left); }
    CPoint& BottomRight() { return *reinterpret_cast<CPoint*>(&right); }
    const CPoint& TopLeft() const { return *reinterpret_cast<const CPoint*>(&left); }
    const CPoint& BottomRight() const { return *reinterpret_cast<const CPoint*>(&right); }

    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }

    void SetRect(int l, int t, int r, int b) { ::SetRect(this, l, t, r, b); }
    void SetRectEmpty() { ::SetRectEmpty(this); }
    void CopyRect(LPCRECT src) { ::CopyRect(this, src); }
    BOOL IsRectEmpty() const { return ::IsRectEmpty(this); }
    BOOL PtInRect(POINT point) const { return ::PtInRect(this, point); }

    void OffsetRect(int dx, int dy) { ::OffsetRect(this, dx, dy); }
    void OffsetRect(POINT point) { ::OffsetRect(this, point.x, point.y); }
    void OffsetRect(SIZE size) { ::OffsetRect(this, size.cx, size.cy); }
    void InflateRect(int dx, int dy) { ::InflateRect(this, dx, dy); }
    void InflateRect(int l, int t, int r, int b)
    {
        left -= l; top -= t; right += r; bottom += b;
    }
    void DeflateRect(int dx, int dy) { ::InflateRect(this, -dx, -dy); }
    void DeflateRect(int l, int t, int r, int b)
    {
        left += l; top += t; right -= r; bottom -= b;
    }

    bool operator==(const RECT& other) const { return ::EqualRect(this, &other) != FALSE; }
    bool operator!=(const RECT& other) const { return !(*this == other); }
};

// ---- GDI objects -----------------------------------------------------------------------------

// Owns at most one GDI object handle.
class CGdiObject : public CObject
{
    DECLARE_DYNAMIC(CGdiObject);

public:
    HGDIOBJ m_hObject = NULL;

    CGdiObject() = default;
    ~CGdiObject() override;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    operator HGDIOBJ() const { return m_hObject; }
    HGDIOBJ GetSafeHandle() const { return m_hObject; }

    // Takes ownership of handle. A NULL handle raises CResourceException (the object is left as
    // it was). A different handle held before is deleted first, so nothing leaks.
    BOOL Attach(HGDIOBJ handle);
    // Gives up ownership without deleting; returns the handle.
    HGDIOBJ Detach();
    // Deletes the owned handle and clears it; FALSE when there is none.
    BOOL DeleteObject();

    // GetObjectA on the handle: bytes written, 0 on failure or when empty.
    int GetObject(int count, LPVOID object) const;
};

class CPen : public CGdiObject
{
    DECLARE_DYNAMIC(CPen);

public:
    CPen() = default;
    // Creates the pen; raises CResourceException when it cannot be made.
    CPen(int style, int width, COLORREF color);

    // FALSE (and nothing changes) when the pen cannot be made.
    BOOL CreatePen(int style, int width, COLORREF color);
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }
};

class CBrush : public CGdiObject
{
    DECLARE_DYNAMIC(CBrush);

public:
    BOOL CreateSolidBrush(COLORREF color);
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
};

class CFont : public CGdiObject
{
    DECLARE_DYNAMIC(CFont);

public:
    BOOL CreateFontIndirect(const LOGFONTA* logFont);
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
};

class CBitmap : public CGdiObject
{
    DECLARE_DYNAMIC(CBitmap);

public:
    int GetBitmap(BITMAP* bitmap) const { return GetObject(sizeof(BITMAP), bitmap); }
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
};

// ---- Drawing contexts ------------------------------------------------------------------------

// Wraps an HDC. An attached or created context is owned and deleted (DeleteDC) with the object;
// CClientDC and CPaintDC release theirs the way they got it.
class CDC : public CObject
{
    DECLARE_DYNAMIC(CDC);

public:
    HDC m_hDC = NULL;

    CDC() = default;
    ~CDC() override;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { return m_hDC; }

    // Takes ownership; FALSE for a NULL handle. A different context held before is deleted.
    BOOL Attach(HDC hdc);
    HDC Detach();
    // Deletes the owned context; FALSE when there is none.
    BOOL DeleteDC();

    // A temporary non-owning wrapper; NULL for a NULL handle.
    static CDC* FromHandle(HDC hdc);

    // A memory context compatible with dc (with the screen for a NULL dc).
    BOOL CreateCompatibleDC(CDC* dc);

    // Each returns the object selected before (the font as a temporary wrapper); NULL on failure.
    CFont* SelectObject(CFont* font);
    HGDIOBJ SelectObject(HGDIOBJ object);

    int SetBkMode(int mode);
    COLORREF SetBkColor(COLORREF color);
    COLORREF SetTextColor(COLORREF color);

    int DrawText(const char* text, int count, LPRECT rect, UINT format);

    CPoint MoveTo(int x, int y);
    BOOL LineTo(int x, int y);

    void FrameRect(LPCRECT rect, CBrush* brush);
    void DrawFocusRect(LPCRECT rect);
    // Fills with ExtTextOut(ETO_OPAQUE): the context's background colour is left set to color.
    void FillSolidRect(LPCRECT rect, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    // A one-pixel frame: top and left edges in topLeft, right and bottom edges in bottomRight
    // (so the top-right and bottom-left corner pixels take bottomRight). Leaves the background
    // colour set, as FillSolidRect does.
    void Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight);

    BOOL BitBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, DWORD rop);
    BOOL StretchBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc,
                    int srcWidth, int srcHeight, DWORD rop);
};

// The client area's context of a window (GetDC/ReleaseDC; a NULL window gives the screen's).
// Raises CResourceException when there is no context.
class CClientDC : public CDC
{
    DECLARE_DYNAMIC(CClientDC);

public:
    explicit CClientDC(HWND hwnd);
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

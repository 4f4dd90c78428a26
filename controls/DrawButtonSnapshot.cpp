// CDrawButton's copy of the parent's background: a snapshot of the parent's pixels behind the
// button, taken at the first paint that asks for it and dropped when the system colours change.
#include "controls/DrawButton.h"

#include <new>

void CDrawButton::CopyParentBackground(CDC* dc)
{
    const HWND parent = ::GetParent(m_hWnd);
    CClientDC parentDC(parent, std::nothrow);
    if (parentDC.m_hDC == NULL)
        return;   // no context of the parent: nothing to copy
    CRect client;
    GetClientRect(&client);
    CRect window;
    GetWindowRect(&window);
    ::ScreenToClient(parent, (LPPOINT)&window.left);
    ::ScreenToClient(parent, (LPPOINT)&window.right);

    // A context or bitmap the system refuses leaves no snapshot, and this paint copies nothing: a
    // context kept without its bitmap would copy its own 1 x 1 monochrome one, black, at every
    // paint. The next paint tries again.
    if (m_backgroundDC.m_hDC == NULL && m_backgroundDC.CreateCompatibleDC(&parentDC)) {
        if (m_backgroundBitmap.CreateCompatibleBitmap(&parentDC, client.Width(), client.Height())) {
            m_previousBitmap = (HBITMAP)m_backgroundDC.SelectObject(m_backgroundBitmap.m_hObject);
            m_backgroundDC.BitBlt(0, 0, client.Width(), client.Height(), &parentDC, window.left, window.top,
                                  SRCCOPY);
        } else {
            m_backgroundDC.DeleteDC();
        }
    }
    dc->BitBlt(0, 0, client.Width(), client.Height(), &m_backgroundDC, 0, 0, SRCCOPY);
}

void CDrawButton::ReleaseSnapshot()
{
    // A bitmap still selected into a context cannot be deleted: put the context's own one back.
    if (m_backgroundDC.m_hDC != NULL && m_previousBitmap != NULL)
        m_backgroundDC.SelectObject(m_previousBitmap);
    m_previousBitmap = NULL;
    m_backgroundBitmap.DeleteObject();
    m_backgroundDC.DeleteDC();
}

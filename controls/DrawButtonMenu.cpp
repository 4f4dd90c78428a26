// CDrawButton's menu and link: the drop-down menu opened under the button on a click, with its
// notification and the chosen command, and the link text opened through the shell.
#include "controls/DrawButton.h"

#include <shellapi.h>
#include <mbstring.h>

#include <cstring>

DWORD CDrawButton::SetDropDownMenu(HMENU menu, HWND owner, BOOL repaint)
{
    if (m_menu != NULL && m_menu != menu)
        ::DestroyMenu(m_menu);
    m_menu = menu;
    if (owner == NULL && m_hWnd != NULL)
        owner = ::GetParent(m_hWnd);
    m_menuOwner = owner;
    Repaint(repaint);
    return drawbutton::ResultDone;
}

DWORD CDrawButton::SetMenuNotify(HWND window, UINT message, LPARAM value)
{
    m_menuNotify = MenuNotify{window, message, value};
    return drawbutton::ResultDone;
}

void CDrawButton::OpenDropDownMenu()
{
    CRect window;
    GetWindowRect(&window);
    m_state.m_menuShown = TRUE;   // drawn pressed while the menu is open
    Repaint(TRUE);

    HMENU popup = ::GetSubMenu(m_menu, 0);
    if (m_menuNotify.window != NULL)
        ::SendMessageW(m_menuNotify.window, m_menuNotify.message, (WPARAM)popup, m_menuNotify.value);
    const UINT command = (UINT)::TrackPopupMenuEx(popup, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON,
                                                  window.left, window.bottom, m_menuOwner, NULL);
    m_state.m_menuShown = FALSE;
    Repaint(TRUE);

    if (drawbutton::MenuCommandPosts(command))
        ::PostMessageW(m_menuOwner, WM_COMMAND, drawbutton::MenuCommandParam(command), 0);
}

DWORD CDrawButton::SetLink(LPCSTR link)
{
    std::memset(m_link, 0, sizeof m_link);
    if (link != NULL)
        ::_mbsnbcpy((unsigned char*)m_link, (const unsigned char*)link, sizeof m_link - 1);
    return drawbutton::ResultDone;
}

void CDrawButton::OpenLink()
{
    // The link's Windows-1252 text in UTF-16, as the captions are.
    const AfxWideString link = AfxTextToWide(m_link);
    // The structure's own size (112 bytes in a 64-bit program); a shorter one is refused.
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(SHELLEXECUTEINFOW);
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = AfxWide(link);
    info.nShow = SW_SHOWMAXIMIZED;
    ::ShellExecuteExW(&info);
}

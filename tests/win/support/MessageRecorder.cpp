// The message recorder, the sequence comparison and the pump (see MessageRecorder.h).
#include "support/MessageRecorder.h"

#include <cstdio>
#include <sstream>

#include "framework/afx.h"

namespace wintest {

namespace {

MessageRecorder* g_recorder = nullptr;
// The queued message the pump is dispatching, until its window procedure has seen it once.
const MSG* g_dispatching = nullptr;

bool Matches(const RecordedMessage& got, const ExpectedMessage& want)
{
    if (got.message != want.message)
        return false;
    if ((want.flags & (Parent | Other)) != (got.flags & (Parent | Other)))
        return false;
    if ((want.flags & (Sent | Posted)) != 0 && (want.flags & got.flags & (Sent | Posted)) == 0)
        return false;
    if ((want.flags & CheckWParam) && got.wParam != want.wParam)
        return false;
    if ((want.flags & CheckLParam) && got.lParam != want.lParam)
        return false;
    return true;
}

std::string Describe(UINT message, unsigned flags, WPARAM wParam, LPARAM lParam, bool showParams)
{
    std::ostringstream out;
    out << ((flags & Parent) ? "parent " : (flags & Other) ? "other " : "control ")
        << MessageName(message);
    if (flags & Posted)
        out << " posted";
    else if (flags & Sent)
        out << " sent";
    if (flags & Optional)
        out << " (optional)";
    if (showParams || (flags & CheckWParam))
        out << " w=0x" << std::hex << (unsigned long long)wParam;
    if (showParams || (flags & CheckLParam))
        out << " l=0x" << std::hex << (unsigned long long)lParam;
    return out.str();
}

}  // namespace

MessageRecorder::MessageRecorder()
{
    g_recorder = this;
}

MessageRecorder::~MessageRecorder()
{
    for (const Hooked& hooked : m_hooked) {
        if (::IsWindow(hooked.hwnd) && (WNDPROC)::GetWindowLongPtrA(hooked.hwnd, GWLP_WNDPROC) == Proc)
            ::SetWindowLongPtrA(hooked.hwnd, GWLP_WNDPROC, (LONG_PTR)hooked.previous);
    }
    if (g_recorder == this)
        g_recorder = nullptr;
}

void MessageRecorder::Watch(HWND hwnd, unsigned channel)
{
    Hooked hooked = {hwnd, nullptr, channel & (Parent | Other)};
    hooked.previous = (WNDPROC)::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, (LONG_PTR)Proc);
    m_hooked.push_back(hooked);
}

MessageRecorder::Hooked* MessageRecorder::Find(HWND hwnd)
{
    for (Hooked& hooked : m_hooked)
        if (hooked.hwnd == hwnd)
            return &hooked;
    return nullptr;
}

int MessageRecorder::Count(UINT message, HWND hwnd) const
{
    int count = 0;
    for (const RecordedMessage& m : m_messages)
        if (m.message == message && (hwnd == NULL || m.hwnd == hwnd))
            ++count;
    return count;
}

bool MessageRecorder::IsNoise(UINT message)
{
    switch (message) {
    case WM_GETICON:
    case WM_GETOBJECT:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
    case WM_NCHITTEST:
    case WM_SETCURSOR:
    case 0x0118:   // WM_SYSTIMER
    case WM_IME_SETCONTEXT:
    case WM_IME_NOTIFY:
        return true;
    default:
        return message >= 0xC000;
    }
}

LRESULT CALLBACK MessageRecorder::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    MessageRecorder* self = g_recorder;
    Hooked* hooked = self != nullptr ? self->Find(hwnd) : nullptr;
    if (hooked == nullptr)
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    const WNDPROC previous = hooked->previous;

    if (!IsNoise(message)) {
        unsigned flags = hooked->channel;
        const MSG* queued = g_dispatching;
        if (queued != nullptr && queued->hwnd == hwnd && queued->message == message &&
            queued->wParam == wParam && queued->lParam == lParam) {
            flags |= Posted;
            g_dispatching = nullptr;
        } else {
            flags |= Sent;
        }
        self->m_messages.push_back({hwnd, message, flags, wParam, lParam});
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, (LONG_PTR)previous);
        hooked->hwnd = NULL;
    }
    return ::CallWindowProcA(previous, hwnd, message, wParam, lParam);
}

std::string MessageName(UINT message)
{
    static const struct { UINT message; const char* name; } names[] = {
        {WM_NULL, "WM_NULL"}, {WM_CREATE, "WM_CREATE"}, {WM_DESTROY, "WM_DESTROY"},
        {WM_MOVE, "WM_MOVE"}, {WM_SIZE, "WM_SIZE"}, {WM_ACTIVATE, "WM_ACTIVATE"},
        {WM_SETFOCUS, "WM_SETFOCUS"}, {WM_KILLFOCUS, "WM_KILLFOCUS"}, {WM_ENABLE, "WM_ENABLE"},
        {WM_SETREDRAW, "WM_SETREDRAW"}, {WM_SETTEXT, "WM_SETTEXT"}, {WM_PAINT, "WM_PAINT"},
        {WM_CLOSE, "WM_CLOSE"}, {WM_ERASEBKGND, "WM_ERASEBKGND"},
        {WM_SYSCOLORCHANGE, "WM_SYSCOLORCHANGE"}, {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
        {WM_ACTIVATEAPP, "WM_ACTIVATEAPP"}, {WM_CANCELMODE, "WM_CANCELMODE"},
        {WM_SETCURSOR, "WM_SETCURSOR"}, {WM_MOUSEACTIVATE, "WM_MOUSEACTIVATE"},
        {WM_CHILDACTIVATE, "WM_CHILDACTIVATE"}, {WM_DRAWITEM, "WM_DRAWITEM"},
        {WM_NEXTDLGCTL, "WM_NEXTDLGCTL"}, {WM_SETFONT, "WM_SETFONT"},
        {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING"}, {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"},
        {WM_NOTIFY, "WM_NOTIFY"}, {WM_STYLECHANGING, "WM_STYLECHANGING"},
        {WM_STYLECHANGED, "WM_STYLECHANGED"}, {WM_NCCALCSIZE, "WM_NCCALCSIZE"},
        {WM_NCPAINT, "WM_NCPAINT"}, {WM_NCACTIVATE, "WM_NCACTIVATE"}, {WM_GETDLGCODE, "WM_GETDLGCODE"},
        {WM_NCDESTROY, "WM_NCDESTROY"}, {WM_NCMOUSEMOVE, "WM_NCMOUSEMOVE"}, {WM_KEYDOWN, "WM_KEYDOWN"},
        {WM_KEYUP, "WM_KEYUP"}, {WM_CHAR, "WM_CHAR"}, {WM_INITDIALOG, "WM_INITDIALOG"},
        {WM_COMMAND, "WM_COMMAND"}, {WM_SYSCOMMAND, "WM_SYSCOMMAND"}, {WM_TIMER, "WM_TIMER"},
        {WM_ENTERIDLE, "WM_ENTERIDLE"}, {WM_CTLCOLORBTN, "WM_CTLCOLORBTN"},
        {WM_CTLCOLORDLG, "WM_CTLCOLORDLG"}, {WM_CTLCOLORSTATIC, "WM_CTLCOLORSTATIC"},
        {WM_MOUSEMOVE, "WM_MOUSEMOVE"}, {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
        {WM_LBUTTONUP, "WM_LBUTTONUP"}, {WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK"},
        {WM_PARENTNOTIFY, "WM_PARENTNOTIFY"}, {WM_ENTERMENULOOP, "WM_ENTERMENULOOP"},
        {WM_EXITMENULOOP, "WM_EXITMENULOOP"}, {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"},
        {WM_MOUSELEAVE, "WM_MOUSELEAVE"}, {WM_PRINTCLIENT, "WM_PRINTCLIENT"},
        {BM_GETCHECK, "BM_GETCHECK"}, {BM_SETCHECK, "BM_SETCHECK"}, {BM_GETSTATE, "BM_GETSTATE"},
        {BM_SETSTATE, "BM_SETSTATE"}, {BM_SETSTYLE, "BM_SETSTYLE"}, {BM_CLICK, "BM_CLICK"},
        {DM_GETDEFID, "DM_GETDEFID"}, {DM_SETDEFID, "DM_SETDEFID"},
    };
    for (const auto& entry : names)
        if (entry.message == message)
            return entry.name;
    char text[16];
    std::snprintf(text, sizeof text, "0x%04x", message);
    return text;
}

::testing::AssertionResult SequenceMatches(const std::vector<RecordedMessage>& recorded,
                                           const ExpectedMessage* expected, size_t count)
{
    size_t got = 0, want = 0;
    bool ok = true;
    while (want < count || got < recorded.size()) {
        if (want < count && got < recorded.size() && Matches(recorded[got], expected[want])) {
            ++got;
            ++want;
        } else if (want < count && (expected[want].flags & Optional)) {
            ++want;
        } else {
            ok = false;
            break;
        }
    }
    if (ok)
        return ::testing::AssertionSuccess();

    std::ostringstream out;
    out << "message sequence differs at expected entry " << want << ", recorded entry " << got
        << "\n  expected:";
    for (size_t i = 0; i < count; ++i)
        out << "\n    " << Describe(expected[i].message, expected[i].flags, expected[i].wParam,
                                    expected[i].lParam, false);
    out << "\n  recorded:";
    for (const RecordedMessage& m : recorded)
        out << "\n    " << Describe(m.message, m.flags, m.wParam, m.lParam, true);
    return ::testing::AssertionFailure() << out.str();
}

void PumpMessages(HWND dialog)
{
    MSG msg;
    while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage((int)msg.wParam);
            break;
        }
        if (CWnd::WalkPreTranslateTree(dialog, &msg))
            continue;
        ::TranslateMessage(&msg);
        g_dispatching = &msg;
        ::DispatchMessageA(&msg);
        g_dispatching = nullptr;
    }
}

bool PumpUntil(HWND dialog, const std::function<bool()>& done, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        PumpMessages(dialog);
        if (done())
            return true;
        if (::GetTickCount() - start >= timeoutMs)
            return false;
        ::MsgWaitForMultipleObjects(0, NULL, FALSE, 20, QS_ALLINPUT);
    }
}

void PumpFor(HWND dialog, DWORD milliseconds)
{
    PumpUntil(dialog, [] { return false; }, milliseconds);
}

}  // namespace wintest

// Dialogs for Windows tests: a dialog template built in memory, a framework dialog created
// modeless from it (its controls bound by a test-supplied data exchange), message boxes caught
// before they show, and pixels: a 32-bit capture of a window and the colours a canvas holds.
#pragma once

#include <windows.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "controls/PixelCanvas_core.h"
#include "framework/afx.h"
#include "support/ImportHook.h"

// Rectangles compared and printed by the assertions (found through RECT's own namespace).
inline bool operator==(const RECT& a, const RECT& b)
{
    return ::EqualRect(&a, &b) != FALSE;
}

inline std::ostream& operator<<(std::ostream& out, const RECT& r)
{
    return out << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

namespace wintest {

// A DLGTEMPLATE with its items, in dialog units, font "MS Shell Dlg" 8.
class DialogTemplate
{
public:
    DialogTemplate(DWORD style, short cx, short cy, const wchar_t* title);
    // A control of a predefined class (0x0080 button, 0x0082 static, ...).
    void AddControl(WORD classAtom, WORD id, DWORD style, short x, short y, short cx, short cy,
                    const wchar_t* text);
    void AddButton(WORD id, DWORD style, short x, short y, short cx, short cy, const wchar_t* text)
    {
        AddControl(0x0080, id, style, x, y, cx, cy, text);
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_words.data()); }

private:
    void AddString(const wchar_t* text);
    void AlignToDword();

    std::vector<WORD> m_words;
};

// A framework dialog created modeless from a template in memory. DoDataExchange calls the
// test's binder, so controls are bound by DDX_Control in OnInitDialog as in a real dialog.
class CTestDialog : public CDialog
{
public:
    CTestDialog();

    // Creates (and shows at x, y with the given client size, made active) the dialog.
    BOOL Create(const DialogTemplate& dialogTemplate, int x, int y, int clientWidth,
                int clientHeight);
    // Creates (and shows at 40, 40, made active) the dialog from one of the program's templates.
    BOOL Create(UINT templateId);

    std::function<void(CDataExchange*)> bind;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    // Places and shows the dialog just created (when there is one), made active.
    BOOL Show(HWND hwnd, int x, int y, int width, int height, UINT flags);
    // OK and Cancel leave a test's dialog open; the commands still reach the recorder.
    void OnOK() override {}
    void OnCancel() override {}
};

// Message boxes of the thread that calls CatchMessageBoxes (every test program's main does), caught
// for the program's life: once a box has set up its texts it ends as if OK had been pressed, before
// it is ever shown. (Under Wine without a window manager, hiding a shown window waits 2 s for the X
// server.) While a MessageBoxCatcher lives, the box's caption and text are kept; else the running
// test fails with them.
void CatchMessageBoxes();

// The boxes caught while it lives. The type is the one MessageBoxA or MessageBoxW was called with
// (NoType for a box shown otherwise).
class MessageBoxCatcher
{
public:
    static const UINT NoType = ~0u;
    struct Box
    {
        std::string caption, text;
        UINT type;
    };

    MessageBoxCatcher();
    ~MessageBoxCatcher();
    MessageBoxCatcher(const MessageBoxCatcher&) = delete;
    MessageBoxCatcher& operator=(const MessageBoxCatcher&) = delete;

    bool Installed() const;
    const std::vector<Box>& Boxes() const;

private:
    ImportHook m_ansi, m_wide;
};

// A 32-bit top-down bitmap in a memory context, for drawing into and reading pixels back; it starts
// filled with one colour.
class Capture
{
public:
    Capture(int width, int height, COLORREF fill = RGB(0, 0, 0));
    ~Capture();
    Capture(const Capture&) = delete;
    Capture& operator=(const Capture&) = delete;

    HDC dc() const { return m_dc; }
    RECT Area() const { return {0, 0, m_width, m_height}; }
    // The pixel as a COLORREF (0x00BBGGRR); CLR_INVALID outside.
    COLORREF At(int x, int y) const;
    void Fill(COLORREF color);
    // The smallest rectangle holding every pixel of color inside area (empty when there is none).
    RECT BoundsOf(COLORREF color, const RECT& area) const;
    // How many pixels of area are color.
    int CountOf(COLORREF color, const RECT& area) const;

private:
    int m_width, m_height;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_previous;
    const DWORD* m_bits;
};

// Asks the window to paint its client area into a capture of the client's size (WM_PRINTCLIENT,
// with erasing), the capture first filled with background.
void PrintClient(HWND hwnd, Capture& capture, COLORREF background);
// Copies what the window shows on screen, after its pending paints, from its client context.
void CopyFromScreen(HWND hwnd, Capture& capture);

// The colour of a canvas image's colour table entry, and the colour the image shows at (x, y) (y
// counted from the top, as on screen).
COLORREF PaletteColor(const pixelcanvas::Image& canvas, int index);
COLORREF CanvasColor(const pixelcanvas::Image& canvas, int x, int y);
// The colour of a solid brush; CLR_INVALID when it cannot be read.
COLORREF BrushColor(HBRUSH brush);

}  // namespace wintest

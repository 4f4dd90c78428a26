// CNoticeDialog: texts, background and panel, keyboard rules, and the launch on OK.
#include "dialog/NoticeDialog.h"

#include <shellapi.h>
#include <shlwapi.h>

#include "app/LanguageTable_core.h"
#include "app/LaunchRules_core.h"
#include "app/Version.h"
#include "controls/DisplayScale.h"
#include "controls/Texture_core.h"
#include "dialog/NoticeRules_core.h"
#include "res/resource.h"

namespace {

// The line height of the font a control draws its text in: the font it was given, or the one the
// drawing context holds.
int FontLineHeight(CDC* dc, CWnd* control)
{
    HDC hdc = dc->GetSafeHdc();
    // Without a font of its own (NULL) the selection fails and the context keeps its font.
    CScopedSelect font(hdc, (HGDIOBJ)control->SendMessage(WM_GETFONT));
    TEXTMETRICA metrics = {};
    ::GetTextMetricsA(hdc, &metrics);
    return metrics.tmHeight;
}

// Grows a single-line label downward to the line height of its font where the label is shorter.
void GrowToFontLine(CWnd& label)
{
    CRect client;
    label.GetClientRect(&client);
    CClientDC dc(label.m_hWnd);
    const int line = FontLineHeight(&dc, &label);
    if (line > client.Height())
        ::SetWindowPos(label.m_hWnd, NULL, 0, 0, client.Width(), line,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Fills the panel inside the group box. On the group box's own paint the controls that lie over the
// panel are left out: they paint their own background in the panel's colour, and a repaint that
// reaches every window in z-order (a change of the system colours made by any program brings one)
// paints the group box after the labels above it, which the fill would wipe.
void FillPanel(CDC* dc, HWND frame, const CRect& panel, COLORREF color)
{
    HDC hdc = dc->GetSafeHdc();
    const int saved = ::SaveDC(hdc);
    if (::WindowFromDC(hdc) == frame) {
        for (HWND control = ::GetWindow(::GetParent(frame), GW_CHILD); control != NULL;
             control = ::GetWindow(control, GW_HWNDNEXT)) {
            RECT over;
            if (control == frame || !::IsWindowVisible(control) || !::GetWindowRect(control, &over))
                continue;
            ::MapWindowPoints(NULL, frame, reinterpret_cast<POINT*>(&over), 2);
            ::ExcludeClipRect(hdc, over.left, over.top, over.right, over.bottom);
        }
    }
    dc->FillSolidRect(&panel, color);
    ::RestoreDC(hdc, saved);
}

bool IsHighContrastOn()
{
    HIGHCONTRASTW highContrast = {};
    highContrast.cbSize = sizeof highContrast;
    return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof highContrast, &highContrast, 0) &&
           (highContrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

// True when a folder lies at path.
bool IsFolder(const AfxWideString& path)
{
    const DWORD attributes = ::GetFileAttributesW(AfxWide(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The system's own text for an error, in the user's language; empty where the system has none. Its
// inserts are left alone (several hold a "%1" for the file): none is expanded from arguments.
AfxWideString SystemErrorText(DWORD error)
{
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                              FORMAT_MESSAGE_IGNORE_INSERTS,
                                          NULL, error, 0, reinterpret_cast<LPWSTR>(&text), 0, NULL);
    AfxWideString result;
    if (length != 0)
        result.assign(reinterpret_cast<const char16_t*>(text), length);
    ::LocalFree(text);
    return result;
}

}  // namespace

BEGIN_MESSAGE_MAP(CNoticeDialog, CDialog)
    // void OnPaint()
    ON_WM_PAINT()
    // HCURSOR OnQueryDragIcon()
    ON_WM_QUERYDRAGICON()
    // HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlType)
    ON_WM_CTLCOLOR()
    // BOOL OnEraseBkgnd(CDC* dc)
    ON_WM_ERASEBKGND()
    // void OnSysColorChange()
    ON_WM_SYSCOLORCHANGE()
    // LRESULT OnSettingChange(WPARAM action, LPARAM section)
    ON_MESSAGE(WM_SETTINGCHANGE, OnSettingChange)
END_MESSAGE_MAP()

CNoticeDialog::CNoticeDialog(CString languageCode, CWnd* parent)
    : CDialog(IDD_NOTICE, parent),
      m_backColor(notice::BackColor),
      m_languageCode(languageCode),
      m_colorScheme{notice::BackColor, false}
{
    LPCSTR iconName = MAKEINTRESOURCEA(IDI_APPICON);
    m_icon = ::LoadIconA(AfxFindResourceHandle(iconName, (LPCSTR)RT_GROUP_ICON), iconName);
}

void CNoticeDialog::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDOK, m_okButton);
    DDX_Control(dx, IDCANCEL, m_cancelButton);
    DDX_Control(dx, IDC_HEAD, m_headLabel);
    DDX_Control(dx, IDC_INTRO, m_introLabel);
    DDX_Control(dx, IDC_TEXT, m_textLabel);
    DDX_Control(dx, IDC_FINAL, m_finalLabel);
}

BOOL CNoticeDialog::OnInitDialog()
{
    CDialog::OnInitDialog();

    SetIcon(m_icon, TRUE);
    SetIcon(m_icon, FALSE);

    LPCSTR bitmapName = MAKEINTRESOURCEA(IDB_BACKGROUND);
    HBITMAP bitmap = ::LoadBitmapA(AfxFindResourceHandle(bitmapName, (LPCSTR)RT_BITMAP), bitmapName);
    if (bitmap != NULL)
        m_backBitmap.Attach(bitmap);   // no picture: the plain background stays

    ApplyColorScheme(FALSE);   // the fixed background colour, unless the text would not be readable on it

    // The fonts come before the texts, so that the first texts already appear in them. Only the
    // heading is bold; the others keep the default GUI font's weight. The heights are pixels at
    // 96 DPI, grown with the display's scale as the template's dialog units grow.
    m_headLabel.SetFaceName("Arial").SetCharHeight(ScaleToSystemDpi(18)).SetBoldWeight(TRUE);
    m_introLabel.SetFaceName("Arial").SetCharHeight(ScaleToSystemDpi(11));
    m_textLabel.SetFaceName("Arial").SetCharHeight(ScaleToSystemDpi(11));
    m_finalLabel.SetFaceName("Arial").SetCharHeight(ScaleToSystemDpi(9));
    // Dialog units grow with the dialog font, a little less than the DPI: at 200 % the heading's
    // line is a pixel taller than its label, which then grows into the free space below it.
    GrowToFontLine(m_headLabel);

    if (!ApplyLanguage(m_languageCode)) {
        m_languageCode = "en";
        ApplyLanguage("en");
    }

    // Both buttons: a vertical ramp with light noise, tinted slightly toward blue. The textures do
    // not repaint; the setters after them do.
    const COLORREF tintColor = 0xFA5032;
    m_okButton.SetTexture(texture::TextureVerticalRamp, 4, 20, 10, tintColor);
    m_okButton.SetImageAlign(CDrawButton::ImageLeft, TRUE);
    m_cancelButton.SetTexture(texture::TextureVerticalRamp, 4, 20, 10, tintColor);
    m_cancelButton.SetImageAlign(CDrawButton::ImageLeft, TRUE);
    m_cancelButton.SetFocusRectWhenFlat(TRUE, TRUE);   // only Cancel shows where the focus is
    return TRUE;   // the focus goes to the first tab stop, OK
}

BOOL CNoticeDialog::ApplyLanguage(CString code)
{
    CVersion version(AfxWide(AfxGetModulePath(AfxGetInstanceHandle())));
    m_versionSuffix.Format(" (v.%s)", (const char*)version.GetFileVersion());

    const languagetable::LanguageTextRow* row = languagetable::FindLanguageRow(code);
    if (row == nullptr)
        return FALSE;
    m_headLabel.SetLabelText(row->headText);
    m_introLabel.SetLabelText(row->introText);
    m_textLabel.SetLabelText(row->instructionText);
    m_finalLabel.SetLabelText(row->liabilityText);
    SetWindowText(row->captionText);
    GetDlgItem(IDOK)->SetWindowText(row->okText);
    GetDlgItem(IDCANCEL)->SetWindowText(row->cancelText);
    m_errorPrefix = row->errorPrefix;
    return TRUE;
}

void CNoticeDialog::SetBackColor(COLORREF color)
{
    m_backColor = color;
    // The brush in use goes only once its successor exists; one that cannot be made leaves it.
    if (!m_backBrush.CreateSolidBrush(color))
        CResourceException().ReportError(MB_OK, 0);
}

void CNoticeDialog::ApplyColorScheme(BOOL repaint)
{
    m_colorScheme = notice::ChooseColorScheme(IsHighContrastOn(), ::GetSysColor(COLOR_WINDOWTEXT),
                                              ::GetSysColor(COLOR_WINDOW));
    SetBackColor(m_colorScheme.panel);
    m_okButton.SetSystemLook(m_colorScheme.systemLook, FALSE);
    m_cancelButton.SetSystemLook(m_colorScheme.systemLook, FALSE);
    if (repaint)
        RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

void CNoticeDialog::OnSysColorChange()
{
    Default();
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != NULL; child = ::GetWindow(child, GW_HWNDNEXT))
        ::SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
    ApplyColorScheme(TRUE);
}

LRESULT CNoticeDialog::OnSettingChange(WPARAM action, LPARAM)
{
    const LRESULT result = Default();
    if (action == SPI_SETHIGHCONTRAST)
        ApplyColorScheme(TRUE);
    return result;
}

AfxWideString CNoticeDialog::GetModuleDirectory(DWORD* moduleLength)
{
    AfxWideString directory = AfxGetModulePath(AfxGetInstanceHandle(), moduleLength);
    if (!directory.empty()) {
        ::PathRemoveFileSpecW(AfxWideBuffer(directory));
        directory.resize(std::char_traits<char16_t>::length(directory.c_str()));
    }
    return directory;
}

void CNoticeDialog::OnOK()
{
    LaunchSupportTool();
    CDialog::OnOK();
}

void CNoticeDialog::LaunchSupportTool()
{
    DWORD moduleLength = 0;
    const AfxWideString path = launchrules::ComposeSupportPath(GetModuleDirectory(&moduleLength));

    HWND owner = NULL;
    if (CWinThread* thread = AfxGetThread())
        if (CWnd* mainWnd = thread->GetMainWnd())
            owner = mainWnd->m_hWnd;

    // Nothing is started from an unreadable module path, nor from a module or tool path beyond the
    // classic path limit, nor where a folder carries the tool's name (the shell would open it in a
    // file manager): each is reported as missing, under the full path that was composed.
    bool started = false;
    DWORD error = ERROR_FILE_NOT_FOUND;
    if (launchrules::IsLaunchablePath(moduleLength, path.size(), MAX_PATH) && !IsFolder(path)) {
        SHELLEXECUTEINFOW launch = {};
        launch.cbSize = sizeof launch;
        // The shell shows nothing of its own, and has done its part when the call returns: the
        // launcher ends right after it.
        launch.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
        launch.hwnd = owner;
        launch.lpFile = AfxWide(path);
        launch.nShow = SW_SHOWNORMAL;
        started = ::ShellExecuteExW(&launch) != FALSE;
        const std::uintptr_t result = reinterpret_cast<std::uintptr_t>(launch.hInstApp);
        error = started ? ERROR_SUCCESS : launchrules::LaunchError(::GetLastError(), result);
    }

    const AfxWideString prefix = AfxTextToWide(m_errorPrefix);
    AfxWideString report;
    switch (launchrules::ChooseLaunchReport(started, error)) {
    case launchrules::LaunchReport::None:
        return;
    case launchrules::LaunchReport::MissingFile:
        report = launchrules::ComposeMissingFileReport(prefix, path);
        break;
    case launchrules::LaunchReport::SystemError:
        report = launchrules::ComposeLaunchFailureReport(prefix, SystemErrorText(error), error, path);
        break;
    }
    AfxMessageBox(AfxWide(report), MB_OK | MB_ICONERROR, 0);
}

HBRUSH CNoticeDialog::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlType)
{
    HBRUSH baseBrush = CDialog::OnCtlColor(dc, wnd, ctlType);

    if (wnd != nullptr && wnd->GetDlgCtrlID() == notice::FrameControlId) {
        CRect frame;
        wnd->GetWindowRect(&frame);
        notice::Rect panel = notice::PanelRect(frame.Width(), frame.Height(), FontLineHeight(dc, wnd));
        FillPanel(dc, wnd->m_hWnd, CRect(panel.left, panel.top, panel.right, panel.bottom), m_backColor);
    }

    switch (notice::ChooseColorAnswer(ctlType)) {
    case notice::ColorAnswer::BackBrushAndColor:
        dc->SetBkColor(m_backColor);
        return (HBRUSH)m_backBrush.GetSafeHandle();
    case notice::ColorAnswer::BackBrush:
        return (HBRUSH)m_backBrush.GetSafeHandle();
    case notice::ColorAnswer::BaseResult:
        break;
    }
    return baseBrush;
}

BOOL CNoticeDialog::OnEraseBkgnd(CDC* dc)
{
    Default();
    if (m_backBitmap.GetSafeHandle() == NULL || m_colorScheme.systemLook)
        return TRUE;   // the plain background

    CRect client;
    GetClientRect(&client);
    CDC memory;
    memory.CreateCompatibleDC(dc);
    CScopedSelect picture(&memory, &m_backBitmap);
    BITMAP info = {};
    m_backBitmap.GetBitmap(&info);
    dc->StretchBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, info.bmWidth, info.bmHeight,
                   SRCCOPY);
    return TRUE;
}

void CNoticeDialog::OnPaint()
{
    if (!IsIconic()) {
        Default();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, (WPARAM)dc.GetSafeHdc(), 0);
    int cx = ::GetSystemMetrics(SM_CXICON);
    int cy = ::GetSystemMetrics(SM_CYICON);
    CRect client;
    GetClientRect(&client);
    notice::Point at = notice::MinimizedIconPosition(client.Width(), client.Height(), cx, cy);
    ::DrawIcon(dc.GetSafeHdc(), at.x, at.y, m_icon);
}

HCURSOR CNoticeDialog::OnQueryDragIcon()
{
    return (HCURSOR)m_icon;
}

BOOL CNoticeDialog::PreTranslateMessage(MSG* msg)
{
    notice::KeyAction action = notice::ClassifyKeyMessage(msg->message, msg->wParam);
    if (action == notice::KeyAction::RepaintThenPassOn)
        InvalidateRect(nullptr, TRUE);   // the whole dialog again, background included
    if (action == notice::KeyAction::Swallow)
        return TRUE;                      // F1 would become a help request
    return CDialog::PreTranslateMessage(msg);
}

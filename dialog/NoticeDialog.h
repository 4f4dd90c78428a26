// The launcher's one window: the modal warning dialog in the user's language.
#pragma once

#include "controls/TextLabel.h"
#include "controls/TexturedButton.h"
#include "dialog/NoticeRules_core.h"
#include "framework/afx.h"

class CNoticeDialog : public CDialog
{
public:
    CNoticeDialog(CString languageCode, CWnd* parent);

    // Shows the texts of the row whose code equals code exactly; FALSE (and nothing changed) when no
    // row has that code.
    BOOL ApplyLanguage(CString code);
    // Stores the colour and rebuilds the background brush.
    void SetBackColor(COLORREF color);
    // Takes the colours that the high-contrast flag and the system colours call for: the background
    // colour, whether the picture shows, the buttons' look. repaint: the dialog and its controls
    // are painted again with them.
    void ApplyColorScheme(BOOL repaint);

    // The directory of the running executable in UTF-16, without a trailing backslash except at a
    // drive root. moduleLength (if given) takes the length of the executable's path, 0 when it could
    // not be read.
    AfxWideString GetModuleDirectory(DWORD* moduleLength = nullptr);

    const CString& GetLanguageCode() const { return m_languageCode; }
    const CString& GetErrorPrefix() const { return m_errorPrefix; }
    // " (v.1.0.2.0)": worked out from the executable's version resource; the caption does not show it.
    const CString& GetVersionSuffix() const { return m_versionSuffix; }

protected:
    // Binds the four labels and the two buttons to the template's controls.
    void DoDataExchange(CDataExchange* dx) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnInitDialog() override;
    // Starts the support program, or says that it is missing; then closes with IDOK.
    void OnOK() override;
    void LaunchSupportTool();

    void OnPaint();
    HCURSOR OnQueryDragIcon();
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlType);
    BOOL OnEraseBkgnd(CDC* dc);
    // Only top-level windows hear of new system colours: the dialog passes them on to its controls.
    void OnSysColorChange();
    LRESULT OnSettingChange(WPARAM action, LPARAM section);

    // The styled controls come first: built before, destroyed after everything else of the dialog.
    CTextLabel m_headLabel;
    CTextLabel m_introLabel;
    CTextLabel m_textLabel;
    CTextLabel m_finalLabel;
    CString m_errorPrefix;
    CTexturedButton m_okButton;
    CTexturedButton m_cancelButton;
    HICON m_icon;
    COLORREF m_backColor;
    CBrush m_backBrush;
    CString m_languageCode;
    CBitmap m_backBitmap;
    CString m_versionSuffix;
    notice::ColorScheme m_colorScheme;

    DECLARE_MESSAGE_MAP()
};

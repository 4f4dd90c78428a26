// Modal dialogs from a template, with a message loop of our own, and data exchange that binds
// member objects to the template's controls.
#pragma once

#include "framework/afxwnd.h"

class CDataExchange
{
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
};

// Binds control to the dialog's control with this id (subclassing it), once.
void DDX_Control(CDataExchange* dx, int id, CWnd& control);

class CDialog : public CWnd
{
public:
    explicit CDialog(UINT idTemplate, CWnd* parent = nullptr);
    ~CDialog() override;

    // Creates the dialog, runs it until EndDialog and returns its result (-1: not created).
    virtual INT_PTR DoModal();
    void EndDialog(int result);
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    // The dialog keyboard handling (Tab, arrows, Enter, Escape) for this dialog's windows.
    BOOL PreTranslateMessage(MSG* msg) override;
    // Commands the dialog does not take go on to the application.
    BOOL OnCmdMsg(UINT id, UINT code) override;

protected:
    virtual void DoDataExchange(CDataExchange*) {}
    // Runs DoDataExchange; TRUE lets the system give the focus to the first tab stop.
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    LRESULT HandleInitDialog(WPARAM, LPARAM);
    void RunModalLoop();

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    BOOL m_bContinueModal = FALSE;
    INT_PTR m_nModalResult = -1;

    DECLARE_MESSAGE_MAP()
};

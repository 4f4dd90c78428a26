// CDialog: template loading, the modal loop with its PreTranslateMessage walk, and data exchange.
#include "framework/afxdlg.h"

#include "framework/afxapp.h"

namespace {

// The dialog's own procedure behind the class procedure: the object's message map has already
// answered everything it wants, so the dialog manager's defaults apply to the rest.
INT_PTR CALLBACK DialogDefaults(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

}  // namespace

void DDX_Control(CDataExchange* dx, int id, CWnd& control)
{
    if (control.m_hWnd != NULL || dx->m_bSaveAndValidate)
        return;
    HWND hWnd = ::GetDlgItem(dx->m_pDlgWnd->m_hWnd, id);
    if (hWnd != NULL)
        control.SubclassWindow(hWnd);
}

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    // LRESULT HandleInitDialog(WPARAM focus, LPARAM param)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
    // void OnOK()
    ON_COMMAND(IDOK, OnOK)
    // void OnCancel()
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT idTemplate, CWnd* parent) : m_nIDTemplate(idTemplate), m_pParentWnd(parent)
{
}

CDialog::~CDialog()
{
    if (m_hWnd != NULL && ::IsWindow(m_hWnd))
        DestroyWindow();
}

INT_PTR CDialog::DoModal()
{
    LPCSTR name = MAKEINTRESOURCEA(m_nIDTemplate);
    HINSTANCE module = AfxFindResourceHandle(name, (LPCSTR)RT_DIALOG);
    HRSRC found = ::FindResourceA(module, name, (LPCSTR)RT_DIALOG);
    HGLOBAL loaded = found != NULL ? ::LoadResource(module, found) : NULL;
    LPCDLGTEMPLATEW dialogTemplate = loaded != NULL ? (LPCDLGTEMPLATEW)::LockResource(loaded) : NULL;
    if (dialogTemplate == NULL)
        return -1;

    HWND owner = m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : NULL;
    BOOL ownerDisabled = owner != NULL && ::IsWindowEnabled(owner) && !::EnableWindow(owner, FALSE);

    m_nModalResult = -1;
    m_bContinueModal = TRUE;
    // The loop runs only for a window this object owns: nothing could end it for another one.
    HWND hWnd = NULL;
    if (AfxHookWindowCreate(this)) {
        // A Unicode dialog: its controls are Unicode windows too.
        hWnd = ::CreateDialogIndirectParamW(module, dialogTemplate, owner, DialogDefaults, 0);
        AfxUnhookWindowCreate();
    }
    if (hWnd != NULL && hWnd == m_hWnd && m_bContinueModal)
        RunModalLoop();
    else if (hWnd != NULL && hWnd != m_hWnd && ::IsWindow(hWnd))
        ::DestroyWindow(hWnd);
    if (m_hWnd != NULL)
        DestroyWindow();

    if (ownerDisabled) {
        ::EnableWindow(owner, TRUE);
        ::SetActiveWindow(owner);
    }
    return m_nModalResult;
}

void CDialog::RunModalLoop()
{
    if (!IsWindowVisible())
        ShowWindow(SW_SHOWNORMAL);

    MSG msg;
    while (m_bContinueModal) {
        if (!::PeekMessageW(&msg, NULL, 0, 0, PM_NOREMOVE)) {
            // Idle: the temporary wrappers made while handling the last messages can go.
            AfxDeleteTempWndMap();
            AfxDeleteTempMaps();
            ::WaitMessage();
            continue;
        }
        if (!::GetMessageW(&msg, NULL, 0, 0)) {
            ::PostQuitMessage((int)msg.wParam);   // leave WM_QUIT for whoever runs the outer loop
            break;
        }
        if (!WalkPreTranslateTree(m_hWnd, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

void CDialog::EndDialog(int result)
{
    m_nModalResult = result;
    m_bContinueModal = FALSE;
    if (m_hWnd != NULL) {
        ::EndDialog(m_hWnd, result);    // hides the dialog; our loop ends on the flag
        PostMessage(WM_NULL);           // wakes the loop should it be waiting
    }
}

BOOL CDialog::UpdateData(BOOL saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM)
{
    return OnInitDialog();
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST && m_hWnd != NULL)
        return ::IsDialogMessageW(m_hWnd, msg);
    return FALSE;
}

BOOL CDialog::OnCmdMsg(UINT id, UINT code)
{
    if (CWnd::OnCmdMsg(id, code))
        return TRUE;
    CWinApp* app = AfxGetApp();
    return app != nullptr && app->OnCmdMsg(id, code);
}

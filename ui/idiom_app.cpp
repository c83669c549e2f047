#include "idiom_app.h"

#include "idiom_dlg.h"

BEGIN_MESSAGE_MAP(CIdiomApp, CWinApp)
    ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

CIdiomApp::CIdiomApp() = default;

BOOL CIdiomApp::InitInstance() {
    AfxEnableControlContainer();
    Enable3dControls();

    CIdiomDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;

    // The dialog has closed: end the application rather than start a message
    // loop of its own.
    return FALSE;
}

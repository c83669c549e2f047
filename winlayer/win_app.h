#pragma once
// CWinApp: the one application object, and the program's start.

#include "wnd.h"

// The standard help command.
#ifndef ID_HELP
#define ID_HELP 0xE146
#endif

class CWinApp : public CCmdTarget {
public:
    // The one application object registers itself; the name is unused (the
    // module's name stands for it).
    explicit CWinApp(const char* lpszAppName = nullptr);
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Runs the application; returning FALSE ends the process.
    virtual BOOL InitInstance();

    // Kept for the classic start-up sequence; dialogs draw themselves as the
    // system's visual style says.
    BOOL Enable3dControls() { return TRUE; }

    // The standard help command; there is no help content to show.
    void OnHelp() {}

    CWnd* m_pMainWnd = nullptr;
    HINSTANCE m_hInstance = nullptr;

    DECLARE_MESSAGE_MAP()
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();

// The module that holds a resource (this program keeps all its own).
HINSTANCE AfxFindResourceHandle(LPCWSTR lpszName, LPCWSTR lpszType);

// Allows dialogs to host ActiveX controls; none are used, so nothing to do.
inline void AfxEnableControlContainer() {}

// A learner's dictionary may sit in a download folder beside planted DLLs:
// from here on, libraries come from the system folder only, never from the
// current directory.
void AfxRestrictLibrarySearch();

// Runs the application object: InitInstance, then the end of the process.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);

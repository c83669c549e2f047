#include "win_app.h"

#include "com_apartment.h"

namespace {

CWinApp* g_pApp = nullptr;

}  // namespace

void AfxRestrictLibrarySearch() {
    ::SetDllDirectoryW(L"");
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
        reinterpret_cast<void*>(::GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (setDefault != nullptr) {  // Windows 8, or 7 with its loader update
        setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
}

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

CWinApp::CWinApp(const char*) { g_pApp = this; }

CWinApp::~CWinApp() {
    if (g_pApp == this) {
        g_pApp = nullptr;
    }
}

BOOL CWinApp::InitInstance() { return FALSE; }

CWinApp* AfxGetApp() { return g_pApp; }

HINSTANCE AfxGetInstanceHandle() {
    if (g_pApp != nullptr && g_pApp->m_hInstance != nullptr) {
        return g_pApp->m_hInstance;
    }
    return ::GetModuleHandleW(nullptr);
}

HINSTANCE AfxGetResourceHandle() { return AfxGetInstanceHandle(); }

HINSTANCE AfxFindResourceHandle(LPCWSTR, LPCWSTR) { return AfxGetResourceHandle(); }

int AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    // First, before COM or the shell load anything on the program's behalf.
    AfxRestrictLibrarySearch();
    CWinApp* app = AfxGetApp();
    if (app == nullptr) {
        return -1;
    }
    app->m_hInstance = hInstance;
    const ComApartment apartment;
    // A dialog application does all its work inside InitInstance and answers
    // FALSE: there is no message loop of its own to run afterwards. Its
    // dialogs are destroyed when it returns, before the apartment closes.
    app->InitInstance();
    return 0;
}

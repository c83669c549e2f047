#include "program_driver.h"

#include <psapi.h>

#include <utility>
#include <vector>

#include "resource.h"
#include "text_conversion.h"

namespace e2e {

namespace {

std::wstring g_programPath;
std::vector<std::string> g_testArguments;

struct Search {
    DWORD processId;
    const wchar_t* caption;
    HWND exclude;
    HWND found;
};

BOOL CALLBACK CheckTopWindow(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    if (pid != search->processId || window == search->exclude || !::IsWindowVisible(window)) {
        return TRUE;
    }
    wchar_t className[32] = {}, caption[128] = {};
    ::GetClassNameW(window, className, 32);
    ::GetWindowTextW(window, caption, 128);
    if (std::wcscmp(className, L"#32770") == 0 && search->caption == std::wstring(caption)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND FindProcessWindow(DWORD pid, const wchar_t* caption, HWND exclude) {
    Search search{pid, caption, exclude, nullptr};
    ::EnumWindows(&CheckTopWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring HostPath(const std::string& unixPath) {
    std::wstring wide(unixPath.begin(), unixPath.end());
    if (!wide.empty() && wide[0] == L'/') {
        for (wchar_t& c : wide) {
            if (c == L'/') c = L'\\';
        }
        wide = L"Z:" + wide;
    }
    return wide;
}

std::wstring ProgramPath() { return g_programPath; }
void SetProgramPath(const std::string& path) { g_programPath = HostPath(path); }
void SetProgramPath(const std::wstring& windowsPath) { g_programPath = windowsPath; }

const std::vector<std::string>& TestArguments() { return g_testArguments; }
void SetTestArguments(std::vector<std::string> arguments) {
    g_testArguments = std::move(arguments);
}

ProgramDriver::ProgramDriver(const std::wstring& folder) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    std::wstring commandLine = L"\"" + g_programPath + L"\"";
    ::CreateProcessW(g_programPath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                     folder.c_str(), &startup, &m_process);
}

ProgramDriver::~ProgramDriver() {
    if (m_process.hProcess != nullptr) {
        if (::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(m_process.hProcess, 99);
            ::WaitForSingleObject(m_process.hProcess, 5000);
        }
        ::CloseHandle(m_process.hProcess);
        ::CloseHandle(m_process.hThread);
    }
}

bool ProgramDriver::WaitForMainWindow(bool withEntry, DWORD timeoutMs) {
    if (m_process.hProcess == nullptr) {
        return false;
    }
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < timeoutMs) {
        if (m_main == nullptr) {
            m_main = FindProcessWindow(m_process.dwProcessId, L"Quendril成语学习软件", nullptr);
        }
        if (m_main != nullptr && (!withEntry || !Text(IDC_IDIOM).empty())) {
            Sync();
            return true;
        }
        if (::WaitForSingleObject(m_process.hProcess, 20) != WAIT_TIMEOUT) {
            return false;  // it ended
        }
    }
    return false;
}

std::string ProgramDriver::Text(int id) const {
    HWND control = ::GetDlgItem(m_main, id);
    const LRESULT length = ::SendMessageW(control, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT got =
        ::SendMessageW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(got));
    return afx::WideToGbk(text);
}

void ProgramDriver::SetText(int id, const std::wstring& text) const {
    ::SendMessageW(::GetDlgItem(m_main, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void ProgramDriver::Click(int id) const {
    PostClick(id);
    Sync();
}

void ProgramDriver::PostClick(int id) const {
    ::PostMessageW(m_main, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(m_main, id)));
}

void ProgramDriver::PressKey(UINT virtualKey) const {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    ::GetGUIThreadInfo(m_process.dwThreadId, &info);
    HWND target = info.hwndFocus ? info.hwndFocus : m_main;
    ::PostMessageW(target, WM_KEYDOWN, virtualKey, 1);
    ::PostMessageW(target, WM_KEYUP, virtualKey, 1 | (1u << 30) | (1u << 31));
}

void ProgramDriver::PostSysCommand(UINT command) const {
    ::PostMessageW(m_main, WM_SYSCOMMAND, command, 0);
}

void ProgramDriver::Sync() const {
    // A sent message overtakes posted ones, so it cannot tell when the posted
    // clicks and keys have been handled. A posted marker can: when the idiom
    // box has taken its new (harmlessly huge) text limit, everything posted
    // before it has been handled too.
    static WPARAM marker = 0x7FFF0000;
    ++marker;
    HWND edit = ::GetDlgItem(m_main, IDC_IDIOM);
    ::PostMessageW(edit, EM_SETLIMITTEXT, marker, 0);
    for (int waited = 0; waited < 10000; waited += 5) {
        DWORD_PTR limit = 0;
        if (!::SendMessageTimeoutW(edit, EM_GETLIMITTEXT, 0, 0, SMTO_NORMAL, 5000, &limit) ||
            limit == marker) {
            return;
        }
        ::Sleep(5);
    }
}

HWND ProgramDriver::WaitForWindow(const std::wstring& caption, DWORD timeoutMs) const {
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < timeoutMs) {
        if (HWND found = FindProcessWindow(m_process.dwProcessId, caption.c_str(), m_main)) {
            return found;
        }
        ::Sleep(20);
    }
    return nullptr;
}

long ProgramDriver::WaitForExit(DWORD timeoutMs) const {
    if (::WaitForSingleObject(m_process.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        return -1;
    }
    DWORD code = 0;
    ::GetExitCodeProcess(m_process.hProcess, &code);
    return static_cast<long>(code);
}

DWORD ProgramDriver::GdiObjects() const { return ::GetGuiResources(Process(), GR_GDIOBJECTS); }

DWORD ProgramDriver::UserObjects() const { return ::GetGuiResources(Process(), GR_USEROBJECTS); }

SIZE_T ProgramDriver::PrivateBytes() const {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    ::GetProcessMemoryInfo(Process(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                           sizeof(counters));
    return counters.PrivateUsage;
}

}  // namespace e2e

// What the installer test asks of Windows itself, printed as UTF-8 lines.
// MODE is "user" (the current user's installation) or "all" (the one for all
// users):
//
//   install_probe folders MODE    where that mode installs: the programs
//                                 folder, the Start-menu programs folder and
//                                 the desktop
//   install_probe shortcut LNK    the shortcut's target and working folder
//   install_probe start LNK       starts the shortcut's target in its working
//                                 folder and prints the idiom it shows first
//   install_probe entry MODE      the values of that mode's uninstall entry
//                                 (exit 1 when there is none)
//   install_probe uninstall MODE  runs that entry's QuietUninstallString
//   install_probe run-uninstaller EXE   runs EXE /S, as started by hand
//   (both wait for the uninstaller to end, and for the copy it goes on in)
//   install_probe finish-setup    clicks the setup program's default button
//                                 (Next, Install, Finish) on each page until
//                                 it ends: an interactive install with every
//                                 default, the finish page's "run" ticked
//   install_probe running         waits for the program's window; prints the
//                                 idiom it shows and the name of the process
//                                 that started it; ends the program
#include <shlobj.h>
#include <windows.h>
// After windows.h
#include <tlhelp32.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "com_apartment.h"
#include "program_driver.h"
#include "resource.h"
#include "text_conversion.h"

namespace {

const wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quendril";

void PrintLine(const std::wstring& text) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(),
                          size, nullptr, nullptr);
    utf8 += '\n';
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    // Out at once: a line must not wait in the buffer for an exit that the
    // shell and COM take down with them now and then under Wine.
    std::fflush(stdout);
}

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::wstring result;
    if (SUCCEEDED(::SHGetKnownFolderPath(id, 0, nullptr, &path))) result = path;
    ::CoTaskMemFree(path);
    return result;
}

struct Shortcut {
    std::wstring target;
    std::wstring workingFolder;
};

// Reads a .lnk file through the shell, as Explorer does when it is opened.
// On failure, says on stderr which step failed and how, so that a failure
// in a test run can be told apart: no file, a file that cannot be opened, a
// file without a target.
bool ReadShortcut(const std::wstring& path, Shortcut& shortcut) {
    IShellLinkW* link = nullptr;
    HRESULT result = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                        IID_IShellLinkW, reinterpret_cast<void**>(&link));
    const char* step = "CoCreateInstance";
    IPersistFile* file = nullptr;
    if (SUCCEEDED(result)) {
        step = "Load";
        result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
        if (SUCCEEDED(result)) result = file->Load(path.c_str(), STGM_READ);
    }
    if (SUCCEEDED(result)) {
        wchar_t buffer[MAX_PATH] = {};
        step = "GetPath";
        result = link->GetPath(buffer, MAX_PATH, nullptr, SLGP_RAWPATH);
        shortcut.target = buffer;
        buffer[0] = L'\0';
        if (SUCCEEDED(result)) {
            step = "GetWorkingDirectory";
            result = link->GetWorkingDirectory(buffer, MAX_PATH);
        }
        shortcut.workingFolder = buffer;
    }
    if (file != nullptr) file->Release();
    if (link != nullptr) link->Release();
    if (FAILED(result)) {
        std::fprintf(stderr, "install_probe: %s failed (0x%08lx); the file %s\n", step,
                     static_cast<unsigned long>(result),
                     ::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES ? "is not there"
                                                                                  : "is there");
    }
    return SUCCEEDED(result);
}

// Starts the target in the working folder and prints the first idiom shown,
// or an empty line when it shows none.
int StartShortcut(const Shortcut& shortcut) {
    e2e::SetProgramPath(shortcut.target);
    e2e::ProgramDriver program(shortcut.workingFolder);
    if (!program.WaitForMainWindow(false)) {
        std::fprintf(stderr, "install_probe: the program's window did not appear\n");
        return 1;
    }
    program.WaitForMainWindow(true, 3000);  // a dictionary shows its entry at once
    PrintLine(afx::GbkToWide(program.Text(IDC_IDIOM)));
    return 0;
}

class RegistryKey {
public:
    RegistryKey(HKEY parent, const wchar_t* name) {
        if (::RegOpenKeyExW(parent, name, 0, KEY_READ, &m_key) != ERROR_SUCCESS) m_key = nullptr;
    }
    ~RegistryKey() {
        if (m_key != nullptr) ::RegCloseKey(m_key);
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    HKEY Get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

// Where a mode keeps its uninstall entry (the probe is of the setup
// program's processor, and sees the registry view it writes).
HKEY EntryRoot(const std::wstring& mode) {
    return mode == L"all" ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

// Prints NAME=VALUE for each value; a DWORD in decimal, with its type so that
// a number written as a string shows.
int PrintEntry(HKEY root) {
    RegistryKey key(root, kUninstallKey);
    if (key.Get() == nullptr) return 1;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD nameLength = 256, type = 0, dataSize = 0;
        if (::RegEnumValueW(key.Get(), index, name, &nameLength, nullptr, &type, nullptr,
                            &dataSize) != ERROR_SUCCESS) {
            break;
        }
        std::vector<BYTE> data(dataSize + sizeof(wchar_t), 0);
        nameLength = 256;
        ::RegEnumValueW(key.Get(), index, name, &nameLength, nullptr, &type, data.data(),
                        &dataSize);
        if (type == REG_DWORD) {
            PrintLine(std::wstring(name) + L"=dword:" +
                      std::to_wstring(*reinterpret_cast<DWORD*>(data.data())));
        } else if (type == REG_SZ || type == REG_EXPAND_SZ) {
            PrintLine(std::wstring(name) + L"=" + reinterpret_cast<wchar_t*>(data.data()));
        } else {
            PrintLine(std::wstring(name) + L"=type:" + std::to_wstring(type));
        }
    }
    return 0;
}

// Waits for every process named `name` that runs now (ten seconds at most).
void WaitForProcessesNamed(const wchar_t* name) {
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more;
         more = ::Process32NextW(snapshot, &entry)) {
        if (_wcsicmp(entry.szExeFile, name) != 0) continue;
        if (HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, entry.th32ProcessID)) {
            ::WaitForSingleObject(process, 10000);
            ::CloseHandle(process);
        }
    }
    ::CloseHandle(snapshot);
}

// Runs an uninstall command and waits for it, and for the copy of itself an
// NSIS uninstaller goes on in (Au_.exe, started before the original ends).
// Its exit code.
int RunUninstaller(std::wstring command) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process)) {
        std::fprintf(stderr, "install_probe: the uninstaller did not start\n");
        return 1;
    }
    ::WaitForSingleObject(process.hProcess, 60000);
    DWORD code = 1;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    WaitForProcessesNamed(L"Au_.exe");
    return static_cast<int>(code);
}

// The entry's quiet uninstall command, run.
int RunQuietUninstall(HKEY root) {
    RegistryKey key(root, kUninstallKey);
    wchar_t command[1024] = {};
    DWORD size = sizeof(command) - sizeof(wchar_t);
    if (key.Get() == nullptr ||
        ::RegQueryValueExW(key.Get(), L"QuietUninstallString", nullptr, nullptr,
                           reinterpret_cast<BYTE*>(command), &size) != ERROR_SUCCESS) {
        std::fprintf(stderr, "install_probe: no QuietUninstallString\n");
        return 1;
    }
    return RunUninstaller(command);
}

const wchar_t kSetupCaptionStart[] = L"Quendril成语学习软件 ";  // "... 安装"
const wchar_t kProgramCaption[] = L"Quendril成语学习软件";

BOOL CALLBACK FindSetupWindow(HWND window, LPARAM found) {
    wchar_t caption[128] = {};
    ::GetWindowTextW(window, caption, 128);
    if (::IsWindowVisible(window) &&
        std::wcsncmp(caption, kSetupCaptionStart, std::wcslen(kSetupCaptionStart)) == 0) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindInnerDialog(HWND window, LPARAM found) {
    wchar_t className[16] = {};
    ::GetClassNameW(window, className, 16);
    if (std::wcscmp(className, L"#32770") == 0 && ::IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// The page shown: the setup window's visible child dialog.
HWND InnerDialog(HWND setup) {
    HWND found = nullptr;
    ::EnumChildWindows(setup, &FindInnerDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

int FinishSetup() {
    HWND clickedPage = nullptr;
    HANDLE process = nullptr;  // the setup program's, once its window is found
    for (int round = 0; round < 1200; ++round) {  // two minutes
        if (process != nullptr && ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0) {
            ::CloseHandle(process);
            return 0;
        }
        HWND setup = nullptr;
        ::EnumWindows(&FindSetupWindow, reinterpret_cast<LPARAM>(&setup));
        if (setup != nullptr && process == nullptr) {
            DWORD pid = 0;
            ::GetWindowThreadProcessId(setup, &pid);
            process = ::OpenProcess(SYNCHRONIZE, FALSE, pid);
        }
        // Each page is a new inner dialog: one click a page.
        HWND page = setup != nullptr ? InnerDialog(setup) : nullptr;
        HWND next = setup != nullptr ? ::GetDlgItem(setup, IDOK) : nullptr;
        if (page != nullptr && page != clickedPage && next != nullptr && ::IsWindowEnabled(next)) {
            ::PostMessageW(setup, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                           reinterpret_cast<LPARAM>(next));
            clickedPage = page;
        }
        ::Sleep(100);
    }
    if (process != nullptr) ::CloseHandle(process);
    std::fprintf(stderr, "install_probe: the setup program did not end\n");
    return 1;
}

std::wstring ProcessName(DWORD pid, DWORD* parent) {
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    std::wstring name;
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more;
         more = ::Process32NextW(snapshot, &entry)) {
        if (entry.th32ProcessID == pid) {
            name = entry.szExeFile;
            if (parent != nullptr) *parent = entry.th32ParentProcessID;
        }
    }
    ::CloseHandle(snapshot);
    return name;
}

int ShowRunningProgram() {
    HWND main = nullptr;
    wchar_t idiom[64] = {};
    for (int round = 0; round < 600 && idiom[0] == L'\0'; ++round) {  // a minute
        main = ::FindWindowW(L"#32770", kProgramCaption);
        if (main != nullptr) ::GetDlgItemTextW(main, IDC_IDIOM, idiom, 64);
        ::Sleep(100);
    }
    if (main == nullptr) {
        std::fprintf(stderr, "install_probe: the program's window did not appear\n");
        return 1;
    }
    DWORD pid = 0, parent = 0;
    ::GetWindowThreadProcessId(main, &pid);
    ProcessName(pid, &parent);
    PrintLine(idiom);
    PrintLine(ProcessName(parent, nullptr));
    if (HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
        ::TerminateProcess(process, 0);
        ::WaitForSingleObject(process, 10000);
        ::CloseHandle(process);
    }
    return 0;
}

}  // namespace

int main() {
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    const std::wstring command = argc > 1 ? argv[1] : L"";
    const std::wstring argument = argc > 2 ? argv[2] : L"";
    ::LocalFree(argv);

    ComApartment apartment;
    if (command == L"folders" && argument == L"all") {
        PrintLine(KnownFolder(FOLDERID_ProgramFiles));  // "(x86)" for a 32-bit program
        PrintLine(KnownFolder(FOLDERID_CommonPrograms));
        PrintLine(KnownFolder(FOLDERID_PublicDesktop));
        return 0;
    }
    if (command == L"folders") {
        // Its documented default where the system does not know it (Wine).
        const std::wstring programs = KnownFolder(FOLDERID_UserProgramFiles);
        PrintLine(!programs.empty() ? programs
                                    : KnownFolder(FOLDERID_LocalAppData) + L"\\Programs");
        PrintLine(KnownFolder(FOLDERID_Programs));
        PrintLine(KnownFolder(FOLDERID_Desktop));
        return 0;
    }
    if (command == L"shortcut" || command == L"start") {
        Shortcut shortcut;
        if (!ReadShortcut(argument, shortcut)) {
            std::fprintf(stderr, "install_probe: cannot read the shortcut\n");
            return 1;
        }
        if (command == L"start") return StartShortcut(shortcut);
        PrintLine(shortcut.target);
        PrintLine(shortcut.workingFolder);
        return 0;
    }
    if (command == L"entry") return PrintEntry(EntryRoot(argument));
    if (command == L"uninstall") return RunQuietUninstall(EntryRoot(argument));
    if (command == L"run-uninstaller") return RunUninstaller(L"\"" + argument + L"\" /S");
    if (command == L"finish-setup") return FinishSetup();
    if (command == L"running") return ShowRunningProgram();
    std::fprintf(stderr,
                 "usage: install_probe folders MODE | shortcut LNK | start LNK | entry MODE | "
                 "uninstall MODE | run-uninstaller EXE | finish-setup | running\n");
    return 2;
}

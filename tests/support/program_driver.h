#pragma once
// Starts the real program in a folder of its own and drives it from outside,
// as a learner's mouse and keyboard would: messages to its windows, texts read
// back from its controls.

#include <string>
#include <vector>

#include "afx_win.h"

namespace e2e {

// The program's executable, as given to the test on its command line (a Unix
// path is turned into Wine's Z: path).
std::wstring ProgramPath();
void SetProgramPath(const std::string& path);
void SetProgramPath(const std::wstring& windowsPath);

// The test program's further arguments (after the program's path), as given.
const std::vector<std::string>& TestArguments();
void SetTestArguments(std::vector<std::string> arguments);

// A Unix path from the environment as a path this Windows process can open.
std::wstring HostPath(const std::string& unixPath);

// The visible dialog-class window of process `pid` with this caption, other
// than `exclude`; nullptr when there is none.
HWND FindProcessWindow(DWORD pid, const wchar_t* caption, HWND exclude = nullptr);

class ProgramDriver {
public:
    // Starts the program with `folder` as its current directory.
    explicit ProgramDriver(const std::wstring& folder);
    ~ProgramDriver();  // ends the program if it still runs
    ProgramDriver(const ProgramDriver&) = delete;
    ProgramDriver& operator=(const ProgramDriver&) = delete;

    // Waits until the main dialog is shown; with `withEntry`, also until the
    // idiom box holds text. Returns false on time-out.
    bool WaitForMainWindow(bool withEntry, DWORD timeoutMs = 20000);

    HWND Main() const { return m_main; }
    HANDLE Process() const { return m_process.hProcess; }

    // A control's text as GBK.
    std::string Text(int id) const;
    void SetText(int id, const std::wstring& text) const;

    // Clicks a button and waits until the program has handled the click.
    void Click(int id) const;
    // Clicks without waiting (for a click that opens a modal window).
    void PostClick(int id) const;
    // A key pressed on the program's focused control.
    void PressKey(UINT virtualKey) const;
    void PostSysCommand(UINT command) const;

    // Waits until every message already posted has been handled.
    void Sync() const;

    // The newest visible dialog-class window of the program with this
    // caption, other than the main one; nullptr after the time-out.
    HWND WaitForWindow(const std::wstring& caption, DWORD timeoutMs = 10000) const;

    // Waits for the program to end; its exit code, or -1 on time-out.
    long WaitForExit(DWORD timeoutMs = 10000) const;

    // Handles (GDI objects, USER objects) and private bytes of the process.
    DWORD GdiObjects() const;
    DWORD UserObjects() const;
    SIZE_T PrivateBytes() const;

private:
    PROCESS_INFORMATION m_process = {};
    HWND m_main = nullptr;
};

}  // namespace e2e

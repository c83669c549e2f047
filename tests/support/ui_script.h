#pragma once
// Helpers for driving dialogs from inside a test: a modal dialog runs its own
// message loop, so the test's steps run from a thread timer inside that loop,
// one step per tick, each finding the windows it needs.

#include <functional>
#include <string>
#include <vector>

#include "afx_win.h"

namespace uitest {

using Step = std::function<void()>;

// Runs `steps`, one per timer tick, while `body` runs (typically DoModal).
// A step waits while the thread's newest dialog is hidden: one that a step
// opened is then still to be shown (so hide none of them before a last step).
// Dialogs still open some 10 s after the last step are a failure, and are
// ended with IDABORT rather than waited for.
// Returns false when the steps did not all run before `body` returned.
bool RunWithSteps(const std::vector<Step>& steps, const std::function<void()>& body);

// The newest visible top-level window of this thread with this class name
// ("#32770" for dialogs and message boxes), or nullptr.
HWND FindThreadWindow(const wchar_t* className = L"#32770");

// A window's or control's text as GBK.
std::string GetTextGbk(HWND window);
std::string GetItemTextGbk(HWND dialog, int id);
void SetItemTextGbk(HWND dialog, int id, const std::string& gbk);

// Clicks a push button the way the user does, through a posted notification.
void Click(HWND dialog, int id);

// Presses and releases a key on the focused control, through the dialog
// manager's own keyboard handling.
void PressKey(HWND target, UINT virtualKey);

}  // namespace uitest

#include "ui_script.h"

#include <gtest/gtest.h>

#include <cwchar>

#include "text_conversion.h"

namespace uitest {

namespace {

struct StepRun {
    const std::vector<Step>* steps = nullptr;
    std::size_t next = 0;
    int ticksAfterLastStep = 0;
};

// About 10 s of ticks: the steps close what they open, so a dialog still up
// by then was left open by a fault.
constexpr int kTicksBeforeGivingUp = 250;
StepRun* g_run = nullptr;

BOOL CALLBACK CheckNewestDialog(HWND window, LPARAM lParam) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    if (std::wcscmp(name, L"#32770") != 0) return TRUE;
    *reinterpret_cast<HWND*>(lParam) = window;  // from the top of the Z order
    return FALSE;
}

// A dialog made without WS_VISIBLE is shown by its modal loop once the queue
// is empty, and an expired timer keeps it from being empty: under load a tick
// comes between the dialog's creation and its showing.
bool NewestDialogNotShownYet() {
    HWND newest = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), &CheckNewestDialog,
                        reinterpret_cast<LPARAM>(&newest));
    return newest != nullptr && !::IsWindowVisible(newest);
}

BOOL CALLBACK EndDialogWindow(HWND window, LPARAM) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    if (std::wcscmp(name, L"#32770") == 0) ::EndDialog(window, IDABORT);
    return TRUE;
}

void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
    if (g_run == nullptr) return;
    if (g_run->next >= g_run->steps->size()) {
        if (++g_run->ticksAfterLastStep == kTicksBeforeGivingUp) {
            ADD_FAILURE() << "a dialog stayed open after the last step; ended with IDABORT";
            ::EnumThreadWindows(::GetCurrentThreadId(), &EndDialogWindow, 0);
        }
        return;
    }
    if (NewestDialogNotShownYet()) return;
    // Advance first: a step may open a nested modal loop in which the next
    // ticks keep running.
    const Step& step = (*g_run->steps)[g_run->next++];
    step();
}

struct FindState {
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK CheckWindow(HWND window, LPARAM lParam) {
    auto* state = reinterpret_cast<FindState*>(lParam);
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    if (::IsWindowVisible(window) && std::wcscmp(name, state->className) == 0) {
        // Enumeration runs from the top of the Z order: the first is newest.
        if (state->found == nullptr) state->found = window;
    }
    return TRUE;
}

}  // namespace

bool RunWithSteps(const std::vector<Step>& steps, const std::function<void()>& body) {
    StepRun run;
    run.steps = &steps;
    StepRun* outer = g_run;
    g_run = &run;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 40, &OnTick);
    body();
    ::KillTimer(nullptr, timer);
    g_run = outer;
    return run.next == steps.size();
}

HWND FindThreadWindow(const wchar_t* className) {
    FindState state{className, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), &CheckWindow, reinterpret_cast<LPARAM>(&state));
    return state.found;
}

std::string GetTextGbk(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(window, text.data(), length + 1)));
    return afx::WideToGbk(text);
}

std::string GetItemTextGbk(HWND dialog, int id) { return GetTextGbk(::GetDlgItem(dialog, id)); }

void SetItemTextGbk(HWND dialog, int id, const std::string& gbk) {
    ::SetDlgItemTextW(dialog, id, afx::GbkToWide(gbk).c_str());
}

void Click(HWND dialog, int id) {
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

void PressKey(HWND target, UINT virtualKey) {
    ::PostMessageW(target, WM_KEYDOWN, virtualKey, 1);
    ::PostMessageW(target, WM_KEYUP, virtualKey, 1 | (1u << 30) | (1u << 31));
}

}  // namespace uitest

#pragma once
// Opening a web address in the user's browser.

// Asks the shell to "open" a GBK web address, with no owner window and no
// error box of its own; returns whether the shell accepted it. The launch has
// completed when this returns, so the caller may end the process right after.
// The calling thread must be in a single-threaded COM apartment (AfxWinMain
// sets one up), because the shell may hand the address to COM handlers.
bool ShellOpen(const char* address);

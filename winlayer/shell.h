#pragma once
// Opening a web address in the user's browser.

// Asks the shell to "open" a GBK web address, with no owner window; returns
// whether the shell accepted it.
bool ShellOpen(const char* address);

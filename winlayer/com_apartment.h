#pragma once
// The calling thread's single-threaded COM apartment, for as long as the
// object lives: the shell hands web addresses, and reads shortcuts, through
// COM. Closed only when it was opened here.

#include <objbase.h>

class ComApartment {
public:
    ComApartment()
        : m_opened(SUCCEEDED(
              ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ~ComApartment() {
        if (m_opened) ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool m_opened;
};

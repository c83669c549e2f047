#pragma once
// Owners of GDI resources: each frees its handle when it goes out of scope.

#include "afx_win.h"

class CWnd;

class CFont {
public:
    CFont() = default;
    ~CFont();
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;

    // A font of nPointSize tenths of a point for the screen (or hDC), with the
    // GBK face name, default weight and character set.
    BOOL CreatePointFont(int nPointSize, const char* lpszFaceName, HDC hDC = nullptr);

    operator HFONT() const { return m_hObject; }
    HFONT m_hObject = nullptr;
};

// The device context of one WM_PAINT: BeginPaint on construction, EndPaint
// on destruction.
class CPaintDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC();
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    HDC GetSafeHdc() const { return m_hDC; }
    BOOL DrawIcon(int x, int y, HICON hIcon) { return ::DrawIcon(m_hDC, x, y, hIcon); }

    HDC m_hDC;
    PAINTSTRUCT m_ps;

private:
    HWND m_hWnd;
};

// The screen's device context for as long as it is in scope.
class CScreenDC {
public:
    CScreenDC() : m_hDC(::GetDC(nullptr)) {}
    ~CScreenDC() { ::ReleaseDC(nullptr, m_hDC); }
    CScreenDC(const CScreenDC&) = delete;
    CScreenDC& operator=(const CScreenDC&) = delete;
    operator HDC() const { return m_hDC; }

private:
    HDC m_hDC;
};

// A window's client-area device context for as long as it is in scope; a font
// selected into it is taken out again before the context is released.
class CClientDC {
public:
    explicit CClientDC(HWND hWnd) : m_hWnd(hWnd), m_hDC(::GetDC(hWnd)) {}
    ~CClientDC();
    CClientDC(const CClientDC&) = delete;
    CClientDC& operator=(const CClientDC&) = delete;
    operator HDC() const { return m_hDC; }

    void SelectFont(HFONT hFont);

private:
    HWND m_hWnd;
    HDC m_hDC;
    HGDIOBJ m_hOriginalFont = nullptr;
};

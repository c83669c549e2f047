#include "gdi.h"

#include <cwchar>
#include <string>

#include "text_conversion.h"
#include "wnd.h"

CFont::~CFont() {
    if (m_hObject != nullptr) {
        ::DeleteObject(m_hObject);
    }
}

BOOL CFont::CreatePointFont(int nPointSize, const char* lpszFaceName, HDC hDC) {
    LOGFONTW font = {};
    font.lfCharSet = DEFAULT_CHARSET;
    const std::wstring face = afx::GbkToWide(lpszFaceName ? lpszFaceName : "");
    std::wcsncpy(font.lfFaceName, face.c_str(), LF_FACESIZE - 1);

    // Tenths of a point to pixels of the device: 720 tenths to the inch.
    int pixelsPerInch = 0;
    if (hDC != nullptr) {
        pixelsPerInch = ::GetDeviceCaps(hDC, LOGPIXELSY);
    } else {
        const CScreenDC screen;
        pixelsPerInch = ::GetDeviceCaps(screen, LOGPIXELSY);
    }
    font.lfHeight = -::MulDiv(pixelsPerInch, nPointSize, 720);

    HFONT created = ::CreateFontIndirectW(&font);
    if (created == nullptr) {
        return FALSE;
    }
    if (m_hObject != nullptr) {
        ::DeleteObject(m_hObject);
    }
    m_hObject = created;
    return TRUE;
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd) { m_hDC = ::BeginPaint(m_hWnd, &m_ps); }

CPaintDC::~CPaintDC() { ::EndPaint(m_hWnd, &m_ps); }

CClientDC::~CClientDC() {
    if (m_hOriginalFont != nullptr) {
        ::SelectObject(m_hDC, m_hOriginalFont);
    }
    ::ReleaseDC(m_hWnd, m_hDC);
}

void CClientDC::SelectFont(HFONT hFont) {
    HGDIOBJ previous = ::SelectObject(m_hDC, hFont);
    if (m_hOriginalFont == nullptr) {
        m_hOriginalFont = previous;
    }
}

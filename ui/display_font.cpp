#include "display_font.h"

#include <array>

namespace {

constexpr char kDisplayFontFace[] = "\xCB\xCE\xCC\xE5";  // 宋体, GBK
constexpr int kSizes = kDisplayFontPoints - kSmallestFontPoints + 1;

bool IsEdit(HWND hControl) {
    wchar_t kind[8] = {};
    ::GetClassNameW(hControl, kind, 8);
    return ::lstrcmpiW(kind, L"Edit") == 0;
}

// The width the field gives its text in the font it holds now: an edit box
// keeps margins that follow its font, a static draws across its client area.
int Room(HWND hControl, bool edit) {
    RECT room = {};
    if (edit) {
        ::SendMessageW(hControl, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&room));
    } else {
        ::GetClientRect(hControl, &room);
    }
    return room.right - room.left;
}

// The width of `text` on one line in `font`, as the field draws it: a static
// without SS_NOPREFIX turns "&" into an underline, an edit box shows it.
int TextWidth(HWND hControl, bool edit, HFONT font, std::wstring_view text) {
    const bool prefix = !edit && (::GetWindowLongW(hControl, GWL_STYLE) & SS_NOPREFIX) == 0;
    CClientDC dc(hControl);
    dc.SelectFont(font);
    RECT needed = {};
    ::DrawTextW(dc, text.data(), static_cast<int>(text.size()), &needed,
                DT_CALCRECT | DT_SINGLELINE | (prefix ? 0 : DT_NOPREFIX));
    return needed.right - needed.left;
}

// Gives the field the display face at `nPoints` and tells whether `text` fits
// it then (an edit box's margins follow its font).
bool FitsAt(HWND hControl, bool edit, int nPoints, std::wstring_view text) {
    HFONT font = DisplayFont(nPoints);
    if (reinterpret_cast<HFONT>(::SendMessageW(hControl, WM_GETFONT, 0, 0)) != font) {
        ::SendMessageW(hControl, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    return TextWidth(hControl, edit, font, text) <= Room(hControl, edit);
}

}  // namespace

HFONT DisplayFont(int nPoints) {
    // Never freed, like any font a control may still hold at exit. A size is
    // made the first time it is asked for: most dictionaries need only 25.
    static auto* s_pFonts = new std::array<CFont, kSizes>;
    CFont& font = (*s_pFonts)[nPoints - kSmallestFontPoints];
    if (font.m_hObject == nullptr) {
        font.CreatePointFont(nPoints * 10, kDisplayFontFace);
    }
    return font;
}

void FitDisplayFont(HWND hControl, std::wstring_view text) {
    const bool edit = IsEdit(hControl);
    if (FitsAt(hControl, edit, kDisplayFontPoints, text)) {
        return;
    }
    // A text never gets narrower in a larger size, so the sizes in between
    // are searched by halves. The smallest is taken even when it is too wide.
    int fits = kSmallestFontPoints;
    int tooWide = kDisplayFontPoints;
    while (tooWide - fits > 1) {
        const int middle = (fits + tooWide) / 2;
        (FitsAt(hControl, edit, middle, text) ? fits : tooWide) = middle;
    }
    FitsAt(hControl, edit, fits, text);
}

// Opens the main dialog on a one-entry dictionary and writes to the file named
// on its command line what the screen's DPI changes: the DPI, the sizes of the
// dialog and its controls in pixels, the display font's height, and the room
// each control's text needs against the room it has. The high-DPI test runs it
// once for each DPI.
#include <fstream>
#include <sstream>

#include "gbk_literal.h"
#include "idiom_dlg.h"
#include "resource.h"
#include "scratch_dir.h"
#include "ui_script.h"

namespace {

constexpr int kControls[] = {IDOK,        IDCANCEL, IDC_PINYIN, IDC_IDIOM,
                             IDC_EXPLAIN, IDC_PREV, IDC_NEXT};

// The room a control has for its text: an edit box's formatting rectangle, a
// button's face inside its 3-D edge, a static's client area.
RECT TextArea(HWND control) {
    RECT area;
    wchar_t kind[16] = {};
    ::GetClassNameW(control, kind, 16);
    if (::lstrcmpiW(kind, L"Edit") == 0) {
        ::SendMessageW(control, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&area));
        return area;
    }
    ::GetClientRect(control, &area);
    if (::lstrcmpiW(kind, L"Button") == 0) {
        ::InflateRect(&area, -2 * ::GetSystemMetrics(SM_CXEDGE),
                      -2 * ::GetSystemMetrics(SM_CYEDGE));
    }
    return area;
}

// The size the control's text takes in its own font, wrapped to the area's
// width where the control wraps.
SIZE TextNeeds(HWND control, const RECT& area) {
    const int length = ::GetWindowTextLengthW(control);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(control, text.data(), length + 1)));
    const bool multiline = (::GetWindowLongW(control, GWL_STYLE) & ES_MULTILINE) &&
                           ::GetDlgCtrlID(control) == IDC_EXPLAIN;
    HDC dc = ::GetDC(control);
    HGDIOBJ old =
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT needed = {0, 0, area.right - area.left, 0};
    const UINT layout = multiline ? DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX : DT_SINGLELINE;
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed, DT_CALCRECT | layout);
    ::SelectObject(dc, old);
    ::ReleaseDC(control, dc);
    return {needed.right - needed.left, needed.bottom - needed.top};
}

std::string Measure(HWND dialog) {
    std::ostringstream out;
    HDC screen = ::GetDC(nullptr);
    out << "dpi " << ::GetDeviceCaps(screen, LOGPIXELSY) << '\n';
    ::ReleaseDC(nullptr, screen);
    RECT client;
    ::GetClientRect(dialog, &client);
    out << "dialog " << client.right << ' ' << client.bottom << '\n';
    for (int id : kControls) {
        HWND control = ::GetDlgItem(dialog, id);
        RECT box;
        ::GetWindowRect(control, &box);
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&box), 2);
        out << "control" << id << ' ' << box.left << ' ' << box.top << ' ' << box.right - box.left
            << ' ' << box.bottom - box.top << '\n';
        const RECT area = TextArea(control);
        const SIZE needs = TextNeeds(control, area);
        out << "text" << id << ' ' << needs.cx << ' ' << needs.cy << ' ' << area.right - area.left
            << ' ' << area.bottom - area.top << '\n';
    }
    LOGFONTW font = {};
    ::GetObjectW(
        reinterpret_cast<HFONT>(::SendDlgItemMessageW(dialog, IDC_IDIOM, WM_GETFONT, 0, 0)),
        sizeof(font), &font);
    out << "font " << font.lfHeight << '\n';
    return out.str();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string report = argv[1];
    WorkingDir dir;
    dir.Write(u8"成语.txt", Gbk(u8"画蛇添足 [huà shé tiān zú]比喻做了多余的事，反而不恰当。"
                                u8"出处：《战国策·齐策二》。示例：你这样做是画蛇添足。\r\n"));
    std::string measured;
    CIdiomDlg dlg;
    uitest::RunWithSteps({[&] {
                             HWND dialog = uitest::FindThreadWindow();
                             measured = Measure(dialog);
                             ::EndDialog(dialog, IDOK);
                         }},
                         [&] { dlg.DoModal(); });
    std::ofstream(report, std::ios::binary) << measured;
    return measured.empty() ? 1 : 0;
}

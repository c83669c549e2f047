// Opens the main dialog and writes to the file named on its command line what
// the screen's DPI changes: the DPI, the sizes of the dialog and its controls
// in pixels, the display font's height, and the room each control's text needs
// against the room it has, on a short entry; then, for every entry of the
// starter dictionary and for the longest texts a large dictionary holds, how
// the pronunciation and the idiom are drawn; then the same room against need
// for the About box's texts. The high-DPI test runs it once for each DPI.
#include <filesystem>
#include <fstream>
#include <iterator>
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

HFONT FontOf(HWND control) {
    return reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
}

// The size the control's text takes in `font` (its own by default), wrapped
// to the area's width where the control wraps: the explanation box and a
// static without SS_CENTERIMAGE.
SIZE TextNeeds(HWND control, const RECT& area, HFONT font = nullptr) {
    const int length = ::GetWindowTextLengthW(control);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(control, text.data(), length + 1)));
    const LONG style = ::GetWindowLongW(control, GWL_STYLE);
    wchar_t kind[16] = {};
    ::GetClassNameW(control, kind, 16);
    const bool isStatic = ::lstrcmpiW(kind, L"Static") == 0;
    const bool wraps = isStatic ? (style & SS_CENTERIMAGE) == 0
                                : (style & ES_MULTILINE) && ::GetDlgCtrlID(control) == IDC_EXPLAIN;
    const bool prefix = isStatic && (style & SS_NOPREFIX) == 0;
    CClientDC dc(control);
    dc.SelectFont(font != nullptr ? font : FontOf(control));
    RECT needed = {0, 0, area.right - area.left, 0};
    const UINT layout =
        (wraps ? DT_WORDBREAK | DT_EDITCONTROL : DT_SINGLELINE) | (prefix ? 0 : DT_NOPREFIX);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed, DT_CALCRECT | layout);
    return {needed.right - needed.left, needed.bottom - needed.top};
}

int ScreenDpi() {
    const CScreenDC screen;
    return ::GetDeviceCaps(screen, LOGPIXELSY);
}

// "KEY needWidth needHeight roomWidth roomHeight" of a control's text.
std::string TextLine(const std::string& key, HWND control) {
    const RECT area = TextArea(control);
    const SIZE needs = TextNeeds(control, area);
    std::ostringstream out;
    out << key << ' ' << needs.cx << ' ' << needs.cy << ' ' << area.right - area.left << ' '
        << area.bottom - area.top << '\n';
    return out.str();
}

// How a one-line field draws entry `entry`: "fitID entry points need room
// need25 needUp": its font's size in points, the width its text needs in that
// font against the room it has, and the width in 25 points and in one point
// more than it got.
std::string FieldLine(HWND dialog, int id, int entry) {
    HWND control = ::GetDlgItem(dialog, id);
    LOGFONTW font = {};
    ::GetObjectW(FontOf(control), sizeof(font), &font);
    int points = 1;
    while (points < 72 && -::MulDiv(ScreenDpi(), points * 10, 720) != font.lfHeight) ++points;
    const RECT area = TextArea(control);
    auto needsAt = [&](int size) {
        CFont other;
        other.CreatePointFont(size * 10, "\xCB\xCE\xCC\xE5");  // 宋体
        return TextNeeds(control, area, other).cx;
    };
    std::ostringstream out;
    out << "fit" << id << ' ' << entry << ' ' << points << ' ' << TextNeeds(control, area).cx << ' '
        << area.right - area.left << ' ' << needsAt(25) << ' ' << needsAt(points + 1) << '\n';
    return out.str();
}

std::string Measure(HWND dialog) {
    std::ostringstream out;
    out << "dpi " << ScreenDpi() << '\n';
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
        out << TextLine("text" + std::to_string(id), control);
    }
    LOGFONTW font = {};
    ::GetObjectW(FontOf(::GetDlgItem(dialog, IDC_IDIOM)), sizeof(font), &font);
    out << "font " << font.lfHeight << '\n';
    return out.str();
}

// Find with the longest pronunciation listed: "findtextN ..." for each control's
// text, and "findlist extent room idiom pinyin": how far the list scrolls
// sideways, its width, and the widths of the item's two parts.
std::string MeasureFind(HWND find) {
    ::SetDlgItemTextW(find, IDC_FIND_TEXT, L"shuang zhuang chuang");
    std::string measured;
    int n = 0;
    for (HWND c = ::GetWindow(find, GW_CHILD); c != nullptr; c = ::GetWindow(c, GW_HWNDNEXT)) {
        measured += TextLine("findtext" + std::to_string(n++), c);
    }
    HWND list = ::GetDlgItem(find, IDC_FIND_LIST);
    const LRESULT length = ::SendMessageW(list, LB_GETTEXTLEN, 0, 0);
    std::wstring item(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
    ::SendMessageW(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(item.data()));
    item.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    const std::size_t tab = item.find(L'\t');
    RECT area;
    ::GetClientRect(list, &area);
    CClientDC dc(list);
    dc.SelectFont(FontOf(list));
    auto width = [&](std::wstring_view text) {
        SIZE size = {};
        ::GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
        return size.cx;
    };
    std::ostringstream out;
    out << "findlist " << ::SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0) << ' ' << area.right
        << ' ' << width(std::wstring_view(item).substr(0, tab)) << ' '
        << (tab == std::wstring::npos ? 0 : width(std::wstring_view(item).substr(tab + 1))) << '\n';
    return measured + out.str();
}

// The longest texts of a large dictionary in one entry: an idiom of 15
// characters and a pronunciation of 50, brackets included.
std::string LongestEntry() {
    return Gbk(
        u8"甲乙丙丁戊己庚，辛壬癸子丑寅卯 [shuāng zhuàng chuǎng guāng huáng shuǎng zhuàng "
        u8"é]释义。\r\n");
}

std::string StarterDictionary() {
    std::filesystem::path path(std::u8string(u8"" QUENDRIL_STARTER_DICTIONARY));
    if (path.native().starts_with(L"/")) path = L"Z:" + path.native();
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string report = argv[1];
    const std::string starter = StarterDictionary();
    if (starter.empty()) return 3;
    WorkingDir dir;
    dir.Write(u8"成语.txt", Gbk(u8"画蛇添足 [huà shé tiān zú]比喻做了多余的事，反而不恰当。"
                                u8"出处：《战国策·齐策二》。示例：你这样做是画蛇添足。\r\n") +
                                starter + LongestEntry());
    std::string measured;
    CIdiomDlg dlg;
    uitest::RunWithSteps(
        {[&] {
             HWND dialog = uitest::FindThreadWindow();
             dlg.ShowEntry(0);
             measured = Measure(dialog);
             for (int i = 0; i < static_cast<int>(dlg.m_arrIdioms.size()); ++i) {
                 dlg.ShowEntry(i);
                 measured += FieldLine(dialog, IDC_PINYIN, i) + FieldLine(dialog, IDC_IDIOM, i);
             }
             ::PostMessageW(dialog, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
         },
         [&] {
             HWND about = uitest::FindThreadWindow();
             int n = 0;
             for (HWND c = ::GetWindow(about, GW_CHILD); c != nullptr;
                  c = ::GetWindow(c, GW_HWNDNEXT)) {
                 measured += TextLine("about" + std::to_string(n++), c);
             }
             ::EndDialog(about, IDOK);
         },
         [&] { ::PostMessageW(uitest::FindThreadWindow(), WM_SYSCOMMAND, IDM_FINDIDIOM, 0); },
         [&] {
             measured += MeasureFind(uitest::FindThreadWindow());
             ::EndDialog(uitest::FindThreadWindow(), IDCANCEL);
         },
         [&] { ::EndDialog(uitest::FindThreadWindow(), IDOK); }},
        [&] { dlg.DoModal(); });
    std::ofstream(report, std::ios::binary) << measured;
    return measured.empty() ? 1 : 0;
}

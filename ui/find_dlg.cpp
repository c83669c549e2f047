#include "find_dlg.h"

#include <string>

#include "entry_fields.h"
#include "resource.h"

namespace {

// The idiom stops at this tab stop (in dialog units, eight characters and a
// gap); a longer one pushes its pinyin on to the next.
constexpr int kPinyinTabStop = 72;

// Only the idiom and the pinyin are listed: the explanation is cut short
// before it is laid out, so each keystroke lays out little.
constexpr std::size_t kListedFieldBytes = 1024;

// Puts `number` in place of the first "%u" of `text`.
void PutNumber(std::string& text, std::size_t number) {
    const std::size_t at = text.find("%u");
    if (at != std::string::npos) {
        text.replace(at, 2, std::to_string(number));
    }
}

}  // namespace

BEGIN_MESSAGE_MAP(CFindDlg, CDialog)
    ON_EN_CHANGE(IDC_FIND_TEXT, OnTextChange)
    ON_LBN_DBLCLK(IDC_FIND_LIST, OnOK)
END_MESSAGE_MAP()

CFindDlg::CFindDlg(const IdiomList& list, const IdiomFinder& finder, CWnd* pParent)
    : CDialog(IDD_FIND_IDIOM, pParent), m_list(list), m_finder(finder) {}

BOOL CFindDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_matches = CListBox(GetDlgItem(IDC_FIND_LIST).GetSafeHwnd());
    m_matches.SetTabStops(kPinyinTabStop);
    return TRUE;  // the focus goes to the first tab stop, the text box
}

// Lists the matches of the text as it now stands, the best one selected.
void CFindDlg::OnTextChange() {
    const FindResult found = m_finder.Find(GetDlgItem(IDC_FIND_TEXT).GetWindowText(), kMaxListed);
    m_matches.SetRedraw(false);
    m_matches.ResetContent();
    m_listed.clear();
    for (const FindMatch& match : found.matches) {
        const EntryFields fields = SplitEntry(m_list[match.entry], kListedFieldBytes);
        std::string pinyin = fields.pronunciation;
        if (!pinyin.empty() && pinyin[0] == ' ') {
            pinyin.erase(0, 1);  // the space that ends the idiom
        }
        m_matches.AddString(fields.idiom + '\t' + pinyin);
        m_listed.push_back(match.entry);
    }
    if (!m_listed.empty()) {
        m_matches.SetCurSel(0);
    }
    m_matches.FitHorizontalExtent();
    m_matches.SetRedraw(true);
    ShowCount(found.total);
}

void CFindDlg::ShowCount(std::size_t total) {
    CString text;
    if (!GetDlgItem(IDC_FIND_TEXT).GetWindowText().empty()) {
        text.LoadString(total > m_listed.size() ? IDS_FIND_COUNT_LISTED : IDS_FIND_COUNT);
        PutNumber(text, total);
        PutNumber(text, m_listed.size());
    }
    GetDlgItem(IDC_FIND_COUNT).SetWindowText(text);
}

// Enter, OK or a double click: the selected match is the one to show. With
// nothing selected Find stays open.
void CFindDlg::OnOK() {
    const int selected = m_matches.GetCurSel();
    if (selected < 0 || static_cast<std::size_t>(selected) >= m_listed.size()) {
        return;
    }
    m_nChosen = m_listed[static_cast<std::size_t>(selected)];
    EndDialog(IDOK);
}

// Up and Down (and the page keys) in the text box move in the list, so the
// learner picks a match without leaving the text.
BOOL CFindDlg::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_KEYDOWN && pMsg->hwnd == GetDlgItem(IDC_FIND_TEXT).GetSafeHwnd()) {
        switch (pMsg->wParam) {
            case VK_UP:
            case VK_DOWN:
            case VK_PRIOR:
            case VK_NEXT:
                m_matches.SendMessage(WM_KEYDOWN, pMsg->wParam, pMsg->lParam);
                return TRUE;
            default:
                break;
        }
    }
    return FALSE;
}

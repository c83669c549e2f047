#pragma once
// Find: the learner types an idiom, its pinyin or its initials, and picks one
// of the matches, which the main dialog then shows.

#include <cstddef>
#include <vector>

#include "afx.h"
#include "idiom_finder.h"

class CFindDlg : public CDialog {
public:
    CFindDlg(const IdiomList& list, const IdiomFinder& finder, CWnd* pParent);

    // The entry picked, valid after DoModal returned IDOK.
    std::size_t m_nChosen = 0;

    // The list shows at most this many matches; the count above it says how
    // many there are in all.
    static constexpr std::size_t kMaxListed = 300;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    void OnTextChange();

    DECLARE_MESSAGE_MAP()

private:
    void ShowCount(std::size_t total);

    const IdiomList& m_list;
    const IdiomFinder& m_finder;
    std::vector<std::size_t> m_listed;  // the entry of each list item
    CListBox m_matches;
};

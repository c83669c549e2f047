#include "browsing.h"

#include <cstdlib>
#include <ctime>

void IdiomBrowser::ShowEntry(int index) {
    EntryFields fields =
        SplitEntry(m_arrIdioms[static_cast<std::size_t>(index)], kMaxShownFieldBytes);
    m_strIdiom = std::move(fields.idiom);
    m_strPinyin = std::move(fields.pronunciation);
    m_strExplain = std::move(fields.explanation);
    RefreshFields();
}

void IdiomBrowser::StartEntry() {
    if (m_arrIdioms.empty()) {
        return;
    }
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    const int start = static_cast<int>(static_cast<std::size_t>(std::rand()) % m_arrIdioms.size());
    ShowEntry(start);
    m_nCurrent = start;
}

void IdiomBrowser::GoToEntry(std::size_t index) {
    if (index >= m_arrIdioms.size()) {
        return;
    }
    m_nCurrent = static_cast<int>(index);
    ShowEntry(m_nCurrent);
}

void IdiomBrowser::OnPrev() {
    if (m_arrIdioms.empty()) {
        return;
    }
    if (m_nCurrent > 1) {
        --m_nCurrent;
    }
    ShowEntry(m_nCurrent);
}

void IdiomBrowser::OnNext() {
    if (m_arrIdioms.empty()) {
        return;
    }
    if (static_cast<std::size_t>(m_nCurrent) + 1 < m_arrIdioms.size()) {
        ++m_nCurrent;
    }
    ShowEntry(m_nCurrent);
}

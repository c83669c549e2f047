#pragma once
// The browsing position: which entry of the idiom list is on show.

#include <string>

#include "entry_fields.h"
#include "idiom_list.h"

class IdiomBrowser {
public:
    IdiomBrowser() = default;
    virtual ~IdiomBrowser() = default;
    IdiomBrowser(const IdiomBrowser&) = delete;
    IdiomBrowser& operator=(const IdiomBrowser&) = delete;

    // Splits entry `index` into the three fields and refreshes the owner.
    // `index` must name an entry.
    void ShowEntry(int index);

    // Draws the start entry at random and shows it; does nothing for an
    // empty list, which has nothing to draw from.
    void StartEntry();

    // Shows entry `index` and makes it the position that Previous and Next
    // step from; an index outside the list changes nothing.
    void GoToEntry(std::size_t index);

    // One step back, stopping at index 1; shows the entry again at the stop.
    void OnPrev();

    // One step forward, stopping at the last entry.
    void OnNext();

    int m_nCurrent = 0;
    IdiomList m_arrIdioms;
    std::string m_strIdiom;
    std::string m_strExplain;
    std::string m_strPinyin;

protected:
    // Called after new fields have been stored; the owner pushes them on.
    virtual void RefreshFields() {}
};

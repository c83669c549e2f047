#pragma once
// Looking an idiom up in the list: by its characters, by its pronunciation
// with or without tone marks and spaces, or by the initials of its syllables.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "idiom_list.h"
#include "pinyin_letter.h"

// How well an entry matches, best first.
enum class MatchRank : std::uint8_t {
    kIdiomEqual,     // the idiom is the text
    kIdiomPrefix,    // the idiom starts with it
    kIdiomContains,  // the idiom contains it
    kPinyin,         // the pronunciation holds it, from the start of a syllable
    kInitials,       // the initials of the syllables hold it ("ygys")
};

struct FindMatch {
    std::size_t entry;  // index in the list
    MatchRank rank;
};

struct FindResult {
    std::vector<FindMatch> matches;  // best rank first, list order within a rank
    std::size_t total = 0;           // matches in all, also beyond the limit
};

// Built over a loaded list, whose entries it indexes by position. Building
// reads every entry once, to keep each idiom and each pronunciation's letters
// (apart from spaces and tone marks) side by side; the program makes one on
// its first Find, so start-up pays nothing for it.
class IdiomFinder {
public:
    explicit IdiomFinder(const IdiomList& list);

    // The entries matching `text` (GBK), best first, at most `limit` of them.
    // Letters match without regard to case; white space at either end is
    // ignored; an empty text matches nothing.
    FindResult Find(std::string_view text, std::size_t limit) const;

private:
    struct IndexedLetter {
        char base;
        std::uint8_t tone;
        bool syllableStart;
    };
    struct IndexedEntry {
        std::size_t firstIdiomByte;  // in m_idioms
        std::size_t idiomLength;     // bytes before the first space; 0 for none
        std::size_t firstLetter;     // in m_letters
        std::size_t letterCount;     // 0 when the pronunciation is unusable
        std::size_t firstInitial;    // in m_initials
        std::size_t initialCount;
    };

    // `space` is where the idiom ends, npos when the entry has no space.
    void IndexPronunciation(std::string_view entry, std::size_t space);
    bool PinyinMatches(const IndexedEntry& entry, const std::vector<PinyinLetter>& typed) const;
    bool InitialsMatch(const IndexedEntry& entry, const std::vector<PinyinLetter>& typed) const;

    std::vector<IndexedEntry> m_entries;
    // The idioms side by side: a query reads these few bytes, not the whole
    // entries spread over the list's buffer.
    std::string m_idioms;
    std::vector<IndexedLetter> m_letters;
    std::vector<char> m_initials;
};

#include "idiom_finder.h"

#include <array>
#include <optional>

#include "gbk_text.h"

namespace {

constexpr std::size_t kRanks = static_cast<std::size_t>(MatchRank::kInitials) + 1;

constexpr char ToLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// `text` with the letters of its one-byte characters lowercased; the bytes of
// two-byte characters, which may look like letters, are kept.
std::string Fold(std::string_view text) {
    std::string folded(text);
    for (std::size_t pos = 0; pos < folded.size(); pos += gbk::CharLength(folded, pos)) {
        if (gbk::CharLength(folded, pos) == 1) {
            folded[pos] = ToLower(folded[pos]);
        }
    }
    return folded;
}

// Whether `text`, from the character boundary `pos` on, begins with `folded`
// (a Fold result), comparing character by character and one-byte letters
// without regard to case.
bool FoldedAt(std::string_view text, std::size_t pos, std::string_view folded) {
    if (folded.size() > text.size() - pos) {
        return false;
    }
    for (std::size_t i = 0; i < folded.size();) {
        const std::size_t length = gbk::CharLength(text, pos + i);
        if (length == 2) {
            if (gbk::CharLength(folded, i) != 2 || text.compare(pos + i, 2, folded, i, 2) != 0) {
                return false;
            }
        } else if (ToLower(text[pos + i]) != folded[i]) {
            return false;
        }
        i += length;
    }
    return true;
}

std::optional<MatchRank> IdiomRank(std::string_view idiom, std::string_view folded) {
    if (!FoldedAt(idiom, 0, folded)) {
        for (std::size_t pos = 0; pos < idiom.size(); pos += gbk::CharLength(idiom, pos)) {
            if (pos > 0 && FoldedAt(idiom, pos, folded)) {
                return MatchRank::kIdiomContains;
            }
        }
        return std::nullopt;
    }
    return idiom.size() == folded.size() ? MatchRank::kIdiomEqual : MatchRank::kIdiomPrefix;
}

// The letters of a text typed as pinyin; spaces, apostrophes and hyphens
// between syllables are dropped. Empty when anything else is in it.
std::vector<PinyinLetter> TypedPinyin(std::string_view text) {
    std::vector<PinyinLetter> letters;
    for (std::size_t pos = 0; pos < text.size();) {
        const PinyinLetter letter = ReadPinyinLetter(text, pos);
        if (letter.length > 0) {
            letters.push_back(letter);
            pos += letter.length;
        } else if (text[pos] == ' ' || text[pos] == '\'' || text[pos] == '-') {
            ++pos;
        } else {
            return {};
        }
    }
    return letters;
}

// A character that may stand between the syllables of a pronunciation: ASCII
// punctuation or space, or a well-formed two-byte GBK character (a full-width
// comma, a middle dot). Control bytes, brackets and bytes that are no GBK
// character make the pronunciation unusable.
bool IsSeparator(std::string_view text, std::size_t pos) {
    const auto byte = static_cast<unsigned char>(text[pos]);
    if (byte >= 0x20 && byte <= 0x7E) {
        return byte != '[' && byte != ']';
    }
    if (gbk::CharLength(text, pos) != 2) {
        return false;
    }
    const auto trail = static_cast<unsigned char>(text[pos + 1]);
    return trail >= 0x40 && trail <= 0xFE && trail != 0x7F;
}

}  // namespace

IdiomFinder::IdiomFinder(const IdiomList& list) {
    m_entries.reserve(list.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string_view entry = list[i];
        IndexPronunciation(entry, gbk::Find(entry, " "));
    }
}

// Adds the entry with the letters of its pronunciation, " [...]" after the
// idiom. An entry without one, or with a stray byte in it, gets no letters.
void IdiomFinder::IndexPronunciation(std::string_view entry, std::size_t space) {
    const std::size_t idiomLength = space == gbk::npos ? 0 : space;
    IndexedEntry indexed{m_idioms.size(), idiomLength, m_letters.size(), 0, m_initials.size(), 0};
    m_idioms.append(entry.substr(0, idiomLength));
    std::size_t pos = space;
    while (pos != gbk::npos && pos < entry.size() && entry[pos] == ' ') {
        ++pos;
    }
    bool closed = false;
    if (pos != gbk::npos && pos < entry.size() && entry[pos] == '[') {
        bool syllableStart = true;
        for (++pos; pos < entry.size(); pos += gbk::CharLength(entry, pos)) {
            if (entry[pos] == ']') {
                closed = true;
                break;
            }
            const PinyinLetter letter = ReadPinyinLetter(entry, pos);
            if (letter.length > 0) {
                m_letters.push_back({letter.base, letter.tone, syllableStart});
                if (syllableStart) {
                    m_initials.push_back(letter.base);
                }
                syllableStart = false;
            } else if (IsSeparator(entry, pos)) {
                syllableStart = true;
            } else {
                break;
            }
        }
    }
    if (closed) {
        indexed.letterCount = m_letters.size() - indexed.firstLetter;
        indexed.initialCount = m_initials.size() - indexed.firstInitial;
    } else {
        m_letters.resize(indexed.firstLetter);
        m_initials.resize(indexed.firstInitial);
    }
    m_entries.push_back(indexed);
}

bool IdiomFinder::PinyinMatches(const IndexedEntry& entry,
                                const std::vector<PinyinLetter>& typed) const {
    if (typed.size() > entry.letterCount) {
        return false;
    }
    const IndexedLetter* letters = m_letters.data() + entry.firstLetter;
    for (std::size_t start = 0; start + typed.size() <= entry.letterCount; ++start) {
        if (!letters[start].syllableStart) {
            continue;
        }
        std::size_t k = 0;
        while (k < typed.size() && TypedLetterMatches(typed[k], {letters[start + k].base,
                                                                 letters[start + k].tone, 1})) {
            ++k;
        }
        if (k == typed.size()) {
            return true;
        }
    }
    return false;
}

bool IdiomFinder::InitialsMatch(const IndexedEntry& entry,
                                const std::vector<PinyinLetter>& typed) const {
    if (typed.size() > entry.initialCount) {
        return false;
    }
    const char* initials = m_initials.data() + entry.firstInitial;
    for (std::size_t start = 0; start + typed.size() <= entry.initialCount; ++start) {
        std::size_t k = 0;
        while (k < typed.size() && TypedLetterMatches(typed[k], {initials[start + k], 0, 1})) {
            ++k;
        }
        if (k == typed.size()) {
            return true;
        }
    }
    return false;
}

FindResult IdiomFinder::Find(std::string_view text, std::size_t limit) const {
    FindResult result;
    text = text.substr(0, gbk::TrimmedLength(text));
    while (!text.empty() && (text[0] == ' ' || text[0] == '\t')) {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return result;
    }
    const std::string folded = Fold(text);
    const std::vector<PinyinLetter> typed = TypedPinyin(text);
    bool toneless = true;
    for (const PinyinLetter& letter : typed) {
        toneless = toneless && letter.tone == 0;
    }

    // Each rank keeps the first `limit` of its entries, in list order.
    std::array<std::vector<std::size_t>, kRanks> byRank;
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const IndexedEntry& entry = m_entries[i];
        std::optional<MatchRank> rank = IdiomRank(
            std::string_view(m_idioms).substr(entry.firstIdiomByte, entry.idiomLength), folded);
        if (!rank && !typed.empty()) {
            if (PinyinMatches(entry, typed)) {
                rank = MatchRank::kPinyin;
            } else if (toneless && InitialsMatch(entry, typed)) {
                rank = MatchRank::kInitials;
            }
        }
        if (rank) {
            ++result.total;
            std::vector<std::size_t>& bucket = byRank[static_cast<std::size_t>(*rank)];
            if (bucket.size() < limit) {
                bucket.push_back(i);
            }
        }
    }
    for (std::size_t r = 0; r < kRanks && result.matches.size() < limit; ++r) {
        for (std::size_t i = 0; i < byRank[r].size() && result.matches.size() < limit; ++i) {
            result.matches.push_back({byRank[r][i], static_cast<MatchRank>(r)});
        }
    }
    return result;
}

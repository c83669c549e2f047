// The loading of an idiom list from its bytes (the file is opened in
// idiom_list.cpp).
#include "idiom_list.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "gbk_text.h"

// Reads the bytes straight into the list's buffer and marks each line's entry
// where it lies: nothing copied, no allocation per line, and bytes trimmed off
// an entry simply stay unused. The bytes come in pieces small enough to be
// cut into lines while they are still in the processor's cache.
class IdiomListReader {
public:
    explicit IdiomListReader(IdiomList& list)
        : m_list(list), m_loadStart(list.m_used), m_lineStart(list.m_used), m_end(list.m_used) {}

    void Read(ByteSource& in, std::size_t sizeHint) {
        // However the reading ends, also by a source that throws, the list
        // keeps the entries finished so far and the bytes they lie in.
        struct KeepFinished {
            IdiomListReader& reader;
            ~KeepFinished() { reader.m_list.m_used = reader.m_lineStart; }
        } keep{*this};
        m_hintEnd = m_loadStart + std::min(sizeHint, kNone - m_loadStart);
        try {
            // Room for the whole file when its size is known (and one byte
            // more, so that the read that meets the end needs no growth).
            if (sizeHint > 0) {
                TryGrow(sizeHint + 1);
            }
            for (bool ended = false; !ended;) {
                const std::size_t from = m_end;
                ended = ReadPiece(in) == 0;
                CutLines(from, m_end);
                ReserveEntries(m_end);
            }
            if (m_lineStart < m_end) {
                EndEntry(m_end, std::min(m_cut, m_end));  // a last line without LF
            }
        } catch (const std::bad_alloc&) {
            // Out of memory: keep the entries finished so far, drop the rest.
        }
    }

private:
    static constexpr std::size_t kBlock = std::size_t{1} << 20;
    static constexpr std::size_t kPiece = std::size_t{256} << 10;
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    void Grow(std::size_t extra) { m_list.m_bytes.Reserve(m_end + extra, m_end); }

    // A request that cannot be met is no loss: the buffer then grows as the
    // bytes come.
    void TryGrow(std::size_t extra) {
        try {
            Grow(extra);
        } catch (const std::bad_alloc&) {
        }
    }

    // Reads the next piece after m_end, growing the buffer when it is full.
    // Returns how many bytes came, 0 at the end.
    std::size_t ReadPiece(ByteSource& in) {
        if (m_list.m_bytes.capacity() == m_end) {
            Grow(std::max(kBlock, m_end / 2));
        }
        const std::size_t room = std::min(m_list.m_bytes.capacity() - m_end, kPiece);
        const std::size_t got = in.Read(m_list.m_bytes.data() + m_end, room);
        m_end += got;
        return got;
    }

    // Once the list of entries would run out before the bytes the size hint
    // announces are read, the lines read so far tell how many those bytes
    // hold: the list then grows once rather than a dozen times. Without a
    // hint it grows as it goes. `end` is where the bytes read so far end.
    void ReserveEntries(std::size_t end) {
        auto& entries = m_list.m_entries;
        const std::size_t lines = entries.size() - m_loadEntries;
        if (lines == 0 || m_hintEnd <= end) {
            return;  // nothing to judge by, or nothing more announced
        }
        const std::size_t bytesPerLine =
            std::max<std::size_t>(1, (m_lineStart - m_loadStart) / lines);
        const std::size_t expected = (m_hintEnd - end) / bytesPerLine + 1;
        if (entries.capacity() - entries.size() >= expected) {
            return;
        }
        // Never more than the list can hold, which would throw length_error.
        const std::size_t room = entries.max_size() - entries.size();
        const std::size_t wanted = entries.size() + std::min(room, expected + expected / 8);
        try {
            entries.reserve(
                std::max(wanted, std::min(entries.max_size(), entries.capacity() / 2 * 3)));
        } catch (const std::bad_alloc&) {
            // A guess that cannot be had is no loss: the list grows as it goes.
        }
    }
    // Ends every line whose LF lies in the bytes just read, [from, to).
    void CutLines(std::size_t from, std::size_t to) {
        const char* const bytes = m_list.m_bytes.data();
        // NUL bytes are rare: one scan of the piece finds the first, and the
        // search goes on only past a line that held one.
        std::size_t nul = Find('\0', from, to);
        while (const void* lf = std::memchr(bytes + from, '\n', to - from)) {
            const std::size_t lineEnd = static_cast<const char*>(lf) - bytes + 1;
            if (nul < lineEnd) {
                m_cut = std::min(m_cut, nul);
                nul = Find('\0', lineEnd, to);
            }
            // The LF would be trimmed anyway.
            EndEntry(lineEnd, std::min(m_cut, lineEnd - 1));
            from = lineEnd;
        }
        m_cut = std::min(m_cut, nul);
    }

    // Offset of the first `byte` in [from, to), or kNone.
    std::size_t Find(char byte, std::size_t from, std::size_t to) const {
        const char* bytes = m_list.m_bytes.data();
        const void* found = std::memchr(bytes + from, byte, to - from);
        return found == nullptr ? kNone : static_cast<const char*>(found) - bytes;
    }

    // Ends the line [m_lineStart, lineEnd) with the entry that its bytes up
    // to `end` (its first NUL or its end) make, trimmed at the right.
    void EndEntry(std::size_t lineEnd, std::size_t end) {
        const std::string_view line(m_list.m_bytes.data() + m_lineStart, end - m_lineStart);
        m_list.m_entries.push_back({m_lineStart, m_lineStart + gbk::TrimmedLength(line)});
        m_lineStart = lineEnd;
        m_cut = kNone;
    }

    IdiomList& m_list;
    const std::size_t m_loadStart;                              // where this load's bytes begin
    const std::size_t m_loadEntries = m_list.m_entries.size();  // entries before this load
    std::size_t m_lineStart;                                    // where the line being read begins
    std::size_t m_end;                                          // end of the bytes read
    std::size_t m_cut = kNone;  // the first NUL in the line being read, if any
    std::size_t m_hintEnd = 0;  // where the bytes end if the size hint is right
};

void ReadIdiomList(ByteSource& in, IdiomList& list, std::size_t sizeHint) {
    IdiomListReader(list).Read(in, sizeHint);
}

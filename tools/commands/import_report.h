#pragma once
// What import tells about single records: each one mended or skipped on a
// line of its own, up to a limit, so that a list of thousands of bad records
// does not bury the rest; and every reason counted, for the summary at the
// end, which covers every record whether its line was shown or not.

#include <cstddef>
#include <iosfwd>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

inline constexpr std::size_t kRecordLinesShown = 20;

class ImportReport {
public:
    explicit ImportReport(std::ostream& err, std::size_t limit = kRecordLinesShown)
        : m_err(err), m_limit(limit) {}

    // "WHERE: CHANGE" and "WHERE: skipped: REASON".
    void Mended(const std::string& where, const std::string& change);
    void Skipped(const std::string& where, const std::string& reason);
    // Records left out without a line of their own here (listed elsewhere).
    void CountSkipped(const std::string& reason, std::size_t count);
    // Lines about single records shown elsewhere, against the same limit.
    std::size_t LinesLeft() const { return m_shown < m_limit ? m_limit - m_shown : 0; }
    void ShownElsewhere(std::size_t lines, std::size_t notShown);

    std::size_t skipped() const { return m_skipped.total; }

    // The number of lines left out, then each reason with its count, most
    // frequent first: "skipped, by reason:\n  1664  its example is ...".
    void Summarise() const;

private:
    struct Tally {
        std::vector<std::pair<std::string, std::size_t>> counts;  // in order first met
        std::unordered_map<std::string, std::size_t> index;
        std::size_t total = 0;

        void Add(const std::string& reason, std::size_t count);
    };

    void Line(const std::string& text);
    static void Print(std::ostream& err, const char* heading, const Tally& tally);

    std::ostream& m_err;
    std::size_t m_limit;
    std::size_t m_shown = 0;
    std::size_t m_notShown = 0;
    Tally m_mended, m_skipped;
};

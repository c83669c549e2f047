#include "dictionary/dictionary_check.h"

#include <cstring>
#include <sstream>

#include "gbk_text.h"
#include "text/gbk_validity.h"
#include "idiom_list.h"

namespace {

constexpr std::string_view kExampleAsciiColon = "\xCA\xBE\xC0\xFD:";  // 示例:

// Where each line starts in the file. The loader ends lines at LF and makes
// no entry of the empty rest after a final LF, so entry i is line i.
std::vector<std::size_t> LineStarts(std::string_view bytes) {
    std::vector<std::size_t> starts;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        starts.push_back(pos);
        const std::size_t lf = bytes.find('\n', pos);
        if (lf == std::string_view::npos) {
            break;
        }
        pos = lf + 1;
    }
    return starts;
}

class LineChecker {
public:
    LineChecker(CheckReport& report, std::size_t line, std::size_t lineOffset)
        : m_report(report), m_line(line), m_lineOffset(lineOffset) {}

    // `raw` is the line's bytes in the file; `entry` what the loader kept.
    void Check(std::string_view raw, std::string_view entry) {
        if (const std::size_t nul = raw.find('\0'); nul != std::string_view::npos) {
            Add(ProblemKind::kNulByte,
                "NUL byte at offset " + Offset(nul) + "; the program ignores the rest of the line");
        }
        CheckCarriageReturns(entry);
        CheckGbk(entry);
        CheckFields(entry);
        if (const std::size_t colon = gbk::Find(entry, kExampleAsciiColon); colon != gbk::npos) {
            Add(ProblemKind::kAsciiColonExample,
                "\"示例:\" at offset " + Offset(colon) +
                    " has an ASCII colon; write \"示例：\" (an empty \"示例:无\" stays on show, "
                    "where \"示例：无\" is dropped)");
        }
    }

private:
    std::string Offset(std::size_t inLine) const { return std::to_string(m_lineOffset + inLine); }

    void Add(ProblemKind kind, std::string message) {
        m_report.problems.push_back({kind, m_line, m_lineOffset, std::move(message)});
    }

    // Trailing CRs are trimmed; any CR the entry keeps is a line end that the
    // loader does not know, so the lines around it run together.
    void CheckCarriageReturns(std::string_view entry) {
        const std::size_t first = entry.find('\r');
        if (first == std::string_view::npos) {
            return;
        }
        std::size_t count = 0;
        for (char c : entry) {
            count += c == '\r';
        }
        Add(ProblemKind::kCarriageReturn,
            std::to_string(count) + " CR line end(s) without LF, the first at offset " +
                Offset(first) + "; the program reads CR-only line ends as one long line");
    }

    void CheckGbk(std::string_view entry) {
        const GbkFault first = FindGbkFault(entry);
        if (!first.found) {
            return;
        }
        std::size_t more = 0;
        for (GbkFault next = FindGbkFault(entry, ResumeAfter(first)); next.found;
             next = FindGbkFault(entry, ResumeAfter(next))) {
            ++more;
        }
        std::string message =
            "invalid GBK at offset " + Offset(first.offset) + ": " + first.description;
        if (more > 0) {
            message += " (and " + std::to_string(more) + " more in this line)";
        }
        Add(ProblemKind::kInvalidGbk, std::move(message));
    }

    // The same searches SplitEntry makes, so a damaged character hides a space
    // or bracket here exactly as it does in the program.
    void CheckFields(std::string_view entry) {
        if (entry.empty()) {
            Add(ProblemKind::kEmptyEntry, "empty entry; the program shows a blank page for it");
            return;
        }
        const std::size_t space = gbk::Find(entry, " ");
        if (space == gbk::npos) {
            Add(ProblemKind::kNoSpace,
                "no space after the idiom, so the program leaves the idiom field empty");
            return;
        }
        if (space == 0) {
            Add(ProblemKind::kEmptyIdiom, "the line starts with a space, so the idiom is empty");
        } else if (const std::size_t bracket = gbk::Find(entry.substr(0, space), "[");
                   bracket != gbk::npos) {
            // The first space is inside the pronunciation: the idiom runs on.
            Add(ProblemKind::kNoSpace, "no space between the idiom and \"[\" at offset " +
                                           Offset(bracket) +
                                           ", so the idiom shows with part of the pronunciation");
        }
        if (gbk::Find(entry, "]", space) == gbk::npos) {
            Add(ProblemKind::kNoClosingBracket,
                "no \"]\" after the space to end the pronunciation, so it is shown as part of "
                "the explanation");
        }
    }

    CheckReport& m_report;
    std::size_t m_line;
    std::size_t m_lineOffset;
};

}  // namespace

CheckReport CheckDictionary(std::string_view bytes) {
    CheckReport report;
    IdiomList list;
    std::istringstream in{std::string(bytes)};
    ReadIdiomList(in, list);
    report.entries = list.size();

    report.encoding = SniffEncoding(bytes);
    if (report.encoding != FileEncoding::kGbk) {
        report.problems.push_back({ProblemKind::kWrongEncoding, 0, 0,
                                   "the file is " + std::string(DescribeEncoding(report.encoding)) +
                                       ", not GBK, so the program shows it garbled"});
        return report;
    }
    if (list.empty()) {
        report.problems.push_back(
            {ProblemKind::kNoEntries, 0, 0, "the file holds no entries; the program shows none"});
        return report;
    }

    const std::vector<std::size_t> starts = LineStarts(bytes);
    for (std::size_t i = 0; i < list.size() && i < starts.size(); ++i) {
        const std::size_t end = i + 1 < starts.size() ? starts[i + 1] : bytes.size();
        LineChecker(report, i + 1, starts[i])
            .Check(bytes.substr(starts[i], end - starts[i]), list[i]);
    }
    return report;
}

#include "commands/import_report.h"

#include <algorithm>
#include <ostream>

void ImportReport::Tally::Add(const std::string& reason, std::size_t count) {
    auto [found, added] = index.try_emplace(reason, counts.size());
    if (added) {
        counts.emplace_back(reason, 0);
    }
    counts[found->second].second += count;
    total += count;
}

void ImportReport::Line(const std::string& text) {
    if (m_shown < m_limit) {
        m_err << text << "\n";
        ++m_shown;
    } else {
        ++m_notShown;
    }
}

void ImportReport::Mended(const std::string& where, const std::string& change) {
    Line(where + ": " + change);
    m_mended.Add(change, 1);
}

void ImportReport::Skipped(const std::string& where, const std::string& reason) {
    Line(where + ": skipped: " + reason);
    m_skipped.Add(reason, 1);
}

void ImportReport::CountSkipped(const std::string& reason, std::size_t count) {
    if (count > 0) {
        m_skipped.Add(reason, count);
    }
}

void ImportReport::ShownElsewhere(std::size_t lines, std::size_t notShown) {
    m_shown += lines;
    m_notShown += notShown;
}

void ImportReport::Print(std::ostream& err, const char* heading, const Tally& tally) {
    if (tally.total == 0) {
        return;
    }
    std::vector<std::pair<std::string, std::size_t>> counts = tally.counts;
    std::stable_sort(counts.begin(), counts.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    err << heading << ":\n";
    for (const auto& [reason, count] : counts) {
        err << "  " << count << "  " << reason << "\n";
    }
}

void ImportReport::Summarise() const {
    if (m_notShown > 0) {
        m_err << "(" << m_notShown << " more lines about single records not shown; the counts "
              << "below take in every record)\n";
    }
    Print(m_err, "mended, by change", m_mended);
    Print(m_err, "skipped, by reason", m_skipped);
}

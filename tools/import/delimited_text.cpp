#include "import/delimited_text.h"

#include <algorithm>

#include "text/text_position.h"

namespace {

class RowParser {
public:
    RowParser(std::string_view text, char delimiter) : m_text(text), m_delimiter(delimiter) {}

    bool AtEnd() const { return m_pos >= m_text.size(); }

    // One row, through its line end. False with `error` set on malformed text.
    bool Next(DelimitedRow& row, bool& blank, TableError& error) {
        row.offset = m_pos;
        bool quoted = false;
        for (;;) {
            std::string field;
            const std::size_t start = m_pos;
            if (m_pos < m_text.size() && m_text[m_pos] == '"' && QuotedField(field, error)) {
                quoted = true;
            } else if (error.failed() && !Tsv()) {
                return false;
            } else {
                // TSV has no quoting of its own: a field that is not quoted
                // from end to end holds its quotes as text.
                error = {};
                m_pos = start;
                const std::size_t end = EndOfUnquoted();
                field.assign(m_text.substr(m_pos, end - m_pos));
                m_pos = end;
            }
            row.fields.push_back(std::move(field));
            if (m_pos < m_text.size() && m_text[m_pos] == m_delimiter) {
                ++m_pos;
                continue;
            }
            // A line of nothing but spaces and tabs is as blank as an empty one.
            blank =
                !quoted && m_text.substr(row.offset, m_pos - row.offset).find_first_not_of(" \t") ==
                               std::string_view::npos;
            SkipLineEnd();
            return true;
        }
    }

private:
    bool Tsv() const { return m_delimiter == '\t'; }

    std::size_t EndOfUnquoted() const {
        const char stops[] = {m_delimiter, '\r', '\n', '\0'};
        const std::size_t end = m_text.find_first_of(std::string_view(stops, 3), m_pos);
        return end == std::string_view::npos ? m_text.size() : end;
    }

    bool QuotedField(std::string& field, TableError& error) {
        const std::size_t open = m_pos++;
        for (;;) {
            // Once a search has found no quote, none after it is searched
            // again: TSV fields that open with a quote never closed would
            // otherwise each search to the end.
            const std::size_t quote =
                m_pos >= m_noQuoteFrom ? std::string_view::npos : m_text.find('"', m_pos);
            if (quote == std::string_view::npos) {
                m_noQuoteFrom = std::min(m_noQuoteFrom, m_pos);
                error = {"the quoted field that opens here is never closed", open};
                return false;
            }
            field.append(m_text.substr(m_pos, quote - m_pos));
            m_pos = quote + 1;
            if (m_pos < m_text.size() && m_text[m_pos] == '"') {
                field += '"';
                ++m_pos;
                continue;
            }
            break;
        }
        if (m_pos < m_text.size() && m_text[m_pos] != m_delimiter && m_text[m_pos] != '\r' &&
            m_text[m_pos] != '\n') {
            error = {
                "text follows the closing quote; a quote inside a quoted field is written "
                "twice",
                m_pos};
            return false;
        }
        return true;
    }

    void SkipLineEnd() {
        if (m_pos < m_text.size() && m_text[m_pos] == '\r') {
            ++m_pos;
        }
        if (m_pos < m_text.size() && m_text[m_pos] == '\n') {
            ++m_pos;
        }
    }

    std::string_view m_text;
    char m_delimiter;
    std::size_t m_pos = 0;
    std::size_t m_noQuoteFrom = std::string_view::npos;  // no quote from here to the end
};

std::string Trimmed(const std::string& text) {
    const std::size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos) {
        return "";
    }
    return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

}  // namespace

DelimitedText ParseDelimited(std::string_view text, char delimiter) {
    DelimitedText parsed;
    RowParser parser(text, delimiter);
    while (!parser.AtEnd()) {
        DelimitedRow row;
        bool blank = false;
        if (!parser.Next(row, blank, parsed.error)) {
            break;
        }
        if (!blank) {
            parsed.rows.push_back(std::move(row));
        }
    }
    return parsed;
}

TableError ReadDelimitedTable(std::string_view text, char delimiter, RecordTable& table) {
    DelimitedText parsed = ParseDelimited(text, delimiter);
    if (parsed.error.failed() || parsed.rows.empty()) {
        return parsed.error;
    }
    for (const std::string& name : parsed.rows.front().fields) {
        table.keys.push_back(Trimmed(name));
    }
    // Lines are counted in one pass, as the rows come in file order.
    TextPosition counted;
    std::size_t countedTo = 0;
    for (std::size_t i = 1; i < parsed.rows.size(); ++i) {
        DelimitedRow& row = parsed.rows[i];
        counted.line +=
            PositionOf(text.substr(countedTo, row.offset - countedTo), row.offset - countedTo)
                .line -
            1;
        countedTo = row.offset;
        if (row.fields.size() != table.keys.size()) {
            return {"the record has " + std::to_string(row.fields.size()) +
                        " fields where the header names " + std::to_string(table.keys.size()),
                    row.offset};
        }
        std::vector<RecordCell> cells(row.fields.size());
        for (std::size_t k = 0; k < cells.size(); ++k) {
            cells[k].text = std::move(row.fields[k]);
        }
        table.records.push_back(std::move(cells));
        table.lines.push_back(counted.line);
    }
    return {};
}

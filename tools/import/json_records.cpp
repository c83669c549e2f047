#include "import/json_records.h"

#include <nlohmann/json.hpp>
#include <unordered_map>

namespace {

using Json = nlohmann::json;

// nlohmann's message without its own "[json.exception...] parse error at
// line L, column C: " opening: the caller names the place in characters.
std::string ParseMessage(const nlohmann::detail::exception& error) {
    std::string message = error.what();
    const std::string_view marker = "syntax error";
    if (const std::size_t at = message.find(marker); at != std::string::npos) {
        return message.substr(at);
    }
    return message;
}

// Fills the table straight from the parser's events: a whole document tree
// of a large list would cost several times the list's size and most of the
// time. Depth 0 is the list, 1 a record, 2 a field's value; anything deeper
// is inside a value that is no text.
class TableBuilder : public nlohmann::json_sax<Json> {
public:
    explicit TableBuilder(RecordTable& table) : m_table(table) {}

    const TableError& error() const { return m_error; }

    bool null() override { return Scalar("null", ""); }
    bool boolean(bool value) override { return Scalar("true or false", value ? "true" : "false"); }
    bool number_integer(number_integer_t value) override {
        return Scalar("a number", std::to_string(value));
    }
    bool number_unsigned(number_unsigned_t value) override {
        return Scalar("a number", std::to_string(value));
    }
    bool number_float(number_float_t, const string_t& text) override {
        return Scalar("a number", text);
    }
    bool string(string_t& value) override { return Scalar("a string", std::move(value)); }
    bool binary(binary_t&) override { return Scalar("binary data", ""); }

    bool start_object(std::size_t) override {
        if (m_depth == 0) {
            return Refuse("the file holds an object");
        }
        if (m_depth == 1) {
            m_table.records.emplace_back();
        }
        return Open("an object");
    }
    bool start_array(std::size_t) override {
        if (m_depth == 1) {
            return NotAnObject("an array");
        }
        return Open("an array");
    }
    bool end_object() override { return Close(); }
    bool end_array() override { return Close(); }

    bool key(string_t& name) override {
        if (m_depth == 2) {
            auto [found, added] = m_columns.try_emplace(name, m_table.keys.size());
            if (added) {
                m_table.keys.push_back(name);
            }
            m_column = found->second;
        }
        return true;
    }

    bool parse_error(std::size_t byte, const std::string&,
                     const nlohmann::detail::exception& error) override {
        // `byte` counts from 1 and names the last byte read.
        m_error = {ParseMessage(error), byte > 0 ? byte - 1 : 0};
        return false;
    }

private:
    bool Scalar(const char* kind, std::string text) {
        if (m_depth == 0) {
            return Refuse(std::string("the file holds ") + kind);
        }
        if (m_depth == 1) {
            return NotAnObject(kind);
        }
        if (m_depth == 2) {
            Cell().text = std::move(text);
        }
        return true;
    }

    bool Open(const char* kind) {
        if (m_depth == 2) {
            Cell().notText = kind;
        }
        ++m_depth;
        return true;
    }

    bool Close() {
        --m_depth;
        return true;
    }

    RecordCell& Cell() {
        std::vector<RecordCell>& cells = m_table.records.back();
        if (cells.size() <= m_column) {
            cells.resize(m_column + 1);
        }
        return cells[m_column];
    }

    bool NotAnObject(const char* kind) {
        m_error = {"record " + std::to_string(m_table.records.size() + 1) + " is " + kind +
                       ", not an object",
                   0, false};
        return false;
    }

    bool Refuse(const std::string& what) {
        m_error = {what + ", not an array of records ([{...}, {...}])", 0, false};
        return false;
    }

    RecordTable& m_table;
    TableError m_error;
    std::unordered_map<std::string, std::size_t> m_columns;
    std::size_t m_depth = 0;
    std::size_t m_column = 0;
};

}  // namespace

TableError ReadJsonTable(std::string_view text, RecordTable& table) {
    TableBuilder builder(table);
    Json::sax_parse(text.begin(), text.end(), &builder);
    return builder.error();
}

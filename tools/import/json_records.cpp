#include "import/json_records.h"

#include <algorithm>
#include <cstring>
#include <iterator>
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

// A pointer into the text that notes each byte the parser takes: the
// parser's events carry no position, and messages name a record's line. At
// an opening bracket or a key the last byte taken is that bracket or the
// key's closing quote.
class TrackedChar {
public:
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = const char&;

    TrackedChar(const char* at, const char** lastRead) : m_at(at), m_lastRead(lastRead) {}

    reference operator*() const {
        *m_lastRead = m_at;
        return *m_at;
    }
    TrackedChar& operator++() {
        ++m_at;
        return *this;
    }
    TrackedChar operator++(int) {
        TrackedChar before = *this;
        ++m_at;
        return before;
    }
    bool operator==(const TrackedChar& other) const { return m_at == other.m_at; }

private:
    const char* m_at;
    const char** m_lastRead;
};

// The parser's events as four: a value that is no container (its kind, as
// messages name it, and its text), a container opening, one closing, a key.
class JsonEvents : public nlohmann::json_sax<Json> {
public:
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
    bool start_object(std::size_t) override { return Open(true); }
    bool start_array(std::size_t) override { return Open(false); }
    bool end_object() override { return Close(); }
    bool end_array() override { return Close(); }

    bool parse_error(std::size_t byte, const std::string&,
                     const nlohmann::detail::exception& error) override {
        // `byte` counts from 1 and names the last byte read.
        m_error = {ParseMessage(error), byte > 0 ? byte - 1 : 0};
        return false;
    }

protected:
    virtual bool Scalar(const char* kind, std::string text) = 0;
    virtual bool Open(bool object) = 0;
    virtual bool Close() = 0;

    TableError m_error;
};

// One parser for both handlers, as the base class: two would each take a
// copy of the lexer, which then is no longer inlined, at a cost of a tenth
// of a large import.
void Parse(std::string_view text, JsonEvents& events, const char*& lastRead) {
    lastRead = text.data();
    Json::sax_parse(TrackedChar(text.data(), &lastRead),
                    TrackedChar(text.data() + text.size(), &lastRead), &events);
}

// One member of a top-level object, and for an array what it holds.
struct Member {
    std::string name;
    std::size_t offset = 0;  // of its key
    bool object = false, array = false;
    std::size_t objects = 0, arrays = 0, others = 0;  // an array's elements

    bool HoldsRecords() const { return array && (objects > 0) != (arrays > 0) && others == 0; }
};

// The members of a top-level object, looked over before the records are read
// to tell an object keyed by idiom from records under a key.
class MemberScan : public JsonEvents {
public:
    MemberScan(std::string_view text, const char* const& lastRead)
        : m_text(text), m_lastRead(lastRead) {}

    std::vector<Member> members;

    bool key(string_t& name) override {
        if (m_depth == 1) {
            members.push_back({std::move(name), std::size_t(m_lastRead - m_text.data())});
        }
        return true;
    }

private:
    bool Scalar(const char*, std::string) override {
        Count(false, false);
        return true;
    }
    bool Open(bool object) override {
        if (m_depth == 1 && !members.empty()) {
            (object ? members.back().object : members.back().array) = true;
        }
        Count(object, !object);
        ++m_depth;
        return true;
    }
    bool Close() override {
        --m_depth;
        return true;
    }

    void Count(bool object, bool array) {
        if (m_depth == 2 && !members.empty() && members.back().array) {
            Member& member = members.back();
            ++(object ? member.objects : array ? member.arrays : member.others);
        }
    }

    std::string_view m_text;
    const char* const& m_lastRead;
    std::size_t m_depth = 0;
};

std::string Quoted(std::string_view text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    return quoted.append("\"").append(text).append("\"");
}

// Where the records of a top-level object lie: under `key`, or, when
// `underKey` is false, one in each member (keyed by idiom).
struct ObjectLayout {
    bool underKey = false;
    std::string key;
    TableError error;
};

ObjectLayout ChooseLayout(const std::vector<Member>& members, std::string_view recordsKey) {
    ObjectLayout layout;
    if (!recordsKey.empty()) {
        const auto named = std::find_if(members.begin(), members.end(),
                                        [&](const Member& m) { return m.name == recordsKey; });
        if (named == members.end()) {
            std::string keys;
            for (std::size_t i = 0; i < members.size() && i < 8; ++i) {
                keys += (i == 0 ? "" : ", ") + Quoted(members[i].name);
            }
            layout.error = {"the object has no key " + Quoted(recordsKey) + " (--records); " +
                                (keys.empty() ? "it is empty" : "its keys are " + keys) +
                                (members.size() > 8 ? ", ..." : ""),
                            0, false};
        } else if (!named->array) {
            layout.error = {Quoted(recordsKey) + " (--records) holds " +
                                (named->object ? "an object" : "no array") +
                                ", not an array of records",
                            named->offset};
        }
        layout.underKey = true;
        layout.key = recordsKey;
        return layout;
    }
    std::vector<const Member*> holders, arrays;
    bool anyObject = false;
    for (const Member& member : members) {
        if (member.HoldsRecords()) holders.push_back(&member);
        if (member.array) arrays.push_back(&member);
        anyObject = anyObject || member.object;
    }
    if (holders.size() > 1) {
        std::string names;
        for (const Member* member : holders) {
            names += (names.empty() ? "" : ", ") + Quoted(member->name);
        }
        layout.error = {"the object holds several arrays of records (" + names +
                            "): name the one to read with --records KEY",
                        0, false};
    } else if (holders.size() == 1 || (!anyObject && arrays.size() == 1)) {
        layout.underKey = true;
        layout.key = (holders.empty() ? arrays : holders).front()->name;
    }
    return layout;
}

// Fills the table straight from the parser's events: a whole document tree
// of a large list would cost several times the list's size and most of the
// time. A record's container opens at depth `m_recordDepth` (1 in a top
// array or an object keyed by idiom, 2 under a key), its fields' values one
// deeper, the items of a field's array one deeper again; anything deeper is
// inside a value that is no text.
class TableBuilder : public JsonEvents {
public:
    TableBuilder(RecordTable& table, std::string_view text, const char* const& lastRead,
                 const ObjectLayout* layout)
        : m_table(table), m_text(text), m_lastRead(lastRead), m_layout(layout) {
        m_recordDepth = layout && layout->underKey ? 2 : 1;
    }

    std::vector<std::size_t> starts;  // each record's offset

    bool key(string_t& name) override {
        if (m_depth == 1 && m_layout) {
            m_memberKey = std::move(name);
            m_memberAt = Offset();
        } else if (m_inList && m_depth == m_recordDepth + 1) {
            auto [found, added] = m_columns.try_emplace(name, m_table.keys.size());
            if (added) {
                m_table.keys.push_back(name);
            }
            m_column = found->second;
        }
        return true;
    }

private:
    bool Scalar(const char* kind, std::string text) override {
        const std::size_t depth = m_depth;
        if (depth == 0) {
            return Refuse(std::string("the file holds ") + kind);
        }
        if (!m_inList || depth < m_recordDepth) {
            return true;  // a member beside the records under a key
        }
        if (depth == m_recordDepth) {
            return NotARecord(kind);
        }
        if (depth == m_recordDepth + 1) {
            m_fieldIsArray = false;
            RecordCell& cell = FieldCell();  // the last of a key met twice counts
            cell.text = std::move(text);
            cell.items.reset();
            cell.notText = nullptr;
        } else if (depth == m_recordDepth + 2 && m_fieldIsArray) {
            RecordCell& cell = Cell();
            if (!cell.notText) {
                cell.items->push_back(std::move(text));
            }
        }
        return true;
    }

    bool Open(bool object) override {
        const std::size_t depth = m_depth++;
        if (depth == 0) {
            m_inList = !m_layout || !m_layout->underKey;
            if (m_layout && !m_layout->underKey) {
                m_table.shape = RecordShape::kKeyedByIdiom;
                m_table.keys.push_back("");  // each record's key: no name of its own
            }
            return true;
        }
        if (m_layout && m_layout->underKey && depth == 1) {
            m_inList = !object && m_memberKey == m_layout->key;
            return true;
        }
        if (!m_inList) {
            return true;
        }
        if (depth == m_recordDepth) {
            return OpenRecord(object);
        }
        if (depth == m_recordDepth + 1) {
            m_fieldIsArray = !object;
            RecordCell& cell = FieldCell();
            cell.text.clear();
            cell.notText = object ? "an object" : nullptr;
            cell.items = object ? nullptr : std::make_unique<std::vector<std::string>>();
        } else if (depth == m_recordDepth + 2 && m_fieldIsArray) {
            RecordCell& cell = Cell();
            cell.notText = object ? "an array holding an object" : "an array holding an array";
            cell.items.reset();
        }
        return true;
    }

    bool Close() override {
        if (--m_depth == 1 && m_layout && m_layout->underKey) {
            m_inList = false;
        }
        return true;
    }

    bool OpenRecord(bool object) {
        const bool keyed = m_table.shape == RecordShape::kKeyedByIdiom;
        if (keyed && !object) {
            return NotARecord("an array");
        }
        const RecordShape shape = object ? RecordShape::kNamed : RecordShape::kPositional;
        if (!keyed && m_table.records.empty()) {
            m_table.shape = shape;
        } else if (!keyed && shape != m_table.shape) {
            m_error = {RecordNumber() + " is " + (object ? "an object" : "an array") +
                           ", where the records before it are " + (object ? "arrays" : "objects"),
                       Offset()};
            return false;
        }
        m_table.records.emplace_back();
        starts.push_back(keyed ? m_memberAt : Offset());
        m_position = 0;
        if (keyed) {
            m_column = 0;
            Cell().text = std::move(m_memberKey);
        }
        return true;
    }

    std::size_t Offset() const { return std::size_t(m_lastRead - m_text.data()); }

    std::string RecordNumber() const {
        return "record " + std::to_string(m_table.records.size() + 1);
    }

    // The cell of the field whose value starts now.
    RecordCell& FieldCell() {
        if (m_table.shape == RecordShape::kPositional) {
            m_column = m_position++;
            while (m_table.keys.size() <= m_column) {
                m_table.keys.push_back(std::to_string(m_table.keys.size()));
            }
        }
        return Cell();
    }

    RecordCell& Cell() {
        std::vector<RecordCell>& cells = m_table.records.back();
        if (cells.size() <= m_column) {
            cells.resize(m_column + 1);
        }
        return cells[m_column];
    }

    bool NotARecord(const char* kind) {
        if (m_table.shape == RecordShape::kKeyedByIdiom) {
            m_error = {RecordNumber() + ", " + Quoted(m_memberKey) + ", is " + kind +
                           ", not an object: the file is an object, read as one keyed by idiom "
                           "(each value the fields of its idiom); if its records lie under a "
                           "key, name it with --records KEY",
                       m_memberAt};
        } else {
            m_error = {RecordNumber() + " is " + kind + ", not an object or an array", Offset()};
        }
        return false;
    }

    bool Refuse(const std::string& what) {
        m_error = {what + ", not a list of records ([{...}, {...}] or {\"idiom\": {...}})", 0,
                   false};
        return false;
    }

    RecordTable& m_table;
    std::string_view m_text;
    const char* const& m_lastRead;
    const ObjectLayout* m_layout;  // null for a top-level array
    std::unordered_map<std::string, std::size_t> m_columns;
    std::size_t m_recordDepth = 1;
    std::size_t m_depth = 0;
    std::size_t m_column = 0;
    std::size_t m_position = 0;  // the next field's position in an array record
    bool m_inList = false;
    bool m_fieldIsArray = false;
    std::string m_memberKey;  // of a top-level object's member
    std::size_t m_memberAt = 0;
};

// The line of each offset (in rising order), counted as text_position does:
// LF, CR LF and a lone CR each end a line.
std::vector<std::size_t> LinesOf(std::string_view text, const std::vector<std::size_t>& offsets) {
    std::vector<std::size_t> lines;
    lines.reserve(offsets.size());
    const bool loneCr = text.find('\r') != std::string_view::npos;
    const char* const textEnd = text.data() + text.size();
    std::size_t line = 1;
    const char* counted = text.data();
    for (const std::size_t offset : offsets) {
        const char* const end = text.data() + offset;
        for (const char* lf = counted;
             (lf = static_cast<const char*>(std::memchr(lf, '\n', end - lf))) != nullptr; ++lf) {
            ++line;
        }
        for (const char* cr = counted;
             loneCr && (cr = static_cast<const char*>(std::memchr(cr, '\r', end - cr))) != nullptr;
             ++cr) {
            line += cr + 1 == textEnd || cr[1] != '\n';
        }
        counted = end;
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

TableError ReadJsonTable(std::string_view text, RecordTable& table, std::string_view recordsKey) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    const bool object = first != std::string_view::npos && text[first] == '{';
    const char* lastRead = nullptr;
    ObjectLayout layout;
    if (object) {
        MemberScan scan(text, lastRead);
        Parse(text, scan, lastRead);
        if (scan.error().failed()) {
            return scan.error();
        }
        layout = ChooseLayout(scan.members, recordsKey);
        if (layout.error.failed()) {
            return layout.error;
        }
    } else if (!recordsKey.empty()) {
        return {"--records names a key of an object, but the list is an array", 0, false};
    }
    TableBuilder builder(table, text, lastRead, object ? &layout : nullptr);
    Parse(text, builder, lastRead);
    table.lines = LinesOf(text, builder.starts);
    return builder.error();
}

#include "import/import_fields.h"

#include "text/utf8_char.h"

namespace {

constexpr std::string_view kRoleNames[kRoleCount] = {"idiom", "pinyin", "explanation", "source",
                                                     "example"};

// The names open idiom lists give their columns, most usual first.
const std::vector<std::string_view> kUsualNames[kRoleCount] = {
    {"word", "idiom", "chengyu", "成语", "词语", "词条"},
    {"pinyin", "拼音", "pronunciation", "读音", "注音"},
    {"explanation", "meaning", "definition", "释义", "解释", "含义"},
    {"derivation", "source", "origin", "出处", "来源", "典故"},
    {"example", "examples", "示例", "例句", "例子"},
};

constexpr bool kRequired[kRoleCount] = {true, true, true, false, false};

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

// Column 0 of a list keyed by idiom is each record's key, which no name finds.
std::optional<std::size_t> FindKey(const RecordTable& table, std::string_view name) {
    const std::vector<std::string>& keys = table.keys;
    const std::size_t first = table.shape == RecordShape::kKeyedByIdiom ? 1 : 0;
    for (std::size_t i = first; i < keys.size(); ++i) {
        if (keys[i] == name) {
            return i;
        }
    }
    for (std::size_t i = first; i < keys.size(); ++i) {
        if (SameIgnoringAsciiCase(keys[i], name)) {
            return i;
        }
    }
    return std::nullopt;
}

std::string KeyName(const RecordTable& table, std::size_t column) {
    return table.shape == RecordShape::kKeyedByIdiom && column == 0 ? "(each record's key)"
                                                                    : table.keys[column];
}

std::string ListKeys(const RecordTable& table) {
    const std::size_t first = table.shape == RecordShape::kKeyedByIdiom ? 1 : 0;
    if (table.keys.size() <= first) {
        return "it names none";
    }
    std::string list = "its keys are";
    for (std::size_t i = first; i < table.keys.size(); ++i) {
        list += (i == first ? " \"" : ", \"") + table.keys[i] + "\"";
    }
    return list;
}

// "the pinyin and the explanation".
std::string RoleList(const std::vector<std::size_t>& roles) {
    std::string list;
    for (std::size_t i = 0; i < roles.size(); ++i) {
        list += std::string(i == 0                  ? ""
                            : i + 1 == roles.size() ? " and "
                                                    : ", ") +
                "the " + std::string(kRoleNames[roles[i]]);
    }
    return list;
}

// "ROLE=KEY,ROLE=KEY" for the roles given.
std::string FieldsExample(const std::vector<std::size_t>& roles, const char* value) {
    std::string example;
    for (std::size_t r : roles) {
        if (!example.empty()) {
            example += ',';
        }
        example.append(kRoleNames[r]).append("=").append(value);
    }
    return example;
}

// At most ten characters of `text`, for showing a record's fields.
std::string Abridged(const std::string& text) {
    std::size_t end = 0;
    for (int n = 0; n < 10 && end < text.size(); ++n) {
        end += Utf8CharLength(text, end);
    }
    return end < text.size() ? text.substr(0, end) + "..." : text;
}

// What a list of arrays must be told, with its first record to choose from.
std::string PositionalHelp(const RecordTable& table) {
    std::string help =
        "the records are arrays, whose fields have no names: name each role by its position, "
        "from 0, with --fields, e.g. --fields idiom=0,pinyin=1,explanation=2";
    if (!table.records.empty() && !table.records.front().empty()) {
        help += "; record 1 holds";
        const std::vector<RecordCell>& cells = table.records.front();
        for (std::size_t i = 0; i < cells.size() && i < 8; ++i) {
            const RecordCell& cell = cells[i];
            help.append(i == 0 ? " " : ", ").append(std::to_string(i)).append(" ");
            if (cell.notText) {
                help.append(cell.notText);
            } else {
                help.append("\"")
                    .append(Abridged(!cell.items           ? cell.text
                                     : cell.items->empty() ? std::string()
                                                           : cell.items->front()))
                    .append("\"");
            }
        }
    }
    return help;
}

}  // namespace

std::string_view RoleName(Role role) { return kRoleNames[static_cast<std::size_t>(role)]; }

bool ParseFieldChoice(std::string_view option, FieldChoice& choice, std::string& error) {
    while (!option.empty()) {
        const std::size_t comma = option.find(',');
        const std::string_view item = option.substr(0, comma);
        option = comma == std::string_view::npos ? "" : option.substr(comma + 1);
        const std::size_t equals = item.find('=');
        const std::string_view role = item.substr(0, equals);
        std::size_t r = 0;
        while (r < kRoleCount && kRoleNames[r] != role) {
            ++r;
        }
        if (r == kRoleCount || equals == std::string_view::npos) {
            error =
                "--fields takes ROLE=KEY pairs, ROLE one of idiom, pinyin, explanation, "
                "source, example, and ROLE= for one the list does not have; not \"" +
                std::string(item) + "\"";
            return false;
        }
        if (r == static_cast<std::size_t>(Role::kIdiom) && equals + 1 == item.size()) {
            error = "--fields idiom= says the list has no idioms, but every entry needs one";
            return false;
        }
        choice[r] = std::string(item.substr(equals + 1));
    }
    return true;
}

bool ResolveFields(const RecordTable& table, const FieldChoice& choice, FieldMap& map,
                   std::string& error) {
    const bool positional = table.shape == RecordShape::kPositional;
    std::vector<std::string> problems;
    std::vector<std::size_t> missing;
    for (std::size_t r = 0; r < kRoleCount; ++r) {
        map[r].reset();
        if (choice[r]) {
            if (!choice[r]->empty() && !(map[r] = FindKey(table, *choice[r]))) {
                problems.push_back("the list has no field \"" + *choice[r] + "\" for the " +
                                   std::string(kRoleNames[r]));
            }
            continue;
        }
        if (r == static_cast<std::size_t>(Role::kIdiom) &&
            table.shape == RecordShape::kKeyedByIdiom) {
            map[r] = 0;
            continue;
        }
        for (std::string_view name : kUsualNames[r]) {
            if ((map[r] = FindKey(table, name))) {
                break;
            }
        }
        if (!map[r] && kRequired[r] && !positional) {
            missing.push_back(r);
        }
    }
    if (positional && !choice[static_cast<std::size_t>(Role::kIdiom)]) {
        error = PositionalHelp(table);
        return false;
    }
    if (!missing.empty()) {
        problems.push_back("no field for " + RoleList(missing) + " found; name " +
                           (missing.size() == 1 ? "it" : "them") + " with --fields " +
                           FieldsExample(missing, "KEY") + ", or say the list has " +
                           (missing.size() == 1 ? "none" : "none of them") + " with --fields " +
                           FieldsExample(missing, ""));
    }
    if (problems.empty()) {
        return true;
    }
    error.clear();
    for (const std::string& problem : problems) {
        error += problem + "; ";
    }
    error += positional
                 ? "its records have " + std::to_string(table.keys.size()) + " fields, from 0"
                 : ListKeys(table);
    return false;
}

std::string DescribeFields(const RecordTable& table, const FieldMap& map) {
    std::vector<bool> used(table.keys.size());
    for (const auto& column : map) {
        if (column) {
            used[*column] = true;
        }
    }
    std::string text;
    for (std::size_t r = 0; r < kRoleCount; ++r) {
        text += (r == 0 ? "" : ", ") + std::string(kRoleNames[r]) + "=" +
                (map[r] ? KeyName(table, *map[r]) : std::string("(none)"));
        // Another column named like this role's field, which may be the one wanted.
        std::string passedOver;
        for (std::size_t c = 0; c < table.keys.size(); ++c) {
            if (used[c] || (table.shape == RecordShape::kKeyedByIdiom && c == 0)) {
                continue;
            }
            for (std::string_view name : kUsualNames[r]) {
                if (SameIgnoringAsciiCase(table.keys[c], name)) {
                    passedOver += (passedOver.empty() ? "" : ", ") + table.keys[c];
                    break;
                }
            }
        }
        if (!passedOver.empty()) {
            text += " (passed over: " + passedOver + ")";
        }
    }
    std::string unused;
    for (std::size_t c = 0; c < table.keys.size(); ++c) {
        if (!used[c]) {
            unused += (unused.empty() ? "" : ", ") + KeyName(table, c);
        }
    }
    return text + "; unused: " + (unused.empty() ? "none" : unused);
}

#include "import/import_fields.h"

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

std::optional<std::size_t> FindKey(const std::vector<std::string>& keys, std::string_view name) {
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (keys[i] == name) {
            return i;
        }
    }
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (SameIgnoringAsciiCase(keys[i], name)) {
            return i;
        }
    }
    return std::nullopt;
}

std::string ListKeys(const std::vector<std::string>& keys) {
    if (keys.empty()) {
        return "it names none";
    }
    std::string list = "its keys are";
    for (std::size_t i = 0; i < keys.size(); ++i) {
        list += (i == 0 ? " \"" : ", \"") + keys[i] + "\"";
    }
    return list;
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
        if (r == kRoleCount || equals == std::string_view::npos || equals + 1 == item.size()) {
            error =
                "--fields takes ROLE=KEY pairs, ROLE one of idiom, pinyin, explanation, "
                "source, example; not \"" +
                std::string(item) + "\"";
            return false;
        }
        choice[r] = std::string(item.substr(equals + 1));
    }
    return true;
}

bool ResolveFields(const std::vector<std::string>& keys, const FieldChoice& choice, FieldMap& map,
                   std::string& error) {
    for (std::size_t r = 0; r < kRoleCount; ++r) {
        if (!choice[r].empty()) {
            map[r] = FindKey(keys, choice[r]);
            if (!map[r]) {
                error = "the list has no field \"" + choice[r] + "\" for the " +
                        std::string(kRoleNames[r]) + "; " + ListKeys(keys);
                return false;
            }
            continue;
        }
        for (std::string_view name : kUsualNames[r]) {
            if ((map[r] = FindKey(keys, name))) {
                break;
            }
        }
        if (!map[r] && kRequired[r]) {
            error = "no field for the " + std::string(kRoleNames[r]) + " found; " + ListKeys(keys) +
                    ": name it with --fields " + std::string(kRoleNames[r]) + "=KEY";
            return false;
        }
    }
    return true;
}

std::string DescribeFields(const std::vector<std::string>& keys, const FieldMap& map) {
    std::string text;
    for (std::size_t r = 0; r < kRoleCount; ++r) {
        text += (r == 0 ? "" : ", ") + std::string(kRoleNames[r]) + "=" +
                (map[r] ? keys[*map[r]] : std::string("(none)"));
    }
    return text;
}

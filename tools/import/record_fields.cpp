#include "import/record_fields.h"

#include <array>
#include <string_view>

namespace {

constexpr std::string_view kJoiner = "；";

bool EndsWithAny(std::string_view text, const std::string_view* ends, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        if (text.ends_with(ends[i])) {
            return true;
        }
    }
    return false;
}

// What goes between an item and the next.
std::string_view JoinerAfter(std::string_view item) {
    // An item ending in Chinese punctuation needs nothing more.
    static constexpr std::array<std::string_view, 9> kSentenceEnds = {"。", "！", "？", "；", "…",
                                                                      "．", "，", "、", "："};
    static constexpr std::array<std::string_view, 6> kClosers = {"”", "’", "」", "』", "）", "》"};
    for (std::string_view closer : kClosers) {
        if (item.ends_with(closer)) {
            item.remove_suffix(closer.size());
            break;
        }
    }
    if (EndsWithAny(item, kSentenceEnds.data(), kSentenceEnds.size())) {
        return "";
    }
    if (!item.empty() && std::string_view(".!?;").find(item.back()) != std::string_view::npos) {
        return " ";
    }
    return kJoiner;
}

std::string_view Trimmed(std::string_view text) {
    const std::size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string_view::npos) {
        return {};
    }
    return text.substr(begin, text.find_last_not_of(" \t\r\n") - begin + 1);
}

}  // namespace

bool JoinItems(const std::vector<std::string>& items, Role role, std::string& joined,
               std::string& refusal) {
    joined.clear();
    std::size_t count = 0;
    std::string_view previous;
    for (const std::string& item : items) {
        const std::string_view text = Trimmed(item);
        if (text.empty()) {
            continue;
        }
        if (count++ > 0) {
            joined += role == Role::kPinyin ? std::string_view(" ") : JoinerAfter(previous);
        }
        joined += text;
        previous = text;
    }
    if (role == Role::kIdiom && count > 1) {
        refusal = "its idiom is an array of " + std::to_string(count) + " texts, not one";
        joined.clear();
        return false;
    }
    return true;
}

bool TakeRecordFields(std::vector<RecordCell>& cells, const FieldMap& map, RecordFields& fields,
                      std::string& refusal) {
    for (std::size_t r = 0; r < kRoleCount; ++r) {
        if (!map[r] || *map[r] >= cells.size()) {
            continue;
        }
        RecordCell& cell = cells[*map[r]];
        const Role role = static_cast<Role>(r);
        if (cell.notText) {
            refusal = "its " + std::string(RoleName(role)) + " is " + cell.notText + ", not text";
            return false;
        }
        if (!cell.items) {
            fields[r] = std::move(cell.text);
        } else if (!JoinItems(*cell.items, role, fields[r], refusal)) {
            return false;
        }
    }
    return true;
}

std::optional<ShortRecord> FindShortRecord(const RecordTable& table, const FieldMap& map) {
    if (table.shape != RecordShape::kPositional) {
        return std::nullopt;
    }
    std::optional<ShortRecord> found;
    for (std::size_t i = 0; i < table.records.size(); ++i) {
        const std::size_t size = table.records[i].size();
        for (std::size_t r = 0; r < kRoleCount; ++r) {
            if (map[r] && *map[r] >= size) {
                if (!found) {
                    found = ShortRecord{i, static_cast<Role>(r), 0};
                }
                ++found->count;
                break;
            }
        }
    }
    return found;
}

#include "json_records.h"

#include <nlohmann/json.hpp>
#include <unordered_map>

namespace {

using Json = nlohmann::json;

const char* KindName(const Json& value) {
    switch (value.type()) {
        case Json::value_t::object:
            return "an object";
        case Json::value_t::array:
            return "an array";
        case Json::value_t::string:
            return "a string";
        case Json::value_t::null:
            return "null";
        case Json::value_t::boolean:
            return "true or false";
        default:
            return "a number";
    }
}

RecordCell CellOf(const Json& value) {
    if (value.is_string()) {
        return {value.get_ref<const std::string&>()};
    }
    if (value.is_null()) {
        return {};
    }
    if (value.is_structured()) {
        return {"", KindName(value)};
    }
    return {value.dump()};
}

// nlohmann's message without its own "[json.exception...] parse error at
// line L, column C: " opening: the caller names the place in characters.
std::string ParseMessage(const nlohmann::json::parse_error& error) {
    std::string message = error.what();
    const std::string_view marker = "syntax error";
    if (const std::size_t at = message.find(marker); at != std::string::npos) {
        return message.substr(at);
    }
    return message;
}

}  // namespace

TableError ReadJsonTable(std::string_view text, RecordTable& table) {
    Json list;
    try {
        list = Json::parse(text);
    } catch (const nlohmann::json::parse_error& error) {
        // `byte` counts from 1 and names the last byte read.
        return {ParseMessage(error), error.byte > 0 ? error.byte - 1 : 0};
    }
    if (!list.is_array()) {
        return {std::string("the file holds ") + KindName(list) +
                    ", not an array of records ([{...}, {...}])",
                0, false};
    }
    std::unordered_map<std::string, std::size_t> column;
    table.records.reserve(list.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        const Json& record = list[i];
        if (!record.is_object()) {
            return {
                "record " + std::to_string(i + 1) + " is " + KindName(record) + ", not an object",
                0, false};
        }
        std::vector<RecordCell> cells(table.keys.size());
        for (const auto& [key, value] : record.items()) {
            auto [found, added] = column.try_emplace(key, table.keys.size());
            if (added) {
                table.keys.push_back(key);
                cells.resize(table.keys.size());
            }
            cells[found->second] = CellOf(value);
        }
        table.records.push_back(std::move(cells));
    }
    return {};
}

#include "reference/dictionary_lines.h"

#include <algorithm>

#include "reference/gbk_characters.h"

namespace reference {

std::vector<std::string_view> DictionaryEntries(std::string_view content) {
    std::vector<std::string_view> entries;
    entries.reserve(std::count(content.begin(), content.end(), '\n') + 1);
    while (!content.empty()) {
        const std::size_t lf = content.find('\n');
        std::string_view line = content.substr(0, lf);
        content.remove_prefix(lf == std::string_view::npos ? content.size() : lf + 1);
        line = line.substr(0, line.find('\0'));
        entries.push_back(TrimRight(line));
    }
    return entries;
}

}  // namespace reference

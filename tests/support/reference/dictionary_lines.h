#pragma once
// What a dictionary file's bytes give as entries, read the plain way.

#include <string_view>
#include <vector>

namespace reference {

// The entries of a file that holds `content`, as views into it: one for each
// LF-ended line and one for a last line without LF (an empty remainder after
// the last LF is no entry); each line cut at its first NUL, then rid of its
// trailing white space. A CR alone ends no line.
std::vector<std::string_view> DictionaryEntries(std::string_view content);

}  // namespace reference

#pragma once
// One entry laid out for a terminal: the program's three fields, in UTF-8.

#include <string>
#include <string_view>

#include "entry_fields.h"

// GBK to UTF-8 for reading on screen: bytes that are not GBK each become
// U+FFFD and set `lossy`, so a damaged entry still shows what it can.
std::string GbkForDisplay(std::string_view gbk, bool& lossy);

// "成语: ", then "拼音:" with the field as it is (it starts with the space
// that ends the idiom), then "解释:" and the explanation on the lines below,
// its CR LF breaks made plain line breaks.
std::string FormatEntry(const EntryFields& fields, bool& lossy);

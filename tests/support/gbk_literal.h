#pragma once
// Test helper: GBK bytes from a readable UTF-8 literal, converted by the
// system (iconv here, the Windows code page 936 tables there), never by the
// code under test.

#include <string>
#include <string_view>

// Throws std::invalid_argument for text GBK cannot hold.
std::string Gbk(std::u8string_view utf8);

// NFC by utf8proc.

#include <utf8proc.h>

#include <cstdlib>
#include <memory>

#include "text/unicode_nfc.h"

std::string LibraryNfc(std::string_view utf8) {
    utf8proc_uint8_t* mapped = nullptr;
    // STABLE: no character that a later Unicode version might compose
    // differently; the length is given, so a NUL is a character like others.
    const utf8proc_ssize_t length =
        utf8proc_map(reinterpret_cast<const utf8proc_uint8_t*>(utf8.data()),
                     static_cast<utf8proc_ssize_t>(utf8.size()), &mapped,
                     static_cast<utf8proc_option_t>(UTF8PROC_STABLE | UTF8PROC_COMPOSE));
    const std::unique_ptr<utf8proc_uint8_t, decltype(&std::free)> owned(mapped, &std::free);
    if (length < 0) {
        return std::string(utf8);
    }
    return std::string(reinterpret_cast<const char*>(mapped), static_cast<std::size_t>(length));
}

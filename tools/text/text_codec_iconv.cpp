// The text codec on top of iconv (glibc's, or libiconv where iconv.h is it).

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

#include "text/text_codec.h"
#include "text/utf8_validity.h"

namespace {

constexpr const char* kGbk = "GBK";
constexpr const char* kUtf8 = "UTF-8";

// One conversion descriptor, closed when it goes out of scope.
class IconvHandle {
public:
    IconvHandle(const char* to, const char* from) : m_cd(iconv_open(to, from)) {
        if (m_cd == reinterpret_cast<iconv_t>(-1)) {
            // Every glibc ships these converters; without them the tool has
            // nothing to work with.
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
        }
    }
    ~IconvHandle() { iconv_close(m_cd); }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;

    iconv_t get() const { return m_cd; }

private:
    iconv_t m_cd;
};

// Converts all of `in`. iconv stops at the first character it cannot read or
// cannot write and leaves its input pointer there; `failure` says which of the
// two an EILSEQ means for this pair of encodings. A sequence cut off at the end
// (EINVAL) is always invalid input.
CodecResult Convert(const char* to, const char* from, std::string_view in, std::string& out,
                    CodecStatus failure) {
    IconvHandle cd(to, from);
    // No conversion here makes more than 1.5 bytes of one (GBK or UTF-16 to
    // UTF-8 at most); E2BIG grows the buffer should one ever do.
    out.assign(in.size() + in.size() / 2 + 16, '\0');
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    std::size_t written = 0;
    for (;;) {
        char* dst = out.data() + written;
        std::size_t dstLeft = out.size() - written;
        // Once the input is used up, a null source flushes any shift state.
        const bool flushing = srcLeft == 0;
        const std::size_t rc = flushing ? iconv(cd.get(), nullptr, nullptr, &dst, &dstLeft)
                                        : iconv(cd.get(), &src, &srcLeft, &dst, &dstLeft);
        const int error = errno;
        written = out.size() - dstLeft;
        if (rc != static_cast<std::size_t>(-1)) {
            if (flushing) {
                break;
            }
            continue;
        }
        if (error == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        const std::size_t offset = static_cast<std::size_t>(src - in.data());
        out.clear();
        return {error == EILSEQ ? failure : CodecStatus::kInvalidInput, offset};
    }
    out.resize(written);
    return {};
}

}  // namespace

CodecResult GbkToUtf8(std::string_view gbk, std::string& utf8) {
    // Every GBK character exists in Unicode, so a failure is always bad input.
    return Convert(kUtf8, kGbk, gbk, utf8, CodecStatus::kInvalidInput);
}

bool HasFourByteGb18030() { return true; }

CodecResult Gb18030ToUtf8(std::string_view gb18030, std::string& utf8) {
    return Convert(kUtf8, "GB18030", gb18030, utf8, CodecStatus::kInvalidInput);
}

CodecResult CheckUtf8(std::string_view text) {
    if (const std::size_t bad = FindInvalidUtf8(text); bad != std::string_view::npos) {
        return {CodecStatus::kInvalidInput, bad};
    }
    return {};
}

CodecResult Utf8ToGbk(std::string_view utf8, std::string& gbk) {
    // glibc reports both unreadable and unwritable characters as EILSEQ, so
    // reading is proven first.
    if (CodecResult valid = CheckUtf8(utf8); !valid.ok()) {
        gbk.clear();
        return valid;
    }
    return Convert(kGbk, kUtf8, utf8, gbk, CodecStatus::kUnencodable);
}

CodecResult Utf16ToUtf8(std::string_view utf16, bool bigEndian, std::string& utf8) {
    return Convert(kUtf8, bigEndian ? "UTF-16BE" : "UTF-16LE", utf16, utf8,
                   CodecStatus::kInvalidInput);
}

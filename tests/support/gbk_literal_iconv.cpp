#include <iconv.h>

#include <stdexcept>

#include "gbk_literal.h"

std::string Gbk(std::u8string_view utf8) {
    iconv_t cd = iconv_open("GBK", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open");
    std::string in(reinterpret_cast<const char*>(utf8.data()), utf8.size());
    std::string out(in.size() * 2 + 4, '\0');
    char* src = in.data();
    char* dst = out.data();
    size_t srcLeft = in.size(), dstLeft = out.size();
    const size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1)) throw std::invalid_argument("test text GBK cannot hold");
    out.resize(out.size() - dstLeft);
    return out;
}

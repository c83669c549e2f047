#include <istream>

#include "idiom_list.h"

namespace {

class StreamSource : public ByteSource {
public:
    explicit StreamSource(std::istream& in) : m_in(in) {}
    std::size_t Read(char* buffer, std::size_t size) override {
        if (!m_in) {
            return 0;
        }
        m_in.read(buffer, static_cast<std::streamsize>(size));
        return static_cast<std::size_t>(m_in.gcount());
    }

private:
    std::istream& m_in;
};

}  // namespace

void ReadIdiomList(std::istream& in, IdiomList& list) {
    StreamSource source(in);
    ReadIdiomList(source, list);
}

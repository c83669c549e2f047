#include "dictionary/unencodable_report.h"

#include <ostream>

#include "commands/command_args.h"
#include "text/utf8_char.h"

std::size_t ListUnencodable(const ConvertOutcome& outcome,
                            const std::function<std::string(std::size_t line)>& where,
                            std::ostream& err, std::size_t limit) {
    std::size_t listed = 0;
    for (const UnencodableChar& c : outcome.unencodable) {
        if (listed == limit) {
            break;
        }
        err << where(c.line) << ": \"" << c.character << "\" " << FormatCodePoint(c.codePoint)
            << " cannot be written in GBK\n";
        ++listed;
    }
    return outcome.unencodable.size() - listed;
}

void RefuseUnencodable(const ConvertOutcome& outcome, const std::string& outName, const char* units,
                       std::ostream& err) {
    err << "idiomtool: " << outName
        << " not written: " << Counted(outcome.unencodable.size(), "character", "characters")
        << " GBK cannot hold (" << kSkipUnencodableOption << " leaves out their " << units << ")\n";
}

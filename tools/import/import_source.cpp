#include "import/import_source.h"

#include "import/delimited_text.h"
#include "import/json_records.h"
#include "text/text_codec.h"
#include "text/text_position.h"

namespace {

constexpr std::string_view kWhiteSpace = " \t\r\n";

std::string LowerExtension(const std::filesystem::path& file) {
    std::string extension;
    for (const char8_t c : file.extension().u8string()) {  // u8: any script converts
        extension += c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : char(c);
    }
    return extension;
}

}  // namespace

std::string_view FormatName(ListFormat format) {
    switch (format) {
        case ListFormat::kJson:
            return "JSON";
        case ListFormat::kCsv:
            return "CSV";
        default:
            return "TSV";
    }
}

ListFormat DetectFormat(const std::filesystem::path& file, std::string_view text) {
    const std::string extension = LowerExtension(file);
    if (extension == ".json") {
        return ListFormat::kJson;
    }
    if (extension == ".csv") {
        return ListFormat::kCsv;
    }
    if (extension == ".tsv" || extension == ".tab") {
        return ListFormat::kTsv;
    }
    const std::size_t first = text.find_first_not_of(kWhiteSpace);
    if (first != std::string_view::npos && (text[first] == '[' || text[first] == '{')) {
        return ListFormat::kJson;
    }
    const std::string_view firstLine = text.substr(0, text.find_first_of("\r\n"));
    return firstLine.find('\t') != std::string_view::npos ? ListFormat::kTsv : ListFormat::kCsv;
}

ListSource ReadListSource(const std::filesystem::path& file, std::string_view bytes,
                          ListEncoding encoding, std::string_view recordsKey) {
    ListSource source;
    ListText decoded = DecodeListText(bytes, encoding);
    source.encoding = std::move(decoded.encoding);
    if (!decoded.error.empty()) {
        source.error = std::move(decoded.error);
        return source;
    }
    const std::string_view text = decoded.text;
    source.format = DetectFormat(file, text);
    // The JSON parser refuses ill-formed UTF-8 itself, naming the place.
    const bool delimited = source.format != ListFormat::kJson;
    if (const CodecResult valid = delimited ? CheckUtf8(text) : CodecResult{}; !valid.ok()) {
        source.error = DescribePosition(PositionOf(text, valid.offset)) + ": not valid UTF-8";
        return source;
    }
    if (text.find_first_not_of(kWhiteSpace) == std::string_view::npos) {
        return source;
    }
    const TableError error =
        source.format == ListFormat::kJson
            ? ReadJsonTable(text, source.table, recordsKey)
            : ReadDelimitedTable(text, source.format == ListFormat::kCsv ? ',' : '\t',
                                 source.table);
    if (error.failed()) {
        source.error = error.hasOffset
                           ? DescribePosition(PositionOf(text, error.offset)) + ": " + error.message
                           : error.message;
    }
    return source;
}

// The CSV and TSV reader on the cases RFC 4180 makes hard: quotes, doubled
// quotes, delimiters and line breaks inside quotes, and every line end.

#include <gtest/gtest.h>

#include "import/delimited_text.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows FieldsOf(const DelimitedText& parsed) {
    Rows rows;
    for (const DelimitedRow& row : parsed.rows) {
        rows.push_back(row.fields);
    }
    return rows;
}

TEST(DelimitedText, ReadsQuotedFieldsAndEveryLineEnd) {
    const std::pair<std::string, Rows> cases[] = {
        {"a,\"b,c\",\"say \"\"hi\"\"\"\r\n", {{"a", "b,c", "say \"hi\""}}},
        {"\"two\r\nlines\",\"one\nmore\rend\"\n", {{"two\r\nlines", "one\nmore\rend"}}},
        {"a,,\"\"\nb,c,", {{"a", "", ""}, {"b", "c", ""}}},    // last row unended, empty last field
        {"a\rb\r\nc\n\n\r\nd", {{"a"}, {"b"}, {"c"}, {"d"}}},  // blank lines are left out
        {"\"\"\n", {{""}}},                                    // a quoted empty field is no blank
        {"他说\"好\"x,y\n", {{"他说\"好\"x", "y"}}},           // a quote inside a field stays
    };
    for (const auto& [text, expected] : cases) {
        const DelimitedText parsed = ParseDelimited(text, ',');
        EXPECT_FALSE(parsed.error.failed()) << text << ": " << parsed.error.message;
        EXPECT_EQ(FieldsOf(parsed), expected) << text;
    }
    const DelimitedText tabs = ParseDelimited("a,b\t\"c\td\"\te\n", '\t');
    EXPECT_EQ(FieldsOf(tabs), (Rows{{"a,b", "c\td", "e"}}));
}

// A line of spaces and tabs is blank, wherever it stands; in TSV a quote is
// text unless it quotes the whole field.
TEST(DelimitedText, TakesLinesOfSpacesForBlankAndTsvQuotesForText) {
    const std::pair<std::string, Rows> csv[] = {
        {"a,b\n  \t \nc,d\n   ", {{"a", "b"}, {"c", "d"}}},
        {"a,b\r\n \r\n", {{"a", "b"}}},
        {"a\n , \n", {{"a"}, {" ", " "}}},  // a delimiter makes fields, however empty
    };
    for (const auto& [text, expected] : csv) {
        const DelimitedText parsed = ParseDelimited(text, ',');
        EXPECT_FALSE(parsed.error.failed()) << text;
        EXPECT_EQ(FieldsOf(parsed), expected) << text;
    }
    const std::pair<std::string, Rows> tsv[] = {
        {"\"画蛇\"添足\tb\n\t \t\n", {{"\"画蛇\"添足", "b"}}},
        {"\"a\tb\n", {{"\"a", "b"}}},                            // never closed
        {"x\t\"two\nlines\"\ty\n", {{"x", "two\nlines", "y"}}},  // quoted whole
        {"\"a\"\"b\"\t\"c\"d\n", {{"a\"b", "\"c\"d"}}},
    };
    for (const auto& [text, expected] : tsv) {
        const DelimitedText parsed = ParseDelimited(text, '\t');
        EXPECT_FALSE(parsed.error.failed()) << text;
        EXPECT_EQ(FieldsOf(parsed), expected) << text;
    }
}

TEST(DelimitedText, StopsAtTheFaultyQuote) {
    const std::pair<std::string, std::size_t> cases[] = {
        {"a,b\nc,\"never closed\nd,e\n", 6},  // the quote that opens it
        {"a,\"b\"c\n", 5},                    // what follows the closing quote
        {"a,\"b\"\"\n", 2},                   // a doubled quote does not close
    };
    for (const auto& [text, offset] : cases) {
        const DelimitedText parsed = ParseDelimited(text, ',');
        EXPECT_TRUE(parsed.error.failed()) << text;
        EXPECT_EQ(parsed.error.offset, offset) << text;
    }
}

TEST(DelimitedText, NumbersRecordsByTheirFirstLineAndWantsEveryField) {
    RecordTable table;
    const std::string text = " word ,pinyin\r\n一,\"yī\r\nyī\"\r\n\r\n二,èr\r\n";
    ASSERT_FALSE(ReadDelimitedTable(text, ',', table).failed());
    EXPECT_EQ(table.keys, (std::vector<std::string>{"word", "pinyin"}));
    ASSERT_EQ(table.records.size(), 2u);
    EXPECT_EQ(table.records[1][1].text, "èr");
    EXPECT_EQ(table.lines, (std::vector<std::size_t>{2, 5}));

    RecordTable shortRow;
    const std::string missing = "word,pinyin\n一,yī\n二\n";
    const TableError error = ReadDelimitedTable(missing, ',', shortRow);
    EXPECT_TRUE(error.failed());
    EXPECT_EQ(error.offset, missing.rfind("二"));
}

}  // namespace

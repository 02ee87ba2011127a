#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "conversion/csv_splitter.h"

namespace {

CsvFields fieldsBuffer;

// The columns up to the last non-empty one; each column's length must be
// that of its text.
std::vector<std::string> columnsOf(const CsvFields& fields) {
    std::vector<std::string> columns;
    for (size_t k = 0; k < kCsvColumns; ++k) {
        columns.push_back(fields.column[k]);
        EXPECT_EQ(fields.length[k], columns.back().size()) << "column " << k + 1;
    }
    while (!columns.empty() && columns.back().empty())
        columns.pop_back();
    return columns;
}

// A line split whole.
std::vector<std::string> split(const std::string& line,
                               const CsvDialect& dialect = standardCsvDialect()) {
    memset(&fieldsBuffer, 0x5a, sizeof fieldsBuffer);  // stale bytes must not show
    splitCsvLine(line.data(), line.size(), fieldsBuffer, dialect);
    return columnsOf(fieldsBuffer);
}

// The same line handed over in pieces of the given size.
std::vector<std::string> splitInPieces(const std::string& line, size_t piece) {
    CsvFields fields;
    memset(&fields, 0x5a, sizeof fields);
    CsvSplitter splitter;
    beginCsvLine(splitter, fields, standardCsvDialect());
    for (size_t at = 0; at < line.size(); at += piece) {
        feedCsvLine(splitter, fields, line.data() + at, std::min(piece, line.size() - at));
    }
    endCsvLine(splitter, fields);
    return columnsOf(fields);
}

// Shift-JIS's lead bytes, for tests that run on any code page.
bool shiftJisLead(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

using V = std::vector<std::string>;

}  // namespace

TEST(CsvSplit, CommasAndEmptyColumns) {
    EXPECT_EQ(split("a,b,c"), (V{"a", "b", "c"}));
    EXPECT_EQ(split("a,,c"), (V{"a", "", "c"}));
    EXPECT_EQ(split("a,b,"), (V{"a", "b"}));
    EXPECT_EQ(split(",a"), (V{"", "a"}));
    EXPECT_EQ(split(" a , b "), (V{" a ", " b "}));  // blanks are kept
    EXPECT_EQ(split(""), V{});
    EXPECT_EQ(split("\r\n"), V{});
}

TEST(CsvSplit, Quoting) {
    EXPECT_EQ(split("\"x,y\",z"), (V{"x,y", "z"}));
    EXPECT_EQ(split("\"he said \"\"hi\"\"\",2"), (V{"he said \"hi\"", "2"}));
    EXPECT_EQ(split("ab\"c,d\"e,f"), (V{"abc,de", "f"}));
    EXPECT_EQ(split("\"\",b"), (V{"", "b"}));
    EXPECT_EQ(split("a\"\"b,c"), (V{"ab", "c"}));
    EXPECT_EQ(split("\"x,y\"z,w"), (V{"x,yz", "w"}));
    // An unclosed quote takes the rest of the line, commas included.
    EXPECT_EQ(split("a,\"b,c,d\r\n"), (V{"a", "b,c,d"}));
    // Quotes do not hold a line end.
    EXPECT_EQ(split("\"a\rb\",c"), (V{"a", "b,c"}));
}

TEST(CsvSplit, LineEndsAndSeparators) {
    EXPECT_EQ(split("a,b\n"), (V{"a", "b"}));
    EXPECT_EQ(split("a,b\r\n"), (V{"a", "b"}));
    EXPECT_EQ(split("a,b"), (V{"a", "b"}));
    // A lone CR or NUL followed by more separates columns like a comma.
    EXPECT_EQ(split("a,b\rc,d\n"), (V{"a", "b", "c", "d"}));
    EXPECT_EQ(split(std::string("a\0b,c", 5)), (V{"a", "b", "c"}));
    // Two CRs in a row, CR LF, or NUL NUL end the line.
    EXPECT_EQ(split("a,b\r\rc,d\n"), (V{"a", "b"}));
    EXPECT_EQ(split(std::string("a\0\0b", 4)), (V{"a"}));
    // A comma followed by the line end leaves the rest empty.
    EXPECT_EQ(split("a,\r\nb"), (V{"a"}));
}

TEST(CsvSplit, AtMost32Columns) {
    std::string line;
    for (int i = 1; i <= 40; ++i)
        line += (i > 1 ? "," : "") + std::to_string(i);
    V columns = split(line);
    ASSERT_EQ(columns.size(), 32u);
    EXPECT_EQ(columns[0], "1");
    EXPECT_EQ(columns[31], "32");
}

TEST(CsvSplit, FieldOf255BytesFitsAndLongerFieldsAreCut) {
    std::string f255(255, 'x');
    EXPECT_EQ(split(f255 + ",next"), (V{f255, "next"}));
    // Quotes do not count against the column: 255 value bytes in quotes fit.
    EXPECT_EQ(split("\"" + f255 + "\",next"), (V{f255, "next"}));
    // Doubled quotes whose value fits are kept whole.
    std::string quotes(254, 'q');
    EXPECT_EQ(split("\"" + quotes + "\"\"\",n"), (V{quotes + "\"", "n"}));
    // Longer: the first 255 bytes, the rest of the field dropped up to its end.
    std::string f300 = std::string(255, 'a') + std::string(45, 'b');
    EXPECT_EQ(split(f300 + ",next,x"), (V{std::string(255, 'a'), "next", "x"}));
    // The end of an overlong quoted field respects its quotes.
    EXPECT_EQ(split("\"" + f300 + ",still\",next"), (V{std::string(255, 'a'), "next"}));
    EXPECT_EQ(split(f300 + "\r\n"), V{std::string(255, 'a')});
    // A quoted field's last quote at the end of the bytes, and a doubled
    // quote at the cut.
    EXPECT_EQ(split("a,\"" + std::string(254, 'q') + "\"\""),
              (V{"a", std::string(254, 'q') + "\""}));
    EXPECT_EQ(split("\"" + std::string(255, 'q') + "\"\"\",n"), (V{std::string(255, 'q'), "n"}));
}

TEST(CsvSplit, ACutFieldNeverEndsInHalfACharacter) {
    CsvDialect shiftJis;
    makeCsvDialect(shiftJis, ',', '\n', shiftJisLead);
    const std::string kanji = "\x95\x5C";  // one character, its trail byte a backslash
    // 254 single bytes and a character: the cut at 255 would split it.
    EXPECT_EQ(split(std::string(254, 'a') + kanji + ",b", shiftJis),
              (V{std::string(254, 'a'), "b"}));
    EXPECT_EQ(split(std::string(253, 'a') + kanji + "zz,b", shiftJis),
              (V{std::string(253, 'a') + kanji, "b"}));
    // A field of exactly 255 bytes is not cut, whatever its last byte.
    EXPECT_EQ(split(std::string(254, 'a') + "\x95,b", shiftJis),
              (V{std::string(254, 'a') + "\x95", "b"}));
    // In a single-byte code page the cut is at 255 bytes.
    CsvDialect singleByte;
    makeCsvDialect(singleByte, ',', '\n', nullptr);
    EXPECT_EQ(split(std::string(254, 'a') + kanji + ",b", singleByte),
              (V{std::string(254, 'a') + "\x95", "b"}));
}

TEST(CsvSplit, NothingIsWrittenOutsideASlot) {
    std::string huge(5000, 'z');
    std::string line = huge + "," + huge + "\n";
    CsvFields fields[3];
    memset(fields, 0x11, sizeof fields);
    splitCsvLine(line.data(), line.size(), fields[1]);
    for (size_t i = 0; i < sizeof(CsvFields); ++i) {
        ASSERT_EQ(reinterpret_cast<unsigned char*>(&fields[0])[i], 0x11);
        ASSERT_EQ(reinterpret_cast<unsigned char*>(&fields[2])[i], 0x11);
    }
    EXPECT_EQ(strlen(fields[1].column[0]), 255u);
    EXPECT_EQ(strlen(fields[1].column[1]), 255u);
}

TEST(CsvSplit, PiecesGiveTheSameColumnsAsAWholeLine) {
    const std::string lines[] = {
        "2014,12,8,3,15,TEST,14.025,,20m,CW,599,,579,,,,,,,\"hello, world\",IO91\r\n",
        "\"he said \"\"hi\"\"\",2\n",
        "ab\"c,d\"e,f",
        "a,b\rc,d\r\rignored\n",
        std::string(300, 'a') + ",\"" + std::string(600, 'b') + "\"\"\",c\n",
        "\"\"\"\",\"\"",
    };
    for (const std::string& line : lines) {
        V whole = split(line);
        for (size_t piece : {1u, 2u, 3u, 7u, 1024u}) {
            EXPECT_EQ(splitInPieces(line, piece), whole) << "piece " << piece << " of " << line;
        }
    }
}

// The hint that a line may hold bytes outside printable ASCII is never
// missing where a column holds one, whether the byte comes in a run of eight,
// alone, in quotes or past a column's 255 bytes; a line of plain ASCII gives
// none.
TEST(CsvSplitter, HintOfBytesOutsideAscii) {
    const std::string longAscii(300, 'a');
    const struct {
        std::string line;
        bool hint;
    } cases[] = {
        {"2014,12,8,JA1ABC,\"nice signal, 73\",PM95\r\n", false},
        {"a b,c\td\r\n", true},                // TAB is no printable byte
        {"abcdefgh\x7fijklmnop,x\r\n", true},  // DEL in a run of eight
        {"x,\x01y\r\n", true},
        {"12345678\x80xyz,x\r\n", true},
        {"\"q\xe3\x81\x82\",x\r\n", true},
        {"\xb1,x\r\n", true},
        {"a,b,c\x7f", true},
        {longAscii + "\xe3,x\r\n", true},
        {longAscii + ",b\r\n", false},
    };
    for (const auto& c : cases) {
        split(c.line);
        EXPECT_EQ(fieldsBuffer.mayHoldNonAscii, c.hint) << c.line;
    }
}

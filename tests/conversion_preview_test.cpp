#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "conversion/conversion_preview.h"
#include "conversion/converter_state.h"
#include "platform/platform.h"
#include "test_support.h"

namespace {

// The grid's headings and rows, as the window shows them.
std::vector<std::string> headingsOf(const PreviewGrid& grid) {
    std::vector<std::string> headings;
    for (size_t c = 0; c < previewColumnCount(grid); ++c)
        headings.push_back(previewHeading(grid, c));
    return headings;
}
std::vector<std::string> rowOf(const PreviewGrid& grid, size_t row) {
    std::vector<std::string> cells;
    for (size_t c = 0; c < previewColumnCount(grid); ++c)
        cells.push_back(previewCell(grid, row, c));
    return cells;
}

// Previews with the nth block read failing (0: none), then reads as ever.
ConversionOutcome previewFailing(const ConversionSettings& settings, PreviewGrid& grid,
                                 int nthRead) {
    failFileBlockForTesting(nthRead, 0);
    const ConversionOutcome outcome = previewConversion(settings, grid);
    failFileBlockForTesting(0, 0);
    return outcome;
}

PreviewGrid grid;

// A title row: a column per item the records write, in the records' item
// order (COMMENT and SUBMODE first seen in the second record take their
// places), headed by name, column and title; a date and a time kept whole
// in one column each are headed by that column once; the band taken from
// the frequency names that column. The line above tells what the titles give
// and whether they differ from the settings.
TEST(PreviewGrid, RowsAndHeadingsWithTitles) {
    ScratchDir dir;
    const std::string csv = dir.file("log.csv");
    writeFile(csv,
              "Date,Time (UTC),Call,Freq,Mode,RST Sent,RST Rcvd,Name,Power,Comment\r\n"
              "2024-05-03,09:05,JA1ABC,7.026,CW,599,579,Taro,100,\r\n"
              "2024-05-04,21:30,X,14.250,USB,59,57,Hanako,100W,hi\r\n");
    ConversionSettings settings = settingsFor(csv);
    ASSERT_EQ(previewConversion(settings, grid), ConversionFinished);
    EXPECT_TRUE(grid.titlesDiffer);
    applyTitleRow(grid.titles, settings);
    ASSERT_EQ(previewConversion(settings, grid), ConversionFinished);
    EXPECT_FALSE(grid.titlesDiffer);
    EXPECT_STREQ(grid.titleLine,
                 "Line 1 is a title row: Date A, Time B, Callsign C, Freq D, Mode E, RST Sent F, "
                 "RST Rcvd G, NAME H, TX_PWR I, Comment J; times in UTC");
    const std::vector<std::string> headings = {
        "CSV line",
        "CALL  C Call",
        "QSO_DATE  A Date",
        "TIME_ON  B Time (UTC)",
        "BAND  D Freq",
        "FREQ  D Freq",
        "MODE  E Mode",
        "SUBMODE  E Mode",
        "RST_SENT  F RST Sent",
        "RST_RCVD  G RST Rcvd",
        "COMMENT  J Comment",
        "QSLMSG  J Comment",
        "NAME  H Name",
        "TX_PWR  I Power",
        "Looks wrong",
    };
    EXPECT_EQ(headingsOf(grid), headings);
    ASSERT_EQ(grid.rowCount, 2u);
    const std::vector<std::string> rows[] = {
        {"2", "JA1ABC", "20240503", "0905", "40m", "7.026", "CW", "", "599", "579", "", "", "Taro",
         "100", ""},
        {"3", "X", "20240504", "2130", "20m", "14.250", "SSB", "USB", "59", "57", "hi", "hi",
         "Hanako", "100W", "callsign QSL services refuse, TX_PWR: no Number"},
    };
    for (size_t r = 0; r < 2; ++r)
        EXPECT_EQ(rowOf(grid, r), rows[r]) << r;
    EXPECT_NE(std::string(grid.text).find("Notes and warnings for these records:\r\n"
                                          "line 1 is a title row: not written\r\n"),
              std::string::npos)
        << grid.text;
    EXPECT_FALSE(fileExists(dir.file("log.adi")));
}

// At most 50 records or the file's first 1 MiB, whichever comes first: a
// 17th block is never read (it would fail), a file without line ends
// included. Where the file ends, its last line is a record, line end or not.
TEST(PreviewGrid, FiftyRecordsOrOneMebibyte) {
    ScratchDir dir;
    const std::string csv = dir.file("log.csv");
    const std::string line = "2014,1,1,12,0,JA1ABC,7.01,,40m,CW,599,,599";
    std::string longLines;  // each of 30000 bytes: 34 end in the first MiB
    while (longLines.size() < 40 * 30000)
        longLines += line + std::string(30000 - line.size() - 2, ' ') + "\r\n";
    std::string refused;  // 60 records whose callsign QSL services refuse
    for (int i = 0; i < 60; ++i)
        refused += "2014,1,1,12,0,X\r\n";
    const struct {
        std::string text;
        size_t rows;
        const char* lastLine;
        bool bytesRanOut;
        const char* note;  // in the text below the grid
    } cases[] = {
        {refused, 50, "50", false, "Warning: 50 of 50 records look wrong;"},
        {logbookLines(3) + line, 4, "4", false, "No notes or warnings for these records."},
        {std::string(3 * kPreviewBytes, 'x'), 0, nullptr, true,
         "No record ends in the file's first 1 MiB."},
        {longLines, 34, "34", true, "The records that end in the file's first 1 MiB."},
    };
    for (const auto& c : cases) {
        writeFile(csv, c.text);
        ASSERT_EQ(previewFailing(settingsFor(csv), grid, 17), ConversionFinished) << c.rows;
        EXPECT_EQ(grid.rowCount, c.rows);
        EXPECT_EQ(grid.bytesRanOut, c.bytesRanOut) << c.rows;
        EXPECT_NE(std::string(grid.text).find(c.note), std::string::npos) << grid.text;
        if (c.rows > 0) {
            EXPECT_STREQ(previewCell(grid, c.rows - 1, 0), c.lastLine);
        } else {
            EXPECT_EQ(previewColumnCount(grid), 2u);
        }
    }
}

// A file Convert would refuse, or whose read fails at its first block or a
// later one, shows Convert's status alone: no rows, no columns, no titles.
TEST(PreviewGrid, RefusedOrFailedReadShowsTheStatus) {
    ScratchDir dir;
    const std::string csv = dir.file("log.csv");
    // Lines of 3000 bytes: 21 records in the first block, the next read needed.
    std::string text = "Date,Time,Call,Freq\r\n";
    while (text.size() < 3 * kIoBlockSize)
        text += "2024-05-03,09:05,JA1ABC,7.026," + std::string(2970, 'x') + "\r\n";
    writeFile(csv, text);
    writeFile(dir.file("binary.csv"), std::string("2014,1,1\0\0\0", 11));
    const struct {
        std::string path;
        int nthRead;
        ConversionOutcome outcome;
        const char* status;
    } cases[] = {
        {csv, 1, ConversionReadFailed, "Can not read CSV file"},
        {csv, 2, ConversionReadFailed, "Can not read CSV file"},
        {dir.file("missing.csv"), 0, ConversionCsvNotOpened, "Can not open CSV file"},
        {dir.file("binary.csv"), 0, ConversionCsvNotText, "Can not read CSV file: not a text file"},
    };
    for (const auto& c : cases) {
        // A full grid first, so that what stays of it shows.
        ASSERT_EQ(previewConversion(settingsFor(csv), grid), ConversionFinished);
        ASSERT_GT(grid.rowCount, 0u);
        EXPECT_EQ(previewFailing(settingsFor(c.path), grid, c.nthRead), c.outcome) << c.nthRead;
        EXPECT_STREQ(grid.text, c.status);
        EXPECT_EQ(grid.rowCount, 0u);
        EXPECT_EQ(previewColumnCount(grid), 2u);
        EXPECT_STREQ(grid.titleLine, "");
        EXPECT_FALSE(grid.titles.isTitleRow);
    }
}

// The preview leaves the conversion's buffers alone: the window previews
// while the worker converts.
TEST(PreviewGrid, OwnBuffers) {
    ScratchDir dir;
    const std::string csv = dir.file("log.csv");
    writeFile(csv, logbookLines(80));
    memset(theApp.readBlock, 0x5A, sizeof theApp.readBlock);
    memset(theApp.writeBlock, 0x5A, sizeof theApp.writeBlock);
    memset(&theApp.fields, 0x5A, sizeof theApp.fields);
    memset(&theApp.record, 0x5A, sizeof theApp.record);
    ASSERT_EQ(previewConversion(settingsFor(csv), grid), ConversionFinished);
    EXPECT_EQ(grid.rowCount, kPreviewRecords);
    const auto untouched = [](const void* bytes, size_t size) {
        const unsigned char* p = static_cast<const unsigned char*>(bytes);
        for (size_t i = 0; i < size; ++i) {
            if (p[i] != 0x5A) return false;
        }
        return true;
    };
    EXPECT_TRUE(untouched(theApp.readBlock, sizeof theApp.readBlock));
    EXPECT_TRUE(untouched(theApp.writeBlock, sizeof theApp.writeBlock));
    EXPECT_TRUE(untouched(&theApp.fields, sizeof theApp.fields));
    EXPECT_TRUE(untouched(&theApp.record, sizeof theApp.record));
}

}  // namespace

#include <gtest/gtest.h>
#include <string.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "conversion/conversion_job.h"
#include "conversion/converter_state.h"
#include "conversion/logbook_format.h"
#include "conversion/record_plan.h"
#include "platform/platform.h"
#include "settings/settings_file.h"
#include "test_support.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// A logbook of `bytes` filler lines (LF or CR ended), for files whose second
// part lies beyond the format window.
std::string fillerLines(size_t bytes, char end) {
    std::string line = "2014,12,8,3,15,FILL,14.025,,20m,CW,599,,579";
    line += end;
    std::string text;
    while (text.size() < bytes)
        text += line;
    return text;
}

std::string numberedLines(int count) {
    std::string lines;
    for (int i = 0; i < count; ++i)
        lines += "2014,1,1,12,0,A" + std::to_string(i) + "\r\n";
    return lines;
}

enum : int { kSomeRecords = -1 };
struct FileCase {
    const char* name;
    std::string csv;
    int records;                     // kSomeRecords: at least one
    std::vector<std::string> items;  // found in the records, in this order
};

}  // namespace

// Every line of a file that holds a QSO is a record, read as the file's format
// says.
TEST(Conversion, EveryLineWithAQsoIsARecord) {
    const std::string bom = "\xEF\xBB\xBF";
    const std::string longComment(2000, 'c');
    const std::string longRow = ",14.0,\"" + std::string(2000, 'c') +
                                ",x\",20m,CW,599,,579,,,,,,," + std::string(1500, 'k') +
                                ",IO91\r\n";
    const FileCase cases[] = {
        {"a title row (no record) and two contacts",
         "Year,Month,Day,Hour,Min,Call,Freq\r\n"
         "2014,12,8,3,15,TEST,14.025,,20m,CW,599,,579,,,,,,,hello,IO91\r\n"
         "2014,1,1,5,0,JA1XYZ,7.010,,40m,SSB,59,,59\r\n",
         2,
         {"<CALL:4>TEST\r\n<QSO_DATE:8>20141207\r\n<TIME_ON:4>1815\r\n",
          "<CALL:6>JA1XYZ\r\n<QSO_DATE:8>20131231\r\n<TIME_ON:4>2000\r\n"}},
        {"an empty file", "", 0, {}},
        {"LF, CR LF, an empty line (no record) and no line end",
         "2014,1,1,12,0,A\n\r\n2014,1,1,12,0,B\r\n2014,1,1,12,0,C",
         3,
         {"<CALL:1>A\r\n", "<CALL:1>B\r\n", "<CALL:1>C\r\n"}},
        // The last line keeps nothing of the line before, whether it ends
        // inside quotes, in a quote, or in a field.
        {"last line in quotes",
         "1,1,1,1,1,LONGCALL,14.0,,20m\r\n1,1,1,1,1,\"K\"",
         2,
         {"<BAND:3>20m\r\n", "<CALL:1>K\r\n", "<BAND:0>\r\n"}},
        {"last line in a quote",
         "1,1,1,1,1,LONGCALL,14.0,,20m\r\n1,1,1,1,1,\"K",
         2,
         {"<BAND:3>20m\r\n", "<CALL:1>K\r\n", "<BAND:0>\r\n"}},
        {"last line in a field",
         "1,1,1,1,1,LONGCALL,14.0,,20m\r\n1,1,1,1,1,K",
         2,
         {"<BAND:3>20m\r\n", "<CALL:1>K\r\n", "<BAND:0>\r\n"}},
        {"lines longer than the read buffer",
         "2014,12,8,3,15,C0" + longRow + "2014,12,8,3,15,C1" + longRow,
         2,
         {"<CALL:2>C0\r\n", "<BAND:3>20m\r\n", "<COMMENT:255>" + std::string(255, 'k') + "\r\n",
          "<CALL:2>C1\r\n", "<MY_GRIDSQUARE:4>IO91\r\n"}},
        {"many lines", numberedLines(2500), 2500, {"<CALL:2>A0\r\n", "<CALL:5>A2499\r\n"}},
        // Logbooks as spreadsheet programs save them.
        {"byte order mark",
         bom + "2023,1,1,10,5,K1ABC,14.074\r\n",
         1,
         {"<CALL:5>K1ABC\r\n<QSO_DATE:8>20230101\r\n<TIME_ON:4>0105\r\n"}},
        {"byte order mark and title row",
         bom + "Year,Month,Day\r\n2023,1,1,10,5,K1ABC\r\n",
         2,
         {"<CALL:0>\r\n<QSO_DATE:8>   -8769\r\n", "<CALL:5>K1ABC\r\n"}},
        {"only a byte order mark", bom, 0, {}},
        {"';' with quoted separators",
         "2023;1;1;10;5;\"A;B\";7,026;;20m;\"CW,\tx\"\r\n",
         1,
         {"<CALL:3>A;B\r\n", "<BAND:3>20m\r\n<FREQ:5>7.026\r\n<MODE:5>CW,\tx\r\n"}},
        {"TAB with quoted separators",
         "2023\t1\t1\t10\t5\t\"K1;,\tX\"\t14,074\t\t20m\r\n",
         1,
         {"<CALL:6>K1;,\tX\r\n", "<BAND:3>20m\r\n<FREQ:6>14.074\r\n"}},
        {"more ',' than ';' stays ','",
         "2023,1,1,10,5,K1;AB,14.074\r\n",
         1,
         {"<CALL:5>K1;AB\r\n", "<FREQ:6>14.074\r\n"}},
        {"';' with unquoted decimal commas",
         "2023;1;1;10;5;JA1YAA;7,026\r\n2023;1;1;10;6;JA1YAB;7,027\r\n",
         2,
         {"<CALL:6>JA1YAA\r\n", "<FREQ:5>7.026\r\n", "<FREQ:5>7.027\r\n"}},
        {"lines ended by CR alone",
         "2023,1,1,10,5,A\r2023,1,1,10,6,B,7.0\r2023,1,1,10,7,C,,,,,,,,,,,,,," + longComment + "\r",
         3,
         {"<CALL:1>A\r\n", "<CALL:1>B\r\n<QSO_DATE:8>20230101\r\n<TIME_ON:4>0106\r\n",
          "<CALL:1>C\r\n", "<COMMENT:255>" + std::string(255, 'c') + "\r\n"}},
        // There an LF separates columns as a lone CR does elsewhere.
        {"CR lines with an LF beyond the window",
         fillerLines(70000, '\r') + "2014,1,2,3\n4,X,7\r",
         kSomeRecords,
         {"<CALL:1>X\r\n<QSO_DATE:8>20140101\r\n<TIME_ON:4>1804\r\n<BAND:3>40m\r\n<MODE:0>\r\n"}},
        {"first LF beyond the window",
         "2023,1,1,10,5,LONG" + std::string(70000, ',') + "\n" + "2023,1,1,10,6,NEXT\n",
         2,
         {"<CALL:4>LONG\r\n", "<CALL:4>NEXT\r\n"}},
        {"NUL beyond the first block",
         fillerLines(70000, '\n') + std::string("1,1,1,1,1,X\0Y\n", 14),
         kSomeRecords,
         {"<CALL:1>X\r\n"}},
    };
    ScratchDir dir;
    const std::string csv = dir.file("log.csv");
    const std::string adi = dir.file("log.adi");
    auto convert = [&](const FileCase& c, bool kilohertz) {
        SCOPED_TRACE(c.name);
        writeFile(csv, c.csv);
        ConversionSettings settings = settingsFor(csv);
        settings.checkMhz = kilohertz ? 0 : 1;
        settings.checkKhz = kilohertz ? 1 : 0;
        const std::string status = convertWith(settings);
        EXPECT_TRUE(isFlagSet(theApp.flags, StatusChanged));
        const std::string adif = readFile(adi);
        EXPECT_NE(adif.find("<ADIF_VER:5>3.0.0\r\n<EOH>\r\n"), std::string::npos);
        const std::string records = recordsOf(adif);
        if (c.records == kSomeRecords) {
            EXPECT_GT(finishedCount(status), 0) << status;
        } else {
            EXPECT_EQ(finishedCount(status), c.records) << status;
            EXPECT_EQ(countOf(records, "<EOR>\r\n"), static_cast<size_t>(c.records));
        }
        size_t at = 0;
        for (const std::string& item : c.items) {
            const size_t found = records.find(item, at);
            EXPECT_NE(found, std::string::npos) << item;
            if (found != std::string::npos) at = found + item.size();
        }
    };
    for (const FileCase& c : cases)
        convert(c, false);
    convert({"decimal comma in kHz", "2023;1;1;10;5;K1ABC;7074,9\r\n", 1, {"<FREQ:5>7.075\r\n"}},
            true);
}

// Conversions refused before a record is written: the status says why, and no
// file is made or changed.
TEST(Conversion, RefusedConversionsChangeNothing) {
    ScratchDir dir;
    const std::string content = "2014,1,1,12,0,A\r\n";
    const std::string earlier = "an earlier ADIF file";
    // A CSV path of 253 bytes without extension: its ADIF path would need 257.
    const std::string longName(253 - dir.path().size() - 1, 'n');
    const struct {
        std::string csvName;  // empty: no path at all
        bool present;
        std::string bytes;
        const char* adiName;  // an existing file there is left alone; null: none
        const char* status;
    } cases[] = {
        {"missing.csv", false, "", "missing.adi", "Can not open CSV file"},
        {"", false, "", nullptr, "Can not open CSV file"},
        {"log.adi", true, content, nullptr, "Can not open ADI file: it is the CSV file itself"},
        {"LOG.ADI", true, content, nullptr, "Can not open ADI file: it is the CSV file itself"},
        {"log.Adi", true, content, nullptr, "Can not open ADI file: it is the CSV file itself"},
        {longName, true, content, nullptr, "Can not open ADI file"},
        {"binary.csv", true, content + std::string(1, '\0'), "binary.adi",
         "Can not read CSV file: not a text file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.csvName);
        const std::string csv = c.csvName.empty() ? "" : dir.file(c.csvName);
        if (c.present) writeFile(csv, c.bytes);
        if (c.adiName != nullptr && c.present) writeFile(dir.file(c.adiName), earlier);
        EXPECT_EQ(convertWith(settingsFor(csv)), c.status);
        EXPECT_TRUE(isFlagSet(theApp.flags, StatusChanged));
        EXPECT_EQ(readFile(csv), c.bytes);
        if (c.adiName != nullptr) {  // none made, an earlier one unchanged
            EXPECT_EQ(readFile(dir.file(c.adiName)), c.present ? earlier : "");
        }
    }
    // A folder in the way of the ADIF file.
    writeFile(dir.file("inway.csv"), content);
    std::filesystem::create_directory(dir.file("inway.adi"));
    EXPECT_EQ(convertWith(settingsFor(dir.file("inway.csv"))), "Can not open ADI file");
}

TEST(Conversion, AdiNameLinkedToTheCsvIsRefused) {
    ScratchDir dir;
    const std::string content = "2014,1,1,12,0,A\r\n";
    std::string csv = dir.file("log.csv");
    writeFile(csv, content);
    std::filesystem::create_hard_link(csv, dir.file("log.adi"));
    EXPECT_EQ(convertWith(settingsFor(csv)), "Can not open ADI file: it is the CSV file itself");
    EXPECT_EQ(readFile(csv), content);
#ifndef _WIN32
    std::string other = dir.file("other.csv");  // a symbolic link too
    writeFile(other, content);
    ASSERT_EQ(symlink(other.c_str(), dir.file("other.adi").c_str()), 0);
    EXPECT_EQ(convertWith(settingsFor(other)), "Can not open ADI file: it is the CSV file itself");
    EXPECT_EQ(readFile(other), content);
#endif
}

#ifndef _WIN32
TEST(Conversion, ReadAndWriteErrorsAreNotReportedAsSuccess) {
    // Reading a folder fails after a successful open on Linux.
    ScratchDir dir;
    std::string folder = dir.file("folder.csv");
    std::filesystem::create_directory(folder);
    std::string status = convertWith(settingsFor(folder));
    EXPECT_EQ(status, "Can not read CSV file");

    // /dev/full accepts the open and fails every write.
    if (fileExists("/dev/full")) {
        std::string csv = dir.file("full.csv");
        writeFile(csv, "2014,1,1,12,0,A\r\n");
        std::string link = dir.file("full.adi");
        ASSERT_EQ(symlink("/dev/full", link.c_str()), 0);
        EXPECT_EQ(convertWith(settingsFor(csv)), "Can not write ADI file");
        EXPECT_FALSE(fileExists(link));  // no partial ADIF file is left
    }
    EXPECT_FALSE(fileExists(dir.file("folder.adi")));
}
#endif

// A read or a write that fails part way through a logbook of several blocks
// (the second read, the first or a later write) ends the conversion with its
// status and leaves no ADIF file: half a logbook never passes for a whole one.
TEST(Conversion, FailuresPartWayAreNotReportedAsSuccess) {
    ScratchDir dir;
    const std::string csv = dir.file("log.csv");
    std::string content = fillerLines(200000, '\n') + "2014,12,8,3,16,LAST";
    writeFile(csv, content);
    const struct {
        int failingRead, failingWrite;
        const char* status;
    } cases[] = {
        {2, 0, "Can not read CSV file"},
        {3, 0, "Can not read CSV file"},
        {0, 1, "Can not write ADI file"},
        {0, 3, "Can not write ADI file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status + std::to_string(c.failingRead + c.failingWrite));
        failFileBlockForTesting(c.failingRead, c.failingWrite);
        EXPECT_EQ(convertWith(settingsFor(csv)), c.status);
        failFileBlockForTesting(0, 0);
        EXPECT_FALSE(fileExists(dir.file("log.adi")));
        EXPECT_EQ(readFile(csv), content);
    }
}

#ifdef _WIN32
// Files other programs hold open, as Windows has them: a CSV file another
// program holds open for writing converts; one it holds without sharing
// cannot be opened; an ADIF file it holds without sharing is not written.
TEST(Conversion, FilesHeldByOtherPrograms) {
    ScratchDir dir;
    const std::string csv = dir.file("shared.csv");
    const std::string adi = dir.file("shared.adi");
    writeFile(csv, "2014,1,1,12,0,A\r\n");
    FILE* other = fopen(csv.c_str(), "ab");  // open for writing, shared as fopen shares
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(finishedCount(convertWith(settingsFor(csv))), 1);
    fclose(other);

    HANDLE locked = CreateFileA(csv.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    EXPECT_EQ(convertWith(settingsFor(csv)), "Can not open CSV file");
    CloseHandle(locked);

    writeFile(adi, "an earlier ADIF file");
    locked = CreateFileA(adi.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    EXPECT_EQ(convertWith(settingsFor(csv)), "Can not open ADI file");
    CloseHandle(locked);
    EXPECT_EQ(readFile(adi), "an earlier ADIF file");
}
#endif

// ---- logbooks as spreadsheet programs save them ----

TEST(LogbookFormat, SeparatorOfTheFirstLine) {
    const struct {
        const char* firstBytes;
        char separator;
    } cases[] = {
        {"a,b,c\r\nx;y;z;w;v\r\n", ','},  // only the first line counts
        {"a;b;c\r\n", ';'},
        {"a\tb\tc\n", '\t'},
        {"a,b;c\tx\n", ','},  // a tie: ',' wins
        {"a,b\tc\n", ','},
        {"a;b\tc\n", ';'},
        {"a;b;c\tx\ty\n", ';'},                 // ';' before TAB
        {"2023;1;1;10;5;JA1YAA;7,026\n", ';'},  // decimal commas are fewer
        {"\"a;b;c\",d\n", ','},                 // quoted separators do not count
        {"\"a\"\";b;c\",d\n", ','},             // nor after a doubled quote
        {"\"a\rb;c;d\",e\n", ';'},              // a CR ends quoting
        {"\xEF\xBB\xBF;;,\n", ';'},
    };
    for (const auto& c : cases) {
        const LogbookFormat f = settleLogbookFormat(c.firstBytes, strlen(c.firstBytes));
        EXPECT_EQ(f.separator, static_cast<unsigned char>(c.separator)) << c.firstBytes;
    }
}

TEST(Conversion, AnOrdinaryFileConvertsAsBefore) {
    // The sample logbook and its records as the converter has always written
    // them (UTC, the default layout).
    ScratchDir dir;
    const std::string csv = dir.file("logbook.csv");
    writeFile(csv, readFile(std::string(VANTREL_SOURCE_DIR) + "/examples/logbook.csv"));
    ConversionSettings settings = settingsFor(csv);
    settings.timeZone = 0;
    convertWith(settings);
    EXPECT_EQ(recordsOf(readFile(dir.file("logbook.adi"))),
              readFile(std::string(VANTREL_SOURCE_DIR) + "/tests/data/logbook-records.adi"));
}

TEST(Conversion, DatesAndTimesInOneColumnEach) {
    // A logbook as a spreadsheet saves it on Japanese Windows: one column of
    // dates such as 2024/5/3 and one of times such as 9:05, in local time.
    ScratchDir dir;
    const std::string data = std::string(VANTREL_SOURCE_DIR) + "/tests/data/";
    const std::string csv = dir.file("log.csv");
    writeFile(csv, readFile(data + "dates-in-one-column.csv"));
    ConversionSettings s = settingsFor(csv);
    const struct {
        char* field;
        const char* column;
    } layout[] = {
        {s.columnYear, "A"},    {s.columnMonth, "A"},   {s.columnDay, "A"},
        {s.columnHour, "B"},    {s.columnMinute, "B"},  {s.columnCallsign, "C"},
        {s.columnFreq, "D"},    {s.columnBand, "E"},    {s.columnMode, "F"},
        {s.columnRstSent, "G"}, {s.columnRstRcvd, "H"}, {s.columnComment, "I"},
        {s.columnGl, ""},
    };
    for (const auto& item : layout)
        copyText(item.field, kDesignatorCapacity, item.column);
    convertWith(s);
    EXPECT_EQ(recordsOf(readFile(dir.file("log.adi"))),
              readFile(data + "dates-in-one-column-records.adi"));
}

// The report of a conversion tells each kind of record that looks wrong with
// its count and first CSV lines; the window shows the same lines.
TEST(ConversionReport, EachKindWithItsCountAndLines) {
    ScratchDir dir;
    const std::string csv = dir.file("log.csv");
    writeFile(csv,
              "Year,Month,Day,Hour,Minute,Call,Freq,,Band\r\n"
              "2014,6,15,12,0,K1ABC,7.010,,20m\r\n"
              "1920,6,15,12,0,K1ABC,14.025,,20m\r\n"
              "2014,6,15,12,0,K1,14.025,,20m\r\n"
              "2014,6,15,12,0,JA1ABC,,,7 MHz\r\n"
              "2014,6,15,12,0,JA1ABC,14.025,,20m\r\n"
              "2014,11,31,12,0,JA1ABC,14.025,,20m\r\n");
    ConversionSettings settings = settingsFor(csv);
    settings.timeZone = 0;
    ConversionReport report;
    convertWith(settings, &report);
    const std::vector<std::string> lines = reportLines(report);
    const std::vector<std::string> expected = {
        "N line 1 is a title row: not written",
        "W 5 of 6 records look wrong; CSV lines 2, 3, 4, 5, 7",
        "D 1 " + std::string(kRecordFaultKinds[1].what) + ": CSV line 4",
        "D 1 with a date that is no calendar date (1900 to 2100): CSV line 7",
        "D 1 " + std::string(kRecordFaultKinds[5].what) + ": CSV line 3",
        "D 1 " + std::string(kRecordFaultKinds[7].what) + ": CSV line 5",
        "D 1 with a frequency outside its band: CSV line 2",
    };
    EXPECT_EQ(lines, expected);

    char text[kReportTextCapacity];
    int32_t notes = -1, warnings = -1;
    formatReportText(report, text, sizeof text, notes, warnings);
    EXPECT_EQ(std::string(text).find("line 1 is a title row: not written\r\nWarning: 5 of 6 "
                                     "records look wrong;"),
              0u)
        << text;
    EXPECT_NE(std::string(text).find("\r\n    1 with a frequency outside its band: CSV line 2\r\n"),
              std::string::npos);
    EXPECT_EQ(notes, 1);
    EXPECT_EQ(warnings, 1);
    const struct {
        int32_t notes, warnings;
        const char* text;
    } counts[] = {{0, 0, ""}, {1, 0, "1 note"}, {0, 2, "2 warnings"}, {3, 1, "1 warning, 3 notes"}};
    for (const auto& c : counts) {
        char shown[64];
        formatReportCounts(c.notes, c.warnings, shown);
        EXPECT_STREQ(shown, c.text);
    }
}

// How dates and times were read is noted, not warned about: the first date
// read with a two-digit year, and how many times were marked as UTC.
TEST(ConversionReport, NotesTwoDigitYearsAndTimesMarkedAsUtc) {
    ScratchDir dir;
    ConversionSettings settings = settingsFor(dir.file("log.csv"));
    for (char* column : {settings.columnYear, settings.columnMonth, settings.columnDay})
        copyText(column, kDesignatorCapacity, "A");
    copyText(settings.columnHour, "B");
    copyText(settings.columnMinute, "B");
    copyText(settings.columnCallsign, "C");
    const struct {
        const char* csv;
        std::vector<std::string> lines;
    } cases[] = {
        {"2024/05/02,12:00,JA1AAA\r\n24/05/03,12:34U,JA1ABC\r\n24/05/04,21:09J,JA1ABD\r\n"
         "24/05/05,1234Z,JA1ABE\r\n",
         {"N read 24/05/03 as 2024-05-03: two-digit years 00 to 29 are 2000 to 2029, 30 to 99 "
          "are 1930 to 1999",
          "N 2 records had times marked as UTC (U, Z, UTC or GMT): not shifted by the time "
          "difference"}},
        {"2024/05/02,12:00 GMT,JA1AAA\r\n",
         {"N 1 record had a time marked as UTC (U, Z, UTC or GMT): not shifted by the time "
          "difference"}},
    };
    for (const auto& c : cases) {
        writeFile(dir.file("log.csv"), c.csv);
        ConversionReport report;
        convertWith(settings, &report);
        EXPECT_EQ(reportLines(report), c.lines) << c.csv;
    }
}

// Values of fields from columns of their own that their ADIF data type
// refuses: each field with its count and CSV lines, the type named; and one
// note for text outside ASCII. The output is as it was read.
TEST(ConversionReport, ValuesTheirAdifTypeRefuses) {
    const struct {
        const char* field;
        const char* value;
        bool refused;
    } cases[] = {
        {"TX_PWR", "100", false},
        {"TX_PWR", "-0.5", false},
        {"TX_PWR", "100W", true},
        {"TX_PWR", "1.2.3", true},
        {"TX_PWR", ".", true},
        {"SRX", "-3", false},
        {"SRX", "1.5", true},
        {"CQZ", "25", false},
        {"CQZ", "0", true},
        {"CQZ", "-1", true},
        {"QSLSDATE", "20240229", false},
        {"QSLSDATE", "20230229", true},
        {"QSLSDATE", "19291231", true},
        {"QSLSDATE", "2024053", true},
        {"TIME_OFF", "2359", false},
        {"TIME_OFF", "235959", false},
        {"TIME_OFF", "2400", true},
        {"TIME_OFF", "12345", true},
        {"GRIDSQUARE", "pm95", false},
        {"GRIDSQUARE", "PM95ts12", false},
        {"GRIDSQUARE", "PM9", true},
        {"GRIDSQUARE", "SM95", true},
        {"GRIDSQUARE", "PM95YA", true},
        {"SWL", "n", false},
        {"SWL", "Yes", true},
        {"QSL_SENT", "q", false},
        {"QSL_SENT", "V", true},
        {"QSL_RCVD", "V", false},
        {"QSL_RCVD", "Q", true},
        {"QSL_SENT_VIA", "B", false},
        {"QSL_SENT_VIA", "X", true},
        {"PROP_MODE", "sat", false},
        {"PROP_MODE", "E", true},
        {"NAME", "100W", false},
    };
    // Each field in a column of its own from N on; each case a line of its own.
    ConversionSettings settings = defaultSettings();
    settings.timeZone = 0;
    std::vector<std::string> fields;
    std::string csv;
    for (const auto& c : cases) {
        size_t k = 0;
        while (k < fields.size() && fields[k] != c.field)
            ++k;
        if (k == fields.size()) fields.push_back(c.field);
        char column[3];
        columnName(static_cast<int8_t>(13 + k), column);
        copyText(settings.fieldColumns[columnFieldIndex(c.field, strlen(c.field))], column);
        csv += "2014,6,15,12,0,K1ABC,14.025,,20m,CW,599,,579" + std::string(k + 1, ',') + c.value +
               "\r\n";
    }
    csv += "2014,6,15,12,0,K1ABC,14.025,,20m,CW,599,,579" + std::string(fields.size(), ',') +
           "\xe5\xb1\xb1\xe7\x94\xb0\r\n";  // NAME, the last field

    ScratchDir dir;
    copyText(settings.csvPath, dir.file("log.csv").c_str());
    writeFile(settings.csvPath, csv);
    ConversionReport report;
    convertWith(settings, &report);
    std::vector<std::string> lines = reportLines(report);

    std::vector<std::string> expected = {
        "N 1 record holds text outside ASCII in NAME: ADIF files are ASCII, so programs that "
        "read them as such show it garbled"};
    int refused = 0;
    for (const std::string& field : fields) {
        std::string numbers;
        int count = 0;
        for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
            if (cases[i].field != field || !cases[i].refused) continue;
            numbers += (count++ == 0 ? " " : ", ") + std::to_string(i + 1);
        }
        if (count == 0) continue;
        refused += count;
        const AdifValueRuleText& rule =
            adifValueRuleText(adifValueRule(*adifFieldNamed(field.c_str(), field.size())));
        expected.push_back("D " + std::to_string(count) + " with a " + field + " that is no ADIF " +
                           rule.type + " (" + rule.takes + "): CSV line" + (count > 1 ? "s" : "") +
                           numbers);
    }
    std::sort(expected.begin() + 1, expected.end(),
              [&](const std::string& a, const std::string& b) {
                  return a.substr(a.find(" with a ")) < b.substr(b.find(" with a "));
              });
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[1].find("W " + std::to_string(refused) + " of "), 0u) << lines[1];
    lines.erase(lines.begin() + 1);
    EXPECT_EQ(lines, expected);
    // The values are written as they were read.
    const std::string adif = readFile(dir.file("log.adi"));
    EXPECT_NE(adif.find("<TX_PWR:4>100W\r\n"), std::string::npos);
    EXPECT_NE(adif.find("<NAME:6>\xe5\xb1\xb1\xe7\x94\xb0\r\n"), std::string::npos);
}

// What the report says beyond the kinds of records: a failed conversion
// leaves none of an earlier one's; more lines than it names end in ", ...";
// a year (hour) column of whole dates (times) is pointed out though line 1
// is a title row or tells nothing.
TEST(ConversionReport, ClearedHintedAndCut) {
    ScratchDir dir;
    ConversionSettings settings = settingsFor(dir.file("log.csv"));
    std::string csv;
    for (int i = 2; i <= 8; ++i)
        csv += "2014,6,15,12,0,K" + std::to_string(i) + "\r\n";
    writeFile(settings.csvPath, "Year,Month,Day,Hour,Minute,Call\r\n" + csv);
    ConversionReport report;
    convertWith(settings, &report);
    std::vector<std::string> lines = reportLines(report);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], "W 7 of 7 records look wrong; CSV lines 2, 3, 4, 5, 6, ...");
    int32_t notes = 0, warnings = 0;
    readReport(theApp.reportText, nullptr, 0, notes, warnings);
    EXPECT_EQ(warnings, 1);
    EXPECT_EQ(convertWith(settingsFor(dir.file("missing.csv"))), "Can not open CSV file");
    char text[64] = "x";
    readReport(theApp.reportText, text, sizeof text, notes, warnings);
    EXPECT_EQ(notes + warnings, 0);
    EXPECT_STREQ(text, "");
    // A line 1 in titles the program does not know, and so written, is hinted at.
    writeFile(settings.csvPath, "Jahr,Monat,Tag,Stunde,Minute,Rufzeichen\r\n" + csv);
    convertWith(settings, &report);
    EXPECT_EQ(reportLines(report)[0],
              "W 8 of 8 records look wrong; CSV lines 1, 2, 3, 4, 5, ... (a title row or an empty "
              "line?)");

    const struct {
        const char* csv;
        std::vector<std::string> warnings;
    } hints[] = {
        {"Date,Time,Call,,,,Freq\r\n2024/05/03,12:34,K1ABC\r\n",
         {"W column A holds whole dates such as 2024/05/03: name it for year, month and day"}},
        {",,,,,K1ABC\r\n2024/05/03,,,12:34,,K1ABD\r\n",
         {"W column A holds whole dates such as 2024/05/03: name it for year, month and day",
          "W column D holds whole times such as 12:34: name it for hour and minute"}},
    };
    for (const auto& hint : hints) {
        writeFile(settings.csvPath, hint.csv);
        convertWith(settings, &report);
        lines = reportLines(report);
        std::vector<std::string> got;
        for (const std::string& line : lines)
            if (line.find(" holds whole ") != std::string::npos) got.push_back(line);
        EXPECT_EQ(got, hint.warnings) << hint.csv;
    }
}

// A CSV file as Japanese logging programs export it, with the settings file
// shipped for it: two-digit years, times marked J (Japan) or U (UTC), band
// figures, an emission designator and a submode, Shift-JIS names.
TEST(Conversion, AJapaneseLoggersExport) {
    ScratchDir dir;
    const std::string examples = std::string(VANTREL_SOURCE_DIR) + "/examples/";
    ConversionSettings settings = defaultSettings();
    loadSettingsFrom(settings, (examples + "japanese-logger.ini").c_str());
    copyText(settings.csvPath, dir.file("export.csv").c_str());
    writeFile(settings.csvPath, readFile(examples + "japanese-logger.csv"));
    EXPECT_EQ(finishedCount(convertWith(settings)), 6);
    EXPECT_EQ(
        recordsOf(readFile(dir.file("export.adi"))),
        readFile(std::string(VANTREL_SOURCE_DIR) + "/tests/data/japanese-logger-records.adi"));
}

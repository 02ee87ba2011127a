#include <gtest/gtest.h>
#include <limits.h>
#include <string.h>

#include <string>
#include <utility>
#include <vector>

#include "common/text.h"
#include "adif/adif_bands.h"
#include "conversion/adif_writer.h"
#include "conversion/csv_splitter.h"
#include "platform/platform.h"
#include "test_support.h"

namespace {

CsvFields fields;
RecordPlan plan;  // a record's items refer to the plan's names and the fields' text
QsoRecord made;

// The record of a CSV line planned from the settings, and its ADIF text.
const QsoRecord& makeRecordOf(const ConversionSettings& settings, const std::string& line,
                              int64_t latestDate = 0) {
    planRecord(plan, settings, false);
    if (latestDate != 0) plan.latestDate = latestDate;
    splitCsvLine(line.data(), line.size(), fields);
    makeRecord(made, plan, fields);
    return made;
}
std::string record(const ConversionSettings& settings, const std::string& line) {
    static char buffer[64 * 1024];
    AdifOutput out = {nullptr, buffer, sizeof buffer, 0, false};
    writeRecord(out, makeRecordOf(settings, line));
    EXPECT_FALSE(out.failed);
    EXPECT_LE(out.used, made.mostBytes);
    return std::string(buffer, out.used);
}

const char kWorkedExampleLine[] = "2014,12,8,3,15,TEST,14.025,,20m,CW,599,,579,,,,,,,hello,IO91";
const char kWorkedExampleRecord[] =
    "<CALL:4>TEST\r\n"
    "<QSO_DATE:8>20141207\r\n"
    "<TIME_ON:4>1815\r\n"
    "<BAND:3>20m\r\n"
    "<FREQ:6>14.025\r\n"
    "<MODE:2>CW\r\n"
    "<RST_SENT:3>579\r\n"
    "<RST_RCVD:3>599\r\n"
    "<MY_GRIDSQUARE:4>IO91\r\n"
    "<COMMENT:5>hello\r\n"
    "<QSLMSG:5>hello\r\n"
    "<EOR>\r\n";

}  // namespace

TEST(ResolveColumn, LettersLikeASpreadsheet) {
    EXPECT_EQ(resolveColumn("A"), 1);
    EXPECT_EQ(resolveColumn("z"), 26);
    EXPECT_EQ(resolveColumn("AA"), 27);
    EXPECT_EQ(resolveColumn("AF"), 32);
    EXPECT_EQ(resolveColumn("aA"), 27);
    EXPECT_EQ(resolveColumn("Af"), 32);
    EXPECT_EQ(resolveColumn("AB7"), 28);  // third and later bytes never matter
    EXPECT_EQ(resolveColumn("AG"), 33);
    EXPECT_EQ(resolveColumn("ZZ"), 702);
    EXPECT_EQ(resolveColumn("A1"), 0);
    EXPECT_EQ(resolveColumn("1"), 0);
    EXPECT_EQ(resolveColumn(""), 0);
    EXPECT_EQ(resolveColumn(" A"), 0);
    EXPECT_EQ(resolveColumn("\xC1"), 0);
    for (int8_t k = 0; k < static_cast<int8_t>(kCsvColumns); ++k) {  // and back to letters
        char name[3];
        columnName(k, name);
        EXPECT_EQ(resolveColumn(name), k + 1) << name;
    }
}

TEST(WriteRecord, WorkedExampleByteForByte) {
    ConversionSettings s = defaultSettings();
    EXPECT_EQ(record(s, kWorkedExampleLine), kWorkedExampleRecord);
    // kHz: 14025 divided by 1000 with three decimals gives the same FREQ.
    s.checkMhz = 0;
    s.checkKhz = 1;
    EXPECT_EQ(record(s, "2014,12,8,3,15,TEST,14025,,20m,CW,599,,579,,,,,,,hello,IO91"),
              kWorkedExampleRecord);
}

TEST(WriteRecord, FrequencyRules) {
    ConversionSettings s = defaultSettings();
    const std::string line = "2014,12,8,3,15,TEST,14025,,20m,CW,599,,579,,,,,,,,";
    s.checkKhz = 1;  // both set: MHz wins, the text unchanged
    EXPECT_NE(record(s, line).find("<FREQ:5>14025\r\n"), std::string::npos);
    s.checkMhz = 0;
    s.checkKhz = 0;  // neither: no FREQ
    EXPECT_EQ(record(s, line).find("<FREQ"), std::string::npos);
    s.checkKhz = 1;  // kHz with an empty column: no frequency, not 0.000
    EXPECT_EQ(record(s, "2014,12,8,3,15,TEST").find("<FREQ"), std::string::npos);
    EXPECT_NE(record(s, "1,1,1,1,1,X,7d3").find("<FREQ:5>7.000\r\n"), std::string::npos);
    // Half a kHz and less rounds as printf rounds the quotient.
    EXPECT_NE(record(s, "1,1,1,1,1,X,14074.5").find("<FREQ:6>14.075\r\n"), std::string::npos);
    EXPECT_NE(record(s, "1,1,1,1,1,X,1.5").find("<FREQ:5>0.002\r\n"), std::string::npos);
    EXPECT_NE(record(s, "1,1,1,1,1,X,0.4").find("<FREQ:5>0.000\r\n"), std::string::npos);
    s.checkMhz = 2;  // only exactly 1 counts as on: kHz applies
    EXPECT_NE(record(s, line).find("<FREQ:6>14.025\r\n"), std::string::npos);
    s.checkMhz = 0;
    EXPECT_NE(record(s, "1,1,1,1,1,X,-1e999").find("<FREQ:4>-inf\r\n"), std::string::npos);
    copyText(s.columnFreq, "");  // no column: no FREQ whatever the unit
    EXPECT_EQ(record(s, line).find("<FREQ"), std::string::npos);
}

TEST(WriteRecord, OptionalItemsAndEmptyColumns) {
    ConversionSettings s = defaultSettings();
    copyText(s.columnRstRcvd, "");
    copyText(s.columnGl, "");
    copyText(s.columnCallsign, "");
    std::string r = record(s, kWorkedExampleLine);
    EXPECT_EQ(r.find("RST_RCVD"), std::string::npos);
    EXPECT_EQ(r.find("MY_GRIDSQUARE"), std::string::npos);
    EXPECT_EQ(r.find("<CALL:0>\r\n"), 0u);

    s = defaultSettings();
    s.checkRstRcvd = 2;  // only exactly 1 counts as on
    s.checkMyGl = -1;
    EXPECT_EQ(record(s, kWorkedExampleLine).find("RST_RCVD"), std::string::npos);
    EXPECT_EQ(record(s, kWorkedExampleLine).find("MY_GRIDSQUARE"), std::string::npos);

    s = defaultSettings();  // empty but resolving columns are written empty
    r = record(s, "2014,12,8,3,15,TEST");
    EXPECT_NE(r.find("<BAND:0>\r\n<FREQ:0>\r\n<MODE:0>\r\n<RST_SENT:0>\r\n<RST_RCVD:0>\r\n"
                     "<MY_GRIDSQUARE:0>\r\n<EOR>\r\n"),
              std::string::npos);
    EXPECT_EQ(r.find("COMMENT"), std::string::npos);  // empty comment: neither item
    s.checkComment = 2;
    EXPECT_EQ(record(s, kWorkedExampleLine).find("QSLMSG"), std::string::npos);
}

TEST(WriteRecord, DesignatorsBeyondColumn32AreNone) {
    ConversionSettings s = defaultSettings();
    copyText(s.columnFreq, "AG");
    copyText(s.columnCallsign, "ZZ");
    copyText(s.columnGl, "zz");
    std::string r = record(s, kWorkedExampleLine);
    EXPECT_EQ(r.find("<FREQ"), std::string::npos);
    EXPECT_EQ(r.find("MY_GRIDSQUARE"), std::string::npos);
    EXPECT_EQ(r.find("<CALL:0>\r\n"), 0u);
}

TEST(WriteRecord, DateAndTimeFormats) {
    ConversionSettings s = defaultSettings();
    s.timeZone = 9;
    EXPECT_NE(record(s, "14,12,7,12,0").find("<QSO_DATE:8>  141207\r\n"), std::string::npos);
    EXPECT_NE(record(s, "").find("<QSO_DATE:8>   -8769\r\n<TIME_ON:4>1500\r\n"), std::string::npos);
    s.timeZone = 0;
    EXPECT_NE(record(s, ",1,1").find("<QSO_DATE:8>     101\r\n"), std::string::npos);
    s.timeZone = 30;
    EXPECT_NE(record(s, "2014,6,15,2,0").find("<TIME_ON:4>-400\r\n"), std::string::npos);
    // A longer printed number declares its real length.
    s.timeZone = 0;
    EXPECT_NE(record(s, "20140,6,15,2,0").find("<QSO_DATE:9>201400615\r\n"), std::string::npos);
    EXPECT_NE(record(s, "2014,6,15,124,0").find("<TIME_ON:5>10000\r\n"), std::string::npos);
    // The leading-integer limits overflow nothing on their way.
    std::string r = record(s, "2147483647,99,99,2147483647,2147483647");
    EXPECT_NE(r.find("<QSO_DATE:14>21474836480000\r\n"), std::string::npos);
    EXPECT_NE(r.find("<TIME_ON:12>216895845947\r\n"), std::string::npos);
    s.timeZone = 2147483647;
    r = record(s, "-2147483648,1,1,-2147483648,0");
    EXPECT_NE(r.find("<QSO_DATE:15>-21474836488769\r\n"), std::string::npos);
    EXPECT_NE(r.find("<TIME_ON:13>-429496727100\r\n"), std::string::npos);
}

TEST(WriteRecord, ValuesAreCopiedAsBytes) {
    ConversionSettings s = defaultSettings();
    std::string r = record(s, "2014,1,1,12,0,\" ja1abc/p \",,,\xB1\xB2,<cw>");
    EXPECT_EQ(r.find("<CALL:10> ja1abc/p \r\n"), 0u);
    EXPECT_NE(r.find("<BAND:2>\xB1\xB2\r\n"), std::string::npos);
    EXPECT_NE(r.find("<MODE:4><cw>\r\n"), std::string::npos);
}

TEST(WriteHeader, ThreeLines) {
    ConversionSettings s = defaultSettings();
    char buffer[8192];
    AdifOutput out = {nullptr, buffer, sizeof buffer, 0, false};
    writeHeader(out, s);
    std::string h(buffer, out.used);
    ASSERT_EQ(h.compare(0, 13, "Generated on "), 0) << h;
    // "Generated on YYYY-MM-DD at HH:MM:SSZ by Vantrel for N0CALL"
    EXPECT_EQ(h.size(), 60 + 19 + 7u) << h;
    EXPECT_EQ(h.substr(13 + 10, 4), " at ");
    EXPECT_EQ(h.substr(35, 25), "Z by Vantrel for N0CALL\r\n");
    EXPECT_EQ(h.substr(60), "<ADIF_VER:5>3.0.0\r\n<EOH>\r\n");
}

TEST(AdifOutput, FullBufferWithoutAFileFailsInsteadOfOverflowing) {
    const QsoRecord& r = makeRecordOf(defaultSettings(), kWorkedExampleLine);
    char buffer[4096];
    AdifOutput out = {nullptr, buffer, sizeof buffer, 0, false};
    writeRecord(out, r);
    EXPECT_FALSE(out.failed);
    for (int i = 0; i < 50; ++i)
        writeRecord(out, r);
    EXPECT_TRUE(out.failed);
    EXPECT_LE(out.used, sizeof buffer);
}

TEST(AdifOutput, HeaderWithoutRoomFailsAndWritesNothing) {
    char buffer[kMaxAdifHeaderBytes - 1];
    memset(buffer, 'x', sizeof buffer);
    AdifOutput out = {nullptr, buffer, sizeof buffer, 0, false};
    writeHeader(out, defaultSettings());
    EXPECT_TRUE(out.failed);
    EXPECT_EQ(out.used, 0u);
    EXPECT_EQ(std::string(buffer, sizeof buffer), std::string(sizeof buffer, 'x'));
}

TEST(WriteRecord, ItemLengthsAtEveryDigitCount) {
    ConversionSettings s = defaultSettings();
    for (size_t length : {0u, 1u, 9u, 10u, 99u, 100u, 101u, 255u}) {
        const std::string call(length, 'c');
        const std::string r = record(s, "2014,12,8,3,15," + call + ",14.0");
        EXPECT_EQ(r.find("<CALL:" + std::to_string(length) + ">" + call + "\r\n<QSO_DATE:"), 0u)
            << length;
    }
}

TEST(WriteRecord, EveryColumnUpToAFCanBeUsed) {
    std::string line;
    for (int k = 1; k <= 32; ++k)
        line += (k > 1 ? "," : "") + std::string("v") + std::to_string(k);
    ConversionSettings s = defaultSettings();
    copyText(s.columnCallsign, "AF");
    copyText(s.columnBand, "Z");
    copyText(s.columnMode, "AA");
    copyText(s.columnGl, "ae");
    const std::string r = record(s, line);
    EXPECT_EQ(r.find("<CALL:3>v32\r\n"), 0u);
    EXPECT_NE(r.find("<BAND:3>v26\r\n"), std::string::npos);
    EXPECT_NE(r.find("<MODE:3>v27\r\n"), std::string::npos);
    EXPECT_NE(r.find("<MY_GRIDSQUARE:3>v31\r\n"), std::string::npos);
}

// What the writer says of a record: whether it has a callsign, whether its
// date and time (after the shift) exist, and what QSL services refuse in it
// (here on a day whose header states 2024-05-03).
TEST(WriteRecord, FaultsOfARecord) {
    enum : unsigned { kMHz = 0, kKHz = 1 };
    const struct {
        const char* line;
        int32_t timeZone;
        unsigned unit;
        unsigned faults;
    } cases[] = {
        {"2014,12,8,3,15,K1ABC", 9, kMHz, 0},
        {"2014,12,8,3,15,", 9, kMHz, kRecordNoCallsign},
        {"2014,11,31,12,0,K1ABC", 0, kMHz, kRecordBadDate},  // no 31 November
        {"2014,11,30,12,0,K1ABC", 0, kMHz, 0},
        {"2023,2,29,12,0,K1ABC", 0, kMHz, kRecordBadDate},
        {"2024,2,29,12,0,K1ABC", 0, kMHz, 0},
        {"1900,2,29,12,0,K1ABC", 0, kMHz, kRecordBadDate},  // 1900 was no leap year
        {"2000,2,29,12,0,K1ABC", 0, kMHz, 0},
        {"1900,1,1,12,0,K1ABC", 0, kMHz, kRecordDateOutOfRange},  // a date, before ADIF's
        {"1899,12,31,12,0,K1ABC", 0, kMHz, kRecordBadDate},
        {"1929,12,31,23,59,K1ABC", 0, kMHz, kRecordDateOutOfRange},
        {"1930,1,1,0,0,K1ABC", 0, kMHz, 0},
        {"2024,5,4,23,59,K1ABC", 0, kMHz, 0},  // a day after the header's date
        {"2024,5,5,0,0,K1ABC", 0, kMHz, kRecordDateOutOfRange},
        {"2100,12,31,12,0,K1ABC", 0, kMHz, kRecordDateOutOfRange},
        {"2101,1,1,12,0,K1ABC", 0, kMHz, kRecordBadDate},
        {"14,12,7,12,0,K1ABC", 0, kMHz, kRecordBadDate | kRecordTwoDigitYear},
        {"24/05/03,1,1,12,0,K1ABC", 0, kMHz, kRecordBadDate | kRecordTwoDigitYear},
        {"45415,1,1,12,0,K1ABC", 0, kMHz, kRecordBadDate | kRecordDateNumber},
        {"45415.52,1,1,12,0,K1ABC", 0, kMHz, kRecordBadDate | kRecordDateNumber},
        {"19999,1,1,12,0,K1ABC", 0, kMHz, kRecordBadDate},
        {"2014,13,1,12,0,K1ABC", 0, kMHz, kRecordBadDate},
        {"2014,12,0,12,0,K1ABC", 0, kMHz, kRecordBadDate},
        {"2014,6,15,23,59,K1ABC", 0, kMHz, 0},
        {"2014,6,15,2,0,K1ABC", 30, kMHz, kRecordBadTime},  // -400: no time of day
        {"2014,6,15,12,60,K1ABC", 0, kMHz, kRecordBadTime},
        {"2014,6,15,12,-1,K1ABC", 0, kMHz, kRecordBadTime},
        {"", 9, kMHz, kRecordNoCallsign | kRecordBadDate},  // an empty line
        // Callsigns QSL services refuse, and some they take.
        {"2014,6,15,12,0,ja1abc/p", 0, kMHz, 0},
        {"2014,6,15,12,0,K1A", 0, kMHz, 0},
        {"2014,6,15,12,0,K1", 0, kMHz, kRecordCallsignRefused},
        {"2014,6,15,12,0,TEST", 0, kMHz, kRecordCallsignRefused},
        {"2014,6,15,12,0,1234", 0, kMHz, kRecordCallsignRefused},
        {"2014,6,15,12,0,JA1ABC/", 0, kMHz, kRecordCallsignRefused},
        {"2014,6,15,12,0,/JA1ABC", 0, kMHz, kRecordCallsignRefused},
        {"2014,6,15,12,0, JA1ABC", 0, kMHz, kRecordCallsignRefused},
        {"2014,6,15,12,0,JA1-ABC", 0, kMHz, kRecordCallsignRefused},
        {"2014,6,15,12,0,JA1\x83\x5C", 0, kMHz, kRecordCallsignRefused},
        // Bands ADIF knows, in any case, and whether the frequency lies in them.
        {"2014,6,15,12,0,K1ABC,14.025,,20m", 0, kMHz, 0},
        {"2014,6,15,12,0,K1ABC,430.5,,70CM", 0, kMHz, 0},
        {"2014,6,15,12,0,K1ABC,14.35,,20m", 0, kMHz, 0},  // on the upper edge
        {"2014,6,15,12,0,K1ABC,14.351,,20m", 0, kMHz, kRecordBandFrequency},
        {"2014,6,15,12,0,K1ABC,7.010,,20m", 0, kMHz, kRecordBandFrequency},
        {"2014,6,15,12,0,K1ABC,1.4025e1,,20m", 0, kMHz, 0},
        {"2014,6,15,12,0,K1ABC,,,20m", 0, kMHz, 0},       // no frequency to hold against it
        {"2014,6,15,12,0,K1ABC,14025,,20m", 0, kKHz, 0},  // the value as written, in MHz
        {"2014,6,15,12,0,K1ABC,7010,,20m", 0, kKHz, kRecordBandFrequency},
        {"2014,6,15,12,0,K1ABC,14.025,,7MHz", 0, kMHz, kRecordBandFrequency},  // a figure wins
        {"2014,6,15,12,0,K1ABC,430,,430", 0, kMHz, kRecordFrequencyFigure},
        {"2014,6,15,12,0,K1ABC,,,20 m", 0, kMHz, kRecordUnknownBand},
        {"2014,6,15,12,0,K1ABC,14.025,,20 m", 0, kMHz, 0},                 // the frequency's band
        {"2014,6,15,12,0,K1ABC,15.0,,20 m", 0, kMHz, kRecordUnknownBand},  // no band holds it
        {"2014,6,15,12,0,K1ABC,7.0,,,usb", 0, kMHz, 0},
        {"2014,6,15,12,0,K1ABC,7.0,,,LSB-D", 0, kMHz, kRecordUnknownMode},
        {"2014,6,15,12,0,K1ABC,14.025,,", 0, kMHz,
         0},  // no band: the services take the frequency's
    };
    for (const auto& c : cases) {
        ConversionSettings s = defaultSettings();
        s.timeZone = c.timeZone;
        s.checkMhz = c.unit == kMHz;
        s.checkKhz = c.unit == kKHz;
        EXPECT_EQ(makeRecordOf(s, c.line, 20240504).faults, c.faults) << c.line;
    }
}

TEST(WriteHeader, TheTimeIsShiftedByTheTimeDifference) {
    // "Generated on YYYY-MM-DD at HH:MM:SSZ": the hour behind local time by the
    // time difference (a whole day back for 24).
    for (int32_t timeZone : {0, 5, -7, 24}) {
        ConversionSettings s = defaultSettings();
        s.timeZone = timeZone;
        char buffer[8192];
        AdifOutput out = {nullptr, buffer, sizeof buffer, 0, false};
        const LocalTime before = currentLocalTime();
        writeHeader(out, s);
        const LocalTime after = currentLocalTime();
        const std::string h(buffer, out.used);
        const int hour = std::stoi(h.substr(27, 2));
        const int day = std::stoi(h.substr(21, 2));
        if (before.hour != after.hour || before.minute != after.minute) continue;  // it turned
        EXPECT_EQ(hour, ((before.hour - timeZone) % 24 + 24) % 24) << h;
        if (timeZone == 0) {
            EXPECT_EQ(day, before.day) << h;
            EXPECT_EQ(std::stoi(h.substr(30, 2)), before.minute) << h;
        }
        if (timeZone == 24) {
            EXPECT_NE(day, before.day) << h;
        }
    }
}

// Fields from columns of their own: written after the form's items in byte
// order of their names, the blanks around them dropped, left out when empty,
// never cut short; several may take one column.
TEST(WriteRecord, FieldsFromColumnsOfTheirOwn) {
    // The worked example's columns through M, then the fields' from N on.
    const std::string head = "2014,12,8,3,15,K1ABC,14.025,,20m,CW,599,,579";
    const std::string formItems = "<RST_RCVD:3>599\r\n<MY_GRIDSQUARE:0>\r\n";
    const struct {
        std::vector<std::pair<const char*, const char*>> columns;
        std::string rest, fields;
    } cases[] = {
        {{{"NAME", "N"}, {"QTH", "o"}}, ",Taro, Tokyo \t", "<NAME:4>Taro\r\n<QTH:5>Tokyo\r\n"},
        {{{"QTH", "N"}, {"A_INDEX", "P"}, {"AGE", "O"}},
         ",x,30,5",
         "<AGE:2>30\r\n<A_INDEX:1>5\r\n<QTH:1>x\r\n"},
        {{{"QSL_RCVD", "O"}, {"QSLRDATE", "N"}},
         ",20240101,Y",
         "<QSLRDATE:8>20240101\r\n<QSL_RCVD:1>Y\r\n"},
        {{{"NAME", "N"}, {"NOTES", "N"}}, ",Ken", "<NAME:3>Ken\r\n<NOTES:3>Ken\r\n"},
        {{{"NAME", "N"}}, ", \t ", ""},
        {{{"NAME", "N"}}, "", ""},
        {{{"NAME", "N"}},
         "," + std::string(300, 'n'),
         "<NAME:255>" + std::string(255, 'n') + "\r\n"},
        {{{"NAME", "-"}, {"QTH", "AG"}}, ",Ken,Tokyo", ""},
    };
    for (const auto& c : cases) {
        ConversionSettings s = defaultSettings();
        for (const auto& column : c.columns) {
            const int k = columnFieldIndex(column.first, strlen(column.first));
            ASSERT_GE(k, 0) << column.first;
            copyText(s.fieldColumns[k], column.second);
        }
        const std::string r = record(s, head + c.rest);
        EXPECT_EQ(r.substr(r.find("<RST_RCVD")), formItems + c.fields + "<EOR>\r\n") << c.rest;
    }
}

// Every switch counts as on only at exactly 1: at 2 or -1 a record is
// written as with 0 (the window, which shows such a value checked, stores 1
// at its next Convert).
TEST(WriteRecord, SwitchesOtherThanZeroAndOneAreOff) {
    const std::string line = "2014,12,8,3,15,K1ABC,14.025,,,usb,599,,579,,,,,,,hi,PM95";
    for (const SettingDescriptor& row : kSettingsTable) {
        if (row.control != kCheckBox) continue;
        ConversionSettings off = defaultSettings();
        storeSettingValue(row, settingField(off, row), "0");
        for (const char* value : {"2", "-1"}) {
            ConversionSettings s = defaultSettings();
            storeSettingValue(row, settingField(s, row), value);
            EXPECT_EQ(record(s, line), record(off, line)) << row.key << "=" << value;
        }
    }
}

namespace {

// The items of a record from BAND up to MODE, and from MODE up to RST_SENT.
std::string between(const std::string& record, const char* from, const char* to) {
    const size_t begin = record.find(from);
    return record.substr(begin, record.find(to) - begin);
}

}  // namespace

// BAND from a figure in the band or the frequency column, or from the band
// that holds the frequency; a figure in the frequency column is no FREQ.
TEST(WriteRecord, BandFromFiguresAndFrequencies) {
    enum Unit { kNone, kMHz, kKHz };
    const struct {
        const char *band, *freq;
        Unit unit;
        bool fromFreq;
        const char* written;
    } cases[] = {
        {"", "14.025", kMHz, true, "<BAND:3>20m\r\n<FREQ:6>14.025\r\n"},
        {"7", "", kMHz, true, "<BAND:3>40m\r\n<FREQ:0>\r\n"},
        {" 7 ", "7.01", kMHz, true, "<BAND:3>40m\r\n<FREQ:4>7.01\r\n"},
        {"430M", "433.0", kMHz, true, "<BAND:4>70cm\r\n<FREQ:5>433.0\r\n"},
        {"1.9mhz", "", kMHz, true, "<BAND:4>160m\r\n<FREQ:0>\r\n"},
        {"10", "", kMHz, true, "<BAND:3>30m\r\n<FREQ:0>\r\n"},
        {"10g", "", kMHz, true, "<BAND:3>3cm\r\n<FREQ:0>\r\n"},
        {"10GHz", "", kMHz, true, "<BAND:3>3cm\r\n<FREQ:0>\r\n"},
        {"", "1200", kMHz, true, "<BAND:4>23cm\r\n"},
        {"", "7MHz", kMHz, true, "<BAND:3>40m\r\n"},
        {"20m", "7", kMHz, true, "<BAND:3>20m\r\n"},                           // an ADIF band stays
        {"70CM", "14.025", kMHz, true, "<BAND:4>70CM\r\n<FREQ:6>14.025\r\n"},  // in any case
        {"7", "14.025", kMHz, true, "<BAND:3>40m\r\n<FREQ:6>14.025\r\n"},
        {"7 M", "", kMHz, true, "<BAND:3>7 M\r\n<FREQ:0>\r\n"},
        {"", "15.0", kMHz, true, "<BAND:0>\r\n<FREQ:4>15.0\r\n"},
        {"", "7025", kKHz, true, "<BAND:3>40m\r\n<FREQ:5>7.025\r\n"},
        {"", "7", kKHz, true, "<BAND:0>\r\n<FREQ:5>0.007\r\n"},  // figures are in MHz
        {"", "", kKHz, true, "<BAND:0>\r\n"},                    // no frequency: no FREQ
        {"", "14.025", kNone, true, "<BAND:0>\r\n"},
        {"7", "", kMHz, false, "<BAND:1>7\r\n<FREQ:0>\r\n"},
        {"", "7", kMHz, false, "<BAND:0>\r\n<FREQ:1>7\r\n"},
    };
    for (const auto& c : cases) {
        ConversionSettings s = defaultSettings();
        s.checkMhz = c.unit == kMHz;
        s.checkKhz = c.unit == kKHz;
        s.bandFromFreq = c.fromFreq ? 1 : 0;
        const std::string line =
            std::string("2014,12,8,3,15,K1ABC,") + c.freq + ",," + c.band + ",CW";
        EXPECT_EQ(between(record(s, line), "<BAND", "<MODE"), c.written) << line;
    }
}

// Both edges of every ADIF band, and just outside them: the check of a
// frequency against its band, and the band taken from a frequency.
TEST(WriteRecord, EdgesOfEveryBand) {
    size_t count = 0;
    const AdifBand* bands = adifBands(count);
    ConversionSettings s = defaultSettings();
    s.timeZone = 0;
    for (size_t b = 0; b < count; ++b) {
        const AdifBand& band = bands[b];
        const double mhz[] = {band.lowerMhz, band.upperMhz, band.lowerMhz * (1 - 1e-7),
                              band.upperMhz * (1 + 1e-7)};
        for (size_t i = 0; i < 4; ++i) {
            char freq[64];
            snprintf(freq, sizeof freq, "%.10f", mhz[i]);  // 7.0000000000: no band figure
            const bool inside = i < 2;
            const std::string line = std::string("2014,6,15,12,0,K1ABC,") + freq + ",,";
            const std::string taken = between(record(s, line), "<BAND", "<FREQ");
            EXPECT_EQ(
                taken == "<BAND:" + std::to_string(strlen(band.name)) + ">" + band.name + "\r\n",
                inside)
                << freq << " " << taken;
            EXPECT_EQ(makeRecordOf(s, line + band.name, 20240504).faults,
                      inside ? 0u : unsigned{kRecordBandFrequency})
                << freq << " " << band.name;
        }
    }
}

// MODE as ADIF names it: a submode as its mode and SUBMODE, a mode in upper
// case, an emission designator as its mode; SUBMODE from a column of its own
// wins, and stands right after MODE.
TEST(WriteRecord, ModesAsAdifNamesThem) {
    const struct {
        const char *mode, *submode;
        bool toAdif;
        const char* written;
    } cases[] = {
        {"FT4", "", true, "<MODE:4>MFSK\r\n<SUBMODE:3>FT4\r\n"},
        {"usb", "", true, "<MODE:3>SSB\r\n<SUBMODE:3>USB\r\n"},
        {"Psk31", "", true, "<MODE:3>PSK\r\n<SUBMODE:5>PSK31\r\n"},
        {"olivia 8/250", "", true, "<MODE:6>OLIVIA\r\n<SUBMODE:12>OLIVIA 8/250\r\n"},
        {"cw", "", true, "<MODE:2>CW\r\n"},
        {"ft8", "", true, "<MODE:3>FT8\r\n"},
        {"a1a", "", true, "<MODE:2>CW\r\n"},
        {"A3", "", true, "<MODE:2>AM\r\n"},
        {"J3E", "", true, "<MODE:3>SSB\r\n"},
        {"A3J", "", true, "<MODE:3>SSB\r\n"},
        {"g3e", "", true, "<MODE:2>FM\r\n"},
        {"F1B", "", true, "<MODE:4>RTTY\r\n"},
        {"SSB-D", "", true, "<MODE:5>SSB-D\r\n"},
        {"", "", true, "<MODE:0>\r\n"},
        {"USB", " LSB ", true, "<MODE:3>SSB\r\n<SUBMODE:3>LSB\r\n"},
        {"usb", "", false, "<MODE:3>usb\r\n"},
        {"MFSK", "FT4", false, "<MODE:4>MFSK\r\n<SUBMODE:3>FT4\r\n"},
    };
    for (const auto& c : cases) {
        ConversionSettings s = defaultSettings();
        s.modeToAdif = c.toAdif ? 1 : 0;
        copyText(s.fieldColumns[columnFieldIndex("SUBMODE", 7)], "N");
        const std::string line =
            std::string("2014,12,8,3,15,K1ABC,14.0,,20m,") + c.mode + ",599,,579," + c.submode;
        EXPECT_EQ(between(record(s, line), "<MODE", "<RST_SENT"), c.written) << line;
    }
}

// Every field from a column of its own, each value at its longest: the
// record holds all of them, none cut or dropped for want of room, and its
// text within the most a record is planned to take.
TEST(WriteRecord, EveryFieldAtItsLongest) {
    std::string line;
    for (size_t k = 0; k < kCsvColumns; ++k)
        line += (k > 0 ? "," : "") + std::string(255, static_cast<char>('a' + k % 26));
    ConversionSettings s = defaultSettings();
    for (size_t k = 0; k < kColumnFieldCount; ++k)
        copyText(s.fieldColumns[k], std::string(1, static_cast<char>('A' + k % 26)).c_str());
    const std::string r = record(s, line);
    EXPECT_EQ(countOf(r, ":255>"), kColumnFieldCount + 9);  // and CALL ... QSLMSG
    EXPECT_LE(r.size(), made.mostBytes);
}

#include <gtest/gtest.h>
#include <string.h>

#include <set>
#include <string>

#include "conversion/csv_splitter.h"
#include "conversion/logbook_records.h"
#include "conversion/title_row.h"
#include "conversion/title_text.h"
#include "test_support.h"

namespace {

// What a first line gives, as describeTitleRow tells it ("" for no title row).
std::string titlesOf(const std::string& line, TitleRow& row) {
    static CsvFields fields;
    splitCsvLine(line.data(), line.size(), fields);
    const bool isTitleRow = readTitleRow(fields, row);
    EXPECT_EQ(isTitleRow, row.isTitleRow);
    char text[1024];
    describeTitleRow(row, text, sizeof text);
    return text;
}

const struct {
    const char* line;
    const char* gives;
} kFirstLines[] = {
    {"No.,Date,Time,Call,Freq,Mode,RST Sent,RST Rcvd,Name,QTH,Comment",
     "Date B, Time C, Callsign D, Freq E, Mode F, RST Sent G, RST Rcvd H, NAME I, QTH J, "
     "Comment K"},
    // ADIF's names; QSLMSG and the header's fields name nothing.
    {"QSO_DATE,TIME_ON,CALL,BAND,FREQ,MODE,RST_SENT,RST_RCVD,TX_PWR,GRIDSQUARE,MY_GRIDSQUARE,"
     "QSLMSG,COMMENT,PROGRAMID,station_callsign",
     "Date A, Time B, Callsign C, Band D, Freq E, Mode F, RST Sent G, RST Rcvd H, TX_PWR I, "
     "GRIDSQUARE J, My GL K, Comment M, STATION_CALLSIGN O"},
    // Japanese, in UTF-8 and in Shift-JIS.
    {"No.,日付,時刻,コールサイン,周波数,モード,RST送,RST受,名前,QTH,備考",
     "Date B, Time C, Callsign D, Freq E, Mode F, RST Sent G, RST Rcvd H, NAME I, QTH J, "
     "Comment K"},
    {"No.,\x93\xFA\x95\x74,\x8E\x9E\x8D\x8F,\x83\x52\x81\x5B\x83\x8B\x83\x54\x83\x43\x83\x93,"
     "\x8E\xFC\x94\x67\x90\x94,\x83\x82\x81\x5B\x83\x68,RST\x91\x97,RST\x8E\xF3,\x96\xBC\x91\x4F,"
     "QTH,\x94\xF5\x8D\x6C",
     "Date B, Time C, Callsign D, Freq E, Mode F, RST Sent G, RST Rcvd H, NAME I, QTH J, "
     "Comment K"},
    // Full-width letters, the full-width blank and brackets, in both encodings.
    {"Ｃａｌｌ,交信年月日,時分　（ＪＳＴ）,出力(W)",
     "Callsign A, Date B, Time C, TX_PWR D; times in JST"},
    {"\x82\x62\x82\x81\x82\x8C\x82\x8C,\x8C\xF0\x90\x4D\x94\x4E\x8C\x8E\x93\xFA,"
     "\x8E\x9E\x95\xAA\x81\x40\x81\x69\x82\x69\x82\x72\x82\x73\x81\x6A,\x8F\x6F\x97\xCD(W)",
     "Callsign A, Date B, Time C, TX_PWR D; times in JST"},
    // A character the titles do not use makes no title.
    {"\x8A\xBF\x8E\x9A,\x83\x52\x81\x5B\x83\x8B\x83\x54\x83\x43\x83\x93,\x94\x4E,\x8C\x8E,"
     "\x93\xFA,\x8E\x9E,\x95\xAA",
     "Callsign B, Year C, Month D, Day E, Hour F, Minute G"},
    // Endings: the first of each kind decides; alone, UTC is the time and
    // JST nothing.
    {"DATE(JST),Time UTC,Call,Freq (MHz),Power [W],Rcvd kHz",
     "Date A, Time B, Callsign C, Freq D, TX_PWR E, RST Rcvd F; times in JST; frequencies in MHz"},
    {"Date,UTC,\"Call Sign\",kHz",
     "Date A, Time B, Callsign C, Freq D; times in UTC; "
     "frequencies in kHz"},
    {"JST,Call,Date,Time", "Callsign B, Date C, Time D"},
    {" Time-On , call_sign ,q.s.o./date,[GMT]", "Time A, Callsign B, Date C; times in UTC"},
    // His and My as Japanese logbooks mean them.
    {"Call,Date,Time,His,My", "Callsign A, Date B, Time C, RST Sent D, RST Rcvd E"},
    // Two titles for one item: the first column wins; a whole date or time
    // first sets its parts aside, a part first the whole.
    {"Call,Callsign,Date,Time,Comment,Memo", "Callsign A, Date C, Time D, Comment E"},
    {"Year,Date,Month,Day,Time,Hour,Call", "Year A, Month C, Day D, Time E, Callsign G"},
    {"Date/Time,Call,Time,Date", "Date and time A, Callsign B"},
    // No title row: a data line, too few titles, no callsign.
    {"2014,12,8,3,15,K1TST,14.025,,20m,CW,599,,579,,,,,,,hello,IO91", ""},
    {"Call,Name,No.", ""},
    {"Date,Time,Freq,Mode", ""},
};

ConversionSettings settingsFromTitles(const char* line, TitleRow& row) {
    titlesOf(line, row);
    ConversionSettings settings = defaultSettings();
    applyTitleRow(row, settings);
    return settings;
}

}  // namespace

TEST(TitleRow, FirstLinesAndWhatTheyGive) {
    for (const auto& c : kFirstLines) {
        TitleRow row;
        EXPECT_EQ(titlesOf(c.line, row), c.gives) << c.line;
    }
}

TEST(TitleRow, EachColumnNamesWhatItsTitleNames) {
    TitleRow row;
    titlesOf("No.,Call,Callsign,Date,Name", row);
    EXPECT_EQ(row.names[0], kTitleNothing);
    EXPECT_STREQ(titleAdifName(row.names[1]), "CALL");
    EXPECT_STREQ(titleAdifName(row.names[2]), "CALL");  // named, though not taken
    EXPECT_STREQ(titleAdifName(row.names[3]), "QSO_DATE");
    EXPECT_STREQ(titleAdifName(row.names[4]), "NAME");
}

TEST(TitleRow, AppliedSettingsAreWhatTheTitlesSay) {
    TitleRow row;
    const ConversionSettings s = settingsFromTitles("Date,Time (UTC),Call,Freq [kHz],Name", row);
    EXPECT_STREQ(s.columnYear, "A");
    EXPECT_STREQ(s.columnDay, "A");
    EXPECT_STREQ(s.columnMinute, "B");
    EXPECT_STREQ(s.columnCallsign, "C");
    EXPECT_STREQ(s.columnFreq, "D");
    EXPECT_STREQ(s.columnBand, "-");
    EXPECT_STREQ(s.fieldColumns[columnFieldIndex("NAME", 4)], "E");
    EXPECT_EQ(s.timeZone, 0);
    EXPECT_EQ(s.checkMhz, 0);
    EXPECT_EQ(s.checkKhz, 1);
    EXPECT_FALSE(titleRowDiffers(row, s));
    EXPECT_TRUE(titleRowDiffers(row, defaultSettings()));
}

TEST(TitleRow, DiffersOnlyInWhatTheTitlesSay) {
    TitleRow row;
    ConversionSettings s = settingsFromTitles("Call,Date,Time,Freq", row);
    // Letter case, a field no title names, the time difference and the
    // frequency's unit where no title said them: the same reading.
    copyText(s.columnCallsign, "a");
    copyText(s.fieldColumns[columnFieldIndex("QTH", 3)], "H");
    s.timeZone = 5;
    s.checkKhz = 1;
    EXPECT_FALSE(titleRowDiffers(row, s));
    copyText(s.columnBand, "I");
    EXPECT_TRUE(titleRowDiffers(row, s));

    ConversionSettings settings = settingsFromTitles("Call,Date,Time (JST),Freq MHz", row);
    EXPECT_EQ(settings.timeZone, 9);
    settings.checkKhz = 1;  // with MHz checked too: read in MHz all the same
    EXPECT_FALSE(titleRowDiffers(row, settings));
    settings.checkMhz = 0;
    EXPECT_TRUE(titleRowDiffers(row, settings));
}

TEST(TitleRow, NoTitleRowChangesNothing) {
    TitleRow row;
    const ConversionSettings s = settingsFromTitles("2014,12,8,3,15,K1TST", row);
    const ConversionSettings defaults = defaultSettings();
    EXPECT_EQ(memcmp(&s, &defaults, sizeof s), 0);
    EXPECT_FALSE(titleRowDiffers(row, s));
}

TEST(TitleRow, ReadFromAFileAsAConversionReadsIt) {
    ScratchDir dir;
    const std::string csv = dir.file("log.csv");
    // A byte order mark, ';' between fields, lines ended by CR alone.
    writeFile(csv,
              "\xEF\xBB\xBF"
              "Call;No;Date;Time (UTC)\rK1ABC;1;2024-05-03;12:34\r");
    TitleRow row;
    EXPECT_EQ(readTitleRowOfFile(csv.c_str(), row), ConversionFinished);
    EXPECT_TRUE(row.isTitleRow);
    EXPECT_EQ(row.item[kTitleCallsign], 0);
    EXPECT_EQ(row.item[kTitleHour], 3);
    EXPECT_TRUE(row.saysTimeZone);
    EXPECT_EQ(readTitleRowOfFile(dir.file("missing.csv").c_str(), row), ConversionCsvNotOpened);
    EXPECT_FALSE(row.isTitleRow);
}

// The list of titles: each field it names takes a column, each character it
// uses has its Shift-JIS code, and no title names two things.
TEST(TitleRow, TheTitlesAreSound) {
    std::set<std::string> keys;
    for (size_t i = 0; i < kKnownTitleCount; ++i) {
        const KnownTitle& title = kKnownTitles[i];
        if (title.field != nullptr) {
            EXPECT_GE(columnFieldIndex(title.field, strlen(title.field)), 0) << title.field;
        }
        for (const unsigned char* p = reinterpret_cast<const unsigned char*>(title.text); *p;) {
            uint32_t c = *p++;
            if (c < 0x80) continue;
            const int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : 1;
            c &= 0x3Fu >> extra;
            for (int k = 0; k < extra; ++k)
                c = c << 6 | (*p++ & 0x3Fu);
            bool found = false;
            for (size_t k = 0; k < kShiftJisTitleCharacterCount; ++k)
                found = found || kShiftJisTitleCharacters[k].codePoint == c;
            EXPECT_TRUE(found) << title.text;
        }
        TitleKey key;
        ASSERT_TRUE(makeTitleKey(title.text, strlen(title.text), key)) << title.text;
        EXPECT_TRUE(keys.insert(key.text).second) << title.text << " twice";
    }
    for (size_t k = 0; k < kColumnFieldCount; ++k) {
        TitleKey key;
        const char* name = columnField(k).name;
        ASSERT_TRUE(makeTitleKey(name, strlen(name), key));
        if (keys.count(key.text) == 0) continue;
        TitleRow row;
        const std::string line = std::string("Call,Date,") + name;
        titlesOf(line, row);
        EXPECT_EQ(row.names[2], kTitleField + static_cast<int>(k)) << name << " names another";
    }
}

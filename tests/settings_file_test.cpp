#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "common/text.h"
#include "platform/platform.h"
#include "settings/conversion_settings.h"
#include "settings/settings_file.h"
#include "test_support.h"

namespace {

// The lines of a text without their line ends.
std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < text.size()) {
        size_t lf = text.find('\n', at);
        size_t end = lf == std::string::npos ? text.size() : lf;
        std::string line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        at = end + 1;
    }
    return lines;
}

}  // namespace

TEST(Settings, DefaultsAndTable) {
    ConversionSettings s = defaultSettings();
    EXPECT_STREQ(s.myCallsign, "N0CALL");
    EXPECT_STREQ(s.csvPath, "C:\\temp\\logbook.csv");
    EXPECT_EQ(s.timeZone, 9);
    const char* columns[] = {s.columnYear,   s.columnMonth,    s.columnDay,     s.columnHour,
                             s.columnMinute, s.columnCallsign, s.columnFreq,    s.columnBand,
                             s.columnMode,   s.columnRstRcvd,  s.columnRstSent, s.columnComment,
                             s.columnGl};
    const char* expected[] = {"A", "B", "C", "D", "E", "F", "G", "I", "J", "K", "M", "T", "U"};
    for (int i = 0; i < 13; ++i)
        EXPECT_STREQ(columns[i], expected[i]);
    EXPECT_EQ(s.checkMhz, 1);
    EXPECT_EQ(s.checkKhz, 0);
    EXPECT_EQ(s.checkRstRcvd, 1);
    EXPECT_EQ(s.checkMyGl, 1);
    EXPECT_EQ(s.checkComment, 1);
    EXPECT_STREQ(kSettingsTable[0].key, "MY_CALLSIGN");
    EXPECT_STREQ(kSettingsTable[20].key, "CHECK_COMMENT");
    for (const SettingDescriptor& row : kSettingsTable)
        EXPECT_LT(strlen(row.key), 64u);
}

TEST(SettingsFile, NewFileHoldsTheSectionAndAll21KeysInOrder) {
    ScratchDir dir;
    std::string ini = dir.file("Vantrel.ini");
    saveSettingsTo(defaultSettings(), ini.c_str());
    std::vector<std::string> lines = linesOf(readFile(ini));
    ASSERT_EQ(lines.size(), 22u);
    EXPECT_EQ(lines[0], "[VANTREL_LOCAL_PARAMS]");
    EXPECT_EQ(lines[1], "MY_CALLSIGN=N0CALL");
    EXPECT_EQ(lines[2], "CSV_NAME=C:\\temp\\logbook.csv");
    EXPECT_EQ(lines[3], "TIME_ZONE=9");
    EXPECT_EQ(lines[12], "COLUMN_MODE=J");
    EXPECT_EQ(lines[18], "CHECK_KHZ=0");
    EXPECT_EQ(lines[21], "CHECK_COMMENT=1");
    for (size_t i = 0; i < kSettingsCount; ++i) {
        EXPECT_EQ(lines[i + 1].substr(0, lines[i + 1].find('=')), kSettingsTable[i].key);
    }
}

TEST(SettingsFile, RoundTripKeepsEveryValue) {
    ScratchDir dir;
    std::string ini = dir.file("Vantrel.ini");
    ConversionSettings s = defaultSettings();
    copyText(s.csvPath, "C:\\logs\\100%_done %s %d.csv");
    copyText(s.myCallsign, "JA1ZZZ/P");
    copyText(s.columnComment, "AB7xyz!");
    s.timeZone = -9;
    s.checkMhz = 0;
    s.checkKhz = 1;
    saveSettingsTo(s, ini.c_str());
    ConversionSettings loaded = defaultSettings();
    loadSettingsFrom(loaded, ini.c_str());
    EXPECT_EQ(memcmp(&loaded, &s, sizeof s), 0);
    EXPECT_EQ(settingsValue(ini, "TIME_ZONE"), "-9");
}

TEST(SettingsFile, EmptyValuesAndMissingKeysLeaveDefaults) {
    ScratchDir dir;
    std::string ini = dir.file("Vantrel.ini");
    ConversionSettings s = defaultSettings();
    copyText(s.columnComment, "");
    saveSettingsTo(s, ini.c_str());
    EXPECT_EQ(settingsValue(ini, "COLUMN_COMMENT"), "");
    ConversionSettings loaded = defaultSettings();
    loadSettingsFrom(loaded, ini.c_str());
    EXPECT_STREQ(loaded.columnComment, "T");

    ConversionSettings untouched = defaultSettings();
    loadSettingsFrom(untouched, dir.file("missing.ini").c_str());
    ConversionSettings defaults = defaultSettings();
    EXPECT_EQ(memcmp(&untouched, &defaults, sizeof defaults), 0);
}

TEST(SettingsFile, NumbersLoadWithTheLeadingIntegerConversion) {
    ScratchDir dir;
    std::string ini = dir.file("Vantrel.ini");
    writeFile(ini,
              "[VANTREL_LOCAL_PARAMS]\r\nTIME_ZONE=abc\r\nCHECK_MHZ=2\r\nCHECK_KHZ=  -7x\r\n"
              "CHECK_MY_GL=99999999999\r\n");
    ConversionSettings s = defaultSettings();
    loadSettingsFrom(s, ini.c_str());
    EXPECT_EQ(s.timeZone, 0);
    EXPECT_EQ(s.checkMhz, 2);
    EXPECT_EQ(s.checkKhz, -7);
    EXPECT_EQ(s.checkMyGl, 2147483647);
}

TEST(SettingsFile, OverlongValuesAreCutToTheirField) {
    ScratchDir dir;
    std::string ini = dir.file("Vantrel.ini");
    std::string longPath(400, 'p');
    writeFile(ini, "[VANTREL_LOCAL_PARAMS]\r\nCOLUMN_YEAR=ABCDEFGHIJK\r\nMY_CALLSIGN=" +
                       std::string(40, 'C') + "\r\nCSV_NAME=" + longPath + "\r\n");
    struct Guarded {
        ConversionSettings s;
        char guard[64];
    } g;
    memset(&g, 0, sizeof g);
    applyDefaults(g.s);
    loadSettingsFrom(g.s, ini.c_str());
    EXPECT_STREQ(g.s.columnYear, "ABCDEFG");
    EXPECT_STREQ(g.s.columnMonth, "B");
    EXPECT_EQ(std::string(g.s.myCallsign), std::string(31, 'C'));
    EXPECT_EQ(std::string(g.s.csvPath), std::string(255, 'p'));
    for (char c : g.guard)
        EXPECT_EQ(c, 0);
}

TEST(SettingsFile, ForeignKeysAndSectionsSurviveASave) {
    ScratchDir dir;
    std::string ini = dir.file("Vantrel.ini");
    writeFile(
        ini,
        "; kept comment\r\n[OTHER]\r\nMY_CALLSIGN=OTHERCALL\r\nX=1\r\n\r\n"
        "[VANTREL_LOCAL_PARAMS]\r\nEXTRA_KEY=keep me\r\nTIME_ZONE=3\r\n\r\n[LAST]\r\nY=2\r\n");
    ConversionSettings s = defaultSettings();
    loadSettingsFrom(s, ini.c_str());
    EXPECT_EQ(s.timeZone, 3);
    EXPECT_STREQ(s.myCallsign, "N0CALL");  // the other section's key is not ours
    s.timeZone = 5;
    saveSettingsTo(s, ini.c_str());
    std::string text = readFile(ini);
    EXPECT_EQ(text.find("; kept comment\r\n[OTHER]\r\nMY_CALLSIGN=OTHERCALL\r\nX=1\r\n"), 0u);
    EXPECT_NE(text.find("EXTRA_KEY=keep me\r\n"), std::string::npos);
    EXPECT_NE(text.find("TIME_ZONE=5\r\n"), std::string::npos);
    EXPECT_EQ(text.find("TIME_ZONE=3"), std::string::npos);
    EXPECT_NE(text.find("[LAST]\r\nY=2\r\n"), std::string::npos);
    char y[16];
    readProfileString("LAST", "Y", y, sizeof y, ini.c_str());
    EXPECT_STREQ(y, "2");
    char other[32];
    readProfileString("OTHER", "MY_CALLSIGN", other, sizeof other, ini.c_str());
    EXPECT_STREQ(other, "OTHERCALL");
}

TEST(SettingsFile, SettingsPathIsBesideTheExecutable) {
    char path[kPathCapacity];
    ASSERT_TRUE(settingsFilePath(path));
    char exe[kPathCapacity];
    ASSERT_TRUE(modulePath(exe, sizeof exe));
    removeFileSpec(exe);
    EXPECT_EQ(std::string(path), std::string(exe) + kSettingsFileSuffix);
}

TEST(SettingsFile, RemoveFileSpec) {
    char a[] = "C:\\temp\\logbook.csv";
    removeFileSpec(a);
    EXPECT_STREQ(a, "C:\\temp");
    char b[] = "logbook.csv";
    removeFileSpec(b);
    EXPECT_STREQ(b, "");
}

// The table holds only texts and integers; the other kinds are handled alike.
TEST(SettingValue, EveryKindLoadsAndSaves) {
    int32_t number = 0;
    double real = 0;
    char text[8] = {};
    const SettingDescriptor longRow = {kSettingLong, "L", 0, sizeof number};
    const SettingDescriptor realRow = {kSettingReal, "R", 0, sizeof real};
    const SettingDescriptor textRow = {kSettingText, "T", 0, sizeof text};
    const SettingDescriptor unknownRow = {7, "U", 0, sizeof number};
    char value[kSettingValueCapacity];

    storeSettingValue(longRow, &number, " -42abc");
    EXPECT_EQ(number, -42);
    formatSettingValue(longRow, &number, value);
    EXPECT_STREQ(value, "-42");

    storeSettingValue(realRow, &real, "14.025d3");
    EXPECT_DOUBLE_EQ(real, 14025.0);
    formatSettingValue(realRow, &real, value);
    EXPECT_STREQ(value, "14025.000000");
    real = -1e300;
    formatSettingValue(realRow, &real, value);  // 308 characters fit
    EXPECT_EQ(strlen(value), 309u);

    storeSettingValue(textRow, text, "ABCDEFGHIJ");
    EXPECT_STREQ(text, "ABCDEFG");
    formatSettingValue(textRow, text, value);
    EXPECT_STREQ(value, "ABCDEFG");

    number = 5;
    storeSettingValue(unknownRow, &number, "9");
    EXPECT_EQ(number, 5);
    formatSettingValue(unknownRow, &number, value);
    EXPECT_STREQ(value, "");
}

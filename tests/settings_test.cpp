// The settings record, its table and the settings file.
#include <gtest/gtest.h>
#include <string.h>

#include <filesystem>
#include <string>

#include "platform/platform.h"
#include "settings/conversion_settings.h"
#include "settings/settings_file.h"
#include "test_support.h"

namespace {

// The settings file a first run writes: the section, then the table's keys
// in their order with their defaults (no key of a field that has no column).
const char kNewSettingsFile[] =
    "[VANTREL_LOCAL_PARAMS]\r\n"
    "MY_CALLSIGN=N0CALL\r\n"
    "CSV_NAME=C:\\temp\\logbook.csv\r\n"
    "TIME_ZONE=9\r\n"
    "COLUMN_YEAR=A\r\n"
    "COLUMN_MONTH=B\r\n"
    "COLUMN_DAY=C\r\n"
    "COLUMN_HOUR=D\r\n"
    "COLUMN_MINUTE=E\r\n"
    "COLUMN_CALLSIGN=F\r\n"
    "COLUMN_FREQ=G\r\n"
    "COLUMN_BAND=I\r\n"
    "COLUMN_MODE=J\r\n"
    "COLUMN_RST_RCVD=K\r\n"
    "COLUMN_RST_SENT=M\r\n"
    "COLUMN_COMMENT=T\r\n"
    "COLUMN_GL=U\r\n"
    "CHECK_MHZ=1\r\n"
    "CHECK_KHZ=0\r\n"
    "CHECK_RST_RCVD=1\r\n"
    "CHECK_MY_GL=1\r\n"
    "CHECK_COMMENT=1\r\n"
    "BAND_FROM_FREQ=1\r\n"
    "MODE_TO_ADIF=1\r\n";

bool same(const ConversionSettings& a, const ConversionSettings& b) {
    return memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

TEST(SettingsFile, NewFileHoldsTheDefaultsOfTheTableInOrder) {
    ScratchDir dir;
    const std::string ini = dir.file("Vantrel.ini");
    EXPECT_TRUE(saveSettingsTo(defaultSettings(), ini.c_str()));
    EXPECT_EQ(readFile(ini), kNewSettingsFile);
    // A folder where the file should be: the caller is told nothing was saved.
    const std::string folder = dir.file("folder.ini");
    std::filesystem::create_directory(folder);
    EXPECT_FALSE(saveSettingsTo(defaultSettings(), folder.c_str()));
}

// Each key reaches the field it names: a file with every key at a value of
// its own, loaded, and the fields read by name.
TEST(SettingsFile, EveryKeyLoadsIntoItsOwnField) {
    ScratchDir dir;
    const std::string ini = dir.file("Vantrel.ini");
    writeFile(ini,
              "[VANTREL_LOCAL_PARAMS]\r\nMY_CALLSIGN=JA1ZZZ/P\r\nCSV_NAME=C:\\logs\\100% %s.csv\r\n"
              "TIME_ZONE=-9\r\nCOLUMN_YEAR=y\r\nCOLUMN_MONTH=mo\r\nCOLUMN_DAY=d\r\n"
              "COLUMN_HOUR=h\r\nCOLUMN_MINUTE=mi\r\nCOLUMN_CALLSIGN=ca\r\nCOLUMN_FREQ=fr\r\n"
              "COLUMN_BAND=ba\r\nCOLUMN_MODE=md\r\nCOLUMN_RST_RCVD=rr\r\nCOLUMN_RST_SENT=rs\r\n"
              "COLUMN_COMMENT=co\r\nCOLUMN_GL=gl\r\nCHECK_MHZ=0\r\nCHECK_KHZ=1\r\n"
              "CHECK_RST_RCVD=2\r\nCHECK_MY_GL=3\r\nCHECK_COMMENT=4\r\n");
    ConversionSettings s = defaultSettings();
    loadSettingsFrom(s, ini.c_str());
    EXPECT_STREQ(s.myCallsign, "JA1ZZZ/P");
    EXPECT_STREQ(s.csvPath, "C:\\logs\\100% %s.csv");
    EXPECT_EQ(s.timeZone, -9);
    const struct {
        const char* field;
        const char* expected;
    } columns[] = {
        {s.columnYear, "y"},     {s.columnMonth, "mo"},   {s.columnDay, "d"},
        {s.columnHour, "h"},     {s.columnMinute, "mi"},  {s.columnCallsign, "ca"},
        {s.columnFreq, "fr"},    {s.columnBand, "ba"},    {s.columnMode, "md"},
        {s.columnRstRcvd, "rr"}, {s.columnRstSent, "rs"}, {s.columnComment, "co"},
        {s.columnGl, "gl"},
    };
    for (const auto& c : columns)
        EXPECT_STREQ(c.field, c.expected);
    EXPECT_EQ(s.checkMhz, 0);
    EXPECT_EQ(s.checkKhz, 1);
    EXPECT_EQ(s.checkRstRcvd, 2);
    EXPECT_EQ(s.checkMyGl, 3);
    EXPECT_EQ(s.checkComment, 4);

    // Saved and loaded again, every field comes back.
    saveSettingsTo(s, ini.c_str());
    ConversionSettings again = defaultSettings();
    loadSettingsFrom(again, ini.c_str());
    EXPECT_TRUE(same(again, s));
    EXPECT_EQ(settingsValue(ini, "TIME_ZONE"), "-9");
}

TEST(SettingsFile, EmptyValuesAndMissingKeysLeaveDefaults) {
    ScratchDir dir;
    const std::string ini = dir.file("Vantrel.ini");
    ConversionSettings s = defaultSettings();
    copyText(s.columnComment, "");
    saveSettingsTo(s, ini.c_str());
    EXPECT_EQ(settingsValue(ini, "COLUMN_COMMENT"), "");
    ConversionSettings loaded = defaultSettings();
    loadSettingsFrom(loaded, ini.c_str());
    EXPECT_STREQ(loaded.columnComment, "T");

    ConversionSettings untouched = defaultSettings();
    loadSettingsFrom(untouched, dir.file("missing.ini").c_str());
    EXPECT_TRUE(same(untouched, defaultSettings()));
}

TEST(SettingsFile, NumbersLoadWithTheLeadingIntegerConversion) {
    ScratchDir dir;
    const std::string ini = dir.file("Vantrel.ini");
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
    const std::string ini = dir.file("Vantrel.ini");
    writeFile(ini, "[VANTREL_LOCAL_PARAMS]\r\nCOLUMN_YEAR=ABCDEFGHIJK\r\nMY_CALLSIGN=" +
                       std::string(40, 'C') + "\r\nCSV_NAME=" + std::string(400, 'p') + "\r\n");
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

TEST(SettingsFile, ForeignKeysSectionsAndOddLinesSurviveASave) {
    ScratchDir dir;
    const std::string ini = dir.file("Vantrel.ini");
    writeFile(
        ini,
        "; kept comment\r\n[OTHER]\r\nMY_CALLSIGN=OTHERCALL\r\nX=1\r\n\r\n"
        "[VANTREL_LOCAL_PARAMS]\r\nEXTRA_KEY = keep me\r\nTIME_ZONE=3\r\n\r\n[LAST]\r\nY=2\r\n");
    ConversionSettings s = defaultSettings();
    loadSettingsFrom(s, ini.c_str());
    EXPECT_EQ(s.timeZone, 3);
    EXPECT_STREQ(s.myCallsign, "N0CALL");  // the other section's key is not ours
    s.timeZone = 5;
    saveSettingsTo(s, ini.c_str());
    EXPECT_EQ(settingsValue(ini, "TIME_ZONE"), "5");
    EXPECT_EQ(settingsValue(ini, "EXTRA_KEY"), "keep me");
    char value[32];
    readProfileString("OTHER", "MY_CALLSIGN", value, sizeof value, ini.c_str());
    EXPECT_STREQ(value, "OTHERCALL");
    readProfileString("LAST", "Y", value, sizeof value, ini.c_str());
    EXPECT_STREQ(value, "2");
#ifndef _WIN32
    // Our own file layer keeps every other line byte for byte, as Windows
    // does (Wine rewrites the whole file).
    const std::string text = readFile(ini);
    EXPECT_EQ(text.find("; kept comment\r\n[OTHER]\r\nMY_CALLSIGN=OTHERCALL\r\nX=1\r\n\r\n"
                        "[VANTREL_LOCAL_PARAMS]\r\nEXTRA_KEY = keep me\r\nTIME_ZONE=5\r\n"),
              0u)
        << text;
    EXPECT_NE(text.find("MODE_TO_ADIF=1\r\n\r\n[LAST]\r\nY=2\r\n"), std::string::npos) << text;
#endif
}

// A settings file whose last line ended in a lone CR once made a save leave
// CR CR LF there, and the value before it read back with a CR of its own.
TEST(SettingsFile, AFileEndingInALoneCrKeepsItsValuesThroughASave) {
    ScratchDir dir;
    const std::string ini = dir.file("Vantrel.ini");
    static const char kFound[] =
        "[VANTREL_LOCAL_PARAMS]\rMY_CALLSIGN=A\0B\nCPARAMS]\r\n"
        "MY_CALLSIGN=+N[VANTREL_LOCAL_PARA0CAMS]L\r";
    writeFile(ini, std::string(kFound, sizeof kFound - 1));
    ConversionSettings s = defaultSettings();
    loadSettingsFrom(s, ini.c_str());
    saveSettingsTo(s, ini.c_str());
    ConversionSettings again = defaultSettings();
    loadSettingsFrom(again, ini.c_str());
    EXPECT_STREQ(again.myCallsign, s.myCallsign);
    EXPECT_TRUE(same(again, s));
}

// The table holds only texts and integers; the long and real kinds are
// stored and formatted by their own rules.
TEST(SettingValue, LongAndRealKinds) {
    int32_t number = 0;
    double real = 0;
    const SettingDescriptor longRow = {kSettingLong, "L", 0,        sizeof number,
                                       "",           0,   kEditBox, kOnForm};
    const SettingDescriptor realRow = {kSettingReal, "R", 0, sizeof real, "", 0, kEditBox, kOnForm};
    char value[kSettingValueCapacity];
    storeSettingValue(longRow, &number, " -42abc");
    formatSettingValue(longRow, &number, value);
    EXPECT_STREQ(value, "-42");
    storeSettingValue(realRow, &real, "14.025d3");
    formatSettingValue(realRow, &real, value);
    EXPECT_STREQ(value, "14025.000000");
    real = -1e300;
    formatSettingValue(realRow, &real, value);  // 308 digits fit
    EXPECT_EQ(strlen(value), 309u);
}

TEST(Platform, RemoveFileSpec) {
    const struct {
        const char* path;
        const char* folder;
    } cases[] = {
        {"C:\\temp\\logbook.csv", "C:\\temp"},
        {"logbook.csv", ""},
#ifndef _WIN32
        {"/vantrel", "/"},
        {"/home/op/log.csv", "/home/op"},
#endif
    };
    for (const auto& c : cases) {
        char path[64];
        copyText(path, c.path);
        removeFileSpec(path);
        EXPECT_STREQ(path, c.folder) << c.path;
    }
}

TEST(Platform, ProgramPathThatDoesNotFitIsRefused) {
    char small[4] = {'x', 'x', 'x', 'x'};
    EXPECT_FALSE(modulePath(small, sizeof small));
    EXPECT_STREQ(small, "");
    char guard = 'g';
    EXPECT_FALSE(modulePath(&guard, 0));
    EXPECT_EQ(guard, 'g');
}

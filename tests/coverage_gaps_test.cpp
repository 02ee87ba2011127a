// Cases the other tests leave out: every month end of the calendar roll-over,
// output that fails part way, paths and numbers at their limits, and the
// settings-file layer of our own on files a user may have edited by hand.
#include <gtest/gtest.h>
#include <string.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <cmath>
#include <filesystem>
#include <string>

#include "common/text.h"
#include "conversion/adif_writer.h"
#include "conversion/conversion_job.h"
#include "platform/platform.h"
#include "settings/settings_file.h"
#include "test_support.h"

namespace {

const int kMonthDays2014[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

int64_t shiftedDate(int64_t year, int64_t month, int64_t day, int64_t hour, int32_t timeZone,
                    int64_t* time = nullptr) {
    QsoTimestamp t = {year, month, day, hour, 0, 0, 0};
    applyTimeDifference(t, timeZone);
    if (time != nullptr) *time = t.time;
    return t.date;
}

}  // namespace

TEST(TimeDifference, EveryMonthEndRollsOverBothWays) {
    for (int month = 1; month <= 12; ++month) {
        SCOPED_TRACE(month);
        const int last = kMonthDays2014[month - 1];
        const int64_t nextYear = month == 12 ? 2015 : 2014;
        const int64_t nextMonth = month % 12 + 1;
        int64_t time = -1;
        // The last day at 20:00, nine hours behind UTC: the next month's first day.
        EXPECT_EQ(shiftedDate(2014, month, last, 20, -9, &time),
                  nextYear * 10000 + nextMonth * 100 + 1);
        EXPECT_EQ(time, 500);
        // The day before stays in its month.
        EXPECT_EQ(shiftedDate(2014, month, last - 1, 20, -9), 20140000 + month * 100 + last);
        // The next month's first day at 05:00, nine hours ahead: this month's last day.
        EXPECT_EQ(shiftedDate(nextYear, nextMonth, 1, 5, 9, &time), 20140000 + month * 100 + last);
        EXPECT_EQ(time, 2000);
    }
    // February of a leap year has its 29th both ways.
    EXPECT_EQ(shiftedDate(2012, 2, 28, 20, -9), 20120229);
    EXPECT_EQ(shiftedDate(2012, 2, 29, 20, -9), 20120301);
    EXPECT_EQ(shiftedDate(2012, 3, 1, 5, 9), 20120229);
}

TEST(AdifOutput, HeaderWithoutRoomFailsAndWritesNothing) {
    char buffer[kMaxAdifRecordBytes - 1];
    memset(buffer, 'x', sizeof buffer);
    AdifOutput out = {nullptr, buffer, sizeof buffer, 0, false};
    writeHeader(out, defaultSettings());
    EXPECT_TRUE(out.failed);
    EXPECT_EQ(out.used, 0u);
    EXPECT_EQ(std::string(buffer, sizeof buffer), std::string(sizeof buffer, 'x'));
}

TEST(AdifOutput, AfterAFailedWriteNothingMoreReachesTheFile) {
    // The file then holds a prefix of the output, never one with a gap.
    ScratchDir dir;
    FILE* file = fopen(dir.file("out.adi").c_str(), "w+b");
    ASSERT_NE(file, nullptr);
    char buffer[2 * kMaxAdifRecordBytes];
    AdifOutput out = {file, buffer, sizeof buffer, 0, false};
    writeHeader(out, defaultSettings());
    out.failed = true;
    flushAdifOutput(out);
    EXPECT_EQ(out.used, 0u);
    EXPECT_EQ(ftell(file), 0L);
    fclose(file);
}

#ifndef _WIN32
TEST(Conversion, WriteErrorPartWayThroughALongLogbookIsReported) {
    // Far more than one output block, and a last line without LF: the write
    // fails while lines are still being read.
    ScratchDir dir;
    std::string csv;
    for (int i = 0; i < 3000; ++i)
        csv += "2014,12,8,3,15,TEST,14.025,,20m,CW,599,,579,,,,,,,a comment here,IO91\r\n";
    csv += "2014,12,8,3,16,LAST";
    writeFile(dir.file("log.csv"), csv);
    ASSERT_EQ(symlink("/dev/full", dir.file("log.adi").c_str()), 0);
    ConversionSettings s = defaultSettings();
    copyText(s.csvPath, dir.file("log.csv").c_str());
    EXPECT_EQ(convertWith(s), "Can not write ADI file");
    EXPECT_EQ(readFile(dir.file("log.csv")), csv);
}
#endif

TEST(OutputPath, OnlyTheAdiExtensionIsRefused) {
    EXPECT_FALSE(hasAdiExtension("log.adx"));
    EXPECT_FALSE(hasAdiExtension("log.abi"));
    EXPECT_FALSE(hasAdiExtension("log.ad"));
    EXPECT_FALSE(hasAdiExtension("log.a"));
    EXPECT_TRUE(hasAdiExtension("log.adi . ."));
    EXPECT_TRUE(hasAdiExtension("C:log.Adi"));
    EXPECT_FALSE(hasAdiExtension(". . "));

    char out[kPathCapacity];
    ASSERT_TRUE(outputPathFor("x", out));
    EXPECT_STREQ(out, "x.adi");
    ASSERT_TRUE(outputPathFor("dir.d/sub.e\\log", out));
    EXPECT_STREQ(out, "dir.d/sub.e\\log.adi");
}

TEST(LeadingNumber, ExponentsBeyondAnyDoubleSaturate) {
    EXPECT_TRUE(std::isinf(parseLeadingNumber("1e999999999999")));
    EXPECT_EQ(parseLeadingNumber("1e-999999999999"), 0.0);
    EXPECT_TRUE(std::isinf(parseLeadingNumber("-1D400")));
    EXPECT_DOUBLE_EQ(parseLeadingNumber("+2.5"), 2.5);
    EXPECT_TRUE(std::signbit(parseLeadingNumber("-0.000")));
    EXPECT_FALSE(std::signbit(parseLeadingNumber("0.000")));
    // A fraction longer than the digits kept still reads as its value.
    std::string longFraction = "1." + std::string(1000, '1');
    EXPECT_DOUBLE_EQ(parseLeadingNumber(longFraction.c_str()), 1.1111111111111112);
}

TEST(Texts, ZeroCapacityWritesNothing) {
    char guard = 'g';
    EXPECT_TRUE(copyText(&guard, 0, ""));
    EXPECT_FALSE(copyText(&guard, 0, "a"));
    EXPECT_FALSE(joinText(&guard, 0, "", ""));
    readStatusText(&guard, 0);
    EXPECT_EQ(guard, 'g');
}

#ifndef _WIN32
// The settings file's reader and writer of our own (Windows has its own).

namespace {

size_t filesIn(const std::string& folder) {
    size_t n = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        (void)entry;
        ++n;
    }
    return n;
}

}  // namespace

TEST(ProfileFile, HandEditedFilesReadAsWindowsReadsThem) {
    ScratchDir dir;
    std::string path = dir.file("Vantrel.ini");
    writeFile(path,
              "; written by hand\r\n"
              "[ vantrel_local_params ]\r\n"
              "  column_year =  Q R  \r\n"
              "NO EQUALS SIGN\r\n"
              "TIME_ZONE=-3\r\n"
              "[VANTREL_LOCAL_PARAMS_2]\r\n"
              "CHECK_MHZ=0\r\n"
              "[Unclosed\r\n"
              "MY_CALLSIGN=ZZ9");
    EXPECT_EQ(settingsValue(path, "COLUMN_YEAR"), "Q R");  // any case, blanks around dropped
    EXPECT_EQ(settingsValue(path, "NO EQUALS SIGN"), "");  // a line without '=' is no key
    EXPECT_EQ(settingsValue(path, "TIME_ZONE"), "-3");     // and does not swallow the next line
    EXPECT_EQ(settingsValue(path, "CHECK_MHZ"), "");       // other sections do not count
    EXPECT_EQ(settingsValue(path, "MY_CALLSIGN"), "");

    char guard = 'g';
    readProfileString(kSettingsSection, "TIME_ZONE", &guard, 0, path.c_str());
    EXPECT_EQ(guard, 'g');
}

TEST(ProfileFile, LastLineWithoutLineEndIsNeverJoinedToANewOne) {
    ScratchDir dir;
    std::string path = dir.file("Vantrel.ini");
    writeFile(path, "[VANTREL_LOCAL_PARAMS]\nMY_CALLSIGN=K1ABC");
    ASSERT_TRUE(writeProfileString(kSettingsSection, "TIME_ZONE", "5", path.c_str()));
    EXPECT_EQ(readFile(path), "[VANTREL_LOCAL_PARAMS]\nMY_CALLSIGN=K1ABC\nTIME_ZONE=5\n");

    writeFile(path, "[other]\nX=1");
    ASSERT_TRUE(writeProfileString(kSettingsSection, "TIME_ZONE", "5", path.c_str()));
    EXPECT_EQ(readFile(path), "[other]\nX=1\n[VANTREL_LOCAL_PARAMS]\nTIME_ZONE=5\n");
    EXPECT_EQ(settingsValue(path, "TIME_ZONE"), "5");
}

TEST(ProfileFile, AValueCannotAddLinesToTheFile) {
    ScratchDir dir;
    std::string path = dir.file("Vantrel.ini");
    ConversionSettings s = defaultSettings();
    copyText(s.myCallsign, "K1ABC\r\n[X]\r\nCSV_NAME=y");
    saveSettingsTo(s, path.c_str());
    std::string file = readFile(path);
    EXPECT_EQ(file.find("[X]"), std::string::npos) << file;
    EXPECT_EQ(settingsValue(path, "MY_CALLSIGN"), "K1ABC");
    EXPECT_EQ(settingsValue(path, "CSV_NAME"), "C:\\temp\\logbook.csv");
}

TEST(ProfileFile, FailedWriteIsReportedAndLeavesNoTemporaryFile) {
    ScratchDir dir;
    std::string folder = dir.file("Vantrel.ini");  // a folder where the file should be
    std::filesystem::create_directory(folder);
    EXPECT_FALSE(writeProfileString(kSettingsSection, "TIME_ZONE", "5", folder.c_str()));
    EXPECT_EQ(filesIn(dir.path()), 1u);
    EXPECT_FALSE(writeProfileString(kSettingsSection, "TIME_ZONE", "5",
                                    dir.file("missing/Vantrel.ini").c_str()));
}

TEST(Platform, ProgramPathThatDoesNotFitIsRefused) {
    char small[4] = {'x', 'x', 'x', 'x'};
    EXPECT_FALSE(modulePath(small, sizeof small));
    EXPECT_STREQ(small, "");
    char guard = 'g';
    EXPECT_FALSE(modulePath(&guard, 0));
    EXPECT_EQ(guard, 'g');

    char atRoot[] = "/vantrel";
    removeFileSpec(atRoot);
    EXPECT_STREQ(atRoot, "/");
}
#endif

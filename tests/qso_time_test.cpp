#include <gtest/gtest.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/text.h"
#include "conversion/conversion_job.h"
#include "conversion/qso_time.h"
#include "platform/platform.h"
#include "test_support.h"

namespace {

struct Shift {
    int year, month, day, hour, minute, timeZone;
    long long date, time;
};

void expectShift(const Shift& s) {
    SCOPED_TRACE(testing::Message() << s.year << "-" << s.month << "-" << s.day << " " << s.hour
                                    << ":" << s.minute << " tz " << s.timeZone);
    QsoTimestamp t = {s.year, s.month, s.day, s.hour, s.minute, 0, 0};
    applyTimeDifference(t, s.timeZone);
    EXPECT_EQ(t.date, s.date);
    EXPECT_EQ(t.time, s.time);
}

CsvFields fields;

// A plan reading the date from column A and the time from column B, or, with
// timeAfterDate, both from column A.
QsoTimePlan oneColumnPlan(DateOrder order, bool timeAfterDate = false,
                          YearPlace yearPlace = kYearLast, int32_t timeZone = 0) {
    QsoTimePlan plan = {0,     0,         0,     1,       1, kDateFromColumns, kTimeFromColumns,
                        order, yearPlace, false, timeZone};
    if (timeAfterDate) plan.hour = plan.minute = 0;
    planQsoTime(plan);
    plan.order = order;
    plan.yearPlace = yearPlace;
    plan.orderFromSystem = false;
    return plan;
}

}  // namespace

TEST(TimeDifference, ShiftsWithOneDayOfRollOver) {
    const Shift cases[] = {
        {2014, 12, 8, 3, 15, 9, 20141207, 1815},
        {2014, 1, 1, 5, 0, 9, 20131231, 2000},
        {2014, 3, 1, 8, 59, 9, 20140228, 2359},
        {2012, 3, 1, 8, 0, 9, 20120229, 2300},
        {1900, 3, 1, 8, 0, 9, 19000229, 2300},
        {2014, 12, 31, 20, 0, -9, 20150101, 500},
        {2014, 2, 28, 20, 0, -9, 20140301, 500},
        {2012, 2, 28, 20, 0, -9, 20120229, 500},
        {2012, 2, 29, 20, 0, -9, 20120301, 500},
        {2014, 4, 30, 20, 0, -9, 20140501, 500},
        {2014, 9, 30, 20, 0, -9, 20141001, 500},
        {2014, 11, 30, 20, 0, -9, 20141201, 500},
        {2014, 12, 1, 5, 0, 9, 20141130, 2000},
        {2014, 10, 1, 5, 0, 9, 20140930, 2000},
        {2014, 8, 1, 5, 0, 9, 20140731, 2000},
        {2014, 5, 30, 20, 0, -9, 20140531, 500},
        {2014, 5, 31, 20, 0, -9, 20140601, 500},
        {2014, 6, 15, 12, 30, 0, 20140615, 1230},
        {14, 12, 7, 12, 0, 9, 141207, 300},
        {0, 0, 0, 0, 0, 9, -8769, 1500},
        {2014, 6, 15, 2, 0, 30, 20140614, -400},
        {2014, 6, 15, 20, 0, -30, 20140616, 2600},
        {2014, 6, 15, 8, 0, 30, 20140614, 200},
        // Exactly 24 and exactly 0 after the shift, both ways.
        {2014, 6, 15, 15, 0, -9, 20140616, 0},
        {2014, 6, 15, 14, 59, -9, 20140615, 2359},
        {2014, 6, 15, 9, 0, 9, 20140615, 0},
        {2014, 6, 15, 8, 59, 9, 20140614, 2359},
        {2014, 12, 31, 23, 0, -1, 20150101, 0},
        {2015, 1, 1, 0, 0, 1, 20141231, 2300},
    };
    for (const Shift& s : cases)
        expectShift(s);
}

// A whole date in one column. Texts in none of the forms fall back to the
// leading integer of the whole text for every part, and look wrong.
TEST(WholeDate, FormsAndWhatFallsBack) {
    const struct {
        const char* text;
        DateOrder order;
        int64_t year, month, day;
        bool read;
    } cases[] = {
        {"2024/5/3", kMonthFirst, 2024, 5, 3, true},
        {"2024-05-03", kMonthFirst, 2024, 5, 3, true},
        {"2024.05.3", kDayFirst, 2024, 5, 3, true},
        {" \t2024/12/31 \t", kMonthFirst, 2024, 12, 31, true},
        {"20240503", kMonthFirst, 2024, 5, 3, true},
        {"3.5.2024", kMonthFirst, 2024, 5, 3, true},  // '.' is always D.M.Y
        {"03.05.2024", kDayFirst, 2024, 5, 3, true},
        {"3/5/2024", kDayFirst, 2024, 5, 3, true},
        {"3/5/2024", kMonthFirst, 2024, 3, 5, true},
        {"03-05-2024", kMonthFirst, 2024, 3, 5, true},
        {"5/13/2024", kDayFirst, 2024, 13, 5, true},  // not range-checked
        {"2024/05/03 12:34", kMonthFirst, 2024, 5, 3, true},
        {"2024-05-03T12:34:56", kMonthFirst, 2024, 5, 3, true},
        {"3/5/2024  9:05 PM", kDayFirst, 2024, 5, 3, true},
        // Falling back.
        {"2024/05-03", kMonthFirst, 2024, 2024, 2024, false},
        {"2024/123/4", kMonthFirst, 2024, 2024, 2024, false},
        {"3/5/02024", kDayFirst, 3, 3, 3, false},
        {"2024/5/2024", kDayFirst, 2024, 2024, 2024, false},
        {"240503", kDayFirst, 240503, 240503, 240503, false},
        {"45415", kMonthFirst, 45415, 45415, 45415, false},
        {"2024/05/03x", kMonthFirst, 2024, 2024, 2024, false},
        {"2024/05/03 hello", kMonthFirst, 2024, 2024, 2024, false},
        {"2024/05/03T", kMonthFirst, 2024, 2024, 2024, false},
        {"2024-05-03t12:34", kMonthFirst, 2024, 2024, 2024, false},
        {"May 3, 2024", kMonthFirst, 0, 0, 0, false},
        {"", kMonthFirst, 0, 0, 0, false},
    };
    for (const auto& c : cases) {
        splitCsvLine(c.text, fields);
        QsoTimestamp t;
        const unsigned faults = readQsoTimestamp(t, oneColumnPlan(c.order), fields);
        EXPECT_EQ(t.year, c.year) << c.text;
        EXPECT_EQ(t.month, c.month) << c.text;
        EXPECT_EQ(t.day, c.day) << c.text;
        EXPECT_EQ((faults & kRecordBadDate) != 0, !c.read) << c.text;
    }
}

// Dates with a two-digit year: where its numbers put the year, else where the
// file (here the plan) does, and day and month of a year-last date by the
// order. Read, they are noted; not read, they are named as two-digit years.
TEST(WholeDate, TwoDigitYears) {
    const unsigned kRead = kRecordTwoDigitYearRead;
    const unsigned kNotRead = kRecordBadDate | kRecordTwoDigitYear;
    const struct {
        const char* text;
        YearPlace place;
        DateOrder order;
        int64_t year, month, day;
        unsigned faults;
    } cases[] = {
        {"24/05/03", kYearFirst, kDayFirst, 2024, 5, 3, kRead},
        {" 24-5-3 ", kYearFirst, kDayFirst, 2024, 5, 3, kRead},
        {"29.12.31", kYearFirst, kDayFirst, 2029, 12, 31, kRead},
        {"30/1/2", kYearFirst, kMonthFirst, 1930, 1, 2, kRead},
        {"00/02/29 12:00", kYearFirst, kMonthFirst, 2000, 2, 29, kRead},
        {"24/05/03", kYearLast, kDayFirst, 2003, 5, 24, kRead},
        {"03/05/24", kYearLast, kMonthFirst, 2024, 3, 5, kRead},
        {"3.5.99", kYearLast, kMonthFirst, 1999, 5, 3, kRead},  // '.' is always D.M.Y
        {"24/13/03", kYearFirst, kDayFirst, 2024, 13, 3, kRead | kRecordBadDate},
        // Numbers above 31 put the year where they stand, whatever the file.
        {"99/5/3", kYearLast, kDayFirst, 1999, 5, 3, kRead},
        {"5/3/45", kYearFirst, kMonthFirst, 1945, 5, 3, kRead},
        {"3/5/2024", kYearFirst, kDayFirst, 2024, 5, 3, 0},
        // No form for the year's place.
        {"5/3/24", kYearFirst, kDayFirst, 5, 5, 5, kNotRead},
        {"24/5/3", kYearLast, kDayFirst, 24, 24, 24, kNotRead},
        {"03-05-24", kYearLast, kDayFirst, 3, 3, 3, kNotRead},
        {"024/05/03", kYearFirst, kDayFirst, 24, 24, 24, kRecordBadDate},
    };
    for (const auto& c : cases) {
        splitCsvLine((std::string(c.text) + ",12:00").c_str(), fields);
        QsoTimestamp t;
        const unsigned faults = readQsoTime(t, oneColumnPlan(c.order, false, c.place), fields);
        EXPECT_EQ(t.year, c.year) << c.text;
        EXPECT_EQ(t.month, c.month) << c.text;
        EXPECT_EQ(t.day, c.day) << c.text;
        EXPECT_EQ(faults, c.faults) << c.text;
    }
}

// A whole time in one column, or after the date in the date's column.
// Texts in none of the forms fall back to the leading integer of the column's
// whole text for hour and minute, and look wrong.
TEST(WholeTime, FormsAndWhatFallsBack) {
    const struct {
        const char* line;
        bool afterDate;
        int64_t hour, minute;
        unsigned faults;  // kRecordBadTime, kRecordUtcTime
    } cases[] = {
        {"2024/5/3,12:34", false, 12, 34, 0},
        {"2024/5/3,9:05", false, 9, 5, 0},
        {"2024/5/3, 09:05:59\t", false, 9, 5, 0},
        {"2024/5/3,12.34", false, 12, 34, 0},
        {"2024/5/3,1234", false, 12, 34, 0},
        {"2024/5/3,930", false, 9, 30, 0},
        {"2024/5/3,5", false, 0, 5, 0},
        {"2024/5/3,12:34 AM", false, 0, 34, 0},
        {"2024/5/3,12:00:00 AM", false, 0, 0, 0},
        {"2024/5/3,12:34 PM", false, 12, 34, 0},
        {"2024/5/3,1:05 PM", false, 13, 5, 0},
        {"2024/5/3,1:05pm", false, 13, 5, 0},
        {"2024/5/3,930 PM", false, 21, 30, 0},
        {"2024/5/3,11.05AM", false, 11, 5, 0},
        {"2024/05/03 12:34", true, 12, 34, 0},
        {"2024-05-03T12:34:56", true, 12, 34, 0},
        {"3.5.2024 9:05 PM", true, 21, 5, 0},
        {"2024/5/3,5 PM", false, 17, 0, 0},
        {"2024/5/3,12AM", false, 0, 0, 0},
        {"2024/5/3,123456", false, 12, 34, 0},
        // Zones: local time, or UTC already.
        {"2024/5/3,21:09J", false, 21, 9, 0},
        {"2024/5/3,21:09 JST", false, 21, 9, 0},
        {"2024/5/3,12:34U", false, 12, 34, kRecordUtcTime},
        {"2024/5/3,1234 Z ", false, 12, 34, kRecordUtcTime},
        {"2024/5/3,5PMGMT", false, 17, 0, kRecordUtcTime},
        {"24/05/03 12:34 UTC", true, 12, 34, kRecordUtcTime},
        {"2024-05-03T12:34:56Z", true, 12, 34, kRecordUtcTime},
        // Falling back.
        {"2024/5/3,0:30 AM", false, 0, 0, kRecordBadTime},
        {"2024/5/3,13:00 PM", false, 13, 13, kRecordBadTime},
        {"2024/5/3,12:34  PM", false, 12, 12, kRecordBadTime},
        {"2024/5/3,12:34 Pm", false, 12, 12, kRecordBadTime},
        {"2024/5/3,9:5", false, 9, 9, kRecordBadTime},
        {"2024/5/3,12:34:5", false, 12, 12, kRecordBadTime},
        {"2024/5/3,12.34.56", false, 12, 12, kRecordBadTime},
        {"2024/5/3,12345", false, 12345, 12345, kRecordBadTime},
        {"2024/5/3,", false, 0, 0, kRecordBadTime},
        {"2024/05/03", true, 2024, 2024, kRecordBadTime},
        {"2024/5/3,12:34u", false, 12, 12, kRecordBadTime},
        {"2024/5/3,12:34  U", false, 12, 12, kRecordBadTime},
        {"2024/5/3,12:34 JSTX", false, 12, 12, kRecordBadTime},
        {"2024/5/3,13 PM", false, 13, 13, kRecordBadTime},
        {"2024/5/3,1234567", false, 1234567, 1234567, kRecordBadTime},
        {"24/05/03x 12:34", true, 24, 24, kRecordBadTime},  // no date, so no time after it
    };
    for (const auto& c : cases) {
        splitCsvLine(c.line, fields);
        QsoTimestamp t;
        const unsigned faults = readQsoTimestamp(t, oneColumnPlan(kDayFirst, c.afterDate), fields);
        EXPECT_EQ(t.hour, c.hour) << c.line;
        EXPECT_EQ(t.minute, c.minute) << c.line;
        EXPECT_EQ(faults & (kRecordBadTime | kRecordUtcTime), c.faults) << c.line;
    }
}

// A time marked as UTC is not shifted; one marked as local time is.
TEST(WholeTime, ZoneMarksAndTheTimeDifference) {
    const struct {
        const char* text;
        long long date, time;
    } cases[] = {
        {"2024/05/03 12:34U", 20240503, 1234}, {"2024/05/03 01:00 UTC", 20240503, 100},
        {"2024/05/03 21:09J", 20240503, 1209}, {"2024/05/03 05:00 JST", 20240502, 2000},
        {"2024/05/03 05:00", 20240502, 2000},
    };
    for (const auto& c : cases) {
        splitCsvLine(c.text, fields);
        QsoTimestamp t;
        readQsoTime(t, oneColumnPlan(kDayFirst, true, kYearFirst, 9), fields);
        EXPECT_EQ(t.date, c.date) << c.text;
        EXPECT_EQ(t.time, c.time) << c.text;
    }
}

// The day after a date, the latest a record may hold: across months, leap
// days and the year's end.
TEST(CalendarDayAfter, RollsOverMonthsAndYears) {
    const long long cases[][2] = {
        {20240430, 20240501}, {20240228, 20240229}, {20230228, 20230301},
        {21000228, 21000301}, {20241231, 20250101},
    };
    for (const auto& c : cases)
        EXPECT_EQ(calendarDayAfter(c[0]), c[1]) << c[0];
}

// The year's place and the order of day and month in whole dates: settled by
// the lines within the file's first 64 KiB, else by the system's short date
// format. VANTREL_EXPECT_DATE_ORDER names the system's order where a test run
// sets the locale: "day" (day/month/year), "month" (month/day/year) or "year"
// (year/month/day).
TEST(DateOrder, SettledByTheFileElseByTheSystem) {
    const char* expected = getenv("VANTREL_EXPECT_DATE_ORDER");
    const ShortDateOrder system = shortDateOrder();
    const bool systemYearFirst =
        expected != nullptr ? strcmp(expected, "year") == 0 : system.yearFirst;
    const bool systemDayFirst =
        expected != nullptr ? strcmp(expected, "day") == 0 : !system.monthFirst;
    if (expected != nullptr) {
        EXPECT_EQ(system.yearFirst, systemYearFirst);
        EXPECT_EQ(system.monthFirst, !systemDayFirst);
    }
    // Lines of year-first dates, which say nothing of the order.
    auto filler = [](size_t bytes) {
        std::string lines;
        while (lines.size() < bytes)
            lines += "2024/05/03,12:00,FILL\r\n";
        return lines;
    };
    const std::string systemOrder = systemDayFirst ? "20240503" : "20240305";
    const struct {
        const char* name;
        std::string csv;
        std::vector<std::string> dates;  // QSO_DATE values, in this order
        bool fromSystem;
        int32_t badDates;
    } cases[] = {
        {"a first number above 12",
         "3/5/2024,12:00,A\r\n" + filler(30000) + "13/5/2024,12:00,B\r\n",
         {"20240503", "20240513"},
         false,
         0},
        {"a second number above 12",
         "3-5-2024,12:00,A\r\n5-13-2024,12:00,B",
         {"20240305", "20240513"},
         false,
         0},
        {"neither",
         "Date,Time,Call\r\n3/5/2024,12:00,A\r\n03-05-2024,12:00,B\r\n",
         {systemOrder, systemOrder},
         true,
         0},
        {"a first number of 12",
         "12/5/2024,12:00,A\r\n5/12/2024,12:00,B\r\n",
         {systemDayFirst ? "20240512" : "20241205", systemDayFirst ? "20241205" : "20240512"},
         true,
         0},
        {"a first and a second number above 12: the first wins",
         "5/13/2024,12:00,A\r\n13/5/2024,12:00,B\r\n",
         {"20241305", "20240513"},
         false,
         1},
        {"year-first dates need no order", "2024/05/03,12:00,A\r\n", {"20240503"}, false, 0},
        {"a later record contradicting the order",
         "5/13/2024,12:00,A\r\n" + filler(70000) + "13/5/2024,12:00,B\r\n",
         {"20240513", "20241305"},
         false,
         1},
        // Two-digit years.
        {"the year first, as a date shows",
         "99/12/31,12:00,A\r\n03/05/04,12:00,B\r\n",
         {"19991231", "20030504"},
         false,
         0},
        {"the year last, as a date shows; 24 then makes the day first",
         "3/5/2024,12:00,A\r\n24/05/03,12:00,B\r\n",
         {"20240503", "20030524"},
         false,
         0},
        {"the year first settled after the order",
         "13/5/2024,12:00,A\r\n03/05/04,12:00,B\r\n99/1/1,12:00,C\r\n",
         {"20240513", "20030504", "19990101"},
         false,
         0},
        {"a year-last date in a file with the year first",
         "99/12/31,12:00,A\r\n5/3/24,12:00,B\r\n",
         {"19991231"},
         false,
         1},
        {"with the year first, 24/05/03 says nothing of the order",
         "2024/1/1,12:00,A\r\n24/05/03,12:00,B\r\n3/5/2024,12:00,C\r\n",
         {"20240101", "20240503", systemOrder},
         true,
         0},
        {"the system's place",
         "03/05/04,12:00,A\r\n",
         {systemYearFirst  ? "20030504"
          : systemDayFirst ? "20040503"
                           : "20040305"},
         !systemYearFirst,
         0},
    };
    ScratchDir dir;
    ConversionSettings settings = settingsFor(dir.file("log.csv"));
    settings.timeZone = 0;
    for (char* column : {settings.columnYear, settings.columnMonth, settings.columnDay})
        copyText(column, kDesignatorCapacity, "A");
    copyText(settings.columnHour, "B");
    copyText(settings.columnMinute, "B");
    copyText(settings.columnCallsign, "C");
    const std::string systemNote =
        std::string("N read dates such as 3/5/2024 as ") +
        (systemDayFirst ? "3 May 2024 (day/month/year)" : "5 March 2024 (month/day/year)") +
        ", the order of the system's short date format (no date among the file's first lines "
        "has a day above 12)";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(dir.file("log.csv"), c.csv);
        ConversionReport report;
        convertWith(settings, &report);
        const std::string records = recordsOf(readFile(dir.file("log.adi")));
        size_t at = 0;
        for (const std::string& date : c.dates) {
            const size_t found = records.find("<QSO_DATE:8>" + date + "\r\n", at);
            EXPECT_NE(found, std::string::npos) << date;
            if (found != std::string::npos) at = found + 1;
        }
        EXPECT_EQ(report.dateOrderFromSystem, c.fromSystem);
        const std::vector<std::string> lines = reportLines(report);
        EXPECT_EQ(std::find(lines.begin(), lines.end(), systemNote) != lines.end(), c.fromSystem);
        EXPECT_EQ(tallyOf(report, kRecordBadDate).count, c.badDates);
    }
    // A file whose only note is the system's order: a note is no record that
    // looks wrong, and makes no summary.
    writeFile(dir.file("log.csv"), "3/5/2024,12:00,K1ABC\r\n");
    ConversionReport report;
    convertWith(settings, &report);
    EXPECT_EQ(reportLines(report), std::vector<std::string>{systemNote});
}

#include <gtest/gtest.h>
#include <stdlib.h>
#include <string.h>

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
QsoTimePlan oneColumnPlan(DateOrder order, bool timeAfterDate = false) {
    QsoTimePlan plan = {0, 0, 0, 1, 1, kDateFromColumns, kTimeFromColumns, order, false, 0};
    if (timeAfterDate) plan.hour = plan.minute = 0;
    planQsoTime(plan);
    plan.order = order;
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
        {"24/05/03", kMonthFirst, 24, 24, 24, false},
        {"2024/05-03", kMonthFirst, 2024, 2024, 2024, false},
        {"2024/123/4", kMonthFirst, 2024, 2024, 2024, false},
        {"3/5/24", kDayFirst, 3, 3, 3, false},
        {"3/5/02024", kDayFirst, 3, 3, 3, false},
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

// A whole time in one column, or after the date in the date's column.
// Texts in none of the forms fall back to the leading integer of the column's
// whole text for hour and minute, and look wrong.
TEST(WholeTime, FormsAndWhatFallsBack) {
    const struct {
        const char* line;
        bool afterDate;
        int64_t hour, minute;
        bool read;
    } cases[] = {
        {"2024/5/3,12:34", false, 12, 34, true},
        {"2024/5/3,9:05", false, 9, 5, true},
        {"2024/5/3, 09:05:59\t", false, 9, 5, true},
        {"2024/5/3,12.34", false, 12, 34, true},
        {"2024/5/3,1234", false, 12, 34, true},
        {"2024/5/3,930", false, 9, 30, true},
        {"2024/5/3,5", false, 0, 5, true},
        {"2024/5/3,12:34 AM", false, 0, 34, true},
        {"2024/5/3,12:00:00 AM", false, 0, 0, true},
        {"2024/5/3,12:34 PM", false, 12, 34, true},
        {"2024/5/3,1:05 PM", false, 13, 5, true},
        {"2024/5/3,1:05pm", false, 13, 5, true},
        {"2024/5/3,930 PM", false, 21, 30, true},
        {"2024/5/3,11.05AM", false, 11, 5, true},
        {"2024/05/03 12:34", true, 12, 34, true},
        {"2024-05-03T12:34:56", true, 12, 34, true},
        {"3.5.2024 9:05 PM", true, 21, 5, true},
        // Falling back.
        {"2024/5/3,0:30 AM", false, 0, 0, false},
        {"2024/5/3,13:00 PM", false, 13, 13, false},
        {"2024/5/3,12:34  PM", false, 12, 12, false},
        {"2024/5/3,12:34 Pm", false, 12, 12, false},
        {"2024/5/3,9:5", false, 9, 9, false},
        {"2024/5/3,12:34:5", false, 12, 12, false},
        {"2024/5/3,12.34.56", false, 12, 12, false},
        {"2024/5/3,12345", false, 12345, 12345, false},
        {"2024/5/3,", false, 0, 0, false},
        {"2024/05/03", true, 2024, 2024, false},
        {"2024/05/03 12:34Z", true, 2024, 2024, false},
        {"24/05/03 12:34", true, 24, 24, false},  // no date, so no time after it
    };
    for (const auto& c : cases) {
        splitCsvLine(c.line, fields);
        QsoTimestamp t;
        const unsigned faults = readQsoTimestamp(t, oneColumnPlan(kDayFirst, c.afterDate), fields);
        EXPECT_EQ(t.hour, c.hour) << c.line;
        EXPECT_EQ(t.minute, c.minute) << c.line;
        EXPECT_EQ((faults & kRecordBadTime) != 0, !c.read) << c.line;
    }
}

// The order of day and month in year-last dates with '/' or '-': settled by
// the lines within the file's first 64 KiB, else the system's short date
// format. VANTREL_EXPECT_DATE_ORDER ("day" or "month") names the system's
// order where a test run sets the locale.
TEST(DateOrder, SettledByTheFileElseByTheSystem) {
    const char* expected = getenv("VANTREL_EXPECT_DATE_ORDER");
    const bool systemDayFirst =
        expected != nullptr ? strcmp(expected, "day") == 0 : !shortDateMonthFirst();
    // Lines of year-first dates, which say nothing of the order.
    auto filler = [](size_t bytes) {
        std::string lines;
        while (lines.size() < bytes)
            lines += "2024/05/03,12:00,FILL\r\n";
        return lines;
    };
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
         {systemDayFirst ? "20240503" : "20240305", systemDayFirst ? "20240503" : "20240305"},
         true,
         0},
        {"year-first dates need no order", "2024/05/03,12:00,A\r\n", {"20240503"}, false, 0},
        {"a later record contradicting the order",
         "5/13/2024,12:00,A\r\n" + filler(70000) + "13/5/2024,12:00,B\r\n",
         {"20240513", "20241305"},
         false,
         1},
    };
    ScratchDir dir;
    ConversionSettings settings = settingsFor(dir.file("log.csv"));
    settings.timeZone = 0;
    for (char* column : {settings.columnYear, settings.columnMonth, settings.columnDay})
        copyText(column, kDesignatorCapacity, "A");
    copyText(settings.columnHour, "B");
    copyText(settings.columnMinute, "B");
    copyText(settings.columnCallsign, "C");
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
        if (c.fromSystem) {
            EXPECT_EQ(report.dateOrder == kDayFirst, systemDayFirst);
        }
        EXPECT_EQ(tallyOf(report, kRecordBadDate).count, c.badDates);
    }
}

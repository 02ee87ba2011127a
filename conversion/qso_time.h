// The date and time of a QSO: read from a record's columns (each part from a
// column of its own, or a whole date and a whole time as spreadsheets write
// them), shifted to UTC, and checked against the calendar.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "conversion/csv_splitter.h"
#include "conversion/record_faults.h"

// Date and time of one QSO. The first five are inputs; applyTimeDifference
// adjusts them and fills date and time. Kept in 64 bits so that no value the
// leading-integer conversion can give overflows on its way.
struct QsoTimestamp {
    int64_t year, month, day, hour, minute, date, time;
};

// Subtracts timeZone hours, with at most one day of calendar roll-over.
void applyTimeDifference(QsoTimestamp& timestamp, int32_t timeZone);

// The calendar's day after a date of the form YYYYMMDD.
int64_t calendarDayAfter(int64_t date);

// A column index of CsvFields (0 to 31), or kNoColumn for none.
constexpr int8_t kNoColumn = -1;

// The order of day and month in dates written with the year last and '/' or
// '-' between the numbers (3/5/2024).
enum DateOrder : int8_t { kDayFirst, kMonthFirst };

// How a record's date and time are read, settled once per conversion:
// the date from three columns, or whole from one column that the year, month
// and day all name; the time from two columns, whole from one column that
// hour and minute both name, or from what follows a whole date in its column.
enum DateReading : int8_t { kDateFromColumns, kDateFromOneColumn };
enum TimeReading : int8_t { kTimeFromColumns, kTimeFromOneColumn, kTimeAfterDate };
struct QsoTimePlan {
    int8_t year, month, day, hour, minute;  // columns
    DateReading dateReading;
    TimeReading timeReading;
    DateOrder order;       // of year-last dates with '/' or '-'
    bool orderFromSystem;  // the order is the system's: the file did not settle it
    int32_t timeZone;      // hours subtracted to give UTC
};
// Settles the readings from the plan's columns, and as the order of year-last
// dates takes the system's until the file settles it (settleDateOrder).
void planQsoTime(QsoTimePlan& plan);

// A whole date, as one column holds it; blanks (space, TAB) around it are
// ignored. Year first with four digits: Y/M/D, Y-M-D or Y.M.D (the same
// separator twice, month and day of one or two digits), or YYYYMMDD; year
// last with four digits: D.M.Y, and D/M/Y or M/D/Y (with '/' or '-') as
// `order` says. It may be followed by blanks, or by blanks or a 'T' and a
// time (which starts with a digit). Numbers are not range-checked.
struct WholeDate {
    int32_t year, month, day;
    bool ordered;             // year last with '/' or '-': day and month by the order
    const char *begin, *end;  // the date's own bytes in the text
    const char* timeText;     // where a time after it starts (at the NUL when none)
};
bool readWholeDate(const char* text, DateOrder order, WholeDate& date);

// A whole time, blanks around it ignored: H:MM or HH:MM, optionally followed
// by :SS (dropped); H.MM or HH.MM; or one to four digits, the last two the
// minutes and the rest the hour (930 is 09:30, 5 is 00:05). Each may be
// followed, after one blank or none, by AM, am, PM or pm, with an hour from 1
// to 12 (12 AM is 00, 1 PM is 13). Numbers are not range-checked.
struct WholeTime {
    int32_t hour, minute;
    bool plainHour;           // one or two digits alone, as a column of hours holds them
    const char *begin, *end;  // the time's own bytes in the text
};
bool readWholeTime(const char* text, WholeTime& time);

// Reads a record's date and time as the plan says. A part from a column of
// its own is the column's leading integer. A whole date or time in none of
// the forms is read as separate columns naming that one column would be, every
// part the leading integer of the column's whole text, and counts as
// kRecordBadDate or kRecordBadTime. Returns those and kRecordSystemDateOrder.
unsigned readQsoTimestamp(QsoTimestamp& timestamp, const QsoTimePlan& plan,
                          const CsvFields& fields);

// Reads, shifts by the plan's time difference and checks a record's date and
// time; returns every date and time bit of RecordFault.
unsigned readQsoTime(QsoTimestamp& timestamp, const QsoTimePlan& plan, const CsvFields& fields);

// What a file's first lines tell about its dates: which numbers of its
// year-last dates with '/' or '-' go above 12, and, with the date or time read
// from separate columns, whether the year (hour) column of the first record
// whose text there starts with a digit holds a whole date (a time with ':' or
// '.', or of three or four digits).
enum : size_t { kExampleCapacity = 24 };  // room for the longest date or time read
struct DateSurvey {
    bool firstAbove12, secondAbove12;
    bool yearSeen, hourSeen;
    bool complete;                  // further lines can tell nothing more
    int8_t wholeDates, wholeTimes;  // that column, or kNoColumn
    char dateExample[kExampleCapacity], timeExample[kExampleCapacity];  // its text
};
void beginDateSurvey(DateSurvey& survey);
// Notes what one line's columns tell, until the survey is complete.
void surveyDates(DateSurvey& survey, const QsoTimePlan& plan, const CsvFields& fields);
// Settles the order of year-last dates: D/M/Y when a first number went above
// 12, else M/D/Y when a second did, else the system's order.
void settleDateOrder(QsoTimePlan& plan, const DateSurvey& survey);

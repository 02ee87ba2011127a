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
// '-' between the numbers (3/5/2024, 3/5/24).
enum DateOrder : int8_t { kDayFirst, kMonthFirst };

// The year's place in a date of three numbers: first (24/05/03 as YY/MM/DD)
// or last (03/05/24 as DD/MM/YY or MM/DD/YY). kYearNotPlain: the numbers
// themselves do not show it.
enum YearPlace : int8_t { kYearFirst, kYearLast, kYearNotPlain };

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
    YearPlace yearPlace;   // of dates whose numbers do not show it
    bool orderFromSystem;  // the order is the system's: the file did not settle it
    int32_t timeZone;      // hours subtracted to give UTC
};
// Settles the readings from the plan's columns, and as the order of year-last
// dates and the year's place takes the system's until the file settles them
// (settleDateOrder).
void planQsoTime(QsoTimePlan& plan);

// A date as written, before its numbers are told apart; blanks (space, TAB)
// around it are ignored. Three numbers with the same separator ('/', '-' or
// '.') twice, the middle one of one or two digits, the first and the last of
// one, two or four (not both four); or YYYYMMDD (separator NUL). It may be
// followed by blanks, or by blanks or a 'T' and a time (which starts with a
// digit).
struct DateShape {
    int32_t number[3];
    int8_t digits[3];
    char separator;
    const char *begin, *end;  // the date's own bytes in the text
    const char* timeText;     // where a time after it starts (at the NUL when none)
};
bool readDateShape(const char* text, DateShape& shape);
// Where the numbers put the year: first when the first is above 31 or of four
// digits (2024/5/3, 99/5/3), else last when the last is (3/5/2024, 3/5/99).
YearPlace plainYearPlace(const DateShape& shape);

// A whole date, as one column holds it. The year where its numbers put it,
// else at `place`. Year first: Y/M/D, Y-M-D or Y.M.D, or YYYYMMDD; year last:
// D.M.Y, and D/M/Y or M/D/Y as `order` says (with '-' too for a year of four
// digits). Month and day of one or two digits, the year of four or two (00
// to 29 are 2000 to 2029, 30 to 99 are 1930 to 1999). Numbers are not
// range-checked.
struct WholeDate {
    int32_t year, month, day;
    bool ordered;             // year last with '/' or '-': day and month by the order
    bool twoDigitYear;        // the year was written with two digits
    const char *begin, *end;  // the date's own bytes in the text
    const char* timeText;     // where a time after it starts (at the NUL when none)
};
bool wholeDateOf(const DateShape& shape, YearPlace place, DateOrder order, WholeDate& date);
bool readWholeDate(const char* text, const QsoTimePlan& plan, WholeDate& date);

// A whole time, blanks around it ignored: H:MM or HH:MM, optionally followed
// by :SS (dropped); H.MM or HH.MM; one to four digits, the last two the
// minutes and the rest the hour (930 is 09:30, 5 is 00:05); or six, HHMMSS
// (the seconds dropped). Each may be followed, after one blank or none, by
// AM, am, PM or pm, with an hour from 1 to 12 (12 AM is 00, 1 PM is 13; one
// or two digits are then the hour alone: 5 PM is 17:00); and then, after one
// blank or none, by a zone: J or JST (local time), or U, Z, UTC or GMT (UTC
// already). Numbers are not range-checked.
struct WholeTime {
    int32_t hour, minute;
    bool plainHour;           // one or two digits alone, as a column of hours holds them
    bool utc;                 // marked as UTC
    const char *begin, *end;  // the time's own bytes in the text
};
bool readWholeTime(const char* text, WholeTime& time);

// Reads a record's date and time as the plan says. A part from a column of
// its own is the column's leading integer. A whole date or time in none of
// the forms is read as separate columns naming that one column would be, every
// part the leading integer of the column's whole text, and counts as
// kRecordBadDate or kRecordBadTime. A time marked as UTC comes with the
// plan's time difference added, for the shift to take away again. Returns
// those, kRecordSystemDateOrder, kRecordTwoDigitYearRead and kRecordUtcTime.
unsigned readQsoTimestamp(QsoTimestamp& timestamp, const QsoTimePlan& plan,
                          const CsvFields& fields);

// Reads, shifts by the plan's time difference (unless the time is marked as
// UTC) and checks a record's date and time; returns every date and time bit
// of RecordFault.
unsigned readQsoTime(QsoTimestamp& timestamp, const QsoTimePlan& plan, const CsvFields& fields);

// A date or time as the report shows it: its text, cut to the room.
enum : size_t { kExampleCapacity = 24 };  // room for the longest date or time read
void copyExample(char (&to)[kExampleCapacity], const char* begin, const char* end);

// A record's whole date as its column holds it and as it was read (before
// the time shift); false, the example left as it was, where it was not read.
struct DateExample {
    char text[kExampleCapacity];
    int32_t year, month, day;
};
bool exampleOfDate(const QsoTimePlan& plan, const CsvFields& fields, DateExample& example);

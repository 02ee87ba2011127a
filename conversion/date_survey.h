// What a file's first lines tell about its dates, surveyed once before its
// records are written: the year's place and the order of day and month in
// its whole dates, and a column named for one part that holds whole dates or
// times.
#pragma once

#include <stdint.h>

#include "conversion/csv_splitter.h"
#include "conversion/qso_time.h"

// Of whole dates in one column: which numbers of the year-last dates with
// '/' or '-' go above 12, both of those whose numbers put the year last and
// of those that would be year-last dates where the file puts the year last
// (24/05/03); and whether a date's numbers put its year first (a first number
// above 31) or last (a last number above 31, or of four digits). With the
// date or time read from separate columns, whether the year (hour) column of
// the first record whose text there starts with a digit holds a whole date
// (a time with ':' or '.', or of three or more digits).
struct DateSurvey {
    bool firstAbove12, secondAbove12;
    bool shortFirstAbove12, shortSecondAbove12;  // where the year may be last
    bool yearFirstSeen, yearLastSeen;
    bool yearSeen, hourSeen;
    bool complete;                  // further lines can tell nothing more
    int8_t wholeDates, wholeTimes;  // that column, or kNoColumn
    char dateExample[kExampleCapacity], timeExample[kExampleCapacity];  // its text
};
void beginDateSurvey(DateSurvey& survey);
// Notes what one line's columns tell, until the survey is complete.
void surveyDates(DateSurvey& survey, const QsoTimePlan& plan, const CsvFields& fields);
// Settles the year's place where a date's numbers do not show it: first when
// a date put it first, else last when one put it last, else the system's
// place. Then the order of year-last dates: D/M/Y when a first number went
// above 12, else M/D/Y when a second did, else the system's order.
void settleDateOrder(QsoTimePlan& plan, const DateSurvey& survey);

#include "conversion/date_survey.h"

#include <string.h>

namespace {

inline bool startsWithDigit(const char* text) {
    while (*text == ' ' || *text == '\t')
        ++text;
    return static_cast<unsigned>(*text - '0') < 10u;
}

// What one whole date tells of the year's place and of the order.
void surveyWholeDate(DateSurvey& s, const char* text) {
    DateShape shape;
    WholeDate date;
    if (!readDateShape(text, shape) || shape.separator == '\0') return;
    const YearPlace plain = plainYearPlace(shape);
    s.yearFirstSeen = s.yearFirstSeen || plain == kYearFirst;
    s.yearLastSeen = s.yearLastSeen || plain == kYearLast;
    // Read day first, the day is the first number and the month the second.
    if (plain == kYearFirst || !wholeDateOf(shape, kYearLast, kDayFirst, date) || !date.ordered)
        return;
    bool& first = plain == kYearLast ? s.firstAbove12 : s.shortFirstAbove12;
    bool& second = plain == kYearLast ? s.secondAbove12 : s.shortSecondAbove12;
    first = first || date.day > 12;
    second = second || date.month > 12;
}

// A whole date in a column named for the year alone: one read in either
// place of its year.
bool isWholeDate(const char* text, DateShape& shape) {
    WholeDate date;
    return readDateShape(text, shape) && (wholeDateOf(shape, kYearFirst, kDayFirst, date) ||
                                          wholeDateOf(shape, kYearLast, kDayFirst, date));
}

}  // namespace

void beginDateSurvey(DateSurvey& survey) {
    memset(&survey, 0, sizeof survey);
    survey.wholeDates = survey.wholeTimes = kNoColumn;
}

void surveyDates(DateSurvey& s, const QsoTimePlan& plan, const CsvFields& fields) {
    if (s.complete) return;
    if (plan.dateReading == kDateFromOneColumn) {
        surveyWholeDate(s, fields.column[plan.year]);
    } else if (!s.yearSeen && plan.year != kNoColumn) {
        const char* text = fields.column[plan.year];
        DateShape shape;
        s.yearSeen = startsWithDigit(text);
        if (s.yearSeen && isWholeDate(text, shape)) {
            s.wholeDates = plan.year;
            copyExample(s.dateExample, shape.begin, shape.end);
        }
    }
    if (plan.timeReading == kTimeFromColumns && !s.hourSeen && plan.hour != kNoColumn) {
        const char* text = fields.column[plan.hour];
        WholeTime time;
        s.hourSeen = startsWithDigit(text);
        if (s.hourSeen && readWholeTime(text, time) && !time.plainHour) {
            s.wholeTimes = plan.hour;
            copyExample(s.timeExample, time.begin, time.end);
        }
    }
    // A date with its year first and a first number above 12 of a year-last
    // date settle the year's place and the order whatever follows.
    const bool dateDone = plan.dateReading == kDateFromOneColumn
                              ? s.yearFirstSeen && s.firstAbove12
                              : s.yearSeen || plan.year == kNoColumn;
    const bool timeDone =
        plan.timeReading != kTimeFromColumns || s.hourSeen || plan.hour == kNoColumn;
    s.complete = dateDone && timeDone;
}

void settleDateOrder(QsoTimePlan& plan, const DateSurvey& survey) {
    if (survey.yearFirstSeen) {
        plan.yearPlace = kYearFirst;
    } else if (survey.yearLastSeen) {
        plan.yearPlace = kYearLast;
    }
    const bool yearLast = plan.yearPlace == kYearLast;
    const bool first = survey.firstAbove12 || (yearLast && survey.shortFirstAbove12);
    const bool second = survey.secondAbove12 || (yearLast && survey.shortSecondAbove12);
    if (first || second) {
        plan.order = first ? kDayFirst : kMonthFirst;
        plan.orderFromSystem = false;
    }
}

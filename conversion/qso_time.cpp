#include "conversion/qso_time.h"

#include <string.h>

#include "common/text.h"
#include "platform/platform.h"

namespace {

// The time shift's leap years: every fourth year, 1900 and 2100 included, as
// the records have always been written.
inline bool isShiftLeapYear(int64_t year) {
    return year % 4 == 0;
}

// The calendar's leap years, by which a date is told to exist: every fourth
// year, except the centuries not divisible by 400.
inline bool isCalendarLeapYear(int64_t year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

// Days of a month other than February.
inline int64_t daysOfMonth(int64_t month) {
    if (month == 4 || month == 6 || month == 9 || month == 11) return 30;
    return 31;
}

inline const char* columnText(const CsvFields& fields, int8_t column) {
    return column == kNoColumn ? "" : fields.column[column];
}

inline bool isBlank(unsigned char c) {
    return c == ' ' || c == '\t';
}

inline bool isDigit(unsigned char c) {
    return static_cast<unsigned>(c - '0') < 10u;
}

inline const unsigned char* skipBlanks(const unsigned char* p) {
    while (isBlank(*p))
        ++p;
    return p;
}

// The number of digits from p on (the NUL ends them).
inline int digitRun(const unsigned char* p) {
    int n = 0;
    while (isDigit(p[n]))
        ++n;
    return n;
}

// The value of n digits, n at most 9.
inline int32_t digitsValue(const unsigned char* p, int n) {
    int32_t v = 0;
    for (int i = 0; i < n; ++i)
        v = v * 10 + (p[i] - '0');
    return v;
}

inline bool isDateSeparator(unsigned char c) {
    return c == '/' || c == '-' || c == '.';
}

// Three numbers of one or two digits with the same separator twice, and then
// what may follow a date: a date with its year cut to two digits (24/05/03).
bool isShortYearDate(const unsigned char* p) {
    const int first = digitRun(p);
    if (first < 1 || first > 2 || !isDateSeparator(p[first])) return false;
    const unsigned char separator = p[first];
    p += first + 1;
    const int second = digitRun(p);
    if (second < 1 || second > 2 || p[second] != separator) return false;
    p += second + 1;
    const int third = digitRun(p);
    if (third < 1 || third > 2) return false;
    p += third;
    return *p == '\0' || isBlank(*p) || (*p == 'T' && isDigit(p[1]));
}

// What a bad date's year text shows it to be: a spreadsheet's date number
// (20000 to 99999, a fraction for the time of day allowed, and nothing else),
// or a two-digit year (alone, or in a short date).
unsigned badDateKind(const char* yearText) {
    const unsigned char* p = skipBlanks(reinterpret_cast<const unsigned char*>(yearText));
    const int n = digitRun(p);
    if (n == 5 && p[0] >= '2') {
        const unsigned char* q = p + 5;
        if (*q == '.' && isDigit(q[1])) q += 1 + digitRun(q + 1);
        if (*skipBlanks(q) == '\0') return kRecordDateNumber;
    }
    if (n == 2 && *skipBlanks(p + 2) == '\0') return kRecordTwoDigitYear;
    if (isShortYearDate(p)) return kRecordTwoDigitYear;
    return 0;
}

// The days of a month in the calendar.
inline int64_t calendarDaysOf(int64_t month, int64_t year) {
    return month == 2 ? (isCalendarLeapYear(year) ? 29 : 28) : daysOfMonth(month);
}

// Whether a shifted timestamp is a date and time that exist: a year from 1900
// to 2100, month 1 to 12, a day within its month, 00:00 to 23:59.
unsigned calendarFaults(const QsoTimestamp& t) {
    unsigned faults = 0;
    const int64_t days = calendarDaysOf(t.month, t.year);
    if (t.year < 1900 || t.year > 2100 || t.month < 1 || t.month > 12 || t.day < 1 || t.day > days)
        faults |= kRecordBadDate;
    if (t.hour < 0 || t.hour > 23 || t.minute < 0 || t.minute > 59) faults |= kRecordBadTime;
    return faults;
}

// Copies the bytes from begin to end (ASCII: the forms read hold no other).
void copyExample(char (&to)[kExampleCapacity], const char* begin, const char* end) {
    size_t n = static_cast<size_t>(end - begin);
    if (n >= kExampleCapacity) n = kExampleCapacity - 1;
    memcpy(to, begin, n);
    to[n] = '\0';
}

}  // namespace

int64_t calendarDayAfter(int64_t date) {
    int64_t year = date / 10000, month = date / 100 % 100, day = date % 100 + 1;
    if (day > calendarDaysOf(month, year)) {
        day = 1;
        if (++month > 12) {
            month = 1;
            ++year;
        }
    }
    return (year * 100 + month) * 100 + day;
}

void applyTimeDifference(QsoTimestamp& t, int32_t timeZone) {
    t.hour -= timeZone;
    if (t.hour < 0) {
        t.hour += 24;
        t.day -= 1;
        if (t.day < 1) {
            t.month -= 1;
            if (t.month < 1) {
                t.year -= 1;
                t.month = 12;
            }
            t.day = t.month == 2 ? (isShiftLeapYear(t.year) ? 29 : 28) : daysOfMonth(t.month);
        }
    }
    if (t.hour > 23) {
        t.hour -= 24;
        t.day += 1;
        switch (t.day) {
            case 29:
                if (t.month == 2 && !isShiftLeapYear(t.year)) {
                    t.month = 3;
                    t.day = 1;
                }
                break;
            case 30:
                if (t.month == 2) {
                    t.month = 3;
                    t.day = 1;
                }
                break;
            case 31:
                if (t.month == 4 || t.month == 6 || t.month == 9 || t.month == 11) {
                    t.month += 1;
                    t.day = 1;
                }
                break;
            case 32:
                t.month += 1;
                t.day = 1;
                if (t.month > 12) {
                    t.year += 1;
                    t.month = 1;
                }
                break;
            default:
                break;
        }
    }
    t.date = (t.year * 100 + t.month) * 100 + t.day;
    t.time = t.hour * 100 + t.minute;
}

void planQsoTime(QsoTimePlan& plan) {
    const bool oneDate = plan.year != kNoColumn && plan.month == plan.year && plan.day == plan.year;
    plan.dateReading = oneDate ? kDateFromOneColumn : kDateFromColumns;
    if (plan.hour == kNoColumn || plan.minute != plan.hour) {
        plan.timeReading = kTimeFromColumns;
    } else {
        plan.timeReading = oneDate && plan.hour == plan.year ? kTimeAfterDate : kTimeFromOneColumn;
    }
    plan.order = kMonthFirst;
    plan.orderFromSystem = false;
    if (oneDate) {
        plan.order = shortDateMonthFirst() ? kMonthFirst : kDayFirst;
        plan.orderFromSystem = true;
    }
}

bool readWholeDate(const char* text, DateOrder order, WholeDate& date) {
    const unsigned char* const begin = skipBlanks(reinterpret_cast<const unsigned char*>(text));
    const unsigned char* p = begin;
    const int first = digitRun(p);
    date.ordered = false;
    if (first == 8) {  // YYYYMMDD
        date.year = digitsValue(p, 4);
        date.month = digitsValue(p + 4, 2);
        date.day = digitsValue(p + 6, 2);
        p += 8;
    } else {
        if ((first != 4 && first != 1 && first != 2) || !isDateSeparator(p[first])) return false;
        const unsigned char separator = p[first];
        const unsigned char* q = p + first + 1;
        const int second = digitRun(q);
        if (second < 1 || second > 2 || q[second] != separator) return false;
        const unsigned char* r = q + second + 1;
        const int third = digitRun(r);
        if (first == 4) {  // year first
            if (third < 1 || third > 2) return false;
            date.year = digitsValue(p, 4);
            date.month = digitsValue(q, second);
            date.day = digitsValue(r, third);
        } else {  // year last
            if (third != 4) return false;
            date.year = digitsValue(r, 4);
            date.ordered = separator != '.';
            const bool monthFirst = date.ordered && order == kMonthFirst;
            date.month = digitsValue(monthFirst ? p : q, monthFirst ? first : second);
            date.day = digitsValue(monthFirst ? q : p, monthFirst ? second : first);
        }
        p = r + third;
    }
    date.begin = reinterpret_cast<const char*>(begin);
    date.end = reinterpret_cast<const char*>(p);
    // Then nothing, blanks, or blanks or a 'T' before a time.
    if (*p == 'T') {
        if (!isDigit(p[1])) return false;
        ++p;
    } else if (*p != '\0') {
        if (!isBlank(*p)) return false;
        p = skipBlanks(p);
        if (*p != '\0' && !isDigit(*p)) return false;
    }
    date.timeText = reinterpret_cast<const char*>(p);
    return true;
}

bool readWholeTime(const char* text, WholeTime& time) {
    const unsigned char* const begin = skipBlanks(reinterpret_cast<const unsigned char*>(text));
    const unsigned char* p = begin;
    const int digits = digitRun(p);
    time.plainHour = false;
    if ((digits == 1 || digits == 2) && (p[digits] == ':' || p[digits] == '.')) {
        const unsigned char separator = p[digits];
        const unsigned char* q = p + digits + 1;
        if (digitRun(q) != 2) return false;
        time.hour = digitsValue(p, digits);
        time.minute = digitsValue(q, 2);
        p = q + 2;
        if (separator == ':' && *p == ':' && digitRun(p + 1) == 2) p += 3;  // seconds
    } else if (digits >= 1 && digits <= 4 && p[digits] != ':' && p[digits] != '.') {
        const int32_t value = digitsValue(p, digits);
        time.hour = value / 100;
        time.minute = value % 100;
        time.plainHour = digits <= 2;
        p += digits;
    } else {
        return false;
    }
    const unsigned char* q = isBlank(*p) ? p + 1 : p;
    const bool am = (q[0] == 'A' && q[1] == 'M') || (q[0] == 'a' && q[1] == 'm');
    const bool pm = (q[0] == 'P' && q[1] == 'M') || (q[0] == 'p' && q[1] == 'm');
    if (am || pm) {
        if (time.hour < 1 || time.hour > 12) return false;
        time.hour = time.hour % 12 + (pm ? 12 : 0);
        time.plainHour = false;
        p = q + 2;
    }
    time.begin = reinterpret_cast<const char*>(begin);
    time.end = reinterpret_cast<const char*>(p);
    return *skipBlanks(p) == '\0';
}

unsigned readQsoTimestamp(QsoTimestamp& t, const QsoTimePlan& plan, const CsvFields& fields) {
    unsigned faults = 0;
    const char* timeText = nullptr;  // a time after a whole date in its column
    if (plan.dateReading == kDateFromColumns) {
        t.year = parseLeadingInt(columnText(fields, plan.year));
        t.month = parseLeadingInt(columnText(fields, plan.month));
        t.day = parseLeadingInt(columnText(fields, plan.day));
    } else {
        const char* text = fields.column[plan.year];
        WholeDate date;
        if (readWholeDate(text, plan.order, date)) {
            t.year = date.year;
            t.month = date.month;
            t.day = date.day;
            timeText = date.timeText;
            if (date.ordered && plan.orderFromSystem) faults |= kRecordSystemDateOrder;
        } else {
            t.year = t.month = t.day = parseLeadingInt(text);
            faults |= kRecordBadDate;
        }
    }
    if (plan.timeReading == kTimeFromColumns) {
        t.hour = parseLeadingInt(columnText(fields, plan.hour));
        t.minute = parseLeadingInt(columnText(fields, plan.minute));
    } else {
        const char* text = fields.column[plan.hour];
        if (plan.timeReading == kTimeAfterDate) text = timeText;
        WholeTime time;
        if (text != nullptr && readWholeTime(text, time)) {
            t.hour = time.hour;
            t.minute = time.minute;
        } else {
            t.hour = t.minute = parseLeadingInt(fields.column[plan.hour]);
            faults |= kRecordBadTime;
        }
    }
    t.date = t.time = 0;
    return faults;
}

unsigned readQsoTime(QsoTimestamp& t, const QsoTimePlan& plan, const CsvFields& fields) {
    unsigned faults = readQsoTimestamp(t, plan, fields);
    applyTimeDifference(t, plan.timeZone);
    faults |= calendarFaults(t);
    if (faults & kRecordBadDate) faults |= badDateKind(columnText(fields, plan.year));
    return faults;
}

void beginDateSurvey(DateSurvey& survey) {
    memset(&survey, 0, sizeof survey);
    survey.wholeDates = survey.wholeTimes = kNoColumn;
}

void surveyDates(DateSurvey& s, const QsoTimePlan& plan, const CsvFields& fields) {
    if (s.complete) return;
    if (plan.dateReading == kDateFromOneColumn) {
        WholeDate date;
        if (readWholeDate(fields.column[plan.year], kDayFirst, date) && date.ordered) {
            s.firstAbove12 = s.firstAbove12 || date.day > 12;
            s.secondAbove12 = s.secondAbove12 || date.month > 12;
        }
    } else if (!s.yearSeen && plan.year != kNoColumn) {
        const char* text = fields.column[plan.year];
        WholeDate date;
        s.yearSeen = isDigit(*skipBlanks(reinterpret_cast<const unsigned char*>(text)));
        if (s.yearSeen && readWholeDate(text, kDayFirst, date)) {
            s.wholeDates = plan.year;
            copyExample(s.dateExample, date.begin, date.end);
        }
    }
    if (plan.timeReading == kTimeFromColumns && !s.hourSeen && plan.hour != kNoColumn) {
        const char* text = fields.column[plan.hour];
        WholeTime time;
        s.hourSeen = isDigit(*skipBlanks(reinterpret_cast<const unsigned char*>(text)));
        if (s.hourSeen && readWholeTime(text, time) && !time.plainHour) {
            s.wholeTimes = plan.hour;
            copyExample(s.timeExample, time.begin, time.end);
        }
    }
    // A first number above 12 settles the order whatever follows.
    const bool dateDone = plan.dateReading == kDateFromOneColumn
                              ? s.firstAbove12
                              : s.yearSeen || plan.year == kNoColumn;
    const bool timeDone =
        plan.timeReading != kTimeFromColumns || s.hourSeen || plan.hour == kNoColumn;
    s.complete = dateDone && timeDone;
}

void settleDateOrder(QsoTimePlan& plan, const DateSurvey& survey) {
    if (survey.firstAbove12 || survey.secondAbove12) {
        plan.order = survey.firstAbove12 ? kDayFirst : kMonthFirst;
        plan.orderFromSystem = false;
    }
}

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

// What a bad date's year text shows it to be, unless the date was read (its
// month or day is then what is wrong): a spreadsheet's date number (20000 to
// 99999, a fraction for the time of day allowed, and nothing else), or a
// two-digit year (alone, or in a date of three numbers of one or two digits
// each).
unsigned badDateKind(unsigned faults, const char* yearText) {
    if (faults & kRecordTwoDigitYearRead) return 0;
    const unsigned char* p = skipBlanks(reinterpret_cast<const unsigned char*>(yearText));
    const int n = digitRun(p);
    if (n == 5 && p[0] >= '2') {
        const unsigned char* q = p + 5;
        if (*q == '.' && isDigit(q[1])) q += 1 + digitRun(q + 1);
        if (*skipBlanks(q) == '\0') return kRecordDateNumber;
    }
    if (n == 2 && *skipBlanks(p + 2) == '\0') return kRecordTwoDigitYear;
    DateShape shape;
    if (readDateShape(yearText, shape) && shape.digits[0] <= 2 && shape.digits[2] <= 2)
        return kRecordTwoDigitYear;
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

// A zone after a time, and whether it is UTC; a longer mark before the one
// it starts with.
const struct {
    char mark[4];
    uint8_t length;
    bool utc;
} kZoneMarks[] = {
    {"JST", 3, false}, {"J", 1, false},  {"UTC", 3, true},
    {"U", 1, true},    {"GMT", 3, true}, {"Z", 1, true},
};

// The mark at p, if any: where it ends, and whether it says UTC.
const unsigned char* skipZoneMark(const unsigned char* p, bool& utc) {
    for (const auto& zone : kZoneMarks) {
        if (*p != static_cast<unsigned char>(zone.mark[0])) continue;
        if (strncmp(reinterpret_cast<const char*>(p), zone.mark, zone.length) == 0) {
            utc = zone.utc;
            return p + zone.length;
        }
    }
    return p;
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
    plan.yearPlace = kYearLast;
    plan.orderFromSystem = false;
    if (oneDate) {
        const ShortDateOrder system = shortDateOrder();
        plan.order = system.monthFirst ? kMonthFirst : kDayFirst;
        plan.yearPlace = system.yearFirst ? kYearFirst : kYearLast;
        plan.orderFromSystem = true;
    }
}

bool readDateShape(const char* text, DateShape& shape) {
    const unsigned char* const begin = skipBlanks(reinterpret_cast<const unsigned char*>(text));
    const unsigned char* p = begin;
    int n = digitRun(p);
    if (n == 8) {  // YYYYMMDD
        shape = {{digitsValue(p, 4), digitsValue(p + 4, 2), digitsValue(p + 6, 2)},
                 {4, 2, 2},
                 '\0',
                 nullptr,
                 nullptr,
                 nullptr};
        p += 8;
    } else {
        shape.separator = static_cast<char>(p[n]);
        if (!isDateSeparator(p[n])) return false;
        for (int k = 0; k < 3; ++k) {
            n = digitRun(p);
            if (n < 1 || n > 4 || n == 3 || (k == 1 && n == 4)) return false;
            shape.number[k] = digitsValue(p, n);
            shape.digits[k] = static_cast<int8_t>(n);
            p += n;
            if (k < 2 && static_cast<char>(*p++) != shape.separator) return false;
        }
        if (shape.digits[0] == 4 && shape.digits[2] == 4) return false;
    }
    shape.begin = reinterpret_cast<const char*>(begin);
    shape.end = reinterpret_cast<const char*>(p);
    // Then nothing, blanks, or blanks or a 'T' before a time.
    if (*p == 'T') {
        if (!isDigit(p[1])) return false;
        ++p;
    } else if (*p != '\0') {
        if (!isBlank(*p)) return false;
        p = skipBlanks(p);
        if (*p != '\0' && !isDigit(*p)) return false;
    }
    shape.timeText = reinterpret_cast<const char*>(p);
    return true;
}

YearPlace plainYearPlace(const DateShape& shape) {
    if (shape.digits[0] == 4 || shape.number[0] > 31) return kYearFirst;
    if (shape.digits[2] == 4 || shape.number[2] > 31) return kYearLast;
    return kYearNotPlain;
}

bool wholeDateOf(const DateShape& shape, YearPlace place, DateOrder order, WholeDate& date) {
    const YearPlace plain = plainYearPlace(shape);
    if (plain != kYearNotPlain) place = plain;
    const int year = place == kYearFirst ? 0 : 2;
    // Two or four digits for the year, at most two for the day at the other end.
    if ((shape.digits[year] != 2 && shape.digits[year] != 4) || shape.digits[2 - year] > 2)
        return false;
    date.twoDigitYear = shape.digits[year] == 2;
    date.year = shape.number[year];
    if (date.twoDigitYear) date.year += date.year < 30 ? 2000 : 1900;
    if (place == kYearFirst) {
        date.month = shape.number[1];
        date.day = shape.number[2];
        date.ordered = false;
    } else {
        if (date.twoDigitYear && shape.separator == '-') return false;
        date.ordered = shape.separator != '.';
        const bool monthFirst = date.ordered && order == kMonthFirst;
        date.month = shape.number[monthFirst ? 0 : 1];
        date.day = shape.number[monthFirst ? 1 : 0];
    }
    date.begin = shape.begin;
    date.end = shape.end;
    date.timeText = shape.timeText;
    return true;
}

bool readWholeDate(const char* text, const QsoTimePlan& plan, WholeDate& date) {
    DateShape shape;
    return readDateShape(text, shape) && wholeDateOf(shape, plan.yearPlace, plan.order, date);
}

bool readWholeTime(const char* text, WholeTime& time) {
    const unsigned char* const begin = skipBlanks(reinterpret_cast<const unsigned char*>(text));
    const unsigned char* p = begin;
    const int digits = digitRun(p);
    time.plainHour = false;
    time.utc = false;
    if ((digits == 1 || digits == 2) && (p[digits] == ':' || p[digits] == '.')) {
        const unsigned char separator = p[digits];
        const unsigned char* q = p + digits + 1;
        if (digitRun(q) != 2) return false;
        time.hour = digitsValue(p, digits);
        time.minute = digitsValue(q, 2);
        p = q + 2;
        if (separator == ':' && *p == ':' && digitRun(p + 1) == 2) p += 3;  // seconds
    } else if (((digits >= 1 && digits <= 4) || digits == 6) && p[digits] != ':' &&
               p[digits] != '.') {
        const int32_t value = digitsValue(p, digits < 6 ? digits : 4);  // HHMMSS: no seconds
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
        if (time.plainHour) {  // the hour alone: 5 PM
            time.hour = time.minute;
            time.minute = 0;
        }
        if (time.hour < 1 || time.hour > 12) return false;
        time.hour = time.hour % 12 + (pm ? 12 : 0);
        time.plainHour = false;
        p = q + 2;
    }
    q = isBlank(*p) ? p + 1 : p;
    const unsigned char* const zoneEnd = skipZoneMark(q, time.utc);
    if (zoneEnd != q) p = zoneEnd;
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
        if (readWholeDate(text, plan, date)) {
            t.year = date.year;
            t.month = date.month;
            t.day = date.day;
            timeText = date.timeText;
            if (date.ordered && plan.orderFromSystem) faults |= kRecordSystemDateOrder;
            if (date.twoDigitYear) faults |= kRecordTwoDigitYearRead;
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
            // Marked as UTC: the time difference added, for the shift to
            // take away again.
            if (time.utc) {
                faults |= kRecordUtcTime;
                t.hour += plan.timeZone;
            }
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
    if (faults & kRecordBadDate) faults |= badDateKind(faults, columnText(fields, plan.year));
    return faults;
}

void copyExample(char (&to)[kExampleCapacity], const char* begin, const char* end) {
    size_t n = static_cast<size_t>(end - begin);
    if (n >= kExampleCapacity) n = kExampleCapacity - 1;
    memcpy(to, begin, n);
    to[n] = '\0';
}

bool exampleOfDate(const QsoTimePlan& plan, const CsvFields& fields, DateExample& example) {
    WholeDate date;
    if (plan.dateReading != kDateFromOneColumn ||
        !readWholeDate(fields.column[plan.year], plan, date))
        return false;
    copyExample(example.text, date.begin, date.end);
    example.year = date.year;
    example.month = date.month;
    example.day = date.day;
    return true;
}

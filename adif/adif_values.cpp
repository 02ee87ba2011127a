#include "adif/adif_values.h"

#include <string.h>

namespace {

// Each rule: the data type (and enumeration) of ADIF's field list it serves,
// what the report says it takes, and an enumeration's values ('|' between).
const struct {
    AdifValueRule rule;
    const char* type;
    AdifValueRuleText text;
    const char* values;
} kRules[] = {
    {kAnyValue, "", {"", ""}, nullptr},
    {kNumberValue, "Number", {"Number", "digits, a '-' and one '.' at most: 100, 0.5"}, nullptr},
    {kIntegerValue, "Integer", {"Integer", "digits and a '-' at most: 12, -3"}, nullptr},
    {kPositiveIntegerValue, "PositiveInteger", {"PositiveInteger", "digits, above 0: 25"}, nullptr},
    {kDateValue, "Date", {"Date", "YYYYMMDD, from 1930: 20240503"}, nullptr},
    {kTimeValue, "Time", {"Time", "HHMM or HHMMSS: 1234, 123456"}, nullptr},
    {kGridSquareValue,
     "GridSquare",
     {"GridSquare", "2, 4, 6 or 8 characters: PM, PM95, PM95TS, PM95TS12"},
     nullptr},
    {kBooleanValue, "Boolean", {"Boolean", "Y or N"}, "Y|N"},
    {kQslSentValue, "Enumeration:QSL_Sent", {"QSL_Sent", "Y, N, R, Q or I"}, "Y|N|R|Q|I"},
    {kQslRcvdValue, "Enumeration:QSL_Rcvd", {"QSL_Rcvd", "Y, N, R, I or V"}, "Y|N|R|I|V"},
    {kQslViaValue, "Enumeration:QSL_Via", {"QSL_Via", "B, D, E or M"}, "B|D|E|M"},
    {kPropagationModeValue,
     "Enumeration:Propagation_Mode",
     {"Propagation_Mode", "ADIF's list: ES, F2, SAT, TR, ..."},
     "AS|AUE|AUR|BS|ECH|EME|ES|F2|FAI|GWAVE|INTERNET|ION|IRL|LOS|MS|RPT|RS|SAT|TEP|TR"},
};
static_assert(sizeof kRules / sizeof kRules[0] == kAdifValueRuleCount, "a row for each rule");

inline bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

inline char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

inline int twoDigits(const char* p) {
    return (p[0] - '0') * 10 + (p[1] - '0');
}

bool allDigits(const char* p, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        if (!isDigit(p[i])) return false;
    }
    return true;
}

bool allZeros(const char* p, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        if (p[i] != '0') return false;
    }
    return true;
}

bool isNumber(const char* p, size_t length, bool point) {
    if (length > 0 && p[0] == '-') {
        ++p;
        --length;
    }
    size_t digits = 0, points = 0;
    for (size_t i = 0; i < length; ++i) {
        if (isDigit(p[i])) {
            ++digits;
        } else if (p[i] == '.' && point && points == 0) {
            ++points;
        } else {
            return false;
        }
    }
    return digits > 0;
}

bool isDate(const char* p, size_t length) {
    if (length != 8 || !allDigits(p, 8)) return false;
    const int year = twoDigits(p) * 100 + twoDigits(p + 2);
    const int month = twoDigits(p + 4), day = twoDigits(p + 6);
    static const int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1930 || month < 1 || month > 12 || day < 1 || day > kDays[month - 1]) return false;
    const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    return month != 2 || day < 29 || leap;
}

bool isTime(const char* p, size_t length) {
    if ((length != 4 && length != 6) || !allDigits(p, length)) return false;
    return twoDigits(p) < 24 && twoDigits(p + 2) < 60 && (length == 4 || twoDigits(p + 4) < 60);
}

// AA00AA00: letters A to R, digits, letters A to X, digits; either case.
bool isGridSquare(const char* p, size_t length) {
    if (length != 2 && length != 4 && length != 6 && length != 8) return false;
    for (size_t i = 0; i < length; ++i) {
        const char c = upper(p[i]);
        const bool ok = (i / 2) % 2 == 1 ? isDigit(c) : c >= 'A' && c <= (i < 2 ? 'R' : 'X');
        if (!ok) return false;
    }
    return true;
}

bool isOneOf(const char* values, const char* p, size_t length) {
    for (const char* v = values; *v != '\0';) {
        const char* end = strchr(v, '|');
        const size_t n = end == nullptr ? strlen(v) : static_cast<size_t>(end - v);
        size_t i = 0;
        while (i < n && i < length && upper(p[i]) == v[i])
            ++i;
        if (i == n && n == length) return true;
        if (end == nullptr) break;
        v = end + 1;
    }
    return false;
}

}  // namespace

AdifValueRule adifValueRule(const AdifField& field) {
    for (const auto& row : kRules) {
        if (row.type[0] != '\0' && strcmp(row.type, field.type) == 0) return row.rule;
    }
    return kAnyValue;
}

bool adifValueAccepted(AdifValueRule rule, const char* value, size_t length) {
    switch (rule) {
        case kNumberValue:
            return isNumber(value, length, true);
        case kIntegerValue:
            return isNumber(value, length, false);
        case kPositiveIntegerValue:
            return isNumber(value, length, false) && value[0] != '-' && !allZeros(value, length);
        case kDateValue:
            return isDate(value, length);
        case kTimeValue:
            return isTime(value, length);
        case kGridSquareValue:
            return isGridSquare(value, length);
        case kAnyValue:
        case kAdifValueRuleCount:
            return true;
        default:
            return isOneOf(kRules[rule].values, value, length);
    }
}

const AdifValueRuleText& adifValueRuleText(AdifValueRule rule) {
    return kRules[rule < kAdifValueRuleCount ? rule : kAnyValue].text;
}

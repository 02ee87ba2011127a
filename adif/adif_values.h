// What ADIF's data types take as a value: the types whose values a program
// reading ADIF checks (numbers, dates, times, grid squares, booleans and some
// enumerations). Other types take any text here.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "adif/adif_fields.h"

enum AdifValueRule : uint8_t {
    kAnyValue,
    kNumberValue,           // Number: digits, a '-' before them, one '.' among them
    kIntegerValue,          // Integer: digits, a '-' before them
    kPositiveIntegerValue,  // PositiveInteger: digits, above 0
    kDateValue,             // Date: YYYYMMDD, a calendar date from 1930
    kTimeValue,             // Time: HHMM or HHMMSS
    kGridSquareValue,       // GridSquare: 2, 4, 6 or 8 characters (AA00aa00)
    kBooleanValue,          // Boolean: Y or N
    kQslSentValue,          // Enumeration:QSL_Sent
    kQslRcvdValue,          // Enumeration:QSL_Rcvd
    kQslViaValue,           // Enumeration:QSL_Via
    kPropagationModeValue,  // Enumeration:Propagation_Mode
    kAdifValueRuleCount,
};

// The rule of a field's data type.
AdifValueRule adifValueRule(const AdifField& field);

// Whether the rule takes the value (enumerations in any letter case).
bool adifValueAccepted(AdifValueRule rule, const char* value, size_t length);

// The type's name and what it takes, as a reader is told: "Number" and
// "digits, a '-' and one '.' at most: 100, 0.5".
struct AdifValueRuleText {
    const char* type;
    const char* takes;
};
const AdifValueRuleText& adifValueRuleText(AdifValueRule rule);

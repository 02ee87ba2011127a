// The ADIF fields that a logbook column may feed beyond the form's items:
// every field of ADIF's list but the header's, those ADIF marks as read only,
// and those the record writes from the form's items. Each has a settings key
// COLUMN_<FIELD> and a designator in the settings record, in byte order of
// the field names, the order the record writes them in.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "adif/adif_fields.h"

// The fields the record writes from the form's items (QSLMSG with COMMENT).
inline constexpr const char* kItemFields[] = {
    "CALL",     "QSO_DATE", "TIME_ON",       "BAND",    "FREQ",   "MODE",
    "RST_SENT", "RST_RCVD", "MY_GRIDSQUARE", "COMMENT", "QSLMSG",
};

constexpr bool takesColumnOfItsOwn(const AdifField& field) {
    if (field.marks != 0) return false;
    for (const char* item : kItemFields) {
        if (compareFieldNames(item, field.name) == 0) return false;
    }
    return true;
}

// Indexes into kAdifFields of the fields that take a column, in byte order.
struct ColumnFieldTable {
    uint8_t field[kAdifFieldCount];
    size_t count;
};
constexpr ColumnFieldTable makeColumnFieldTable() {
    ColumnFieldTable table = {};
    for (size_t i = 0; i < kAdifFieldCount; ++i) {
        if (!takesColumnOfItsOwn(kAdifFields[i])) continue;
        size_t at = table.count++;
        while (at > 0 &&
               compareFieldNames(kAdifFields[table.field[at - 1]].name, kAdifFields[i].name) > 0) {
            table.field[at] = table.field[at - 1];
            --at;
        }
        table.field[at] = static_cast<uint8_t>(i);
    }
    return table;
}
inline constexpr ColumnFieldTable kColumnFieldTable = makeColumnFieldTable();
inline constexpr size_t kColumnFieldCount = kColumnFieldTable.count;
static_assert(kAdifFieldCount <= 256, "field indexes fit a byte");

// The k-th field that takes a column (k below kColumnFieldCount).
inline const AdifField& columnField(size_t k) {
    return adifField(kColumnFieldTable.field[k]);
}

// The place in that order of the field of that exact name, found at compile
// time; kColumnFieldCount for a name that is no such field.
constexpr size_t columnFieldNamed(const char* name) {
    for (size_t k = 0; k < kColumnFieldCount; ++k) {
        if (compareFieldNames(kAdifFields[kColumnFieldTable.field[k]].name, name) == 0) return k;
    }
    return kColumnFieldCount;
}

// The place in that order of the field named so (ASCII case ignored), or -1
// for a name that is no such field.
int columnFieldIndex(const char* name, size_t length);

// "COLUMN_" and the field's name.
enum : size_t { kColumnKeyCapacity = 64 };
void columnFieldKey(size_t k, char (&key)[kColumnKeyCapacity]);

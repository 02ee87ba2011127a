// One record as data: every item it writes with its ADIF name, its value and
// the CSV column(s) it came from, and what looks wrong with it. The ADIF
// text, the checks and the preview are all made from this one list.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "conversion/csv_splitter.h"
#include "conversion/qso_time.h"
#include "conversion/record_plan.h"

// Which item an item is, the same in every record, in the order records
// write them: the form's items, then the fields of column_fields.h.
enum : uint16_t {
    kItemCall,
    kItemDate,
    kItemTime,
    kItemBand,
    kItemFreq,
    kItemMode,
    kItemRstSent,
    kItemRstRcvd,
    kItemGl,
    kItemComment,
    kItemQslMessage,
    kFirstFieldItem,  // then field k of column_fields.h is kFirstFieldItem + k
    kItemIdCount = kFirstFieldItem + kColumnFieldCount,
};

enum : uint8_t {
    kItemRefused = 1,   // the value is none its ADIF data type takes
    kItemNotAscii = 2,  // the value holds bytes outside printable ASCII
    kItemPadded = 4,    // 16 bytes may be read from the value, whatever its length
};

struct RecordItem {
    // The ADIF name, nameLength bytes (not NUL-ended): it stands in its
    // head, after the '<' at name[-1] and before the ':'.
    const char* name;
    const char* value;
    uint16_t length;  // of the value, in bytes
    uint16_t id;
    uint8_t nameLength;
    uint8_t columnCount;  // 0 to 3: the columns the value was read from
    int8_t columns[3];
    uint8_t flags;
};

enum : size_t { kMaxRecordItems = kFirstFieldItem + kColumnFieldCount };

// Bytes beyond a record's text that writing it may overwrite (fixed-size
// moves), as room the output keeps free.
enum : size_t { kRecordSlack = kItemHeadBytes };

// The most bytes one record's ADIF text takes: each item "<", a name of at
// most 32 bytes, ":", up to 5 digits, ">", the value (a column's at most 255
// bytes; a frequency made from kHz at most 400, a date or time at most 20)
// and CR LF; then <EOR> CR LF.
enum : size_t {
    kMaxRecordBytes = 3 * (9 + 32 + 400) + (kMaxRecordItems - 3) * (9 + 32 + 255) + 7,
};

struct QsoRecord {
    RecordItem items[kMaxRecordItems];
    size_t count;
    size_t mostBytes;  // its ADIF text takes at most (the plan's recordBytes)
    unsigned faults;   // RecordFault bits
    bool notAscii;     // some item has kItemNotAscii
    // Values the record makes rather than copies from a column.
    char date[24], time[24], freq[400];
};

// Makes the record of the current CSV line's columns as the plan says, and
// checks it. Its items refer to the plan's names and the columns' text: the
// record is good while both stay as they are.
void makeRecord(QsoRecord& record, const RecordPlan& plan, const CsvFields& fields);

// The ADIF name of an item id.
const char* recordItemName(uint16_t id);

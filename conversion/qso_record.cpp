#include "conversion/qso_record.h"

#include <stdio.h>
#include <string.h>

#include "common/byte_scan.h"
#include "common/text.h"
#include "conversion/qsl_checks.h"
#include "conversion/record_faults.h"

namespace {

// The names of the form's items, by id, and their heads.
constexpr const char* kItemNames[kFirstFieldItem] = {
    "CALL",     "QSO_DATE", "TIME_ON",       "BAND",    "FREQ",   "MODE",
    "RST_SENT", "RST_RCVD", "MY_GRIDSQUARE", "COMMENT", "QSLMSG",
};
struct FormItemHeads {
    ItemHead head[kFirstFieldItem];
    uint8_t nameLength[kFirstFieldItem];
};
constexpr FormItemHeads makeFormItemHeads() {
    FormItemHeads heads = {};
    for (size_t id = 0; id < kFirstFieldItem; ++id) {
        heads.head[id] = itemHeadOf(kItemNames[id]);
        while (kItemNames[id][heads.nameLength[id]] != '\0')
            ++heads.nameLength[id];
    }
    return heads;
}
constexpr FormItemHeads kFormItemHeads = makeFormItemHeads();

// Every field's name fits a head (and the most a record takes).
constexpr bool namesFit() {
    for (size_t k = 0; k < kColumnFieldCount; ++k) {
        size_t n = 0;
        while (kAdifFields[kColumnFieldTable.field[k]].name[n] != '\0')
            ++n;
        if (n + 3 > kItemHeadBytes) return false;
    }
    return true;
}
static_assert(namesFit(), "every field's name fits its item's head");

// Where an item's value is empty: 16 bytes to read.
const char kEmptyValue[16] = "";

// Flags the bytes of a word outside printable ASCII (0x20 to 0x7E); only
// whether any is flagged counts.
inline uint64_t nonPrintable(uint64_t word) {
    return (word | bytesBelow(word, 0x20) | bytesEqualTo(word, 0x7F)) & 0x8080808080808080ULL;
}

// True when a byte outside printable ASCII is among the value's bytes, eight
// at a time. A padded value of up to 16 bytes is tested in two words whose
// bytes beyond its end count as blanks.
inline bool holdsNonAscii(const char* p, size_t length, bool padded) {
    const uint64_t blanks = 0x2020202020202020ULL;
    if (padded && length <= 16) {
        uint64_t low, high;
        memcpy(&low, p, sizeof low);
        memcpy(&high, p + 8, sizeof high);
        if (length < 8) {
            const uint64_t kept = (uint64_t{1} << (8 * length)) - 1;
            low = (low & kept) | (blanks & ~kept);
            high = blanks;
        } else if (length < 16) {
            const uint64_t kept = (uint64_t{1} << (8 * (length - 8))) - 1;
            high = (high & kept) | (blanks & ~kept);
        }
        return (nonPrintable(low) | nonPrintable(high)) != 0;
    }
    size_t i = 0;
    for (; i + 8 <= length; i += 8) {
        uint64_t word;
        memcpy(&word, p + i, sizeof word);
        if (nonPrintable(word) != 0) return true;
    }
    for (; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(p[i]);
        if (c < 0x20 || c > 0x7E) return true;
    }
    return false;
}

inline RecordItem& add(QsoRecord& r, uint16_t id, const ItemHead& head, uint8_t nameLength,
                       const char* value, size_t length) {
    RecordItem& item = r.items[r.count++];
    item.name = head.text + 1;
    item.value = value;
    item.length = static_cast<uint16_t>(length);
    item.id = id;
    item.nameLength = nameLength;
    item.columnCount = 0;
    item.flags = 0;
    return item;
}

inline RecordItem& addItem(QsoRecord& r, uint16_t id, const char* value, size_t length) {
    return add(r, id, kFormItemHeads.head[id], kFormItemHeads.nameLength[id], value, length);
}

// An item from a column (empty for none), with the column it came from and
// whether its text is plain ASCII.
inline RecordItem& addColumn(QsoRecord& r, uint16_t id, const CsvFields& fields, int8_t column) {
    if (column == kNoColumn) {
        RecordItem& none = addItem(r, id, kEmptyValue, 0);
        none.flags = kItemPadded;
        return none;
    }
    RecordItem& item = addItem(r, id, fields.column[column], fields.length[column]);
    item.columns[0] = column;
    item.columnCount = 1;
    item.flags = kItemPadded;
    if (fields.mayHoldNonAscii && holdsNonAscii(item.value, item.length, true)) {
        item.flags |= kItemNotAscii;
        r.notAscii = true;
    }
    return item;
}

// A date or time made from its columns.
inline void setColumns(RecordItem& item, const int8_t (&columns)[3], uint8_t count) {
    memcpy(item.columns, columns, sizeof columns);
    item.columnCount = count;
    item.flags = kItemPadded;
}

// The FREQ value in MHz of a column in kHz: its number divided by 1000 with
// three decimals. In a file whose decimal mark is ',', a ',' reads as '.'.
size_t megahertzFromKilohertz(const char* text, size_t length, bool decimalComma,
                              char (&mhz)[400]) {
    char number[kCsvFieldCapacity];
    memcpy(number, text, length + 1);
    if (decimalComma) {
        for (size_t i = 0; i < length; ++i)
            if (number[i] == ',') number[i] = '.';
    }
    const int n = snprintf(mhz, sizeof mhz, "%.3f", parseLeadingNumber(number) / 1000.0);
    if (n < 0) return 0;
    return static_cast<size_t>(n) < sizeof mhz ? static_cast<size_t>(n) : sizeof mhz - 1;
}

// The frequency item, and what its check holds against the band.
void addFrequency(QsoRecord& r, const RecordPlan& plan, const CsvFields& fields, QslItems& qsl) {
    const char* text = fields.column[plan.freq];
    const size_t length = fields.length[plan.freq];
    RecordItem* item;
    if (plan.freqUnit == kFreqMegahertz) {
        // The text as it is; in a file whose decimal mark is ',', with '.'.
        if (plan.decimalComma && memchr(text, ',', length) != nullptr) {
            memcpy(r.freq, text, length);
            for (size_t k = 0; k < length; ++k)
                if (r.freq[k] == ',') r.freq[k] = '.';
            text = r.freq;
        }
        item = &addItem(r, kItemFreq, text, length);
        qsl.freq = text;
        qsl.freqLength = length;
    } else {
        const size_t written = megahertzFromKilohertz(text, length, plan.decimalComma, r.freq);
        item = &addItem(r, kItemFreq, r.freq, written);
        qsl.freq = r.freq;
        qsl.freqLength = length == 0 ? 0 : written;  // no frequency given: none to check
    }
    item->columns[0] = plan.freq;
    item->columnCount = 1;
    item->flags = kItemPadded;
}

inline bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// The fields from columns of their own, their text without the blanks
// around it, each checked against its ADIF data type; an empty one is left
// out.
unsigned addFields(QsoRecord& r, const RecordPlan& plan, const CsvFields& fields) {
    unsigned faults = 0;
    for (size_t i = 0; i < plan.fieldCount; ++i) {
        const PlannedField& planned = plan.fields[i];
        const char* text = fields.column[planned.column];
        size_t length = fields.length[planned.column];
        while (length > 0 && isBlank(*text)) {
            ++text;
            --length;
        }
        while (length > 0 && isBlank(text[length - 1]))
            --length;
        if (length == 0) continue;
        RecordItem& item = add(r, static_cast<uint16_t>(kFirstFieldItem + planned.field),
                               planned.head, planned.nameLength, text, length);
        item.columns[0] = planned.column;
        item.columnCount = 1;
        if (text + 16 <= fields.column[planned.column] + kCsvFieldCapacity)
            item.flags = kItemPadded;
        if (fields.mayHoldNonAscii &&
            holdsNonAscii(text, length, (item.flags & kItemPadded) != 0)) {
            item.flags |= kItemNotAscii;
            r.notAscii = true;
        }
        if (!adifValueAccepted(planned.rule, text, length)) {
            item.flags |= kItemRefused;
            faults |= kRecordFieldRefused;
        }
    }
    return faults;
}

}  // namespace

const char* recordItemName(uint16_t id) {
    if (id < kFirstFieldItem) return kItemNames[id];
    return id < kItemIdCount ? columnField(id - kFirstFieldItem).name : "";
}

void makeRecord(QsoRecord& r, const RecordPlan& plan, const CsvFields& fields) {
    r.count = 0;
    r.mostBytes = plan.recordBytes;
    r.notAscii = false;

    QsoTimestamp t;
    unsigned faults = readQsoTime(t, plan.time, fields);
    if (plan.callsign == kNoColumn || fields.length[plan.callsign] == 0)
        faults |= kRecordNoCallsign;
    const RecordItem& call = addColumn(r, kItemCall, fields, plan.callsign);

    // QSO_DATE is printed blank-padded to 8 and TIME_ON zero-padded to 4; the
    // declared length is that of the printed value, 8 and 4 for normal dates.
    setColumns(addItem(r, kItemDate, r.date, formatInt(r.date, t.date, 8, ' ')), plan.dateColumns,
               plan.dateColumnCount);
    setColumns(addItem(r, kItemTime, r.time, formatInt(r.time, t.time, 4, '0')), plan.timeColumns,
               plan.timeColumnCount);

    const RecordItem& band = addColumn(r, kItemBand, fields, plan.band);
    QslItems qsl = {call.value, call.length, (faults & kRecordBadDate) == 0 ? t.date : 0,
                    band.value, band.length, nullptr,
                    0};
    if (plan.freq != kNoColumn) addFrequency(r, plan, fields, qsl);
    faults |= qslFaults(qsl, plan.latestDate);

    addColumn(r, kItemMode, fields, plan.mode);
    addColumn(r, kItemRstSent, fields, plan.rstSent);
    if (plan.rstRcvd != kNoColumn) addColumn(r, kItemRstRcvd, fields, plan.rstRcvd);
    if (plan.gl != kNoColumn) addColumn(r, kItemGl, fields, plan.gl);
    if (plan.comment != kNoColumn && fields.length[plan.comment] != 0) {
        addColumn(r, kItemComment, fields, plan.comment);
        addColumn(r, kItemQslMessage, fields, plan.comment);
    }
    faults |= addFields(r, plan, fields);
    r.faults = faults;
}

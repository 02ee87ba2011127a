#include "conversion/qso_record.h"

#include <stdio.h>
#include <string.h>

#include "common/byte_scan.h"
#include "common/text.h"
#include "adif/adif_bands.h"
#include "adif/adif_modes.h"
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
    item =
        RecordItem{head.text + 1, value, static_cast<uint16_t>(length), id, nameLength, 0, {}, 0};
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

// A record's frequency: the FREQ value in MHz, when one is written; or the
// band a figure in the frequency column names (7, 430: a band, not a
// frequency).
struct Frequency {
    const char* text;
    size_t length;
    bool written;
    const AdifBand* figure;
};

Frequency frequencyOf(QsoRecord& r, const RecordPlan& plan, const CsvFields& fields) {
    Frequency f = {nullptr, 0, false, nullptr};
    if (plan.freq == kNoColumn) return f;
    const char* text = fields.column[plan.freq];
    const size_t length = fields.length[plan.freq];
    if (plan.freqUnit == kFreqMegahertz) {
        if (plan.bandFromFreq && (f.figure = adifBandOfFigure(text, length)) != nullptr) return f;
        // The text as it is; in a file whose decimal mark is ',', with '.'.
        if (plan.decimalComma && memchr(text, ',', length) != nullptr) {
            memcpy(r.freq, text, length);
            for (size_t k = 0; k < length; ++k)
                if (r.freq[k] == ',') r.freq[k] = '.';
            text = r.freq;
        }
        f = {text, length, true, nullptr};
    } else if (length != 0) {  // an empty column is no frequency, not 0 kHz
        f = {r.freq, megahertzFromKilohertz(text, length, plan.decimalComma, r.freq), true,
             nullptr};
    }
    return f;
}

// The band written in place of the band column's text, and the column it
// comes from: with bandFromFreq, where the column holds no ADIF band, the
// band a figure in it names, else the one a figure in the frequency column
// names, else the band that holds the frequency; null where none does.
const AdifBand* bandTaken(const RecordPlan& plan, const CsvFields& fields, const Frequency& f,
                          const AdifBand* named, int8_t& from) {
    if (!plan.bandFromFreq || named != nullptr) return nullptr;
    const char* text = plan.band == kNoColumn ? "" : fields.column[plan.band];
    const size_t length = plan.band == kNoColumn ? 0 : fields.length[plan.band];
    const AdifBand* band = adifBandOfFigure(text, length);
    from = plan.band;
    if (band == nullptr) {
        from = plan.freq;
        band = f.figure;
        if (band == nullptr && f.written && f.length != 0)
            band = adifBandHolding(frequencyMhz(f.text, f.length));
    }
    return band;
}

inline bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// The text of a column without the blanks around it.
inline const char* trimmed(const CsvFields& fields, int8_t column, size_t& length) {
    const char* text = fields.column[column];
    length = fields.length[column];
    while (length > 0 && isBlank(*text)) {
        ++text;
        --length;
    }
    while (length > 0 && isBlank(text[length - 1]))
        --length;
    return text;
}

// A field's item from its column's text (not empty).
RecordItem& addField(QsoRecord& r, const PlannedField& planned, const CsvFields& fields,
                     const char* text, size_t length) {
    RecordItem& item = add(r, static_cast<uint16_t>(kFirstFieldItem + planned.field), planned.head,
                           planned.nameLength, text, length);
    item.columns[0] = planned.column;
    item.columnCount = 1;
    if (text + 16 <= fields.column[planned.column] + kCsvFieldCapacity) item.flags = kItemPadded;
    if (fields.mayHoldNonAscii && holdsNonAscii(text, length, (item.flags & kItemPadded) != 0)) {
        item.flags |= kItemNotAscii;
        r.notAscii = true;
    }
    return item;
}

// MODE, as ADIF names it where the plan says so (a submode, in any case, as
// its mode, an emission designator as the mode it stands for), and SUBMODE
// right after it: from its own column, else the one the mode column named.
unsigned addMode(QsoRecord& r, const RecordPlan& plan, const CsvFields& fields) {
    unsigned faults = 0;
    AdifModeName name = {nullptr, ""};
    const int8_t column = plan.mode;
    if (plan.modeToAdif && column != kNoColumn && fields.length[column] != 0) {
        if (adifModeOf(fields.column[column], fields.length[column], name)) {
            RecordItem& mode = addItem(r, kItemMode, name.mode, strlen(name.mode));
            mode.columns[0] = column;
            mode.columnCount = 1;
        } else {
            addColumn(r, kItemMode, fields, column);
            faults |= kRecordUnknownMode;
        }
    } else {
        addColumn(r, kItemMode, fields, column);
    }
    const PlannedField& submode = plan.submode;
    size_t length = 0;
    const char* text = submode.column == kNoColumn ? "" : trimmed(fields, submode.column, length);
    if (length != 0) {
        addField(r, submode, fields, text, length);
    } else if (name.submode[0] != '\0') {
        RecordItem& item =
            add(r, static_cast<uint16_t>(kFirstFieldItem + submode.field), submode.head,
                submode.nameLength, name.submode, strlen(name.submode));
        item.columns[0] = column;
        item.columnCount = 1;
    }
    return faults;
}

// The fields from columns of their own, their text without the blanks
// around it, each checked against its ADIF data type; an empty one is left
// out.
unsigned addFields(QsoRecord& r, const RecordPlan& plan, const CsvFields& fields) {
    unsigned faults = 0;
    for (size_t i = 0; i < plan.fieldCount; ++i) {
        const PlannedField& planned = plan.fields[i];
        size_t length;
        const char* text = trimmed(fields, planned.column, length);
        if (length == 0) continue;
        RecordItem& item = addField(r, planned, fields, text, length);
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

    const Frequency f = frequencyOf(r, plan, fields);
    int8_t bandFrom = kNoColumn;
    const AdifBand* named = plan.band == kNoColumn
                                ? nullptr
                                : adifBandNamed(fields.column[plan.band], fields.length[plan.band]);
    const AdifBand* taken = bandTaken(plan, fields, f, named, bandFrom);
    RecordItem* band;
    if (taken != nullptr) {
        band = &addItem(r, kItemBand, taken->name, strlen(taken->name));
        band->columns[0] = bandFrom;
        band->columnCount = 1;
    } else {
        band = &addColumn(r, kItemBand, fields, plan.band);
    }
    if (f.written) {
        RecordItem& freq = addItem(r, kItemFreq, f.text, f.length);
        freq.columns[0] = plan.freq;
        freq.columnCount = 1;
        freq.flags = kItemPadded;
    }
    if (f.figure != nullptr) faults |= kRecordFrequencyFigure;
    const QslItems qsl = {call.value,
                          call.length,
                          (faults & kRecordBadDate) == 0 ? t.date : 0,
                          band->length,
                          taken != nullptr ? taken : named,
                          f.written ? f.text : nullptr,
                          f.length};
    faults |= qslFaults(qsl, plan.latestDate);

    faults |= addMode(r, plan, fields);
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

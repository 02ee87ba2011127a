#include "conversion/title_row.h"

#include <stddef.h>
#include <string.h>

#include "conversion/title_text.h"
#include "platform/platform.h"

// The titles logbooks head their columns with. Any ADIF field that takes a
// column is a title too, under its own name (TX_PWR, QSO_DATE_OFF); the
// items' fields are here where no title reads alike (QSO_DATE is "QSO Date").
const KnownTitle kKnownTitles[] = {
    {"Date", kTitleDate},
    {"QSO Date", kTitleDate},
    {"日付", kTitleDate},
    {"年月日", kTitleDate},
    {"交信日", kTitleDate},
    {"交信年月日", kTitleDate},
    {"Date Time", kTitleDateAndTime},
    {"QSO Date Time", kTitleDateAndTime},
    {"日時", kTitleDateAndTime},
    {"交信日時", kTitleDateAndTime},
    {"Year", kTitleYear},
    {"年", kTitleYear},
    {"Month", kTitleMonth},
    {"月", kTitleMonth},
    {"Day", kTitleDay},
    {"日", kTitleDay},
    {"Time", kTitleTime},
    {"Time On", kTitleTime},
    {"QSO Time", kTitleTime},
    {"UTC", kTitleTime},
    {"GMT", kTitleTime},
    {"時刻", kTitleTime},
    {"時間", kTitleTime},
    {"交信時刻", kTitleTime},
    {"時分", kTitleTime},
    {"Hour", kTitleHour},
    {"時", kTitleHour},
    {"Minute", kTitleMinute},
    {"Min", kTitleMinute},
    {"分", kTitleMinute},
    {"Call", kTitleCallsign},
    {"Callsign", kTitleCallsign},
    {"His Call", kTitleCallsign},
    {"コールサイン", kTitleCallsign},
    {"コール", kTitleCallsign},
    {"呼出符号", kTitleCallsign},
    {"相手局", kTitleCallsign},
    {"Freq", kTitleFreq},
    {"Frequency", kTitleFreq},
    {"MHz", kTitleFreq},
    {"kHz", kTitleFreq},
    {"QRG", kTitleFreq},
    {"周波数", kTitleFreq},
    {"Band", kTitleBand},
    {"バンド", kTitleBand},
    {"Mode", kTitleMode},
    {"モード", kTitleMode},
    {"電波型式", kTitleMode},
    {"電波形式", kTitleMode},
    {"RST Sent", kTitleRstSent},
    {"RST S", kTitleRstSent},
    {"RST Out", kTitleRstSent},
    {"RST Tx", kTitleRstSent},
    {"Sent", kTitleRstSent},
    {"Sent RST", kTitleRstSent},
    {"His", kTitleRstSent},
    {"His RST", kTitleRstSent},
    {"RST送", kTitleRstSent},
    {"送信RST", kTitleRstSent},
    {"RST Rcvd", kTitleRstRcvd},
    {"RST Received", kTitleRstRcvd},
    {"RST Recv", kTitleRstRcvd},
    {"RST R", kTitleRstRcvd},
    {"RST In", kTitleRstRcvd},
    {"RST Rx", kTitleRstRcvd},
    {"Rcvd", kTitleRstRcvd},
    {"Rcvd RST", kTitleRstRcvd},
    {"My", kTitleRstRcvd},
    {"My RST", kTitleRstRcvd},
    {"RST受", kTitleRstRcvd},
    {"受信RST", kTitleRstRcvd},
    {"Comment", kTitleComment},
    {"Comments", kTitleComment},
    {"Remark", kTitleComment},
    {"Remarks", kTitleComment},
    {"Memo", kTitleComment},
    {"備考", kTitleComment},
    {"コメント", kTitleComment},
    {"メモ", kTitleComment},
    {"My Grid", kTitleGl},
    {"My Gridsquare", kTitleGl},
    {"My Locator", kTitleGl},
    {"My GL", kTitleGl},
    {"自局GL", kTitleGl},
    {"自局グリッド", kTitleGl},
    {"Name", "NAME"},
    {"Op Name", "NAME"},
    {"名前", "NAME"},
    {"氏名", "NAME"},
    {"QTH", "QTH"},
    {"運用地", "QTH"},
    {"Grid", "GRIDSQUARE"},
    {"Grid Locator", "GRIDSQUARE"},
    {"Locator", "GRIDSQUARE"},
    {"GL", "GRIDSQUARE"},
    {"グリッド", "GRIDSQUARE"},
    {"グリッドロケータ", "GRIDSQUARE"},
    {"グリッドロケーター", "GRIDSQUARE"},
    {"Power", "TX_PWR"},
    {"Pwr", "TX_PWR"},
    {"TX Power", "TX_PWR"},
    {"出力", "TX_PWR"},
    {"空中線電力", "TX_PWR"},
    {"Note", "NOTES"},
    {"QSL Received", "QSL_RCVD"},
    {"Manager", "QSL_VIA"},
    {"QSL Manager", "QSL_VIA"},
    {"QSL Mgr", "QSL_VIA"},
    {"My Call", "STATION_CALLSIGN"},
    {"My Callsign", "STATION_CALLSIGN"},
    {"County", "CNTY"},
    {"Contest", "CONTEST_ID"},
    {"Exch Sent", "STX_STRING"},
    {"Sent Exch", "STX_STRING"},
    {"Exch Rcvd", "SRX_STRING"},
    {"Rcvd Exch", "SRX_STRING"},
    {"Satellite", "SAT_NAME"},
    {"SOTA", "SOTA_REF"},
    {"POTA", "POTA_REF"},
    {"WWFF", "WWFF_REF"},
};
const size_t kKnownTitleCount = sizeof kKnownTitles / sizeof kKnownTitles[0];

namespace {

constexpr size_t kNoSetting = ~static_cast<size_t>(0);

// What each name stands for: the settings field of an item's designator, its
// label and its ADIF field.
struct Named {
    size_t offset;
    const char* label;
    const char* adifName;
};
constexpr Named kNamed[] = {
    {offsetof(ConversionSettings, columnYear), "Year", "QSO_DATE"},
    {offsetof(ConversionSettings, columnMonth), "Month", "QSO_DATE"},
    {offsetof(ConversionSettings, columnDay), "Day", "QSO_DATE"},
    {offsetof(ConversionSettings, columnHour), "Hour", "TIME_ON"},
    {offsetof(ConversionSettings, columnMinute), "Minute", "TIME_ON"},
    {offsetof(ConversionSettings, columnCallsign), "Callsign", "CALL"},
    {offsetof(ConversionSettings, columnFreq), "Freq", "FREQ"},
    {offsetof(ConversionSettings, columnBand), "Band", "BAND"},
    {offsetof(ConversionSettings, columnMode), "Mode", "MODE"},
    {offsetof(ConversionSettings, columnRstRcvd), "RST Rcvd", "RST_RCVD"},
    {offsetof(ConversionSettings, columnRstSent), "RST Sent", "RST_SENT"},
    {offsetof(ConversionSettings, columnComment), "Comment", "COMMENT"},
    {offsetof(ConversionSettings, columnGl), "My GL", "MY_GRIDSQUARE"},
    {kNoSetting, "Date", "QSO_DATE"},
    {kNoSetting, "Time", "TIME_ON"},
    {kNoSetting, "Date and time", "QSO_DATE"},
};
static_assert(sizeof kNamed / sizeof kNamed[0] == kTitleField, "a line for each name");

// The row of kSettingsTable of each item.
struct ItemRows {
    size_t row[kTitleItemCount];
};
constexpr ItemRows findItemRows() {
    ItemRows rows = {};
    for (size_t k = 0; k < kTitleItemCount; ++k) {
        rows.row[k] = kSettingsCount;
        for (size_t i = 0; i < kSettingsCount; ++i) {
            if (kSettingsTable[i].offset == kNamed[k].offset) rows.row[k] = i;
        }
    }
    return rows;
}
constexpr ItemRows kItemRows = findItemRows();
constexpr bool everyItemHasItsRow() {
    for (size_t k = 0; k < kTitleItemCount; ++k) {
        if (kItemRows.row[k] == kSettingsCount ||
            kSettingsTable[kItemRows.row[k]].control != kDesignatorBox)
            return false;
    }
    return true;
}
static_assert(everyItemHasItsRow(), "each item is a designator of the settings table");

bool sameKey(const TitleKey& a, const TitleKey& b) {
    return a.length == b.length && memcmp(a.text, b.text, a.length) == 0;
}

// The keys of the titles above, then of the fields' names, with what each
// names: made once, at the first title row looked at.
constexpr size_t kKnownKeyCount = sizeof kKnownTitles / sizeof kKnownTitles[0] + kColumnFieldCount;
struct KnownKeys {
    TitleKey key[kKnownKeyCount];
    TitleName name[kKnownKeyCount];
};
const KnownKeys& knownKeys() {
    static const KnownKeys* const keys = [] {
        static KnownKeys made;
        size_t n = 0;
        for (const KnownTitle& title : kKnownTitles) {
            TitleName name = title.name;
            if (name == kTitleField) {
                const int k = columnFieldIndex(title.field, strlen(title.field));
                name = static_cast<TitleName>(k < 0 ? kTitleNothing : kTitleField + k);
            }
            if (!makeTitleKey(title.text, strlen(title.text), made.key[n])) name = kTitleNothing;
            made.name[n] = name;
            ++n;
        }
        for (size_t k = 0; k < kColumnFieldCount; ++k, ++n) {
            const char* field = columnField(k).name;
            made.name[n] = static_cast<TitleName>(kTitleField + k);
            if (!makeTitleKey(field, strlen(field), made.key[n])) made.name[n] = kTitleNothing;
        }
        return &made;
    }();
    return *keys;
}

// What a title's key names: one of the titles above, else a field by name.
TitleName titleNamed(const TitleKey& key) {
    const KnownKeys& known = knownKeys();
    for (size_t n = 0; n < kKnownKeyCount; ++n) {
        if (known.name[n] != kTitleNothing && sameKey(known.key[n], key)) return known.name[n];
    }
    return kTitleNothing;
}

// How a date or time is read, settled by the first column titled for it.
enum TitleForm { kUnsettled, kWhole, kParts };

struct TitleReading {
    TitleRow& row;
    TitleForm date, time;

    void takeFirst(int8_t& column, int8_t c) {
        if (column == kNoColumn) column = c;
    }
    void takeWhole(TitleForm& form, TitleName first, TitleName last, int8_t c) {
        if (form != kUnsettled) return;
        form = kWhole;
        for (TitleName k = first; k <= last; ++k)
            row.item[k] = c;
    }
    void takePart(TitleForm& form, TitleName part, int8_t c) {
        if (form == kWhole) return;
        form = kParts;
        takeFirst(row.item[part], c);
    }
    void take(TitleName name, int8_t c) {
        switch (name) {
            case kTitleDateAndTime:
                takeWhole(date, kTitleYear, kTitleDay, c);
                takeWhole(time, kTitleHour, kTitleMinute, c);
                break;
            case kTitleDate:
                takeWhole(date, kTitleYear, kTitleDay, c);
                break;
            case kTitleTime:
                takeWhole(time, kTitleHour, kTitleMinute, c);
                break;
            case kTitleYear:
            case kTitleMonth:
            case kTitleDay:
                takePart(date, name, c);
                break;
            case kTitleHour:
            case kTitleMinute:
                takePart(time, name, c);
                break;
            default:
                takeFirst(name >= kTitleField ? row.field[name - kTitleField] : row.item[name], c);
                break;
        }
    }
    // The first ending of each kind decides.
    void note(TitleEnding ending) {
        if (!row.saysTimeZone && (ending == kEndingUtc || ending == kEndingJst)) {
            row.saysTimeZone = true;
            row.timeZone = ending == kEndingJst ? 9 : 0;
        }
        if (row.freqUnit == kFreqNone && (ending == kEndingMhz || ending == kEndingKhz))
            row.freqUnit = ending == kEndingMhz ? kFreqMegahertz : kFreqKilohertz;
    }
};

// Appends text, cut to the capacity (one byte kept for the NUL).
void append(char* text, size_t capacity, size_t& used, const char* more) {
    while (*more != '\0' && used + 1 < capacity)
        text[used++] = *more++;
    text[used] = '\0';
}
void appendNamed(char* text, size_t capacity, size_t& used, const char* label, int8_t column) {
    char letters[3];
    columnName(column, letters);
    if (used > 0) append(text, capacity, used, ", ");
    append(text, capacity, used, label);
    append(text, capacity, used, " ");
    append(text, capacity, used, letters);
}

}  // namespace

const SettingDescriptor& titleItemSetting(size_t k) {
    return kSettingsTable[kItemRows.row[k]];
}

const char* titleAdifName(TitleName name) {
    if (name >= kTitleField) return columnField(static_cast<size_t>(name - kTitleField)).name;
    return name < 0 ? "" : kNamed[name].adifName;
}

const char* titleLabel(TitleName name) {
    if (name >= kTitleField) return columnField(static_cast<size_t>(name - kTitleField)).name;
    return name < 0 ? "" : kNamed[name].label;
}

void clearTitleRow(TitleRow& row) {
    row.isTitleRow = false;
    memset(row.item, kNoColumn, sizeof row.item);
    memset(row.field, kNoColumn, sizeof row.field);
    row.saysTimeZone = false;
    row.timeZone = 0;
    row.freqUnit = kFreqNone;
    for (TitleName& name : row.names)
        name = kTitleNothing;
}

bool readTitleRow(const CsvFields& firstLine, TitleRow& row) {
    clearTitleRow(row);
    TitleReading reading = {row, kUnsettled, kUnsettled};
    int titles = 0;
    bool callsign = false;
    for (size_t c = 0; c < kCsvColumns; ++c) {
        TitleKey key;
        if (firstLine.length[c] == 0 ||
            !makeTitleKey(firstLine.column[c], firstLine.length[c], key))
            continue;
        const TitleName name = titleNamed(key);
        if (name == kTitleNothing) continue;
        row.names[c] = name;
        ++titles;
        callsign = callsign || name == kTitleCallsign;
        reading.take(name, static_cast<int8_t>(c));
        reading.note(key.ending);
    }
    if (titles < 3 || !callsign) {
        clearTitleRow(row);
        return false;
    }
    row.isTitleRow = true;
    return true;
}

void applyTitleRow(const TitleRow& row, ConversionSettings& settings) {
    if (!row.isTitleRow) return;
    char letters[3];
    for (size_t k = 0; k < kTitleItemCount; ++k) {
        if (row.item[k] == kNoColumn) {
            copyText(letters, kNoColumnDesignator);
        } else {
            columnName(row.item[k], letters);
        }
        const SettingDescriptor& setting = titleItemSetting(k);
        storeSettingValue(setting, settingField(settings, setting), letters);
    }
    for (size_t k = 0; k < kColumnFieldCount; ++k) {
        if (row.field[k] == kNoColumn) continue;
        columnName(row.field[k], letters);
        copyText(settings.fieldColumns[k], letters);
    }
    if (row.saysTimeZone) settings.timeZone = row.timeZone;
    if (row.freqUnit != kFreqNone) {
        settings.checkMhz = row.freqUnit == kFreqMegahertz ? 1 : 0;
        settings.checkKhz = row.freqUnit == kFreqKilohertz ? 1 : 0;
    }
}

bool titleRowDiffers(const TitleRow& row, const ConversionSettings& settings) {
    if (!row.isTitleRow) return false;
    for (size_t k = 0; k < kTitleItemCount; ++k) {
        const SettingDescriptor& setting = titleItemSetting(k);
        if (columnIndex(static_cast<const char*>(settingField(settings, setting))) != row.item[k])
            return true;
    }
    for (size_t k = 0; k < kColumnFieldCount; ++k) {
        if (row.field[k] != kNoColumn && columnIndex(settings.fieldColumns[k]) != row.field[k])
            return true;
    }
    if (row.saysTimeZone && settings.timeZone != row.timeZone) return true;
    // The unit a conversion reads the frequency in: MHz where both are set.
    const FrequencyUnit unit = settings.checkMhz == 1   ? kFreqMegahertz
                               : settings.checkKhz == 1 ? kFreqKilohertz
                                                        : kFreqNone;
    return row.freqUnit != kFreqNone && unit != row.freqUnit;
}

size_t describeTitleRow(const TitleRow& row, char* text, size_t capacity) {
    size_t used = 0;
    if (capacity == 0) return 0;
    text[0] = '\0';
    for (int8_t c = 0; c < static_cast<int8_t>(kCsvColumns); ++c) {
        const int8_t* item = row.item;
        const bool date = item[kTitleYear] == c && item[kTitleMonth] == c && item[kTitleDay] == c;
        const bool time = item[kTitleHour] == c && item[kTitleMinute] == c;
        if (date)
            appendNamed(text, capacity, used, titleLabel(time ? kTitleDateAndTime : kTitleDate), c);
        if (time && !date) appendNamed(text, capacity, used, titleLabel(kTitleTime), c);
        for (TitleName k = 0; k < static_cast<TitleName>(kTitleItemCount); ++k) {
            const bool told =
                (date && k <= kTitleDay) || (time && (k == kTitleHour || k == kTitleMinute));
            if (item[k] == c && !told) appendNamed(text, capacity, used, titleLabel(k), c);
        }
        for (size_t k = 0; k < kColumnFieldCount; ++k) {
            if (row.field[k] == c) appendNamed(text, capacity, used, columnField(k).name, c);
        }
    }
    if (row.saysTimeZone)
        append(text, capacity, used, row.timeZone == 0 ? "; times in UTC" : "; times in JST");
    if (row.freqUnit != kFreqNone)
        append(text, capacity, used,
               row.freqUnit == kFreqMegahertz ? "; frequencies in MHz" : "; frequencies in kHz");
    return used;
}

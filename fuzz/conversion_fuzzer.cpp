// The whole conversion: the fuzzer's bytes become settings and a CSV file,
// the conversion runs into a scratch folder, and its results are checked:
// the status line, one ADIF record per CSV line (read in the format the
// reference settles), every item's declared length equal to its value's bytes
// up to the CR LF, the values those of the reference splitter's columns, the
// input never overwritten, a file that is no text refused without an output
// file, and a byte order mark in front of a file changing none of its records.
//
// Input layout (missing bytes read as 0, which gives the default settings):
//   byte 0   two bits each: checkMhz, checkKhz, checkRstRcvd, checkMyGl
//   byte 1   bits 0-1 checkComment, bits 2-4 which CSV file name; bits 5-7,
//            applied after the designators: month and day take the year's
//            (bit 5), hour takes the year's (bit 7), minute the hour's (bit
//            6), so that dates and times are read whole from one column
//   byte 2   time difference: bit 7 clear, 9 + (bits 0-6 ^ 64) - 64;
//            bit 7 set, the next four bytes as a 32-bit integer
//   byte     own callsign: 0 the default, else (b - 1) % 32 bytes follow
//   13 bytes designators, in the settings table's order: bit 7 set, (b & 7) bytes
//            follow as the designator; else n = b & 63: 0 the default,
//            1 to 40 that column's letters (bit 6: lower case), above 40 empty
//   rest     the CSV file
#include <stdint.h>
#include <string.h>

#include <string>
#include <vector>

#include "adif/adif_bands.h"
#include "adif/adif_modes.h"
#include "common/text.h"
#include "conversion/conversion_job.h"
#include "conversion/conversion_preview.h"
#include "conversion/converter_state.h"
#include "conversion/title_row.h"
#include "fuzz_support.h"
#include "reference_csv.h"
#include "test_support.h"

namespace {

struct Reader {
    const uint8_t* data;
    size_t size;
    size_t at;
    uint8_t byte() { return at < size ? data[at++] : 0; }
    std::string bytes(size_t n) {
        std::string s;
        while (n-- > 0 && at < size)
            s += static_cast<char>(data[at++]);
        return s;
    }
};

// A check field: the default, its opposite, or a value that is neither 0 nor 1.
int32_t checkValue(unsigned bits, int32_t defaultValue) {
    switch (bits & 3) {
        case 0:
            return defaultValue;
        case 1:
            return 1 - defaultValue;
        case 2:
            return 2;
        default:
            return -1;
    }
}

void setDesignator(char* field, Reader& in) {
    uint8_t sel = in.byte();
    if (sel & 0x80) {
        std::string text = in.bytes(sel & 7);
        copyText(field, kDesignatorCapacity, text.c_str());
        return;
    }
    unsigned n = sel & 0x3F;
    if (n == 0) return;  // keep the default
    char text[3] = {0, 0, 0};
    if (n > 40) {
        // empty
    } else if (n <= 26) {
        text[0] = static_cast<char>('A' + n - 1);
    } else {
        text[0] = static_cast<char>('A' + n / 26 - 1);
        text[1] = static_cast<char>('A' + n % 26 - 1);
    }
    if (sel & 0x40) {
        for (char& c : text)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    memcpy(field, text, sizeof text);
}

struct FileKind {
    const char* csv;
    const char* adi;  // null: the conversion must refuse, writing nothing
    bool present;     // whether the CSV file exists
};
const FileKind kFileKinds[8] = {
    {"log.csv", "log.adi", true}, {"log", "log.adi", true},     {"a.b.csv", "a.b.adi", true},
    {".csv", ".adi", true},       {"log.ADI", nullptr, true},   {"Log.adi. ", nullptr, true},
    {"gone.csv", nullptr, false}, {"log.txt", "log.adi", true},
};

// The column a designator names, 1 to 32, or 0 for none.
int columnOf(const char* d) {
    auto letter = [](unsigned char c) -> int {
        if (c >= 'A' && c <= 'Z') return c - 'A' + 1;
        if (c >= 'a' && c <= 'z') return c - 'a' + 1;
        return 0;
    };
    int first = letter(static_cast<unsigned char>(d[0]));
    if (first == 0) return 0;
    if (d[1] == '\0') return first;
    int second = letter(static_cast<unsigned char>(d[1]));
    int column = second == 0 ? 0 : first * 26 + second;
    return column <= 32 ? column : 0;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Walks the ADIF output, failing on the first byte out of place.
struct AdifCursor {
    const std::string& text;
    size_t at;
    size_t record;

    [[noreturn]] void failHere(const std::string& what) {
        fuzz::fail(__FILE__, __LINE__, "ADIF output",
                   "record " + std::to_string(record) + " at byte " + std::to_string(at) + ": " +
                       what + "; output there: \"" + fuzz::escaped(text.substr(at, 120)) + "\"");
    }

    bool startsWith(const std::string& s) const { return text.compare(at, s.size(), s) == 0; }

    // "<NAME:n>", n bytes of value, CR LF; returns the value.
    std::string item(const char* name) {
        std::string open = std::string("<") + name + ":";
        if (!startsWith(open)) failHere(std::string("expected item ") + name);
        at += open.size();
        size_t digits = at;
        uint64_t n = 0;
        while (at < text.size() && isDigit(text[at]) && at - digits < 10)
            n = n * 10 + static_cast<uint64_t>(text[at++] - '0');
        if (at == digits || at >= text.size() || text[at] != '>')
            failHere(std::string("bad length of ") + name);
        at += 1;
        if (n > text.size() - at) failHere(std::string("length of ") + name + " runs past the end");
        std::string value = text.substr(at, n);
        at += n;
        if (!startsWith("\r\n"))
            failHere(std::string("declared length of ") + name + " is not the value's length");
        if (value.find_first_of(std::string("\r\n\0", 3)) != std::string::npos)
            failHere(std::string("line end or NUL inside the value of ") + name);
        at += 2;
        return value;
    }

    void item(const char* name, const std::string& expected) {
        size_t start = at;
        std::string value = item(name);
        if (value != expected) {
            at = start;
            failHere(std::string(name) + " is \"" + fuzz::escaped(value) + "\", expected \"" +
                     fuzz::escaped(expected) + "\"");
        }
    }
};

// A number printed at a minimum width: pad bytes, an optional '-', digits.
bool isPaddedNumber(const std::string& v, size_t width, char pad) {
    if (v.size() < width) return false;
    size_t i = 0;
    if (pad == ' ') {
        while (i < v.size() && v[i] == ' ')
            ++i;
        if (i < v.size() && v[i] == '-') ++i;
    } else {
        if (i < v.size() && v[i] == '-') ++i;
    }
    if (i == v.size()) return false;
    for (; i < v.size(); ++i)
        if (!isDigit(v[i])) return false;
    return true;
}

// "%.3f" of a finite or infinite double.
bool isMegahertz(const std::string& v) {
    if (v == "inf" || v == "-inf") return true;
    size_t i = v[0] == '-' ? 1 : 0;
    size_t dot = v.find('.');
    if (dot == std::string::npos || dot == i || v.size() - dot != 4) return false;
    for (; i < v.size(); ++i)
        if (i != dot && !isDigit(v[i])) return false;
    return true;
}

void checkRecord(AdifCursor& out, const ConversionSettings& s, const fuzz::RefColumns& columns,
                 bool decimalComma) {
    auto column = [&](const char* designator) -> const std::string* {
        int k = columnOf(designator);
        return k == 0 ? nullptr : &columns[static_cast<size_t>(k - 1)];
    };
    static const std::string kEmpty;
    auto text = [&](const char* designator) -> const std::string& {
        const std::string* c = column(designator);
        return c != nullptr ? *c : kEmpty;
    };

    out.item("CALL", text(s.columnCallsign));
    size_t at = out.at;
    std::string date = out.item("QSO_DATE");
    if (!isPaddedNumber(date, 8, ' ')) {
        out.at = at;
        out.failHere("QSO_DATE is not a number of at least 8 bytes");
    }
    at = out.at;
    std::string time = out.item("TIME_ON");
    if (!isPaddedNumber(time, 4, '0')) {
        out.at = at;
        out.failHere("TIME_ON is not a number of at least 4 digits");
    }
    // BAND is the column's text, or (taken from a figure or the frequency)
    // an ADIF band.
    at = out.at;
    const std::string band = out.item("BAND");
    if (band != text(s.columnBand) &&
        (s.bandFromFreq != 1 || adifBandNamed(band.data(), band.size()) == nullptr)) {
        out.at = at;
        out.failHere("BAND is neither its column's text nor an ADIF band taken for it");
    }
    const std::string& freqText = text(s.columnFreq);
    if (column(s.columnFreq) != nullptr) {
        if (s.checkMhz == 1) {
            std::string freq = freqText;
            if (decimalComma) {
                for (char& c : freq)
                    if (c == ',') c = '.';
            }
            // A band figure in the column is no frequency.
            if (s.bandFromFreq != 1 ||
                adifBandOfFigure(freqText.data(), freqText.size()) == nullptr)
                out.item("FREQ", freq);
        } else if (s.checkKhz == 1 && !freqText.empty()) {
            at = out.at;
            if (!isMegahertz(out.item("FREQ"))) {
                out.at = at;
                out.failHere("FREQ is not printed with three decimals");
            }
        }
    }
    // MODE is the column's text, or an ADIF mode named for it; SUBMODE may
    // follow.
    at = out.at;
    const std::string mode = out.item("MODE");
    AdifModeName name;
    if (mode != text(s.columnMode) &&
        (s.modeToAdif != 1 || !adifModeOf(mode.data(), mode.size(), name) || mode != name.mode)) {
        out.at = at;
        out.failHere("MODE is neither its column's text nor an ADIF mode");
    }
    if (out.startsWith("<SUBMODE:")) out.item("SUBMODE");
    out.item("RST_SENT", text(s.columnRstSent));
    if (column(s.columnRstRcvd) != nullptr && s.checkRstRcvd == 1)
        out.item("RST_RCVD", text(s.columnRstRcvd));
    if (column(s.columnGl) != nullptr && s.checkMyGl == 1)
        out.item("MY_GRIDSQUARE", text(s.columnGl));
    const std::string& comment = text(s.columnComment);
    if (!comment.empty() && s.checkComment == 1) {
        out.item("COMMENT", comment);
        out.item("QSLMSG", comment);
    }
    // The fields from columns of their own, in byte order of their names
    // (the table's order), without blanks around them, when not empty.
    for (size_t k = 0; k < kColumnFieldCount; ++k) {
        if (strcmp(columnField(k).name, "SUBMODE") == 0) continue;  // after MODE
        std::string value = text(s.fieldColumns[k]);
        const size_t first = value.find_first_not_of(" \t");
        if (first == std::string::npos) continue;
        value = value.substr(first, value.find_last_not_of(" \t") - first + 1);
        out.item(columnField(k).name, value);
    }
    if (!out.startsWith("<EOR>\r\n")) out.failHere("expected <EOR>");
    out.at += 7;
}

// Whether line 1's columns are a title row, as the program reads titles.
bool isTitleRow(const fuzz::RefColumns& columns) {
    static CsvFields fields;
    for (size_t k = 0; k < kCsvColumns; ++k) {
        copyText(fields.column[k], columns[k].c_str());
        fields.length[k] = static_cast<uint8_t>(strlen(fields.column[k]));
    }
    TitleRow row;
    return readTitleRow(fields, row);
}

// Whether a line holds a QSO: some text other than blanks in its callsign,
// date or time columns, or none of them named.
bool holdsQso(const ConversionSettings& s, const fuzz::RefColumns& columns) {
    bool named = false;
    for (const char* designator : {s.columnCallsign, s.columnYear, s.columnMonth, s.columnDay,
                                   s.columnHour, s.columnMinute}) {
        const int k = columnOf(designator);
        if (k == 0) continue;
        named = true;
        if (columns[static_cast<size_t>(k - 1)].find_first_not_of(" \t") != std::string::npos)
            return true;
    }
    return !named;
}

// "HH:MM:SS   Finished N QSOs conversion".
bool isFinishedStatus(const std::string& status, size_t count) {
    const std::string rest = "   Finished " + std::to_string(count) + " QSOs conversion";
    if (status.size() != 8 + rest.size() || status.compare(8, rest.size(), rest) != 0) return false;
    for (size_t i = 0; i < 8; ++i) {
        if (i % 3 == 2 ? status[i] != ':' : !isDigit(status[i])) return false;
    }
    return true;
}

std::string runWith(const ConversionSettings& settings) {
    std::string status = convertWith(settings);
    FUZZ_CHECK(isFlagSet(theApp.flags, StatusChanged), "");
    return status;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Reader in{data, size, 0};
    ConversionSettings settings;
    memset(&settings, 0, sizeof settings);
    applyDefaults(settings);

    uint8_t checks = in.byte();
    uint8_t more = in.byte();
    settings.checkMhz = checkValue(checks, 1);
    settings.checkKhz = checkValue(checks >> 2, 0);
    settings.checkRstRcvd = checkValue(checks >> 4, 1);
    settings.checkMyGl = checkValue(checks >> 6, 1);
    settings.checkComment = checkValue(more, 1);

    const FileKind& kind = kFileKinds[(more >> 2) & 7];

    uint8_t zone = in.byte();
    if (zone & 0x80) {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v |= static_cast<uint32_t>(in.byte()) << (8 * i);
        memcpy(&settings.timeZone, &v, sizeof v);
    } else {
        settings.timeZone = 9 + ((zone & 0x7F) ^ 0x40) - 64;
    }
    uint8_t call = in.byte();
    if (call != 0) {
        std::string text = in.bytes(static_cast<size_t>(call - 1) % 32);
        copyText(settings.myCallsign, text.c_str());
    }
    for (const SettingDescriptor& row : kSettingsTable) {  // the 13 column designators
        if (row.kind == kSettingText && row.capacity == kDesignatorCapacity)
            setDesignator(static_cast<char*>(settingField(settings, row)), in);
    }
    // The band and mode switches, and up to four ADIF fields from columns of
    // their own.
    const uint8_t fieldsByte = in.byte();
    settings.bandFromFreq = checkValue(fieldsByte >> 2, 1);
    settings.modeToAdif = checkValue(fieldsByte >> 4, 1);
    for (int n = fieldsByte & 3; n > 0; --n)
        setDesignator(settings.fieldColumns[in.byte() % kColumnFieldCount], in);
    if (more & 0x20) {
        memcpy(settings.columnMonth, settings.columnYear, kDesignatorCapacity);
        memcpy(settings.columnDay, settings.columnYear, kDesignatorCapacity);
    }
    if (more & 0x80) memcpy(settings.columnHour, settings.columnYear, kDesignatorCapacity);
    if (more & 0x40) memcpy(settings.columnMinute, settings.columnHour, kDesignatorCapacity);
    const std::string csv(reinterpret_cast<const char*>(data) + in.at, size - in.at);

    fuzz::clearScratch();
    const std::string csvPath = fuzz::scratchDir() + kind.csv;
    FUZZ_CHECK(copyText(settings.csvPath, csvPath.c_str()), csvPath);
    if (kind.present) fuzz::writeFile(csvPath, csv.data(), csv.size());

    // The preview first: it reads the file as the conversion will, writes no
    // file, and a file it refuses is the one the conversion refuses.
    static PreviewGrid preview;
    memset(&preview, 0x5A, sizeof preview);
    const ConversionOutcome previewed = previewConversion(settings, preview);
    FUZZ_CHECK(memchr(preview.text, '\0', sizeof preview.text) != nullptr &&
                   memchr(preview.titleLine, '\0', sizeof preview.titleLine) != nullptr,
               "the preview is not terminated");
    for (size_t row = 0; row < preview.rowCount; ++row) {
        for (size_t column = 0; column < previewColumnCount(preview); ++column) {
            const char* cell = previewCell(preview, row, column);
            const char* const end = preview.pool + preview.poolUsed;
            const bool inPool = cell >= preview.pool && cell < end &&
                                memchr(cell, '\0', static_cast<size_t>(end - cell)) != nullptr;
            FUZZ_CHECK(column == 0 || inPool, "a cell outside the grid's pool");
        }
    }
    const std::string listed = fuzz::listScratch();
    FUZZ_CHECK(listed.empty() || listed == "[" + std::string(kind.csv) + "] ", listed);

    const std::string status = runWith(settings);
    if (previewed != ConversionFinished)
        FUZZ_CHECK(status == preview.text, status + " / " + std::string(preview.text));

    if (!kind.present) {
        FUZZ_CHECK(status == "Can not open CSV file", status);
        FUZZ_CHECK(fuzz::listScratch().empty(), fuzz::listScratch());
        return 0;
    }
    std::string after;
    FUZZ_CHECK(fuzz::readFile(csvPath, after) && after == csv, "the CSV file was changed");
    const unsigned char* const bytes = reinterpret_cast<const unsigned char*>(csv.data());
    const fuzz::RefFormat format = fuzz::refFormat(bytes, csv.size());
    if (!format.text) {  // refused before any output file is made
        FUZZ_CHECK(status == "Can not read CSV file: not a text file", status);
        FUZZ_CHECK(fuzz::listScratch() == "[" + std::string(kind.csv) + "] ", fuzz::listScratch());
        return 0;
    }
    if (kind.adi == nullptr) {
        FUZZ_CHECK(status == "Can not open ADI file: it is the CSV file itself", status);
        FUZZ_CHECK(fuzz::listScratch() == "[" + std::string(kind.csv) + "] ", fuzz::listScratch());
        return 0;
    }

    // One record per line that holds a QSO: every terminator ends a line,
    // and bytes after the last make one more; a title row in line 1, and a
    // line whose callsign, date and time columns are all blank, make none.
    std::vector<fuzz::RefColumns> records;
    bool firstLine = true;
    for (size_t at = format.skip; at < csv.size();) {
        fuzz::RefColumns columns =
            fuzz::refSplit(bytes + at, csv.size() - at, format.separator, format.terminator);
        const void* end = memchr(csv.data() + at, format.terminator, csv.size() - at);
        at = end != nullptr ? static_cast<size_t>(static_cast<const char*>(end) - csv.data()) + 1
                            : csv.size();
        const bool titleRow = firstLine && isTitleRow(columns);
        firstLine = false;
        if (titleRow || !holdsQso(settings, columns)) continue;
        records.push_back(columns);
    }
    FUZZ_CHECK(isFinishedStatus(status, records.size()),
               status + " for " + std::to_string(records.size()) + " records");

    std::string adif;
    FUZZ_CHECK(fuzz::readFile(fuzz::scratchDir() + kind.adi, adif), "no ADIF file");
    static const char kGenerated[] = "Generated on ";
    FUZZ_CHECK(adif.compare(0, sizeof kGenerated - 1, kGenerated) == 0, fuzz::escaped(adif));
    char callsign[kCallsignCapacity];
    copyText(callsign, settings.myCallsign);
    const std::string headerEnd =
        std::string("Z by Vantrel for ") + callsign + "\r\n<ADIF_VER:5>3.0.0\r\n<EOH>\r\n";
    size_t headerAt = adif.find(headerEnd);
    FUZZ_CHECK(headerAt != std::string::npos, fuzz::escaped(adif));
    FUZZ_CHECK(adif.find_first_of("\r\n", sizeof kGenerated - 1) >= headerAt,
               "line end inside the header's date: " + fuzz::escaped(adif));

    AdifCursor out{adif, headerAt + headerEnd.size(), 0};
    for (const fuzz::RefColumns& columns : records) {
        checkRecord(out, settings, columns, format.separator != ',');
        out.record += 1;
    }
    if (out.at != adif.size()) out.failHere("bytes after the last record");

    // A byte order mark in front of the same file changes no record.
    if (format.skip == 0) {
        const std::string marked = "\xEF\xBB\xBF" + csv;
        fuzz::writeFile(csvPath, marked.data(), marked.size());
        const std::string markedStatus = runWith(settings);
        FUZZ_CHECK(isFinishedStatus(markedStatus, records.size()), markedStatus);
        std::string again;
        FUZZ_CHECK(fuzz::readFile(fuzz::scratchDir() + kind.adi, again), "no ADIF file");
        FUZZ_CHECK(recordsOf(again) == recordsOf(adif), "a byte order mark changed the records");
    }
    return 0;
}

// Texts cut to their capacity under a double-byte code page never end in a
// lead byte without its trail byte: the cut moves back one byte instead. Each
// kind of cut, with the system's own lead bytes; they need the ANSI code page
// 932 (Shift-JIS), which the Windows unit-test run under the Japanese locale
// has.
#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "conversion/adif_writer.h"
#include "conversion/csv_splitter.h"
#include "platform/platform.h"
#include "settings/settings_file.h"
#include "test_support.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// Told by the system itself, not by the lead-byte test under test.
bool systemCodePageIsShiftJis() {
#ifdef _WIN32
    return GetACP() == 932;
#else
    return false;
#endif
}

// 表: a lead byte and the trail byte 0x5C.
const std::string kHyou = "\x95\x5C";

class ShiftJisCut : public testing::Test {
protected:
    void SetUp() override {
        if (!systemCodePageIsShiftJis()) {
            GTEST_SKIP() << "needs the ANSI code page 932 (Shift-JIS): the Windows unit tests "
                            "run under the Japanese locale";
        }
    }
};

// Text of `before` single bytes, a character, and more: where the field holds
// `room` bytes, the character goes whole or not at all.
std::string straddling(size_t before) {
    return std::string(before, 'x') + kHyou + "yz";
}
std::string keptOf(size_t before, size_t room) {
    return before + kHyou.size() <= room ? std::string(before, 'x') + kHyou
                                         : std::string(before, 'x');
}

}  // namespace

TEST_F(ShiftJisCut, CsvFieldAt255Bytes) {
    CsvFields fields;
    for (size_t before : {253u, 254u}) {
        const std::string line = straddling(before) + ",next\r\n";
        splitCsvLine(line.data(), line.size(), fields, standardCsvDialect());
        const std::string expected = keptOf(before, kCsvFieldCapacity - 1);
        EXPECT_EQ(fields.column[0], expected) << before;
        EXPECT_EQ(fields.length[0], expected.size()) << before;
        EXPECT_STREQ(fields.column[1], "next");
    }
}

TEST_F(ShiftJisCut, SettingValueAtItsFieldsSize) {
    for (const SettingDescriptor& row : kSettingsTable) {
        if (row.kind != kSettingText) continue;
        const size_t room = row.capacity - 1;
        for (size_t before : {room - 2, room - 1}) {
            ConversionSettings settings = defaultSettings();
            char* field = static_cast<char*>(settingField(settings, row));
            storeSettingValue(row, field, straddling(before).c_str());
            EXPECT_EQ(field, keptOf(before, room)) << row.key << " " << before;
        }
    }
}

// The same through the settings file, whose reader has a cut of its own at
// 255 bytes.
TEST_F(ShiftJisCut, SettingsFileValueAtItsFieldsSize) {
    ScratchDir dir;
    const std::string ini = dir.file("Vantrel.ini");
    for (size_t before : {253u, 254u}) {
        writeFile(ini, "[VANTREL_LOCAL_PARAMS]\r\nCSV_NAME=" + straddling(before) +
                           "\r\nMY_CALLSIGN=" + straddling(before - 224) + "\r\n");
        ConversionSettings settings = defaultSettings();
        loadSettingsFrom(settings, ini.c_str());
        EXPECT_EQ(settings.csvPath, keptOf(before, kPathCapacity - 1)) << before;
        EXPECT_EQ(settings.myCallsign, keptOf(before - 224, kCallsignCapacity - 1)) << before;
    }
}

TEST_F(ShiftJisCut, HeaderCallsign) {
    // A callsign field filled to its last byte, with no NUL: the header's copy
    // holds 31 bytes, which would end in the character's lead byte.
    ConversionSettings settings = defaultSettings();
    const std::string full = std::string(30, 'A') + kHyou;
    memcpy(settings.myCallsign, full.data(), kCallsignCapacity);
    static char buffer[kMaxAdifHeaderBytes];
    AdifOutput out = {nullptr, buffer, sizeof buffer, 0, false};
    writeHeader(out, settings);
    const std::string header(buffer, out.used);
    EXPECT_NE(header.find(" for " + std::string(30, 'A') + "\r\n"), std::string::npos) << header;
}

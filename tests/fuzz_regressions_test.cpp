// Inputs on which a fuzz target found a fault, kept as tests so that the
// fault stays fixed. Each names the target that found it.
#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"
#include "settings/settings_file.h"
#include "test_support.h"

#ifndef _WIN32
// settings_load: a settings file whose last line ends in a lone CR. A save
// that added keys after it made the line end CR CR LF, and the value before it
// then read back with a CR of its own (a callsign or CSV path gaining a byte).
TEST(FuzzRegressions, LastLineEndingInALoneCrKeepsItsValue) {
    ScratchDir dir;
    const std::string path = dir.file("Vantrel.ini");
    auto read = [&](const char* key) {
        char value[kPathCapacity];
        readProfileString(kSettingsSection, key, value, sizeof value, path.c_str());
        return std::string(value);
    };

    writeFile(path, "[VANTREL_LOCAL_PARAMS]\r\nMY_CALLSIGN=K1ABC\r");
    ASSERT_EQ(read("MY_CALLSIGN"), "K1ABC");
    ASSERT_TRUE(writeProfileString(kSettingsSection, "TIME_ZONE", "5", path.c_str()));
    EXPECT_EQ(read("MY_CALLSIGN"), "K1ABC");
    EXPECT_EQ(read("TIME_ZONE"), "5");
    EXPECT_EQ(readFile(path), "[VANTREL_LOCAL_PARAMS]\r\nMY_CALLSIGN=K1ABC\r\nTIME_ZONE=5\r\n");

    // The same at the end of another section, before ours is added.
    writeFile(path, "[other]\r\nX=1\r");
    ASSERT_TRUE(writeProfileString(kSettingsSection, "TIME_ZONE", "5", path.c_str()));
    EXPECT_EQ(readFile(path), "[other]\r\nX=1\r\n[VANTREL_LOCAL_PARAMS]\r\nTIME_ZONE=5\r\n");

    // The file the fuzzer found, through the whole save.
    static const char kFound[] =
        "[VANTREL_LOCAL_PARAMS]\rMY_CALLSIGN=A\0B\nCPARAMS]\r\n"
        "MY_CALLSIGN=+N[VANTREL_LOCAL_PARA0CAMS]L\r";
    writeFile(path, std::string(kFound, sizeof kFound - 1));
    ConversionSettings s = defaultSettings();
    loadSettingsFrom(s, path.c_str());
    ASSERT_STREQ(s.myCallsign, "+N[VANTREL_LOCAL_PARA0CAMS]L");
    saveSettingsTo(s, path.c_str());
    ConversionSettings again = defaultSettings();
    loadSettingsFrom(again, path.c_str());
    EXPECT_STREQ(again.myCallsign, "+N[VANTREL_LOCAL_PARA0CAMS]L");
}
#endif

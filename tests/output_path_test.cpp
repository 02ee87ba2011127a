// The ADIF file's path beside the CSV logbook.
#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "conversion/output_path.h"

TEST(OutputPath, ExtensionReplacedOrAdded) {
    const struct {
        const char* csv;
        const char* adi;
    } cases[] = {
        {"C:\\temp\\logbook.csv", "C:\\temp\\logbook.adi"},
        {"log", "log.adi"},
        {"x", "x.adi"},
        {"a.b.csv", "a.b.adi"},
        {"C:\\dir\\.csv", "C:\\dir\\.adi"},
        {"C:\\my.dir\\log", "C:\\my.dir\\log.adi"},
        {"dir.d/sub.e\\log", "dir.d/sub.e\\log.adi"},
        {"/home/op/my.logs/q.csv", "/home/op/my.logs/q.adi"},
        {"C:log.txt", "C:log.adi"},
        {"C:.csv", "C:.adi"},
    };
    for (const auto& c : cases) {
        char out[kPathCapacity];
        EXPECT_TRUE(outputPathFor(c.csv, out)) << c.csv;
        EXPECT_STREQ(out, c.adi);
    }
}

TEST(OutputPath, RefusesWhatDoesNotFit) {
    char out[kPathCapacity];
    const std::string p251 = std::string(251, 'p');  // 251 + ".adi" = 255 bytes: fits
    EXPECT_TRUE(outputPathFor((p251 + ".csv").c_str(), out));
    EXPECT_EQ(strlen(out), 255u);
    const std::string p252 = std::string(252, 'p');  // no extension: 256 bytes would not fit
    EXPECT_FALSE(outputPathFor(p252.c_str(), out));
    EXPECT_STREQ(out, "");
    EXPECT_FALSE(outputPathFor((p252 + ".c").c_str(), out));
}

TEST(OutputPath, OnlyTheAdiExtensionInAnyCaseIsTheInputItself) {
    const struct {
        const char* csv;
        bool isAdi;
    } cases[] = {
        {"log.adi", true},   {"C:\\x\\LOG.ADI", true}, {"log.aDi", true},
        {"C:log.Adi", true}, {"log.adi. ", true},      {"log.adi . .", true},
        {"log.adif", false}, {"adi", false},           {"C:\\x.adi\\log", false},
        {"log.csv", false},  {"log.adx", false},       {"log.abi", false},
        {"log.ad", false},   {"log.a", false},         {". . ", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(hasAdiExtension(c.csv), c.isAdi) << c.csv;
}

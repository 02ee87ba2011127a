#include <gtest/gtest.h>
#include <string.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <filesystem>
#include <regex>
#include <string>

#include "app/converter_app.h"
#include "common/text.h"
#include "conversion/conversion_job.h"
#include "test_support.h"

namespace {

std::string outputFor(const std::string& csv) {
    char out[kPathCapacity];
    EXPECT_TRUE(outputPathFor(csv.c_str(), out)) << csv;
    return out;
}

ConversionSettings settingsFor(const std::string& csvPath) {
    ConversionSettings s = defaultSettings();
    EXPECT_TRUE(copyText(s.csvPath, csvPath.c_str()));
    return s;
}

const std::regex kFinished(R"(\d\d:\d\d:\d\d   Finished (\d+) QSOs conversion)");

int finishedCount(const std::string& status) {
    std::smatch m;
    if (!std::regex_match(status, m, kFinished)) return -1;
    return std::stoi(m[1]);
}

size_t countOf(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

}  // namespace

TEST(OutputPath, ExtensionReplacedOrAdded) {
    EXPECT_EQ(outputFor("C:\\temp\\logbook.csv"), "C:\\temp\\logbook.adi");
    EXPECT_EQ(outputFor("log"), "log.adi");
    EXPECT_EQ(outputFor("a.b.csv"), "a.b.adi");
    EXPECT_EQ(outputFor("C:\\dir\\.csv"), "C:\\dir\\.adi");
    EXPECT_EQ(outputFor("C:\\my.dir\\log"), "C:\\my.dir\\log.adi");
    EXPECT_EQ(outputFor("/home/op/my.logs/q.csv"), "/home/op/my.logs/q.adi");
    EXPECT_EQ(outputFor("C:log.txt"), "C:log.adi");
    EXPECT_EQ(outputFor("C:.csv"), "C:.adi");
}

TEST(OutputPath, RefusesWhatDoesNotFit) {
    char out[kPathCapacity];
    std::string p251 = std::string(251, 'p');  // 251 + ".adi" = 255 bytes: fits
    EXPECT_TRUE(outputPathFor((p251 + ".csv").c_str(), out));
    EXPECT_EQ(strlen(out), 255u);
    std::string p252 = std::string(252, 'p');  // no extension: 256 bytes would not fit
    EXPECT_FALSE(outputPathFor(p252.c_str(), out));
    EXPECT_STREQ(out, "");
    EXPECT_FALSE(outputPathFor((p252 + ".c").c_str(), out));
}

TEST(OutputPath, AdiExtensionIsRecognisedInAnyCase) {
    EXPECT_TRUE(hasAdiExtension("log.adi"));
    EXPECT_TRUE(hasAdiExtension("C:\\x\\LOG.ADI"));
    EXPECT_TRUE(hasAdiExtension("log.aDi"));
    EXPECT_TRUE(hasAdiExtension("log.adi. "));  // Windows drops trailing dots and blanks
    EXPECT_FALSE(hasAdiExtension("log.adif"));
    EXPECT_FALSE(hasAdiExtension("adi"));
    EXPECT_FALSE(hasAdiExtension("C:\\x.adi\\log"));
    EXPECT_FALSE(hasAdiExtension("log.csv"));
}

TEST(Conversion, ThreeLinesWithTitleRowGiveThreeRecords) {
    ScratchDir dir;
    std::string csv = dir.file("log.csv");
    writeFile(csv,
              "Year,Month,Day,Hour,Min,Call,Freq\r\n"
              "2014,12,8,3,15,TEST,14.025,,20m,CW,599,,579,,,,,,,hello,IO91\r\n"
              "2014,1,1,5,0,JA1XYZ,7.010,,40m,SSB,59,,59\r\n");
    std::string status = convertWith(settingsFor(csv));
    EXPECT_EQ(finishedCount(status), 3) << status;
    EXPECT_TRUE(isFlagSet(theApp.flags, StatusChanged));
    std::string adif = readFile(dir.file("log.adi"));
    std::string records = recordsOf(adif);
    EXPECT_EQ(countOf(records, "<EOR>\r\n"), 3u);
    // The title row converts like any other line.
    EXPECT_EQ(records.find("<CALL:4>Call\r\n<QSO_DATE:8>   -8769\r\n<TIME_ON:4>1500\r\n"), 0u);
    EXPECT_NE(records.find("<CALL:4>TEST\r\n<QSO_DATE:8>20141207\r\n<TIME_ON:4>1815\r\n"),
              std::string::npos);
    EXPECT_NE(records.find("<CALL:6>JA1XYZ\r\n<QSO_DATE:8>20131231\r\n<TIME_ON:4>2000\r\n"),
              std::string::npos);
}

TEST(Conversion, EmptyInputGivesOnlyTheHeader) {
    ScratchDir dir;
    std::string csv = dir.file("empty.csv");
    writeFile(csv, "");
    EXPECT_EQ(finishedCount(convertWith(settingsFor(csv))), 0);
    std::string adif = readFile(dir.file("empty.adi"));
    EXPECT_EQ(recordsOf(adif), "");
    EXPECT_NE(adif.find("<ADIF_VER:5>3.0.0\r\n<EOH>\r\n"), std::string::npos);
}

TEST(Conversion, LineEndingsAndEmptyLinesEachCountAsARecord) {
    ScratchDir dir;
    std::string csv = dir.file("ends.csv");
    writeFile(csv, "2014,1,1,12,0,A\n\r\n2014,1,1,12,0,B\r\n2014,1,1,12,0,C");
    EXPECT_EQ(finishedCount(convertWith(settingsFor(csv))), 4);
    std::string records = recordsOf(readFile(dir.file("ends.adi")));
    EXPECT_EQ(countOf(records, "<EOR>"), 4u);
    EXPECT_NE(records.find("<CALL:1>C\r\n"), std::string::npos);
    EXPECT_NE(records.find("<CALL:0>\r\n"), std::string::npos);
}

TEST(Conversion, LongLinesGiveOneRecordEach) {
    ScratchDir dir;
    std::string csv = dir.file("long.csv");
    // 2000 bytes of comment before the band, mode and report columns.
    std::string lines;
    for (int i = 0; i < 3; ++i) {
        lines += "2014,12,8,3,15,CALL" + std::to_string(i) + ",14.0,\"" + std::string(2000, 'c') +
                 ",x\",20m,CW,599,,579,,,,,,," + std::string(1500, 'k') + ",IO91\r\n";
    }
    writeFile(csv, lines);
    EXPECT_EQ(finishedCount(convertWith(settingsFor(csv))), 3);
    std::string records = recordsOf(readFile(dir.file("long.adi")));
    EXPECT_EQ(countOf(records, "<EOR>"), 3u);
    EXPECT_EQ(countOf(records, "<BAND:3>20m\r\n"), 3u);
    EXPECT_EQ(countOf(records, "<MY_GRIDSQUARE:4>IO91\r\n"), 3u);
    EXPECT_EQ(countOf(records, "<COMMENT:255>" + std::string(255, 'k') + "\r\n"), 3u);
}

TEST(Conversion, MissingCsvCreatesNoOutput) {
    ScratchDir dir;
    std::string status = convertWith(settingsFor(dir.file("missing.csv")));
    EXPECT_EQ(status, "Can not open CSV file");
    EXPECT_TRUE(isFlagSet(theApp.flags, StatusChanged));
    EXPECT_FALSE(fileExists(dir.file("missing.adi")));
    EXPECT_EQ(convertWith(settingsFor("")), "Can not open CSV file");
}

TEST(Conversion, AdiInputIsNeverOverwritten) {
    ScratchDir dir;
    const std::string content = "2014,1,1,12,0,A\r\n";
    for (const char* name : {"log.adi", "LOG.ADI", "log.Adi"}) {
        std::string csv = dir.file(name);
        writeFile(csv, content);
        EXPECT_EQ(convertWith(settingsFor(csv)),
                  "Can not open ADI file: it is the CSV file itself");
        EXPECT_EQ(readFile(csv), content);
    }
}

TEST(Conversion, AdiNameLinkedToTheCsvIsRefused) {
    ScratchDir dir;
    const std::string content = "2014,1,1,12,0,A\r\n";
    std::string csv = dir.file("log.csv");
    writeFile(csv, content);
    std::filesystem::create_hard_link(csv, dir.file("log.adi"));
    EXPECT_EQ(convertWith(settingsFor(csv)), "Can not open ADI file: it is the CSV file itself");
    EXPECT_EQ(readFile(csv), content);
#ifndef _WIN32
    std::string other = dir.file("other.csv");  // a symbolic link too
    writeFile(other, content);
    ASSERT_EQ(symlink(other.c_str(), dir.file("other.adi").c_str()), 0);
    EXPECT_EQ(convertWith(settingsFor(other)), "Can not open ADI file: it is the CSV file itself");
    EXPECT_EQ(readFile(other), content);
#endif
}

TEST(Conversion, UnwritableOutputIsReported) {
    ScratchDir dir;
    std::string csv = dir.file("log.csv");
    writeFile(csv, "2014,1,1,12,0,A\r\n");
    // A folder in the way of the output file.
    std::filesystem::create_directory(dir.file("log.adi"));
    EXPECT_EQ(convertWith(settingsFor(csv)), "Can not open ADI file");
}

TEST(Conversion, OutputPathTooLongIsRefused) {
    ScratchDir dir;
    // A CSV path of 253 bytes without extension: its ADIF path would need 257.
    std::string csv = dir.file(std::string(253 - dir.path().size() - 1, 'n'));
    ASSERT_EQ(csv.size(), 253u);
    writeFile(csv, "1\r\n");
    ASSERT_TRUE(fileExists(csv));
    EXPECT_EQ(convertWith(settingsFor(csv)), "Can not open ADI file");
}

#ifndef _WIN32
TEST(Conversion, ReadAndWriteErrorsAreNotReportedAsSuccess) {
    // Reading a folder fails after a successful open on Linux.
    ScratchDir dir;
    std::string folder = dir.file("folder.csv");
    std::filesystem::create_directory(folder);
    std::string status = convertWith(settingsFor(folder));
    EXPECT_EQ(status, "Can not read CSV file");

    // /dev/full accepts the open and fails every write.
    if (fileExists("/dev/full")) {
        std::string csv = dir.file("full.csv");
        writeFile(csv, "2014,1,1,12,0,A\r\n");
        std::string link = dir.file("full.adi");
        ASSERT_EQ(symlink("/dev/full", link.c_str()), 0);
        EXPECT_EQ(convertWith(settingsFor(csv)), "Can not write ADI file");
    }
}
#endif

TEST(Conversion, SharedInputCanBeOpenedByOthersMeanwhile) {
    ScratchDir dir;
    std::string csv = dir.file("shared.csv");
    writeFile(csv, "2014,1,1,12,0,A\r\n");
    FILE* other = fopen(csv.c_str(), "ab");  // another program holds it open for writing
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(finishedCount(convertWith(settingsFor(csv))), 1);
    fclose(other);
}

TEST(Conversion, StatusCountsEveryRecord) {
    ScratchDir dir;
    std::string csv = dir.file("count.csv");
    std::string lines;
    for (int i = 0; i < 2500; ++i)
        lines += "2014,1,1,12,0,A" + std::to_string(i) + "\r\n";
    writeFile(csv, lines);
    EXPECT_EQ(finishedCount(convertWith(settingsFor(csv))), 2500);
    std::string records = recordsOf(readFile(dir.file("count.adi")));
    EXPECT_EQ(countOf(records, "<EOR>"), 2500u);
    EXPECT_NE(records.find("<CALL:5>A2499\r\n"), std::string::npos);
}

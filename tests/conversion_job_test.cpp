#include <gtest/gtest.h>
#include <string.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <filesystem>
#include <string>

#include "conversion/conversion_job.h"
#include "conversion/converter_state.h"
#include "test_support.h"

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

#ifdef _WIN32
// Only Windows has share modes to get in another program's way.
TEST(Conversion, SharedInputCanBeOpenedByOthersMeanwhile) {
    ScratchDir dir;
    std::string csv = dir.file("shared.csv");
    writeFile(csv, "2014,1,1,12,0,A\r\n");
    FILE* other = fopen(csv.c_str(), "ab");  // another program holds it open for writing
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(finishedCount(convertWith(settingsFor(csv))), 1);
    fclose(other);
}
#endif

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

#ifndef _WIN32
TEST(Conversion, WriteErrorPartWayThroughALongLogbookIsReported) {
    // Far more than one output block, and a last line without LF: the write
    // fails while lines are still being read.
    ScratchDir dir;
    std::string csv;
    for (int i = 0; i < 3000; ++i)
        csv += "2014,12,8,3,15,TEST,14.025,,20m,CW,599,,579,,,,,,,a comment here,IO91\r\n";
    csv += "2014,12,8,3,16,LAST";
    writeFile(dir.file("log.csv"), csv);
    ASSERT_EQ(symlink("/dev/full", dir.file("log.adi").c_str()), 0);
    EXPECT_EQ(convertWith(settingsFor(dir.file("log.csv"))), "Can not write ADI file");
    EXPECT_EQ(readFile(dir.file("log.csv")), csv);
}
#endif

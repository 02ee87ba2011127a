#include <gtest/gtest.h>
#include <string.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <regex>
#include <string>
#include <thread>

#include "app/converter_app.h"
#include "conversion/conversion_job.h"
#include "conversion/conversion_worker.h"
#include "conversion/conversion_report.h"
#include "conversion/converter_state.h"
#include "settings/settings_file.h"
#include "test_support.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// Polls until the condition holds or a generous time has passed.
template <typename Condition>
bool eventually(Condition condition, std::chrono::milliseconds limit = 20000ms) {
    auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

bool isFinished(const std::string& status) {
    return finishedCount(status) >= 0;
}

void resetApp(const std::string& csvPath) {
    storeSettings(settingsFor(csvPath));
    clearStatus(theApp.statusText);
    theApp.flags.bits.store(0);
}

// A worker of its own for each test, stopped at the end.
class ConversionWorkerTest : public ::testing::Test {
protected:
    void SetUp() override {
        csv = dir.file("log.csv");
        adi = dir.file("log.adi");
        resetApp(csv);
        ASSERT_TRUE(startWorker());
    }
    void TearDown() override {
        stopWorker();
        theApp.flags.bits.store(0);
    }
    ScratchDir dir;
    std::string csv, adi;
};

}  // namespace

TEST_F(ConversionWorkerTest, RequestWhileIdleIsPickedUp) {
    writeFile(csv, "2014,12,8,3,15,TEST\r\n");
    requestConversion();
    ASSERT_TRUE(eventually([] { return isFinished(statusNow()); })) << statusNow();
    EXPECT_FALSE(isFlagSet(theApp.flags, ConvertRequested));
    EXPECT_TRUE(isFlagSet(theApp.flags, StatusChanged));
    EXPECT_EQ(recordCount(adi), 1u);
}

TEST_F(ConversionWorkerTest, RequestsDuringAConversionCollapseIntoOneUsingItsSettings) {
    writeFile(csv, logbookLines(300000));
    std::string second = dir.file("second.csv");
    writeFile(second, "2014,12,8,3,15,TEST\r\n");
    requestConversion();
    ASSERT_TRUE(eventually([] { return statusNow().rfind("Converted  ", 0) == 0; }));

    // Three presses while the first conversion runs, each with other settings.
    ConversionSettings s = settingsFor(second);
    for (const char* call : {"FIRST", "SECOND", "THIRD"}) {
        copyText(s.myCallsign, call);
        storeSettings(s);
        requestConversion();
    }
    const std::string secondAdi = dir.file("second.adi");
    ASSERT_TRUE(eventually([&] { return fileExists(secondAdi) && isFinished(statusNow()); }));
    EXPECT_EQ(recordCount(adi), 300000u);  // the first one ran to its end
    EXPECT_NE(readFile(secondAdi).find("by Vantrel for THIRD\r\n"), std::string::npos);

    // No further conversion follows.
    fs::remove(secondAdi);
    std::this_thread::sleep_for(200ms);
    EXPECT_FALSE(fileExists(secondAdi));
}

TEST_F(ConversionWorkerTest, StopWhileConvertingWaitsForACompleteOutput) {
    writeFile(csv, logbookLines(200000));
    requestConversion();
    ASSERT_TRUE(eventually([] { return statusNow().rfind("Converted  ", 0) == 0; }));
    stopWorker();
    EXPECT_FALSE(theApp.worker.started);
    EXPECT_TRUE(isFinished(statusNow())) << statusNow();
    EXPECT_EQ(recordCount(adi), 200000u);
}

TEST_F(ConversionWorkerTest, PendingRequestIsNeverRunAfterStop) {
    writeFile(csv, "2014,12,8,3,15,TEST\r\n");
    // Convert pressed and the program closed within the same poll.
    theApp.flags.bits.fetch_or(ConvertRequested | StopWorker);
    stopWorker();
    EXPECT_FALSE(fileExists(adi));
    EXPECT_TRUE(isFlagSet(theApp.flags, ConvertRequested));
    EXPECT_EQ(statusNow(), "");
}

TEST(ConversionWorker, RequestWithoutAWorkerSaysSo) {
    resetApp("unused.csv");
    ASSERT_FALSE(theApp.worker.started);
    requestConversion();
    EXPECT_EQ(statusNow(), "Can not start conversion");
    EXPECT_TRUE(isFlagSet(theApp.flags, StatusChanged));
    EXPECT_FALSE(isFlagSet(theApp.flags, ConvertRequested));
    theApp.flags.bits.store(0);
}

// The application object's start-up and shutdown use the settings file beside
// the test program, which this test alone touches.
TEST(ConverterAppLifecycle, StartWithoutSettingsFileThenTeardownWritesAll21Keys) {
    char ini[kPathCapacity];
    ASSERT_TRUE(settingsFilePath(ini));
    std::error_code ec;
    fs::remove(ini, ec);

    constructConverterApp();
    EXPECT_TRUE(isFlagSet(theApp.flags, RefreshForm));
    EXPECT_TRUE(theApp.worker.started);
    ConversionSettings loaded;
    snapshotSettings(loaded);
    ConversionSettings defaults = defaultSettings();
    EXPECT_EQ(memcmp(&loaded, &defaults, sizeof defaults), 0);

    // A long conversion is running when the program ends.
    ScratchDir dir;
    std::string csv = dir.file("log.csv");
    writeFile(csv, logbookLines(200000));
    copyText(loaded.csvPath, csv.c_str());
    storeSettings(loaded);
    requestConversion();
    ASSERT_TRUE(eventually([] { return statusNow().rfind("Converted  ", 0) == 0; }));
    teardownConverterApp();

    EXPECT_EQ(recordCount(dir.file("log.adi")), 200000u);
    ASSERT_TRUE(fileExists(ini));
    // The settings were saved after the conversion's last write.
    EXPECT_GE(fs::last_write_time(ini), fs::last_write_time(dir.file("log.adi")));
    std::string text = readFile(ini);
    size_t at = text.find("[VANTREL_LOCAL_PARAMS]");
    ASSERT_NE(at, std::string::npos);
    for (const SettingDescriptor& row : kSettingsTable) {
        size_t next = text.find(std::string(row.key) + "=", at);
        ASSERT_NE(next, std::string::npos) << row.key;
        at = next;
    }
    EXPECT_EQ(settingsValue(ini, "CSV_NAME"), csv);
    fs::remove(ini, ec);
    theApp.flags.bits.store(0);
}

TEST(Concurrency, StatusTextIsAlwaysWholeWhileAConversionRuns) {
    ScratchDir dir;
    std::string csv = dir.file("log.csv");
    writeFile(csv, logbookLines(50000));
    resetApp(csv);
    std::atomic<bool> done{false};
    std::thread job([&] {
        runConversion();
        done.store(true);
    });
    const std::regex counting(R"(Converted  (\d+) QSOs)");
    long last = 0;
    int reads = 0;
    bool whole = true;
    while (!done.load()) {
        std::string status = statusNow();
        std::smatch m;
        if (std::regex_match(status, m, counting)) {
            long n = std::stol(m[1]);
            if (n < last) whole = false;
            last = n;
        } else if (!status.empty() && !isFinished(status)) {
            whole = false;
        }
        ++reads;
    }
    job.join();
    EXPECT_TRUE(whole);
    EXPECT_GT(reads, 0);
    EXPECT_TRUE(isFinished(statusNow()));
}

TEST(Concurrency, SettingsChangedDuringAConversionNeverTear) {
    ScratchDir dir;
    std::string csv = dir.file("log.csv");
    std::string rows;
    for (int i = 0; i < 2000; ++i)
        rows += "2014,12,8,3,15,callF,callG\r\n";
    writeFile(csv, rows);
    ConversionSettings a = settingsFor(csv), b = settingsFor(csv);
    copyText(a.myCallsign, "ALPHAALPHAALPHA");
    copyText(b.myCallsign, "BRAVOBRAVOBRAVO");
    copyText(a.columnCallsign, "F");
    copyText(b.columnCallsign, "G");
    a.timeZone = 0;
    b.timeZone = -1;
    resetApp(csv);
    storeSettings(a);
    std::atomic<bool> stop{false};
    std::thread flipper([&] {
        for (bool useA = true; !stop.load(); useA = !useA)
            storeSettings(useA ? a : b);
    });
    for (int run = 0; run < 20; ++run) {
        runConversion();
        std::string adif = readFile(dir.file("log.adi"));
        bool isA = adif.find("for ALPHAALPHAALPHA\r\n") != std::string::npos;
        bool isB = adif.find("for BRAVOBRAVOBRAVO\r\n") != std::string::npos;
        EXPECT_NE(isA, isB) << adif.substr(0, 80);
        std::string records = recordsOf(adif);
        const std::string call = isA ? "<CALL:5>callF\r\n" : "<CALL:5>callG\r\n";
        const std::string time = isA ? "<TIME_ON:4>0315\r\n" : "<TIME_ON:4>0415\r\n";
        EXPECT_EQ(countOf(records, call), 2000u);
        EXPECT_EQ(countOf(records, time), 2000u);
    }
    stop.store(true);
    flipper.join();
}

// The window shows the report's counts when it sees the status that ends a
// conversion: the report is there before that status. Held from the window's
// side while a conversion runs, the report keeps the conversion from its
// end: the status must not say Finished until the report could be published.
TEST_F(ConversionWorkerTest, TheReportIsPublishedBeforeTheFinishedStatus) {
    writeFile(csv, logbookLines(100000));
    requestConversion();
    ASSERT_TRUE(eventually([] { return statusNow().rfind("Converted  ", 0) == 0; }));
    {
        std::lock_guard<std::mutex> hold(theApp.reportText.lock);
        // Until the conversion stands still: at the report, or finished.
        std::string last = statusNow();
        for (std::string now;; last = now) {
            std::this_thread::sleep_for(300ms);
            now = statusNow();
            if (now == last) break;
        }
        EXPECT_FALSE(isFinished(last)) << last;
    }
    ASSERT_TRUE(eventually([] { return isFinished(statusNow()); })) << statusNow();
}

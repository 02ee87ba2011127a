#include "test_support.h"

#include <string.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "conversion/conversion_job.h"
#include "conversion/conversion_report.h"
#include "conversion/converter_state.h"
#include "platform/platform.h"
#include "settings/settings_file.h"

namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
    static std::atomic<int> counter{0};
    const fs::path base = fs::temp_directory_path();
    for (;;) {
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        const fs::path candidate = base / ("vantrel-test-" + std::to_string(stamp % 1000000007) +
                                           "-" + std::to_string(counter++));
        std::error_code ec;
        if (fs::create_directory(candidate, ec)) {
            path_ = candidate.string();
            return;
        }
    }
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

std::string ScratchDir::file(const std::string& name) const {
    return (fs::path(path_) / name).string();
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool fileExists(const std::string& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

std::string settingsValue(const std::string& path, const char* key) {
    char value[kSettingValueCapacity];
    readProfileString(kSettingsSection, key, value, sizeof value, path.c_str());
    return value;
}

ConversionSettings defaultSettings() {
    ConversionSettings s;
    memset(&s, 0, sizeof s);
    applyDefaults(s);
    return s;
}

ConversionSettings settingsFor(const std::string& csvPath) {
    ConversionSettings s = defaultSettings();
    copyText(s.csvPath, csvPath.c_str());
    return s;
}

std::string statusNow() {
    char text[kStatusTextCapacity];
    readStatusText(theApp.statusText, text, sizeof text);
    return text;
}

std::string convertWith(const ConversionSettings& settings, ConversionReport* report) {
    storeSettings(settings);
    clearStatus(theApp.statusText);
    theApp.flags.bits.store(0);
    runConversion(report);
    return statusNow();
}

std::string logbookLines(int rows) {
    std::string csv;
    csv.reserve(static_cast<size_t>(rows) * 80);
    for (int i = 0; i < rows; ++i) {
        csv += "2014,12,8,3,15,JA" + std::to_string(100000 + i) +
               ",14.025,,20m,CW,599,,579,,,,,,,\"qso " + std::to_string(i) + ", 73\",PM95\r\n";
    }
    return csv;
}

std::string recordsOf(const std::string& adif) {
    const size_t eoh = adif.find("<EOH>\r\n");
    return eoh == std::string::npos ? std::string() : adif.substr(eoh + 7);
}

size_t countOf(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

size_t recordCount(const std::string& adifPath) {
    return countOf(recordsOf(readFile(adifPath)), "<EOR>\r\n");
}

int finishedCount(const std::string& status) {
    // "HH:MM:SS   Finished N QSOs conversion"
    static const char kBefore[] = "   Finished ";
    static const char kAfter[] = " QSOs conversion";
    const size_t head = 8 + sizeof kBefore - 1;
    if (status.size() <= head + sizeof kAfter - 1) return -1;
    for (size_t i = 0; i < 8; ++i) {
        const bool colon = i == 2 || i == 5;
        if (colon ? status[i] != ':' : (status[i] < '0' || status[i] > '9')) return -1;
    }
    if (status.compare(8, sizeof kBefore - 1, kBefore) != 0) return -1;
    const size_t tail = status.size() - (sizeof kAfter - 1);
    if (status.compare(tail, std::string::npos, kAfter) != 0) return -1;
    const std::string digits = status.substr(head, tail - head);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) return -1;
    return std::stoi(digits);
}

namespace {

void collectLine(void* lines, ReportLevel level, const char* text) {
    static_cast<std::vector<std::string>*>(lines)->push_back(std::string("NWD").substr(level, 1) +
                                                             " " + text);
}

}  // namespace

std::vector<std::string> reportLines(const ConversionReport& report) {
    std::vector<std::string> lines;
    forEachReportLine(report, collectLine, &lines);
    return lines;
}

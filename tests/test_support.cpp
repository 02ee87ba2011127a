#include "test_support.h"

#include <string.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "app/converter_app.h"
#include "conversion/conversion_job.h"
#include "platform/platform.h"
#include "settings/settings_file.h"

namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
    static std::atomic<int> counter{0};
    fs::path base = fs::temp_directory_path();
    for (;;) {
        fs::path candidate =
            base / ("vantrel-test-" +
                    std::to_string(static_cast<long long>(
                        std::chrono::steady_clock::now().time_since_epoch().count() % 1000000007)) +
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
    char value[kPathCapacity];
    readProfileString(kSettingsSection, key, value, sizeof value, path.c_str());
    return value;
}

ConversionSettings defaultSettings() {
    ConversionSettings s;
    memset(&s, 0, sizeof s);
    applyDefaults(s);
    return s;
}

std::string convertWith(const ConversionSettings& settings) {
    storeSettings(settings);
    {
        std::lock_guard<std::mutex> guard(theApp.statusText.lock);
        theApp.statusText.text[0] = '\0';
        theApp.statusText.convertedCount.store(-1);
    }
    theApp.flags.bits.store(0);
    runConversion();
    char text[kStatusTextCapacity];
    readStatusText(text, sizeof text);
    return text;
}

std::string recordsOf(const std::string& adif) {
    size_t eoh = adif.find("<EOH>\r\n");
    return eoh == std::string::npos ? std::string() : adif.substr(eoh + 7);
}

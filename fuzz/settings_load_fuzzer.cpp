// The settings-file loader on arbitrary file content (overlong values, lines
// without '=', odd or repeated sections, NULs, stray line ends). Every text
// field must stay NUL-terminated within its capacity. Then the record is saved
// twice, into a new file and over the fuzzed file itself, and loaded back from
// each: both must give the record again, as far as the file format can carry
// it (a text is kept up to a line end, without surrounding blanks and quotes,
// and an empty text is not loaded).
#include <stdint.h>
#include <string.h>

#include <memory>
#include <string>

#include "common/text.h"
#include "fuzz_support.h"
#include "settings/settings_file.h"

namespace {

// Defaults over a record whose spare bytes are not zero, so that a text left
// unterminated shows.
void freshSettings(ConversionSettings& s) {
    memset(&s, 0xA5, sizeof s);
    applyDefaults(s);
}

std::string fieldText(const ConversionSettings& s, const SettingDescriptor& row) {
    const char* field = static_cast<const char*>(settingField(s, row));
    return std::string(field, strnlen(field, row.capacity));
}

void checkTerminated(const ConversionSettings& s, const char* how) {
    for (const SettingDescriptor& row : kSettingsTable) {
        if (row.kind != kSettingText) continue;
        const char* field = static_cast<const char*>(settingField(s, row));
        FUZZ_CHECK(strnlen(field, row.capacity) < row.capacity,
                   std::string(how) + ": " + row.key + " is not terminated");
    }
}

// What a text looks like after a save and a load: cut at a line end, without
// the blanks and tabs around it, and without a pair of quotes around that.
std::string afterRoundTrip(std::string text) {
    size_t cut = text.find_first_of("\r\n");
    if (cut != std::string::npos) text.resize(cut);
    size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos) return std::string();
    size_t end = text.find_last_not_of(" \t");
    text = text.substr(begin, end - begin + 1);
    if (text.size() >= 2 && (text[0] == '"' || text[0] == '\'') && text.back() == text[0])
        text = text.substr(1, text.size() - 2);
    return text;
}

void checkRoundTrip(const ConversionSettings& saved, const ConversionSettings& loaded,
                    const char* how) {
    ConversionSettings defaults;
    freshSettings(defaults);
    for (const SettingDescriptor& row : kSettingsTable) {
        if (row.kind == kSettingText) {
            std::string expected = afterRoundTrip(fieldText(saved, row));
            if (expected.empty()) expected = fieldText(defaults, row);
            std::string got = fieldText(loaded, row);
            FUZZ_CHECK(got == expected, std::string(how) + ": " + row.key + " is \"" +
                                            fuzz::escaped(got) + "\", expected \"" +
                                            fuzz::escaped(expected) + "\"");
        } else {
            int32_t a, b;
            memcpy(&a, settingField(saved, row), sizeof a);
            memcpy(&b, settingField(loaded, row), sizeof b);
            FUZZ_CHECK(a == b, std::string(how) + ": " + row.key + " is " + std::to_string(b) +
                                   ", expected " + std::to_string(a));
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::clearScratch();
    const std::string fuzzed = fuzz::scratchDir() + "Vantrel.ini";
    const std::string fresh = fuzz::scratchDir() + "fresh.ini";
    fuzz::writeFile(fuzzed, data, size);

    std::unique_ptr<ConversionSettings> loaded(new ConversionSettings);
    freshSettings(*loaded);
    loadSettingsFrom(*loaded, fuzzed.c_str());
    checkTerminated(*loaded, "loaded");

    std::unique_ptr<ConversionSettings> again(new ConversionSettings);
    saveSettingsTo(*loaded, fresh.c_str());
    freshSettings(*again);
    loadSettingsFrom(*again, fresh.c_str());
    checkTerminated(*again, "new file");
    checkRoundTrip(*loaded, *again, "new file");

    saveSettingsTo(*loaded, fuzzed.c_str());
    freshSettings(*again);
    loadSettingsFrom(*again, fuzzed.c_str());
    checkTerminated(*again, "rewritten file");
    checkRoundTrip(*loaded, *again, "rewritten file");
    return 0;
}

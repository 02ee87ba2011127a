// The settings loader and saver over arbitrary settings-file text (overlong
// values, lines without '=', odd or repeated sections, NULs, stray line ends,
// byte order marks), kept in memory so that a run reaches millions of inputs.
// Every text field must stay NUL-terminated within its capacity. Then the
// record is saved over the fuzzed text itself (and, for one input in 8, into
// a new text) and loaded back: it must give the record again, as far as the
// format can carry it (a text is kept up to a line end, without surrounding
// blanks and quotes, and an empty text is not loaded). A thin check through
// the file layer, for one input in 256: loading the file and saving over it
// give what the same steps give in memory.
#include <stdint.h>
#include <string.h>

#include <memory>
#include <string>

#include "common/text.h"
#include "fuzz_support.h"
#include "platform/ini_text.h"
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

// The settings file's text in memory, read and written as the file layer
// reads and writes it.
void readFromText(const void* text, const char* key, char* value, size_t cap) {
    std::string found;
    iniValue(*static_cast<const std::string*>(text), kSettingsSection, key, found);
    const size_t n = found.size() < cap - 1 ? found.size() : cap - 1;
    memcpy(value, found.data(), n);
    value[n] = '\0';
}

bool writeToText(void* text, const char* key, const char* value) {
    iniSetValue(*static_cast<std::string*>(text), kSettingsSection, key, value);
    return true;
}

void loadText(ConversionSettings& s, const std::string& text) {
    freshSettings(s);
    loadSettingsWith(s, readFromText, &text);
}

// The same steps through the file layer: the loaded record and the text after
// a save over the file must be those of memory.
void checkFileLayer(const std::string& fuzzed, const ConversionSettings& loaded,
                    const std::string& rewritten) {
    const std::string path = fuzz::scratchDir() + "Vantrel.ini";
    fuzz::clearScratch();
    fuzz::writeFile(path, fuzzed.data(), fuzzed.size());
    std::unique_ptr<ConversionSettings> fromFile(new ConversionSettings);
    freshSettings(*fromFile);
    loadSettingsFrom(*fromFile, path.c_str());
    FUZZ_CHECK(memcmp(fromFile.get(), &loaded, sizeof loaded) == 0, "the file loads otherwise");
    saveSettingsTo(loaded, path.c_str());
    std::string text;
    FUZZ_CHECK(fuzz::readFile(path, text) && text == rewritten,
               "the file is saved otherwise: \"" + fuzz::escaped(text) + "\"");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string fuzzed(reinterpret_cast<const char*>(data), size);
    std::unique_ptr<ConversionSettings> loaded(new ConversionSettings);
    loadText(*loaded, fuzzed);
    checkTerminated(*loaded, "loaded");

    std::unique_ptr<ConversionSettings> again(new ConversionSettings);
    std::string rewritten = fuzzed;
    saveSettingsWith(*loaded, writeToText, &rewritten);
    loadText(*again, rewritten);
    checkTerminated(*again, "rewritten text");
    checkRoundTrip(*loaded, *again, "rewritten text");

    // A new text holds the same values; it depends on the input only
    // through them, so one input in 8 is enough.
    static unsigned inputs = 0;
    if (inputs % 8 == 0) {
        std::string fresh;
        saveSettingsWith(*loaded, writeToText, &fresh);
        loadText(*again, fresh);
        checkTerminated(*again, "new text");
        checkRoundTrip(*loaded, *again, "new text");
    }
    if (inputs % 256 == 0) checkFileLayer(fuzzed, *loaded, rewritten);
    ++inputs;
    return 0;
}

// Helpers shared by the unit tests: scratch folders, whole-file reads and
// writes, a conversion with given settings, and readers of its results.
#pragma once

#include <stddef.h>

#include <string>
#include <vector>

#include "settings/conversion_settings.h"

struct ConversionReport;

// A fresh folder for one test, removed with everything in it at the end.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const;

private:
    std::string path_;
};

void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);
bool fileExists(const std::string& path);

// The value of a key of the settings section in a settings file.
std::string settingsValue(const std::string& path, const char* key);

// The default settings, as the program starts with them.
ConversionSettings defaultSettings();
// The defaults with the given CSV path.
ConversionSettings settingsFor(const std::string& csvPath);

// The current status text.
std::string statusNow();

// Puts settings into the converter, clears its status and flags, and runs one
// conversion; returns the status text, and fills the report when given one.
std::string convertWith(const ConversionSettings& settings, ConversionReport* report = nullptr);

// A report's lines, each after its level's mark: "N " note, "W " warning,
// "D " detail.
std::vector<std::string> reportLines(const ConversionReport& report);

// A logbook of `rows` full lines in the default layout, row i with the
// callsign JA<100000 + i> and a quoted comment holding a comma.
std::string logbookLines(int rows);

// The records of an ADIF text: everything after the header's <EOH> line.
std::string recordsOf(const std::string& adif);
// How often part occurs in text (overlapping occurrences too).
size_t countOf(const std::string& text, const std::string& part);
// The number of records in an ADIF file.
size_t recordCount(const std::string& adifPath);

// The count of a "HH:MM:SS   Finished N QSOs conversion" status, or -1 for
// any other text.
int finishedCount(const std::string& status);

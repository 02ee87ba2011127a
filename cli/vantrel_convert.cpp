// vantrel-convert: converts CSV logbooks to ADIF from the command line, with
// the same settings file and the same conversion as the Windows program.
//
//   vantrel-convert [--settings FILE] [--columns-from-title] [CSV ...]
//   vantrel-convert --print-columns CSV

#include <stdio.h>
#include <string.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "cli/report_lines.h"
#include "cli/settings_check.h"
#include "cli/title_columns.h"
#include "common/text.h"
#include "conversion/conversion_job.h"
#include "conversion/converter_state.h"
#include "conversion/output_path.h"
#include "platform/whole_file.h"
#include "settings/settings_file.h"
#include "vantrel_version.h"

#ifdef _WIN32
#include <io.h>
#define VANTREL_ISATTY _isatty
#define VANTREL_FILENO _fileno
#else
#include <unistd.h>
#define VANTREL_ISATTY isatty
#define VANTREL_FILENO fileno
#endif

namespace {

const char kVersion[] = "vantrel-convert " VANTREL_VERSION_TEXT;

void printUsage(FILE* to) {
    fprintf(to,
            "Usage: vantrel-convert [--settings FILE] [--columns-from-title] [CSV ...]\n"
            "       vantrel-convert --print-columns CSV\n"
            "\n"
            "Converts each CSV logbook named into an ADIF file beside it (same name,\n"
            "extension .adi). With no CSV named, converts the settings' CSV_NAME.\n"
            "\n"
            "Settings are the defaults, overlaid by FILE when given, else by the\n"
            "Vantrel.ini beside this program. The settings file is never written.\n"
            "\n"
            "Options:\n"
            "  --settings FILE       read the settings from FILE (it must exist and be readable)\n"
            "  --columns-from-title  where a file's line 1 is a title row (Date, Time, Call,\n"
            "                        ...), take the columns its titles give, and the time\n"
            "                        difference and frequency unit they say, for that file\n"
            "  --print-columns CSV   print the settings lines the title row of CSV gives,\n"
            "                        ready for Vantrel.ini, and exit (1 where it has none)\n"
            "  --help                show this help and exit\n"
            "  --version             show the version and exit\n"
            "\n"
            "Notes on how a file was read (a byte order mark skipped, lines ended by CR,\n"
            "';' or TAB between fields), warnings about records that look wrong, about\n"
            "a title row whose columns differ from the settings and about unknown keys\n"
            "in the settings file go to stderr; they change neither the ADIF file nor\n"
            "the exit status.\n"
            "\n"
            "Exit status: 0 all converted, 1 a conversion failed, 2 bad usage.\n");
}

// Runs one conversion; with stderr on a terminal, shows a live count of the
// converted QSOs there, refreshed at most ten times a second.
ConversionOutcome convertWithProgress(bool live, ConversionReport& report) {
    if (!live) return runConversion(&report);
    std::atomic<bool> done{false};
    ConversionOutcome outcome = ConversionFinished;
    std::thread job([&] {
        outcome = runConversion(&report);
        done.store(true);
    });
    bool shown = false;
    while (!done.load()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (done.load()) break;
        char status[kStatusTextCapacity];
        readStatusText(theApp.statusText, status, sizeof status);
        if (status[0] != '\0') {
            fprintf(stderr, "\r%s", status);
            fflush(stderr);
            shown = true;
        }
    }
    job.join();
    if (shown) fprintf(stderr, "\r\033[K");
    return outcome;
}

}  // namespace

int main(int argc, char** argv) {
    const char* settingsPath = nullptr;
    bool columnsFromTitle = false;
    bool printColumns = false;
    int firstCsv = argc;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (strcmp(arg, "--") == 0) {
            firstCsv = i + 1;
            break;
        }
        if (strcmp(arg, "--help") == 0 || strcmp(arg, "-h") == 0) {
            printUsage(stdout);
            return 0;
        }
        if (strcmp(arg, "--version") == 0) {
            printf("%s\n", kVersion);
            return 0;
        }
        if (strcmp(arg, "--settings") == 0) {
            if (i + 1 >= argc) {
                fprintf(stderr, "vantrel-convert: --settings needs a file\n");
                printUsage(stderr);
                return 2;
            }
            settingsPath = argv[++i];
            continue;
        }
        if (strncmp(arg, "--settings=", 11) == 0) {
            settingsPath = arg + 11;
            continue;
        }
        if (strcmp(arg, "--columns-from-title") == 0) {
            columnsFromTitle = true;
            continue;
        }
        if (strcmp(arg, "--print-columns") == 0) {
            printColumns = true;
            continue;
        }
        if (arg[0] == '-' && arg[1] != '\0') {
            fprintf(stderr, "vantrel-convert: unknown option %s\n", arg);
            printUsage(stderr);
            return 2;
        }
        firstCsv = i;
        break;
    }
    for (int i = firstCsv; i < argc; ++i) {
        if (strcmp(argv[i], "--settings") == 0 || strncmp(argv[i], "--settings=", 11) == 0 ||
            strcmp(argv[i], "--columns-from-title") == 0 ||
            strcmp(argv[i], "--print-columns") == 0) {
            fprintf(stderr, "vantrel-convert: options go before the CSV files\n");
            printUsage(stderr);
            return 2;
        }
    }
    if (printColumns) {
        if (argc - firstCsv != 1) {
            fprintf(stderr, "vantrel-convert: --print-columns needs one CSV file\n");
            printUsage(stderr);
            return 2;
        }
        return printTitleColumns(stdout, stderr, argv[firstCsv]);
    }

    static ConversionSettings settings, fileSettings;
    applyDefaults(settings);
    std::string settingsText;
    char besideProgram[kPathCapacity];
    if (settingsPath != nullptr) {
        const WholeFileRead state = readWholeFile(settingsPath, settingsText);
        if (state != kWholeFileRead) {
            fprintf(stderr, "vantrel-convert: settings file %s %s\n", settingsPath,
                    state == kWholeFileMissing ? "not found" : "can not be read");
            return 2;
        }
        loadSettingsFrom(settings, settingsPath);
    } else {
        loadSettings(settings);
        settingsPath = settingsFilePath(besideProgram) &&
                               readWholeFile(besideProgram, settingsText) == kWholeFileRead
                           ? besideProgram
                           : nullptr;
    }
    if (settingsPath != nullptr) warnAboutSettings(stderr, settingsPath, settingsText);

    const bool live = VANTREL_ISATTY(VANTREL_FILENO(stderr)) != 0;
    int status = 0;
    const int csvCount = argc - firstCsv;
    for (int i = 0; i < (csvCount > 0 ? csvCount : 1); ++i) {
        fileSettings = settings;
        if (csvCount > 0) {
            const char* csv = argv[firstCsv + i];
            if (!copyText(fileSettings.csvPath, csv)) {
                fprintf(stderr, "%s: Can not open CSV file: the path is longer than %d bytes\n",
                        csv, static_cast<int>(kPathCapacity) - 1);
                status = 1;
                continue;
            }
        }
        TitleRow titles;
        readTitleRowOfFile(fileSettings.csvPath, titles);
        if (columnsFromTitle) {
            applyTitleRow(titles, fileSettings);
        } else {
            warnAboutTitleRow(stderr, fileSettings.csvPath, titles, fileSettings);
        }
        storeSettings(fileSettings);
        char outputPath[kPathCapacity];
        if (!outputPathFor(fileSettings.csvPath, outputPath)) copyText(outputPath, "(none)");

        ConversionReport report;
        const ConversionOutcome outcome = convertWithProgress(live, report);
        char text[kStatusTextCapacity];
        readStatusText(theApp.statusText, text, sizeof text);
        if (outcome == ConversionFinished) {
            printf("%s: %s\n", outputPath, text);
            fflush(stdout);
            printReport(stderr, fileSettings.csvPath, report);
        } else {
            fflush(stdout);
            fprintf(stderr, "%s: %s\n", fileSettings.csvPath, text);
            status = 1;
        }
    }
    return status;
}

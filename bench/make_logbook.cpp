// Writes a deterministic logbook of realistic rows in the default column
// layout (A..U, no title row): make_logbook [--one-column|--fields] ROWS
// With --one-column the date (2024/05/03) is in column A and the time (12:34)
// in column B, as a spreadsheet holds them, and columns C to E are empty.
// With --fields ten more columns follow, V to AE: name, QTH, grid square,
// power, QSL sent, QSL received, QSL via, state, notes, contest.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

uint32_t state = 0x12345678u;
uint32_t next() {  // xorshift32: the same logbook on every machine
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}
uint32_t pick(uint32_t n) {
    return next() % n;
}

const char* const kPrefixes[] = {"JA1", "JH2", "K1",  "W6",  "N2",  "G4", "DL1", "F5",
                                 "VK2", "ZL1", "PY2", "UA3", "EA5", "I2", "OH2", "SM5"};
const char* const kBands[] = {"160m", "80m", "40m", "30m", "20m", "17m", "15m", "12m", "10m", "6m"};
const double kBandMhz[] = {1.8, 3.5, 7.0, 10.1, 14.0, 18.068, 21.0, 24.89, 28.0, 50.0};
const char* const kModes[] = {"CW", "SSB", "FT8", "RTTY", "FM"};
const char* const kComments[] = {"",
                                 "",
                                 "",
                                 "TNX QSO",
                                 "\"nice signal, 73\"",
                                 "QSL via bureau",
                                 "\"portable, park activation\"",
                                 "first contact",
                                 "\"said \"\"hi\"\" to the club\""};
const char* const kGrids[] = {"PM95", "QM05", "IO91", "JO62", "FN31", "EM12", "PM74", "QF56"};
const char* const kNames[] = {"Taro", "Hanako", "John", "Maria", "Hans", "Ken"};
const char* const kQths[] = {"Tokyo", "Osaka", "Boston", "Berlin", "Sydney", "Nagoya"};

}  // namespace

int main(int argc, char** argv) {
    const bool oneColumn = argc > 1 && strcmp(argv[1], "--one-column") == 0;
    const bool fields = argc > 1 && strcmp(argv[1], "--fields") == 0;
    if (oneColumn || fields) {
        --argc;
        ++argv;
    }
    long rows = argc > 1 ? atol(argv[1]) : 1000000;
    static char out[1 << 16];
    setvbuf(stdout, out, _IOFBF, sizeof out);
    for (long i = 0; i < rows; ++i) {
        const int band = static_cast<int>(pick(10));
        const char* mode = kModes[pick(5)];
        const bool cw = mode[0] == 'C';
        const int year = 2010 + static_cast<int>(pick(15));
        // Drawn in the order the logbook has always had them.
        const char* grid = kGrids[pick(8)];
        const char* comment = kComments[pick(9)];
        const double mhz = kBandMhz[band] + pick(50) / 1000.0;
        char suffix[4] = {0, 0, 0, 0};
        for (int k = 2; k >= 0; --k)
            suffix[k] = static_cast<char>('A' + pick(26));
        const char* prefix = kPrefixes[pick(16)];
        const unsigned minute = pick(60), hour = pick(24), day = 1 + pick(28), month = 1 + pick(12);
        if (oneColumn) {
            printf("%d/%02u/%02u,%02u:%02u,,,", year, month, day, hour, minute);
        } else {
            printf("%d,%u,%u,%u,%u", year, month, day, hour, minute);
        }
        printf(",%s%s,%.3f,,%s,%s,%s,,%s,,,,,,,%s,%s", prefix, suffix, mhz, kBands[band], mode,
               cw ? "599" : "59", cw ? "579" : "57", comment, grid);
        if (fields) {
            printf(",%s,%s,%s,%u,%c,%c,%s,%s,%s,%s", kNames[i % 6], kQths[i % 6 + 0], kGrids[i % 8],
                   5 + static_cast<unsigned>(i % 4) * 45, "YNR"[i % 3], "YN"[i % 2],
                   i % 5 == 0 ? "JA1XYZ" : "", i % 7 == 0 ? "MA" : "",
                   i % 3 == 0 ? "\"tnx fer the call, 73\"" : "", i % 11 == 0 ? "JIDX-CW" : "");
        }
        printf("\r\n");
    }
    return 0;
}

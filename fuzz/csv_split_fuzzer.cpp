// The CSV line splitter against the reference splitter: the whole line at
// once, the same line handed over in pieces of varying size (as the
// conversion does across refills of its line buffer), and the NUL-terminated
// form. The first input byte chooses the piece sizes and the dialect (the
// separator from its two low bits, CR as the terminator from the next); the
// rest is the line.
#include <stdint.h>
#include <string.h>

#include <memory>
#include <string>

#include "conversion/csv_splitter.h"
#include "fuzz_support.h"
#include "reference_csv.h"

namespace {

// Piece sizes from a small generator seeded by the input's first byte.
struct PieceSizes {
    uint32_t state;
    uint32_t limit;
    explicit PieceSizes(unsigned char seed) : state(seed * 2654435761u + 1), limit(seed % 67 + 1) {}
    size_t next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state % limit + 1;
    }
};

// Every slot holds a NUL within its capacity, its length is that of its text,
// and it matches the reference.
void expectColumns(const CsvFields& fields, const fuzz::RefColumns& expected, const char* how,
                   const std::string& line) {
    for (size_t k = 0; k < kCsvColumns; ++k) {
        size_t length = strnlen(fields.column[k], kCsvFieldCapacity);
        FUZZ_CHECK(length < kCsvFieldCapacity,
                   std::string(how) + ": column " + std::to_string(k + 1) + " not terminated");
        FUZZ_CHECK(fields.length[k] == length, std::string(how) + ": column " +
                                                   std::to_string(k + 1) + " length " +
                                                   std::to_string(fields.length[k]) + " for " +
                                                   std::to_string(length) + " bytes");
        std::string got(fields.column[k], length);
        FUZZ_CHECK(got == expected[k], std::string(how) + ": column " + std::to_string(k + 1) +
                                           " is \"" + fuzz::escaped(got) + "\", expected \"" +
                                           fuzz::escaped(expected[k]) + "\" for line \"" +
                                           fuzz::escaped(line) + "\"");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const unsigned char seed = data[0];
    // The line in a buffer of its own size, so that any read past it is seen.
    const size_t length = size - 1;
    std::unique_ptr<unsigned char[]> bytes(new unsigned char[length + 1]);
    memcpy(bytes.get(), data + 1, length);
    bytes[length] = 0;
    const char* line = reinterpret_cast<const char*>(bytes.get());
    const std::string shown(line, length);

    static const unsigned char kSeparators[4] = {',', ',', ';', '\t'};
    const unsigned char separator = kSeparators[seed & 3];
    const unsigned char terminator = (seed & 4) != 0 ? '\r' : '\n';
    CsvDialect dialect;
    makeCsvDialect(dialect, separator, terminator, nullptr);
    const bool standard = separator == ',' && terminator == '\n';

    const fuzz::RefColumns expected = fuzz::refSplit(bytes.get(), length, separator, terminator);
    const size_t lineLength = fuzz::refLineLength(bytes.get(), length, terminator);
    std::unique_ptr<CsvFields> fields(new CsvFields);

    // All at once.
    memset(fields.get(), 0xA5, sizeof *fields);
    splitCsvLine(line, length, *fields, dialect);
    expectColumns(*fields, expected, "whole", shown);

    // In pieces: each piece is used whole, except the one holding the line's
    // LF, which is used up to and including it.
    memset(fields.get(), 0x5A, sizeof *fields);
    CsvSplitter splitter;
    beginCsvLine(splitter, *fields, dialect);
    PieceSizes pieces(seed);
    size_t at = 0;
    while (at < length) {
        size_t piece = seed == 0 ? length - at : pieces.next();
        if (piece > length - at) piece = length - at;
        size_t used = feedCsvLine(splitter, *fields, line + at, piece);
        size_t expectUsed = lineLength <= at + piece ? lineLength - at : piece;
        FUZZ_CHECK(used == expectUsed, "piece at " + std::to_string(at) + " of " +
                                           std::to_string(piece) + " bytes used " +
                                           std::to_string(used) + ", expected " +
                                           std::to_string(expectUsed));
        at += piece;
        if (at >= lineLength) break;
    }
    endCsvLine(splitter, *fields);
    expectColumns(*fields, expected, "pieces", shown);

    // NUL-terminated (',' and LF): the line ends at its first NUL.
    if (!standard) return 0;
    const size_t textLength = strlen(line);
    const fuzz::RefColumns expectedText = fuzz::refSplit(bytes.get(), textLength);
    memset(fields.get(), 0x3C, sizeof *fields);
    splitCsvLine(line, *fields);
    expectColumns(*fields, expectedText, "terminated", shown);
    return 0;
}

// The output path on arbitrary CSV paths: it always fits, is the input with
// its extension replaced by "adi" (so it lies beside the input, with the same
// folder and base name), and never names the input itself unless the input is
// one the conversion refuses.
#include <stdint.h>
#include <string.h>

#include <memory>
#include <string>

#include "conversion/output_path.h"
#include "fuzz_support.h"
#include "platform/platform.h"

namespace {

// Bytes of path before its extension's '.', or all of it when there is none:
// the drive ("X:"), then the folder through the last separator, then the base
// name; a double-byte character is one unit.
size_t stemLength(const std::string& path) {
    size_t start = path.size() >= 2 && path[1] == ':' ? 2 : 0;
    size_t dot = std::string::npos;
    for (size_t i = start; i < path.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(path[i]);
        if (isLeadByte(c) && i + 1 < path.size()) {
            ++i;
        } else if (c == '\\' || c == '/') {
            dot = std::string::npos;
        } else if (c == '.') {
            dot = i;
        }
    }
    return dot == std::string::npos ? path.size() : dot;
}

// Whether Windows takes a and b for the same file name: letter case and
// trailing blanks and dots do not count.
bool sameFileName(const std::string& a, const std::string& b) {
    auto significant = [](const std::string& s) {
        size_t n = s.size();
        while (n > 0 && (s[n - 1] == ' ' || s[n - 1] == '.'))
            --n;
        std::string out = s.substr(0, n);
        for (char& c : out)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return out;
    };
    return significant(a) == significant(b);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1024) return 0;
    // The path in a buffer of its own size, ending at its first NUL.
    std::unique_ptr<char[]> input(new char[size + 1]);
    memcpy(input.get(), data, size);
    input[size] = '\0';
    const std::string path(input.get());

    std::unique_ptr<char[]> buffer(new char[kPathCapacity]);
    memset(buffer.get(), 0x5A, kPathCapacity);
    char(&out)[kPathCapacity] = *reinterpret_cast<char(*)[kPathCapacity]>(buffer.get());
    bool fits = outputPathFor(input.get(), out);

    size_t length = strnlen(out, kPathCapacity);
    FUZZ_CHECK(length < kPathCapacity, "output path not terminated");
    const std::string expected = path.substr(0, stemLength(path)) + ".adi";
    if (expected.size() >= kPathCapacity) {
        FUZZ_CHECK(!fits && length == 0,
                   "a path that does not fit was given: " + fuzz::escaped(out));
        return 0;
    }
    FUZZ_CHECK(fits, "refused a path that fits: " + fuzz::escaped(path));
    FUZZ_CHECK(std::string(out) == expected,
               "\"" + fuzz::escaped(out) + "\", expected \"" + fuzz::escaped(expected) + "\"");
    if (sameFileName(out, path)) {
        FUZZ_CHECK(hasAdiExtension(input.get()),
                   "output names the input, which is not refused: " + fuzz::escaped(path));
    }
    return 0;
}

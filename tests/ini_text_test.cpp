// The settings file's text rules, in memory; the file layer around them; and,
// in the Windows build, the same rules held against Windows' own profile
// functions on the same files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ini_text.h"
#include "platform/platform.h"
#include "test_support.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// Files as people and programs leave them.
const std::string kHandEdited[] = {
    "[vantrel_local_params]\r\nmy_callsign=abc\r\n",
    "[ S ]\r\n  K  =  v w  \r\nK2=\tx\t\r\n",
    "; comment\r\n[S]\r\n;K=c\r\nK=v\r\n# K3=z\r\nK3=q\r\n",
    "[S]\r\nK=first\r\nK=second\r\n[s]\r\nK2=x\r\nK=third\r\n",
    "[S]\r\nK=v",
    "[S]\rK=v\rK2=w\r",
    "[S]\nK=v\nK2=w\n",
    "[S]\r\nK=a=b\r\nQ=\"quoted\"\r\nQ2='sq'\r\nQ3=\"half\r\nQ4= \"x\" \r\nQ5=\"a\"b\"\r\n",
    "[S]\r\nK=" + std::string(400, 'x') + "\r\n",
    "[S]\r\nNOEQ\r\nK=v\r\n",
    "[S\r\nK=v\r\n[T]x\r\nK=t\r\n",
    "[S]\r\nK=v\r",
    "[T]\r\nK=t\r\n\r\n[S]\r\nA=1\r\n\r\n[U]\r\nB=2\r\n",
    "",
    "\xEF\xBB\xBF[S]\r\nK=bom\r\n",  // as Notepad saves it
};
const char* const kSections[] = {"S", "s", "T", "vantrel_LOCAL_params", "Z"};
const char* const kKeys[] = {"K",  "k", "K2", "K3",   "Q",           "Q2",  "Q3", "Q4",
                             "Q5", "A", "B",  "NOEQ", "MY_CALLSIGN", "NEW", ";K"};

std::string valueIn(const std::string& text, const char* section, const char* key) {
    std::string value;
    return iniValue(text, section, key, value) ? value : "<missing>";
}

}  // namespace

TEST(IniText, ReadsAsWindowsReads) {
    const struct {
        std::string text;
        const char* section;
        const char* key;
        std::string expected;
    } cases[] = {
        {kHandEdited[0], "VANTREL_LOCAL_PARAMS", "MY_CALLSIGN", "abc"},  // any letter case
        {kHandEdited[1], "S", "K", "v w"},  // blanks around names and values dropped
        {kHandEdited[1], "S", "K2", "x"},
        {kHandEdited[2], "S", "K3", "q"},          // "# K3" is another key
        {kHandEdited[3], "S", "K", "first"},       // the first of repeated keys
        {kHandEdited[3], "S", "K2", "<missing>"},  // only the first of repeated sections
        {kHandEdited[4], "S", "K", "v"},           // no line end at the end
        {kHandEdited[5], "S", "K2", "w"},          // lines ended by a lone CR
        {kHandEdited[6], "S", "K2", "w"},          // by LF
        {kHandEdited[7], "S", "K", "a=b"},
        {kHandEdited[7], "S", "Q", "quoted"},  // a pair of quotes is dropped
        {kHandEdited[7], "S", "Q2", "sq"},
        {kHandEdited[7], "S", "Q3", "\"half"},
        {kHandEdited[7], "S", "Q4", "x"},
        {kHandEdited[7], "S", "Q5", "a\"b"},
        {kHandEdited[8], "S", "K", std::string(400, 'x')},
        {kHandEdited[9], "S", "NOEQ", "<missing>"},  // a line without '=' is no key
        {kHandEdited[9], "S", "K", "v"},             // and does not swallow the next
        {kHandEdited[10], "S", "K", "<missing>"},    // an unclosed '[' is no section
        {kHandEdited[10], "T", "K", "t"},            // bytes after ']' do not count
        {kHandEdited[11], "S", "K", "v"},
        {kHandEdited[12], "Z", "A", "<missing>"},
        {kHandEdited[14], "S", "K", "bom"},  // the byte order mark is skipped
    };
    for (const auto& c : cases)
        EXPECT_EQ(valueIn(c.text, c.section, c.key), c.expected) << c.text;
}

TEST(IniText, WritesChangeOnlyTheirLine) {
    const struct {
        std::string before;
        const char* section;
        const char* key;
        const char* value;
        std::string after;
    } cases[] = {
        {"", "S", "K", "v", "[S]\r\nK=v\r\n"},  // a new text has CR LF lines
        {"[S]\r\n  k  =  old  \r\nX=1\r\n", "S", "K", "v", "[S]\r\nK=v\r\nX=1\r\n"},
        // A new key goes after the section's last key line.
        {kHandEdited[12], "s", "K", "v",
         "[T]\r\nK=t\r\n\r\n[S]\r\nA=1\r\nK=v\r\n\r\n[U]\r\nB=2\r\n"},
        {"[S]\r\n; only a comment\r\n[T]\r\n", "S", "K", "v",
         "[S]\r\nK=v\r\n; only a comment\r\n[T]\r\n"},
        // ...of the first of repeated sections, whose first key line changes.
        {"[S]\r\nK=1\r\nK=2\r\n[S]\r\nB=2\r\n", "S", "K", "v",
         "[S]\r\nK=v\r\nK=2\r\n[S]\r\nB=2\r\n"},
        {"[S]\r\nA=1\r\n[S]\r\nB=2\r\n", "S", "K", "v", "[S]\r\nA=1\r\nK=v\r\n[S]\r\nB=2\r\n"},
        // A new section at the end; the last line gets its line end first.
        {"[T]\nB=2", "S", "K", "v", "[T]\nB=2\n[S]\nK=v\n"},
        {"[S]\r\nA=1\r", "S", "K", "v", "[S]\r\nA=1\r\nK=v\r\n"},  // CR LF file: the LF it lacks
        {"[S]\rA=1\r", "S", "K", "v", "[S]\rA=1\rK=v\r"},          // CR-only lines stay so
        {"[S\r\nK=1\r\n", "S", "K", "v", "[S\r\nK=1\r\n[S]\r\nK=v\r\n"},
        {"\xEF\xBB\xBF", "S", "K", "v", "\xEF\xBB\xBF[S]\r\nK=v\r\n"},
        {kHandEdited[14], "S", "A", "1", "\xEF\xBB\xBF[S]\r\nK=bom\r\nA=1\r\n"},
        // A value cannot add lines to the file.
        {"", "S", "K", "a\r\n[X]\r\nY=b", "[S]\r\nK=a\r\n"},
    };
    for (const auto& c : cases) {
        std::string text = c.before;
        iniSetValue(text, c.section, c.key, c.value);
        EXPECT_EQ(text, c.after) << c.before;
    }
}

TEST(IniText, KeysOfASection) {
    EXPECT_EQ(iniKeys(kHandEdited[2], "s"), (std::vector<std::string>{";K", "K", "# K3", "K3"}));
    EXPECT_EQ(iniKeys(kHandEdited[3], "S"), (std::vector<std::string>{"K", "K"}));
    EXPECT_TRUE(iniKeys(kHandEdited[3], "Z").empty());
}

#ifndef _WIN32
// Our file layer, which Windows replaces with its own.

TEST(ProfileFile, AFileThatCannotBeReadIsNeverReplaced) {
    ScratchDir dir;
    const std::string path = dir.file("Vantrel.ini");
    const std::string content = "[VANTREL_LOCAL_PARAMS]\nMY_CALLSIGN=KEEP\n";
    writeFile(path, content);
    // Readable by nobody else, in a folder anybody may write: as another user
    // the file cannot be read, though it could be replaced.
    ASSERT_EQ(chmod(dir.path().c_str(), 0777), 0);
    ASSERT_EQ(chmod(path.c_str(), 0200), 0);
    const uid_t user = geteuid();
    if (user == 0) {
        ASSERT_EQ(seteuid(65534), 0);
    }
    const bool written = writeProfileString("VANTREL_LOCAL_PARAMS", "TIME_ZONE", "5", path.c_str());
    if (user == 0) {
        ASSERT_EQ(seteuid(0), 0);
    }
    EXPECT_FALSE(written);
    chmod(path.c_str(), 0644);
    EXPECT_EQ(readFile(path), content);

    // A folder where the file should be: nothing written, no file left over.
    const std::string folder = dir.file("folder.ini");
    mkdir(folder.c_str(), 0755);
    EXPECT_FALSE(writeProfileString("S", "K", "v", folder.c_str()));
    EXPECT_FALSE(writeProfileString("S", "K", "v", dir.file("missing/Vantrel.ini").c_str()));
    EXPECT_EQ(readFile(path), content);
}

TEST(ProfileFile, ReadsCutToTheBuffer) {
    ScratchDir dir;
    const std::string path = dir.file("Vantrel.ini");
    writeFile(path, "[S]\r\nK=abcdef\r\n");
    char small[4];
    readProfileString("S", "K", small, sizeof small, path.c_str());
    EXPECT_STREQ(small, "abc");
    char guard = 'g';
    readProfileString("S", "K", &guard, 0, path.c_str());
    EXPECT_EQ(guard, 'g');
    char value[8] = "x";
    readProfileString("S", "K", value, sizeof value, dir.file("missing.ini").c_str());
    EXPECT_STREQ(value, "");
}
#else
namespace {

std::string windowsValue(const std::string& path, const char* section, const char* key) {
    char value[300];
    GetPrivateProfileStringA(section, key, "\x01", value, sizeof value, path.c_str());
    if (std::string(value) == "\x01") return "<missing>";
    return value;
}

std::string ours(const std::string& text, const char* section, const char* key) {
    const std::string value = valueIn(text, section, key);
    return value == "<missing>" ? value : value.substr(0, 299);
}

}  // namespace

// Our rules against Windows' own functions (Wine's, under Wine) on the same
// files: every key reads the same, and after a write every key reads the same
// through Windows' reader. The bytes of other lines may differ: ours keep
// them as they were, as Windows itself does; Wine rewrites the whole file.
TEST(IniText, AgreesWithWindowsProfileFunctions) {
    ScratchDir dir;
    const std::string theirs = dir.file("theirs.ini");
    const std::string mine = dir.file("mine.ini");
    char full[MAX_PATH];
    GetFullPathNameA(theirs.c_str(), MAX_PATH, full, nullptr);
    const std::string theirsFull = full;
    GetFullPathNameA(mine.c_str(), MAX_PATH, full, nullptr);
    const std::string mineFull = full;
    for (const std::string& text : kHandEdited) {
        writeFile(theirs, text);
        for (const char* section : kSections) {
            for (const char* key : kKeys) {
                EXPECT_EQ(ours(text, section, key), windowsValue(theirsFull, section, key))
                    << "[" << section << "] " << key << " in " << text;
            }
        }
        for (const char* section : {"S", "z"}) {
            for (const char* key : {"K", "NEW"}) {
                writeFile(theirs, text);
                ASSERT_TRUE(
                    WritePrivateProfileStringA(section, key, "written", theirsFull.c_str()));
                std::string changed = text;
                iniSetValue(changed, section, key, "written");
                writeFile(mine, changed);
                for (const char* s : kSections) {
                    for (const char* k : kKeys) {
                        EXPECT_EQ(windowsValue(mineFull, s, k), windowsValue(theirsFull, s, k))
                            << "[" << s << "] " << k << " after writing [" << section << "] " << key
                            << " in " << text;
                    }
                }
            }
        }
    }
    // A new file: the same bytes.
    DeleteFileA(theirsFull.c_str());
    WritePrivateProfileStringA("VANTREL_LOCAL_PARAMS", "MY_CALLSIGN", "N0CALL", theirsFull.c_str());
    WritePrivateProfileStringA("VANTREL_LOCAL_PARAMS", "TIME_ZONE", "9", theirsFull.c_str());
    std::string made;
    iniSetValue(made, "VANTREL_LOCAL_PARAMS", "MY_CALLSIGN", "N0CALL");
    iniSetValue(made, "VANTREL_LOCAL_PARAMS", "TIME_ZONE", "9");
    EXPECT_EQ(readFile(theirs), made);
}
#endif

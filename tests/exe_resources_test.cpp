// The version information and the manifest of the Windows executables, read
// back the way Windows reads them.
//
//   exe_resources_test EXE...
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "vantrel_version.h"

namespace {

std::vector<std::string> gExes;

// Windows versions from Vista to 10 and 11, by the ids their compatibility
// manifests use: without its id, Windows runs a program in a compatibility
// mode of an older version.
const struct {
    const char* windows;
    const char* id;
} kSupportedOs[] = {
    {"Vista", "{e2011457-1546-43c5-a5fe-008deee3d3f0}"},
    {"7", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"},
    {"8", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}"},
    {"8.1", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}"},
    {"10 and 11", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"},
};

std::vector<char> versionBlock(const std::string& exe) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &ignored);
    std::vector<char> block(size);
    if (size == 0 || !GetFileVersionInfoA(exe.c_str(), 0, size, block.data())) block.clear();
    return block;
}

// A text of the US English, Unicode table, as Explorer's Properties show it.
std::string versionText(std::vector<char>& block, const char* name) {
    const std::string query = std::string("\\StringFileInfo\\040904b0\\") + name;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), query.c_str(), &value, &length) || length == 0) {
        return "<missing>";
    }
    return static_cast<const char*>(value);
}

std::string manifestOf(const std::string& exe) {
    HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr) return "<not loaded>";
    std::string text = "<missing>";
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    if (loaded != nullptr) {
        text.assign(static_cast<const char*>(LockResource(loaded)), SizeofResource(module, found));
    }
    FreeLibrary(module);
    return text;
}

std::string fileName(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

TEST(ExeResources, VersionInformationCarriesTheBuildsVersion) {
    ASSERT_FALSE(gExes.empty()) << "name the executables on the command line";
    const DWORD high = MAKELONG(VANTREL_VERSION_MINOR, VANTREL_VERSION_MAJOR);
    const DWORD low = MAKELONG(0, VANTREL_VERSION_PATCH);
    for (const std::string& exe : gExes) {
        SCOPED_TRACE(exe);
        std::vector<char> block = versionBlock(exe);
        ASSERT_FALSE(block.empty()) << "no version information";

        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
        ASSERT_GE(length, sizeof *fixed);
        EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
        EXPECT_EQ(fixed->dwFileVersionMS, high);
        EXPECT_EQ(fixed->dwFileVersionLS, low);
        EXPECT_EQ(fixed->dwProductVersionMS, high);
        EXPECT_EQ(fixed->dwProductVersionLS, low);
        EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

        EXPECT_EQ(versionText(block, "FileVersion"), VANTREL_VERSION_TEXT);
        EXPECT_EQ(versionText(block, "ProductVersion"), VANTREL_VERSION_TEXT);
        EXPECT_EQ(versionText(block, "ProductName"), "Vantrel");
        EXPECT_EQ(versionText(block, "OriginalFilename"), fileName(exe));
        EXPECT_EQ(versionText(block, "LegalCopyright").rfind("Copyright (C) ", 0), 0u);
        EXPECT_NE(versionText(block, "FileDescription"), "<missing>");
    }
}

TEST(ExeResources, ManifestNamesEveryWindowsFromVistaOn) {
    ASSERT_FALSE(gExes.empty()) << "name the executables on the command line";
    for (const std::string& exe : gExes) {
        SCOPED_TRACE(exe);
        const std::string manifest = manifestOf(exe);
        for (const auto& os : kSupportedOs) {
            EXPECT_NE(manifest.find(std::string("<supportedOS Id=\"") + os.id + "\"/>"),
                      std::string::npos)
                << "Windows " << os.windows << " is not named";
        }
        EXPECT_NE(manifest.find("version=\"" VANTREL_VERSION_TEXT ".0\""), std::string::npos);
        EXPECT_NE(manifest.find("<requestedExecutionLevel level=\"asInvoker\""), std::string::npos);
    }
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i)
        gExes.push_back(argv[i]);
    return RUN_ALL_TESTS();
}

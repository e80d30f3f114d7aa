// Path normalisation against Wine's real file system and its short-name aliases.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "engine/paths.h"
#include "shell/text.h"

namespace {
const char kRoot[] = "C:\\kutest-paths";
const char kApp[] = "C:\\kutest-paths\\My Application Folder";
const char kSetup[] = "C:\\kutest-paths\\My Application Folder\\Setup Program.exe";

class PathsWin : public ::testing::Test {
  protected:
    void SetUp() override {
        Clean();
        ASSERT_TRUE(CreateDirectoryA(kRoot, nullptr)) << GetLastError();
        ASSERT_TRUE(CreateDirectoryA(kApp, nullptr)) << GetLastError();
        HANDLE file = CreateFileA(kSetup, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << GetLastError();
        CloseHandle(file);
    }
    void TearDown() override { Clean(); }
    static void Clean() {
        DeleteFileA(kSetup);
        RemoveDirectoryA(kApp);
        RemoveDirectoryA(kRoot);
    }
    static std::string ShortForm(const char *path) {
        char buffer[MAX_PATH];
        DWORD n = GetShortPathNameA(path, buffer, sizeof buffer);
        return n ? std::string(buffer, n) : std::string();
    }
};
}  // namespace

TEST_F(PathsWin, ShortAndLongForms) {
    std::string shortSetup = ShortForm(kSetup);
    ASSERT_FALSE(shortSetup.empty());
    ASSERT_NE(shortSetup, kSetup) << "no short aliases on this file system";

    char path[256] = "c:\\KUTEST-PATHS\\my application folder\\setup program.exe /X";
    ASSERT_TRUE(NormalizePath(path, sizeof path, false));
    // The last component with its argument is not found and stays as written.
    std::string shortApp = ShortForm(kApp);
    EXPECT_EQ(std::string(path), shortApp + "\\setup program.exe /X");


    std::string input = shortSetup;
    input[0] = 'c';
    char back[256];
    CopyText(back, input);
    ASSERT_TRUE(NormalizePath(back, sizeof back, true));
    EXPECT_STREQ(back, kSetup) << "long form keeps the case stored on disk";
}

TEST_F(PathsWin, TrailingBackslashWildcardsAndMissingParts) {
    struct Case {
        const char *input;
        const char *expected;
    } cases[] = {
        {"c:\\kutest-paths\\MY APPLICATION FOLDER\\", "C:\\kutest-paths\\My Application Folder\\"},
        {"C:\\KUTEST-PATHS\\My Application Folder\\*.*", "C:\\kutest-paths\\My Application Folder\\*.*"},
        {"C:\\KUTEST-PATHS\\missing\\file.txt", "C:\\kutest-paths\\missing\\file.txt"},
    };
    for (const Case &c : cases) {
        char path[256];
        CopyText(path, c.input);
        EXPECT_TRUE(NormalizePath(path, sizeof path, true)) << c.input;
        EXPECT_STREQ(path, c.expected) << c.input;
    }
}

TEST_F(PathsWin, RelativeNameTakesTheCurrentDirectory) {
    char saved[MAX_PATH];
    GetCurrentDirectoryA(sizeof saved, saved);
    ASSERT_TRUE(SetCurrentDirectoryA(kApp));
    char path[256] = "README.TXT";
    EXPECT_TRUE(NormalizePath(path, sizeof path, true));
    SetCurrentDirectoryA(saved);
    EXPECT_STREQ(path, "C:\\kutest-paths\\My Application Folder\\README.TXT");
}

TEST_F(PathsWin, TooLongPathIsLeftAlone) {
    char path[300];
    memset(path, 'a', sizeof path - 1);
    path[299] = '\0';
    memcpy(path, "C:\\", 3);
    std::string before = path;
    EXPECT_FALSE(NormalizePath(path, sizeof path, true));
    EXPECT_EQ(before, path);

    // A result that would not fit the caller's buffer is refused, and the buffer is untouched.
    char small[12];
    memset(small, 0xbd, sizeof small);
    memcpy(small, "c:\\kutest", 10);
    EXPECT_TRUE(NormalizePath(small, sizeof small, true));
    EXPECT_STREQ(small, "C:\\kutest");
}

TEST_F(PathsWin, FileExists) {
    EXPECT_TRUE(FileExists(kSetup));
    EXPECT_TRUE(FileExists(kApp));
    EXPECT_FALSE(FileExists("C:\\kutest-paths\\nothing-here"));
}

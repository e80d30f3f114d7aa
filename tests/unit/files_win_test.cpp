// File and directory removal against Wine's real file system.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "engine/files.h"
#include "engine_sandbox.h"
#include "log/model.h"
#include "shell/runstate.h"
#include "shell/text.h"

using sandbox::Exists;

namespace {
const std::string kRoot = "C:\\kutest-files";

class FilesWin : public ::testing::Test {
  protected:
    char ownPath[PATH_TEXT_SIZE] = "";
    char systemDirectory[260] = "";
    void SetUp() override {
        sandbox::RemoveTree(kRoot);
        ASSERT_TRUE(CreateDirectoryA(kRoot.c_str(), nullptr)) << GetLastError();
        runState.ownProgramPath = ownPath;
        runState.ownFileTouched = 0;
        readerResults.systemDirectory = systemDirectory;
    }
    void TearDown() override {
        sandbox::RemoveTree(kRoot);
        runState.ownProgramPath = nullptr;
        runState.ownFileTouched = 0;
        readerResults.systemDirectory = nullptr;
    }
    // Creates folders and files below the root; a name ending in a backslash is a folder.
    static void Make(const std::vector<std::string> &names) {
        for (const std::string &name : names) {
            std::string path = kRoot + "\\" + name;
            if (path.back() == '\\') {
                path.pop_back();
                ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << path << ": " << GetLastError();
            } else {
                ASSERT_TRUE(sandbox::WriteFile(path, name)) << path << ": " << GetLastError();
            }
        }
    }
    // Checks which of the names below the root exist.
    static void Expect(const std::vector<std::string> &present, const std::vector<std::string> &gone,
                       const char *context) {
        for (const std::string &name : present) EXPECT_TRUE(Exists(kRoot + "\\" + name)) << context << ": " << name << " removed";
        for (const std::string &name : gone) EXPECT_FALSE(Exists(kRoot + "\\" + name)) << context << ": " << name << " left";
    }
};
}  // namespace

TEST_F(FilesWin, OwnFileNoticedInShortFormWhateverTheDeletion) {
    Make({"Own Program Folder\\", "Own Program Folder\\Own Program.exe"});
    std::string own = kRoot + "\\Own Program Folder\\Own Program.exe";
    CopyText(ownPath, own);
    char shortForm[MAX_PATH];
    ASSERT_NE(GetShortPathNameA(own.c_str(), shortForm, sizeof shortForm), 0u) << GetLastError();
    ASSERT_STRNE(shortForm, own.c_str()) << "no short aliases";

    EXPECT_EQ(RemoveFile(shortForm), 0) << shortForm;
    EXPECT_EQ(runState.ownFileTouched, 1);
    EXPECT_FALSE(Exists(own));

    runState.ownFileTouched = 0;
    EXPECT_EQ(RemoveFile(own.c_str()), 1) << "already gone";
    EXPECT_EQ(runState.ownFileTouched, 1) << "noticed although the deletion failed";

    runState.ownFileTouched = 0;
    Make({"other.exe"});
    EXPECT_EQ(RemoveFile((kRoot + "\\other.exe").c_str()), 0);
    EXPECT_EQ(runState.ownFileTouched, 0) << "another file";
}

TEST_F(FilesWin, ReadOnlyFilesNeedTheirAttributesReset) {
    std::string path = kRoot + "\\locked.txt";
    ASSERT_TRUE(sandbox::WriteFile(path, "x", FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(RemoveFile(path.c_str()), 1) << "read-only file deleted by RemoveFile alone";
    EXPECT_TRUE(Exists(path));
    RemoveInstalledFile(path.c_str());
    EXPECT_FALSE(Exists(path));

    ASSERT_TRUE(CreateDirectoryA((kRoot + "\\ro").c_str(), nullptr));
    SetFileAttributesA((kRoot + "\\ro").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(RemoveDirectoryEntry((kRoot + "\\ro").c_str()), 0) << GetLastError();
    EXPECT_EQ(SetNormalAttributes((kRoot + "\\missing").c_str(), 0), 1);
}

TEST_F(FilesWin, HelpCompanions) {
    struct Case {
        const char *remove;
        std::vector<std::string> gone, present;
    } cases[] = {
        {"HELP.HLP", {"HELP.HLP", "HELP.GID", "HELP.FTS"}, {"HELP.TXT", "README.GID"}},
        {"guide.hlp", {"guide.hlp", "guide.GID"}, {"guide.txt"}},  // no .FTS beside it: no error
        {"README.TXT", {"README.TXT"}, {"README.GID"}},
    };
    Make({"HELP.HLP", "HELP.GID", "HELP.FTS", "HELP.TXT", "README.TXT", "README.GID", "guide.hlp", "guide.GID", "guide.txt"});
    for (const Case &c : cases) {
        RemoveInstalledFile((kRoot + "\\" + c.remove).c_str());
        Expect(c.present, c.gone, c.remove);
    }
}

TEST_F(FilesWin, SingleFileAndWildcardRemoval) {
    Make({"app.exe", "a.dll", "B.DLL", "keep.txt", "sub.dll\\", "sub.dll\\inner.dll"});
    std::string single = kRoot + "\\app.exe";
    EXPECT_EQ(RemoveOrRestoreFile(single.c_str(), "", true), 1) << "restore without a backup only removes";
    EXPECT_EQ(RemoveOrRestoreFile((kRoot + "\\*.DLL").c_str(), "C:\\nowhere.bak", true), 1);
    Expect({"keep.txt", "sub.dll", "sub.dll\\inner.dll"}, {"app.exe", "a.dll", "B.DLL"}, "*.DLL");
    EXPECT_EQ(RemoveOrRestoreFile((kRoot + "\\sub.dll\\*.*").c_str(), "", false), 1);
    Expect({"sub.dll"}, {"sub.dll\\inner.dll"}, "*.* in an ordinary folder");
}

TEST_F(FilesWin, StarDotStarSparesShortAndSystemFolders) {
    std::string windows = sandbox::WindowsDirectory();
    std::string sentinel = windows + "\\kutest-sentinel.tmp";
    ASSERT_TRUE(sandbox::WriteFile(sentinel, "x"));
    Make({"cwd.tmp"});
    std::string lowerWindows = windows;
    CharLowerA(lowerWindows.data());
    const std::string refused[] = {windows + "\\*.*", lowerWindows + "\\*.*", sandbox::SystemDirectory() + "\\*.*",
                                   "C:\\*.*", "\\*.*", "*.*", "*.tmp"};
    SetCurrentDirectoryA(kRoot.c_str());  // a pattern without a folder is not taken from here
    for (const std::string &pattern : refused)
        EXPECT_EQ(RemoveOrRestoreFile(pattern.c_str(), "", false), 0) << pattern;
    SetCurrentDirectoryA(windows.c_str());
    EXPECT_TRUE(Exists(sentinel)) << "the Windows directory was emptied";
    EXPECT_TRUE(Exists(kRoot + "\\cwd.tmp"));
    DeleteFileA(sentinel.c_str());
}

TEST_F(FilesWin, TreeWithAndWithoutFullRemoval) {
    const std::vector<std::string> tree = {"T\\", "T\\empty\\", "T\\empty\\deeper\\", "T\\a\\", "T\\a\\b\\",
                                           "T\\a\\b\\file.txt", "T\\top.txt", "T\\ro.txt"};
    Make(tree);
    SetFileAttributesA((kRoot + "\\T\\ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    RemoveDirectoryTree((kRoot + "\\T").c_str(), false);
    Expect({"T", "T\\a", "T\\a\\b", "T\\a\\b\\file.txt", "T\\top.txt", "T\\ro.txt"}, {"T\\empty"}, "empty-only");
    RemoveDirectoryTree((kRoot + "\\T").c_str(), true);
    Expect({}, {"T"}, "full");
}

TEST_F(FilesWin, DotFoldersAndSystemFoldersStay) {
    Make({"T\\", "T\\.cache\\", "T\\.cache\\entry", "T\\sys\\", "T\\sys\\driver.sys", "T\\other\\", "T\\other\\x"});
    CopyText(systemDirectory, kRoot + "\\T\\SYS");
    RemoveDirectoryTree((kRoot + "\\T").c_str(), true);
    Expect({"T", "T\\.cache\\entry", "T\\sys\\driver.sys"}, {"T\\other"}, "full removal around them");

    std::string sentinel = sandbox::WindowsDirectory() + "\\kutest-sentinel.tmp";
    ASSERT_TRUE(sandbox::WriteFile(sentinel, "x"));
    for (const std::string &folder : {sandbox::WindowsDirectory(), std::string("C:\\"), std::string("C:")})
        RemoveDirectoryTree(folder.c_str(), true);
    EXPECT_TRUE(Exists(sentinel)) << "the Windows directory was emptied";
    DeleteFileA(sentinel.c_str());
}

TEST_F(FilesWin, EntriesBeyondThePathBufferAreSkipped) {
    // A folder of 240 characters: its own entries fit, an entry with a long name does not.
    std::string deep = kRoot + "\\" + std::string(240 - kRoot.size() - 1, 'd');
    ASSERT_EQ(deep.size(), 240u);
    ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr)) << GetLastError();
    std::wstring wideDeep = L"\\\\?\\" + std::wstring(deep.begin(), deep.end());
    std::wstring longName = wideDeep + L"\\" + std::wstring(30, L'n') + L".dll";
    HANDLE file = CreateFileW(longName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << GetLastError();
    CloseHandle(file);
    ASSERT_TRUE(sandbox::WriteFile(deep + "\\s.dll", "x"));

    EXPECT_EQ(RemoveOrRestoreFile((deep + "\\*.dll").c_str(), "", false), 1);
    EXPECT_FALSE(Exists(deep + "\\s.dll"));
    EXPECT_NE(GetFileAttributesW(longName.c_str()), INVALID_FILE_ATTRIBUTES) << "long entry not skipped";

    ASSERT_TRUE(sandbox::WriteFile(deep + "\\s.txt", "x"));
    RemoveDirectoryTree(deep.c_str(), true);
    EXPECT_FALSE(Exists(deep + "\\s.txt"));
    EXPECT_TRUE(Exists(deep)) << "the skipped entry keeps its folder";
}

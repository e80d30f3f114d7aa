// Replacement of in-use files and deletion at restart, through both mechanisms, finished by a
// simulated restart (wineboot -r) that carries out what was scheduled.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>

#include "engine/files.h"
#include "engine/paths.h"
#include "engine/replace.h"
#include "engine_sandbox.h"
#include "shell/runstate.h"

using sandbox::Exists;
using sandbox::ReadFile;

namespace {
const std::string kRoot = "C:\\kutest-replace";
const char kSessionManager[] = "System\\CurrentControlSet\\Control\\Session Manager";
const char kPending[] = "PendingFileRenameOperations";

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(tolower(c)); });
    return text;
}

std::string ShortForm(const std::string &path) {
    char buffer[MAX_PATH];
    DWORD n = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
    return n ? std::string(buffer, n) : path;
}

// The raw data of the pending delayed operations (UTF-16 strings), or none.
bool ReadPending(DWORD *type, std::string *data) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    DWORD size = 0;
    bool found = RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, type, nullptr, &size) == ERROR_SUCCESS;
    if (found) {
        data->assign(size, '\0');
        found = RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, type, reinterpret_cast<BYTE *>(data->data()), &size) == ERROR_SUCCESS;
        data->resize(size);
    }
    RegCloseKey(key);
    return found;
}

// The pending operations as lower-case ANSI text, entries separated by '|'.
std::string PendingText() {
    DWORD type;
    std::string raw;
    if (!ReadPending(&type, &raw)) return "";
    std::string text;
    for (size_t i = 0; i + 1 < raw.size(); i += 2) {
        wchar_t c = static_cast<wchar_t>(static_cast<unsigned char>(raw[i]) | (static_cast<unsigned char>(raw[i + 1]) << 8));
        text += c == 0 ? '|' : static_cast<char>(c < 128 ? c : '?');
    }
    return Lower(text);
}

void WritePending(bool present, DWORD type, const std::string &data) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    if (present) RegSetValueExW(key, L"PendingFileRenameOperations", 0, type, reinterpret_cast<const BYTE *>(data.data()), static_cast<DWORD>(data.size()));
    else RegDeleteValueA(key, kPending);
    RegCloseKey(key);
}

// A process of ours that holds a file open without sharing; ended with the guard.
struct Holder {
    PROCESS_INFORMATION process{};
    bool Start(const std::string &file) {
        char exe[MAX_PATH];
        DWORD n = GetModuleFileNameA(nullptr, exe, sizeof exe);
        std::string path(exe, n);
        std::string command = "\"" + path.substr(0, path.rfind('\\') + 1) + "hold_file.exe\" \"" + file + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW | CREATE_SUSPENDED,
                            nullptr, nullptr, &startup, &process))
            return false;
        // The helper signals once it holds the file; probing the file ourselves could take it first.
        std::string name = "kutest-held-" + std::to_string(process.dwProcessId);
        HANDLE held = CreateEventA(nullptr, TRUE, FALSE, name.c_str());
        ResumeThread(process.hThread);
        HANDLE both[2] = {held, process.hProcess};
        DWORD wait = held ? WaitForMultipleObjects(2, both, FALSE, 20000) : WAIT_FAILED;
        if (held) CloseHandle(held);
        return wait == WAIT_OBJECT_0;
    }
    void Release() {
        if (!process.hProcess) return;
        TerminateProcess(process.hProcess, 0);
        WaitForSingleObject(process.hProcess, 10000);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
        process = {};
    }
    ~Holder() { Release(); }
};

// Carries out the scheduled operations as a restart would. Run from the Windows directory, where
// the restart processing renames the WININIT.INI it has done.
DWORD SimulateRestart() {
    char command[] = "wineboot.exe -r";
    std::string windows = sandbox::WindowsDirectory();
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, windows.c_str(), &startup, &process))
        return GetLastError();
    DWORD wait = WaitForSingleObject(process.hProcess, 30000);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return wait;
}

class ReplaceWin : public ::testing::Test {
  protected:
    bool pendingPresent = false;
    DWORD pendingType = 0;
    std::string pendingData;
    bool wininitPresent = false;
    std::string wininitData;
    std::string wininit = sandbox::WindowsDirectory() + "\\WININIT.INI";
    std::string wininitDone = sandbox::WindowsDirectory() + "\\wininit.bak";

    void SetUp() override {
        sandbox::RemoveTree(kRoot);
        ASSERT_TRUE(CreateDirectoryA(kRoot.c_str(), nullptr)) << GetLastError();
        pendingPresent = ReadPending(&pendingType, &pendingData);
        wininitPresent = Exists(wininit);
        if (wininitPresent) wininitData = ReadFile(wininit);
        DeleteFileA(wininit.c_str());
        runState.platform = PLATFORM_NT;
        runState.restartNeeded = 0;
        SetReplacementCounter(0);
    }
    // Whatever a failed test left scheduled is withdrawn, so that no later restart touches it.
    void TearDown() override {
        WritePending(pendingPresent, pendingType, pendingData);
        DeleteFileA(wininit.c_str());
        DeleteFileA(wininitDone.c_str());
        if (wininitPresent) sandbox::WriteFile(wininit, wininitData);
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, "WININIT.INI");  // drop any cached copy
        sandbox::RemoveTree(kRoot);
        runState.platform = 0;
        runState.restartNeeded = 0;
    }
    static std::string Make(const std::string &name, const std::string &content) {
        std::string path = kRoot + "\\" + name;
        if (!sandbox::WriteFile(path, content)) ADD_FAILURE() << "cannot write " << path << ": " << GetLastError();
        return path;
    }
};
}  // namespace

TEST_F(ReplaceWin, FileNotInUseIsCopiedBackAtOnce) {
    std::string target = Make("app.dll", "installed");
    std::string backup = Make("app.bak", "original");
    CopyBack(backup.c_str(), target.c_str());
    EXPECT_EQ(ReadFile(target), "original");
    EXPECT_FALSE(Exists(backup));
    EXPECT_EQ(ReplacementCounter(), 0) << "a replacement name was made";
    EXPECT_EQ(runState.restartNeeded, 0);
}

TEST_F(ReplaceWin, RestoreThroughRemoveOrRestoreFile) {
    std::string target = Make("restored.dll", "installed");
    std::string backup = Make("restored.bak", "original");
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(RemoveOrRestoreFile(target.c_str(), backup.c_str(), true), 1);
    EXPECT_EQ(ReadFile(target), "original");
    EXPECT_FALSE(Exists(backup));
}

TEST_F(ReplaceWin, NoReplacementNameSchedulesNothing) {
    // The target fits the working buffer, a replacement name beside it does not.
    std::string folder = kRoot + "\\" + std::string(245 - kRoot.size() - 1, 'f');
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << GetLastError();
    std::string target = folder + "\\a.dll";
    ASSERT_TRUE(sandbox::WriteFile(target, "installed"));
    std::string backup = Make("a.bak", "original");
    Holder hold;
    ASSERT_TRUE(hold.Start(target));
    CopyBack(backup.c_str(), target.c_str());
    EXPECT_EQ(ReadFile(backup), "original") << "the backup must stay";
    EXPECT_EQ(runState.restartNeeded, 0);
    EXPECT_EQ(PendingText().find("kutest-replace"), std::string::npos) << PendingText();
    hold.Release();
    EXPECT_EQ(ReadFile(target), "installed");
}

TEST_F(ReplaceWin, InUseFilesReplacedAtRestartOnNt) {
    ASSERT_TRUE(CreateDirectoryA((kRoot + "\\First Folder").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((kRoot + "\\Second Folder").c_str(), nullptr));
    std::string first = Make("First Folder\\shared library.dll", "installed 1");
    std::string second = Make("Second Folder\\b.dll", "installed 2");
    std::string taken = Make("First Folder\\~QXU0000.TMP", "someone else's");
    std::string backup1 = Make("b1.bak", "original 1");
    std::string backup2 = Make("b2.bak", "original 2");
    Holder hold1, hold2;
    ASSERT_TRUE(hold1.Start(first)) << "cannot hold " << first;
    ASSERT_TRUE(hold2.Start(second)) << "cannot hold " << second;

    CopyBack(backup1.c_str(), first.c_str());
    CopyBack(backup2.c_str(), second.c_str());
    std::string staged1 = kRoot + "\\First Folder\\~QXU0001.TMP";
    std::string staged2 = kRoot + "\\Second Folder\\~QXU0002.TMP";
    EXPECT_EQ(ReadFile(staged1), "original 1");
    EXPECT_EQ(ReadFile(staged2), "original 2");
    EXPECT_EQ(ReadFile(taken), "someone else's");
    EXPECT_FALSE(Exists(backup1) || Exists(backup2)) << "backups left";
    EXPECT_EQ(ReplacementCounter(), 3);
    EXPECT_EQ(runState.restartNeeded, 1);
    std::string pending = PendingText();
    EXPECT_NE(pending.find(Lower(ShortForm(staged1))), std::string::npos) << pending;
    EXPECT_NE(pending.find(Lower(first)), std::string::npos) << pending;
    EXPECT_NE(pending.find(Lower(ShortForm(staged2))), std::string::npos) << pending;

    hold1.Release();
    hold2.Release();
    ASSERT_EQ(SimulateRestart(), WAIT_OBJECT_0);
    EXPECT_EQ(ReadFile(first), "original 1");
    EXPECT_EQ(ReadFile(second), "original 2");
    EXPECT_FALSE(Exists(staged1) || Exists(staged2)) << "staged copies left";
    EXPECT_EQ(PendingText().find("kutest-replace"), std::string::npos) << PendingText();
}

TEST_F(ReplaceWin, InUseFileReplacedAtRestartThroughWininit) {
    runState.platform = PLATFORM_OTHER;
    ASSERT_TRUE(CreateDirectoryA((kRoot + "\\Long Folder Name").c_str(), nullptr));
    std::string target = Make("Long Folder Name\\in use.dll", "installed");
    std::string backup = Make("in use.bak", "original");
    Holder hold;
    ASSERT_TRUE(hold.Start(target));
    CopyBack(backup.c_str(), target.c_str());
    std::string staged = kRoot + "\\Long Folder Name\\~QXU0000.TMP";
    EXPECT_EQ(ReadFile(staged), "original");
    EXPECT_EQ(runState.restartNeeded, 1);
    EXPECT_EQ(PendingText().find("kutest-replace"), std::string::npos) << "NT mechanism used: " << PendingText();
    std::string expected = "[rename]\r\n" + ShortForm(target) + "=" + ShortForm(staged) + "\r\n";
    EXPECT_EQ(ReadFile(wininit), expected);

    hold.Release();
    ASSERT_EQ(SimulateRestart(), WAIT_OBJECT_0);
    EXPECT_EQ(ReadFile(target), "original");
    EXPECT_FALSE(Exists(staged));
}

TEST_F(ReplaceWin, DeleteAtRestartThroughWininit) {
    runState.platform = PLATFORM_OTHER;
    std::string a = Make("QXR1A2B.EXE", "copy");
    std::string b = Make("second.tmp", "x");
    DeleteAtRestart(a.c_str());
    EXPECT_EQ(ReadFile(wininit), "[rename]\r\nNUL=" + a + "\r\n") << "created when missing";
    DeleteAtRestart(b.c_str());
    EXPECT_EQ(ReadFile(wininit), "[rename]\r\nNUL=" + a + "\r\nNUL=" + b + "\r\n");
    EXPECT_EQ(runState.restartNeeded, 0);

    ASSERT_EQ(SimulateRestart(), WAIT_OBJECT_0);
    EXPECT_FALSE(Exists(a) || Exists(b)) << "not deleted at restart";

    ASSERT_TRUE(sandbox::WriteFile(wininit, "[rename]\r\n[other]\r\nA=B\r\n"));
    DeleteAtRestart(a.c_str());
    EXPECT_EQ(ReadFile(wininit), "[rename]\r\n[other]\r\nA=B\r\nNUL=" + a + "\r\n") << "appended at the end";

    std::string tooLong = kRoot + "\\" + std::string(260, 'x');
    std::string before = ReadFile(wininit);
    DeleteAtRestart(tooLong.c_str());
    EXPECT_EQ(ReadFile(wininit), before) << "a path too long was cut and scheduled";
}

TEST_F(ReplaceWin, DeleteAtRestartOnNt) {
    std::string a = Make("QXR1A2B.EXE", "copy");
    DeleteAtRestart(a.c_str());
    EXPECT_NE(PendingText().find(Lower(a)), std::string::npos) << PendingText();
    EXPECT_FALSE(Exists(wininit));
    EXPECT_TRUE(Exists(a));
    ASSERT_EQ(SimulateRestart(), WAIT_OBJECT_0);
    EXPECT_FALSE(Exists(a));
}

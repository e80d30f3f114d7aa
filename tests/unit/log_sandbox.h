// A sandbox for the install log reader's tests: a folder C:\KULOG, SharedDLLs values under it,
// the item model allocated and freed, and the reader run with its message box answered.
// The same code runs natively (host layer) and under Wine (real files and registry).
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "log/dump.h"
#include "log/model.h"
#include "log/reader.h"
#include "platform.h"
#include "shell/runstate.h"

namespace logtest {

constexpr char kSandbox[] = "C:\\KULOG";
constexpr char kSharedDlls[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

// What the user was shown by one reader run.
struct Shown {
    int boxes = 0;
    std::string text;
    std::string caption;
    std::string windowCaption;
};

inline std::string SystemDirectory() {
    char buffer[MAX_PATH];
    UINT n = GetSystemDirectoryA(buffer, sizeof buffer);
    return std::string(buffer, n < sizeof buffer ? n : 0);
}

inline std::string WindowsDirectory() {
    char buffer[MAX_PATH];
    UINT n = GetWindowsDirectoryA(buffer, sizeof buffer);
    return std::string(buffer, n < sizeof buffer ? n : 0);
}

// The fixture's text with %SYS% and %WIN% replaced by this machine's directories.
inline std::string Substitute(std::string text) {
    const std::pair<std::string, std::string> names[] = {{"%SYS%", SystemDirectory()}, {"%WIN%", WindowsDirectory()}};
    for (const auto &[from, to] : names) {
        for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
            text.replace(at, from.size(), to);
    }
    return text;
}

inline std::string ReadSourceFile(const std::string &relative) {
#ifdef _WIN32
    std::string path = std::string("Z:") + KU_SOURCE_DIR + "/" + relative;  // Wine's Z: is the host's root
#else
    std::string path = std::string(KU_SOURCE_DIR) + "/" + relative;
#endif
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline bool WriteFile(const std::string &path, const std::string &content) {
    HFILE file = _lcreat(path.c_str(), 0);
    if (file == HFILE_ERROR) return false;
    UINT written = _lwrite(file, content.data(), static_cast<UINT>(content.size()));
    _lclose(file);
    return written == content.size();
}

// Deletes a folder and everything in it.
inline void RemoveTree(const std::string &folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

// Creates every folder on the way to path (path itself included when it ends with a backslash).
inline void MakeFolders(const std::string &path) {
    for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
        CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
}

// Creates a file (or, for a path ending with a backslash, a folder) with its folders.
inline void MakeEntry(const std::string &path) {
    MakeFolders(path);
    if (path.back() != '\\') WriteFile(path, "x");
}

// Sets or deletes a SharedDLLs counter of the machine.
inline bool SetSharedCount(const std::string &path, bool present) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSharedDlls, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    DWORD one = 1;
    LONG status = present ? RegSetValueExA(key, path.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE *>(&one), sizeof one)
                          : RegDeleteValueA(key, path.c_str());
    RegCloseKey(key);
    return status == ERROR_SUCCESS || !present;
}

}  // namespace logtest

// RunReader - runs ReadInstallLog on a log with the background window standing by and answers
// the box it may show.
#ifdef _WIN32
#include "log_sandbox_win.h"
#else
#include "log_sandbox_host.h"
#endif

namespace logtest {

class LogTest : public ::testing::Test {
  protected:
    std::vector<std::string> sharedCounts;
    char logDirectory[LOG_DIRECTORY_SIZE];

    void SetUp() override {
#ifndef _WIN32
        UseTestRoot();
#endif
        RemoveTree(kSandbox);
        ASSERT_TRUE(CreateDirectoryA(kSandbox, nullptr)) << "cannot make the sandbox " << kSandbox;
        runState = RunState{};
        runState.platform = PLATFORM_NT;
        runState.newShell = 1;
        ASSERT_TRUE(AllocateItemModel());
    }
    void TearDown() override {
        FreeItemModel();
        for (const std::string &path : sharedCounts) SetSharedCount(path, false);
        RemoveTree(kSandbox);
    }
    void Shared(const std::string &path) {
        sharedCounts.push_back(path);
        ASSERT_TRUE(SetSharedCount(path, true)) << path;
    }
    // Writes a log and reads it; returns the dump of the model.
    std::string Read(const std::string &logPath, const std::string &text, Shown *shown = nullptr, int *result = nullptr) {
        MakeFolders(logPath);
        EXPECT_TRUE(WriteFile(logPath, text)) << logPath;
        return ReadOnly(logPath, shown, result);
    }
    // Reads a log into a freshly allocated model, as a run does.
    std::string ReadOnly(const std::string &logPath, Shown *shown = nullptr, int *result = nullptr) {
        FreeItemModel();
        EXPECT_TRUE(AllocateItemModel());
        memset(logDirectory, 0xbd, sizeof logDirectory);
        int status = -1;
        Shown seen = RunReader(logPath, logDirectory, status);
        if (shown) *shown = seen;
        if (result) *result = status;
        EXPECT_TRUE(memchr(logDirectory, '\0', sizeof logDirectory)) << "logDirectory not terminated";
        std::string dump;
        DumpItemModel(status, logDirectory, dump);
        return dump;
    }
};

// The value of one field of a dump ("name=value" lines); "<absent>" when there is no such line.
inline std::string Field(const std::string &dump, const std::string &name) {
    std::string key = name + "=";
    size_t at = dump.rfind("\n" + key);
    if (dump.compare(0, key.size(), key) == 0 && at == std::string::npos) at = 0;
    else if (at == std::string::npos) return "<absent>";
    else at++;
    size_t end = dump.find('\n', at);
    return dump.substr(at + key.size(), end - at - key.size());
}

}  // namespace logtest

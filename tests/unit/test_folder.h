// A per-test folder that exists on both flavours: a real folder under the temporary directory on
// Windows; on Linux a fresh host root whose C:\kutest\ is the folder. Emptied before and removed after.
#pragma once
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include "host/host.h"
#endif

class TestFolder {
public:
    explicit TestFolder(const std::string &name);
    ~TestFolder();
    TestFolder(const TestFolder &) = delete;
    TestFolder &operator=(const TestFolder &) = delete;

    // The Windows path of a file in the folder.
    std::string Path(const std::string &relative) const { return dir_ + relative; }
    // Writes bytes as given (write "\r\n" for CR LF); false on failure.
    bool Write(const std::string &relative, const std::string &bytes) const;

private:
    std::string dir_;   // Windows path ending in a backslash
    std::string host_;  // Linux: the host root; Windows: the folder itself
};

inline TestFolder::TestFolder(const std::string &name) {
#ifdef _WIN32
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    host_ = std::string(temp) + "kutest-" + name;
    dir_ = host_ + "\\";
    std::error_code ignored;
    std::filesystem::remove_all(host_, ignored);
    std::filesystem::create_directories(host_, ignored);
#else
    std::string pattern = (std::filesystem::temp_directory_path() / "kutest-XXXXXX").string();
    host_ = mkdtemp(pattern.data()) ? pattern : std::string();
    std::error_code ignored;
    std::filesystem::create_directories(host_ + "/C/kutest/" + name, ignored);
    HostSetRoot(host_.c_str());
    dir_ = "C:\\kutest\\" + name + "\\";
#endif
}

inline TestFolder::~TestFolder() {
    std::error_code ignored;
    if (!host_.empty()) std::filesystem::remove_all(host_, ignored);
#ifndef _WIN32
    HostSetRoot("");
#endif
}

inline bool TestFolder::Write(const std::string &relative, const std::string &bytes) const {
#ifdef _WIN32
    std::string path = Path(relative);
#else
    char mapped[1024];
    if (!HostMapPath(Path(relative).c_str(), mapped, sizeof mapped)) return false;
    std::string path = mapped;
#endif
    FILE *file = fopen(path.c_str(), "wb");
    if (!file) return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && ok;
}

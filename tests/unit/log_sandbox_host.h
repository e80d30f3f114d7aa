// Natively: the host layer's file root in a private folder, its recorded window texts and
// message boxes standing for the user.
#pragma once
#include <cstdlib>
#include <filesystem>

namespace logtest {

// One root per test process, removed when the process ends; returns its folder.
inline const std::string &TestRoot() {
    static std::string folder;
    if (!folder.empty()) return folder;
    char pattern[] = "/tmp/ku-logtest-XXXXXX";
    if (!mkdtemp(pattern)) abort();
    folder = pattern;
    std::filesystem::create_directories(folder + "/C");
    atexit([] { std::filesystem::remove_all(folder); });
    return folder;
}

inline void UseTestRoot() { HostSetRoot(TestRoot().c_str()); }

inline Shown RunReader(const std::string &logPath, char (&logDirectory)[LOG_DIRECTORY_SIZE], int &result) {
    HostResetWindows();
    HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x1000));
    SetWindowTextA(window, "before");
    runState.mainWindow = window;
    result = ReadInstallLog(logPath.c_str(), logDirectory);
    Shown shown;
    shown.boxes = HostMessageBoxCount();
    if (const HostMessageBox *box = HostLastMessageBox()) {
        shown.text = box->text;
        shown.caption = box->caption;
        EXPECT_EQ(box->owner, window) << "boxes are owned by the background window";
        EXPECT_EQ(box->type, MB_OK);
    }
    char caption[512];
    GetWindowTextA(window, caption, sizeof caption);
    shown.windowCaption = caption;
    runState.mainWindow = nullptr;
    return shown;
}

}  // namespace logtest

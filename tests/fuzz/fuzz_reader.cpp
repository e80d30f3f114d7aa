// Fuzz target for the install log reader: each input is written as a log under the host root and
// read into a fresh item model. The sandbox holds the files, counters and INI values that the
// fixture logs name, so that the seeds reach every kind of record.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "log/model.h"
#include "log/reader.h"
#include "platform.h"
#include "shell/runstate.h"

namespace {
constexpr char kLog[] = "C:\\KULOG\\APP\\INSTALL.LOG";

void WriteFile(const char *path, const uint8_t *data, size_t size) {
    HFILE file = _lcreat(path, 0);
    if (file == HFILE_ERROR) abort();
    if (size && _lwrite(file, reinterpret_cast<const char *>(data), static_cast<UINT>(size)) != size) abort();
    _lclose(file);
}

void MakeSandbox() {
    static std::string root;
    char pattern[] = "/tmp/ku-fuzz-XXXXXX";
    if (!mkdtemp(pattern)) abort();
    root = pattern;
    atexit([] { std::filesystem::remove_all(root); });
    HostSetRoot(root.c_str());
    std::filesystem::create_directories(root + "/C");
    for (const char *folder : {"C:\\KULOG", "C:\\KULOG\\APP", "C:\\KULOG\\BAK", "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM32"})
        CreateDirectoryA(folder, nullptr);
    const uint8_t x = 'x';
    for (const char *file : {"C:\\KULOG\\APP\\A.DLL", "C:\\KULOG\\APP\\B.EXE", "C:\\KULOG\\APP\\ACME.LNK",
                             "C:\\KULOG\\APP\\SHARED.DLL", "C:\\KULOG\\APP\\SAVED.DLL", "C:\\KULOG\\APP\\C.DLL",
                             "C:\\KULOG\\APP\\CONFIG.SYS", "C:\\KULOG\\APP\\NEW.INI", "C:\\KULOG\\APP\\CAF\xe9.DLL",
                             "C:\\WINDOWS\\SYSTEM32\\KUSYS1.DLL"})
        WriteFile(file, &x, 1);
    WritePrivateProfileStringA("Main", "Kept", "new", "C:\\KULOG\\APP\\APP.INI");
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs", 0, nullptr,
                        0, KEY_ALL_ACCESS, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        DWORD one = 1;
        RegSetValueExA(key, "C:\\KULOG\\APP\\SHARED.DLL", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&one), sizeof one);
        RegCloseKey(key);
    }
    HostSetDriveType('A', DRIVE_REMOVABLE);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static bool ready = (MakeSandbox(), true);
    (void)ready;
    WriteFile(kLog, data, size);
    runState = RunState{};
    runState.platform = PLATFORM_NT;
    runState.newShell = 1;
    runState.mainWindow = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x1000));
    HostResetWindows();
    if (!AllocateItemModel()) abort();
    char logDirectory[LOG_DIRECTORY_SIZE];
    ReadInstallLog(kLog, logDirectory);
    FreeItemModel();
    return 0;
}

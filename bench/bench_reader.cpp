// Benchmark of the install log reader at full list capacity: generates a log whose records fill
// every one of the twelve lists (about 50,000 records), reads it, and prints the wall time, the
// time per record, the peak memory and the share of the time that the file-existence checks and
// the repeat searches take. Prints figures; it passes or fails nothing.
//   bench_reader [--root DIR]     natively DIR stands for the drives (default: a temporary folder)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/paths.h"
#include "log/model.h"
#include "log/reader.h"
#include "platform.h"
#include "shell/runstate.h"
#include "shell/text.h"
#ifdef _WIN32
#include <psapi.h>
#else
#include <sys/resource.h>

#include <filesystem>
#endif

namespace {
using Clock = std::chrono::steady_clock;
constexpr char kBench[] = "C:\\KUBENCH";
constexpr int kCount = ITEM_CAPACITY;

double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

std::string Numbered(const char *prefix, int i, const char *suffix = "") {
    char text[64];
    FormatText(text, sizeof text, "%s%04d%s", prefix, i, suffix);
    return text;
}

void WriteFile(const std::string &path, const std::string &content) {
    HFILE file = _lcreat(path.c_str(), 0);
    if (file == HFILE_ERROR) {
        fprintf(stderr, "cannot write %s\n", path.c_str());
        exit(1);
    }
    _lwrite(file, content.data(), static_cast<UINT>(content.size()));
    _lclose(file);
}

std::string SystemDirectory() {
    char buffer[MAX_PATH];
    GetSystemDirectoryA(buffer, sizeof buffer);
    return buffer;
}

// The files, INI entries and log of the benchmark; returns the log and counts its records.
std::string Generate(int &records, std::vector<std::string> &existing) {
    std::string win32s = SystemDirectory() + "\\WIN32S";
    for (const std::string &folder : {std::string(kBench), std::string(kBench) + "\\P", win32s})
        CreateDirectoryA(folder.c_str(), nullptr);
    std::string ini;
    std::string log = "***  BENCH\r\nTitle: Benchmark INSTALLATION\r\nManufacturer: Korvel\r\n";
    records = 0;
    for (int i = 0; i < kCount; i++) {
        std::string file = std::string(kBench) + "\\P\\" + Numbered("F", i, ".DLL");
        std::string system = win32s + "\\" + Numbered("S", i, ".DLL");
        WriteFile(file, "x");
        WriteFile(system, "x");
        existing.push_back(file);
        existing.push_back(system);
        ini += Numbered("K", i, "=new\r\n");
        log += "File Copy: " + file + "\r\nBackup Copy: C:\\KUBENCH\\BAK\\" + Numbered("F", i, ".DLL") + "\r\n";
        log += "File Copy: " + system + "\r\n";
        log += "File Edit: " + file + "\r\nBackup Copy: C:\\KUBENCH\\EDIT\\" + Numbered("F", i, ".DLL") + "\r\n";
        log += "Made Dir: " + std::string(kBench) + "\\" + Numbered("D", i) + "\r\n";
        log += "INI New: \r\nINI File: " + file + "\r\n";
        log += "INI File: C:\\KUBENCH\\BENCH.INI\r\nINI Sect: S\r\nINI Item: " + Numbered("K", i) +
               "\r\nINI Val: new\r\nINI Old: old\r\n";
        log += "RegDB Key: Software\\Korvel\\" + Numbered("K", i) + "\r\nRegDB Val: v\r\nRegDB Root: 2\r\n";
        log += "RegDB Tree: Software\\Korvel\\" + Numbered("T", i) + "\r\nRegDB Root: 1\r\n";
        log += "RegDB Key: Software\\Korvel\\" + Numbered("E", i) + "\r\nRegDB Val: v\r\nRegDB Name: N\r\n"
               "RegDB Type: 2\r\nRegDB Root: 2\r\nRegDB Old: one\r\nRegDB Old: two\r\n";
        log += "Icon Group: Korvel\r\nIcon Name: " + Numbered("Icon ", i) + "\r\nIcon Cmd: C:\\KUBENCH\\A.EXE\r\n";
        log += "Execute Path: " + Numbered("C:\\KUBENCH\\RUN", i, ".EXE") + "\r\nExecute Name: Run\r\n";
        log += "Create Service: " + Numbered("KorvelService", i) + "\r\n";
        records += 12;
    }
    WriteFile("C:\\KUBENCH\\BENCH.INI", "[S]\r\n" + ini);
    // A second section repeats a tenth of every record: repeats are searched from the front.
    log += "***  UPGRADE\r\n";
    for (int i = 0; i < kCount; i += 10) {
        log += "Create Service: " + Numbered("KorvelService", i) + "\r\n";
        log += "File Copy: " + existing[2 * static_cast<size_t>(i)] + "\r\n";
        log += "Add Device: " + existing[2 * static_cast<size_t>(i)] + "\r\n";
        log += "Self-Register: " + existing[2 * static_cast<size_t>(i) + 1] + "\r\n";
        records += 4;
    }
    CreateDirectoryA("C:\\KUBENCH\\LOG", nullptr);
    WriteFile("C:\\KUBENCH\\LOG\\INSTALL.LOG", log);
    return log;
}

size_t PeakMemoryKb() {
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakWorkingSetSize / 1024;
#else
    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<size_t>(usage.ru_maxrss);
#endif
}

void Clean(const std::vector<std::string> &existing) {
    for (const std::string &path : existing) DeleteFileA(path.c_str());
    DeleteFileA("C:\\KUBENCH\\BENCH.INI");
    DeleteFileA("C:\\KUBENCH\\LOG\\INSTALL.LOG");
    RemoveDirectoryA("C:\\KUBENCH\\LOG");
    RemoveDirectoryA("C:\\KUBENCH\\P");
    RemoveDirectoryA("C:\\KUBENCH");
    RemoveDirectoryA((SystemDirectory() + "\\WIN32S").c_str());
}
}  // namespace

int main(int argc, char **argv) {
#ifndef _WIN32
    std::string root = argc == 3 && strcmp(argv[1], "--root") == 0 ? argv[2] : "";
    bool temporary = root.empty();
    if (temporary) {
        char pattern[] = "/tmp/ku-bench-XXXXXX";
        if (!mkdtemp(pattern)) return 1;
        root = pattern;
    }
    std::filesystem::create_directories(root + "/C/WINDOWS/SYSTEM32");
    HostSetRoot(root.c_str());
#else
    (void)argc;
    (void)argv;
#endif
    runState.platform = PLATFORM_NT;
    runState.newShell = 1;
    int records = 0;
    std::vector<std::string> existing;
    auto start = Clock::now();
    std::string log = Generate(records, existing);
    double generate = Seconds(start);

    if (!AllocateItemModel()) return 1;
    char logDirectory[LOG_DIRECTORY_SIZE];
    start = Clock::now();
    int result = ReadInstallLog("C:\\KUBENCH\\LOG\\INSTALL.LOG", logDirectory);
    double read = Seconds(start);

    // The existence checks the reader made: one per file record (the files and the INI files).
    start = Clock::now();
    int checks = 0;
    for (int pass = 0; pass < 2; pass++) {
        for (const std::string &path : existing) {
            if (pass == 1 && path.find("WIN32S") != std::string::npos) continue;
            checks += GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
        }
    }
    double existence = Seconds(start) * (records > 0 ? 1.0 : 0.0);

    // The present values of the changed INI entries, asked once per entry.
    start = Clock::now();
    for (int i = 0; i < kCount; i++) {
        char value[256];
        GetPrivateProfileStringA("S", Numbered("K", i).c_str(), "", value, sizeof value, "C:\\KUBENCH\\BENCH.INI");
    }
    double profile = Seconds(start);

    // The short form of every created directory, for logDirectory.
    start = Clock::now();
    for (int i = 0; i < kCount; i++) {
        char path[256];
        CopyText(path, std::string(kBench) + "\\" + Numbered("D", i) + "\\");
        NormalizePath(path, sizeof path, false);
    }
    double normalize = Seconds(start);

    // The long forms of the installed files, made once for the self-registration lines.
    start = Clock::now();
    for (const std::string &path : existing) {
        char form[256];
        CopyText(form, path);
        NormalizePath(form, sizeof form, true);
    }
    double longForms = Seconds(start);

    // The repeat searches at capacity: a search through a full list for a path it does not hold.
    start = Clock::now();
    int found = 0;
    for (int i = 0; i < 100; i++) {
        for (int32_t j = 0; j < PrivateFileList.count; j++)
            found += EqualsNoCase(PrivateFileList.items[j]->path, "C:\\KUBENCH\\P\\X9999.DLL");
    }
    double scan = Seconds(start) / 100;

    int32_t counts[] = {PrivateFileList.count, SystemFileList.count, EditedFileList.count, DirectoryList.count,
                        IniFileList.count,     IniEditList.count,    RegKeyList.count,     RegTreeList.count,
                        RegEditList.count,     IconList.count,       ProgramList.count,    ServiceList.count};
    printf("install log reader at capacity (%s)\n",
#ifdef _WIN32
           "Windows"
#else
           "native host layer"
#endif
    );
    printf("  log: %zu bytes, %d records in 2 sections, generated in %.2f s\n", log.size(), records, generate);
    printf("  result %d; list counts:", result);
    for (int32_t count : counts) printf(" %d", count);
    printf("\n");
    printf("  read: %.3f s wall, %.2f us per record\n", read, read * 1e6 / records);
    printf("  file-existence checks: %d calls take %.3f s, %.0f%% of the read\n", 2 * kCount + 2 * kCount,
           existence, read > 0 ? 100.0 * existence / read : 0.0);
    // A list filled to capacity cost n(n-1)/2 comparisons; a full scan costs n.
    double fill = scan * (kCount - 1) / 2.0;
    printf("  repeat searches: one scan of a full list %.1f us; filling one list %.3f s; all twelve about %.2f s, "
           "%.0f%% of the read\n",
           scan * 1e6, fill, 12 * fill, read > 0 ? 100.0 * 12 * fill / read : 0.0);
    printf("  INI present values: %d calls take %.3f s, %.0f%% of the read\n", kCount, profile,
           read > 0 ? 100.0 * profile / read : 0.0);
    printf("  short forms of created directories: %d calls take %.3f s, %.0f%% of the read\n", kCount, normalize,
           read > 0 ? 100.0 * normalize / read : 0.0);
    printf("  long forms of the installed files for self-registration: %zu calls take %.3f s, %.0f%% of the read\n",
           existing.size(), longForms, read > 0 ? 100.0 * longForms / read : 0.0);
    printf("  peak memory: %zu KB\n", PeakMemoryKb());
    (void)checks;
    (void)found;
    FreeItemModel();
    Clean(existing);
#ifndef _WIN32
    if (temporary) std::filesystem::remove_all(root);
#endif
    return 0;
}

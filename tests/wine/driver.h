// The end-to-end driver: starts the real KUNINST.EXE under Wine and works its windows as a user would.
//
// Every call that waits has a bound (kWaitMs unless given), so a window that never appears fails the
// test within seconds, and a wait for a window of a program that has ended returns at once; every message sent to the program under test uses a send timeout, so a hung
// program cannot stall the test. All names live in namespace e2e.
//
// Paths and sandboxes
//   ProgramUnderTest()          Windows path of the built KUNINST.EXE (env KU_PROGRAM overrides)
//   Ctl3dStandIn()              Windows path of the CTL3D32.DLL stand-in built with the tests
//   WindowsPath("/a/b")         "Z:\a\b": how Wine sees a Linux path; other paths are returned as given
//   Sandbox box;                per-test folder C:\kutest\<Suite>.<Test>\, emptied now and removed at
//                               scope end. box.Path("INSTALL.LOG"), box.AddProgram() (copies
//                               KUNINST.EXE in, returns its path), box.AddCtl3d(), box.Write(rel, text)
//                               (bytes as given: write "\r\n" for CR LF), box.MakeDir(rel)
//   WriteTextFile, ReadTextFile, PathExists, RemoveTree   plain file helpers on Windows paths
//   WineAppSettings app("KUNINST.EXE");  Wine settings for that program name, removed at scope end:
//                               app.Version("nt351") is the Windows version it sees ("nt351": NT,
//                               major 3; "win98": non-NT, major 4); app.DllOverride("ctl3d32",
//                               "native") makes a DLL beside it win over Wine's own ("" hides both)
//
// Processes
//   Process p; p.Start(exe, tail, dir)  runs "exe tail" in dir (the tail is the program's command
//                               tail as it will see it); p.SetEnv("NAME", "value") before Start adds
//                               an environment variable for the child only. A Process that goes out
//                               of scope still running is terminated (job object), so a failed
//                               assertion leaves nothing behind.
//   p.WaitExit(ms, &code)       true when the process ended within ms; code is its exit code
//   p.WaitIdle(ms)              until the program waits for input with nothing pending (its windows
//                               are painted): call it before a screenshot
//   p.Id()
//
// Windows
//   TopLevelWindows(pid)        every top-level window of the process, hidden ones included
//   WaitForWindow(pid, cls, caption, ms, visible)   first top-level window matching the class and/or
//                               caption (null = any); visible=true waits until it is shown
//   WindowText(hwnd), ClassOf(hwnd), IsShown(hwnd)
//   ItemText(dlg, id), ItemShown(dlg, id), ItemEnabled(dlg, id), ItemChecked(dlg, id)
//   ListCount(list), ListEntry(list, i), ListEntries(list), ListSelected(list, i)  (list box handle:
//                               GetDlgItem(dlg, id)); ComboEntries(combo)
//   Click(dlg, id)              presses a button (BM_CLICK sent; returns when handled). Refuses
//                               (returns false) a hidden or disabled button, as a user could not press it
//   PostClick(dlg, id)          the same, posted: use it when the click opens a modal box
//   WaitUntil(pred, ms)         polls pred every 20 ms
//
// Dialogs of the program
//   WaitForMessageBox(pid, ms)  a visible message box of the process (#32770 made only of statics and
//                               buttons); MessageBoxText(box) reads its text; AnswerMessageBox(box, IDOK)
//                               presses a button and returns once the box is gone
//   WaitForOpenFileDialog(pid, ms)  the visible common open-file dialog of the process;
//                               FileTypes(dlg) lists its filter texts; ChooseFile(dlg, path) types a
//                               name and presses Open; CancelDialog(dlg) presses Cancel
//
// Installed products (product.h): ProductInstall makes a product's changes and writes its
// INSTALL.LOG as an installer does; RegText, IniText, RemoveRegTree look at the machine afterwards.
//
// Pictures
//   Picture shot = CaptureScreen();  or CaptureWindow(hwnd) (that window's rectangle of the screen)
//   shot.At(x, y) -> Rgb {r, g, b} (printable, comparable); shot.Save("name") writes
//   <build>/screenshots/name.bmp and returns its path
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace e2e {

constexpr DWORD kWaitMs = 10000;  // the bound of every wait for a window or an exit

// Paths and sandboxes ------------------------------------------------------------------------------
std::string WindowsPath(const std::string &path);
std::string ProgramUnderTest();
std::string Ctl3dStandIn();
std::string ScreenshotDir();

bool PathExists(const std::string &path);
bool WriteTextFile(const std::string &path, const std::string &bytes);
std::string ReadTextFile(const std::string &path);  // empty when it cannot be read
bool RemoveTree(const std::string &path);           // a file or a folder with everything in it

class Sandbox {
public:
    Sandbox();  // named after the running test
    explicit Sandbox(const std::string &name);
    ~Sandbox();
    Sandbox(const Sandbox &) = delete;
    Sandbox &operator=(const Sandbox &) = delete;

    const std::string &Dir() const { return dir_; }  // ends with a backslash
    std::string Path(const std::string &relative) const { return dir_ + relative; }
    std::string AddProgram(const std::string &name = "KUNINST.EXE") const;  // empty on failure
    std::string AddCtl3d() const;                                             // empty on failure
    bool Write(const std::string &relative, const std::string &bytes) const;
    bool MakeDir(const std::string &relative) const;

private:
    std::string dir_;
};

class WineAppSettings {
public:
    explicit WineAppSettings(const std::string &exeName);
    ~WineAppSettings();
    WineAppSettings(const WineAppSettings &) = delete;
    WineAppSettings &operator=(const WineAppSettings &) = delete;
    bool Version(const std::string &version);
    bool DllOverride(const std::string &dll, const std::string &order);

private:
    std::string key_;
};

// Processes ----------------------------------------------------------------------------------------
class Process {
public:
    Process() = default;
    ~Process();
    Process(const Process &) = delete;
    Process &operator=(const Process &) = delete;

    void SetEnv(const std::string &name, const std::string &value);
    bool Start(const std::string &exe, const std::string &tail, const std::string &dir);
    bool WaitExit(DWORD ms, DWORD *exitCode);
    bool WaitIdle(DWORD ms = kWaitMs);
    DWORD Id() const { return id_; }
    HANDLE Handle() const { return process_; }

private:
    HANDLE process_ = nullptr;
    HANDLE job_ = nullptr;
    DWORD id_ = 0;
    std::vector<std::pair<std::string, std::string>> env_;
};

// Windows ------------------------------------------------------------------------------------------
std::vector<HWND> TopLevelWindows(DWORD pid);
HWND WaitForWindow(DWORD pid, const char *cls, const char *caption, DWORD ms = kWaitMs,
                   bool visible = true);
bool WaitUntil(const std::function<bool()> &pred, DWORD ms = kWaitMs);

std::string WindowText(HWND hwnd);
std::string ClassOf(HWND hwnd);
bool IsShown(HWND hwnd);

std::string ItemText(HWND dlg, int id);
bool ItemShown(HWND dlg, int id);
bool ItemEnabled(HWND dlg, int id);
bool ItemChecked(HWND dlg, int id);

int ListCount(HWND list);
std::string ListEntry(HWND list, int index);
std::vector<std::string> ListEntries(HWND list);
bool ListSelected(HWND list, int index);
std::vector<std::string> ComboEntries(HWND combo);

bool Click(HWND dlg, int id);
bool PostClick(HWND dlg, int id);

// Dialogs of the program ---------------------------------------------------------------------------
HWND WaitForMessageBox(DWORD pid, DWORD ms = kWaitMs);
std::string MessageBoxText(HWND box);
bool AnswerMessageBox(HWND box, int buttonId);

HWND WaitForOpenFileDialog(DWORD pid, DWORD ms = kWaitMs);
std::vector<std::string> FileTypes(HWND dlg);
bool ChooseFile(HWND dlg, const std::string &path);
bool CancelDialog(HWND dlg);

// Pictures -----------------------------------------------------------------------------------------
struct Rgb {
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb &o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb &o) const { return !(*this == o); }
};
std::ostream &operator<<(std::ostream &out, const Rgb &c);

struct Picture {
    int left = 0, top = 0;  // screen position of the picture's first pixel
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;  // top-down rows, 0x00RRGGBB
    Rgb At(int x, int y) const;    // picture coordinates; black outside
    std::string Save(const std::string &name) const;  // <build>/screenshots/name.bmp, empty on failure
};
Picture CaptureScreen();
Picture CaptureWindow(HWND hwnd);

}  // namespace e2e

// The end-to-end driver (see driver.h for the API).
#include "driver.h"

#include "product.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

namespace e2e {

namespace {

constexpr UINT kSendTimeoutMs = 5000;  // a message to the program under test never blocks longer
constexpr DWORD kPollMs = 20;
constexpr int kMessageBoxTextId = 0xFFFF;  // the text control of a system message box
constexpr int kFileTypeComboId = 0x470;    // cmb1 of the common file dialogs
constexpr int kFileNameComboId = 0x47C;    // cmb13 (explorer-style file name)
constexpr int kFileNameEditId = 0x480;     // edt1 (old-style file name)

LRESULT SendTimed(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(hwnd, msg, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result))
        return -1;
    return static_cast<LRESULT>(result);
}

LRESULT SendTimedW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(hwnd, msg, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result))
        return -1;
    return static_cast<LRESULT>(result);
}

std::string Narrow(const wchar_t *text) {
    int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return std::string();
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, &out[0], size, nullptr, nullptr);
    out.resize(static_cast<size_t>(size - 1));
    return out;
}

// Reads the text of a list or combo entry through the wide message: Wine marshals the text of
// LB_GETTEXT / CB_GETLBTEXT across processes for the W form.
std::string EntryText(HWND control, UINT lenMsg, UINT textMsg, int index) {
    LRESULT length = SendTimedW(control, lenMsg, static_cast<WPARAM>(index), 0);
    if (length < 0) return std::string();
    std::vector<wchar_t> text(static_cast<size_t>(length) + 1, L'\0');
    if (SendTimedW(control, textMsg, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data())) < 0)
        return std::string();
    return Narrow(text.data());
}

std::string Env(const char *name) {
    char value[1024];
    DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return (n > 0 && n < sizeof value) ? std::string(value, n) : std::string();
}

std::string WithBackslash(std::string path) {
    if (!path.empty() && path.back() != '\\') path += '\\';
    return path;
}

std::string SandboxName() {
    const testing::TestInfo *info = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "adhoc";
    for (char &c : name)
        if (c == '/' || c == '\\' || c == ':' || c == ' ') c = '_';
    return name;
}

bool MakeDirs(const std::string &path) {
    std::string dir = WithBackslash(path);
    for (size_t i = 3; i < dir.size(); ++i) {
        if (dir[i] != '\\') continue;
        std::string part = dir.substr(0, i);
        if (!CreateDirectoryA(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
    }
    return true;
}

struct Match {
    DWORD pid;
    std::vector<HWND> *found;
};

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM param) {
    Match *match = reinterpret_cast<Match *>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == match->pid) match->found->push_back(hwnd);
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM param) {
    reinterpret_cast<std::vector<HWND> *>(param)->push_back(hwnd);
    return TRUE;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

bool IsMessageBox(HWND hwnd) {
    if (ClassOf(hwnd) != "#32770" || !GetDlgItem(hwnd, kMessageBoxTextId)) return false;
    for (HWND child : Children(hwnd)) {
        std::string cls = ClassOf(child);
        if (cls != "Static" && cls != "Button") return false;
    }
    return true;
}

bool IsOpenFileDialog(HWND hwnd) {
    return ClassOf(hwnd) == "#32770" && GetDlgItem(hwnd, kFileTypeComboId) != nullptr;
}

// Waits until pred finds something or the process has ended: a program that is gone shows nothing more.
HWND WaitWhileRunning(DWORD pid, DWORD ms, const std::function<HWND()> &find) {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    HWND found = nullptr;
    WaitUntil(
        [&] {
            found = find();
            return found || (process && WaitForSingleObject(process, 0) == WAIT_OBJECT_0);
        },
        ms);
    if (process) CloseHandle(process);
    return found;
}

HWND WaitForDialog(DWORD pid, DWORD ms, bool (*kind)(HWND)) {
    return WaitWhileRunning(pid, ms, [&]() -> HWND {
        for (HWND hwnd : TopLevelWindows(pid))
            if (IsWindowVisible(hwnd) && kind(hwnd)) return hwnd;
        return nullptr;
    });
}

}  // namespace

// Paths and sandboxes ------------------------------------------------------------------------------

std::string WindowsPath(const std::string &path) {
    if (path.empty() || path[0] != '/') return path;
    std::string out = "Z:" + path;
    for (char &c : out)
        if (c == '/') c = '\\';
    return out;
}

std::string ProgramUnderTest() {
    std::string over = Env("KU_PROGRAM");
    return WindowsPath(over.empty() ? KU_PROGRAM_FILE : over);
}

std::string Ctl3dStandIn() { return WindowsPath(KU_CTL3D_FILE); }

std::string ScreenshotDir() { return WithBackslash(WindowsPath(KU_SCREENSHOT_DIR)); }

bool PathExists(const std::string &path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool WriteTextFile(const std::string &path, const std::string &bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

std::string ReadTextFile(const std::string &path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    std::string text;
    char block[4096];
    DWORD got = 0;
    while (ReadFile(file, block, sizeof block, &got, nullptr) && got > 0) text.append(block, got);
    CloseHandle(file);
    return text;
}

bool RemoveTree(const std::string &path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return true;
    SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return DeleteFileA(path.c_str()) != 0;
    WIN32_FIND_DATAA found;
    std::string dir = WithBackslash(path);
    HANDLE find = FindFirstFileA((dir + "*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (strcmp(found.cFileName, ".") && strcmp(found.cFileName, "..")) RemoveTree(dir + found.cFileName);
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    return RemoveDirectoryA(path.c_str()) != 0;
}

Sandbox::Sandbox() : Sandbox(SandboxName()) {}

Sandbox::Sandbox(const std::string &name) : dir_("C:\\kutest\\" + name + "\\") {
    RemoveTree(dir_.substr(0, dir_.size() - 1));
    MakeDirs(dir_);
}

Sandbox::~Sandbox() { RemoveTree(dir_.substr(0, dir_.size() - 1)); }

std::string Sandbox::AddProgram(const std::string &name) const {
    std::string target = Path(name);
    return CopyFileA(ProgramUnderTest().c_str(), target.c_str(), FALSE) ? target : std::string();
}

std::string Sandbox::AddCtl3d() const {
    std::string target = Path("CTL3D32.DLL");
    return CopyFileA(Ctl3dStandIn().c_str(), target.c_str(), FALSE) ? target : std::string();
}

bool Sandbox::Write(const std::string &relative, const std::string &bytes) const {
    return WriteTextFile(Path(relative), bytes);
}

bool Sandbox::MakeDir(const std::string &relative) const { return MakeDirs(Path(relative)); }

WineAppSettings::WineAppSettings(const std::string &exeName) : key_("Software\\Wine\\AppDefaults\\" + exeName) {
    RegDeleteKeyA(HKEY_CURRENT_USER, (key_ + "\\DllOverrides").c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, key_.c_str());
}

WineAppSettings::~WineAppSettings() {
    RegDeleteKeyA(HKEY_CURRENT_USER, (key_ + "\\DllOverrides").c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, key_.c_str());
}

bool WineAppSettings::Version(const std::string &version) {
    return SetRegText(HKEY_CURRENT_USER, key_, "Version", version);
}

bool WineAppSettings::DllOverride(const std::string &dll, const std::string &order) {
    return SetRegText(HKEY_CURRENT_USER, key_ + "\\DllOverrides", dll, order);
}

// Processes ----------------------------------------------------------------------------------------

Process::~Process() {
    if (process_) {
        if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_, 1);
            WaitForSingleObject(process_, kWaitMs);
        }
        CloseHandle(process_);
    }
    if (job_) CloseHandle(job_);  // kills whatever the program started, too
}

void Process::SetEnv(const std::string &name, const std::string &value) { env_.emplace_back(name, value); }

bool Process::Start(const std::string &exe, const std::string &tail, const std::string &dir) {
    std::string command = exe.find(' ') == std::string::npos ? exe : "\"" + exe + "\"";
    if (!tail.empty()) command += " " + tail;
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');

    // The child inherits this process's environment: set the extra variables around the start only.
    std::vector<std::pair<std::string, std::string>> saved;
    for (const auto &var : env_) {
        saved.emplace_back(var.first, Env(var.first.c_str()));
        SetEnvironmentVariableA(var.first.c_str(), var.second.c_str());
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    BOOL started = CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                                  nullptr, dir.empty() ? nullptr : dir.c_str(), &startup, &info);
    for (const auto &var : saved)
        SetEnvironmentVariableA(var.first.c_str(), var.second.empty() ? nullptr : var.second.c_str());
    if (!started) return false;

    job_ = CreateJobObjectA(nullptr, nullptr);
    if (job_) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &limits, sizeof limits);
        AssignProcessToJobObject(job_, info.hProcess);
    }
    ResumeThread(info.hThread);
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    id_ = info.dwProcessId;
    return true;
}

bool Process::WaitExit(DWORD ms, DWORD *exitCode) {
    if (!process_ || WaitForSingleObject(process_, ms) != WAIT_OBJECT_0) return false;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    if (exitCode) *exitCode = code;
    return true;
}

bool Process::WaitIdle(DWORD ms) {
    if (!process_ || WaitForInputIdle(process_, ms) != 0) return false;
    // Idle means the queue is empty; the X server shows the picture a moment later.
    Sleep(100);
    return true;
}

// Windows ------------------------------------------------------------------------------------------

std::vector<HWND> TopLevelWindows(DWORD pid) {
    std::vector<HWND> found;
    Match match = {pid, &found};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&match));
    return found;
}

bool WaitUntil(const std::function<bool()> &pred, DWORD ms) {
    DWORD start = GetTickCount();
    for (;;) {
        if (pred()) return true;
        if (GetTickCount() - start >= ms) return false;
        Sleep(kPollMs);
    }
}

HWND WaitForWindow(DWORD pid, const char *cls, const char *caption, DWORD ms, bool visible) {
    return WaitWhileRunning(pid, ms, [&]() -> HWND {
        for (HWND hwnd : TopLevelWindows(pid)) {
            if (cls && ClassOf(hwnd) != cls) continue;
            if (caption && WindowText(hwnd) != caption) continue;
            if (visible && !IsWindowVisible(hwnd)) continue;
            return hwnd;
        }
        return nullptr;
    });
}

std::string WindowText(HWND hwnd) {
    LRESULT length = SendTimed(hwnd, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) return std::string();
    std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
    SendTimed(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    return std::string(text.data());
}

std::string ClassOf(HWND hwnd) {
    char name[256] = "";
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

bool IsShown(HWND hwnd) { return hwnd && IsWindowVisible(hwnd); }

std::string ItemText(HWND dlg, int id) {
    HWND item = GetDlgItem(dlg, id);
    return item ? WindowText(item) : std::string();
}

bool ItemShown(HWND dlg, int id) { return IsShown(GetDlgItem(dlg, id)); }

bool ItemEnabled(HWND dlg, int id) {
    HWND item = GetDlgItem(dlg, id);
    return item && IsWindowEnabled(item);
}

bool ItemChecked(HWND dlg, int id) {
    HWND item = GetDlgItem(dlg, id);
    return item && SendTimed(item, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

int ListCount(HWND list) { return static_cast<int>(SendTimed(list, LB_GETCOUNT, 0, 0)); }

std::string ListEntry(HWND list, int index) { return EntryText(list, LB_GETTEXTLEN, LB_GETTEXT, index); }

std::vector<std::string> ListEntries(HWND list) {
    std::vector<std::string> entries;
    for (int i = 0, n = ListCount(list); i < n; ++i) entries.push_back(ListEntry(list, i));
    return entries;
}

bool ListSelected(HWND list, int index) { return SendTimed(list, LB_GETSEL, static_cast<WPARAM>(index), 0) > 0; }

std::vector<std::string> ComboEntries(HWND combo) {
    std::vector<std::string> entries;
    for (int i = 0, n = static_cast<int>(SendTimed(combo, CB_GETCOUNT, 0, 0)); i < n; ++i)
        entries.push_back(EntryText(combo, CB_GETLBTEXTLEN, CB_GETLBTEXT, i));
    return entries;
}

bool Click(HWND dlg, int id) {
    HWND button = GetDlgItem(dlg, id);
    if (!button || !IsWindowVisible(button) || !IsWindowEnabled(button)) return false;
    return SendTimed(button, BM_CLICK, 0, 0) >= 0;
}

bool PostClick(HWND dlg, int id) {
    HWND button = GetDlgItem(dlg, id);
    if (!button || !IsWindowVisible(button) || !IsWindowEnabled(button)) return false;
    return PostMessageA(button, BM_CLICK, 0, 0) != 0;
}

// Dialogs of the program ---------------------------------------------------------------------------

HWND WaitForMessageBox(DWORD pid, DWORD ms) { return WaitForDialog(pid, ms, IsMessageBox); }

std::string MessageBoxText(HWND box) { return ItemText(box, kMessageBoxTextId); }

bool AnswerMessageBox(HWND box, int buttonId) {
    // Posted: the box's own modal loop ends the call that showed it. Waiting until it is gone keeps a
    // later box from being taken for this one.
    return PostClick(box, buttonId) && WaitUntil([box] { return !IsWindow(box); });
}

HWND WaitForOpenFileDialog(DWORD pid, DWORD ms) { return WaitForDialog(pid, ms, IsOpenFileDialog); }

std::vector<std::string> FileTypes(HWND dlg) { return ComboEntries(GetDlgItem(dlg, kFileTypeComboId)); }

bool ChooseFile(HWND dlg, const std::string &path) {
    HWND name = GetDlgItem(dlg, kFileNameComboId);
    if (!name) name = GetDlgItem(dlg, kFileNameEditId);
    if (!name || SendTimed(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str())) < 0) return false;
    return PostClick(dlg, IDOK);
}

bool CancelDialog(HWND dlg) { return PostClick(dlg, IDCANCEL); }

// Pictures -----------------------------------------------------------------------------------------

std::ostream &operator<<(std::ostream &out, const Rgb &c) {
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

Rgb Picture::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return Rgb();
    uint32_t p = pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
    return Rgb{static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF), static_cast<int>(p & 0xFF)};
}

std::string Picture::Save(const std::string &name) const {
    if (width <= 0 || height <= 0 || !MakeDirs(ScreenshotDir())) return std::string();
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    DWORD bytes = static_cast<DWORD>(pixels.size() * sizeof(uint32_t));
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + bytes;
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = -height;  // top-down rows
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    std::string data(reinterpret_cast<const char *>(&file), sizeof file);
    data.append(reinterpret_cast<const char *>(&info), sizeof info);
    data.append(reinterpret_cast<const char *>(pixels.data()), bytes);
    std::string path = ScreenshotDir() + name + ".bmp";
    return WriteTextFile(path, data) ? path : std::string();
}

static Picture CaptureRect(int left, int top, int width, int height) {
    Picture shot;
    if (width <= 0 || height <= 0) return shot;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        if (BitBlt(memory, 0, 0, width, height, screen, left, top, SRCCOPY | CAPTUREBLT)) {
            GdiFlush();
            const uint32_t *p = static_cast<const uint32_t *>(bits);
            shot.pixels.assign(p, p + static_cast<size_t>(width) * static_cast<size_t>(height));
            for (uint32_t &px : shot.pixels) px &= 0x00FFFFFF;
            shot.left = left;
            shot.top = top;
            shot.width = width;
            shot.height = height;
        }
        SelectObject(memory, old);
    }
    if (bitmap) DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return shot;
}

Picture CaptureScreen() {
    return CaptureRect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

Picture CaptureWindow(HWND hwnd) {
    RECT r = {};
    if (!GetWindowRect(hwnd, &r)) return Picture();
    return CaptureRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

}  // namespace e2e

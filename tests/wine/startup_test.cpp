// Start-up and background window of the real program: the gradient on screen, the hidden window
// cases, the open-file dialog, the temporary copy, the 3-D control library and the window title.
// Most runs stop at the open-file dialog (no log given and none beside the program), the moment at
// which the background is on screen and nothing else is.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "driver.h"

using namespace e2e;

namespace {

constexpr const char *kMainClass = "QXRVUninstall";
constexpr const char *kTempCopyName = "QXR1A2B.EXE";
constexpr int kBands = 96;

struct Gradient {
    int start[3];
    int end[3];
};

// The colour of band i: start + (end - start) * i / 95, truncated toward zero, clamped to a byte.
Rgb BandColour(const Gradient &g, int band) {
    int value[3];
    for (int c = 0; c < 3; ++c) {
        value[c] = g.start[c] + ((g.end[c] - g.start[c]) * band) / (kBands - 1);
        value[c] = std::min(255, std::max(0, value[c]));
    }
    return Rgb{value[0], value[1], value[2]};
}

std::string SettingsText(const Gradient &g) {
    std::ostringstream ini;
    ini << "[Settings]\r\nStart Red=" << g.start[0] << "\r\nStart Green=" << g.start[1]
        << "\r\nStart Blue=" << g.start[2] << "\r\nEnd Red=" << g.end[0] << "\r\nEnd Green=" << g.end[1]
        << "\r\nEnd Blue=" << g.end[2] << "\r\n";
    return ini.str();
}

bool Contains(const RECT &r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

// The screen point in the middle of a band that no other window of the program covers; x < 0 when
// the band is covered everywhere we look or has no height.
POINT BandPoint(HWND main, DWORD pid, int band) {
    RECT client = {};
    GetClientRect(main, &client);
    int top = band * client.bottom / kBands, bottom = (band + 1) * client.bottom / kBands;
    POINT none = {-1, -1};
    if (bottom <= top) return none;
    for (int x : {4, static_cast<int>(client.right) / 2, static_cast<int>(client.right) - 5}) {
        POINT p = {x, (top + bottom) / 2};
        ClientToScreen(main, &p);
        bool covered = false;
        for (HWND other : TopLevelWindows(pid)) {
            RECT r;
            if (other != main && IsWindowVisible(other) && GetWindowRect(other, &r) && Contains(r, p)) covered = true;
        }
        if (!covered) return p;
    }
    return none;
}

// A run that has reached the open-file dialog.
struct DialogRun {
    Process program;
    HWND dialog = nullptr;
    HWND main = nullptr;
};

// Starts the program with the tail and waits for its open-file dialog and its background window.
::testing::AssertionResult ReachOpenFileDialog(DialogRun &run, const std::string &exe, const std::string &tail,
                                               const std::string &dir) {
    if (!run.program.Start(exe, tail, dir))
        return ::testing::AssertionFailure() << "cannot start " << exe << ", error " << GetLastError();
    run.dialog = WaitForOpenFileDialog(run.program.Id());
    DWORD code = 0;
    if (!run.dialog && run.program.WaitExit(0, &code))
        return ::testing::AssertionFailure() << "ended with code " << code << " before any open-file dialog, tail '"
                                             << tail << "'";
    if (!run.dialog) return ::testing::AssertionFailure() << "no open-file dialog for tail '" << tail << "'";
    run.main = WaitForWindow(run.program.Id(), kMainClass, nullptr, kWaitMs, false);
    if (!run.main) return ::testing::AssertionFailure() << "no window of class " << kMainClass;
    return ::testing::AssertionSuccess();
}

// Cancels the dialog; the run must then end by itself with exit code 0 and show nothing more.
void CancelAndExpectCleanExit(DialogRun &run) {
    ASSERT_TRUE(CancelDialog(run.dialog));
    DWORD code = 99;
    bool ended = run.program.WaitExit(kWaitMs, &code);
    if (!ended) {
        HWND box = WaitForMessageBox(run.program.Id(), 0);
        FAIL() << "still running after Cancel" << (box ? ", showing: " + MessageBoxText(box) : std::string());
    }
    EXPECT_EQ(code, 0u) << "exit code";
}

std::string TempCopyPath() {
    char dir[MAX_PATH];
    DWORD n = GetTempPathA(sizeof dir, dir);
    return n > 0 && n < sizeof dir ? std::string(dir) + kTempCopyName : std::string();
}

constexpr const char *kSessionManager = "System\\CurrentControlSet\\Control\\Session Manager";

// The delayed file operations the system will carry out at the next restart (pairs of names).
std::string PendingOperations() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_QUERY_VALUE, &key)) return std::string();
    DWORD size = 0;
    std::string data;
    if (!RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, nullptr, nullptr, &size) && size > 0) {
        data.resize(size);
        if (RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, nullptr,
                             reinterpret_cast<BYTE *>(&data[0]), &size))
            data.clear();
        else
            data.resize(size);
    }
    RegCloseKey(key);
    return data;
}

void RestorePendingOperations(const std::string &data) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, &key)) return;
    if (data.empty())
        RegDeleteValueA(key, "PendingFileRenameOperations");
    else
        RegSetValueExA(key, "PendingFileRenameOperations", 0, REG_MULTI_SZ,
                       reinterpret_cast<const BYTE *>(data.data()), static_cast<DWORD>(data.size()));
    RegCloseKey(key);
}

std::vector<std::string> Lines(const std::string &text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}

}  // namespace

TEST(Startup, GradientBehindTheOpenFileDialog) {
    const struct Case {
        const char *name;  // also the screenshot's name
        bool settingsFile;
        Gradient gradient;
    } cases[] = {
        {"gradient_default", false, {{0, 0, 255}, {0, 0, 0}}},
        {"gradient_configured", true, {{200, 0, 0}, {0, 160, 255}}},
        {"gradient_clamped", true, {{300, -40, 128}, {300, 600, 128}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Sandbox box(std::string("Startup.Gradient.") + c.name);
        std::string exe = box.AddProgram();
        ASSERT_FALSE(exe.empty());
        if (c.settingsFile) {
            ASSERT_TRUE(box.Write("KUNINST.INI", SettingsText(c.gradient)));
        }

        DialogRun run;
        ASSERT_TRUE(ReachOpenFileDialog(run, exe, "", box.Dir()));
        ASSERT_TRUE(IsWindowVisible(run.main)) << "background window not shown";
        EXPECT_EQ(GetWindow(run.dialog, GW_OWNER), run.main) << "the dialog's owner";
        EXPECT_TRUE(IsZoomed(run.main)) << "background window not maximised";

        // The picture reaches the screen a moment after the window is painted.
        EXPECT_TRUE(run.program.WaitIdle()) << "the program does not settle";
        POINT first = BandPoint(run.main, run.program.Id(), 0);
        ASSERT_GE(first.x, 0) << "band 0 covered";
        Picture shot;
        WaitUntil([&] {
            shot = CaptureScreen();
            return shot.At(first.x, first.y) == BandColour(c.gradient, 0);
        }, 3000);
        EXPECT_FALSE(shot.Save(c.name).empty());
        for (int band : {0, 1, 2, 47, 94, 95}) {
            POINT p = BandPoint(run.main, run.program.Id(), band);
            if (p.x < 0) continue;  // covered by the dialog everywhere we look
            EXPECT_EQ(shot.At(p.x, p.y), BandColour(c.gradient, band)) << "band " << band << " at " << p.x << "," << p.y;
        }
        CancelAndExpectCleanExit(run);
    }
}

TEST(Startup, HiddenBackgroundStillOwnsTheOpenFileDialog) {
    const struct Case {
        const char *name;
        const char *tail;
        const char *settings;
    } cases[] = {
        {"silent", "/S", nullptr},
        {"relaunch switch alone", "/z", nullptr},
        {"no background setting", "", "[Settings]\r\nNo Background=1\r\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Sandbox box;
        std::string exe = box.AddProgram();
        ASSERT_FALSE(exe.empty());
        if (c.settings) {
            ASSERT_TRUE(box.Write("KUNINST.INI", c.settings));
        }

        DialogRun run;
        ASSERT_TRUE(ReachOpenFileDialog(run, exe, c.tail, box.Dir()));
        EXPECT_FALSE(IsWindowVisible(run.main)) << "background window shown";
        EXPECT_EQ(GetWindow(run.dialog, GW_OWNER), run.main) << "the dialog's owner";
        CancelAndExpectCleanExit(run);
        EXPECT_FALSE(IsWindow(run.main)) << "background window left after the run";
    }
}

TEST(Startup, OpenFileDialogOffersInstallationLogs) {
    Sandbox box;
    std::string exe = box.AddProgram();
    ASSERT_FALSE(exe.empty());
    DialogRun run;
    ASSERT_TRUE(ReachOpenFileDialog(run, exe, "", box.Dir()));
    std::vector<std::string> types = FileTypes(run.dialog);
    ASSERT_EQ(types.size(), 1u);
    EXPECT_EQ(types[0], "Installation Logs");
    EXPECT_EQ(ItemText(run.dialog, 0x47C), "INSTALL.LOG") << "preset file name";
    CancelAndExpectCleanExit(run);
}

// The chosen file is the log: a file that is no log gets the reader's complaint and ends the run.
TEST(Startup, OpenFileDialogChoiceIsReadAsTheLog) {
    Sandbox box;
    std::string exe = box.AddProgram();
    ASSERT_FALSE(exe.empty());
    ASSERT_TRUE(box.MakeDir("logs"));
    ASSERT_TRUE(box.Write("logs\\CHOSEN.LOG", "not a log\r\n"));
    DialogRun run;
    ASSERT_TRUE(ReachOpenFileDialog(run, exe, "", box.Dir()));
    ASSERT_TRUE(ChooseFile(run.dialog, box.Path("logs\\CHOSEN.LOG")));
    HWND complaint = WaitForMessageBox(run.program.Id());
    ASSERT_NE(complaint, nullptr) << "no message box after choosing a file that is no log";
    EXPECT_EQ(MessageBoxText(complaint), "Invalid INSTALL.LOG file.");
    EXPECT_EQ(WindowText(complaint), "Korvel Uninstall");
    ASSERT_TRUE(AnswerMessageBox(complaint, IDOK));
    DWORD code = 99;
    ASSERT_TRUE(run.program.WaitExit(kWaitMs, &code));
    EXPECT_EQ(code, 0u);
}

// With an empty tail, INSTALL.LOG beside the program is the log: no open-file dialog.
TEST(Startup, EmptyTailReadsInstallLogBesideTheProgram) {
    Sandbox box;
    std::string exe = box.AddProgram();
    ASSERT_FALSE(exe.empty());
    ASSERT_TRUE(box.Write("INSTALL.LOG", "not a log either\r\n"));
    Process program;
    ASSERT_TRUE(program.Start(exe, "", box.Dir()));
    HWND complaint = WaitForMessageBox(program.Id());
    ASSERT_NE(complaint, nullptr) << "no message box about the log beside the program";
    EXPECT_EQ(MessageBoxText(complaint), "Invalid INSTALL.LOG file.");
    EXPECT_EQ(WaitForOpenFileDialog(program.Id(), 0), nullptr) << "asked for a log although one is beside it";
    ASSERT_TRUE(AnswerMessageBox(complaint, IDOK));
    DWORD code = 99;
    ASSERT_TRUE(program.WaitExit(kWaitMs, &code));
    EXPECT_EQ(code, 0u);
}

// Every run copies the program into the temporary folder, except one whose tail begins with /Z;
// such an in-place run deletes its settings file at its end instead.
TEST(Startup, TemporaryCopyUnlessInPlace) {
    const struct Case {
        const char *tail;
        bool copied;
    } cases[] = {
        {"", true}, {"/S", true}, {"/S /Z", true}, {"/Z", false}, {"/z", false}, {"/Z /S", false},
    };
    std::string copy = TempCopyPath();
    ASSERT_FALSE(copy.empty());
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string("tail '") + c.tail + "'");
        Sandbox box;
        std::string exe = box.AddProgram();
        ASSERT_FALSE(exe.empty());
        ASSERT_TRUE(box.Write("KUNINST.INI", "[Settings]\r\nNo Background=1\r\n"));
        ASSERT_TRUE(RemoveTree(copy)) << "cannot clear " << copy;

        DialogRun run;
        ASSERT_TRUE(ReachOpenFileDialog(run, exe, c.tail, box.Dir()));
        EXPECT_EQ(PathExists(copy), c.copied) << copy;
        CancelAndExpectCleanExit(run);
        if (c.copied) {
            EXPECT_EQ(ReadTextFile(copy), ReadTextFile(exe)) << "the copy differs from the program";
        }
        EXPECT_EQ(PathExists(box.Path("KUNINST.INI")), c.copied) << "settings file after the run";
        RemoveTree(copy);
    }
}

// The temporary copy is left for the system to delete at the next restart.
TEST(Startup, TemporaryCopyIsDeletedAtRestart) {
    std::string before = PendingOperations();
    Sandbox box;
    std::string exe = box.AddProgram();
    ASSERT_FALSE(exe.empty());
    DialogRun run;
    ASSERT_TRUE(ReachOpenFileDialog(run, exe, "/S", box.Dir()));
    CancelAndExpectCleanExit(run);
    std::string after = PendingOperations();
    RestorePendingOperations(before);

    // Each operation is a source name and a target name; an empty target means deletion.
    std::vector<std::string> names;
    for (size_t at = 0; at < after.size();) {
        size_t end = after.find('\0', at);
        if (end == std::string::npos) end = after.size();
        names.push_back(after.substr(at, end - at));
        at = end + 1;
    }
    std::string copy = TempCopyPath();
    bool scheduled = false;
    for (size_t i = 0; i + 1 < names.size(); i += 2) {
        const std::string &source = names[i];
        if (source.size() >= copy.size() &&
            lstrcmpiA(source.substr(source.size() - copy.size()).c_str(), copy.c_str()) == 0 && names[i + 1].empty())
            scheduled = true;
    }
    EXPECT_TRUE(scheduled) << "no deletion of " << copy << " among " << names.size() << " pending names";
    RemoveTree(copy);
}

// The 3-D control library is registered for the program's instance, asked to subclass every control
// only on a system older than version 4, and unregistered at the end even when registration failed.
TEST(Startup, Ctl3dLibraryCalls) {
    const struct Case {
        const char *name;
        const char *version;  // the Windows version the program sees; null for Wine's default
        bool registerFails;
        std::vector<std::string> calls;
    } cases[] = {
        {"new shell", nullptr, false, {"Ctl3dRegister", "Ctl3dUnregister"}},
        {"old shell", "nt351", false, {"Ctl3dRegister", "Ctl3dAutoSubclass", "Ctl3dUnregister"}},
        {"registration fails", "nt351", true, {"Ctl3dRegister", "Ctl3dUnregister"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Sandbox box;
        std::string exe = box.AddProgram();
        ASSERT_FALSE(exe.empty());
        ASSERT_FALSE(box.AddCtl3d().empty());
        // Wine prefers its own built-in CTL3D32 to a copy beside the program unless told otherwise.
        WineAppSettings app("KUNINST.EXE");
        ASSERT_TRUE(app.DllOverride("ctl3d32", "native"));
        if (c.version) {
            ASSERT_TRUE(app.Version(c.version)) << "cannot set the Windows version " << c.version;
        }

        DialogRun run;
        if (c.registerFails) run.program.SetEnv("KU_CTL3D_REGISTER", "0");
        ASSERT_TRUE(ReachOpenFileDialog(run, exe, "/Z", box.Dir()));
        CancelAndExpectCleanExit(run);

        std::vector<std::string> lines = Lines(ReadTextFile(box.Path("CTL3D32.LOG")));
        ASSERT_FALSE(lines.empty()) << "the library was not loaded from beside the program";
        std::string instance = lines[0].substr(lines[0].find(' ') + 1);
        EXPECT_EQ(lines[0], "Process " + instance);
        std::vector<std::string> calls;
        for (size_t i = 1; i < lines.size(); ++i) {
            size_t space = lines[i].find(' ');
            calls.push_back(lines[i].substr(0, space));
            EXPECT_EQ(lines[i].substr(space + 1), instance) << "argument of " << lines[i];
        }
        EXPECT_EQ(calls, c.calls);
    }
}

// Without any 3-D control library the program runs with plain controls and says nothing about it.
TEST(Startup, RunsWithoutCtl3dLibrary) {
    Sandbox box;
    std::string exe = box.AddProgram();
    ASSERT_FALSE(exe.empty());
    ASSERT_FALSE(box.AddCtl3d().empty());
    WineAppSettings app("KUNINST.EXE");
    ASSERT_TRUE(app.DllOverride("ctl3d32", ""));  // hides the copy beside it and Wine's own
    DialogRun run;
    ASSERT_TRUE(ReachOpenFileDialog(run, exe, "/Z", box.Dir()));
    EXPECT_EQ(WaitForMessageBox(run.program.Id(), 0), nullptr) << "a message box about the missing library";
    CancelAndExpectCleanExit(run);
    EXPECT_FALSE(PathExists(box.Path("CTL3D32.LOG"))) << "the library was loaded after all";
}

// A title after the log path becomes the background window's caption, quotes at its ends dropped.
// The log does not exist, so the run stops at the reader's complaint, with the caption on screen.
TEST(Startup, WindowTitleFromCommandLine) {
    const struct Case {
        const char *tail;  // %s stands for the sandbox folder
        const char *caption;
    } cases[] = {
        {"/Z %sMISSING.LOG My Title", "My Title"},
        {"%sMISSING.LOG \"Quoted Title\"", "Quoted Title"},
        {"/Z %sMISSING.LOG \"Opening quote only", "Opening quote only"},
        {"/Z %sMISSING.LOG ", ""},               // a trailing space: an empty title
        {"/Z %sMISSING.LOG", " "},               // no title: the window keeps its first caption
        {"/AS %sMISSING.LOG", "%sMISSING.LOG"},  // /AS is /A and the log path S
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.tail);
        Sandbox box;
        std::string exe = box.AddProgram();
        ASSERT_FALSE(exe.empty());
        std::string tail = c.tail, caption = c.caption;
        tail.replace(tail.find("%s"), 2, box.Dir());
        if (caption.find("%s") != std::string::npos) caption.replace(caption.find("%s"), 2, box.Dir());

        Process program;
        ASSERT_TRUE(program.Start(exe, tail, box.Dir()));
        HWND complaint = WaitForMessageBox(program.Id());
        ASSERT_NE(complaint, nullptr) << "no message box for a missing log";
        EXPECT_EQ(MessageBoxText(complaint), "Could not open INSTALL.LOG file.");
        HWND main = WaitForWindow(program.Id(), kMainClass, nullptr, 0, false);
        ASSERT_NE(main, nullptr);
        EXPECT_EQ(WindowText(main), caption);
        EXPECT_EQ(GetWindow(complaint, GW_OWNER), main) << "the message box's owner";
        ASSERT_TRUE(AnswerMessageBox(complaint, IDOK));
        DWORD code = 99;
        ASSERT_TRUE(program.WaitExit(kWaitMs, &code));
        EXPECT_EQ(code, 0u);
    }
}

// The background window, its timed wait, the title font and the gradient palette, on real Win32.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "shell/background.h"
#include "shell/runstate.h"
#include "shell/settings.h"
#include "test_folder.h"

namespace {

// Saves RunState, registers the class once and destroys whatever window a test made.
class BackgroundWindow : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = runState;
        WNDCLASSA existing;
        if (!GetClassInfoA(GetModuleHandleA(nullptr), kMainWindowClass, &existing)) {
            ASSERT_NE(RegisterMainClass(GetModuleHandleA(nullptr)), 0) << GetLastError();
        }
    }
    void TearDown() override {
        if (runState.mainWindow) {
            DestroyWindow(runState.mainWindow);
            EXPECT_EQ(DrainUntilQuit(), 0) << "WM_DESTROY posts WM_QUIT with 0";
        }
        runState = saved_;
    }
    HWND Create(int silent, int relaunched, int noBackground, char *title) {
        runState.silent = silent;
        runState.relaunched = relaunched;
        runState.noBackground = noBackground;
        runState.windowTitle = title;
        EXPECT_EQ(CreateMainWindow(GetModuleHandleA(nullptr)), 1) << GetLastError();
        EXPECT_EQ(runState.instance, GetModuleHandleA(nullptr));
        return runState.mainWindow;
    }
    RunState saved_;
};

ULONGLONG ThreadCpuMs() {
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user)) return 0;
    ULARGE_INTEGER k = {{kernel.dwLowDateTime, kernel.dwHighDateTime}};
    ULARGE_INTEGER u = {{user.dwLowDateTime, user.dwHighDateTime}};
    return (k.QuadPart + u.QuadPart) / 10000;
}

}  // namespace

TEST_F(BackgroundWindow, ClassStylesAndSize) {
    HWND window = Create(1, 0, 0, nullptr);
    ASSERT_NE(window, nullptr);
    char name[64];
    GetClassNameA(window, name, sizeof name);
    EXPECT_STREQ(name, "QXRVUninstall");
    LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    LONG_PTR wanted = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX;
    EXPECT_EQ(style & wanted, wanted) << std::hex << style;
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_CHILD | WS_POPUP), 0) << std::hex << style;
    EXPECT_EQ(GetWindowLongPtrA(window, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE, 0);
    RECT r;
    GetWindowRect(window, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right - r.left, 640);
    EXPECT_EQ(r.bottom - r.top, 480);
    EXPECT_EQ(GetClassLongPtrA(window, GCLP_HBRBACKGROUND), reinterpret_cast<LONG_PTR>(GetStockObject(WHITE_BRUSH)));
    EXPECT_NE(GetClassLongPtrA(window, GCLP_HICON), 0) << "icon 101";
}

TEST_F(BackgroundWindow, ShownMaximisedOnlyInAnOrdinaryRun) {
    struct Case {
        int silent, relaunched, noBackground;
        bool shown;
    } cases[] = {{0, 0, 0, true}, {1, 0, 0, false}, {0, 1, 0, false}, {0, 0, 1, false}, {0, 0, -3, false}};
    for (const Case &c : cases) {
        HWND window = Create(c.silent, c.relaunched, c.noBackground, nullptr);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(IsWindowVisible(window) != 0, c.shown)
            << "silent " << c.silent << " relaunched " << c.relaunched << " noBackground " << c.noBackground;
        if (c.shown) {
            EXPECT_TRUE(IsZoomed(window));
        }
        DestroyWindow(window);
        EXPECT_EQ(DrainUntilQuit(), 0);
        runState.mainWindow = nullptr;
    }
}

TEST_F(BackgroundWindow, TitleFromTheCommandLine) {
    char given[] = "My Product", empty[] = "";
    struct Case {
        char *title;
        const char *caption;
    } cases[] = {{nullptr, " "}, {given, "My Product"}, {empty, ""}};
    for (const Case &c : cases) {
        HWND window = Create(1, 0, 0, c.title);
        ASSERT_NE(window, nullptr);
        char caption[64] = "sentinel";
        GetWindowTextA(window, caption, sizeof caption);
        EXPECT_STREQ(caption, c.caption);
        DestroyWindow(window);
        DrainUntilQuit();
        runState.mainWindow = nullptr;
    }
}

TEST_F(BackgroundWindow, MessagesWithFixedResults) {
    HWND window = Create(1, 0, 0, nullptr);
    ASSERT_NE(window, nullptr);
    runState.gradientPalette = nullptr;
    runState.waitPending = 1;
    EXPECT_EQ(SendMessageA(window, WM_TIMER, 1234, 0), 0);
    EXPECT_EQ(runState.waitPending, 0) << "a timer of any id ends the wait";
    EXPECT_EQ(SendMessageA(window, WM_ERASEBKGND, 0, 0), 1);
    EXPECT_EQ(SendMessageA(window, WM_QUERYNEWPALETTE, 0, 0), 0) << "no palette: nothing to realize";
    EXPECT_EQ(SendMessageA(window, WM_PALETTECHANGED, reinterpret_cast<WPARAM>(window), 0), 0);
}

// The wait dispatches what is queued, returns once the timer fired, and sleeps in between.
TEST_F(BackgroundWindow, TimedWaitSleepsUntilTheTimer) {
    HWND window = Create(1, 0, 0, nullptr);
    ASSERT_NE(window, nullptr);
    ULONGLONG busyStart = ThreadCpuMs();
    for (DWORD until = GetTickCount() + 300; GetTickCount() < until;) {
    }
    if (ThreadCpuMs() - busyStart < 100) GTEST_SKIP() << "this system does not report thread times";

    ASSERT_TRUE(PostMessageA(window, WM_NULL + 0x7f00, 0, 0));  // an application message, dispatched by the wait
    DWORD start = GetTickCount();
    ULONGLONG cpuStart = ThreadCpuMs();
    WaitWithMessages(500);
    DWORD elapsed = GetTickCount() - start;
    ULONGLONG cpu = ThreadCpuMs() - cpuStart;
    EXPECT_GE(elapsed, 450u) << "returned before the timer";
    EXPECT_EQ(runState.waitPending, 0);
    EXPECT_LT(cpu, 150u) << "the wait used the processor for " << cpu << " ms of " << elapsed << " ms";
    MSG left;
    EXPECT_FALSE(PeekMessageA(&left, nullptr, 0x7f00, 0x7f00, PM_NOREMOVE)) << "the queued message was not dispatched";
    EXPECT_FALSE(KillTimer(window, WAIT_TIMER_ID)) << "the wait timer was left running";

    ASSERT_TRUE(PostMessageA(window, WM_NULL + 0x7f00, 0, 0));
    WaitWithMessages(0);
    EXPECT_EQ(runState.waitPending, 0);
    EXPECT_FALSE(PeekMessageA(&left, nullptr, 0x7f00, 0x7f00, PM_NOREMOVE)) << "a zero wait dispatches what is there";
}

TEST_F(BackgroundWindow, TitleFontAndPalette) {
    TestFolder folder("BackgroundPalette");
    ASSERT_TRUE(folder.Write("palette.ini",
                             "[Settings]\r\nTitle Font=Arial\r\nFont Character Set=258\r\nStart Red=200\r\nEnd Red=0\r\n"));
    std::string path = folder.Path("palette.ini");
    runState.settingsPath = path.data();
    runState.mainWindow = nullptr;
    runState.gradientPalette = nullptr;
    runState.titleFont = nullptr;
    ReadGradientSettings();
    CreateTitleFontAndPalette();

    EXPECT_EQ(runState.fontCharSet, 2) << "low 8 bits of 258";
    ASSERT_NE(runState.titleFont, nullptr);
    LOGFONTA font;
    ASSERT_EQ(GetObjectA(runState.titleFont, sizeof font, &font), static_cast<int>(sizeof font));
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(font.lfHeight, -MulDiv(16, GetDeviceCaps(screen, LOGPIXELSY), 72));
    EXPECT_EQ(runState.screenWidth, GetDeviceCaps(screen, HORZRES));
    EXPECT_EQ(runState.screenHeight, GetDeviceCaps(screen, VERTRES));
    int depth = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(font.lfWeight, FW_BOLD);
    EXPECT_TRUE(font.lfItalic);
    EXPECT_EQ(font.lfCharSet, 2);
    EXPECT_EQ(font.lfPitchAndFamily, FF_ROMAN | DEFAULT_PITCH);
    EXPECT_STREQ(font.lfFaceName, "Arial");

    if (depth < 8) {
        EXPECT_EQ(runState.gradientPalette, nullptr) << "no palette below 8 bits per pixel";
    } else {
        ASSERT_NE(runState.gradientPalette, nullptr);
        PALETTEENTRY entries[GRADIENT_BANDS + 1];
        ASSERT_EQ(GetPaletteEntries(runState.gradientPalette, 0, GRADIENT_BANDS + 1, entries),
                  static_cast<UINT>(GRADIENT_BANDS));
        for (int i : {0, 1, 47, 95}) {
            BandRgb band = BandColour(runState.startColour, runState.colourDelta, i);
            EXPECT_EQ(entries[i].peRed, band.r) << "entry " << i;
            EXPECT_EQ(entries[i].peGreen, band.g) << "entry " << i;
            EXPECT_EQ(entries[i].peBlue, band.b) << "entry " << i;
        }
        EXPECT_EQ(entries[1].peRed, 198);
        DeleteObject(runState.gradientPalette);
    }
    DeleteObject(runState.titleFont);
}

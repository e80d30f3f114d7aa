// The background window: its class, creation and showing rules, its window procedure, the timed
// wait, and the title font and gradient palette it paints with.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "shell/background.h"
#include "shell/runstate.h"
#include "shell/settings.h"
#include "test_folder.h"

namespace {

class Background : public ::testing::Test {
protected:
    void SetUp() override {
        saved = runState;
        runState = RunState{};
        instance = GetModuleHandleA(nullptr);
        ASSERT_NE(RegisterMainClass(instance), 0) << "RegisterClassA failed, error " << GetLastError();
    }
    void TearDown() override {
        if (runState.mainWindow) DestroyWindow(runState.mainWindow);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        if (runState.titleFont) DeleteObject(runState.titleFont);
        if (runState.gradientPalette) DeleteObject(runState.gradientPalette);
        UnregisterClassA("QXRVUninstall", instance);
        runState = saved;
    }
    // Creates the window with the given run modes and returns it, null on failure.
    HWND Create(int silent, int relaunched, int noBackground, char *title) {
        runState.silent = silent;
        runState.relaunched = relaunched;
        runState.noBackground = noBackground;
        runState.windowTitle = title;
        EXPECT_EQ(CreateMainWindow(instance), 1) << "CreateWindowExA failed, error " << GetLastError();
        EXPECT_EQ(runState.instance, instance);
        return runState.mainWindow;
    }
    RunState saved;
    HINSTANCE instance = nullptr;
};

TEST_F(Background, WindowClass) {
    WNDCLASSA windowClass{};
    ASSERT_TRUE(GetClassInfoA(instance, "QXRVUninstall", &windowClass)) << "error " << GetLastError();
    EXPECT_EQ(windowClass.style, 0u);
    EXPECT_EQ(windowClass.lpfnWndProc, MainWndProc);
    EXPECT_EQ(windowClass.cbClsExtra, 0);
    EXPECT_EQ(windowClass.cbWndExtra, 0);
    EXPECT_NE(windowClass.hIcon, nullptr) << "icon 101";
    EXPECT_EQ(windowClass.hbrBackground, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EXPECT_EQ(windowClass.lpszMenuName, nullptr);
}

TEST_F(Background, StyleSizeAndTitle) {
    struct Case {
        const char *title;  // null: none given on the command line
        const char *text;
    } cases[] = {{nullptr, " "}, {"", ""}, {"My Product", "My Product"}};
    for (const Case &c : cases) {
        std::string title = c.title ? c.title : "";
        HWND window = Create(1, 0, 0, c.title ? title.data() : nullptr);
        ASSERT_NE(window, nullptr);
        SCOPED_TRACE(std::string("title ") + (c.title ? c.title : "(none)"));
        char text[64];
        GetWindowTextA(window, text, sizeof text);
        EXPECT_STREQ(text, c.text);
        LONG style = GetWindowLongA(window, GWL_STYLE);
        const LONG wanted = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX;
        EXPECT_EQ(style & wanted, wanted) << std::hex << "style " << style;
        EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_CHILD | WS_POPUP), 0) << std::hex << "style " << style;
        EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE, 0);
        RECT rect;
        GetWindowRect(window, &rect);
        EXPECT_EQ(rect.left, 0);
        EXPECT_EQ(rect.top, 0);
        EXPECT_EQ(rect.right - rect.left, 640);
        EXPECT_EQ(rect.bottom - rect.top, 480);
        DestroyWindow(window);
        runState.mainWindow = nullptr;
    }
}

TEST_F(Background, ShownMaximisedOnlyInAnOrdinaryRun) {
    struct Case {
        int silent, relaunched, noBackground;
        bool shown;
    } cases[] = {{0, 0, 0, true}, {1, 0, 0, false}, {0, 1, 0, false}, {0, 0, 1, false}, {0, 0, -1, false}};
    for (const Case &c : cases) {
        HWND window = Create(c.silent, c.relaunched, c.noBackground, nullptr);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(IsWindowVisible(window) != 0, c.shown)
            << "silent " << c.silent << " relaunched " << c.relaunched << " no background " << c.noBackground;
        EXPECT_EQ(IsZoomed(window) != 0, c.shown) << "maximised";
        DestroyWindow(window);
        runState.mainWindow = nullptr;
    }
}

TEST_F(Background, WindowProcedure) {
    HWND window = Create(1, 0, 0, nullptr);
    ASSERT_NE(window, nullptr);
    for (WPARAM timer : {WPARAM{8298}, WPARAM{1}, WPARAM{4711}}) {
        runState.waitPending = 1;
        EXPECT_EQ(SendMessageA(window, WM_TIMER, timer, 0), 0);
        EXPECT_EQ(runState.waitPending, 0) << "WM_TIMER " << timer << " must end the wait";
    }
    EXPECT_EQ(SendMessageA(window, WM_ERASEBKGND, 0, 0), 1) << "the painting covers the background";
    EXPECT_EQ(SendMessageA(window, WM_QUERYNEWPALETTE, 0, 0), 0) << "no palette: nothing realized";
    EXPECT_EQ(SendMessageA(window, WM_PALETTECHANGED, reinterpret_cast<WPARAM>(window), 0), 0);

    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    DestroyWindow(window);
    runState.mainWindow = nullptr;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "WM_DESTROY posts WM_QUIT";
    EXPECT_EQ(message.wParam, 0u);
}

TEST_F(Background, TimedWaitEndsOnTheTimerAndStopsIt) {
    HWND window = Create(1, 0, 0, nullptr);
    ASSERT_NE(window, nullptr);
    DWORD before = GetTickCount();
    WaitWithMessages(200);
    DWORD waited = GetTickCount() - before;
    EXPECT_EQ(runState.waitPending, 0);
    EXPECT_GE(waited, 150u) << "the wait ended before its timer";
    EXPECT_FALSE(KillTimer(window, 8298)) << "the wait timer must be stopped";
}

TEST_F(Background, PaintsNinetySixBands) {
    runState.startColour[0] = 200;
    runState.colourDelta[0] = -200;
    runState.colourDelta[2] = 255;
    HWND window = Create(0, 0, 0, nullptr);  // shown maximised, painted without a palette
    ASSERT_NE(window, nullptr);
    UpdateWindow(window);
    HDC dc = GetDC(window);
    int depth = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
    RECT client;
    GetClientRect(window, &client);
    if (depth < 24 || client.bottom < 2 * GRADIENT_BANDS) {
        ReleaseDC(window, dc);
        GTEST_SKIP() << "display of " << depth << " bits, client height " << client.bottom;
    }
    int32_t top = 0;
    for (int32_t band = 0; band < GRADIENT_BANDS; band++) {
        int32_t bottom = BandBottom(band, client.bottom);
        BandRgb wanted = BandColour(runState.startColour, runState.colourDelta, band);
        for (int32_t y : {top, bottom - 1}) {
            COLORREF got = GetPixel(dc, client.right - 1, y);
            EXPECT_EQ(got, RGB(wanted.r, wanted.g, wanted.b))
                << "band " << band << " row " << y << ": got " << std::hex << got;
        }
        top = bottom;
    }
    ReleaseDC(window, dc);
}

TEST_F(Background, TimedWaitWithoutTheWindowReturns) {
    runState.mainWindow = nullptr;
    WaitWithMessages(50);  // would wait for ever for a timer message that nobody receives
    EXPECT_EQ(runState.waitPending, 0);
}

TEST_F(Background, TitleFontAndPalette) {
    TestFolder folder("background");
    ASSERT_TRUE(folder.Write("KUNINST.INI", "[Settings]\r\nTitle Font=Arial\r\nFont Character Set=511\r\n"
                                            "Start Red=200\r\nEnd Red=0\r\nStart Blue=0\r\nEnd Blue=255\r\n"));
    std::string settingsPath = folder.Path("KUNINST.INI");
    runState.settingsPath = settingsPath.data();
    ReadGradientSettings();
    CreateTitleFontAndPalette();
    runState.settingsPath = nullptr;

    ASSERT_NE(runState.titleFont, nullptr);
    LOGFONTA font{};
    ASSERT_EQ(GetObjectA(runState.titleFont, sizeof font, &font), static_cast<int>(sizeof font));
    EXPECT_STREQ(font.lfFaceName, "Arial");
    EXPECT_EQ(font.lfWeight, 700);
    EXPECT_EQ(font.lfItalic, 1);
    EXPECT_EQ(font.lfUnderline, 0);
    EXPECT_EQ(font.lfPitchAndFamily, FF_ROMAN);
    EXPECT_EQ(font.lfCharSet, 255) << "the low 8 bits of 511";
    EXPECT_EQ(runState.fontCharSet, 255);
    EXPECT_LT(font.lfHeight, 0) << "a height in points, not cells";

    HDC screen = GetDC(nullptr);
    int depth = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    EXPECT_EQ(runState.screenWidth, GetDeviceCaps(screen, HORZRES));
    EXPECT_EQ(runState.screenHeight, GetDeviceCaps(screen, VERTRES));
    ReleaseDC(nullptr, screen);
    if (depth < 8) GTEST_SKIP() << "display of " << depth << " bits: no palette";
    ASSERT_NE(runState.gradientPalette, nullptr);
    PALETTEENTRY entries[100];
    ASSERT_EQ(GetPaletteEntries(runState.gradientPalette, 0, 100, entries), 96u);
    for (int i = 0; i < 96; i++) {
        BandRgb band = BandColour(runState.startColour, runState.colourDelta, i);
        EXPECT_EQ(entries[i].peRed, band.r) << "entry " << i;
        EXPECT_EQ(entries[i].peGreen, band.g) << "entry " << i;
        EXPECT_EQ(entries[i].peBlue, band.b) << "entry " << i;
        EXPECT_EQ(entries[i].peFlags, 0) << "entry " << i;
    }
    EXPECT_EQ(entries[1].peRed, 198) << "200 - 200 / 95, truncated toward zero";
    EXPECT_EQ(entries[1].peBlue, 2);
}

}  // namespace

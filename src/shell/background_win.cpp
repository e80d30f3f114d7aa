#include "shell/background.h"

#include "shell/pump.h"
#include "shell/runstate.h"
#include "shell/settings.h"

const char kMainWindowClass[] = "QXRVUninstall";

namespace {

COLORREF BandBrushColour(int band) {
    if (runState.gradientPalette) return PALETTEINDEX(band);
    BandRgb colour = BandColour(runState.startColour, runState.colourDelta, band);
    return RGB(colour.r, colour.g, colour.b);
}

// Every paint redraws all 96 bands across the whole client area, whatever the update region.
void PaintGradient(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    int32_t width = client.right - client.left;
    int32_t height = client.bottom - client.top;
    if (runState.gradientPalette) {
        SelectPalette(dc, runState.gradientPalette, FALSE);
        RealizePalette(dc);
    }
    int32_t top = client.top;
    for (int band = 0; band < GRADIENT_BANDS; band++) {
        int32_t bottom = client.top + BandBottom(band, height);
        HBRUSH brush = CreateSolidBrush(BandBrushColour(band));  // a failed brush just paints nothing new
        HGDIOBJ previous = SelectObject(dc, brush);
        PatBlt(dc, client.left, top, width, bottom - top, PATCOPY);
        SelectObject(dc, previous);
        DeleteObject(brush);
        top = bottom;
    }
    EndPaint(window, &paint);
}

LRESULT RealizeGradientPalette(HWND window) {
    if (!runState.gradientPalette) return 0;
    HDC dc = GetDC(window);
    HPALETTE previous = SelectPalette(dc, runState.gradientPalette, FALSE);
    UINT changed = RealizePalette(dc);
    if (changed) InvalidateRect(window, nullptr, TRUE);
    SelectPalette(dc, previous, TRUE);
    RealizePalette(dc);
    ReleaseDC(window, dc);
    return static_cast<LRESULT>(changed);
}

}  // namespace

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_PAINT:
        PaintGradient(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;  // the painting covers the whole client area
    case WM_TIMER:
        runState.waitPending = 0;  // any timer of this window ends a timed wait
        return 0;
    case WM_PALETTECHANGED:
        if (reinterpret_cast<HWND>(wParam) == window) return 0;  // our own change
        return RealizeGradientPalette(window);
    case WM_QUERYNEWPALETTE:
        return RealizeGradientPalette(window);
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

ATOM RegisterMainClass(HINSTANCE instance) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = MainWndProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(ICON_PROGRAM));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = kMainWindowClass;
    return RegisterClassA(&windowClass);
}

int CreateMainWindow(HINSTANCE instance) {
    runState.instance = instance;
    runState.mainWindow = CreateWindowExA(0, kMainWindowClass, " ", WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX,
                                          0, 0, 640, 480, nullptr, nullptr, instance, nullptr);
    if (!runState.mainWindow) return 0;
    // Without a title of its own the window gets one from the log reader.
    if (runState.windowTitle) SetWindowTextA(runState.mainWindow, runState.windowTitle);
    if (!runState.silent && !runState.relaunched && !runState.noBackground)
        ShowWindow(runState.mainWindow, SW_SHOWMAXIMIZED);
    UpdateWindow(runState.mainWindow);
    return 1;
}

// A timed wait lasts until the window's WM_TIMER clears the flag.
static bool WaitIsPending() { return runState.waitPending != 0; }

void WaitWithMessages(UINT milliseconds) {
    if (milliseconds) {
        runState.waitPending = 1;
        // Only the window's timer ends the wait: without the window or its timer (a timer of no
        // window posts WM_TIMER to no procedure) it would never end.
        if (!runState.mainWindow || !SetTimer(runState.mainWindow, WAIT_TIMER_ID, milliseconds, nullptr))
            runState.waitPending = 0;
    } else {
        runState.waitPending = 0;
    }
    if (runState.waitPending) {
        PumpMessagesWhile(WaitIsPending, nullptr);
    } else {
        DispatchWaitingMessages(nullptr);
    }
    if (milliseconds) KillTimer(runState.mainWindow, WAIT_TIMER_ID);
}

int DrainUntilQuit() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

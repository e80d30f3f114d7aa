// kuninst-log on Windows: a hidden window takes the caption, and a hook on this thread answers
// the reader's message box with OK after noting it, so that the tool never waits for a user.
#include <windows.h>

#include "shell/runstate.h"
#include "shell/startup.h"
#include "watch.h"

namespace {
HHOOK hook;
Watched watched;

LRESULT CALLBACK AnswerBoxes(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND window = reinterpret_cast<HWND>(wParam);
        char className[16];
        GetClassNameA(window, className, sizeof className);
        if (lstrcmpA(className, "#32770") == 0) {
            char text[1024];
            char caption[256];
            GetDlgItemTextA(window, 0xFFFF, text, sizeof text);  // the box's static text
            GetWindowTextA(window, caption, sizeof caption);
            watched.boxes++;
            watched.boxText = text;
            watched.boxCaption = caption;
            PostMessageA(window, WM_COMMAND, IDOK, 0);
        }
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}
}  // namespace

bool TakePlatformOptions(int &, char **, std::string &) { return true; }

void SettlePlatform() {
    DetectPlatform();
    runState.instance = GetModuleHandleA(nullptr);
}

void BeginWatch() {
    watched = Watched{};
    runState.mainWindow = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, runState.instance, nullptr);
    hook = SetWindowsHookExA(WH_CBT, AnswerBoxes, nullptr, GetCurrentThreadId());
}

Watched EndWatch() {
    if (hook) UnhookWindowsHookEx(hook);
    char caption[1024] = "";
    if (runState.mainWindow) GetWindowTextA(runState.mainWindow, caption, sizeof caption);
    watched.windowCaption = caption;
    DestroyWindow(runState.mainWindow);
    runState.mainWindow = nullptr;
    return watched;
}

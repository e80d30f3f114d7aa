// Under Wine: a real window stands for the background window, and a timer answers the reader's
// message box the way a user would, noting its text and caption.
#pragma once
#include <windows.h>

namespace logtest {

inline Shown *boxWatch;

inline BOOL CALLBACK FindBox(HWND window, LPARAM found) {
    char className[16];
    GetClassNameA(window, className, sizeof className);
    if (strcmp(className, "#32770") != 0) return TRUE;
    *reinterpret_cast<HWND *>(found) = window;
    return FALSE;
}

inline VOID CALLBACK AnswerBox(HWND, UINT, UINT_PTR, DWORD) {
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
    if (!box || !IsWindowVisible(box)) return;
    char text[512];
    char caption[256];
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // the box's static text
    GetWindowTextA(box, caption, sizeof caption);
    boxWatch->boxes++;
    boxWatch->text = text;
    boxWatch->caption = caption;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

inline Shown RunReader(const std::string &logPath, char (&logDirectory)[LOG_DIRECTORY_SIZE], int &result) {
    Shown shown;
    boxWatch = &shown;
    HWND window = CreateWindowA("STATIC", "before", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    runState.mainWindow = window;
    UINT_PTR timer = SetTimer(nullptr, 0, 20, AnswerBox);
    result = ReadInstallLog(logPath.c_str(), logDirectory);
    KillTimer(nullptr, timer);
    char caption[512];
    GetWindowTextA(window, caption, sizeof caption);
    shown.windowCaption = caption;
    DestroyWindow(window);
    runState.mainWindow = nullptr;
    boxWatch = nullptr;
    return shown;
}

}  // namespace logtest

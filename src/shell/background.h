// The background window: the program's main window, a full-screen gradient behind the wizard that
// owns the dialogs, receives the wait timer and ends the last message loop when destroyed.
#pragma once
#include <windows.h>

enum : UINT_PTR { WAIT_TIMER_ID = 8298 };  // the timer of every timed wait, on the background window
enum : int { ICON_PROGRAM = 101 };        // the program's icon, the window class's too

extern const char kMainWindowClass[];  // "QXRVUninstall"

// RegisterMainClass - registers the background window's class; the class atom, or 0 on failure.
ATOM RegisterMainClass(HINSTANCE instance);

// CreateMainWindow - stores the instance, creates the background window as mainWindow, gives it the
// command line's title and shows it maximised unless the run is silent, relaunched or has No
// Background. 1 on success, 0 when the window cannot be created.
int CreateMainWindow(HINSTANCE instance);

// MainWndProc - the background window's procedure.
LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// WaitWithMessages - dispatches window messages until the wait timer has fired once after the
// given milliseconds (0: only the messages already waiting). Sleeps while the queue is empty.
void WaitWithMessages(UINT milliseconds);

// DrainUntilQuit - dispatches messages until WM_QUIT; returns its exit code.
int DrainUntilQuit();

// The message pump: dispatch order, the filter, and sleeping while the queue is empty.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "shell/pump.h"

namespace {
std::vector<UINT> dispatched;
std::vector<UINT> filtered;
bool waiting;

LRESULT CALLBACK RecordingWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_APP || message == WM_TIMER) dispatched.push_back(message);
    if (message == WM_APP + 9 || message == WM_TIMER) waiting = false;
    return DefWindowProcA(window, message, wParam, lParam);
}

bool StillWaiting() { return waiting; }

// Takes WM_APP + 2 for itself, as a dialog takes its keyboard messages.
bool TakeSecond(MSG *message) {
    if (message->message >= WM_APP) filtered.push_back(message->message);
    return message->message == WM_APP + 2;
}

class Pump : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = RecordingWndProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "KuPumpTest";
        RegisterClassA(&windowClass);
        window = CreateWindowExA(0, "KuPumpTest", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window, nullptr) << "CreateWindowExA failed, error " << GetLastError();
        MSG stale;
        while (PeekMessageA(&stale, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&stale);
        dispatched.clear();
        filtered.clear();
        waiting = true;
    }
    void TearDown() override {
        if (window) DestroyWindow(window);
        UnregisterClassA("KuPumpTest", GetModuleHandleA(nullptr));
    }
    HWND window = nullptr;
};

ULONGLONG ThreadCpuMilliseconds() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    ULARGE_INTEGER k{{kernel.dwLowDateTime, kernel.dwHighDateTime}};
    ULARGE_INTEGER u{{user.dwLowDateTime, user.dwHighDateTime}};
    return (k.QuadPart + u.QuadPart) / 10000;
}
}  // namespace

TEST_F(Pump, DispatchesInOrderAndOffersEachToTheFilter) {
    for (UINT id : {WM_APP + 1, WM_APP + 2, WM_APP + 3, WM_APP + 9, WM_APP + 4}) PostMessageA(window, id, 0, 0);
    PumpMessagesWhile(StillWaiting, TakeSecond);
    // The whole waiting queue is drained before the condition is tested again.
    EXPECT_EQ(dispatched, (std::vector<UINT>{WM_APP + 1, WM_APP + 3, WM_APP + 9, WM_APP + 4}));
    EXPECT_EQ(filtered, (std::vector<UINT>{WM_APP + 1, WM_APP + 2, WM_APP + 3, WM_APP + 9, WM_APP + 4}));
}

TEST_F(Pump, NothingHappensWhenNotWaiting) {
    PostMessageA(window, WM_APP + 1, 0, 0);
    waiting = false;
    PumpMessagesWhile(StillWaiting, nullptr);
    EXPECT_TRUE(dispatched.empty()) << "dispatched " << dispatched.size() << " messages";
}

TEST_F(Pump, SleepsWhileTheQueueIsEmpty) {
    ASSERT_NE(SetTimer(window, 1, 600, nullptr), 0u) << "SetTimer failed, error " << GetLastError();
    DWORD wallBefore = GetTickCount();
    ULONGLONG cpuBefore = ThreadCpuMilliseconds();
    PumpMessagesWhile(StillWaiting, nullptr);
    ULONGLONG cpu = ThreadCpuMilliseconds() - cpuBefore;
    DWORD wall = GetTickCount() - wallBefore;
    KillTimer(window, 1);
    EXPECT_EQ(dispatched, (std::vector<UINT>{WM_TIMER}));
    // Under Wine a polling loop's own share is about a quarter of the wait (the rest is the
    // server's); a sleeping one uses none.
    EXPECT_LT(cpu * 10, wall) << "used " << cpu << " ms of processor time in a wait of " << wall << " ms";
}

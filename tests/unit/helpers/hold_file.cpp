// Test helper: keeps the file named on its command line open without sharing, so that no other
// process can write, replace or delete it, until the test ends this process (at most a minute).
// Once the file is held it signals the event "kutest-held-<its process id>", which the test made.
#include <windows.h>

#include <cstdio>

int main(int argc, char **argv) {
    if (argc != 2) return 2;
    HANDLE file = CreateFileA(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    char name[64];
    snprintf(name, sizeof name, "kutest-held-%lu", GetCurrentProcessId());
    HANDLE held = OpenEventA(EVENT_MODIFY_STATE, FALSE, name);
    if (held) SetEvent(held);
    Sleep(60000);
    CloseHandle(file);
    return 0;
}

#include "shell/pump.h"

void DispatchWaitingMessages(PumpFilter filter) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (filter && filter(&message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void PumpMessagesWhile(PumpCondition waiting, PumpFilter filter) {
    while (waiting()) {
        DispatchWaitingMessages(filter);
        // Every waiting message is handled; sleep until the next one rather than polling.
        if (waiting()) WaitMessage();
    }
}

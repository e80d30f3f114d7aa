// The message pump of every loop that waits for something to happen in a window procedure.
#pragma once
#include <windows.h>

// Decides whether the loop still waits: true until the awaited event has happened.
typedef bool (*PumpCondition)();

// Offered each message first; true when it took the message (a dialog's keyboard handling), so
// that it is not translated and dispatched.
typedef bool (*PumpFilter)(MSG *message);

// DispatchWaitingMessages - takes and dispatches the messages already waiting (PeekMessageA, the
// filter, TranslateMessage, DispatchMessageA) and returns when the queue is empty.
void DispatchWaitingMessages(PumpFilter filter);

// PumpMessagesWhile - takes and dispatches every waiting message of the thread (PeekMessageA,
// then the filter, then TranslateMessage and DispatchMessageA), and tests the condition again
// each time the queue is empty. While the condition holds and nothing is waiting it sleeps in
// WaitMessage, so an idle wait costs no processor time. filter may be null.
void PumpMessagesWhile(PumpCondition waiting, PumpFilter filter);

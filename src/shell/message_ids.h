// Named ids of the built-in messages that code fetches outside a table; the texts themselves are in
// resources/messages.def.
#pragma once

enum : int {
    MSG_LOG_FILTER = 1,       // "Installation Logs", the open-file dialog's filter name
    MSG_PRODUCT_NAME = 2,     // caption of the log error boxes
    MSG_CANNOT_OPEN = 3,
    MSG_INVALID_LOG = 4,
    MSG_UNINSTALL = 25,       // caption of the program's questions; start of the window title
    MSG_BACK = 47,
    MSG_CANCEL = 48,
    MSG_SELECT_ALL = 49,
    MSG_SELECT_NONE = 50,
    MSG_CANCEL_QUESTION = 59,
    MSG_ADMIN_RIGHTS = 67,
};

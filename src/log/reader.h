// The install log reader: turns INSTALL.LOG into the item model.
#pragma once
#include <cstddef>

enum : size_t { LOG_DIRECTORY_SIZE = 256 };

// ReadInstallLog - reads the whole log at logPath into the item lists, the log header and the
// reader results; logDirectory (LOG_DIRECTORY_SIZE bytes) receives the highest directory the
// installation created that holds the log, in short form with a trailing backslash. Sets the
// background window's caption unless a title was given. Returns 0 on success, 1 after a failure
// that was reported to the user (log not readable, not a log, missing administrator rights).
int ReadInstallLog(const char *logPath, char *logDirectory);

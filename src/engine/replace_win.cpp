#include <windows.h>

#include <cstring>

#include "engine/files.h"
#include "engine/paths.h"
#include "engine/replace.h"
#include "shell/runstate.h"
#include "shell/text.h"

// Asks the system to move the staged copy onto target during the next restart. The target still
// exists then, so the move must be allowed to replace it: without that both Windows NT and the
// other platforms' restart processing would keep the old file.
static void ScheduleReplacement(const char *staged, const char *target) {
    char stagedShort[PATH_WORK_SIZE];
    char targetShort[PATH_WORK_SIZE];
    CopyText(stagedShort, staged);  // fits: made in a buffer of this size
    CopyText(targetShort, target);  // fits: the staged name was made from it
    NormalizePath(stagedShort, sizeof stagedShort, false);
    NormalizePath(targetShort, sizeof targetShort, false);
    if (runState.platform == PLATFORM_NT) {
        // The result is not examined: nothing could be done about a refusal.
        MoveFileExA(stagedShort, target, MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING);
        return;
    }
    WritePrivateProfileStringA("rename", targetShort, stagedShort, "WININIT.INI");
    // Written through at once, so that a later direct append to the file cannot be overtaken.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, "WININIT.INI");
}

bool MakeReplacementName(char *buffer, size_t size, const char *target) {
    return MakeReplacementNameWith(buffer, size, target, FileExists);
}

void CopyBack(const char *source, const char *target) {
    if (CopyFileA(source, target, FALSE)) {
        RemoveInstalledFile(source);
        return;
    }
    char staged[PATH_WORK_SIZE];
    // No free name (or a path too long for one) is handled like a failed copy: nothing is
    // scheduled and the backup stays where it is.
    if (!MakeReplacementName(staged, sizeof staged, target) || !CopyFileA(source, staged, FALSE)) {
        RemoveInstalledFile(target);
        return;
    }
    runState.restartNeeded = 1;
    RemoveInstalledFile(source);
    ScheduleReplacement(staged, target);
}

// The path of WININIT.INI in the Windows directory; false when it does not fit.
static bool WininitPath(char (&path)[PATH_WORK_SIZE]) {
    UINT n = GetWindowsDirectoryA(path, sizeof path);
    if (n == 0 || n >= sizeof path) return false;
    if (path[n - 1] != '\\' && !AppendText(path, "\\")) return false;
    return AppendText(path, "WININIT.INI");
}

// Appends text to the end of an existing file, or creates the file with the section header first.
static void AppendWininitLine(const char *file, const char *line) {
    char text[PATH_WORK_SIZE + 32];
    HFILE handle = _lopen(file, OF_WRITE);
    if (handle != HFILE_ERROR) {
        _llseek(handle, 0, FILE_END);
        CopyText(text, line);
    } else {
        handle = _lcreat(file, 0);
        if (handle == HFILE_ERROR) return;  // neither opened nor created: nothing is scheduled
        FormatText(text, sizeof text, "[rename]\r\n%s", line);
    }
    _lwrite(handle, text, static_cast<UINT>(strlen(text)));  // the result is not examined
    _lclose(handle);
}

void DeleteAtRestart(const char *path) {
    if (runState.platform == PLATFORM_NT) {
        MoveFileExA(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
        return;
    }
    char file[PATH_WORK_SIZE];
    char line[PATH_WORK_SIZE + 16];
    // A path cut to fit would delete the wrong file: such a request is not made.
    if (!WininitPath(file) || !FormatText(line, sizeof line, "NUL=%s\r\n", path)) return;
    AppendWininitLine(file, line);
}

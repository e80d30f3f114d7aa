#include "engine/files.h"

#include <windows.h>

#include <cstring>
#include <string_view>

#include "engine/paths.h"
#include "engine/replace.h"
#include "log/model.h"
#include "shell/runstate.h"
#include "shell/text.h"

int SetNormalAttributes(const char *path, uint32_t attributes) {
    return SetFileAttributesA(path, attributes ? attributes : FILE_ATTRIBUTE_NORMAL) ? 0 : 1;
}

// Whether path names the running program, compared in long form without regard to case.
static bool IsOwnProgram(const char *path) {
    if (!runState.ownProgramPath || !runState.ownProgramPath[0]) return false;
    char longForm[PATH_WORK_SIZE];
    // A path too long for the buffer cannot be the program's own (that path fits 255 characters);
    // comparing a cut copy could match a wrong file.
    if (!CopyText(longForm, path)) return false;
    NormalizePath(longForm, sizeof longForm, true);  // unchanged when it cannot be normalised
    return EqualsNoCase(longForm, runState.ownProgramPath);
}

int RemoveFile(const char *path) {
    if (IsOwnProgram(path)) runState.ownFileTouched = 1;
    return DeleteFileA(path) ? 0 : 1;
}

int RemoveDirectoryEntry(const char *path) {
    SetNormalAttributes(path, 0);  // a read-only folder could not be removed otherwise
    return RemoveDirectoryA(path) ? 0 : 1;
}

// Removes the companion whose extension takes the place of the help file's last four characters.
static void RemoveHelpCompanion(const char *path, size_t length, const char *extension) {
    char companion[PATH_WORK_SIZE];
    if (!CopyText(companion, std::string_view(path, length - 4)) || !AppendText(companion, extension))
        return;  // too long for the working buffer: no companion to look for
    RemoveFile(companion);  // a missing companion is fine
}

void RemoveInstalledFile(const char *path) {
    SetNormalAttributes(path, 0);
    RemoveFile(path);
    size_t length = strlen(path);
    if (length > 4 && EqualsNoCase(path + length - 4, ".HLP")) {
        RemoveHelpCompanion(path, length, ".GID");
        RemoveHelpCompanion(path, length, ".FTS");
    }
}

// Whether directory is the Windows or the system directory (asked at each call), or the system
// directory the log named.
static bool IsSystemFolder(std::string_view directory) {
    char folder[MAX_PATH];
    UINT n = GetWindowsDirectoryA(folder, sizeof folder);
    if (n && n < sizeof folder && EqualsNoCase(directory, folder)) return true;
    n = GetSystemDirectoryA(folder, sizeof folder);
    if (n && n < sizeof folder && EqualsNoCase(directory, folder)) return true;
    const char *logged = readerResults.systemDirectory;
    return logged && logged[0] && EqualsNoCase(directory, logged);
}

// Whether a wildcard pattern may not be used for removal: a "*.*" pattern over a short, Windows or
// system directory, or a pattern without a directory part, which would name the current drive's
// root.
static bool IsProtectedPattern(const char *pattern, size_t directoryLength) {
    if (!strchr(pattern, '\\')) return true;
    size_t length = strlen(pattern);
    if (length < 3 || strcmp(pattern + length - 3, "*.*") != 0) return false;
    return directoryLength < 4 || IsSystemFolder(std::string_view(pattern, directoryLength));
}

// Joins directory, a backslash and name; false when it does not fit the working buffer.
static bool JoinPath(char (&buffer)[PATH_WORK_SIZE], std::string_view directory, const char *name) {
    return CopyText(buffer, directory) && AppendText(buffer, "\\") && AppendText(buffer, name);
}

// Removes every file (not directory) that the pattern matches; an entry whose path would not fit
// the working buffer is skipped.
static void RemoveMatches(const char *pattern, std::string_view directory) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return;  // nothing matches
    do {
        char path[PATH_WORK_SIZE];
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        if (JoinPath(path, directory, found.cFileName)) RemoveInstalledFile(path);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

int RemoveOrRestoreFile(const char *path, const char *backupPath, bool restore) {
    if (!strchr(path, '*') && !strchr(path, '?')) {
        RemoveInstalledFile(path);
        if (restore && backupPath && backupPath[0]) CopyBack(backupPath, path);
        return 1;
    }
    size_t directoryLength = static_cast<size_t>(FileNamePart(path) - path);
    if (directoryLength) directoryLength--;  // the directory part ends before the last backslash
    if (IsProtectedPattern(path, directoryLength)) return 0;
    RemoveMatches(path, std::string_view(path, directoryLength));  // never restored from a backup
    return 1;
}

// One entry of a tree: folders (except names beginning with ".") are removed in turn, files only
// with full removal. An entry whose path would not fit the working buffer is skipped.
static void RemoveTreeEntry(const char *directory, const WIN32_FIND_DATAA &found, bool fullRemoval) {
    char path[PATH_WORK_SIZE];
    bool isDirectory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (isDirectory && found.cFileName[0] == '.') return;  // ".", ".." and hidden folders stay
    if (!isDirectory && !fullRemoval) return;
    if (!JoinPath(path, directory, found.cFileName)) return;
    if (isDirectory) {
        RemoveDirectoryTree(path, fullRemoval);
    } else {
        SetNormalAttributes(path, 0);
        RemoveFile(path);
    }
}

void RemoveDirectoryTree(const char *directory, bool fullRemoval) {
    // Checked at every level, so system folders inside a tree are never emptied or removed.
    if (strlen(directory) < 4 || IsSystemFolder(directory)) return;
    char pattern[PATH_WORK_SIZE];
    if (JoinPath(pattern, directory, "*.*")) {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA(pattern, &found);
        if (search != INVALID_HANDLE_VALUE) {
            do RemoveTreeEntry(directory, found, fullRemoval);
            while (FindNextFileA(search, &found));
            FindClose(search);
        }
    }
    RemoveDirectoryEntry(directory);  // fails quietly while anything is left in it
}

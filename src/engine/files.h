// Removing files and directories, noticing the program's own file and sparing the system folders.
#pragma once
#include <cstdint>

// SetNormalAttributes - sets path's attributes (normal when 0 is given). 0 on success, 1 otherwise.
int SetNormalAttributes(const char *path, uint32_t attributes);

// RemoveFile - deletes path; notes in ownFileTouched, before and whatever the deletion, when path
// is the running program's own file. 0 when deleted, 1 otherwise.
int RemoveFile(const char *path);

// RemoveDirectoryEntry - removes the (empty) directory path after resetting its attributes. 0 when
// removed, 1 otherwise.
int RemoveDirectoryEntry(const char *path);

// RemoveInstalledFile - deletes an installed file, read-only or not, and for a help file the
// .GID and .FTS companions the help system made beside it.
void RemoveInstalledFile(const char *path);

// RemoveOrRestoreFile - removes a file (restoring it from backupPath when restore is wanted and a
// backup is named) or every file a wildcard pattern matches. Returns 0 when a "*.*" pattern over
// a protected directory (short, Windows or system) was refused, 1 otherwise.
int RemoveOrRestoreFile(const char *path, const char *backupPath, bool restore);

// RemoveDirectoryTree - removes directory (no trailing backslash): with full removal every file
// and folder in it, otherwise only the folders that are or become empty. Names beginning with "."
// are passed over; the Windows and system directories are never touched, at any depth.
void RemoveDirectoryTree(const char *directory, bool fullRemoval);

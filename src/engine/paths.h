// Path utilities: stored form of a path (long or short names), existence, name part, display form.
#pragma once
#include <cstddef>

enum : size_t { PATH_WORK_SIZE = 256 };  // working buffers: 255 characters and the terminator

// NormalizePath - rewrites path (a buffer of size bytes) in place so that every existing component
// carries the name stored on disk: its short 8.3 alias when longNames is false and it has one,
// otherwise its long name. A name without any backslash is taken relative to the current
// directory. Components that do not exist stay as written. Returns false, leaving the path as it
// was, when the path or the result would not fit 255 characters or the current directory cannot
// be read.
bool NormalizePath(char *path, size_t size, bool longNames);

// FileExists - whether the path names a file or a directory.
bool FileExists(const char *path);

// FileNamePart - the position just after the last backslash of path, or path itself.
const char *FileNamePart(const char *path);
char *FileNamePart(char *path);

// ShortenPathForDisplay - appends path to the text in buffer (size bytes), shortened for a status
// line: a long middle becomes "..." and anything still over 48 characters is cut to 45 and "...".
void ShortenPathForDisplay(char *buffer, size_t size, const char *path);

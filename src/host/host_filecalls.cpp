// More file calls of the host layer, over the file root of host_files.cpp: the old-style _l file
// calls on POSIX descriptors, folders, deletion, attributes, the Windows and system directories
// and drive types.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "host/host.h"

namespace {
char driveTypes[26];  // 0: not set by a test

bool MapFile(LPCSTR path, char (&host)[1024]) { return HostMapPath(path, host, sizeof host); }

bool IsFolder(const char *host) {
    struct stat info;
    return stat(host, &info) == 0 && S_ISDIR(info.st_mode);
}

int DriveIndex(char letter) {
    int i = (letter & ~0x20) - 'A';
    return i >= 0 && i < 26 ? i : -1;
}

// Copies text with the conventions of the directory calls: the length without the terminator,
// or the size needed with it when the buffer is too small.
UINT ReturnText(const char *text, LPSTR buffer, UINT size) {
    UINT length = static_cast<UINT>(strlen(text));
    if (!buffer || size <= length) return length + 1;
    memcpy(buffer, text, length + 1);
    return length;
}
}  // namespace

HFILE _lopen(LPCSTR path, int mode) {
    char host[1024];
    if (!MapFile(path, host) || IsFolder(host)) return HFILE_ERROR;
    int flags = (mode & 3) == OF_WRITE ? O_WRONLY : (mode & 3) == OF_READWRITE ? O_RDWR : O_RDONLY;
    int fd = open(host, flags | O_CLOEXEC);
    return fd < 0 ? HFILE_ERROR : fd;
}

HFILE _lcreat(LPCSTR path, int) {
    char host[1024];
    if (!MapFile(path, host) || IsFolder(host)) return HFILE_ERROR;
    int fd = open(host, O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    return fd < 0 ? HFILE_ERROR : fd;
}

UINT _lread(HFILE file, void *buffer, UINT count) {
    ssize_t n = read(file, buffer, count);
    return n < 0 ? static_cast<UINT>(HFILE_ERROR) : static_cast<UINT>(n);
}

UINT _lwrite(HFILE file, LPCSTR buffer, UINT count) {
    ssize_t n = write(file, buffer, count);
    return n < 0 ? static_cast<UINT>(HFILE_ERROR) : static_cast<UINT>(n);
}

HFILE _lclose(HFILE file) { return close(file) == 0 ? 0 : HFILE_ERROR; }

BOOL CreateDirectoryA(LPCSTR path, SECURITY_ATTRIBUTES *) {
    char host[1024];
    return MapFile(path, host) && mkdir(host, 0777) == 0;
}

BOOL RemoveDirectoryA(LPCSTR path) {
    char host[1024];
    return MapFile(path, host) && rmdir(host) == 0;
}

BOOL DeleteFileA(LPCSTR path) {
    char host[1024];
    return MapFile(path, host) && !IsFolder(host) && unlink(host) == 0;
}

BOOL SetFileAttributesA(LPCSTR path, DWORD attributes) {
    char host[1024];
    struct stat info;
    if (!MapFile(path, host) || stat(host, &info) != 0) return FALSE;
    if (S_ISDIR(info.st_mode)) return TRUE;
    mode_t mode = (attributes & FILE_ATTRIBUTE_READONLY) ? (info.st_mode & ~0222u) : (info.st_mode | S_IWUSR);
    return chmod(host, mode) == 0;
}

UINT GetWindowsDirectoryA(LPSTR buffer, UINT size) { return ReturnText("C:\\WINDOWS", buffer, size); }
UINT GetSystemDirectoryA(LPSTR buffer, UINT size) { return ReturnText("C:\\WINDOWS\\SYSTEM32", buffer, size); }

void HostSetDriveType(char letter, UINT type) {
    int i = DriveIndex(letter);
    if (i >= 0) driveTypes[i] = static_cast<char>(type + 1);
}

// C: is a fixed drive and the others are absent, unless a test says otherwise.
UINT GetDriveTypeA(LPCSTR path) {
    int i = path && path[0] && path[1] == ':' ? DriveIndex(path[0]) : -1;
    if (i < 0) return DRIVE_NO_ROOT_DIR;
    if (driveTypes[i]) return static_cast<UINT>(driveTypes[i] - 1);
    return i == 'C' - 'A' ? DRIVE_FIXED : DRIVE_NO_ROOT_DIR;
}

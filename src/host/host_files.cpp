// Files of the host layer: Windows paths under a root folder that stands for the drives
// (C:\ is <root>/C/), names matched without regard to case, short aliases made up for names
// that do not fit 8.3, and the old-style _l file calls over POSIX descriptors.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "host/host.h"

namespace {
std::string root;
char driveTypes[26];  // 0: not set

unsigned char Fold(unsigned char c) {
    if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 32);
    return c;
}

bool SameName(const std::string &a, const std::string &b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); i++) {
        if (Fold(static_cast<unsigned char>(a[i])) != Fold(static_cast<unsigned char>(b[i]))) return false;
    }
    return true;
}

bool IsShortNameChar(char c) {
    return static_cast<unsigned char>(c) > ' ' && !strchr("\"*+,/:;<=>?[\\]|.", c);
}

// Whether a name already fits 8.3 (and so has no alias).
bool FitsShortName(const std::string &name) {
    size_t dot = name.find('.');
    std::string base = name.substr(0, dot);
    std::string ext = dot == std::string::npos ? "" : name.substr(dot + 1);
    if (base.empty() || base.size() > 8 || ext.size() > 3) return false;
    if (dot != std::string::npos && ext.empty()) return false;
    return std::all_of(base.begin(), base.end(), IsShortNameChar) && std::all_of(ext.begin(), ext.end(), IsShortNameChar);
}

std::string ShortNameStem(const std::string &name, std::string &ext) {
    size_t dot = name.rfind('.');
    std::string base, extension;
    for (size_t i = 0; i < (dot == std::string::npos ? name.size() : dot); i++) {
        if (IsShortNameChar(name[i])) base += static_cast<char>(Fold(static_cast<unsigned char>(name[i])));
    }
    if (dot != std::string::npos) {
        for (size_t i = dot + 1; i < name.size() && extension.size() < 3; i++) {
            if (IsShortNameChar(name[i])) extension += static_cast<char>(Fold(static_cast<unsigned char>(name[i])));
        }
    }
    if (base.empty()) base = "_";
    ext = extension;
    return base.substr(0, 6);
}

// The entries of a host folder, sorted, without "." and "..".
std::vector<std::string> Entries(const std::string &folder) {
    std::vector<std::string> names;
    DIR *dir = opendir(folder.c_str());
    if (!dir) return names;
    while (dirent *entry = readdir(dir)) {
        if (strcmp(entry->d_name, ".") != 0 && strcmp(entry->d_name, "..") != 0) names.push_back(entry->d_name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

// The 8.3 alias of names[index] within its folder: stem, ~n, extension; n counts the earlier
// long names of the folder with the same stem and extension.
std::string ShortAlias(const std::vector<std::string> &names, size_t index) {
    if (FitsShortName(names[index])) return "";
    std::string ext;
    std::string stem = ShortNameStem(names[index], ext);
    int n = 1;
    for (size_t i = 0; i < index; i++) {
        std::string otherExt;
        if (!FitsShortName(names[i]) && ShortNameStem(names[i], otherExt) == stem && otherExt == ext) n++;
    }
    std::string alias = stem + "~" + std::to_string(n);
    if (!ext.empty()) alias += "." + ext;
    return alias;
}

bool IsFolder(const std::string &path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The name on disk of a component in folder: the same name, a name equal without regard to
// case, or the entry whose alias it is; the component itself when nothing matches.
std::string MatchComponent(const std::string &folder, const std::string &component) {
    struct stat info;
    if (lstat((folder + "/" + component).c_str(), &info) == 0) return component;
    std::vector<std::string> names = Entries(folder);
    for (const std::string &name : names) {
        if (SameName(name, component)) return name;
    }
    if (component.find('~') != std::string::npos) {
        for (size_t i = 0; i < names.size(); i++) {
            if (SameName(ShortAlias(names, i), component)) return names[i];
        }
    }
    return component;
}
}  // namespace

void HostSetRoot(const char *directory) { root = directory; }

const char *HostRoot() {
    if (root.empty()) {
        // No root chosen: a private folder for this process.
        char pattern[] = "/tmp/kuhost-XXXXXX";
        if (mkdtemp(pattern)) root = pattern;
    }
    return root.c_str();
}

// Maps a Windows path to the host; false for paths the host cannot hold (UNC, bad drive).
static bool ToHostPath(const char *path, std::string &host) {
    if (!path) return false;
    std::string full = path;
    if (full.size() >= 2 && full[0] == '\\' && full[1] == '\\') return false;  // no network shares
    if (full.size() >= 2 && full[1] == ':') {
        if (full.size() > 2 && full[2] != '\\') return false;  // drive-relative names: not used here
    } else if (!full.empty() && full[0] == '\\') {
        full = "C:" + full;
    } else {
        full = "C:\\" + full;  // the current directory is always C:\ here
    }
    char letter = static_cast<char>(Fold(static_cast<unsigned char>(full[0])));
    if (letter < 'A' || letter > 'Z') return false;
    host = std::string(HostRoot()) + "/" + letter;
    std::vector<std::string> parts;
    size_t start = 3;
    while (start <= full.size()) {
        size_t end = full.find('\\', start);
        if (end == std::string::npos) end = full.size();
        std::string component = full.substr(start, end - start);
        if (component.find('/') != std::string::npos) return false;
        if (component == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!component.empty() && component != ".") {
            parts.push_back(component);
        }
        start = end + 1;
    }
    for (const std::string &component : parts) host += "/" + MatchComponent(host, component);
    return true;
}

DWORD GetFileAttributesA(LPCSTR path) {
    std::string host;
    struct stat info;
    if (!ToHostPath(path, host) || stat(host.c_str(), &info) != 0) return INVALID_FILE_ATTRIBUTES;
    if (S_ISDIR(info.st_mode)) return FILE_ATTRIBUTE_DIRECTORY;
    return (info.st_mode & S_IWUSR) ? FILE_ATTRIBUTE_ARCHIVE : FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY;
}

BOOL SetFileAttributesA(LPCSTR path, DWORD attributes) {
    std::string host;
    struct stat info;
    if (!ToHostPath(path, host) || stat(host.c_str(), &info) != 0) return FALSE;
    if (S_ISDIR(info.st_mode)) return TRUE;
    mode_t mode = (attributes & FILE_ATTRIBUTE_READONLY) ? (info.st_mode & ~0222u) : (info.st_mode | S_IWUSR);
    return chmod(host.c_str(), mode) == 0;
}

// Copies text with the conventions of the directory calls: the length without the terminator,
// or the size needed with it when the buffer is too small.
static UINT ReturnText(const char *text, LPSTR buffer, UINT size) {
    UINT length = static_cast<UINT>(strlen(text));
    if (!buffer || size <= length) return length + 1;
    memcpy(buffer, text, length + 1);
    return length;
}

DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer) { return ReturnText("C:\\", buffer, size); }
UINT GetWindowsDirectoryA(LPSTR buffer, UINT size) { return ReturnText("C:\\WINDOWS", buffer, size); }
UINT GetSystemDirectoryA(LPSTR buffer, UINT size) { return ReturnText("C:\\WINDOWS\\SYSTEM32", buffer, size); }

void HostSetDriveType(char letter, UINT type) {
    int i = Fold(static_cast<unsigned char>(letter)) - 'A';
    if (i >= 0 && i < 26) driveTypes[i] = static_cast<char>(type + 1);
}

UINT GetDriveTypeA(LPCSTR path) {
    if (!path || !path[0] || path[1] != ':') return DRIVE_NO_ROOT_DIR;
    int i = Fold(static_cast<unsigned char>(path[0])) - 'A';
    if (i < 0 || i >= 26) return DRIVE_NO_ROOT_DIR;
    if (driveTypes[i]) return static_cast<UINT>(driveTypes[i] - 1);
    return i == 'C' - 'A' ? DRIVE_FIXED : DRIVE_NO_ROOT_DIR;
}

BOOL CreateDirectoryA(LPCSTR path, SECURITY_ATTRIBUTES *) {
    std::string host;
    return ToHostPath(path, host) && mkdir(host.c_str(), 0777) == 0;
}

BOOL RemoveDirectoryA(LPCSTR path) {
    std::string host;
    return ToHostPath(path, host) && rmdir(host.c_str()) == 0;
}

BOOL DeleteFileA(LPCSTR path) {
    std::string host;
    return ToHostPath(path, host) && !IsFolder(host) && unlink(host.c_str()) == 0;
}

// ---------------------------------------------------------------------------------------------
// _l file calls

HFILE _lopen(LPCSTR path, int mode) {
    std::string host;
    if (!ToHostPath(path, host) || IsFolder(host)) return HFILE_ERROR;
    int flags = (mode & 3) == OF_WRITE ? O_WRONLY : (mode & 3) == OF_READWRITE ? O_RDWR : O_RDONLY;
    int fd = open(host.c_str(), flags | O_CLOEXEC);
    return fd < 0 ? HFILE_ERROR : fd;
}

HFILE _lcreat(LPCSTR path, int) {
    std::string host;
    if (!ToHostPath(path, host) || IsFolder(host)) return HFILE_ERROR;
    int fd = open(host.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
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

// ---------------------------------------------------------------------------------------------
// Searches

namespace {
struct Search {
    std::vector<WIN32_FIND_DATAA> found;
    size_t next;
};

bool MatchesPattern(const char *pattern, const char *name) {
    for (; *pattern; pattern++, name++) {
        if (*pattern == '*') {
            for (const char *rest = name;; rest++) {
                if (MatchesPattern(pattern + 1, rest)) return true;
                if (!*rest) return false;
            }
        }
        if (!*name) return false;
        if (*pattern != '?' && Fold(static_cast<unsigned char>(*pattern)) != Fold(static_cast<unsigned char>(*name)))
            return false;
    }
    return *name == '\0';
}

WIN32_FIND_DATAA Describe(const std::string &folder, const std::vector<std::string> &names, size_t i) {
    WIN32_FIND_DATAA data{};
    struct stat info;
    std::string path = folder + "/" + names[i];
    bool isFolder = stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    data.dwFileAttributes = isFolder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    if (!isFolder) data.nFileSizeLow = static_cast<DWORD>(info.st_size);
    snprintf(data.cFileName, sizeof data.cFileName, "%s", names[i].c_str());
    snprintf(data.cAlternateFileName, sizeof data.cAlternateFileName, "%s", ShortAlias(names, i).c_str());
    return data;
}
}  // namespace

HANDLE FindFirstFileA(LPCSTR pattern, WIN32_FIND_DATAA *found) {
    if (!pattern) return INVALID_HANDLE_VALUE;
    const char *slash = strrchr(pattern, '\\');
    std::string folderPath = slash ? std::string(pattern, static_cast<size_t>(slash - pattern + 1)) : "C:\\";
    const char *mask = slash ? slash + 1 : pattern;
    if (strcmp(mask, "*.*") == 0) mask = "*";  // as on Windows: names without a dot match too
    std::string folder;
    if (!*mask || !ToHostPath(folderPath.c_str(), folder) || !IsFolder(folder)) return INVALID_HANDLE_VALUE;
    std::vector<std::string> names = Entries(folder);
    Search *search = new Search{{}, 0};
    for (size_t i = 0; i < names.size(); i++) {
        std::string alias = ShortAlias(names, i);
        if (MatchesPattern(mask, names[i].c_str()) || (!alias.empty() && MatchesPattern(mask, alias.c_str())))
            search->found.push_back(Describe(folder, names, i));
    }
    if (search->found.empty()) {
        delete search;
        return INVALID_HANDLE_VALUE;
    }
    *found = search->found[search->next++];
    return search;
}

BOOL FindNextFileA(HANDLE handle, WIN32_FIND_DATAA *found) {
    Search *search = static_cast<Search *>(handle);
    if (!search || search->next >= search->found.size()) return FALSE;
    *found = search->found[search->next++];
    return TRUE;
}

BOOL FindClose(HANDLE handle) {
    delete static_cast<Search *>(handle);
    return TRUE;
}


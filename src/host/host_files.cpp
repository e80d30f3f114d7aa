// Files of the host layer: Windows paths over a Linux folder that holds the drives (C:\ is
// <root>/C/), names matched without regard to case, as the Windows file system matches them.
#include <dirent.h>
#include <sys/stat.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/host.h"
#include "shell/text.h"

namespace {

std::string hostRoot;                    // empty until a test sets one
std::string currentDirectory = "C:\\";  // a Windows path ending with a backslash

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The entry of folder whose name equals name without regard to case, or name itself.
std::string StoredName(const std::string &folder, const std::string &name) {
    DIR *dir = opendir(folder.c_str());
    if (!dir) return name;
    std::string result = name;
    while (dirent *entry = readdir(dir)) {
        if (lstrcmpiA(entry->d_name, name.c_str()) == 0) {
            result = entry->d_name;
            break;
        }
    }
    closedir(dir);
    return result;
}

// The absolute Windows form of path ("X:\a\b"), resolving "." and "..".
bool AbsoluteWindowsPath(LPCSTR path, std::string &drive, std::vector<std::string> &parts) {
    std::string full;
    if (path[0] && path[1] == ':') {
        full = path;
    } else if (IsSeparator(path[0])) {
        full = currentDirectory.substr(0, 2) + path;
    } else {
        full = currentDirectory + path;
    }
    char letter = full[0];
    if (!((letter >= 'a' && letter <= 'z') || (letter >= 'A' && letter <= 'Z'))) return false;
    drive.assign(1, static_cast<char>(letter & ~0x20));
    parts.clear();
    size_t i = 2;
    while (i < full.size()) {
        while (i < full.size() && IsSeparator(full[i])) i++;
        size_t end = i;
        while (end < full.size() && !IsSeparator(full[end])) end++;
        std::string part = full.substr(i, end - i);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        i = end;
    }
    return true;
}

bool MapPath(LPCSTR path, std::string &mapped) {
    std::string drive;
    std::vector<std::string> parts;
    if (hostRoot.empty() || !path || !AbsoluteWindowsPath(path, drive, parts)) return false;
    mapped = hostRoot + "/" + drive;
    for (const std::string &part : parts) mapped += "/" + StoredName(mapped, part);
    return true;
}

bool Matches(const char *pattern, const char *name) {
    if (*pattern == '\0') return *name == '\0';
    if (*pattern == '*') return Matches(pattern + 1, name) || (*name && Matches(pattern, name + 1));
    if (*name == '\0') return false;
    if (*pattern != '?' && CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, pattern, 1, name, 1) != CSTR_EQUAL)
        return false;
    return Matches(pattern + 1, name + 1);
}

DWORD AttributesOf(const struct stat &info) {
    DWORD attributes = S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    if (!(info.st_mode & S_IWUSR)) attributes |= FILE_ATTRIBUTE_READONLY;
    return attributes;
}

struct Search {
    std::vector<WIN32_FIND_DATAA> found;
    size_t next = 0;
};

}  // namespace

void HostSetRoot(const char *dir) {
    hostRoot = dir ? dir : "";
    while (hostRoot.size() > 1 && hostRoot.back() == '/') hostRoot.pop_back();
    currentDirectory = "C:\\";
}

bool HostMapPath(LPCSTR path, char *hostPath, size_t size) {
    std::string mapped;
    return MapPath(path, mapped) && CopyText(hostPath, size, mapped);
}

DWORD GetFileAttributesA(LPCSTR path) {
    std::string mapped;
    struct stat info;
    if (!MapPath(path, mapped) || stat(mapped.c_str(), &info) != 0) return INVALID_FILE_ATTRIBUTES;
    return AttributesOf(info);
}

DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer) {
    std::string current = currentDirectory;
    if (current.size() > 3) current.pop_back();  // like the system: no trailing backslash but at a root
    if (current.size() + 1 > size) return static_cast<DWORD>(current.size() + 1);
    memcpy(buffer, current.c_str(), current.size() + 1);
    return static_cast<DWORD>(current.size());
}

BOOL SetCurrentDirectoryA(LPCSTR path) {
    std::string drive;
    std::vector<std::string> parts;
    if (!path || !AbsoluteWindowsPath(path, drive, parts)) return FALSE;
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return FALSE;
    currentDirectory = drive + ":\\";
    for (const std::string &part : parts) currentDirectory += part + "\\";
    return TRUE;
}

HANDLE FindFirstFileA(LPCSTR pattern, WIN32_FIND_DATAA *found) {
    std::string drive;
    std::vector<std::string> parts;
    if (!pattern || hostRoot.empty() || !AbsoluteWindowsPath(pattern, drive, parts) || parts.empty())
        return INVALID_HANDLE_VALUE;
    std::string namePattern = parts.back();
    std::string folder = hostRoot + "/" + drive;
    for (size_t i = 0; i + 1 < parts.size(); i++) folder += "/" + StoredName(folder, parts[i]);
    DIR *dir = opendir(folder.c_str());
    if (!dir) return INVALID_HANDLE_VALUE;
    Search *search = new Search;
    while (dirent *entry = readdir(dir)) {
        struct stat info;
        if (!Matches(namePattern.c_str(), entry->d_name)) continue;
        if (stat((folder + "/" + entry->d_name).c_str(), &info) != 0) continue;
        WIN32_FIND_DATAA data = {};
        data.dwFileAttributes = AttributesOf(info);
        data.nFileSizeLow = static_cast<DWORD>(info.st_size);
        data.nFileSizeHigh = static_cast<DWORD>(static_cast<uint64_t>(info.st_size) >> 32);
        CopyText(data.cFileName, entry->d_name);  // no 8.3 aliases here: cAlternateFileName stays empty
        search->found.push_back(data);
    }
    closedir(dir);
    if (search->found.empty()) {
        delete search;
        return INVALID_HANDLE_VALUE;
    }
    *found = search->found[search->next++];
    return search;
}

BOOL FindNextFileA(HANDLE handle, WIN32_FIND_DATAA *found) {
    Search *search = static_cast<Search *>(handle);
    if (!search || handle == INVALID_HANDLE_VALUE || search->next >= search->found.size()) return FALSE;
    *found = search->found[search->next++];
    return TRUE;
}

BOOL FindClose(HANDLE handle) {
    if (!handle || handle == INVALID_HANDLE_VALUE) return FALSE;
    delete static_cast<Search *>(handle);
    return TRUE;
}

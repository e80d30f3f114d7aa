// Files of the host layer: Windows paths over a Linux folder that holds the drives (C:\ is
// <root>/C/), names matched without regard to case, as the Windows file system matches them, and
// short 8.3 aliases made up for the names that do not fit 8.3.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "host/host.h"
#include "shell/text.h"

namespace {

std::string hostRoot;                    // empty until a test sets one
std::string currentDirectory = "C:\\";  // a Windows path ending with a backslash

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsShortNameChar(char c) {
    return static_cast<unsigned char>(c) > ' ' && !strchr("\"*+,/:;<=>?[\\]|.", c);
}

// Whether a name already fits 8.3, and so has no short alias.
bool FitsShortName(const std::string &name) {
    size_t dot = name.find('.');
    std::string base = name.substr(0, dot);
    std::string ext = dot == std::string::npos ? "" : name.substr(dot + 1);
    if (base.empty() || base.size() > 8 || ext.size() > 3 || (dot != std::string::npos && ext.empty())) return false;
    for (char c : base + ext) {
        if (!IsShortNameChar(c)) return false;
    }
    return true;
}

// The first six usable characters of the name before its last dot, upper case; ext receives the
// first three usable characters after it.
std::string ShortStem(const std::string &name, std::string &ext) {
    size_t dot = name.rfind('.');
    std::string stem;
    ext.clear();
    for (size_t i = 0; i < name.size(); i++) {
        char c = name[i];
        if (!IsShortNameChar(c)) continue;
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
        if (dot == std::string::npos || i < dot) {
            if (stem.size() < 6) stem += c;
        } else if (ext.size() < 3) {
            ext += c;
        }
    }
    return stem.empty() ? "_" : stem;
}

// The entries of a folder in sorted order, without "." and "..".
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

// The short alias the host makes up for names[index] when it does not fit 8.3: stem, "~n" and the
// extension, n counting the earlier long names of the folder with the same stem and extension.
std::string ShortAlias(const std::vector<std::string> &names, size_t index) {
    if (FitsShortName(names[index])) return "";
    std::string ext, otherExt;
    std::string stem = ShortStem(names[index], ext);
    int n = 1;
    for (size_t i = 0; i < index; i++) {
        if (!FitsShortName(names[i]) && ShortStem(names[i], otherExt) == stem && otherExt == ext) n++;
    }
    return stem + "~" + std::to_string(n) + (ext.empty() ? "" : "." + ext);
}

// The entry of folder whose name equals name without regard to case, or whose short alias it is;
// name itself when there is none.
std::string StoredName(const std::string &folder, const std::string &name) {
    struct stat info;
    if (lstat((folder + "/" + name).c_str(), &info) == 0) return name;  // the common case, without a scan
    std::vector<std::string> names = Entries(folder);
    for (const std::string &entry : names) {
        if (lstrcmpiA(entry.c_str(), name.c_str()) == 0) return entry;
    }
    if (name.find('~') == std::string::npos) return name;
    for (size_t i = 0; i < names.size(); i++) {
        if (lstrcmpiA(ShortAlias(names, i).c_str(), name.c_str()) == 0) return names[i];
    }
    return name;
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
    // One existing 8.3 name needs neither the listing nor the aliases of the others.
    std::vector<std::string> names;
    struct stat exact;
    if (namePattern.find_first_of("*?") == std::string::npos && FitsShortName(namePattern) &&
        lstat((folder + "/" + namePattern).c_str(), &exact) == 0) {
        names.push_back(namePattern);
    } else {
        names = Entries(folder);
    }
    // As on Windows, "*.*" also matches names without a dot.
    if (namePattern == "*.*") namePattern = "*";
    Search *search = new Search;
    for (size_t i = 0; i < names.size(); i++) {
        struct stat info;
        std::string alias = ShortAlias(names, i);
        if (!Matches(namePattern.c_str(), names[i].c_str()) && (alias.empty() || !Matches(namePattern.c_str(), alias.c_str())))
            continue;
        if (stat((folder + "/" + names[i]).c_str(), &info) != 0) continue;
        WIN32_FIND_DATAA data = {};
        data.dwFileAttributes = AttributesOf(info);
        data.nFileSizeLow = static_cast<DWORD>(info.st_size);
        data.nFileSizeHigh = static_cast<DWORD>(static_cast<uint64_t>(info.st_size) >> 32);
        CopyText(data.cFileName, names[i]);
        CopyText(data.cAlternateFileName, alias);
        search->found.push_back(data);
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
    if (!search || handle == INVALID_HANDLE_VALUE || search->next >= search->found.size()) return FALSE;
    *found = search->found[search->next++];
    return TRUE;
}

BOOL FindClose(HANDLE handle) {
    if (!handle || handle == INVALID_HANDLE_VALUE) return FALSE;
    delete static_cast<Search *>(handle);
    return TRUE;
}

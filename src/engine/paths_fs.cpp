#include "engine/paths.h"

#include <cctype>
#include <cstring>

#include "platform.h"
#include "shell/text.h"

bool FileExists(const char *path) {
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

// Where the components to look up begin: after "\\server\share\" for a UNC path, otherwise after
// the first backslash. Returns 0 when a UNC path has no component after its share.
static size_t LeadingPartLength(const char *path) {
    if (path[0] == '\\' && path[1] == '\\') {
        const char *server = strchr(path + 2, '\\');
        const char *share = server ? strchr(server + 1, '\\') : nullptr;
        return share ? static_cast<size_t>(share + 1 - path) : 0;
    }
    const char *first = strchr(path, '\\');
    return first ? static_cast<size_t>(first + 1 - path) : 0;
}

// Makes a name without a backslash a name in the current directory.
static bool PrefixCurrentDirectory(char (&work)[PATH_WORK_SIZE]) {
    char current[PATH_WORK_SIZE];
    DWORD n = GetCurrentDirectoryA(sizeof current, current);
    if (n == 0 || n >= sizeof current) return false;  // unreadable or too long: leave the name alone
    if (current[n - 1] != '\\' && !AppendText(current, "\\")) return false;
    if (!AppendText(current, work)) return false;
    return CopyText(work, current);
}

// Replaces the component that starts at begin with its stored name, when it exists; end receives
// the position just after the component.
static bool NormalizeComponent(char (&work)[PATH_WORK_SIZE], size_t begin, bool longNames, size_t &end) {
    const char *slash = strchr(work + begin, '\\');
    end = slash ? static_cast<size_t>(slash - work) : strlen(work);
    // A wildcard would match some other entry and put its name in place of the pattern.
    if (memchr(work + begin, '*', end - begin) || memchr(work + begin, '?', end - begin)) return true;
    char probe[PATH_WORK_SIZE];
    CopyText(probe, std::string_view(work, end));
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(probe, &found);
    if (search == INVALID_HANDLE_VALUE) return true;  // not on disk: the component stays as written
    FindClose(search);
    const char *name = (!longNames && found.cAlternateFileName[0]) ? found.cAlternateFileName : found.cFileName;
    char rebuilt[PATH_WORK_SIZE];
    bool fits = CopyText(rebuilt, std::string_view(work, begin)) && AppendText(rebuilt, name) &&
                AppendText(rebuilt, work + end);
    if (!fits) return false;
    end = begin + strlen(name);
    CopyText(work, rebuilt);
    return true;
}

bool NormalizePath(char *path, size_t size, bool longNames) {
    char work[PATH_WORK_SIZE];
    if (!CopyText(work, path)) return false;  // 256 characters or more: left as it is
    if (!strchr(work, '\\') && !PrefixCurrentDirectory(work)) return false;
    if (isalpha(static_cast<unsigned char>(work[0])) && work[1] == ':')
        work[0] = static_cast<char>(toupper(static_cast<unsigned char>(work[0])));
    size_t begin = LeadingPartLength(work);
    while (begin != 0 && work[begin] != '\0') {
        size_t end;
        if (!NormalizeComponent(work, begin, longNames, end)) return false;
        if (work[end] == '\0') break;
        begin = end + 1;
    }
    if (strlen(work) >= size) return false;
    return CopyText(path, size, work);
}

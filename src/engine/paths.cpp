#include "engine/paths.h"

#include <cstring>

#include "shell/text.h"

const char *FileNamePart(const char *path) {
    const char *slash = strrchr(path, '\\');
    return slash ? slash + 1 : path;
}

char *FileNamePart(char *path) {
    return const_cast<char *>(FileNamePart(static_cast<const char *>(path)));
}

// Drops the directories between the first backslash and the first later one that brings the
// length to 32 or less, when that saves more than four characters.
static void ElideMiddle(char *copy) {
    size_t length = strlen(copy);
    char *first = strchr(copy, '\\');
    if (length <= 48 || !first) return;
    size_t s = static_cast<size_t>(first - copy);
    for (char *next = strchr(first + 1, '\\'); next; next = strchr(next + 1, '\\')) {
        size_t e = static_cast<size_t>(next - copy);
        if (length - (e - s) + 4 > 32) continue;
        if (e - s > 4) {
            // "\" + "..." + the text from the chosen backslash on; the result is shorter, so it fits.
            memmove(copy + s + 4, copy + e, length - e + 1);
            memcpy(copy + s + 1, "...", 3);
        }
        return;
    }
}

void ShortenPathForDisplay(char *buffer, size_t size, const char *path) {
    char copy[PATH_WORK_SIZE];
    CopyText(copy, path);
    ElideMiddle(copy);
    if (strlen(copy) > 48) {
        copy[45] = '\0';
        AppendText(copy, "...");
    }
    AppendText(buffer, size, copy);
}

#include "shell/cmdline.h"

#include <cstring>

#include "shell/text.h"

namespace {

bool IsBlank(char c) { return c != '\0' && static_cast<unsigned char>(c) <= ' '; }

size_t SkipSpaces(std::string_view text, size_t at) {
    while (at < text.size() && text[at] == ' ') at++;
    return at;
}

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

// Sets the flag of one switch letter; false for a letter that is no switch.
bool TakeSwitch(char letter, CommandLine *out) {
    switch (Upper(letter)) {
    case 'Z':
        if (letter == 'z') out->relaunched = 1;  // /Z only matters as the tail's first switch
        return true;
    case 'A':
        out->automaticStart = 1;
        return true;
    case 'S':
        out->silent = 1;
        out->automaticStart = 1;
        return true;
    case 'R':
        out->rollback = 1;
        return true;
    default:
        return false;
    }
}

void SplitTitle(CommandLine *out) {
    char *space = strchr(out->logPath, ' ');
    if (!space) return;
    *space = '\0';
    out->hasTitle = 1;
    std::string_view title(space + 1);
    if (!title.empty() && title.front() == '"') title.remove_prefix(1);
    if (!title.empty() && title.back() == '"') title.remove_suffix(1);
    CopyText(out->title, title);
}

}  // namespace

const char *CommandTailOf(const char *commandLine) {
    const char *p = commandLine;
    if (*p == '"') {
        p++;
        while (*p && *p != '"') p++;
        if (*p == '"') p++;
    } else {
        while (*p && !IsBlank(*p)) p++;
    }
    while (IsBlank(*p)) p++;
    return p;
}

void ParseCommandTail(std::string_view tail, CommandLine *out) {
    *out = CommandLine{};
    // remove_prefix and remove_suffix rather than substr: the program carries no exception code.
    if (tail.size() > COMMAND_TAIL_SIZE - 1) tail.remove_suffix(tail.size() - (COMMAND_TAIL_SIZE - 1));
    size_t at = 0;
    while (at + 1 < tail.size() && tail[at] == '/' && TakeSwitch(tail[at + 1], out)) at = SkipSpaces(tail, at + 2);
    at = SkipSpaces(tail, at);
    tail.remove_prefix(at);
    CopyText(out->remainder, tail);
    CopyText(out->logPath, out->remainder);
    if (!out->relaunched) SplitTitle(out);
}

bool StartsInPlace(std::string_view tail) { return StartsWithNoCase(tail, "/Z"); }

#include "shell/text.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "platform.h"

bool CopyText(char *dst, size_t size, std::string_view src) {
    if (size == 0) return src.empty();
    size_t n = src.size() < size - 1 ? src.size() : size - 1;
    memmove(dst, src.data(), n);
    dst[n] = '\0';
    return n == src.size();
}

bool AppendText(char *dst, size_t size, std::string_view src) {
    size_t used = strnlen(dst, size);
    if (used >= size) return false;  // not terminated: refuse rather than run past it
    return CopyText(dst + used, size - used, src);
}

bool FormatText(char *dst, size_t size, const char *format, ...) {
    if (size == 0) return false;
    va_list args;
    va_start(args, format);
    int n = vsnprintf(dst, size, format, args);
    va_end(args);
    if (n < 0) {
        dst[0] = '\0';
        return false;
    }
    return static_cast<size_t>(n) < size;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsNoCase(std::string_view(text.data(), prefix.size()), prefix);
}

// Printable ASCII apart from the hyphen and the apostrophe, which the word sort weighs apart.
static bool IsPlainAscii(unsigned char c) { return c >= 0x20 && c < 0x7F && c != '-' && c != '\''; }

static unsigned char FoldAscii(unsigned char c) {
    return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 32) : c;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    if (a.empty()) return true;
    // Two plain ASCII texts are equal in the collation exactly when their letters fold equal. The
    // collation call costs about a microsecond under Wine, and the log reader's repeat searches
    // make millions of comparisons at full lists, so it is kept for the other texts.
    bool plain = true;
    bool folded = true;
    for (size_t i = 0; i < a.size() && plain; i++) {
        unsigned char ca = static_cast<unsigned char>(a[i]);
        unsigned char cb = static_cast<unsigned char>(b[i]);
        plain = IsPlainAscii(ca) && IsPlainAscii(cb);
        folded = folded && FoldAscii(ca) == FoldAscii(cb);
    }
    if (plain) return folded;
    // CompareStringA follows the ANSI collation the way lstrcmpiA does, without needing terminators.
    return CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                          b.data(), static_cast<int>(b.size())) == CSTR_EQUAL;
}

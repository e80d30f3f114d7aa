// Text calls of the host layer: case-insensitive comparison and the built-in string table.
#include <cstring>

#include "host/host.h"

// The ANSI code page's upper-casing for the letters tests use: ASCII and the Latin-1 letters.
static unsigned char UpperAnsi(unsigned char c) {
    if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 32);
    return c;
}

int CompareStringA(LCID, DWORD flags, LPCSTR a, int aLength, LPCSTR b, int bLength) {
    size_t na = aLength < 0 ? strlen(a) : static_cast<size_t>(aLength);
    size_t nb = bLength < 0 ? strlen(b) : static_cast<size_t>(bLength);
    for (size_t i = 0; i < na && i < nb; i++) {
        unsigned char ca = static_cast<unsigned char>(a[i]);
        unsigned char cb = static_cast<unsigned char>(b[i]);
        if (flags & NORM_IGNORECASE) {
            ca = UpperAnsi(ca);
            cb = UpperAnsi(cb);
        }
        if (ca != cb) return ca < cb ? CSTR_LESS_THAN : CSTR_GREATER_THAN;
    }
    if (na == nb) return CSTR_EQUAL;
    return na < nb ? CSTR_LESS_THAN : CSTR_GREATER_THAN;
}

int lstrcmpiA(LPCSTR a, LPCSTR b) {
    return CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, a, -1, b, -1) - CSTR_EQUAL;
}

int lstrlenA(LPCSTR text) { return text ? static_cast<int>(strlen(text)) : 0; }

namespace {
struct BuiltInMessage {
    UINT id;
    const char *text;
};
constexpr BuiltInMessage kMessages[] = {
#define MESSAGE(id, text) {id, text},
#include "resources/messages.def"
#undef MESSAGE
};
}  // namespace

// Like the real call: copies at most size - 1 characters and terminates; 0 when the id is unknown.
int LoadStringA(HINSTANCE, UINT id, LPSTR buffer, int size) {
    if (!buffer || size <= 0) return 0;
    for (const BuiltInMessage &m : kMessages) {
        if (m.id != id) continue;
        size_t n = strlen(m.text);
        if (n > static_cast<size_t>(size - 1)) n = static_cast<size_t>(size - 1);
        memcpy(buffer, m.text, n);
        buffer[n] = '\0';
        return static_cast<int>(n);
    }
    buffer[0] = '\0';
    return 0;
}

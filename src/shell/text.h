// Bounded text helpers: every write into a fixed-size buffer goes through these.
#pragma once
#include <cstddef>
#include <string_view>

// CopyText - copies src into dst (size bytes), cutting it to fit; always terminates. Returns
// true when nothing was cut.
bool CopyText(char *dst, size_t size, std::string_view src);

// AppendText - appends src to the terminated text in dst, cutting it to fit. Returns true when
// nothing was cut.
bool AppendText(char *dst, size_t size, std::string_view src);

// FormatText - printf-style formatting into dst, cut to fit and always terminated. Returns true
// when nothing was cut.
bool FormatText(char *dst, size_t size, const char *format, ...)
    __attribute__((format(printf, 3, 4)));

template <size_t N> bool CopyText(char (&dst)[N], std::string_view src) {
    return CopyText(dst, N, src);
}
template <size_t N> bool AppendText(char (&dst)[N], std::string_view src) {
    return AppendText(dst, N, src);
}

// StartsWithNoCase - whether text begins with prefix, letters compared without regard to case.
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

// EqualsNoCase - whether two texts are equal without regard to letter case (ANSI collation).
bool EqualsNoCase(std::string_view a, std::string_view b);

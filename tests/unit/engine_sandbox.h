// Test helpers for the engine's actions under Wine: files with content and attributes, whole
// folders removed before and after each test.
#pragma once
#include <windows.h>

#include <string>

namespace sandbox {

inline bool WriteFile(const std::string &path, const std::string &content, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == content.size();
}

inline std::string ReadFile(const std::string &path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    char buffer[4096];
    DWORD read = 0;
    ::ReadFile(file, buffer, sizeof buffer, &read, nullptr);
    CloseHandle(file);
    return std::string(buffer, read);
}

inline bool Exists(const std::string &path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Removes a folder and everything in it (read-only entries included), through wide \\?\ paths so
// that entries beyond the ANSI path limit go too.
inline void RemoveTree(const std::wstring &folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring path = folder + L"\\" + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path);
            else DeleteFileW(path.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(folder.c_str());
}

inline void RemoveTree(const std::string &folder) {
    RemoveTree(L"\\\\?\\" + std::wstring(folder.begin(), folder.end()));
}

inline std::string WindowsDirectory() {
    char buffer[MAX_PATH];
    UINT n = GetWindowsDirectoryA(buffer, sizeof buffer);
    return std::string(buffer, n);
}

inline std::string SystemDirectory() {
    char buffer[MAX_PATH];
    UINT n = GetSystemDirectoryA(buffer, sizeof buffer);
    return std::string(buffer, n);
}

}  // namespace sandbox

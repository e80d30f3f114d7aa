// The Win32 API as the portable modules use it, for Linux builds. Only what those modules call is
// declared here; each call is implemented over POSIX (files under a test-chosen root standing for
// drive C:, an in-memory registry, profiles over files, recorded user-interface calls).
#pragma once
#include <cstddef>
#include <cstdint>

typedef int BOOL;
typedef unsigned char BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef uint32_t UINT;
typedef intptr_t LPARAM;
typedef uintptr_t WPARAM;
typedef intptr_t LRESULT;
typedef char CHAR;
typedef char *LPSTR;
typedef const char *LPCSTR;
typedef void *HANDLE;
typedef uint32_t LCID;

struct HostInstance;
struct HostWindow;
struct HostFont;
struct HostPalette;
typedef HostInstance *HINSTANCE;
typedef HostInstance *HMODULE;
typedef HostWindow *HWND;
typedef HostFont *HFONT;
typedef HostPalette *HPALETTE;

#define TRUE 1
#define FALSE 0
#define MAX_PATH 260
#define WINAPI

// Text comparison.
#define LOCALE_SYSTEM_DEFAULT 0x0800
#define NORM_IGNORECASE 0x00000001
#define CSTR_LESS_THAN 1
#define CSTR_EQUAL 2
#define CSTR_GREATER_THAN 3
int CompareStringA(LCID locale, DWORD flags, LPCSTR a, int aLength, LPCSTR b, int bLength);
int lstrcmpiA(LPCSTR a, LPCSTR b);
int lstrlenA(LPCSTR text);

// Resources: the built-in message table.
int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int size);

// Files (paths are Windows paths; C:\ maps to the host root's C/ folder, names match without
// regard to case). Implemented in host_files.cpp.
#define INVALID_FILE_ATTRIBUTES 0xFFFFFFFFu
#define FILE_ATTRIBUTE_READONLY 0x00000001u
#define FILE_ATTRIBUTE_HIDDEN 0x00000002u
#define FILE_ATTRIBUTE_SYSTEM 0x00000004u
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010u
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020u
#define FILE_ATTRIBUTE_NORMAL 0x00000080u
#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)))
struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};
struct WIN32_FIND_DATAA {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwReserved0;
    DWORD dwReserved1;
    CHAR cFileName[MAX_PATH];
    CHAR cAlternateFileName[14];
};
DWORD GetFileAttributesA(LPCSTR path);
DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer);
HANDLE FindFirstFileA(LPCSTR pattern, WIN32_FIND_DATAA *found);
BOOL FindNextFileA(HANDLE search, WIN32_FIND_DATAA *found);
BOOL FindClose(HANDLE search);
BOOL SetCurrentDirectoryA(LPCSTR path);

// Host file root (shell). HostSetRoot - makes dir (a Linux folder) the place where drive letters
// live: C:\ is <dir>/C/. The current directory becomes C:\. HostMapPath - the Linux path of a
// Windows path: existing components are matched without regard to case, the others stay as
// written; false when no root is set or the path names no drive.
void HostSetRoot(const char *dir);
bool HostMapPath(LPCSTR path, char *hostPath, size_t size);

// Profiles (shell): INI files read the way the system reads them. Implemented in host_profile.cpp.
DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultText, LPSTR buffer, DWORD size,
                               LPCSTR fileName);
UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, int defaultValue, LPCSTR fileName);

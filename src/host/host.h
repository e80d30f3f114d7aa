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

// ---------------------------------------------------------------------------------------------
// Install log reader: files, directories, drives, registry, service manager, user interface.

typedef int HFILE;
typedef uintptr_t UINT_PTR;
typedef DWORD *LPDWORD;
typedef BYTE *LPBYTE;
typedef const BYTE *LPCBYTE;
#define HFILE_ERROR (-1)
#define OF_READ 0x0000
#define OF_WRITE 0x0001
#define OF_READWRITE 0x0002
struct SECURITY_ATTRIBUTES;
HFILE _lopen(LPCSTR path, int mode);
HFILE _lcreat(LPCSTR path, int attributes);
UINT _lread(HFILE file, void *buffer, UINT count);
UINT _lwrite(HFILE file, LPCSTR buffer, UINT count);
HFILE _lclose(HFILE file);
BOOL CreateDirectoryA(LPCSTR path, SECURITY_ATTRIBUTES *security);
BOOL RemoveDirectoryA(LPCSTR path);
BOOL DeleteFileA(LPCSTR path);
BOOL SetFileAttributesA(LPCSTR path, DWORD attributes);
UINT GetWindowsDirectoryA(LPSTR buffer, UINT size);  // C:\WINDOWS
UINT GetSystemDirectoryA(LPSTR buffer, UINT size);   // C:\WINDOWS\SYSTEM
#define DRIVE_UNKNOWN 0
#define DRIVE_NO_ROOT_DIR 1
#define DRIVE_REMOVABLE 2
#define DRIVE_FIXED 3
UINT GetDriveTypeA(LPCSTR root);
void HostSetDriveType(char letter, UINT type);  // C: is fixed, other drives absent, until set

// Profile writes (host_profile_write.cpp).
BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file);

// Character sets: the ANSI code page 1252 and the OEM code page 437.
UINT GetACP();
UINT GetOEMCP();
BOOL OemToCharA(LPCSTR source, LPSTR target);

// An in-memory registry (host_registry.cpp), empty at start; HostResetRegistry empties it.
struct HostKey;
typedef HostKey *HKEY;
typedef HKEY *PHKEY;
typedef DWORD REGSAM;
#define HKEY_CLASSES_ROOT (reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x80000000u)))
#define HKEY_CURRENT_USER (reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x80000001u)))
#define HKEY_LOCAL_MACHINE (reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x80000002u)))
#define HKEY_USERS (reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x80000003u)))
#define HKEY_CURRENT_CONFIG (reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x80000005u)))
#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_MORE_DATA 234L
#define ERROR_NO_MORE_ITEMS 259L
#define KEY_QUERY_VALUE 0x0001
#define KEY_SET_VALUE 0x0002
#define KEY_CREATE_SUB_KEY 0x0004
#define KEY_ENUMERATE_SUB_KEYS 0x0008
#define KEY_READ 0x20019
#define KEY_WRITE 0x20006
#define KEY_ALL_ACCESS 0xF003F
#define REG_OPTION_NON_VOLATILE 0
#define REG_CREATED_NEW_KEY 1
#define REG_OPENED_EXISTING_KEY 2
#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4
#define REG_MULTI_SZ 7
LONG RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result);
LONG RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR className, DWORD options, REGSAM access,
                     SECURITY_ATTRIBUTES *security, PHKEY result, LPDWORD disposition);
LONG RegCloseKey(HKEY key);
LONG RegQueryValueExA(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size);
LONG RegSetValueExA(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE *data, DWORD size);
LONG RegDeleteValueA(HKEY key, LPCSTR name);
LONG RegDeleteKeyA(HKEY key, LPCSTR subKey);
LONG RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD reserved, LPSTR className,
                   LPDWORD classSize, FILETIME *lastWrite);
void HostResetRegistry();

// The service control manager: opening it succeeds unless a test denies it.
struct HostService;
typedef HostService *SC_HANDLE;
SC_HANDLE OpenSCManagerA(LPCSTR machine, LPCSTR database, DWORD access);
BOOL CloseServiceHandle(SC_HANDLE handle);
void HostDenyServiceManager(bool denied);
int HostServiceManagerOpens();  // calls of OpenSCManagerA so far

// User interface calls, recorded for tests (host_window.cpp).
#define MB_OK 0x00000000u
#define IDOK 1
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
BOOL SetWindowTextA(HWND window, LPCSTR text);
int GetWindowTextA(HWND window, LPSTR buffer, int size);
struct HostMessageBox {
    HWND owner;
    char text[1024];
    char caption[256];
    UINT type;
};
int HostMessageBoxCount();
const HostMessageBox *HostLastMessageBox();  // null when none was shown
void HostResetWindows();  // forgets boxes and window texts

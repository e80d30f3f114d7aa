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

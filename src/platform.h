// Win32 API for the portable modules: the real one on Windows, our own host layer on Linux.
#pragma once
#ifdef _WIN32
#include <windows.h>
#else
#include "host/host.h"
#endif

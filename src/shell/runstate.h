// RunState - the process-wide state of the shell; every field is zero at start.
#pragma once
#include <cstdint>

#include "platform.h"

enum : int32_t { PLATFORM_NT = 1, PLATFORM_OTHER = 2 };

struct RunState {
    int32_t platform;        // PLATFORM_NT or PLATFORM_OTHER, settled first
    int32_t newShell;        // major version 4 or later
    int32_t silent;          // /S
    int32_t rollback;        // /R or the wizard's rollback page
    int32_t relaunched;      // lower-case /z
    int32_t cancelled;       // the user confirmed Cancel
    int32_t finished;        // the user pressed the final page's button
    int32_t restartNeeded;   // a replacement at restart was scheduled
    int32_t ownFileTouched;  // the uninstall asked to delete the program's own file
    volatile int32_t waitPending;  // a timed wait is in progress; WM_TIMER clears it
    char *ownProgramPath;    // 256 bytes, long form
    char *settingsPath;      // 256 bytes, the program path with INI for its last three characters
    char *scratchBuffer;     // 16384 bytes
    char *windowTitle;       // title from the command line, or null when none was given
    HINSTANCE instance;
    HWND mainWindow;
    HWND wizardWindow;
    int32_t ctl3dRegistered;
    // Appearance, filled from the settings file.
    int32_t startColour[3];  // red, green, blue of the first band as read
    int32_t colourDelta[3];  // end minus start, per channel
    int32_t noBackground;
    BYTE fontCharSet;
    HFONT titleFont;
    int32_t screenWidth;
    int32_t screenHeight;
    HPALETTE gradientPalette;
};

extern RunState runState;

enum : size_t {
    PATH_TEXT_SIZE = 256,      // ownProgramPath, settingsPath, log path, tail buffer
    SCRATCH_BUFFER_SIZE = 16384,
};

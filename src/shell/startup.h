// The run: start-up, then the log, the wizard and the uninstall, then the end of run.
#pragma once
#include <windows.h>

#include <cstdint>

#include "shell/cmdline.h"

typedef BOOL(WINAPI *Ctl3dInstanceProc)(HINSTANCE instance);

// What the start-up keeps for the rest of the run besides RunState.
struct StartupState {
    char tail[COMMAND_TAIL_SIZE];      // the command tail, or the INSTALL.LOG found beside the program
    CommandLine commandLine;           // the tail's switches, log path and title
    char logPath[COMMAND_TAIL_SIZE];   // empty when none was given or chosen
    char logDirectory[256];            // filled by the log reader; empty until then
    char tempCopyPath[256];            // the temporary copy of the program (QXR1A2B.EXE)
    int32_t automaticStart;            // /A or /S
    int32_t inPlaceRun;                // the tail began with /Z or /z: no temporary copy
    HGLOBAL wizardTemplate;            // dialog 106, loaded and locked
    HGLOBAL sharedFileTemplate;        // dialog 104
    HGLOBAL sidePictureResource;       // bitmap 106
    HMODULE ctl3dLibrary;              // CTL3D32.DLL when it loaded
    Ctl3dInstanceProc ctl3dUnregister; // its Ctl3dUnregister, when exported
};
extern StartupState startup;

// DetectPlatform - sets platform and newShell of RunState from the system's version.
void DetectPlatform();

// RunProgram - the whole run of the program; returns the process exit code, which is always 0.
int RunProgram(HINSTANCE instance, const char *commandTail);

// EndOfRun - destroys the background window, dispatches messages until WM_QUIT and releases
// everything the run acquired.
void EndOfRun();

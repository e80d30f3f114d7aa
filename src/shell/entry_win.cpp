// The program's entry point.
#include <windows.h>

#include "shell/cmdline.h"
#include "shell/startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // The tail is taken from the process command line itself, the same way on every runtime.
    return RunProgram(instance, CommandTailOf(GetCommandLineA()));
}

// The program's entry point.
#include <windows.h>

#include "shell/runstate.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    runState.instance = instance;
    return 0;
}

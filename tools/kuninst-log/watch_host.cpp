// kuninst-log natively: the host layer's file root, recorded captions and message boxes.
#include <cstring>

#include "platform.h"
#include "shell/runstate.h"
#include "watch.h"

namespace {
HWND const kBackgroundWindow = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x1000));
}

bool TakePlatformOptions(int &argc, char **argv, std::string &error) {
    const char *root = ".";
    int kept = 1;
    for (int i = 1; i < argc; i++) {
        if (strcmp(argv[i], "--root") == 0) {
            if (i + 1 >= argc) {
                error = "--root needs a folder";
                return false;
            }
            root = argv[++i];
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    HostSetRoot(root);
    return true;
}

// The host stands for Windows NT with the new shell.
void SettlePlatform() {
    runState.platform = PLATFORM_NT;
    runState.newShell = 1;
}

void BeginWatch() {
    HostResetWindows();
    runState.mainWindow = kBackgroundWindow;
}

Watched EndWatch() {
    Watched watched;
    char caption[1024];
    GetWindowTextA(kBackgroundWindow, caption, sizeof caption);
    watched.windowCaption = caption;
    watched.boxes = HostMessageBoxCount();
    if (const HostMessageBox *box = HostLastMessageBox()) {
        watched.boxText = box->text;
        watched.boxCaption = box->caption;
    }
    runState.mainWindow = nullptr;
    return watched;
}

// What kuninst-log needs from the platform: the command line's extra options, and a stand-in for
// the background window that notes its caption and answers the reader's message box.
#pragma once
#include <string>

struct Watched {
    std::string windowCaption;
    int boxes = 0;
    std::string boxText;
    std::string boxCaption;
};

// TakePlatformOptions - removes the platform's options from argv (natively: --root DIR, the
// folder that stands for the drives). Returns false with a reason on a bad option.
bool TakePlatformOptions(int &argc, char **argv, std::string &error);

// SettlePlatform - the platform and shell version as the program settles them at start-up.
void SettlePlatform();

// BeginWatch - makes the stand-in background window and starts answering message boxes.
void BeginWatch();

// EndWatch - what the reader showed; removes the stand-in window.
Watched EndWatch();

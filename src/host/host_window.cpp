// User-interface calls of the host layer, recorded for tests: message boxes are answered with
// OK at once, window texts are kept per window.
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "host/host.h"

namespace {
std::vector<HostMessageBox> boxes;
std::map<HWND, std::string> windowTexts;
}  // namespace

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    HostMessageBox box{};
    box.owner = owner;
    snprintf(box.text, sizeof box.text, "%s", text ? text : "");
    snprintf(box.caption, sizeof box.caption, "%s", caption ? caption : "");
    box.type = type;
    boxes.push_back(box);
    return IDOK;
}

BOOL SetWindowTextA(HWND window, LPCSTR text) {
    if (!window) return FALSE;
    windowTexts[window] = text ? text : "";
    return TRUE;
}

int GetWindowTextA(HWND window, LPSTR buffer, int size) {
    if (!buffer || size <= 0) return 0;
    auto it = windowTexts.find(window);
    std::string text = it == windowTexts.end() ? "" : it->second;
    snprintf(buffer, static_cast<size_t>(size), "%s", text.c_str());
    return static_cast<int>(strlen(buffer));
}

int HostMessageBoxCount() { return static_cast<int>(boxes.size()); }

const HostMessageBox *HostLastMessageBox() { return boxes.empty() ? nullptr : &boxes.back(); }

void HostResetWindows() {
    boxes.clear();
    windowTexts.clear();
}

// kuninst-log: reads an install log with the uninstaller's own reader and prints the whole item
// model in the line format described in docs/kuninst-log.md.
#include <cstdio>
#include <cstring>
#include <string>

#include "log/dump.h"
#include "log/model.h"
#include "log/reader.h"
#include "shell/runstate.h"
#include "watch.h"

static const char kUsage[] =
    "usage: kuninst-log [options] LOGPATH\n"
    "Reads an install log as the uninstaller does and prints its item model.\n"
#ifndef _WIN32
    "  --root DIR   the folder that stands for the drives: C:\\ is DIR/C/\n"
#endif
    "";

// The value of a line printed with the model: bytes below 0x20 and ^ escaped as in the dump.
static void PrintLine(std::string &out, const char *name, const std::string &value) {
    out += name;
    out += '=';
    for (unsigned char c : value) {
        if (c < 0x20 || c == 0x7F || c == '^') {
            char escape[4];
            snprintf(escape, sizeof escape, "^%02X", c);
            out += escape;
        } else {
            out += static_cast<char>(c);
        }
    }
    out += '\n';
}

int main(int argc, char **argv) {
    std::string error;
    if (!TakePlatformOptions(argc, argv, error) || argc != 2 || argv[1][0] == '-') {
        fprintf(stderr, "%s%s", error.empty() ? "" : (error + "\n").c_str(), kUsage);
        return 2;
    }
    SettlePlatform();
    if (!AllocateItemModel()) {
        fprintf(stderr, "kuninst-log: out of memory\n");
        return 2;
    }
    char logDirectory[LOG_DIRECTORY_SIZE] = "";
    BeginWatch();
    int result = ReadInstallLog(argv[1], logDirectory);
    Watched watched = EndWatch();

    std::string out;
    PrintLine(out, "log", argv[1]);
    DumpItemModel(result, logDirectory, out);
    PrintLine(out, "windowCaption", watched.windowCaption);
    out += "messageBox.count=" + std::to_string(watched.boxes) + "\n";
    if (watched.boxes) {
        PrintLine(out, "messageBox.text", watched.boxText);
        PrintLine(out, "messageBox.caption", watched.boxCaption);
    }
    fwrite(out.data(), 1, out.size(), stdout);
    FreeItemModel();
    return result == 0 ? 0 : 1;
}

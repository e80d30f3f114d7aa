// The command line: the command tail of the process and its grammar (switches, log path, title).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

enum : size_t { COMMAND_TAIL_SIZE = 256 };  // the tail keeps at most 255 characters; the rest is cut

struct CommandLine {
    int32_t automaticStart;    // /A or /S
    int32_t silent;            // /S
    int32_t rollback;          // /R
    int32_t relaunched;        // lower-case /z
    char remainder[COMMAND_TAIL_SIZE];  // what follows the switches and their spaces, whole
    char logPath[COMMAND_TAIL_SIZE];    // the remainder up to its first space (the whole remainder
                                        // of a relaunched run, which its own step splits)
    int32_t hasTitle;          // a space followed the log path
    char title[COMMAND_TAIL_SIZE];      // the text after that space, without its enclosing quotes
};

// CommandTailOf - the command tail of a process command line: what follows the program name
// (quoted or not) and the blanks (characters up to the space) after it.
const char *CommandTailOf(const char *commandLine);

// ParseCommandTail - reads the switches (/A, /S, /R, /Z, /z; each exactly two characters, spaces
// between them skipped; any other letter ends them), then splits the remainder into the log path
// and the window title unless the run is relaunched. A tail longer than 255 characters is cut.
void ParseCommandTail(std::string_view tail, CommandLine *out);

// StartsInPlace - whether the tail begins with /Z or /z: such a run makes no temporary copy.
bool StartsInPlace(std::string_view tail);

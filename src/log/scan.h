// What the parts of the install log reader share: the reader's state and its line helpers.
#pragma once
#include <cstdint>
#include <string_view>

#include "platform.h"

enum : int32_t { LOG_LINE_SIZE = 256 };  // 255 characters and the terminator

struct LogScan {
    HFILE file;
    char line[LOG_LINE_SIZE];
    int32_t lineCut;        // the line was longer than the buffer: it matches no keyword
    bool lookAhead;         // the line in `line` has still to be examined by the main loop
    bool sectionIsAnsi;
    bool rightsChecked;
    bool nonSystemMarker;
    bool counterIgnoredMarker;
    bool driveARemovable;
    bool driveBRemovable;
    char windowsDirectory[MAX_PATH];
    char systemDirectory[MAX_PATH];
    char win32sDirectory[MAX_PATH];
    char *logDirectory;     // the caller's LOG_DIRECTORY_SIZE buffer
};

// NextLogLine - reads the next non-empty line into scan.line; false at the end of the log, where
// the line is empty.
bool NextLogLine(LogScan &scan);

// LineIs - whether the line begins with keyword (letter case ignored). A cut line matches none.
bool LineIs(const LogScan &scan, std::string_view keyword);

// ValueAt - the rest of the line from offset on; empty when the line is shorter.
const char *ValueAt(const LogScan &scan, size_t offset);

// CurrentSection - the number of the section being read.
uint16_t CurrentSection();

// OnRemovableDrive - whether path begins with A: or B: and that drive is removable.
bool OnRemovableDrive(const LogScan &scan, const char *path);

// ConvertIfOem - converts a stored text from the OEM character set when the section is OEM.
void ConvertIfOem(const LogScan &scan, char *text);

// ReadDecimal - a signed decimal value: blanks, an optional sign, digits; no digits gives 0.
int32_t ReadDecimal(const char *text);

// The configuration records; each starts with its keyword line in scan.line and leaves either a
// consumed line or a look-ahead line behind.
void ReadIniNewRecord(LogScan &scan);
void ReadIniFileRecord(LogScan &scan);
void ReadRegTreeRecord(LogScan &scan);
void ReadRegKeyRecord(LogScan &scan);
void ReadIconRecord(LogScan &scan);
void ReadProgramRecord(LogScan &scan);
void ReadServiceRecord(LogScan &scan);
void ReadSubSystemRecord(LogScan &scan);

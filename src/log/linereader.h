// The buffered line reader shared by the install log reader and the SYSTEM.INI rewriter.
#pragma once
#include <cstdint>

#include "platform.h"

enum : int32_t { READ_BLOCK_SIZE = 1024 };

// The state of the one file being read through ReadLine. A user starting on a new file calls
// ResetLineReader first.
struct LineReaderState {
    char block[READ_BLOCK_SIZE];  // read-ahead buffer, zero-filled at start
    int32_t position;             // next unread byte in block
    int32_t filled;               // bytes block holds
    int32_t consumed;             // bytes of the file before the current block
    int32_t lineStart;            // file offset of the first character stored for the last line
    int32_t lineCut;              // the last line did not fit the caller's buffer; its rest was dropped
};
extern LineReaderState lineReader;

// ResetLineReader - forgets what is buffered, for a read from the start of another file.
void ResetLineReader();

// LineReaderOffset - file offset of the next unread byte.
inline int32_t LineReaderOffset() { return lineReader.consumed + lineReader.position; }

// ReadLine - reads the next line of file into buffer (size bytes, always terminated). A carriage
// return ends a line; line feeds are dropped. Returns 1 for a line ended by a carriage return, 0
// at the end of the file, with the text after the last carriage return (or nothing) in buffer.
// With keepEmpty 0, empty lines are skipped. Characters beyond size - 1 are dropped and lineCut
// is set.
int ReadLine(char *buffer, int size, HFILE file, int keepEmpty);

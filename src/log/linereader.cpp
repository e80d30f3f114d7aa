#include "log/linereader.h"

LineReaderState lineReader;

void ResetLineReader() {
    lineReader.position = 0;
    lineReader.filled = 0;
    lineReader.consumed = 0;
    lineReader.lineStart = 0;
    lineReader.lineCut = 0;
}

// Refills the block when it is used up. Returns false at the end of the file; a read error counts
// as the end.
static bool FillBlock(HFILE file) {
    if (lineReader.position < lineReader.filled) return true;
    lineReader.consumed += lineReader.filled;
    lineReader.position = 0;
    lineReader.filled = 0;
    int got = static_cast<int>(_lread(file, lineReader.block, READ_BLOCK_SIZE));
    if (got <= 0) return false;
    lineReader.filled = got;
    return true;
}

int ReadLine(char *buffer, int size, HFILE file, int keepEmpty) {
    int stored = 0;
    bool started = false;  // a character (stored or dropped) belongs to this line
    lineReader.lineCut = 0;
    for (;;) {
        if (!FillBlock(file)) {
            if (size > 0) buffer[stored] = '\0';
            return 0;
        }
        char c = lineReader.block[lineReader.position++];
        if (c == '\r') {
            if (!started && !keepEmpty) continue;
            if (size > 0) buffer[stored] = '\0';
            return 1;
        }
        if (c == '\n') continue;
        if (!started) lineReader.lineStart = LineReaderOffset() - 1;
        started = true;
        if (stored < size - 1) {
            buffer[stored++] = c;
        } else {
            lineReader.lineCut = 1;  // never past the caller's buffer
        }
    }
}

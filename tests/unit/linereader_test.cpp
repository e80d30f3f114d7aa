// ReadLine: line ends, empty lines, the last line, long lines and the consumed-bytes offset.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "log/linereader.h"
#include "log_sandbox.h"

using namespace logtest;

namespace {
constexpr char kFile[] = "C:\\KULOG\\LINES.TXT";

struct Line {
    int result;
    std::string text;
    bool operator==(const Line &o) const { return result == o.result && text == o.text; }
};

std::ostream &operator<<(std::ostream &out, const Line &line) { return out << line.result << ":[" << line.text << "]"; }

// Reads the whole file through ReadLine with a buffer of size bytes guarded by sentinels.
std::vector<Line> ReadAll(int size, int keepEmpty, std::vector<int32_t> *offsets = nullptr) {
    std::vector<Line> lines;
    HFILE file = _lopen(kFile, OF_READ);
    EXPECT_NE(file, HFILE_ERROR);
    if (file == HFILE_ERROR) return lines;
    ResetLineReader();
    std::vector<char> buffer(static_cast<size_t>(size) + 16, static_cast<char>(0xbd));
    for (int guard = 0; guard < 10000; guard++) {
        int result = ReadLine(buffer.data(), size, file, keepEmpty);
        for (size_t i = static_cast<size_t>(size); i < buffer.size(); i++)
            EXPECT_EQ(buffer[i], static_cast<char>(0xbd)) << "written past the buffer at " << i;
        lines.push_back({result, std::string(buffer.data())});
        if (offsets) offsets->push_back(LineReaderOffset());
        if (result == 0) break;
    }
    _lclose(file);
    return lines;
}
}  // namespace

class LineReaderTest : public LogTest {};

TEST_F(LineReaderTest, LinesOfAFile) {
    struct Case {
        const char *context;
        std::string content;
        int keepEmpty;
        std::vector<Line> lines;
    } cases[] = {
        {"CR LF lines, last without CR", "one\r\ntwo\r\nlast", 0, {{1, "one"}, {1, "two"}, {0, "last"}}},
        {"lone CR ends a line", "a\rb\r", 0, {{1, "a"}, {1, "b"}, {0, ""}}},
        {"LF alone is dropped", "a\nb\nc", 0, {{0, "abc"}}},
        {"empty lines skipped", "\r\n\r\na\r\n\r\n", 0, {{1, "a"}, {0, ""}}},
        {"empty lines kept", "\r\na\r\n\r\n", 1, {{1, ""}, {1, "a"}, {1, ""}, {0, ""}}},
        {"last line kept without CR", "a\r\nb", 1, {{1, "a"}, {0, "b"}}},
        {"empty file", "", 0, {{0, ""}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.context);
        ASSERT_TRUE(WriteFile(kFile, c.content));
        EXPECT_EQ(ReadAll(256, c.keepEmpty), c.lines);
    }
}

TEST_F(LineReaderTest, LongLinesNeverPassTheBuffer) {
    ASSERT_TRUE(WriteFile(kFile, std::string(300, 'x') + "\r\nnext\r\n"));
    std::vector<Line> lines = ReadAll(256, 0);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], (Line{1, std::string(255, 'x')})) << "cut at 255 characters";
    EXPECT_EQ(lines[1], (Line{1, "next"})) << "the rest of the long line is dropped";
    lines = ReadAll(4, 0);
    EXPECT_EQ(lines[0], (Line{1, "xxx"}));
}

TEST_F(LineReaderTest, OffsetCountsEveryByteAcrossBlocks) {
    // Lines that straddle the 1024-byte blocks.
    std::string content;
    std::vector<int32_t> ends;
    for (int i = 0; i < 40; i++) {
        content += std::string(static_cast<size_t>(37 + i), static_cast<char>('a' + i % 26)) + "\r\n";
        ends.push_back(static_cast<int32_t>(content.size()) - 1);  // after the CR; the LF is still unread
    }
    ASSERT_TRUE(WriteFile(kFile, content));
    std::vector<int32_t> offsets;
    std::vector<Line> lines = ReadAll(256, 0, &offsets);
    ASSERT_EQ(lines.size(), 41u);
    for (size_t i = 0; i < 40; i++) {
        EXPECT_EQ(lines[i].text.size(), 37 + i) << "line " << i;
        EXPECT_EQ(offsets[i], ends[i]) << "line " << i;
        EXPECT_EQ(lineReader.lineStart, offsets.back() < 0 ? 0 : lineReader.lineStart);
    }
    EXPECT_EQ(offsets[40], static_cast<int32_t>(content.size()));
}

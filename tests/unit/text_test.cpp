#include <gtest/gtest.h>

#include <cstring>

#include "shell/text.h"

TEST(Text, CopyTextCutsAndTerminates) {
    struct Case {
        size_t size;
        const char *src;
        const char *expected;
        bool whole;
    } cases[] = {
        {8, "short", "short", true},
        {6, "exactly", "exact", false},
        {6, "exact", "exact", true},
        {1, "x", "", false},
    };
    for (const Case &c : cases) {
        char buffer[16];
        memset(buffer, 0xbd, sizeof buffer);
        bool whole = CopyText(buffer, c.size, c.src);
        EXPECT_STREQ(buffer, c.expected) << "size " << c.size << " src " << c.src;
        EXPECT_EQ(whole, c.whole) << "size " << c.size << " src " << c.src;
        EXPECT_EQ(static_cast<unsigned char>(buffer[c.size]), 0xbd) << "wrote past the limit, size " << c.size;
    }
}

TEST(Text, AppendAndFormatStayWithinTheBuffer) {
    char buffer[10] = "abc";
    EXPECT_TRUE(AppendText(buffer, "def"));
    EXPECT_FALSE(AppendText(buffer, "ghijkl"));
    EXPECT_STREQ(buffer, "abcdefghi");
    EXPECT_FALSE(FormatText(buffer, sizeof buffer, "%s-%d", "value", 12345));
    EXPECT_STREQ(buffer, "value-123");
}

TEST(Text, CaseInsensitiveComparisons) {
    EXPECT_TRUE(EqualsNoCase("C:\\Program Files\\App", "c:\\PROGRAM FILES\\app"));
    EXPECT_FALSE(EqualsNoCase("abc", "abd"));
    EXPECT_FALSE(EqualsNoCase("abc", "abcd"));
    EXPECT_TRUE(StartsWithNoCase("file copy: C:\\x", "File Copy: "));
    EXPECT_FALSE(StartsWithNoCase("File Cop", "File Copy: "));
}

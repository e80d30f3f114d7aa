#include <gtest/gtest.h>

#include <cstring>

#include "platform.h"
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

// EqualsNoCase answers plain ASCII texts itself; its answer must be the collation's.
TEST(Text, PlainAsciiComparisonsAgreeWithTheCollation) {
    const char *texts[] = {"C:\\KULOG\\APP\\F0001.DLL", "c:\\kulog\\app\\f0001.dll", "C:\\KULOG\\APP\\F0002.DLL",
                           "Software\\Korvel\\K0001", "SOFTWARE\\korvel\\k0001", "a b", "a_b", "a@b", "a`b",
                           "a[b", "a{b", "a~b", "A~B", "a^b", "a.b", "a b.", "[S]", "{s}", "@a", "`A"};
    for (const char *a : texts) {
        for (const char *b : texts) {
            if (strlen(a) != strlen(b)) continue;
            bool collation = CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, a, -1, b, -1) == CSTR_EQUAL;
            EXPECT_EQ(EqualsNoCase(a, b), collation) << "[" << a << "] and [" << b << "]";
        }
    }
}

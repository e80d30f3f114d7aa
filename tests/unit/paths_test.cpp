#include <gtest/gtest.h>

#include <cstring>

#include "engine/paths.h"

TEST(Paths, FileNamePart) {
    struct Case {
        const char *path;
        const char *expected;
    } cases[] = {
        {"C:\\APP\\INSTALL.LOG", "INSTALL.LOG"},
        {"INSTALL.LOG", "INSTALL.LOG"},
        {"C:\\APP\\", ""},
        {"", ""},
    };
    for (const Case &c : cases) EXPECT_STREQ(FileNamePart(c.path), c.expected) << c.path;
}

TEST(Paths, ShortenPathForDisplay) {
    const char *sixtyEight = "C:\\Abc\\abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyz01234.dll";
    ASSERT_EQ(strlen(sixtyEight), 68u);
    struct Case {
        const char *prefix;
        const char *path;
        const char *expected;
    } cases[] = {
        {"Removing File:\r\n", "C:\\Program Files\\Some Company\\Some Product\\Bin\\file.dll",
         "Removing File:\r\nC:\\...\\Some Product\\Bin\\file.dll"},
        {"", sixtyEight, "C:\\Abc\\abcdefghijklmnopqrstuvwxyzabcdefghijkl..."},
        {"", "C:\\Program Files\\Some Company\\Product\\file.dll", "C:\\Program Files\\Some Company\\Product\\file.dll"},
        // No backslash at all: only the cut applies.
        {"", "abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyz",
         "abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrs..."},
        // No later backslash brings it to 32 characters: only the cut applies.
        {"", "C:\\ab\\cdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyz.dll",
         "C:\\ab\\cdefghijklmnopqrstuvwxyzabcdefghijklmno..."},
    };
    for (const Case &c : cases) {
        char buffer[128];
        memset(buffer, 0xbd, sizeof buffer);
        strcpy(buffer, c.prefix);
        ShortenPathForDisplay(buffer, sizeof buffer, c.path);
        EXPECT_STREQ(buffer, c.expected) << c.path;
    }
    EXPECT_EQ(strlen("C:\\...\\Some Product\\Bin\\file.dll"), 32u);
}

TEST(Paths, ShortenPathForDisplayStaysInTheBuffer) {
    char buffer[20];
    memset(buffer, 0xbd, sizeof buffer);
    strcpy(buffer, "Removing:");
    ShortenPathForDisplay(buffer + 0, 16, "C:\\Program Files\\App\\file.dll");
    EXPECT_STREQ(buffer, "Removing:C:\\Pro");
    EXPECT_EQ(static_cast<unsigned char>(buffer[16]), 0xbd);
}

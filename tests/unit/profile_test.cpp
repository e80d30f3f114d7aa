// The profile reads the settings file relies on, the same natively (host layer) and under Wine.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform.h"
#include "test_folder.h"

namespace {

const char kSettingsText[] =
    "; a comment line\r\n"
    "[Settings]\r\n"
    "Plain=12\r\n"
    "Negative=-5\r\n"
    "Blanks=   7   \r\n"
    "Trailing=12abc\r\n"
    "Letters=abc\r\n"
    "Empty=\r\n"
    "  Spaced Key  =  spaced value  \r\n"
    "Quoted=\"in quotes\"\r\n"
    "Long=0123456789abcdef\r\n"
    "[settings2]\r\n"
    "Plain=99\r\n";

class Profile : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.Write("KUNINST.INI", kSettingsText));
        path_ = folder_.Path("KUNINST.INI");
    }
    TestFolder folder_{"profile"};
    std::string path_;
};

TEST_F(Profile, Integers) {
    struct Case {
        const char *section, *key;
        int fallback;
        int expected;
    } cases[] = {
        {"Settings", "Plain", 3, 12},     {"SETTINGS", "plain", 3, 12},  // names without regard to case
        {"Settings", "Negative", 3, -5},  {"Settings", "Blanks", 3, 7},
        {"Settings", "Trailing", 3, 12},  {"Settings", "Letters", 3, 0},
        {"Settings", "Empty", 3, 3},      {"Settings", "Missing", 3, 3},
        {"Missing", "Plain", -1, -1},     {"settings2", "Plain", 3, 99},
    };
    for (const Case &c : cases) {
        int got = static_cast<int>(GetPrivateProfileIntA(c.section, c.key, c.fallback, path_.c_str()));
        EXPECT_EQ(got, c.expected) << "[" << c.section << "] " << c.key;
    }
    EXPECT_EQ(static_cast<int>(GetPrivateProfileIntA("Settings", "Plain", 3, folder_.Path("NONE.INI").c_str())), 3)
        << "no file";
}

TEST_F(Profile, Texts) {
    struct Case {
        const char *key;
        DWORD size;
        const char *expected;
    } cases[] = {
        {"Spaced Key", 64, "spaced value"},  // blanks around the key and the value dropped
        {"Quoted", 64, "in quotes"},
        {"Empty", 64, ""},
        {"Missing", 64, "fallback"},
        {"Long", 64, "0123456789abcdef"},
        {"Long", 5, "0123"},                 // cut to the buffer, terminated
        {"Long", 1, ""},
    };
    for (const Case &c : cases) {
        char buffer[80];
        memset(buffer, 0xbd, sizeof buffer);
        DWORD n = GetPrivateProfileStringA("Settings", c.key, "fallback", buffer, c.size, path_.c_str());
        EXPECT_STREQ(buffer, c.expected) << c.key << " size " << c.size;
        EXPECT_EQ(n, strlen(c.expected)) << c.key << " size " << c.size;
        EXPECT_EQ(static_cast<unsigned char>(buffer[c.size]), 0xbd) << c.key << " wrote past " << c.size << " bytes";
    }
}

}  // namespace

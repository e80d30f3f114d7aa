// The search for a free replacement name, with the existence test given.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "engine/replace.h"

namespace {
std::set<std::string> existing;
bool Exists(const char *path) { return existing.count(path) != 0; }
bool AllExist(const char *) { return true; }
}  // namespace

TEST(ReplacementName, SkipsExistingNamesAndKeepsCounting) {
    existing = {"C:\\APP\\~QXU0000.TMP"};
    SetReplacementCounter(0);
    char name[256];
    ASSERT_TRUE(MakeReplacementNameWith(name, sizeof name, "C:\\APP\\MAIN.DLL", Exists));
    EXPECT_STREQ(name, "C:\\APP\\~QXU0001.TMP");
    EXPECT_EQ(ReplacementCounter(), 2);
    // The counter is shared across directories and written in lower-case hexadecimal.
    SetReplacementCounter(10);
    ASSERT_TRUE(MakeReplacementNameWith(name, sizeof name, "C:\\OTHER\\X.EXE", Exists));
    EXPECT_STREQ(name, "C:\\OTHER\\~QXU000a.TMP");
    SetReplacementCounter(0xFFFF);
    ASSERT_TRUE(MakeReplacementNameWith(name, sizeof name, "C:\\OTHER\\X.EXE", Exists));
    EXPECT_STREQ(name, "C:\\OTHER\\~QXUffff.TMP");
    EXPECT_EQ(ReplacementCounter(), 0) << "wraps to 0";
    existing.clear();
}

TEST(ReplacementName, EndsWhenEveryNameExists) {
    SetReplacementCounter(0x1234);
    char name[256];
    EXPECT_FALSE(MakeReplacementNameWith(name, sizeof name, "C:\\FULL\\A.DLL", AllExist));
    EXPECT_EQ(ReplacementCounter(), 0x1234) << "every one of the 65536 names tried once";
}

TEST(ReplacementName, TooLongForTheBuffer) {
    char target[300];
    memset(target, 'd', sizeof target);
    target[0] = 'C', target[1] = ':', target[2] = '\\', target[250] = '\\';
    target[sizeof target - 1] = '\0';
    char name[257];
    memset(name, 0xbd, sizeof name);
    SetReplacementCounter(0);
    EXPECT_FALSE(MakeReplacementNameWith(name, 256, target, Exists));
    EXPECT_EQ(static_cast<unsigned char>(name[256]), 0xbd) << "written past the buffer";
}

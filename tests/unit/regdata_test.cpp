// Value data from the recorded text of a changed registry value, for every type code.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/regdata.h"
#include "log/model.h"

namespace {
struct Case {
    const char *context;
    int32_t type;
    std::string text;  // the strings with their zeros, the closing empty string included
    std::string data;  // expected bytes
};

std::string Hex(const std::string &bytes) {
    std::string out;
    char two[4];
    for (unsigned char c : bytes) {
        snprintf(two, sizeof two, "%02X ", c);
        out += two;
    }
    return out;
}
}  // namespace

TEST(RegData, EveryTypeCode) {
    using namespace std::string_literals;
    const Case cases[] = {
        {"string", TYPE_SZ, "hello\0\0"s, "hello\0"s},
        {"expandable string", TYPE_EXPAND_SZ, "%WINDIR%\\a\0\0"s, "%WINDIR%\\a\0"s},
        {"empty string", TYPE_SZ, "\0\0"s, "\0"s},
        {"two lines", TYPE_MULTI_SZ, "ONE\0TWO\0\0"s, "ONE\0TWO\0\0"s},
        {"no lines", TYPE_MULTI_SZ, "\0\0"s, "\0"s},
        {"negative", TYPE_DWORD, "-5\0\0"s, "\xFB\xFF\xFF\xFF"s},
        {"stops at x", TYPE_DWORD, "0x10\0\0"s, "\0\0\0\0"s},
        {"empty number", TYPE_DWORD, "\0\0"s, "\0\0\0\0"s},
        {"blanks and plus", TYPE_DWORD, "  +258junk\0\0"s, "\x02\x01\0\0"s},
        {"largest unsigned", TYPE_DWORD, "4294967295\0\0"s, "\xFF\xFF\xFF\xFF"s},
        {"pairs with commas", TYPE_BINARY, "0a,1b,FF\0\0"s, "\x0A\x1B\xFF"s},
        {"odd digit dropped", TYPE_BINARY, "ABC\0\0"s, "\xAB"s},
        {"empty binary", TYPE_BINARY, "\0\0"s, ""s},
        {"non-digits passed over", TYPE_BINARY, "g1 2-z3 4\0\0"s, "\x12\x34"s},
    };
    for (const Case &c : cases) {
        char value[OLD_VALUE_SIZE];
        memset(value, 0xbd, sizeof value);
        memcpy(value, c.text.data(), c.text.size());
        uint32_t size = 0xdeadbeef;
        ASSERT_TRUE(MakeRegistryData(c.type, value, sizeof value, &size)) << c.context;
        std::string got(value, size < sizeof value ? size : sizeof value);
        EXPECT_EQ(size, c.data.size()) << c.context << ": got " << Hex(got);
        EXPECT_EQ(Hex(got), Hex(c.data)) << c.context;
    }
}

TEST(RegData, UnknownTypeCodesChangeNothing) {
    for (int32_t type : {int32_t{-1}, int32_t{TYPE_CODE_COUNT}, int32_t{7}}) {
        char value[8] = "-5\0\0";
        uint32_t size = 0xdeadbeef;
        EXPECT_FALSE(MakeRegistryData(type, value, sizeof value, &size)) << "type " << type;
        EXPECT_EQ(size, 0xdeadbeefu) << "type " << type;
        EXPECT_STREQ(value, "-5") << "type " << type;
    }
}

TEST(RegData, UnclosedTextStaysInsideTheBuffer) {
    // A field filled to the last byte: the size never reaches past it.
    char value[16];
    memset(value, 'A', sizeof value);
    uint32_t size = 0;
    ASSERT_TRUE(MakeRegistryData(TYPE_SZ, value, sizeof value, &size));
    EXPECT_EQ(size, sizeof value);
    ASSERT_TRUE(MakeRegistryData(TYPE_MULTI_SZ, value, sizeof value, &size));
    EXPECT_EQ(size, sizeof value);
    ASSERT_TRUE(MakeRegistryData(TYPE_BINARY, value, sizeof value, &size));
    EXPECT_EQ(size, 8u) << "sixteen digits make eight bytes";
}

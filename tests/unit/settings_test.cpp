// Message lookup, gradient settings and band geometry, against real INI files in a test folder.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform.h"
#include "shell/runstate.h"
#include "shell/settings.h"
#include "test_folder.h"

namespace {

HINSTANCE ThisInstance() {
#ifdef _WIN32
    return GetModuleHandleA(nullptr);  // the unit tests carry the program's string table
#else
    return nullptr;
#endif
}

// Points the settings path at a file of the test folder for the test's duration.
class SettingsFile : public ::testing::Test {
protected:
    void Use(const std::string &name, const std::string &contents) {
        if (!contents.empty()) {
            ASSERT_TRUE(folder_.Write(name, contents));
        }
        path_ = folder_.Path(name);
        runState.settingsPath = path_.data();
    }
    void SetUp() override { saved_ = runState.settingsPath; }
    void TearDown() override { runState.settingsPath = saved_; }
    std::string Lookup(int id, size_t size = 256) {
        std::string buffer(size + 8, '\xbd');
        LoadMessageText(ThisInstance(), id, buffer.data(), size);
        for (size_t i = size; i < buffer.size(); i++)
            EXPECT_EQ(buffer[i], '\xbd') << "message " << id << " wrote past " << size << " bytes";
        return std::string(buffer.c_str());
    }
    TestFolder folder_{::testing::UnitTest::GetInstance()->current_test_info()->name()};
    std::string path_;
    char *saved_ = nullptr;
};

}  // namespace

TEST_F(SettingsFile, MessageLookup) {
    Use("lookup.ini",
        "[Settings]\r\nMsg5=Not this section\r\n"
        "[Language]\r\n"
        "Msg5=Choose Files\r\n"
        "Msg68=Restart needed.|Press OK.\r\n"
        "Msg6=\x7f\r\n"
        "Msg7=\x7fmore\r\n"
        "Msg8=\r\n"
        "Msg9=a||b|\r\n"
        "msg10 = \"Quoted text\"\r\n");
    struct Case {
        int id;
        const char *expected;
    } cases[] = {
        {5, "Choose Files"},
        {68, "Restart needed.\r\nPress OK."},
        {6, "The following files should be deleted to remove the software from your system.  Press the Select "
            "All button to remove all of the listed files or select the files individually."},
        {7, "\x7fmore"},
        {8, ""},
        {9, "a\r\n\r\nb\r\n"},
        {10, "Quoted text"},
        {1, "Installation Logs"},
        {29, "Removing File:\r\n"},
        {999, ""},  // neither in the file nor built in: empty, not the DEL mark
    };
    for (const Case &c : cases) EXPECT_EQ(Lookup(c.id), c.expected) << "message " << c.id;
}

TEST_F(SettingsFile, NoSettingsFileGivesBuiltInTexts) {
    Use("missing.ini", "");
    EXPECT_EQ(Lookup(2), "Korvel Uninstall");
    EXPECT_EQ(Lookup(25), "Uninstall");
}

TEST_F(SettingsFile, LineBreaksNeverRunPastTheBuffer) {
    Use("bounded.ini", "[Language]\r\nMsg5=ab|cd\r\nMsg6=|||\r\n");
    struct Case {
        int id;
        size_t size;
        const char *expected;
    } cases[] = {
        {5, 7, "ab\r\ncd"}, {5, 6, "ab\r\nc"}, {5, 5, "ab\r\n"}, {5, 4, "ab"}, {5, 3, "ab"},
        {5, 1, ""},         {6, 7, "\r\n\r\n\r\n"}, {6, 6, "\r\n\r\n"}, {6, 2, ""},
    };
    for (const Case &c : cases) EXPECT_EQ(Lookup(c.id, c.size), c.expected) << "message " << c.id << " size " << c.size;
}

TEST_F(SettingsFile, GradientSettings) {
    Use("gradient.ini",
        "[Settings]\r\nStart Red=200\r\nEnd Red=0\r\nStart Green=-5\r\nEnd Green=300\r\n"
        "Start Blue=10\r\nNo Background=1\r\n");
    ReadGradientSettings();
    EXPECT_EQ(runState.startColour[0], 200);
    EXPECT_EQ(runState.startColour[1], -5);
    EXPECT_EQ(runState.startColour[2], 10);
    EXPECT_EQ(runState.colourDelta[0], -200);
    EXPECT_EQ(runState.colourDelta[1], 305);
    EXPECT_EQ(runState.colourDelta[2], -10);
    EXPECT_EQ(runState.noBackground, 1);

    Use("gradient-missing.ini", "");
    ReadGradientSettings();
    EXPECT_EQ(runState.startColour[2], 255);
    EXPECT_EQ(runState.colourDelta[2], -255);
    EXPECT_EQ(runState.noBackground, 0);
}

// Integers as the system reads them: digits up to the first other character, an empty value
// gives the default, letters alone give 0.
TEST_F(SettingsFile, IntegerSettingsAsTheSystemReadsThem) {
    Use("integers.ini",
        "[settings]\r\nstart red = 12abc\r\nStart Green=abc\r\nStart Blue=\r\nEnd Red=+7\r\nEnd Green=\"9\"\r\n");
    ReadGradientSettings();
    EXPECT_EQ(runState.startColour[0], 12);
    EXPECT_EQ(runState.startColour[1], 0) << "no digits";
    EXPECT_EQ(runState.startColour[2], 255) << "empty value: the default";
    EXPECT_EQ(runState.colourDelta[0], 7 - 12);
    EXPECT_EQ(runState.colourDelta[1], 9 - 0) << "quotes around the value are dropped";
}

TEST(Gradient, BandColour) {
    struct Case {
        int32_t start[3], delta[3];
        int band;
        BandRgb expected;
    } cases[] = {
        {{0, 0, 255}, {0, 0, -255}, 0, {0, 0, 255}},      // defaults: pure blue at the top
        {{0, 0, 255}, {0, 0, -255}, 95, {0, 0, 0}},       // and black at the bottom
        {{300, 0, 0}, {0, 0, 255}, 1, {255, 0, 2}},       // clamped red; 255 / 95 = 2.68 truncated
        {{300, 0, 0}, {0, 0, 255}, 95, {255, 0, 255}},
        {{200, 0, 0}, {-200, 0, 0}, 1, {198, 0, 0}},      // -200 / 95 truncates toward zero
        {{-10, 0, 0}, {20, 0, 0}, 40, {0, 0, 0}},         // -10 + 8 below zero becomes 0
        {{INT32_MAX, INT32_MIN, 0}, {INT32_MAX, INT32_MAX, 0}, 95, {255, 0, 0}},
    };
    for (const Case &c : cases) {
        BandRgb got = BandColour(c.start, c.delta, c.band);
        EXPECT_EQ(got.r, c.expected.r) << "band " << c.band << " start red " << c.start[0];
        EXPECT_EQ(got.g, c.expected.g) << "band " << c.band << " start green " << c.start[1];
        EXPECT_EQ(got.b, c.expected.b) << "band " << c.band << " start blue " << c.start[2];
    }
}

TEST(Gradient, BandBottoms) {
    for (int i = 0; i < GRADIENT_BANDS; i++) EXPECT_EQ(BandBottom(i, 480), 5 * (i + 1)) << "band " << i;
    const int32_t first25[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 25, 26};
    for (int i = 0; i < 25; i++) EXPECT_EQ(BandBottom(i, 100), first25[i]) << "band " << i;
    EXPECT_EQ(BandBottom(95, 100), 100);
    // Below 96 pixels some bands have no height at all.
    int empty = 0;
    for (int i = 0; i < GRADIENT_BANDS; i++) empty += BandBottom(i, 50) == (i ? BandBottom(i - 1, 50) : 0);
    EXPECT_EQ(empty, 46);
    EXPECT_EQ(BandBottom(0, 50), 0);
    EXPECT_EQ(BandBottom(95, 50), 50);
}

#ifndef _WIN32
// The host layer's files: names match without regard to case, as on Windows.
TEST(HostFiles, CaseInsensitiveNames) {
    TestFolder folder("HostFiles");
    ASSERT_TRUE(folder.Write("Install.Log", "x"));
    EXPECT_NE(GetFileAttributesA("c:\\KUTEST\\hostfiles\\INSTALL.LOG"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesA("C:\\kutest\\HostFiles"), FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(GetFileAttributesA("C:\\kutest\\HostFiles\\missing.log"), INVALID_FILE_ATTRIBUTES);
    ASSERT_TRUE(SetCurrentDirectoryA("C:\\KUTEST\\HostFiles"));
    EXPECT_NE(GetFileAttributesA("install.log"), INVALID_FILE_ATTRIBUTES);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("C:\\kutest\\hostfiles\\*.LOG", &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_STREQ(found.cFileName, "Install.Log");
    EXPECT_FALSE(FindNextFileA(search, &found));
    FindClose(search);
}
#endif

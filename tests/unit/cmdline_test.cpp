// The command-line grammar and the command tail of the process.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "shell/cmdline.h"

TEST(CommandLine, Grammar) {
    struct Case {
        const char *tail;
        int automaticStart, silent, rollback, relaunched;
        const char *logPath;
        int hasTitle;
        const char *title;
    } cases[] = {
        {"", 0, 0, 0, 0, "", 0, ""},
        {"C:\\APP\\INSTALL.LOG", 0, 0, 0, 0, "C:\\APP\\INSTALL.LOG", 0, ""},
        {"/A/S C:\\APP\\INSTALL.LOG", 1, 1, 0, 0, "C:\\APP\\INSTALL.LOG", 0, ""},
        {"/AS C:\\APP\\INSTALL.LOG", 1, 0, 0, 0, "S", 1, "C:\\APP\\INSTALL.LOG"},
        {"/a /s  /r C:\\L", 1, 1, 1, 0, "C:\\L", 0, ""},
        {"/Q C:\\L", 0, 0, 0, 0, "/Q", 1, "C:\\L"},
        {"/A /Q C:\\L", 1, 0, 0, 0, "/Q", 1, "C:\\L"},
        {"/S /Z C:\\L", 1, 1, 0, 0, "C:\\L", 0, ""},
        {"/Z /S C:\\L", 1, 1, 0, 0, "C:\\L", 0, ""},
        {"C:\\L \"My Product\"", 0, 0, 0, 0, "C:\\L", 1, "My Product"},
        {"C:\\L \"My Product", 0, 0, 0, 0, "C:\\L", 1, "My Product"},
        {"C:\\L My \"Product\"", 0, 0, 0, 0, "C:\\L", 1, "My \"Product"},
        {"C:\\L \"", 0, 0, 0, 0, "C:\\L", 1, ""},
        {"C:\\L ", 0, 0, 0, 0, "C:\\L", 1, ""},
        {"/z", 0, 0, 0, 1, "", 0, ""},
        {"/z C:\\TEMP\\KUNINST.EXE C:\\APP\\", 0, 0, 0, 1, "C:\\TEMP\\KUNINST.EXE C:\\APP\\", 0, ""},
        {"/", 0, 0, 0, 0, "/", 0, ""},
        {"/A", 1, 0, 0, 0, "", 0, ""},
        {"/R/", 0, 0, 1, 0, "/", 0, ""},
    };
    for (const Case &c : cases) {
        CommandLine line;
        memset(&line, 0xbd, sizeof line);
        ParseCommandTail(c.tail, &line);
        SCOPED_TRACE(std::string("tail [") + c.tail + "]");
        EXPECT_EQ(line.automaticStart, c.automaticStart);
        EXPECT_EQ(line.silent, c.silent);
        EXPECT_EQ(line.rollback, c.rollback);
        EXPECT_EQ(line.relaunched, c.relaunched);
        EXPECT_STREQ(line.logPath, c.logPath);
        EXPECT_EQ(line.hasTitle, c.hasTitle);
        EXPECT_STREQ(line.title, c.title);
    }
}

TEST(CommandLine, InPlaceRuns) {
    struct Case {
        const char *tail;
        bool inPlace;
    } cases[] = {
        {"/Z /S C:\\L", true}, {"/z", true}, {"/S /Z C:\\L", false}, {"", false}, {"Z", false}, {"/", false},
    };
    for (const Case &c : cases) EXPECT_EQ(StartsInPlace(c.tail), c.inPlace) << "tail [" << c.tail << "]";
}

TEST(CommandLine, LongTailIsCut) {
    std::string tail = "/S " + std::string(300, 'x');
    CommandLine line;
    ParseCommandTail(tail, &line);
    EXPECT_EQ(line.silent, 1);
    EXPECT_EQ(strlen(line.logPath), 252u) << "255 characters of tail, less the switch and its space";
}

TEST(CommandLine, TailOfProcessCommandLine) {
    struct Case {
        const char *commandLine;
        const char *tail;
    } cases[] = {
        {"KUNINST.EXE /S C:\\L", "/S C:\\L"},
        {"\"C:\\Program Files\\KUNINST.EXE\" /S C:\\L", "/S C:\\L"},
        {"\"C:\\Program Files\\KUNINST.EXE\"/A", "/A"},
        {"KUNINST.EXE\t \t/A  ", "/A  "},
        {"KUNINST.EXE", ""},
        {"\"C:\\Unclosed KUNINST.EXE /A", ""},
        {"C:\\KUNINST.EXE \x01\x1f" "C:\\L", "C:\\L"},
        {"C:\\KUNINST.EXE \xe9t\xe9", "\xe9t\xe9"},
    };
    for (const Case &c : cases) EXPECT_STREQ(CommandTailOf(c.commandLine), c.tail) << c.commandLine;
}

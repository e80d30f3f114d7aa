// The install log reader against fixture logs in a sandbox folder C:\KULOG: natively through the
// host layer, and under Wine against real files, a real registry and Wine's service manager.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/paths.h"
#include "log_sandbox.h"
#include "shell/text.h"

using namespace logtest;

namespace {
constexpr char kLog[] = "C:\\KULOG\\APP\\INSTALL.LOG";

std::string Fixture(const char *name) { return ReadSourceFile(std::string("tests/unit/logs/") + name); }

// Runs of the dump that differ, as "expected | actual" lines, for a readable failure message.
std::string Differences(const std::string &expected, const std::string &actual) {
    std::istringstream e(expected), a(actual);
    std::string le, la, out;
    for (int line = 1;; line++) {
        bool moreE = static_cast<bool>(std::getline(e, le));
        bool moreA = static_cast<bool>(std::getline(a, la));
        if (!moreE && !moreA) break;
        if (le != la) out += "line " + std::to_string(line) + ": expected [" + le + "] got [" + la + "]\n";
        le.clear();
        la.clear();
    }
    return out;
}
}  // namespace

class ReaderTest : public LogTest {};

// Each fixture log shows one family of records; its .expected file is the whole model after
// reading it, in kuninst-log's format.
TEST_F(ReaderTest, FixtureLogsGiveTheirModel) {
    struct Case {
        const char *log;
        const char *files;   // files (and folders, with a final backslash) that exist, ;-separated
        const char *shared;  // files counted under SharedDLLs
    } cases[] = {
        {"files.log",
         "C:\\KULOG\\APP\\A.DLL;C:\\KULOG\\APP\\B.EXE;C:\\KULOG\\APP\\ACME.LNK;C:\\KULOG\\APP\\SHARED.DLL;"
         "C:\\KULOG\\APP\\PLAIN.DLL;C:\\KULOG\\APP\\SAVED.DLL;C:\\KULOG\\APP\\C.DLL;C:\\KULOG\\APP\\D.DLL;"
         "C:\\KULOG\\APP\\CONFIG.SYS;C:\\KULOG\\APP\\NOBAK.TXT",
         "C:\\KULOG\\APP\\SHARED.DLL"},
        {"system.log",
         "%SYS%\\KUSYS1.DLL;%SYS%\\KUSYS2.DLL;%WIN%\\KUWIN.INI;%SYS%\\KUSUB\\KUSUB.DLL;%SYS%\\WIN32S\\KU32S.DLL;"
         "C:\\KULOG\\APP\\C.DLL",
         ""},
        {"dirs.log", "", ""},
        {"ini.log", "C:\\KULOG\\APP\\NEW.INI;C:\\KULOG\\APP\\NEW2.INI", ""},
        {"registry.log", "", ""},
        {"config.log", "", ""},
        {"lookahead.log", "C:\\KULOG\\APP\\A.DLL", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.log);
        TearDown();
        SetUp();
        std::vector<std::string> made;
        std::istringstream files(Substitute(c.files));
        for (std::string path; std::getline(files, path, ';');) {
            MakeEntry(path);
            made.push_back(path);
        }
        if (c.shared[0]) Shared(c.shared);
        if (std::string(c.log) == "ini.log") {
            // Present values decide which changed entries are offered.
            WritePrivateProfileStringA("Main", "Kept", "new", "C:\\KULOG\\APP\\APP.INI");
            WritePrivateProfileStringA("Main", "Added", "new", "C:\\KULOG\\APP\\APP.INI");
        }
        std::string actual = Read(kLog, Substitute(Fixture(c.log)));
        std::string name = c.log;
        std::string expected = Substitute(Fixture((name.substr(0, name.size() - 4) + ".expected").c_str()));
        std::string differences = Differences(expected, actual);
        EXPECT_EQ(differences, "");
        // The whole model beside the test executable, for a look at what changed.
        if (!differences.empty()) WriteFile(name + ".actual", actual);
        for (const std::string &path : made) {
            if (path.rfind("C:\\KULOG", 0) != 0) DeleteFileA(path.c_str());
        }
        RemoveDirectoryA(Substitute("%SYS%\\KUSUB").c_str());
        RemoveDirectoryA(Substitute("%SYS%\\WIN32S").c_str());
    }
}

TEST_F(ReaderTest, TitleTrimmingAndCaption) {
    struct Case {
        const char *titleLine;
        const char *windowTitle;  // from the command line, or null
        const char *productTitle;
        const char *caption;
    } cases[] = {
        {"Title: ACME INSTALLATION", nullptr, "ACME", "Uninstall ACME"},
        {"Title: Acme Setup Install", nullptr, "Acme Setup", "Uninstall Acme Setup"},
        {"Title: Acme Install Installation", nullptr, "Acme", "Uninstall Acme"},
        {"Title: Acme installation install", nullptr, "Acme installation", "Uninstall Acme installation"},
        {"Title:  INSTALLATION", nullptr, " INSTALLATION", "Uninstall  INSTALLATION"},
        {"Title: X INSTALL", nullptr, "X", "Uninstall X"},
        {"Title:  INSTALL", nullptr, " INSTALL", "Uninstall  INSTALL"},
        {"Title:\tTabbed", nullptr, "Tabbed", "Uninstall Tabbed"},
        {"Title:", nullptr, "", "Uninstall "},
        {"Title: Acme", "Given title", "Acme", "before"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.titleLine);
        TearDown();
        SetUp();
        char given[64];
        if (c.windowTitle) CopyText(given, c.windowTitle);
        runState.windowTitle = c.windowTitle ? given : nullptr;
        Shown shown;
        std::string dump = Read(kLog, std::string("***  X\r\n") + c.titleLine + "\r\n", &shown);
        EXPECT_EQ(Field(dump, "result"), "0");
        EXPECT_EQ(Field(dump, "productTitle"), c.productTitle);
        EXPECT_EQ(shown.windowCaption, c.caption);
        EXPECT_EQ(shown.boxes, 0);
    }
}

TEST_F(ReaderTest, FailuresAreReportedAndEndTheRead) {
    struct Case {
        const char *context;
        const char *log;  // null: no log file at all
        const char *text;
        const char *caption;
    } cases[] = {
        {"missing log", nullptr, "Could not open INSTALL.LOG file.", "Korvel Uninstall"},
        {"empty log", "", "Invalid INSTALL.LOG file.", "Korvel Uninstall"},
        {"no space after the asterisks", "***\r\nTitle: A\r\n", "Invalid INSTALL.LOG file.", "Korvel Uninstall"},
        {"no title line", "***  A\r\nFile Copy: C:\\X\r\n", "Invalid INSTALL.LOG file.", "Korvel Uninstall"},
        {"title in lower case", "***  A\r\ntitle: A\r\n", "Invalid INSTALL.LOG file.", "Korvel Uninstall"},
        {"first line not a section", "Title: A\r\n***  A\r\nTitle: B\r\n", "Invalid INSTALL.LOG file.", "Korvel Uninstall"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.context);
        TearDown();
        SetUp();
        Shown shown;
        int result = -1;
        if (c.log) {
            Read(kLog, c.log, &shown, &result);
        } else {
            ReadOnly(kLog, &shown, &result);
        }
        EXPECT_EQ(result, 1);
        EXPECT_EQ(shown.boxes, 1);
        EXPECT_EQ(shown.text, c.text);
        EXPECT_EQ(shown.caption, c.caption);
        EXPECT_EQ(shown.windowCaption, "before") << "no caption before the title is read";
    }
}

TEST_F(ReaderTest, SectionsAndLastSectionOffset) {
    std::string first = "***  ONE\r\nTitle: A\r\n";
    std::string padding = "Comment: " + std::string(5000 - first.size() - 11, 'x') + "\r\n";
    std::string log = first + padding + "*** OEM\r\nCreate Service: S\r\n";
    ASSERT_EQ(log.find("*** OEM"), 5000u);
    std::string dump = Read(kLog, log);
    EXPECT_EQ(Field(dump, "sectionCount"), "2");
    EXPECT_EQ(Field(dump, "lastSectionOffset"), "5000");
    EXPECT_EQ(Field(dump, "ServiceList[0].index"), "2");

    dump = Read(kLog, "***  ONE\r\nTitle: A\r\nCreate Service: S\r\n");
    EXPECT_EQ(Field(dump, "sectionCount"), "1");
    EXPECT_EQ(Field(dump, "lastSectionOffset"), "0");

    // Lone carriage returns, stray line feeds and a last section line without a carriage return.
    dump = Read(kLog, "***  ONE\rTitle: A\r\n\n\r\r*** TWO\r\n\r\n***  THREE");
    EXPECT_EQ(Field(dump, "sectionCount"), "3");
    EXPECT_EQ(Field(dump, "lastSectionOffset"), "33");
}

TEST_F(ReaderTest, OwnDirectoryEntryAndLogDirectory) {
    std::string system = SystemDirectory();
    struct Case {
        std::string context;
        std::string logPath;
        std::string records;
        std::string logDirectory;
        std::string ownEntry;  // DirectoryList[0].path, or <absent>
        const char *ownIndex;
    } cases[] = {
        {"log in an application folder", kLog, "", "C:\\KULOG\\APP\\", "C:\\KULOG\\APP\\", "32767"},
        // The created parent takes the place of the log's own entry, with its section.
        {"created parents raise logDirectory", "C:\\KULOG\\APP\\DATA\\INSTALL.LOG",
         "Made Dir: C:\\KULOG\\APP\r\nMade Dir: C:\\KULOG\\APP\\DATA\r\n", "C:\\KULOG\\APP\\", "C:\\KULOG\\APP\\", "1"},
        {"an unrelated directory leaves it", kLog, "Made Dir: C:\\KULOG\\OTHER\r\n", "C:\\KULOG\\APP\\",
         "C:\\KULOG\\APP\\", "32767"},
        {"log in the root of the drive", "C:\\KULOG.LOG", "", "C:\\", "<absent>", ""},
        {"log in the system directory", system + "\\KULOG.LOG", "", system + "\\", "<absent>", ""},
        {"log in an ancestor of the system directory", system.substr(0, system.rfind('\\')) + "\\KULOG.LOG", "",
         system.substr(0, system.rfind('\\')) + "\\", "<absent>", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.context);
        TearDown();
        SetUp();
        std::string dump = Read(c.logPath, "***  A\r\nTitle: A\r\n" + c.records);
        DeleteFileA(c.logPath.c_str());
        char expected[LOG_DIRECTORY_SIZE];
        CopyText(expected, c.logDirectory);
        NormalizePath(expected, sizeof expected, false);  // the short form of this machine
        EXPECT_EQ(Field(dump, "logDirectory"), expected);
        EXPECT_EQ(Field(dump, "DirectoryList[0].path"), c.ownEntry);
        if (c.ownEntry != "<absent>") {
            EXPECT_EQ(Field(dump, "DirectoryList[0].index"), c.ownIndex);
        }
    }
}

TEST_F(ReaderTest, ShortAndLongNames) {
    const std::string folder = "C:\\KULOG\\My Application Folder";
    const std::string dll = folder + "\\Shared Library.dll";
    MakeEntry(dll);
    char shortFolder[256];
    CopyText(shortFolder, folder);
    NormalizePath(shortFolder, sizeof shortFolder, false);
    if (folder == shortFolder) GTEST_SKIP() << "no short aliases on this file system";
    char shortDll[256];
    CopyText(shortDll, dll);
    NormalizePath(shortDll, sizeof shortDll, false);

    const std::string exe = folder + "\\Register Tool.exe";
    MakeEntry(exe);
    char shortExe[256];
    CopyText(shortExe, exe);
    NormalizePath(shortExe, sizeof shortExe, false);

    // Records made after a self-registration line are matched by the later ones too.
    std::string log = "***  A\r\nTitle: A\r\nFile Copy: " + dll + "\r\nSelf-Register: " + shortDll +
                      "\r\n***  B\r\nFile Copy: " + exe + "\r\nSelf-Register: " + shortExe + "\r\n";
    std::string dump = Read(folder + "\\INSTALL.LOG", log);
    EXPECT_EQ(Field(dump, "logDirectory"), std::string(shortFolder) + "\\") << "short form";
    EXPECT_EQ(Field(dump, "DirectoryList[0].path"), folder + "\\") << "long form";
    EXPECT_EQ(Field(dump, "PrivateFileList[0].selfRegisterIndex"), "1") << "matched through the long form";
    EXPECT_EQ(Field(dump, "PrivateFileList[1].selfRegisterIndex"), "2") << "matched through the long form";
}

TEST_F(ReaderTest, OemSectionsConvertNamesOfFiles) {
    if (GetACP() != 1252 || GetOEMCP() != 437) GTEST_SKIP() << "code pages " << GetACP() << "/" << GetOEMCP();
    MakeEntry("C:\\KULOG\\APP\\CAF\xe9.DLL");
    MakeEntry("C:\\KULOG\\APP\\\xf6.INI");
    std::string dump = Read(kLog, Fixture("oem.log"));
    std::string expected = Substitute(Fixture("oem.expected"));
    std::string differences = Differences(expected, dump);
    EXPECT_EQ(differences, "");
    if (!differences.empty()) WriteFile("oem.log.actual", dump);
}

TEST_F(ReaderTest, RightsCheckOnlyOnWindowsNt) {
    const std::string log = "***  A\r\nTitle: A\r\nUser Rights: Admin\r\nuser rights: admin\r\nCreate Service: S\r\n";
    for (int32_t platform : {PLATFORM_NT, PLATFORM_OTHER}) {
        SCOPED_TRACE(platform);
        runState.platform = platform;
        Shown shown;
        std::string dump = Read(kLog, log, &shown);
        EXPECT_EQ(Field(dump, "result"), "0");
        EXPECT_EQ(shown.boxes, 0) << shown.text;
        EXPECT_EQ(Field(dump, "ServiceList.count"), "1");
        FreeItemModel();
        ASSERT_TRUE(AllocateItemModel());
    }
}

TEST_F(ReaderTest, LimitsOfFieldsAndLists) {
    std::string log = "***  A\r\nTitle: A\r\n";
    log += "Manufacturer: " + std::string(200, 'm') + "\r\n";
    log += "RegDB Key: K\r\nRegDB Val: v\r\n";
    for (int i = 0; i < 12; i++) log += "RegDB Old: " + std::string(200, static_cast<char>('a' + i)) + "\r\n";
    // A value cut by the line buffer names something else: its record is not taken.
    MakeEntry("C:\\KULOG\\APP\\LONG\\");
    log += "Made Dir: C:\\KULOG\\APP\\LONG\\" + std::string(300, 'd') + "\r\n";
    for (int i = 0; i < ITEM_CAPACITY + 1; i++) log += "Create Service: S" + std::to_string(i) + "\r\n";
    log += "Product: read to the end\r\n";
    std::string dump = Read(kLog, log);
    EXPECT_EQ(Field(dump, "manufacturer"), std::string(127, 'm'));
    EXPECT_EQ(Field(dump, "RegEditList[0].oldValue.count"), "11");
    EXPECT_EQ(Field(dump, "RegEditList[0].oldValue[9]"), std::string(200, 'j'));
    EXPECT_EQ(Field(dump, "RegEditList[0].oldValue[10]"), std::string(2047 - 10 * 201 - 1, 'k'));
    EXPECT_EQ(RegEditList.items[0]->oldValue[OLD_VALUE_SIZE - 1], '\0');
    EXPECT_EQ(RegEditList.items[0]->oldValue[OLD_VALUE_SIZE - 2], '\0') << "list closed";
    EXPECT_EQ(Field(dump, "DirectoryList.count"), "1") << "only the log's own directory";
    EXPECT_EQ(Field(dump, "ServiceList.count"), std::to_string(ITEM_CAPACITY));
    EXPECT_EQ(Field(dump, "ServiceList[4095].name"), "S4095");
    EXPECT_EQ(Field(dump, "product"), "read to the end");
}

TEST_F(ReaderTest, BackupOfADroppedFileStillOffersRollback) {
    std::string dump = Read(kLog, "***  A\r\nTitle: A\r\nFile Copy: C:\\KULOG\\APP\\GONE.DLL\r\n"
                                  "Backup Copy: C:\\KULOG\\BAK\\GONE.DLL\r\n");
    EXPECT_EQ(Field(dump, "backupsPresent"), "1");
    EXPECT_EQ(Field(dump, "PrivateFileList.count"), "0");
}

#ifndef _WIN32
// What the host layer lets a test arrange: a refused service manager and removable drives.
TEST_F(ReaderTest, MissingAdministratorRightsEndTheRead) {
    const std::string log = "***  A\r\nTitle: A\r\nCreate Service: Before\r\nUser Rights: Admin\r\n"
                            "Create Service: After\r\n";
    struct Case {
        int32_t platform;
        bool denied;
        int opens;
        int result;
        int services;
    } cases[] = {
        {PLATFORM_NT, true, 1, 1, 1},
        {PLATFORM_NT, false, 1, 0, 2},
        {PLATFORM_OTHER, true, 0, 0, 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "platform " << c.platform << " denied " << c.denied);
        runState.platform = c.platform;
        HostDenyServiceManager(c.denied);
        int opens = HostServiceManagerOpens();
        Shown shown;
        int result;
        std::string dump = Read(kLog, log + "User Rights: Admin\r\n", &shown, &result);
        HostDenyServiceManager(false);
        EXPECT_EQ(HostServiceManagerOpens() - opens, c.opens) << "checked once at most";
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(Field(dump, "ServiceList.count"), std::to_string(c.services)) << "what came before stays";
        EXPECT_EQ(shown.boxes, c.result);
        if (c.result) {
            EXPECT_EQ(shown.text, "This software was installed under an account with administrator rights. You should "
                                  "log onto an account with administrator rights to uninstall this software.");
            EXPECT_EQ(shown.caption, "Uninstall");
        }
    }
}

TEST_F(ReaderTest, RecordsOnRemovableDrivesAreDropped) {
    const std::string log = "***  A\r\nTitle: A\r\nFile Copy: A:\\SETUP.DLL\r\nBackup Copy: C:\\KULOG\\BAK\\S.DLL\r\n"
                            "File Edit: b:\\EDIT.TXT\r\nBackup Copy: C:\\KULOG\\BAK\\E.TXT\r\n"
                            "INI New: \r\nINI File: A:\\NEW.INI\r\n"
                            "INI File: B:\\OLD.INI\r\nCreate Service: ConsumedWithTheEntry\r\nCreate Service: Kept\r\n";
    struct Case {
        UINT type;
        const char *files;
    } cases[] = {{DRIVE_REMOVABLE, "0"}, {DRIVE_FIXED, "1"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.type);
        HostSetDriveType('A', c.type);
        HostSetDriveType('B', c.type);
        // Drives A: and B: exist as folders of the root.
        std::filesystem::create_directories(TestRoot() + "/A");
        std::filesystem::create_directories(TestRoot() + "/B");
        WriteFile("A:\\SETUP.DLL", "x");
        WriteFile("B:\\EDIT.TXT", "x");
        WriteFile("A:\\NEW.INI", "x");
        WritePrivateProfileStringA("S", "K", "v", "B:\\OLD.INI");
        std::string dump = Read(kLog, log);
        EXPECT_EQ(Field(dump, "PrivateFileList.count"), c.files);
        EXPECT_EQ(Field(dump, "EditedFileList.count"), c.files);
        EXPECT_EQ(Field(dump, "IniFileList.count"), c.files);
        EXPECT_EQ(Field(dump, "backupsPresent"), "1");
        // On a removable drive the changed entry takes the line after it along.
        EXPECT_EQ(Field(dump, "ServiceList[0].name"), c.type == DRIVE_REMOVABLE ? "Kept" : "ConsumedWithTheEntry");
    }
    HostSetDriveType('A', DRIVE_NO_ROOT_DIR);
    HostSetDriveType('B', DRIVE_NO_ROOT_DIR);
    std::filesystem::remove_all(TestRoot() + "/A");
    std::filesystem::remove_all(TestRoot() + "/B");
}
#endif

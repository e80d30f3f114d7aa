// The wizard's page logic: transitions, entry texts and selections, page texts and layout,
// title expansion and the widening arithmetic.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "log/model.h"
#include "shell/text.h"
#include "ui/pages.h"

namespace {

// Each test starts from an empty item model and frees it afterwards.
class PagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(AllocateItemModel());
        wizardState = WizardState{};
    }
    void TearDown() override {
        free(subSystem.name);
        subSystem.name = nullptr;
        FreeItemModel();
        wizardState = WizardState{};
    }
};

void SetSubSystemName(const char *name) {
    free(subSystem.name);
    subSystem.name = strdup(name);
}

std::string EntryText(uint8_t page, int32_t index) {
    char text[ENTRY_TEXT_SIZE];
    memset(text, 0xbd, sizeof text);
    BuildEntryText(page, index, text, sizeof text);
    return text;
}

// Filled list pages as a bit mask: bit p for page p.
struct TransitionCase {
    const char *context;
    uint8_t page;
    int32_t method;
    bool forward;
    bool backups;
    unsigned filledMask;
    uint8_t expected;
};

constexpr unsigned Page(int p) { return 1u << p; }

TEST(PageTransition, FollowsTheMethodBackupsAndFilledPages) {
    const TransitionCase cases[] = {
        {"automatic, no backups: method -> finish", PAGE_METHOD, METHOD_AUTOMATIC, true, false, Page(1), PAGE_FINISH},
        {"automatic, no backups: finish back -> method", PAGE_FINISH, METHOD_AUTOMATIC, false, false, Page(1), PAGE_METHOD},
        {"automatic: finish stays on Next", PAGE_FINISH, METHOD_AUTOMATIC, true, true, 0, PAGE_FINISH},
        {"automatic: method stays on Back", PAGE_METHOD, METHOD_AUTOMATIC, false, true, 0, PAGE_METHOD},
        {"automatic, backups: method -> rollback", PAGE_METHOD, METHOD_AUTOMATIC, true, true, 0, PAGE_ROLLBACK},
        {"automatic, backups: rollback -> finish", PAGE_ROLLBACK, METHOD_AUTOMATIC, true, true, 0, PAGE_FINISH},
        {"automatic, backups: finish back -> rollback", PAGE_FINISH, METHOD_AUTOMATIC, false, true, 0, PAGE_ROLLBACK},
        {"automatic, backups: rollback back -> method", PAGE_ROLLBACK, METHOD_AUTOMATIC, false, true, 0, PAGE_METHOD},
        {"automatic never shows a list page", PAGE_METHOD, METHOD_AUTOMATIC, true, false, 0x7fe, PAGE_FINISH},
        {"custom, all empty: method -> finish", PAGE_METHOD, METHOD_CUSTOM, true, false, 0, PAGE_FINISH},
        {"custom, all empty: finish back -> method", PAGE_FINISH, METHOD_CUSTOM, false, false, 0, PAGE_METHOD},
        {"custom never shows rollback", PAGE_METHOD, METHOD_CUSTOM, true, true, 0, PAGE_FINISH},
        {"custom, only page 10: method -> 10", PAGE_METHOD, METHOD_CUSTOM, true, false, Page(10), 10},
        {"custom, only page 10: 10 -> finish", 10, METHOD_CUSTOM, true, false, Page(10), PAGE_FINISH},
        {"custom, only page 10: finish back -> 10", PAGE_FINISH, METHOD_CUSTOM, false, false, Page(10), 10},
        {"custom, only page 10: 10 back -> method", 10, METHOD_CUSTOM, false, false, Page(10), PAGE_METHOD},
        {"custom, pages 1 and 3: method -> 1", PAGE_METHOD, METHOD_CUSTOM, true, false, Page(1) | Page(3), 1},
        {"custom, pages 1 and 3: 1 -> 3 skips 2", 1, METHOD_CUSTOM, true, false, Page(1) | Page(3), 3},
        {"custom, pages 1 and 3: 3 -> finish", 3, METHOD_CUSTOM, true, false, Page(1) | Page(3), PAGE_FINISH},
        {"custom, pages 1 and 3: finish back -> 3", PAGE_FINISH, METHOD_CUSTOM, false, false, Page(1) | Page(3), 3},
        {"custom, pages 1 and 3: 3 back -> 1", 3, METHOD_CUSTOM, false, false, Page(1) | Page(3), 1},
        {"custom, pages 1 and 3: 1 back -> method", 1, METHOD_CUSTOM, false, false, Page(1) | Page(3), PAGE_METHOD},
        {"custom, every page: 9 -> 10", 9, METHOD_CUSTOM, true, false, 0x7fe, 10},
        {"custom: Back on the method page wraps round to finish", PAGE_METHOD, METHOD_CUSTOM, false, false, 0, PAGE_FINISH},
        {"nothing chosen counts as custom", PAGE_METHOD, 0, true, true, Page(2), 2},
    };
    for (const TransitionCase &c : cases) {
        bool filled[11] = {};
        for (int p = 1; p <= 10; p++) filled[p] = (c.filledMask & Page(p)) != 0;
        uint8_t got = NextPageOf(c.page, c.method, c.forward, c.backups, filled);
        EXPECT_EQ(got, c.expected) << c.context << ": got page " << int(got);
    }
}

TEST_F(PagesTest, SubSystemsPageIsFilledByAnyOfItsThreeSources) {
    struct Case {
        const char *context;
        bool name, program, service;
    } cases[] = {
        {"sub-system name", true, false, false},
        {"program", false, true, false},
        {"service", false, false, true},
    };
    for (const Case &c : cases) {
        TearDown();
        SetUp();
        if (c.name) SetSubSystemName("BDE");
        if (c.program) AppendItem(ProgramList);
        if (c.service) AppendItem(ServiceList);
        wizardState.method = METHOD_CUSTOM;
        wizardState.page = PAGE_METHOD;
        StepPage(true);
        EXPECT_EQ(wizardState.page, PAGE_SUB_SYSTEMS) << c.context << ": got page " << int(wizardState.page);
        StepPage(true);
        EXPECT_EQ(wizardState.page, PAGE_FINISH) << c.context << ": got page " << int(wizardState.page);
        StepPage(false);
        EXPECT_EQ(wizardState.page, PAGE_SUB_SYSTEMS) << c.context << ": got page " << int(wizardState.page);
    }
}

TEST_F(PagesTest, StepPageReadsListsAndBackups) {
    AppendItem(SystemFileList);
    AppendItem(IconList);
    wizardState.method = METHOD_CUSTOM;
    const uint8_t forward[] = {2, 9, PAGE_FINISH};
    for (uint8_t expected : forward) {
        StepPage(true);
        EXPECT_EQ(wizardState.page, expected) << "forward: got page " << int(wizardState.page);
    }
    readerResults.backupsPresent = 1;
    wizardState.method = METHOD_AUTOMATIC;
    StepPage(false);
    EXPECT_EQ(wizardState.page, PAGE_ROLLBACK) << "automatic Back with backups: got " << int(wizardState.page);
}

TEST_F(PagesTest, EntryTextsFollowTheRecordKind) {
    CopyText(AppendItem(PrivateFileList)->path, "C:\\APP\\APP.EXE");
    CopyText(AppendItem(SystemFileList)->path, "C:\\WINDOWS\\SYSTEM\\APP.DLL");
    CopyText(AppendItem(DirectoryList)->path, "C:\\APP\\DATA\\");
    CopyText(AppendItem(IniFileList)->path, "C:\\WINDOWS\\APP.INI");
    IniEditItem *ini = AppendItem(IniEditList);
    CopyText(ini->file, "C:\\WINDOWS\\WIN.INI");
    CopyText(ini->section, "Extensions");
    CopyText(ini->key, "app");
    CopyText(ini->oldValue, "old.exe ^.app");
    CopyText(AppendItem(RegKeyList)->key, "Software\\Korvel\\App");
    RegKeyItem *named = AppendItem(RegKeyList);
    CopyText(named->key, "Software\\Korvel\\App");
    CopyText(named->valueName, "Path");
    CopyText(AppendItem(RegTreeList)->key, "Software\\Korvel");
    RegEditItem *edit = AppendItem(RegEditList);
    CopyText(edit->key, "Software\\Korvel\\App");
    CopyText(edit->valueName, "Mode");
    memcpy(edit->oldValue, "first\0second\0", 14);  // only the first string is shown
    RegEditItem *unnamed = AppendItem(RegEditList);
    CopyText(unnamed->key, "Software\\Korvel\\Default");
    CopyText(unnamed->oldValue, "value");
    IconItem *icon = AppendItem(IconList);
    CopyText(icon->group, "Korvel");
    CopyText(icon->name, "Korvel App");
    CopyText(icon->command, "C:\\APP\\APP.EXE");

    struct Case {
        uint8_t page;
        int32_t index;
        const char *expected;
    } cases[] = {
        {1, 0, "C:\\APP\\APP.EXE"},
        {2, 0, "C:\\WINDOWS\\SYSTEM\\APP.DLL"},
        {3, 0, "C:\\APP\\DATA"},
        {4, 0, "C:\\WINDOWS\\APP.INI"},
        {5, 0, "C:\\WINDOWS\\WIN.INI: [Extensions] app=old.exe ^.app"},
        {6, 0, "Software\\Korvel\\App"},
        {6, 1, "Software\\Korvel\\App Value Name: Path"},
        {7, 0, "Software\\Korvel"},
        {8, 0, "Software\\Korvel\\App Value Name: Mode=first"},
        {8, 1, "Software\\Korvel\\Default=value"},
        {9, 0, "Korvel App"},
        {1, 1, ""},   // past the end
        {6, -1, ""},  // before the start
        {PAGE_FINISH, 0, ""},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(EntryText(c.page, c.index), c.expected) << "page " << int(c.page) << " entry " << c.index;
    }
}

TEST_F(PagesTest, ChangedValueIsCutAfterAValueNameOnly) {
    std::string value(300, 'v');
    RegEditItem *named = AppendItem(RegEditList);
    CopyText(named->key, "K");
    CopyText(named->valueName, "N");
    CopyText(named->oldValue, value);
    RegEditItem *unnamed = AppendItem(RegEditList);
    CopyText(unnamed->key, "K");
    CopyText(unnamed->oldValue, value);

    EXPECT_EQ(EntryText(8, 0), "K Value Name: N=" + std::string(255, 'v'));
    EXPECT_EQ(EntryText(8, 1), "K=" + value);
}

TEST_F(PagesTest, EntryTextStaysWithinItsBuffer) {
    RegEditItem *edit = AppendItem(RegEditList);
    memset(edit->key, 'k', sizeof edit->key - 1);
    memset(edit->oldValue, 'v', sizeof edit->oldValue - 2);  // one long string, then the closing empty one
    char text[ENTRY_TEXT_SIZE + 16];
    memset(text, 0xbd, sizeof text);
    BuildEntryText(8, 0, text, ENTRY_TEXT_SIZE);
    EXPECT_EQ(strlen(text), size_t(ENTRY_TEXT_SIZE - 1)) << "entry is cut to 1023 characters";
    for (size_t i = ENTRY_TEXT_SIZE; i < sizeof text; i++)
        EXPECT_EQ(static_cast<unsigned char>(text[i]), 0xbd) << "written past the buffer at " << i;
}

TEST_F(PagesTest, SubSystemsPageListsNameThenProgramsThenServices) {
    SetSubSystemName("BDE");
    ProgramItem *named = AppendItem(ProgramList);
    CopyText(named->program, "C:\\APP\\CLEAN.EXE /u");
    CopyText(named->name, "Clean up");
    CopyText(AppendItem(ProgramList)->program, "C:\\APP\\UNREG.EXE");
    CopyText(AppendItem(ServiceList)->name, "KorvelSvc");

    EXPECT_EQ(PageEntryCountOf(PAGE_SUB_SYSTEMS), 4);
    const char *expected[] = {"BDE", "Clean up", "C:\\APP\\UNREG.EXE", "KorvelSvc"};
    int32_t *flags[] = {&subSystem.selected, &ProgramList.items[0]->selected, &ProgramList.items[1]->selected,
                        &ServiceList.items[0]->selected};
    for (int32_t i = 0; i < 4; i++) {
        EXPECT_EQ(EntryText(PAGE_SUB_SYSTEMS, i), expected[i]) << "entry " << i;
        EXPECT_EQ(EntrySelection(PAGE_SUB_SYSTEMS, i), flags[i]) << "entry " << i;
    }
    EXPECT_EQ(EntrySelection(PAGE_SUB_SYSTEMS, 4), nullptr);

    free(subSystem.name);
    subSystem.name = nullptr;
    EXPECT_EQ(PageEntryCountOf(PAGE_SUB_SYSTEMS), 3);
    EXPECT_EQ(EntrySelection(PAGE_SUB_SYSTEMS, 0), &ProgramList.items[0]->selected)
        << "without a sub-system name entry 0 is the first program";
    EXPECT_EQ(EntrySelection(PAGE_SUB_SYSTEMS, 2), &ServiceList.items[0]->selected);
}

TEST_F(PagesTest, EntrySelectionPointsAtTheRecordOfEachListPage) {
    int32_t *expected[10] = {};
    expected[1] = &AppendItem(PrivateFileList)->selected;
    expected[2] = &AppendItem(SystemFileList)->selected;
    expected[3] = &AppendItem(DirectoryList)->selected;
    expected[4] = &AppendItem(IniFileList)->selected;
    expected[5] = &AppendItem(IniEditList)->selected;
    expected[6] = &AppendItem(RegKeyList)->selected;
    expected[7] = &AppendItem(RegTreeList)->selected;
    expected[8] = &AppendItem(RegEditList)->selected;
    expected[9] = &AppendItem(IconList)->selected;
    for (uint8_t page = 1; page <= 9; page++) {
        EXPECT_EQ(PageEntryCountOf(page), 1) << "page " << int(page);
        EXPECT_EQ(EntrySelection(page, 0), expected[page]) << "page " << int(page);
        EXPECT_EQ(EntrySelection(page, 1), nullptr) << "page " << int(page);
    }
    EXPECT_EQ(PageEntryCountOf(PAGE_METHOD), 0);
    EXPECT_EQ(EntrySelection(PAGE_ROLLBACK, 0), nullptr);
}

TEST(PageContent, TextsLayoutAndChoicesByPage) {
    struct Case {
        uint8_t page;
        PageTexts texts;
        int nextText;
        PageLayout layout;
    } cases[] = {
        {PAGE_METHOD, {16, 7, 10, 60, 61}, 46, {false, true, true, false}},
        {1, {5, 6, 0, 0, 0}, 46, {true, false, false, true}},
        {2, {8, 9, 0, 0, 0}, 46, {true, false, false, true}},
        {3, {11, 12, 0, 0, 0}, 46, {true, false, false, true}},
        {4, {14, 15, 0, 0, 0}, 46, {true, false, false, true}},
        {5, {17, 18, 0, 0, 0}, 46, {true, false, false, true}},
        {6, {20, 21, 0, 0, 0}, 46, {true, false, false, true}},
        {7, {54, 55, 0, 0, 0}, 46, {true, false, false, true}},
        {8, {23, 24, 0, 0, 0}, 46, {true, false, false, true}},
        {9, {26, 27, 0, 0, 0}, 46, {true, false, false, true}},
        {PAGE_SUB_SYSTEMS, {42, 41, 0, 0, 0}, 46, {true, false, false, true}},
        {PAGE_FINISH, {19, 13, 22, 0, 0}, 63, {false, false, true, true}},
        {PAGE_ROLLBACK, {64, 65, 66, 51, 52}, 46, {false, true, true, true}},
    };
    for (const Case &c : cases) {
        PageTexts t = PageTextsOf(c.page);
        EXPECT_EQ(t.titleId, c.texts.titleId) << "page " << int(c.page);
        EXPECT_EQ(t.descriptionId, c.texts.descriptionId) << "page " << int(c.page);
        EXPECT_EQ(t.secondTextId, c.texts.secondTextId) << "page " << int(c.page);
        EXPECT_EQ(t.firstChoiceId, c.texts.firstChoiceId) << "page " << int(c.page);
        EXPECT_EQ(t.secondChoiceId, c.texts.secondChoiceId) << "page " << int(c.page);
        EXPECT_EQ(NextButtonTextOf(c.page), c.nextText) << "page " << int(c.page);
        PageLayout l = PageLayoutOf(c.page);
        EXPECT_EQ(l.listShown, c.layout.listShown) << "page " << int(c.page);
        EXPECT_EQ(l.choicesShown, c.layout.choicesShown) << "page " << int(c.page);
        EXPECT_EQ(l.secondTextShown, c.layout.secondTextShown) << "page " << int(c.page);
        EXPECT_EQ(l.backEnabled, c.layout.backEnabled) << "page " << int(c.page);
    }
}

TEST(PageContent, FirstChoiceFollowsMethodOrRollback) {
    struct Case {
        uint8_t page;
        int32_t method, rollback;
        bool expected;
    } cases[] = {
        {PAGE_METHOD, 0, 1, true},  // nothing chosen yet shows Automatic
        {PAGE_METHOD, METHOD_AUTOMATIC, 0, true},
        {PAGE_METHOD, METHOD_CUSTOM, 1, false},
        {PAGE_ROLLBACK, METHOD_AUTOMATIC, 0, false},
        {PAGE_ROLLBACK, METHOD_AUTOMATIC, 1, true},
        {PAGE_ROLLBACK, METHOD_CUSTOM, 7, true},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(FirstChoiceChecked(c.page, c.method, c.rollback), c.expected)
            << "page " << int(c.page) << " method " << c.method << " rollback " << c.rollback;
    }
}

TEST(PageContent, ExpandTitleReplacesOnlyTitleMarks) {
    struct Case {
        const char *pattern;
        const char *expected;
    } cases[] = {
        {"Welcome to the %s uninstall program.", "Welcome to the Korvel App uninstall program."},
        {"%s and %s", "Korvel App and Korvel App"},
        {"100%% sure", "100% sure"},
        {"%d %n %x", "%d %n %x"},  // a replaced text cannot make the formatter read arguments
        {"ends with %", "ends with %"},
        {"", ""},
    };
    for (const Case &c : cases) {
        char text[PAGE_TEXT_SIZE];
        memset(text, 0xbd, sizeof text);
        ExpandTitle(text, sizeof text, c.pattern, "Korvel App");
        EXPECT_STREQ(text, c.expected) << "pattern \"" << c.pattern << "\"";
    }

    char small[16 + 8];
    memset(small, 0xbd, sizeof small);
    ExpandTitle(small, 16, "Welcome to the %s uninstall", "Korvel App");
    EXPECT_STREQ(small, "Welcome to the ") << "cut to 15 characters";
    for (size_t i = 16; i < sizeof small; i++)
        EXPECT_EQ(static_cast<unsigned char>(small[i]), 0xbd) << "written past the buffer at " << i;
}

TEST(Widening, AddsASixthTruncatedTowardZero) {
    struct Case {
        int32_t edge, expected;
    } cases[] = {
        {126, 147}, {186, 217}, {0, 0}, {5, 5}, {6, 7}, {-7, -8}, {-5, -5},
    };
    for (const Case &c : cases) EXPECT_EQ(WidenEdge(c.edge), c.expected) << "edge " << c.edge;

    EXPECT_EQ(CentredOrigin(1024, 467), 278);
    EXPECT_EQ(CentredOrigin(640, 641), 0) << "-1 / 2 truncates toward zero";
    EXPECT_EQ(CentredOrigin(640, 700), -30);
}

}  // namespace

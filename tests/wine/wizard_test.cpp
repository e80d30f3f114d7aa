// The wizard end to end: KUNINST.EXE on real install logs, driven page by page as a user would.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "driver.h"
#include "ui/dialog_ids.h"

using namespace e2e;

namespace {

// The built-in message table, the same list the program's string table is made from.
const std::map<int, std::string> &Messages() {
    static const std::map<int, std::string> table = {
#define MESSAGE(id, text) {id, text},
#include "resources/messages.def"
#undef MESSAGE
    };
    return table;
}

std::string Msg(int id) { return Messages().at(id); }

constexpr char WIZARD_CAPTION[] = "Uninstall Korvel App";

// A file directly in the system directory, removed again at scope end.
class SystemFile {
public:
    explicit SystemFile(const char *name) {
        char directory[MAX_PATH];
        GetSystemDirectoryA(directory, sizeof directory);
        path_ = std::string(directory) + "\\" + name;
        WriteTextFile(path_, "system file of the wizard test");
    }
    ~SystemFile() { DeleteFileA(path_.c_str()); }
    const std::string &Path() const { return path_; }

private:
    std::string path_;
};

// The start of a log: one ANSI section whose title names the product.
std::string LogStart() { return "***  Installation Started ***\r\nTitle: Korvel App Installation\r\n"; }

std::string Line(const std::string &keyword, const std::string &value) { return keyword + value + "\r\n"; }

// Writes a product with one installed file (with or without a backup copy) and its log.
std::string WriteSmallProduct(const Sandbox &box, bool withBackup) {
    box.Write("APP.EXE", "program");
    std::string log = LogStart() + Line("File Copy: ", box.Path("APP.EXE"));
    if (withBackup) {
        box.Write("APP.BAK", "old program");
        log += Line("Backup Copy: ", box.Path("APP.BAK"));
    }
    box.Write("INSTALL.LOG", log);
    return box.Path("INSTALL.LOG");
}

// A running uninstaller and its wizard dialog.
struct Uninstaller {
    Process process;
    HWND wizard = nullptr;

    bool Start(const Sandbox &box, const std::string &tail) {
        std::string exe = box.AddProgram();
        if (exe.empty() || !process.Start(exe, tail, box.Dir())) return false;
        return true;
    }
    bool WaitWizard() {
        wizard = WaitForWindow(process.Id(), "#32770", WIZARD_CAPTION);
        return wizard != nullptr;
    }
    bool Exits() {
        DWORD code = 1;
        return process.WaitExit(kWaitMs, &code) && code == 0;
    }
    HWND List() const { return GetDlgItem(wizard, IDC_ITEM_LIST); }
    std::string Title() const { return ItemText(wizard, IDC_PAGE_TITLE); }
};

// Answers the cancel question that pressing Cancel (posted) brings up.
bool AnswerCancelQuestion(Uninstaller &run, int answer) {
    HWND box = WaitForMessageBox(run.process.Id());
    if (!box) return false;
    EXPECT_EQ(WindowText(box), Msg(25));
    EXPECT_EQ(MessageBoxText(box), Msg(59));
    // Wait until the box is gone, so that a later question is not mistaken for this one.
    return AnswerMessageBox(box, answer) && WaitUntil([box] { return !IsWindow(box); });
}

// Starts the uninstaller on a small product with the given switches and waits for its wizard.
bool StartOnSmallProduct(Uninstaller &run, const Sandbox &box, bool withBackup, const std::string &switches = "") {
    std::string log = WriteSmallProduct(box, withBackup);
    return run.Start(box, switches + log) && run.WaitWizard();
}

// Cancels the run as a user would: Cancel, then Yes; the program then ends.
bool CancelRun(Uninstaller &run) {
    return PostClick(run.wizard, IDC_CANCEL_BUTTON) && AnswerCancelQuestion(run, IDYES) && run.Exits();
}

void ExpectMethodPage(HWND wizard, bool automaticChecked) {
    EXPECT_EQ(ItemText(wizard, IDC_PAGE_TITLE), Msg(16));
    EXPECT_EQ(ItemText(wizard, IDC_NEXT), Msg(46));
    EXPECT_FALSE(ItemEnabled(wizard, IDC_BACK));
    EXPECT_FALSE(ItemShown(wizard, IDC_ITEM_LIST));
    EXPECT_TRUE(ItemShown(wizard, IDC_FIRST_CHOICE));
    EXPECT_EQ(ItemText(wizard, IDC_FIRST_CHOICE), Msg(60));
    EXPECT_EQ(ItemText(wizard, IDC_SECOND_CHOICE), Msg(61));
    EXPECT_EQ(ItemChecked(wizard, IDC_FIRST_CHOICE), automaticChecked);
    EXPECT_EQ(ItemChecked(wizard, IDC_SECOND_CHOICE), !automaticChecked);
}

void ExpectFinishPage(HWND wizard) {
    EXPECT_EQ(ItemText(wizard, IDC_PAGE_TITLE), Msg(19));
    EXPECT_EQ(ItemText(wizard, IDC_DESCRIPTION), "You are now ready to uninstall the Korvel App from your system.");
    EXPECT_EQ(ItemText(wizard, IDC_NEXT), Msg(63));
    EXPECT_FALSE(ItemShown(wizard, IDC_ITEM_LIST));
    EXPECT_FALSE(ItemShown(wizard, IDC_FIRST_CHOICE));
}

void ExpectRollbackPage(HWND wizard, bool yesChecked) {
    EXPECT_EQ(ItemText(wizard, IDC_PAGE_TITLE), Msg(64));
    EXPECT_EQ(ItemText(wizard, IDC_DESCRIPTION), Msg(65));
    EXPECT_EQ(ItemText(wizard, IDC_SECOND_TEXT), Msg(66));
    EXPECT_EQ(ItemText(wizard, IDC_FIRST_CHOICE), Msg(51));
    EXPECT_EQ(ItemText(wizard, IDC_SECOND_CHOICE), Msg(52));
    EXPECT_EQ(ItemChecked(wizard, IDC_FIRST_CHOICE), yesChecked);
    EXPECT_EQ(ItemChecked(wizard, IDC_SECOND_CHOICE), !yesChecked);
    EXPECT_TRUE(ItemEnabled(wizard, IDC_BACK));
}

// One list page as the user should see it.
struct ListPage {
    int titleId;
    int descriptionId;
    std::vector<std::string> entries;
    std::vector<bool> selected;
};

void ExpectListPage(const Uninstaller &run, const ListPage &page, const std::string &visit) {
    SCOPED_TRACE(visit + ": page titled \"" + Msg(page.titleId) + "\"");
    EXPECT_EQ(run.Title(), Msg(page.titleId));
    EXPECT_EQ(ItemText(run.wizard, IDC_DESCRIPTION), Msg(page.descriptionId));
    EXPECT_TRUE(ItemShown(run.wizard, IDC_ITEM_LIST));
    EXPECT_TRUE(ItemShown(run.wizard, IDC_SELECT_ALL));
    EXPECT_TRUE(ItemShown(run.wizard, IDC_SELECT_NONE));
    EXPECT_FALSE(ItemShown(run.wizard, IDC_FIRST_CHOICE));
    EXPECT_FALSE(ItemShown(run.wizard, IDC_SECOND_TEXT));
    EXPECT_TRUE(ItemEnabled(run.wizard, IDC_BACK));
    std::vector<std::string> entries = ListEntries(run.List());
    ASSERT_EQ(entries.size(), page.entries.size());
    for (size_t i = 0; i < entries.size(); i++) {
        EXPECT_EQ(lstrcmpiA(entries[i].c_str(), page.entries[i].c_str()), 0)
            << "entry " << i << ": got \"" << entries[i] << "\", expected \"" << page.entries[i] << "\"";
        EXPECT_EQ(ListSelected(run.List(), int(i)), page.selected[i]) << "entry " << i << " \"" << entries[i] << "\"";
    }
}

// A product touching every list page, and the pages the custom walk should show for it.
struct FullProduct {
    std::string logPath;
    std::vector<ListPage> pages;
};

FullProduct WriteFullProduct(const Sandbox &box, const SystemFile &systemFile) {
    box.Write("APP.EXE", "program");
    box.Write("README.TXT", "read me");
    box.MakeDir("TREE");
    box.Write("APP.INI", "[Options]\r\nColour=blue\r\n");
    box.Write("SHARED.INI", "[Extensions]\r\nkva=app.exe ^.kva\r\n");
    std::string dir = box.Dir();
    std::string log = LogStart();
    log += Line("File Copy: ", box.Path("APP.EXE"));
    log += Line("File Copy: ", box.Path("README.TXT"));
    log += "Non-System File:\r\n" + Line("File Copy: ", systemFile.Path());
    log += Line("File Tree: ", box.Path("TREE\\*.*"));
    log += "INI New: \r\n" + Line("INI File: ", box.Path("APP.INI"));
    log += Line("INI Sect: ", "Options") + Line("INI Item: ", "Colour") + Line("INI Val: ", "blue");
    log += Line("INI File: ", box.Path("SHARED.INI")) + Line("INI Sect: ", "Extensions");
    log += Line("INI Item: ", "kva") + Line("INI Val: ", "app.exe ^.kva") + Line("INI Old: ", "old.exe ^.kva");
    log += Line("RegDB Key: ", "Software\\KorvelWizardTest") + Line("RegDB Val: ", "");
    log += Line("RegDB Key: ", "Software\\KorvelWizardTest") + Line("RegDB Val: ", "x");
    log += Line("RegDB Name: ", "Path") + Line("RegDB Root: ", "1");
    log += Line("RegDB Tree: ", "Software\\KorvelWizardTest\\Tree") + Line("RegDB Root: ", "1");
    log += Line("RegDB Key: ", "Software\\KorvelWizardTest") + Line("RegDB Val: ", "new");
    log += Line("RegDB Name: ", "Mode") + Line("RegDB Root: ", "1") + Line("RegDB Old: ", "previous");
    log += Line("Icon Group: ", "Korvel") + Line("Icon Name: ", "Korvel App") + Line("Icon Cmd: ", box.Path("APP.EXE"));
    log += Line("Execute Path: ", box.Path("CLEAN.EXE /quiet"));
    log += Line("Execute Program: ", box.Path("UNREG.EXE")) + Line("Execute Name: ", "Unregister Korvel");
    log += Line("Create Service: ", "KorvelWizardTestSvc");
    log += "SubSystem: BDE Korvel\r\n";
    box.Write("INSTALL.LOG", log);

    std::string own = dir.substr(0, dir.size() - 1);
    FullProduct product;
    product.logPath = box.Path("INSTALL.LOG");
    product.pages = {
        {5, 6, {box.Path("APP.EXE"), box.Path("README.TXT")}, {false, false}},
        {8, 9, {systemFile.Path()}, {true}},
        {11, 12, {own, box.Path("TREE")}, {false, false}},
        {14, 15, {box.Path("APP.INI")}, {false}},
        {17, 18, {box.Path("SHARED.INI") + ": [Extensions] kva=old.exe ^.kva"}, {false}},
        {20, 21, {"Software\\KorvelWizardTest", "Software\\KorvelWizardTest Value Name: Path"}, {false, false}},
        {54, 55, {"Software\\KorvelWizardTest\\Tree"}, {false}},
        {23, 24, {"Software\\KorvelWizardTest Value Name: Mode=previous"}, {false}},
        {26, 27, {"Korvel App"}, {false}},
        {42, 41, {"BDE Korvel", box.Path("CLEAN.EXE /quiet"), "Unregister Korvel", "KorvelWizardTestSvc"},
         {false, false, false, false}},
    };
    return product;
}

TEST(WizardE2E, CustomWalkShowsEveryListPageAndKeepsSelections) {
    Sandbox box;
    SystemFile systemFile("KUWIZSYS.DLL");
    FullProduct product = WriteFullProduct(box, systemFile);
    Uninstaller run;
    ASSERT_TRUE(run.Start(box, product.logPath));
    ASSERT_TRUE(run.WaitWizard());
    ExpectMethodPage(run.wizard, true);
    CaptureWindow(run.wizard).Save("wizard_method");

    // Choose Custom and walk forward, selecting the first entry of every page.
    ASSERT_TRUE(Click(run.wizard, IDC_SECOND_CHOICE));
    for (size_t p = 0; p < product.pages.size(); p++) {
        ASSERT_TRUE(Click(run.wizard, IDC_NEXT));
        ExpectListPage(run, product.pages[p], "first visit");
        if (p == 0) CaptureWindow(run.wizard).Save("wizard_list");
        SendMessageA(run.List(), LB_SETSEL, TRUE, 0);
        product.pages[p].selected[0] = true;
    }
    ASSERT_TRUE(Click(run.wizard, IDC_NEXT));
    ExpectFinishPage(run.wizard);
    CaptureWindow(run.wizard).Save("wizard_finish");

    // Back the same way: every page shows what was chosen on it.
    for (size_t p = product.pages.size(); p-- > 0;) {
        ASSERT_TRUE(Click(run.wizard, IDC_BACK));
        ExpectListPage(run, product.pages[p], "going back");
    }

    // Select All then Back stores every entry; the next visit shows them all selected.
    ASSERT_TRUE(Click(run.wizard, IDC_SELECT_ALL));
    ASSERT_TRUE(Click(run.wizard, IDC_BACK));
    ExpectMethodPage(run.wizard, false);
    ASSERT_TRUE(Click(run.wizard, IDC_NEXT));
    product.pages[0].selected = {true, true};
    ExpectListPage(run, product.pages[0], "after Select All and Back");
    ASSERT_TRUE(Click(run.wizard, IDC_SELECT_NONE));
    ASSERT_TRUE(Click(run.wizard, IDC_NEXT));
    ASSERT_TRUE(Click(run.wizard, IDC_BACK));
    product.pages[0].selected = {false, false};
    ExpectListPage(run, product.pages[0], "after Select None and Next");

    EXPECT_TRUE(CancelRun(run));
}

TEST(WizardE2E, AutomaticWithoutBackupsGoesStraightToFinish) {
    Sandbox box;
    Uninstaller run;
    ASSERT_TRUE(StartOnSmallProduct(run, box, false));
    ExpectMethodPage(run.wizard, true);
    ASSERT_TRUE(Click(run.wizard, IDC_NEXT));
    ExpectFinishPage(run.wizard);
    ASSERT_TRUE(Click(run.wizard, IDC_BACK));
    ExpectMethodPage(run.wizard, true);
    ASSERT_TRUE(Click(run.wizard, IDC_NEXT));
    ASSERT_TRUE(Click(run.wizard, IDC_NEXT)) << "Finish";
    EXPECT_TRUE(run.Exits()) << "Finish ends the wizard and the run goes on to its end";
}

TEST(WizardE2E, AutomaticWithBackupsOffersRollback) {
    Sandbox box;
    Uninstaller run;
    ASSERT_TRUE(StartOnSmallProduct(run, box, true));
    ASSERT_TRUE(Click(run.wizard, IDC_NEXT));
    ExpectRollbackPage(run.wizard, false);
    CaptureWindow(run.wizard).Save("wizard_rollback");
    ASSERT_TRUE(Click(run.wizard, IDC_FIRST_CHOICE));
    ASSERT_TRUE(Click(run.wizard, IDC_NEXT));
    ExpectFinishPage(run.wizard);
    ASSERT_TRUE(Click(run.wizard, IDC_BACK));
    ExpectRollbackPage(run.wizard, true);
    ASSERT_TRUE(Click(run.wizard, IDC_BACK));
    ExpectMethodPage(run.wizard, true);
    EXPECT_TRUE(CancelRun(run));
}

TEST(WizardE2E, RollbackSwitchChecksYes) {
    Sandbox box;
    Uninstaller run;
    ASSERT_TRUE(StartOnSmallProduct(run, box, true, "/R "));
    ASSERT_TRUE(Click(run.wizard, IDC_NEXT));
    ExpectRollbackPage(run.wizard, true);
    EXPECT_TRUE(CancelRun(run));
}

TEST(WizardE2E, CancelAsksAndOnlyYesEndsTheRun) {
    Sandbox box;
    Uninstaller run;
    ASSERT_TRUE(StartOnSmallProduct(run, box, false));
    ASSERT_TRUE(PostClick(run.wizard, IDC_CANCEL_BUTTON));
    ASSERT_TRUE(AnswerCancelQuestion(run, IDNO));
    DWORD code;
    EXPECT_FALSE(run.process.WaitExit(300, &code)) << "No keeps the run going";
    EXPECT_TRUE(IsShown(run.wizard));
    ExpectMethodPage(run.wizard, true);

    // Esc goes through the wizard's dialog handling to the same question.
    HWND next = GetDlgItem(run.wizard, IDC_NEXT);
    PostMessageA(next, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageA(next, WM_KEYUP, VK_ESCAPE, 0xC0010001);
    ASSERT_TRUE(AnswerCancelQuestion(run, IDNO));
    EXPECT_TRUE(IsShown(run.wizard));

    PostMessageA(run.wizard, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(AnswerCancelQuestion(run, IDYES));
    EXPECT_TRUE(run.Exits());
}

TEST(WizardE2E, AutomaticStartDoesNotWait) {
    Sandbox box;
    std::string log = WriteSmallProduct(box, false);
    Uninstaller run;
    ASSERT_TRUE(run.Start(box, "/A " + log));
    // The wizard may already be gone when looked for; when it is seen, it is the finish page.
    HWND wizard = WaitForWindow(run.process.Id(), "#32770", WIZARD_CAPTION, 2000, false);
    if (wizard && IsWindow(wizard) && ItemText(wizard, IDC_PAGE_TITLE) == Msg(19)) {
        EXPECT_FALSE(ItemShown(wizard, IDC_NEXT));
        EXPECT_FALSE(ItemShown(wizard, IDC_BACK));
    }
    EXPECT_TRUE(run.Exits()) << "an automatic start needs no answer";
}

TEST(WizardE2E, SilentRunShowsNoWizard) {
    Sandbox box;
    std::string log = WriteSmallProduct(box, false);
    Uninstaller run;
    ASSERT_TRUE(run.Start(box, "/S " + log));
    bool wizardSeen = false;
    DWORD code = 1;
    for (int i = 0; i < 500 && !run.process.WaitExit(20, &code); i++) {
        for (HWND window : TopLevelWindows(run.process.Id()))
            if (ClassOf(window) == "#32770" && WindowText(window) == WIZARD_CAPTION) wizardSeen = true;
    }
    EXPECT_FALSE(wizardSeen);
    EXPECT_TRUE(run.Exits());
}

TEST(WizardE2E, SettingsFileReplacesTexts) {
    Sandbox box;
    std::string log = WriteSmallProduct(box, false);
    box.Write("KUNINST.INI", "[Language]\r\nMsg16=Choose|How\r\nMsg47=<< Go Back\r\nMsg46=Onward >\r\n");
    Uninstaller run;
    ASSERT_TRUE(run.Start(box, log));
    ASSERT_TRUE(run.WaitWizard());
    EXPECT_EQ(run.Title(), "Choose\r\nHow");
    EXPECT_EQ(ItemText(run.wizard, IDC_BACK), "<< Go Back");
    EXPECT_EQ(ItemText(run.wizard, IDC_NEXT), "Onward >");
    EXPECT_EQ(ItemText(run.wizard, IDC_CANCEL_BUTTON), Msg(48)) << "texts not replaced stay built in";
    CaptureWindow(run.wizard).Save("wizard_settings");
    EXPECT_TRUE(CancelRun(run));
}

}  // namespace

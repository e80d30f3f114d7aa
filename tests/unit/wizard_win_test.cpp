// The wizard dialog in-process: widening, initialisation, page display, selections and the loop,
// over an item model filled by hand.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "log/model.h"
#include "shell/runstate.h"
#include "shell/text.h"
#include "ui/dialog_ids.h"
#include "ui/pages.h"
#include "ui/widen.h"
#include "ui/wizard.h"

namespace {

constexpr char OWNER_CAPTION[] = "Korvel App Uninstall";

std::string ItemText(HWND dialog, int id) {
    char text[1024];
    memset(text, 0xbd, sizeof text);
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

std::string ListText(HWND list, int index) {
    char text[1024] = "";
    LRESULT length = SendMessageA(list, LB_GETTEXTLEN, index, 0);
    if (length < 0 || length >= LRESULT(sizeof text)) return "<bad length>";
    SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
    return text;
}

bool Shown(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != 0; }
bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != 0; }
bool Checked(HWND dialog, int id) { return SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void Press(HWND dialog, int id) { SendMessageA(dialog, WM_COMMAND, id, 0); }

// Each test gets a fresh model, run state, wizard state and an owner window with a caption.
class WizardTest : public ::testing::Test {
protected:
    HWND dialog = nullptr;

    void SetUp() override {
        ASSERT_TRUE(AllocateItemModel());
        CopyText(logHeader.productTitle, 256, "Korvel App");
        wizardState = WizardState{};
        runState = RunState{};
        runState.instance = GetModuleHandleA(nullptr);
        runState.newShell = 1;
        runState.screenWidth = GetSystemMetrics(SM_CXSCREEN);
        runState.screenHeight = GetSystemMetrics(SM_CYSCREEN);
        runState.titleFont = CreateFontA(-21, 0, 0, 0, 700, TRUE, FALSE, FALSE, 0, 0, 0, 0, 16, "Times New Roman");
        runState.mainWindow = CreateWindowA("STATIC", OWNER_CAPTION, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                            runState.instance, nullptr);
        ASSERT_NE(runState.mainWindow, nullptr);
    }

    void TearDown() override {
        if (dialog) DestroyWindow(dialog);
        DestroyWindow(runState.mainWindow);
        DeleteObject(runState.titleFont);
        if (dialogFont) DeleteObject(dialogFont);
        dialogFont = nullptr;
        free(subSystem.name);
        subSystem.name = nullptr;
        FreeItemModel();
        runState = RunState{};
        wizardState = WizardState{};
    }

    void Create() {
        dialog = CreateDialogParamA(runState.instance, MAKEINTRESOURCEA(DLG_WIZARD), runState.mainWindow, ItemDlg, 0);
        ASSERT_NE(dialog, nullptr) << "CreateDialogParamA failed, error " << GetLastError();
        ASSERT_EQ(runState.wizardWindow, dialog);
    }

    HWND List() { return GetDlgItem(dialog, IDC_ITEM_LIST); }
};

void AddFile(ItemList<FileItem> &list, const char *path, int32_t selected) {
    FileItem *item = AppendItem(list);
    CopyText(item->path, path);
    item->selected = selected;
}

TEST_F(WizardTest, ControlsAreWidenedBySixthAndTakeTheDerivedFont) {
    runState.fontCharSet = 238;
    Create();
    struct Case {
        int id;
        RECT units;  // x, y, width, height in dialog units, as in the template
    } cases[] = {
        {IDC_PAGE_TITLE, {85, 6, 172, 30}},
        {IDC_ITEM_LIST, {84, 79, 172, 71}},
        {IDC_NEXT, {143, 184, 50, 14}},
        {IDC_SEPARATOR, {7, 177, 251, 1}},
    };
    for (const Case &c : cases) {
        // Position and size are converted to pixels separately, as the dialog manager does.
        RECT expected = c.units;
        MapDialogRect(dialog, &expected);
        expected.right += expected.left;
        expected.bottom += expected.top;
        RECT got;
        HWND control = GetDlgItem(dialog, c.id);
        GetWindowRect(control, &got);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT *>(&got), 2);
        EXPECT_EQ(got.left, WidenEdge(expected.left)) << "control " << c.id;
        EXPECT_EQ(got.right, WidenEdge(expected.right)) << "control " << c.id;
        EXPECT_EQ(got.top, expected.top) << "control " << c.id;
        EXPECT_EQ(got.bottom, expected.bottom) << "control " << c.id;
    }

    ASSERT_NE(dialogFont, nullptr);
    LOGFONTA font;
    ASSERT_NE(GetObjectA(dialogFont, sizeof font, &font), 0);
    EXPECT_EQ(font.lfWeight, 300);
    EXPECT_EQ(font.lfCharSet, 238);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendDlgItemMessageA(dialog, IDC_ITEM_LIST, WM_GETFONT, 0, 0)), dialogFont);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendDlgItemMessageA(dialog, IDC_PAGE_TITLE, WM_GETFONT, 0, 0)),
              runState.titleFont)
        << "the title gets the title font after the derived one";

    // A second dialog shares the font made by the first.
    HFONT first = dialogFont;
    HWND second = CreateDialogParamA(runState.instance, MAKEINTRESOURCEA(DLG_WIZARD), runState.mainWindow, ItemDlg, 0);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(dialogFont, first);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendDlgItemMessageA(second, IDC_NEXT, WM_GETFONT, 0, 0)), first);
    DestroyWindow(second);
    runState.wizardWindow = dialog;
}

// A stand-in for the 3-D library's subclassing call, recording what it was given.
HWND subclassedDialog;
DWORD subclassFlags;
BOOL WINAPI RecordSubclass(HWND dialog, DWORD flags) {
    subclassedDialog = dialog;
    subclassFlags = flags;
    return TRUE;
}

TEST_F(WizardTest, ThreeDLibrarySubclassesOnNewShellsOnly) {
    struct Case {
        int32_t newShell;
        bool expectCall;
    } cases[] = {{1, true}, {0, false}};
    for (const Case &c : cases) {
        subclassedDialog = nullptr;
        subclassFlags = 0;
        ctl3dSubclassDlgEx = RecordSubclass;
        runState.newShell = c.newShell;
        Create();
        ctl3dSubclassDlgEx = nullptr;
        EXPECT_EQ(subclassedDialog, c.expectCall ? dialog : nullptr) << "newShell " << c.newShell;
        EXPECT_EQ(subclassFlags, c.expectCall ? 56u : 0u) << "newShell " << c.newShell;
        DestroyWindow(dialog);
        dialog = nullptr;
    }
}

TEST_F(WizardTest, InitialisationCentresCaptionsAndShowsTheMethodPage) {
    Create();
    RECT rect;
    GetWindowRect(dialog, &rect);
    EXPECT_EQ(rect.left, (runState.screenWidth - (rect.right - rect.left)) / 2);
    EXPECT_EQ(rect.top, (runState.screenHeight - (rect.bottom - rect.top)) / 2);
    char caption[256] = "";
    GetWindowTextA(dialog, caption, sizeof caption);
    EXPECT_STREQ(caption, OWNER_CAPTION);

    EXPECT_EQ(ItemText(dialog, IDC_BACK), "< &Back");
    EXPECT_EQ(ItemText(dialog, IDC_CANCEL_BUTTON), "Cancel");
    EXPECT_EQ(ItemText(dialog, IDC_SELECT_ALL), "Select &All");
    EXPECT_EQ(ItemText(dialog, IDC_SELECT_NONE), "&Select None");
    EXPECT_EQ(ItemText(dialog, IDC_NEXT), "&Next >");
    EXPECT_EQ(ItemText(dialog, IDC_PAGE_TITLE), "Select Uninstall Method");
    EXPECT_EQ(ItemText(dialog, IDC_DESCRIPTION).substr(0, 45), "Welcome to the Korvel App uninstall program.\n");
    EXPECT_EQ(ItemText(dialog, IDC_FIRST_CHOICE), "&Automatic");
    EXPECT_EQ(ItemText(dialog, IDC_SECOND_CHOICE), "&Custom");
    EXPECT_TRUE(Checked(dialog, IDC_FIRST_CHOICE)) << "nothing chosen yet shows Automatic";
    EXPECT_FALSE(Checked(dialog, IDC_SECOND_CHOICE));
    EXPECT_FALSE(Enabled(dialog, IDC_BACK)) << "Back is disabled on the method page";
    EXPECT_TRUE(Shown(dialog, IDC_BACK)) << "Back is never hidden by a page";
    EXPECT_FALSE(Shown(dialog, IDC_ITEM_LIST));
    EXPECT_FALSE(Shown(dialog, IDC_SELECT_ALL));
    EXPECT_TRUE(Shown(dialog, IDC_SECOND_TEXT));
    EXPECT_FALSE(Shown(dialog, IDC_PROGRESS_FRAME)) << "the progress frame is hidden";
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_NEXT)) << "focus is on Next";

    RECT frame;
    GetWindowRect(GetDlgItem(dialog, IDC_PROGRESS_FRAME), &frame);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT *>(&frame), 2);
    EXPECT_EQ(progressBar.left, frame.left + 1);
    EXPECT_EQ(progressBar.top, frame.top + 1);
    EXPECT_EQ(progressBar.right, frame.right - 1);
    EXPECT_EQ(progressBar.bottom, frame.bottom - 1);
}

TEST_F(WizardTest, CustomWalkKeepsSelectionsAcrossBackAndNext) {
    AddFile(PrivateFileList, "C:\\APP\\APP.EXE", 0);
    AddFile(PrivateFileList, "C:\\APP\\README.TXT", 0);
    AddFile(SystemFileList, "C:\\WINDOWS\\SYSTEM\\SHARED.DLL", 0);
    AddFile(SystemFileList, "C:\\WINDOWS\\SYSTEM\\OWN.DLL", 1);  // after "Non-System File:"
    DirectoryItem *directory = AppendItem(DirectoryList);
    CopyText(directory->path, "C:\\APP\\DATA\\");
    Create();

    CheckRadioButton(dialog, IDC_FIRST_CHOICE, IDC_SECOND_CHOICE, IDC_SECOND_CHOICE);
    Press(dialog, IDC_NEXT);
    EXPECT_EQ(wizardState.method, METHOD_CUSTOM);
    ASSERT_EQ(wizardState.page, 1);
    EXPECT_EQ(ItemText(dialog, IDC_PAGE_TITLE), "Select Private Files to Remove");
    EXPECT_TRUE(Shown(dialog, IDC_ITEM_LIST));
    EXPECT_FALSE(Shown(dialog, IDC_FIRST_CHOICE));
    EXPECT_FALSE(Shown(dialog, IDC_SECOND_TEXT));
    EXPECT_TRUE(Enabled(dialog, IDC_BACK));
    ASSERT_EQ(SendMessageA(List(), LB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(ListText(List(), 0), "C:\\APP\\APP.EXE");
    EXPECT_EQ(ListText(List(), 1), "C:\\APP\\README.TXT");
    EXPECT_EQ(SendMessageA(List(), LB_GETSELCOUNT, 0, 0), 0);
    SendMessageA(List(), LB_SETSEL, TRUE, 1);

    Press(dialog, IDC_NEXT);
    ASSERT_EQ(wizardState.page, 2);
    EXPECT_EQ(PrivateFileList.items[0]->selected, 0);
    EXPECT_NE(PrivateFileList.items[1]->selected, 0);
    EXPECT_EQ(ItemText(dialog, IDC_PAGE_TITLE), "Select System Files to Remove");
    EXPECT_EQ(SendMessageA(List(), LB_GETSEL, 0, 0), 0);
    EXPECT_GT(SendMessageA(List(), LB_GETSEL, 1, 0), 0) << "a non-system file comes pre-selected";

    Press(dialog, IDC_NEXT);
    ASSERT_EQ(wizardState.page, 3);
    EXPECT_EQ(ListText(List(), 0), "C:\\APP\\DATA");
    Press(dialog, IDC_NEXT);
    ASSERT_EQ(wizardState.page, PAGE_FINISH);
    EXPECT_EQ(ItemText(dialog, IDC_NEXT), "&Finish");
    EXPECT_EQ(ItemText(dialog, IDC_PAGE_TITLE), "Perform Uninstall");
    EXPECT_EQ(ItemText(dialog, IDC_DESCRIPTION), "You are now ready to uninstall the Korvel App from your system.");
    EXPECT_FALSE(Shown(dialog, IDC_ITEM_LIST));
    EXPECT_FALSE(Shown(dialog, IDC_FIRST_CHOICE));

    Press(dialog, IDC_BACK);
    Press(dialog, IDC_BACK);
    Press(dialog, IDC_BACK);
    ASSERT_EQ(wizardState.page, 1);
    EXPECT_EQ(SendMessageA(List(), LB_GETSEL, 0, 0), 0) << "selections survive Next and Back";
    EXPECT_GT(SendMessageA(List(), LB_GETSEL, 1, 0), 0) << "selections survive Next and Back";

    Press(dialog, IDC_SELECT_ALL);
    Press(dialog, IDC_BACK);
    ASSERT_EQ(wizardState.page, PAGE_METHOD);
    EXPECT_NE(PrivateFileList.items[0]->selected, 0) << "Select All then Back stores every entry";
    EXPECT_NE(PrivateFileList.items[1]->selected, 0) << "Select All then Back stores every entry";
    EXPECT_TRUE(Checked(dialog, IDC_SECOND_CHOICE)) << "the method page shows Custom again";

    Press(dialog, IDC_NEXT);
    Press(dialog, IDC_SELECT_NONE);
    Press(dialog, IDC_NEXT);
    EXPECT_EQ(PrivateFileList.items[0]->selected, 0);
    EXPECT_EQ(PrivateFileList.items[1]->selected, 0);
}

TEST_F(WizardTest, ListIsMeasuredAndScrolledToTheTop) {
    std::string longest = "C:\\" + std::string(200, 'W') + ".DLL";
    for (int i = 0; i < 40; i++) AddFile(PrivateFileList, i == 30 ? longest.c_str() : "C:\\APP\\A.TXT", 0);
    wizardState.method = METHOD_CUSTOM;
    wizardState.page = 1;
    Create();
    SendMessageA(List(), LB_SETTOPINDEX, 35, 0);
    ShowPage();  // a refill scrolls back to the first entry

    HDC dc = GetDC(dialog);
    SIZE extent;
    GetTextExtentPointA(dc, longest.c_str(), static_cast<int>(longest.size()), &extent);
    ReleaseDC(dialog, dc);
    EXPECT_EQ(SendMessageA(List(), LB_GETHORIZONTALEXTENT, 0, 0), extent.cx);
    EXPECT_EQ(SendMessageA(List(), LB_GETTOPINDEX, 0, 0), 0);
    EXPECT_EQ(wizardState.pageEntryCount, 40);
}

TEST_F(WizardTest, SubSystemsPageShowsNameProgramsServices) {
    subSystem.name = strdup("BDE");
    ProgramItem *program = AppendItem(ProgramList);
    CopyText(program->program, "C:\\APP\\CLEAN.EXE");
    ServiceItem *service = AppendItem(ServiceList);
    CopyText(service->name, "KorvelSvc");
    service->selected = 1;
    Create();
    CheckRadioButton(dialog, IDC_FIRST_CHOICE, IDC_SECOND_CHOICE, IDC_SECOND_CHOICE);
    Press(dialog, IDC_NEXT);
    ASSERT_EQ(wizardState.page, PAGE_SUB_SYSTEMS);
    EXPECT_EQ(ItemText(dialog, IDC_PAGE_TITLE), "Select Sub-Systems to Remove");
    ASSERT_EQ(SendMessageA(List(), LB_GETCOUNT, 0, 0), 3);
    const char *expected[] = {"BDE", "C:\\APP\\CLEAN.EXE", "KorvelSvc"};
    for (int i = 0; i < 3; i++) EXPECT_EQ(ListText(List(), i), expected[i]) << "entry " << i;
    EXPECT_GT(SendMessageA(List(), LB_GETSEL, 2, 0), 0);
    SendMessageA(List(), LB_SETSEL, TRUE, 0);
    SendMessageA(List(), LB_SETSEL, FALSE, 2);
    Press(dialog, IDC_NEXT);
    EXPECT_NE(subSystem.selected, 0);
    EXPECT_EQ(ProgramList.items[0]->selected, 0);
    EXPECT_EQ(ServiceList.items[0]->selected, 0);
}

TEST_F(WizardTest, AutomaticWithBackupsGoesThroughRollback) {
    readerResults.backupsPresent = 1;
    AddFile(PrivateFileList, "C:\\APP\\APP.EXE", 0);
    Create();
    Press(dialog, IDC_NEXT);
    EXPECT_EQ(wizardState.method, METHOD_AUTOMATIC);
    ASSERT_EQ(wizardState.page, PAGE_ROLLBACK);
    EXPECT_EQ(ItemText(dialog, IDC_PAGE_TITLE), "Perform Rollback");
    EXPECT_EQ(ItemText(dialog, IDC_FIRST_CHOICE), "&Yes");
    EXPECT_EQ(ItemText(dialog, IDC_SECOND_CHOICE), "&No");
    EXPECT_FALSE(Checked(dialog, IDC_FIRST_CHOICE)) << "rollback is off";
    EXPECT_TRUE(Checked(dialog, IDC_SECOND_CHOICE));
    EXPECT_TRUE(Enabled(dialog, IDC_BACK));
    CheckRadioButton(dialog, IDC_FIRST_CHOICE, IDC_SECOND_CHOICE, IDC_FIRST_CHOICE);
    Press(dialog, IDC_NEXT);
    EXPECT_EQ(runState.rollback, 1);
    ASSERT_EQ(wizardState.page, PAGE_FINISH);
    Press(dialog, IDC_BACK);
    ASSERT_EQ(wizardState.page, PAGE_ROLLBACK);
    EXPECT_TRUE(Checked(dialog, IDC_FIRST_CHOICE)) << "Yes is shown again";
    EXPECT_EQ(runState.finished, 0);
    Press(dialog, IDC_NEXT);
    Press(dialog, IDC_NEXT);
    EXPECT_EQ(runState.finished, 1) << "Next on the finish page finishes";
    EXPECT_EQ(wizardState.page, PAGE_FINISH);
}

TEST_F(WizardTest, AutomaticStartOpensOnFinishWithoutNextAndBack) {
    wizardState.method = METHOD_AUTOMATIC;
    wizardState.page = PAGE_FINISH;
    Create();
    EXPECT_FALSE(Shown(dialog, IDC_NEXT));
    EXPECT_FALSE(Shown(dialog, IDC_BACK));
    EXPECT_TRUE(Shown(dialog, IDC_CANCEL_BUTTON));
    EXPECT_EQ(ItemText(dialog, IDC_PAGE_TITLE), "Perform Uninstall");
}

// The answer the timer below gives the cancel question, and whether it found the question.
int cancelAnswer;
bool questionSeen;

// Timer callback standing in for the user: answers the cancel question by its caption.
VOID CALLBACK AnswerQuestion(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND box = FindWindowA("#32770", "Uninstall");
    if (!box || GetParent(box) == nullptr) return;  // not up yet
    KillTimer(nullptr, timer);
    questionSeen = true;
    PostMessageA(box, WM_COMMAND, cancelAnswer, 0);
}

TEST_F(WizardTest, CancelCloseAskAndCancelOnlyOnYes) {
    struct Case {
        const char *context;
        UINT message;
        WPARAM wParam;
        int answer;
        int32_t cancelled;
    } cases[] = {
        {"Cancel answered No", WM_COMMAND, IDC_CANCEL_BUTTON, IDNO, 0},
        {"system menu Close answered No", WM_SYSCOMMAND, SC_CLOSE, IDNO, 0},
        {"Cancel answered Yes", WM_COMMAND, IDC_CANCEL_BUTTON, IDYES, 1},
        {"system menu Close answered Yes", WM_SYSCOMMAND, SC_CLOSE, IDYES, 1},
    };
    for (const Case &c : cases) {
        runState.cancelled = 0;
        Create();
        cancelAnswer = c.answer;
        questionSeen = false;
        UINT_PTR timer = SetTimer(nullptr, 0, 50, AnswerQuestion);
        SendMessageA(dialog, c.message, c.wParam, 0);
        // Close reaches the dialog as a posted Cancel command.
        MSG message;
        while (!questionSeen && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        KillTimer(nullptr, timer);
        EXPECT_TRUE(questionSeen) << c.context;
        EXPECT_EQ(runState.cancelled, c.cancelled) << c.context;
        EXPECT_EQ(IsWindowVisible(dialog) != 0, c.cancelled == 0) << c.context << ": Yes hides the wizard";
        EXPECT_EQ(wizardState.page, PAGE_METHOD) << c.context;
        DestroyWindow(dialog);
        dialog = nullptr;
    }
}

// Timer callback standing in for the user: presses Finish once the loop is waiting.
VOID CALLBACK PressFinish(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    PostMessageA(runState.wizardWindow, WM_COMMAND, IDC_NEXT, 0);
}

ULONGLONG ThreadCpuTime() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto value = [](FILETIME t) { return (ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return value(kernel) + value(user);
}

TEST_F(WizardTest, LoopEndsOnFinishAndSleepsWhileWaiting) {
    wizardState.method = METHOD_AUTOMATIC;
    wizardState.page = PAGE_FINISH;
    Create();
    ASSERT_NE(SetTimer(nullptr, 0, 500, PressFinish), 0u);
    ULONGLONG before = ThreadCpuTime();
    RunWizardLoop();
    ULONGLONG used = ThreadCpuTime() - before;  // 100 ns units
    EXPECT_EQ(runState.finished, 1);
    // A loop that polled an empty queue would burn the whole half second.
    EXPECT_LT(used, 1000000u) << "processor time while waiting: " << used / 10000 << " ms";
}

TEST_F(WizardTest, AutomaticRunOpensOnFinishAndDoesNotWait) {
    RunWizard(true);  // returns at once: no loop waits for the user
    dialog = runState.wizardWindow;
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(wizardState.page, PAGE_FINISH);
    EXPECT_EQ(wizardState.method, METHOD_AUTOMATIC);
    EXPECT_EQ(runState.finished, 0);
    EXPECT_FALSE(Shown(dialog, IDC_NEXT));
    EXPECT_FALSE(Shown(dialog, IDC_BACK));
    EXPECT_EQ(ItemText(dialog, IDC_PAGE_TITLE), "Perform Uninstall");
    EXPECT_FALSE(IsWindowEnabled(runState.mainWindow)) << "the background window is disabled under the wizard";
}

TEST_F(WizardTest, WizardThatCannotBeMadeCancelsTheRun) {
    runState.instance = GetModuleHandleA("kernel32.dll");  // a module without dialog 106
    RunWizard(false);  // must not wait for a wizard that does not exist
    EXPECT_EQ(runState.wizardWindow, nullptr);
    EXPECT_EQ(runState.cancelled, 1) << "nobody chose, so nothing may be uninstalled";
    EXPECT_FALSE(IsWindowEnabled(runState.mainWindow));
}

TEST_F(WizardTest, SilentRunMakesNoWizard) {
    runState.silent = 1;
    RunWizard(true);
    EXPECT_EQ(runState.wizardWindow, nullptr);
    EXPECT_EQ(wizardState.page, PAGE_FINISH);
    EXPECT_EQ(wizardState.method, METHOD_AUTOMATIC);
    EXPECT_TRUE(IsWindowEnabled(runState.mainWindow)) << "a silent run leaves the background window alone";
}

}  // namespace

namespace {

TEST(SidePicture, IsA16ColourPictureOf122By262) {
    HBITMAP picture = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(BMP_SIDE_PICTURE));
    ASSERT_NE(picture, nullptr) << "bitmap 106 missing, error " << GetLastError();
    BITMAP info;
    ASSERT_NE(GetObjectA(picture, sizeof info, &info), 0);
    EXPECT_EQ(info.bmWidth, 122);
    EXPECT_EQ(info.bmHeight, 262);
    DeleteObject(picture);

    HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(BMP_SIDE_PICTURE), MAKEINTRESOURCEA(2));  // RT_BITMAP
    ASSERT_NE(resource, nullptr);
    auto *header = static_cast<const BITMAPINFOHEADER *>(LockResource(LoadResource(nullptr, resource)));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->biBitCount, 4) << "16 colours";
}

}  // namespace

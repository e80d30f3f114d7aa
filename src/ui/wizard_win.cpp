#include "ui/wizard.h"

#include <cstring>

#include "log/model.h"
#include "shell/pump.h"
#include "shell/runstate.h"
#include "shell/settings.h"
#include "shell/text.h"
#include "ui/dialog_ids.h"
#include "ui/pages.h"
#include "ui/widen.h"

HBITMAP sidePicture;
RECT progressBar;

namespace {

// Where the side picture sits in the dialog, in pixels.
constexpr int SIDE_PICTURE_X = 12;
constexpr int SIDE_PICTURE_Y = 12;
constexpr int SIDE_PICTURE_WIDTH = 122;
constexpr int SIDE_PICTURE_HEIGHT = 262;

// FetchText - a message text through the message lookup, so the settings file can replace it.
void FetchText(int id, char *text, size_t size) { LoadMessageText(runState.instance, id, text, size); }

void SetItemText(int id, int messageId, size_t size) {
    char text[PAGE_TEXT_SIZE];
    FetchText(messageId, text, size < sizeof text ? size : sizeof text);
    SetDlgItemTextA(runState.wizardWindow, id, text);
}

// A text with the product title in place of its "%s".
void SetItemTitledText(int id, int messageId) {
    char pattern[PAGE_TEXT_SIZE];
    char text[PAGE_TEXT_SIZE];
    FetchText(messageId, pattern, sizeof pattern);
    ExpandTitle(text, sizeof text, pattern, logHeader.productTitle ? logHeader.productTitle : "");
    SetDlgItemTextA(runState.wizardWindow, id, text);
}

void SetChoices(int firstLabelId, int secondLabelId, bool firstChecked) {
    HWND dialog = runState.wizardWindow;
    SetItemText(IDC_FIRST_CHOICE, firstLabelId, LIST_TEXT_SIZE);
    SetItemText(IDC_SECOND_CHOICE, secondLabelId, LIST_TEXT_SIZE);
    SendDlgItemMessageA(dialog, IDC_FIRST_CHOICE, BM_SETCHECK, firstChecked ? BST_CHECKED : BST_UNCHECKED, 0);
    SendDlgItemMessageA(dialog, IDC_SECOND_CHOICE, BM_SETCHECK, firstChecked ? BST_UNCHECKED : BST_CHECKED, 0);
}

// The texts and choices of the method, finish and rollback pages.
void ShowFixedPageTexts(uint8_t page) {
    PageTexts texts = PageTextsOf(page);
    if (texts.firstChoiceId)
        SetChoices(texts.firstChoiceId, texts.secondChoiceId,
                   FirstChoiceChecked(page, wizardState.method, runState.rollback));
    if (page == PAGE_ROLLBACK) SetItemText(IDC_DESCRIPTION, texts.descriptionId, PAGE_TEXT_SIZE);
    else SetItemTitledText(IDC_DESCRIPTION, texts.descriptionId);
    SetItemText(IDC_SECOND_TEXT, texts.secondTextId, PAGE_TEXT_SIZE);
    SetItemText(IDC_PAGE_TITLE, texts.titleId, PAGE_TEXT_SIZE);
}

// Fills the list box with the entries of a list page, widest entry deciding the scroll range.
void FillItemList(uint8_t page) {
    HWND dialog = runState.wizardWindow;
    HWND list = GetDlgItem(dialog, IDC_ITEM_LIST);
    PageTexts texts = PageTextsOf(page);
    wizardState.pageEntryCount = PageEntryCountOf(page);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    SetItemText(IDC_DESCRIPTION, texts.descriptionId, LIST_TEXT_SIZE);
    SetItemText(IDC_PAGE_TITLE, texts.titleId, LIST_TEXT_SIZE);
    LONG widest = 0;
    // Measured with the dialog's default font, not the list box's.
    HDC dc = GetDC(dialog);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    for (int32_t i = 0; i < wizardState.pageEntryCount; i++) {
        char text[ENTRY_TEXT_SIZE];
        BuildEntryText(page, i, text, sizeof text);
        SIZE extent;
        if (GetTextExtentPointA(dc, text, static_cast<int>(strlen(text)), &extent) && extent.cx > widest)
            widest = extent.cx;
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        const int32_t *selected = EntrySelection(page, i);
        if (selected && *selected) SendMessageA(list, LB_SETSEL, TRUE, i);
    }
    ReleaseDC(dialog, dc);
    SendMessageA(list, LB_SETHORIZONTALEXTENT, widest, 0);
    SendMessageA(list, LB_SETTOPINDEX, 0, 0);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, FALSE);
}

bool IsChecked(int id) {
    return SendDlgItemMessageA(runState.wizardWindow, id, BM_GETCHECK, 0, 0) != 0;
}

void ShowCentred(HWND dialog) {
    RECT rect;
    GetWindowRect(dialog, &rect);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    MoveWindow(dialog, CentredOrigin(runState.screenWidth, width), CentredOrigin(runState.screenHeight, height),
               width, height, FALSE);
}

// The bar of the progress display lies inside the progress frame, which itself stays hidden.
void TakeProgressBar(HWND dialog) {
    HWND frame = GetDlgItem(dialog, IDC_PROGRESS_FRAME);
    ShowWindow(frame, SW_HIDE);
    GetWindowRect(frame, &progressBar);
    InflateRect(&progressBar, -1, -1);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT *>(&progressBar), 2);
}

BOOL InitWizard(HWND dialog) {
    WidenDialog(dialog);
    SendDlgItemMessageA(dialog, IDC_PAGE_TITLE, WM_SETFONT, reinterpret_cast<WPARAM>(runState.titleFont), FALSE);
    runState.wizardWindow = dialog;  // the text setters below address the wizard through it
    SetItemText(IDC_BACK, MSG_BACK, LIST_TEXT_SIZE);
    SetItemText(IDC_CANCEL_BUTTON, MSG_CANCEL, LIST_TEXT_SIZE);
    SetItemText(IDC_SELECT_ALL, MSG_SELECT_ALL, LIST_TEXT_SIZE);
    SetItemText(IDC_SELECT_NONE, MSG_SELECT_NONE, LIST_TEXT_SIZE);
    char caption[256] = "";
    if (runState.mainWindow) GetWindowTextA(runState.mainWindow, caption, sizeof caption);
    SetWindowTextA(dialog, caption);
    ShowCentred(dialog);
    if (wizardState.page == PAGE_FINISH) {
        ShowWindow(GetDlgItem(dialog, IDC_NEXT), SW_HIDE);
        ShowWindow(GetDlgItem(dialog, IDC_BACK), SW_HIDE);
    }
    ShowPage();
    TakeProgressBar(dialog);
    return TRUE;
}

// Asks the cancel question; Yes cancels the run and hides the wizard.
void AskCancel(HWND dialog) {
    char question[LIST_TEXT_SIZE];
    char caption[LIST_TEXT_SIZE];
    FetchText(MSG_CANCEL_QUESTION, question, sizeof question);
    FetchText(MSG_UNINSTALL, caption, sizeof caption);
    if (MessageBoxA(dialog, question, caption, MB_YESNO) != IDYES) return;
    runState.cancelled = 1;
    EndDialog(dialog, IDC_CANCEL_BUTTON);
}

void StepAndShow(bool forward) {
    CollectSelections();
    StepPage(forward);
    ShowPage();
}

// Only button clicks act: the whole wParam is compared, so notifications carry another value.
BOOL WizardCommand(HWND dialog, WPARAM command) {
    switch (command) {
    case IDC_NEXT:
        if (wizardState.page == PAGE_FINISH) runState.finished = 1;
        else StepAndShow(true);
        return FALSE;
    case IDC_BACK:
        StepAndShow(false);
        return FALSE;
    case IDC_CANCEL_BUTTON:
        AskCancel(dialog);
        return TRUE;
    case IDC_SELECT_ALL:
        SendDlgItemMessageA(dialog, IDC_ITEM_LIST, LB_SETSEL, TRUE, -1);
        return FALSE;
    case IDC_SELECT_NONE:
        SendDlgItemMessageA(dialog, IDC_ITEM_LIST, LB_SETSEL, FALSE, -1);
        return FALSE;
    default:
        return FALSE;
    }
}

void PaintSidePicture(HDC dc) {
    if (!sidePicture) return;
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(memory, sidePicture);
    BitBlt(dc, SIDE_PICTURE_X, SIDE_PICTURE_Y, SIDE_PICTURE_WIDTH, SIDE_PICTURE_HEIGHT, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
}

void PaintWizard(HWND dialog) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog, &paint);
    PaintSidePicture(dc);
    EndPaint(dialog, &paint);
}

}  // namespace

INT_PTR CALLBACK ItemDlg(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return InitWizard(dialog);
    case WM_COMMAND:
        return WizardCommand(dialog, wParam);
    case WM_PAINT:
        PaintWizard(dialog);
        return FALSE;
    default:
        return FALSE;
    }
}

void SetControlShown(int id, bool on) {
    HWND control = GetDlgItem(runState.wizardWindow, id);
    EnableWindow(control, on);
    ShowWindow(control, on ? SW_SHOWNORMAL : SW_HIDE);
}

void CollectSelections() {
    uint8_t page = wizardState.page;
    if (page == PAGE_METHOD) {
        wizardState.method = IsChecked(IDC_FIRST_CHOICE) ? METHOD_AUTOMATIC : METHOD_CUSTOM;
    } else if (page == PAGE_ROLLBACK) {
        runState.rollback = IsChecked(IDC_FIRST_CHOICE) ? 1 : 0;
    } else if (IsListPage(page)) {
        for (int32_t i = 0; i < wizardState.pageEntryCount; i++) {
            int32_t *selected = EntrySelection(page, i);
            if (selected)
                *selected = static_cast<int32_t>(
                    SendDlgItemMessageA(runState.wizardWindow, IDC_ITEM_LIST, LB_GETSEL, i, 0));
        }
    }
}

void ShowPage() {
    uint8_t page = wizardState.page;
    SetItemText(IDC_NEXT, NextButtonTextOf(page), PAGE_TEXT_SIZE);
    PageLayout layout = PageLayoutOf(page);
    SetControlShown(IDC_ITEM_LIST, layout.listShown);
    SetControlShown(IDC_SELECT_ALL, layout.listShown);
    SetControlShown(IDC_SELECT_NONE, layout.listShown);
    SetControlShown(IDC_FIRST_CHOICE, layout.choicesShown);
    SetControlShown(IDC_SECOND_CHOICE, layout.choicesShown);
    SetControlShown(IDC_SECOND_TEXT, layout.secondTextShown);
    if (!IsListPage(page)) ShowFixedPageTexts(page);
    EnableWindow(GetDlgItem(runState.wizardWindow, IDC_BACK), layout.backEnabled);
    if (IsListPage(page)) FillItemList(page);
    SetFocus(GetDlgItem(runState.wizardWindow, IDC_NEXT));
}

// The wizard runs until the user finishes or cancels.
static bool WizardRunning() { return !runState.cancelled && !runState.finished; }

// The wizard's keyboard messages (tab, default button, mnemonics) go to the dialog.
static bool WizardDialogMessage(MSG *message) { return IsDialogMessageA(runState.wizardWindow, message) != 0; }

void RunWizardLoop() { PumpMessagesWhile(WizardRunning, WizardDialogMessage); }

void RunWizard(bool automaticStart) {
    if (automaticStart) {
        wizardState.method = METHOD_AUTOMATIC;
        wizardState.page = PAGE_FINISH;
    }
    if (runState.silent) return;
    EnableWindow(runState.mainWindow, FALSE);  // stays disabled for the rest of the run
    runState.wizardWindow =
        CreateDialogParamA(runState.instance, MAKEINTRESOURCEA(DLG_WIZARD), runState.mainWindow, ItemDlg, 0);
    if (automaticStart) return;
    // Without a wizard the user cannot choose: never go on to uninstall on their behalf.
    if (!runState.wizardWindow) {
        runState.cancelled = 1;
        return;
    }
    RunWizardLoop();
}

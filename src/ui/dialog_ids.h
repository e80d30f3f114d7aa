// Dialog, control and bitmap ids shared by the resource scripts, the dialog code and the tests.
// Plain #defines so that the resource compiler can read this file too.
#pragma once

// Dialog templates and the side picture.
#define DLG_WIZARD 106
#define DLG_SHARED_FILE 104
#define BMP_SIDE_PICTURE 106

// Wizard dialog controls.
#define IDC_NEXT 1            // Next / Finish, the default button
#define IDC_CANCEL_BUTTON 2   // Cancel; Esc and the system menu's Close send the same id
#define IDC_SELECT_ALL 3
#define IDC_SELECT_NONE 4
#define IDC_BACK 5
#define IDC_FIRST_CHOICE 1000   // Automatic on the method page, Yes on the rollback page
#define IDC_SECOND_CHOICE 1001  // Custom on the method page, No on the rollback page
#define IDC_DESCRIPTION 1002
#define IDC_ITEM_LIST 1003
#define IDC_SECOND_TEXT 1004  // also the status line during the uninstall
#define IDC_PAGE_TITLE 1005
#define IDC_PROGRESS_FRAME 3830
#define IDC_SEPARATOR 65535

// Shared-file prompt controls (the prompt text is IDC_DESCRIPTION, No to All is IDC_NEXT).
#define IDC_SHARED_YES 1005
#define IDC_SHARED_NO 1006

// The wizard dialog: its procedure, the page display and the loop that runs it.
#pragma once
#include <windows.h>

// The side picture on the wizard's left, bitmap 106; the start-up loads it and the end of run
// deletes it. Null when it could not be loaded: the dialog then shows none.
extern HBITMAP sidePicture;

// The bar rectangle of the progress display in the wizard's client pixels: the progress frame
// shrunk by one pixel on every side, taken when the dialog is initialised.
extern RECT progressBar;

// ItemDlg - the wizard dialog's procedure.
INT_PTR CALLBACK ItemDlg(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// CollectSelections - copies the current page's controls into the wizard state or the records.
void CollectSelections();

// ShowPage - shows the current page: texts, controls, choices and the list entries.
void ShowPage();

// SetControlShown - enables and shows, or disables and hides, a control of the wizard.
void SetControlShown(int id, bool on);

// RunWizard - the wizard part of a run: an automatic start opens on the finish page; unless the
// run is silent, the background window is disabled and the wizard created, and unless the start
// is automatic, the wizard runs until the user finishes or cancels.
void RunWizard(bool automaticStart);

// RunWizardLoop - dispatches messages, offering each to the wizard first, until the user finishes
// or cancels; waits without using the processor while the queue is empty.
void RunWizardLoop();

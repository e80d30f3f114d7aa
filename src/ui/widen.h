// Dialog widening: every dialog of the program is made a sixth wider than its template and its
// controls get a lighter variant of the dialog font in the configured character set.
#pragma once
#include <windows.h>

// Ctl3dSubclassDlgEx of the optional 3-D control library; the start-up stores it when the library
// and the export exist, and leaves it null otherwise.
typedef BOOL(WINAPI *Ctl3dSubclassDlgExProc)(HWND dialog, DWORD flags);
extern Ctl3dSubclassDlgExProc ctl3dSubclassDlgEx;

// The 3-D library's flags for combo boxes (8), static texts (16) and static frames (32).
enum : DWORD { CTL3D_SUBCLASS_FLAGS = 56 };

// The derived dialog font: made by the first dialog whose font can be read, shared by every later
// dialog; the end of run deletes it.
extern HFONT dialogFont;

// WidenDialog - widens a dialog and its controls and gives the controls the derived dialog font.
// Called first in a dialog's WM_INITDIALOG.
void WidenDialog(HWND dialog);

// WidenChild - EnumChildWindows callback: widens one control and sets the font given as lParam.
BOOL CALLBACK WidenChild(HWND control, LPARAM font);

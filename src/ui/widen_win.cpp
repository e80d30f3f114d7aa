#include "ui/widen.h"

#include "shell/runstate.h"
#include "ui/pages.h"

Ctl3dSubclassDlgExProc ctl3dSubclassDlgEx;
HFONT dialogFont;

namespace {

// Lighter than the template's font, so the widened controls keep a light look.
constexpr LONG DIALOG_FONT_WEIGHT = 300;

// A font like the dialog's own, or null when the dialog's font cannot be read.
HFONT CreateDerivedFont(HWND dialog) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    LOGFONTA logFont;
    if (!font || GetObjectA(font, sizeof logFont, &logFont) == 0) return nullptr;
    logFont.lfCharSet = runState.fontCharSet;
    logFont.lfWeight = DIALOG_FONT_WEIGHT;
    return CreateFontIndirectA(&logFont);
}

}  // namespace

void WidenDialog(HWND dialog) {
    RECT rect;
    GetWindowRect(dialog, &rect);
    rect.left = WidenEdge(rect.left);
    rect.right = WidenEdge(rect.right);
    MoveWindow(dialog, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, FALSE);
    // Older shells have the library's automatic subclassing instead, switched on at start-up.
    if (runState.newShell && ctl3dSubclassDlgEx) ctl3dSubclassDlgEx(dialog, CTL3D_SUBCLASS_FLAGS);
    // A failure leaves the font empty; the next dialog tries again.
    if (!dialogFont) dialogFont = CreateDerivedFont(dialog);
    if (dialogFont) EnumChildWindows(dialog, WidenChild, reinterpret_cast<LPARAM>(dialogFont));
}

BOOL CALLBACK WidenChild(HWND control, LPARAM font) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT *>(&rect), 2);
    rect.left = WidenEdge(rect.left);
    rect.right = WidenEdge(rect.right);
    MoveWindow(control, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, FALSE);
    SendMessageA(control, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
    return TRUE;
}

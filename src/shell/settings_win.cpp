// The title font and the gradient palette: built once at start-up, before any window exists.
#include <cstring>

#include "shell/runstate.h"
#include "shell/settings.h"

namespace {

void CreateTitleFont(HDC screen) {
    char face[256];
    GetPrivateProfileStringA("Settings", "Title Font", "Times New Roman", face, sizeof face, runState.settingsPath);
    runState.fontCharSet =
        static_cast<BYTE>(GetPrivateProfileIntA("Settings", "Font Character Set", 0, runState.settingsPath) & 0xff);
    int height = -MulDiv(16, GetDeviceCaps(screen, LOGPIXELSY), 72);  // 16 points
    // A failed font is not reported: its users simply do without it.
    runState.titleFont = CreateFontA(height, 0, 0, 0, FW_BOLD, TRUE, FALSE, FALSE, runState.fontCharSet, 0, 0, 0,
                                     FF_ROMAN | DEFAULT_PITCH, face);
}

// The 96 band colours as a logical palette, realized on the screen.
void CreateGradientPalette(HDC screen) {
    const size_t bytes = sizeof(LOGPALETTE) + (GRADIENT_BANDS - 1) * sizeof(PALETTEENTRY);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    LOGPALETTE *palette = memory ? static_cast<LOGPALETTE *>(GlobalLock(memory)) : nullptr;
    if (!palette) {
        if (memory) GlobalFree(memory);
        return;
    }
    palette->palVersion = 0x300;
    palette->palNumEntries = GRADIENT_BANDS;
    for (int i = 0; i < GRADIENT_BANDS; i++) {
        BandRgb colour = BandColour(runState.startColour, runState.colourDelta, i);
        palette->palPalEntry[i] = {static_cast<BYTE>(colour.r), static_cast<BYTE>(colour.g),
                                   static_cast<BYTE>(colour.b), 0};
    }
    HPALETTE created = CreatePalette(palette);
    GlobalUnlock(memory);
    GlobalFree(memory);
    HPALETTE previous = runState.gradientPalette;
    runState.gradientPalette = created;
    if (!created) return;
    SelectPalette(screen, created, FALSE);
    if (previous) DeleteObject(previous);
    RealizePalette(screen);
}

}  // namespace

void CreateTitleFontAndPalette() {
    HDC screen = GetDC(runState.mainWindow);  // no window yet: the screen's context
    CreateTitleFont(screen);
    runState.screenWidth = GetDeviceCaps(screen, HORZRES);
    runState.screenHeight = GetDeviceCaps(screen, VERTRES);
    short depth = static_cast<short>(GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES));
    if (depth >= 8) CreateGradientPalette(screen);
    ReleaseDC(runState.mainWindow, screen);
}

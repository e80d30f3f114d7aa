#include "shell/settings.h"

#include <cstring>

#include "shell/runstate.h"
#include "shell/text.h"

namespace {

constexpr char kDel = '\x7f';  // the default that marks a missing text
constexpr const char *kSettings = "Settings";

int32_t ReadSetting(const char *key, int defaultValue) {
    return static_cast<int32_t>(GetPrivateProfileIntA(kSettings, key, defaultValue, runState.settingsPath));
}

// end - start, held within 32 bits even for absurd settings (the band rule clamps anyway).
int32_t Difference(int32_t end, int32_t start) {
    int64_t delta = static_cast<int64_t>(end) - start;
    if (delta > INT32_MAX) return INT32_MAX;
    if (delta < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(delta);
}

int Channel(int32_t start, int32_t delta, int band) {
    // 64-bit so that extreme settings cannot overflow; the result equals the 32-bit rule otherwise.
    int64_t value = start + static_cast<int64_t>(delta) * band / (GRADIENT_BANDS - 1);
    if (value < 0) return 0;
    if (value > 255) return 255;
    return static_cast<int>(value);
}

}  // namespace

void ExpandLineBreaks(char *buffer, size_t size) {
    if (!buffer || size == 0) return;
    size_t limit = size - 1;
    size_t length = strnlen(buffer, size);
    if (length > limit) length = limit;
    for (size_t i = 0; i < length; i++) {
        if (buffer[i] != '|') continue;
        if (i + 2 > limit) {  // no room for the whole line break: the text ends before it
            length = i;
            break;
        }
        size_t after = length - (i + 1);
        size_t kept = after < limit - (i + 2) ? after : limit - (i + 2);
        memmove(buffer + i + 2, buffer + i + 1, kept);
        buffer[i] = '\r';
        buffer[i + 1] = '\n';
        length = i + 2 + kept;
        i++;
    }
    buffer[length] = '\0';
}

void LoadMessageText(HINSTANCE instance, int id, char *buffer, size_t size) {
    if (!buffer || size == 0) return;
    buffer[0] = '\0';
    int limit = size > 0x7fffffff ? 0x7fffffff : static_cast<int>(size);
    char key[16];
    FormatText(key, sizeof key, "Msg%d", id);
    const char defaultText[] = {kDel, '\0'};
    DWORD length = 0;
    if (runState.settingsPath)
        length = GetPrivateProfileStringA("Language", key, defaultText, buffer, static_cast<DWORD>(limit),
                                          runState.settingsPath);
    else
        CopyText(buffer, size, defaultText);  // no settings file known: every text is built in
    if (!runState.settingsPath || (buffer[0] == kDel && length == 1)) {
        // An id without a built-in text gives an empty text, never the DEL mark left in the buffer.
        if (LoadStringA(instance, static_cast<UINT>(id), buffer, limit) == 0) buffer[0] = '\0';
        return;
    }
    ExpandLineBreaks(buffer, size);
}

void ReadGradientSettings() {
    int32_t start[3] = {ReadSetting("Start Red", 0), ReadSetting("Start Green", 0), ReadSetting("Start Blue", 255)};
    int32_t end[3] = {ReadSetting("End Red", 0), ReadSetting("End Green", 0), ReadSetting("End Blue", 0)};
    for (int c = 0; c < 3; c++) {
        runState.startColour[c] = start[c];
        runState.colourDelta[c] = Difference(end[c], start[c]);
    }
    runState.noBackground = ReadSetting("No Background", 0);
}

BandRgb BandColour(const int32_t start[3], const int32_t delta[3], int band) {
    return {Channel(start[0], delta[0], band), Channel(start[1], delta[1], band), Channel(start[2], delta[2], band)};
}

int32_t BandBottom(int band, int32_t height) {
    return static_cast<int32_t>(static_cast<int64_t>(band + 1) * height / GRADIENT_BANDS);
}

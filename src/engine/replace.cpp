#include "engine/replace.h"

#include <cstring>

#include "engine/paths.h"
#include "shell/text.h"

// One counter for the whole run, so that consecutive replacements never reuse a number.
static uint16_t replacementCounter;

uint16_t ReplacementCounter() { return replacementCounter; }
void SetReplacementCounter(uint16_t value) { replacementCounter = value; }

bool MakeReplacementNameWith(char *buffer, size_t size, const char *target, bool (*exists)(const char *)) {
    size_t directoryLength = static_cast<size_t>(FileNamePart(target) - target);
    // Every name of the form is tried at most once: a directory full of them ends the search.
    for (uint32_t tries = 0; tries <= 0xFFFF; tries++) {
        char name[16];
        FormatText(name, sizeof name, "~QXU%04x.TMP", replacementCounter);
        replacementCounter++;
        if (size == 0 || !CopyText(buffer, size, std::string_view(target, directoryLength))) return false;
        if (!AppendText(buffer, size, name)) return false;
        if (!exists(buffer)) return true;
    }
    return false;
}

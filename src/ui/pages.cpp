#include "ui/pages.h"

#include <cstring>
#include <string_view>

#include "log/model.h"
#include "shell/text.h"

WizardState wizardState;

namespace {

// A changed registry value shows at most this much of its old value after a value name.
constexpr int VALUE_SHOWN_AFTER_NAME = 255;

// Title and description message ids of list pages 1 to 10 (index 0 unused). The sub-systems page
// has them the other way round from the rest.
constexpr int listTitleIds[11] = {0, 5, 8, 11, 14, 17, 20, 54, 23, 26, 42};
constexpr int listDescriptionIds[11] = {0, 6, 9, 12, 15, 18, 21, 55, 24, 27, 41};

// Where an entry of the sub-systems page comes from.
enum class SubSystemSource { none, subSystemEntry, program, service };

struct SubSystemSlot {
    SubSystemSource source;
    int32_t index;  // record index within its list
};

// The sub-systems page lists the sub-system's name (when there is one), then the programs, then
// the services.
SubSystemSlot SubSystemSlotOf(int32_t entry) {
    int32_t offset = subSystem.name ? 1 : 0;
    if (entry < 0) return {SubSystemSource::none, 0};
    if (entry < offset) return {SubSystemSource::subSystemEntry, 0};
    entry -= offset;
    if (entry < ProgramList.count) return {SubSystemSource::program, entry};
    entry -= ProgramList.count;
    if (entry < ServiceList.count) return {SubSystemSource::service, entry};
    return {SubSystemSource::none, 0};
}

template <typename Item> Item *RecordAt(const ItemList<Item> &list, int32_t index) {
    if (!list.items || index < 0 || index >= list.count) return nullptr;
    return list.items[index];
}

// The first string of a list of strings held in a field, never read past the field.
std::string_view FirstString(const char *field, size_t size) {
    return std::string_view(field, strnlen(field, size));
}

void DirectoryEntryText(const DirectoryItem &item, char *text, size_t size) {
    std::string_view path = FirstString(item.path, sizeof item.path);
    if (!path.empty()) path.remove_suffix(1);  // the trailing backslash is not shown
    CopyText(text, size, path);
}

void RegKeyEntryText(const RegKeyItem &item, char *text, size_t size) {
    if (item.valueName[0] == '\0') {
        CopyText(text, size, item.key);
        return;
    }
    FormatText(text, size, "%s Value Name: %s", item.key, item.valueName);
}

void RegEditEntryText(const RegEditItem &item, char *text, size_t size) {
    std::string_view value = FirstString(item.oldValue, sizeof item.oldValue);
    if (item.valueName[0] == '\0') {
        FormatText(text, size, "%s=%.*s", item.key, static_cast<int>(value.size()), value.data());
        return;
    }
    if (value.size() > VALUE_SHOWN_AFTER_NAME) value.remove_suffix(value.size() - VALUE_SHOWN_AFTER_NAME);
    FormatText(text, size, "%s Value Name: %s=%.*s", item.key, item.valueName, static_cast<int>(value.size()),
               value.data());
}

void SubSystemEntryText(int32_t index, char *text, size_t size) {
    SubSystemSlot slot = SubSystemSlotOf(index);
    switch (slot.source) {
    case SubSystemSource::subSystemEntry:
        CopyText(text, size, subSystem.name);
        return;
    case SubSystemSource::program: {
        const ProgramItem &item = *ProgramList.items[slot.index];
        CopyText(text, size, item.name[0] != '\0' ? item.name : item.program);
        return;
    }
    case SubSystemSource::service:
        CopyText(text, size, ServiceList.items[slot.index]->name);
        return;
    case SubSystemSource::none:
        break;
    }
}

}  // namespace

uint8_t NextPageOf(uint8_t page, int32_t method, bool forward, bool backupsPresent, const bool filled[11]) {
    if (method == METHOD_AUTOMATIC) {
        uint8_t end = forward ? PAGE_FINISH : PAGE_METHOD;
        if (page == end) return end;
        if (page == PAGE_ROLLBACK) return end;
        return backupsPresent ? uint8_t(PAGE_ROLLBACK) : end;
    }
    for (;;) {
        page = static_cast<uint8_t>(forward ? page + 1 : page - 1);
        if (page == PAGE_METHOD) return page;
        if (page > PAGE_SUB_SYSTEMS) return PAGE_FINISH;
        if (filled[page]) return page;
    }
}

int32_t PageEntryCountOf(uint8_t page) {
    switch (page) {
    case 1: return PrivateFileList.count;
    case 2: return SystemFileList.count;
    case 3: return DirectoryList.count;
    case 4: return IniFileList.count;
    case 5: return IniEditList.count;
    case 6: return RegKeyList.count;
    case 7: return RegTreeList.count;
    case 8: return RegEditList.count;
    case 9: return IconList.count;
    case PAGE_SUB_SYSTEMS: return (subSystem.name ? 1 : 0) + ProgramList.count + ServiceList.count;
    default: return 0;
    }
}

void StepPage(bool forward) {
    bool filled[11] = {};
    for (uint8_t page = PAGE_FIRST_LIST; page <= PAGE_SUB_SYSTEMS; page++) filled[page] = PageEntryCountOf(page) > 0;
    wizardState.page =
        NextPageOf(wizardState.page, wizardState.method, forward, readerResults.backupsPresent != 0, filled);
}

void BuildEntryText(uint8_t page, int32_t index, char *text, size_t size) {
    CopyText(text, size, "");  // no such entry: an empty text
    switch (page) {
    case 1:
        if (auto *item = RecordAt(PrivateFileList, index)) CopyText(text, size, item->path);
        break;
    case 2:
        if (auto *item = RecordAt(SystemFileList, index)) CopyText(text, size, item->path);
        break;
    case 3:
        if (auto *item = RecordAt(DirectoryList, index)) DirectoryEntryText(*item, text, size);
        break;
    case 4:
        if (auto *item = RecordAt(IniFileList, index)) CopyText(text, size, item->path);
        break;
    case 5:
        if (auto *item = RecordAt(IniEditList, index))
            FormatText(text, size, "%s: [%s] %s=%s", item->file, item->section, item->key, item->oldValue);
        break;
    case 6:
        if (auto *item = RecordAt(RegKeyList, index)) RegKeyEntryText(*item, text, size);
        break;
    case 7:
        if (auto *item = RecordAt(RegTreeList, index)) CopyText(text, size, item->key);
        break;
    case 8:
        if (auto *item = RecordAt(RegEditList, index)) RegEditEntryText(*item, text, size);
        break;
    case 9:
        if (auto *item = RecordAt(IconList, index)) CopyText(text, size, item->name);
        break;
    case PAGE_SUB_SYSTEMS:
        SubSystemEntryText(index, text, size);
        break;
    default:
        break;
    }
}

int32_t *EntrySelection(uint8_t page, int32_t index) {
    switch (page) {
    case 1: if (auto *item = RecordAt(PrivateFileList, index)) return &item->selected; break;
    case 2: if (auto *item = RecordAt(SystemFileList, index)) return &item->selected; break;
    case 3: if (auto *item = RecordAt(DirectoryList, index)) return &item->selected; break;
    case 4: if (auto *item = RecordAt(IniFileList, index)) return &item->selected; break;
    case 5: if (auto *item = RecordAt(IniEditList, index)) return &item->selected; break;
    case 6: if (auto *item = RecordAt(RegKeyList, index)) return &item->selected; break;
    case 7: if (auto *item = RecordAt(RegTreeList, index)) return &item->selected; break;
    case 8: if (auto *item = RecordAt(RegEditList, index)) return &item->selected; break;
    case 9: if (auto *item = RecordAt(IconList, index)) return &item->selected; break;
    case PAGE_SUB_SYSTEMS: {
        SubSystemSlot slot = SubSystemSlotOf(index);
        if (slot.source == SubSystemSource::subSystemEntry) return &subSystem.selected;
        if (slot.source == SubSystemSource::program) return &ProgramList.items[slot.index]->selected;
        if (slot.source == SubSystemSource::service) return &ServiceList.items[slot.index]->selected;
        break;
    }
    default: break;
    }
    return nullptr;
}

PageTexts PageTextsOf(uint8_t page) {
    if (IsListPage(page)) return {listTitleIds[page], listDescriptionIds[page], 0, 0, 0};
    switch (page) {
    case PAGE_METHOD: return {16, 7, 10, 60, 61};
    case PAGE_FINISH: return {19, 13, 22, 0, 0};
    case PAGE_ROLLBACK: return {64, 65, 66, 51, 52};
    default: return {0, 0, 0, 0, 0};
    }
}

int NextButtonTextOf(uint8_t page) { return page == PAGE_FINISH ? 63 : 46; }

PageLayout PageLayoutOf(uint8_t page) {
    if (IsListPage(page)) return {true, false, false, true};
    if (page == PAGE_FINISH) return {false, false, true, true};
    return {false, true, true, page != PAGE_METHOD};
}

bool FirstChoiceChecked(uint8_t page, int32_t method, int32_t rollback) {
    if (page == PAGE_ROLLBACK) return rollback != 0;
    return method != METHOD_CUSTOM;
}

void ExpandTitle(char *text, size_t size, const char *pattern, const char *title) {
    if (size == 0) return;
    text[0] = '\0';
    std::string_view rest(pattern);
    while (!rest.empty()) {
        size_t percent = rest.find('%');
        if (percent == std::string_view::npos || percent + 1 >= rest.size()) {
            AppendText(text, size, rest);
            return;
        }
        // Views made directly rather than with substr, which would bring exception code along.
        AppendText(text, size, std::string_view(rest.data(), percent));
        char kind = rest[percent + 1];
        if (kind == 's') AppendText(text, size, title);
        else if (kind == '%') AppendText(text, size, "%");
        else AppendText(text, size, std::string_view(rest.data() + percent, 2));
        rest.remove_prefix(percent + 2);
    }
}

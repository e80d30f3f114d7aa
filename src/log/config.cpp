// The install log's configuration records: INI files and entries, registry trees, keys and
// values, Program Manager icons, programs to run, services and the database sub-system.
#include <cstdlib>
#include <cstring>

#include "engine/paths.h"
#include "log/model.h"
#include "log/scan.h"
#include "shell/text.h"

namespace {
constexpr std::string_view kIniFile = "INI File: ";
constexpr std::string_view kIniSect = "INI Sect: ";
constexpr std::string_view kIniItem = "INI Item: ";
constexpr std::string_view kIniVal = "INI Val: ";
constexpr std::string_view kIniOld = "INI Old: ";
constexpr std::string_view kRegTree = "RegDB Tree: ";
constexpr std::string_view kRegKey = "RegDB Key: ";
constexpr std::string_view kRegVal = "RegDB Val: ";
constexpr std::string_view kRegName = "RegDB Name: ";
constexpr std::string_view kRegType = "RegDB Type: ";
constexpr std::string_view kRegRoot = "RegDB Root: ";
constexpr std::string_view kRegOld = "RegDB Old: ";
constexpr std::string_view kIconGroup = "Icon Group: ";
constexpr std::string_view kIconName = "Icon Name: ";
constexpr std::string_view kIconCmd = "Icon Cmd: ";
constexpr std::string_view kExecutePath = "Execute Path: ";
constexpr std::string_view kExecuteProgram = "Execute Program: ";
constexpr std::string_view kExecuteName = "Execute Name: ";
constexpr std::string_view kCreateService = "Create Service: ";
constexpr size_t kSubSystemValue = 11;  // "SubSystem: B": the B belongs to the value
}  // namespace

// ---------------------------------------------------------------------------------------------
// INI files and entries

// Leaves the line in the buffer to the main loop.
static void KeepForMainLoop(LogScan &scan) { scan.lookAhead = true; }

// The INI lines that describe a created file are not entries to restore: skip them up to the
// next line that is not an INI line, or that starts another INI record.
static void SkipCreatedIniLines(LogScan &scan) {
    for (;;) {
        NextLogLine(scan);
        if (!LineIs(scan, "INI ") || scan.line[4] == 'F' || scan.line[4] == 'N') break;
    }
    KeepForMainLoop(scan);
}

void ReadIniNewRecord(LogScan &scan) {
    NextLogLine(scan);
    if (!LineIs(scan, kIniFile)) return KeepForMainLoop(scan);
    char path[MAX_PATH];
    CopyText(path, ValueAt(scan, kIniFile.size()));
    ConvertIfOem(scan, path);
    if (!OnRemovableDrive(scan, path) && FileExists(path)) {
        IniFileItem *item = nullptr;
        for (int32_t i = 0; i < IniFileList.count && !item; i++) {
            if (EqualsNoCase(IniFileList.items[i]->path, path)) item = IniFileList.items[i];
        }
        if (!item && (item = AppendItem(IniFileList)) != nullptr) {
            CopyText(item->path, path);
        }
        if (item) item->index = CurrentSection();
    }
    SkipCreatedIniLines(scan);
}

// Reads the section, key, value and old value lines of a changed INI entry into item. Returns
// false when the entry is not to be kept; the line in the buffer is then a look-ahead line,
// except after an entry on a removable drive, whose next line goes with it.
static bool ReadIniEntry(LogScan &scan, IniEditItem &item) {
    NextLogLine(scan);
    if (OnRemovableDrive(scan, item.file)) return false;
    if (!LineIs(scan, kIniSect)) return KeepForMainLoop(scan), false;
    CopyText(item.section, ValueAt(scan, kIniSect.size()));
    NextLogLine(scan);
    if (!LineIs(scan, kIniItem)) return KeepForMainLoop(scan), false;
    CopyText(item.key, ValueAt(scan, kIniItem.size()));
    NextLogLine(scan);
    char present[256];
    GetPrivateProfileStringA(item.section, item.key, "", present, sizeof present, item.file);
    // An entry that no longer has a value is never offered.
    if (present[0] == '\0' || !LineIs(scan, kIniVal)) return KeepForMainLoop(scan), false;
    NextLogLine(scan);
    if (LineIs(scan, kIniOld)) {
        CopyText(item.oldValue, ValueAt(scan, kIniOld.size()));
    } else {
        KeepForMainLoop(scan);  // no old value: the entry did not exist before
    }
    CopyText(item.rollbackValue, item.oldValue);
    return true;
}

void ReadIniFileRecord(LogScan &scan) {
    static IniEditItem entry;  // 1.8 KB: kept off the stack
    entry = IniEditItem{};
    CopyText(entry.file, ValueAt(scan, kIniFile.size()));
    ConvertIfOem(scan, entry.file);
    entry.index = CurrentSection();
    if (!ReadIniEntry(scan, entry)) return;
    for (int32_t i = 0; i < IniEditList.count; i++) {
        IniEditItem *earlier = IniEditList.items[i];
        if (!EqualsNoCase(earlier->file, entry.file) || !EqualsNoCase(earlier->section, entry.section) ||
            !EqualsNoCase(earlier->key, entry.key))
            continue;
        // A repeat keeps the first old value; the rollback value and the index follow the latest
        // installation, so that a rollback of it restores the entry.
        CopyText(earlier->rollbackValue, entry.rollbackValue);
        earlier->index = entry.index;
        return;
    }
    if (IniEditItem *item = AppendItem(IniEditList)) *item = entry;
}

// ---------------------------------------------------------------------------------------------
// Registry

void ReadRegTreeRecord(LogScan &scan) {
    char key[256];
    CopyText(key, ValueAt(scan, kRegTree.size()));
    int32_t root = 0;
    NextLogLine(scan);
    if (LineIs(scan, kRegRoot)) {
        root = ReadDecimal(ValueAt(scan, kRegRoot.size()));
        NextLogLine(scan);
    }
    KeepForMainLoop(scan);
    for (int32_t i = 0; i < RegTreeList.count; i++) {
        RegTreeItem *item = RegTreeList.items[i];
        if (item->root == root && EqualsNoCase(item->key, key)) {
            item->index = CurrentSection();
            return;
        }
    }
    if (RegTreeItem *item = AppendItem(RegTreeList)) {
        CopyText(item->key, key);
        item->root = root;
        item->index = CurrentSection();
    }
}

// Appends one old-value string to a list of NUL-terminated strings, cutting it to what the field
// holds; the closing empty string always keeps its byte.
static void AppendOldValue(char (&list)[OLD_VALUE_SIZE], size_t &used, const char *value) {
    if (used + 2 > sizeof list) return;  // no room for a character and its terminator
    size_t room = sizeof list - used - 1;  // the last byte closes the list
    size_t n = strlen(value);
    if (n > room - 1) n = room - 1;
    memcpy(list + used, value, n);
    list[used + n] = '\0';
    used += n + 1;
}

static void ReadOldValues(LogScan &scan, RegEditItem &item) {
    size_t used = 0;
    while (LineIs(scan, kRegOld)) {
        AppendOldValue(item.oldValue, used, ValueAt(scan, kRegOld.size()));
        NextLogLine(scan);
    }
    item.oldValue[used] = '\0';
    KeepForMainLoop(scan);
    memcpy(item.rollbackValue, item.oldValue, sizeof item.rollbackValue);
}

static void StoreCreatedKey(const RegEditItem &found) {
    for (int32_t i = 0; i < RegKeyList.count; i++) {
        RegKeyItem *item = RegKeyList.items[i];
        if (item->root == found.root && EqualsNoCase(item->key, found.key) &&
            EqualsNoCase(item->valueName, found.valueName)) {
            item->index = found.index;
            return;
        }
    }
    if (RegKeyItem *item = AppendItem(RegKeyList)) {
        CopyText(item->key, found.key);
        CopyText(item->valueName, found.valueName);
        item->root = found.root;
        item->index = found.index;
    }
}

static void StoreChangedValue(const RegEditItem &found) {
    for (int32_t i = 0; i < RegEditList.count; i++) {
        RegEditItem *item = RegEditList.items[i];
        if (item->root == found.root && item->type == found.type && EqualsNoCase(item->key, found.key) &&
            EqualsNoCase(item->valueName, found.valueName)) {
            memcpy(item->rollbackValue, found.oldValue, sizeof item->rollbackValue);
            item->index = found.index;
            return;
        }
    }
    if (RegEditItem *item = AppendItem(RegEditList)) *item = found;
}

void ReadRegKeyRecord(LogScan &scan) {
    static RegEditItem found;  // 4.6 KB: kept off the stack
    found = RegEditItem{};
    CopyText(found.key, ValueAt(scan, kRegKey.size()));
    found.index = CurrentSection();
    NextLogLine(scan);
    if (!LineIs(scan, kRegVal)) return KeepForMainLoop(scan);
    NextLogLine(scan);
    // Name, type and root, each optional, only in this order.
    if (LineIs(scan, kRegName)) {
        CopyText(found.valueName, ValueAt(scan, kRegName.size()));
        NextLogLine(scan);
    }
    if (LineIs(scan, kRegType)) {
        found.type = ReadDecimal(ValueAt(scan, kRegType.size()));
        NextLogLine(scan);
    }
    if (LineIs(scan, kRegRoot)) {
        found.root = ReadDecimal(ValueAt(scan, kRegRoot.size()));
        NextLogLine(scan);
    }
    if (!LineIs(scan, kRegOld)) {
        KeepForMainLoop(scan);
        return StoreCreatedKey(found);  // no old value: the installation created it
    }
    ReadOldValues(scan, found);
    StoreChangedValue(found);
}

// ---------------------------------------------------------------------------------------------
// Icons, programs, services, sub-system

void ReadIconRecord(LogScan &scan) {
    char group[256];
    char name[256];
    CopyText(group, ValueAt(scan, kIconGroup.size()));
    NextLogLine(scan);
    if (!LineIs(scan, kIconName)) return KeepForMainLoop(scan);
    CopyText(name, ValueAt(scan, kIconName.size()));
    NextLogLine(scan);
    if (!LineIs(scan, kIconCmd)) return KeepForMainLoop(scan);
    const char *command = ValueAt(scan, kIconCmd.size());
    for (int32_t i = 0; i < IconList.count; i++) {
        IconItem *item = IconList.items[i];
        if (EqualsNoCase(item->group, group) && EqualsNoCase(item->name, name)) {
            CopyText(item->command, command);  // a repeat keeps the index of the first record
            return;
        }
    }
    if (IconItem *item = AppendItem(IconList)) {
        CopyText(item->group, group);
        CopyText(item->name, name);
        CopyText(item->command, command);
        item->index = CurrentSection();
    }
}

void ReadProgramRecord(LogScan &scan) {
    size_t keyword = scan.line[9] == 'r' ? kExecuteProgram.size() : kExecutePath.size();
    const char *command = ValueAt(scan, keyword);
    for (int32_t i = 0; i < ProgramList.count; i++) {
        ProgramItem *item = ProgramList.items[i];
        if (EqualsNoCase(item->program, command)) {
            item->index = CurrentSection();
            return;
        }
    }
    ProgramItem *item = AppendItem(ProgramList);
    if (item) {
        CopyText(item->program, command);
        item->index = CurrentSection();
    }
    NextLogLine(scan);
    if (LineIs(scan, kExecuteName)) {
        if (item) CopyText(item->name, ValueAt(scan, kExecuteName.size()));
    } else {
        KeepForMainLoop(scan);
    }
}

void ReadServiceRecord(LogScan &scan) {
    const char *name = ValueAt(scan, kCreateService.size());
    for (int32_t i = 0; i < ServiceList.count; i++) {
        if (EqualsNoCase(ServiceList.items[i]->name, name)) {
            ServiceList.items[i]->index = CurrentSection();
            return;
        }
    }
    if (ServiceItem *item = AppendItem(ServiceList)) {
        CopyText(item->name, name);
        item->index = CurrentSection();
    }
}

void ReadSubSystemRecord(LogScan &scan) {
    const char *name = ValueAt(scan, kSubSystemValue);
    size_t length = strlen(name);
    char *copy = static_cast<char *>(malloc(length + 1));
    if (!copy) return;  // out of memory: the earlier name stays
    memcpy(copy, name, length + 1);
    free(subSystem.name);
    subSystem.name = copy;
    subSystem.selected = 0;
}

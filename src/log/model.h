// The item model: everything the install log records, as twelve lists of fixed-size records.
#pragma once
#include <cstddef>
#include <cstdint>

enum : int32_t { ITEM_CAPACITY = 4096 };
enum : size_t { PRODUCT_TITLE_SIZE = 256, SYSTEM_DIRECTORY_SIZE = 260 };

// An installation index: the number of the log section that last recorded an aspect of an item.
typedef uint16_t InstallIndex;
enum : InstallIndex { OWN_DIRECTORY_INDEX = 32767 };

struct FileItem {
    char path[260];
    char backupPath[260];
    int32_t selected;
    int32_t removeByDefault;
    InstallIndex selfRegisterIndex;
    InstallIndex deviceIndex;
    InstallIndex copyIndex;
    InstallIndex backupIndex;
    InstallIndex sharedCountIndex;
};

struct EditedFileItem {
    char path[260];
    char backupPath[260];
    InstallIndex index;
};

struct DirectoryItem {
    char path[260];  // always ends with a backslash
    int32_t selected;
    InstallIndex treeIndex;
    InstallIndex index;
};

struct IniFileItem {
    char path[260];
    int32_t selected;
    InstallIndex index;
};

struct IniEditItem {
    char file[260];
    char section[256];
    char key[256];
    char oldValue[512];
    char rollbackValue[512];
    int32_t selected;
    InstallIndex index;
};

struct RegKeyItem {
    char key[256];
    char valueName[256];
    int32_t root;
    int32_t selected;
    InstallIndex index;
};

struct RegTreeItem {
    char key[256];
    int32_t root;
    int32_t selected;
    InstallIndex index;
};

enum : int32_t { OLD_VALUE_SIZE = 2048 };

struct RegEditItem {
    char key[256];
    char valueName[256];
    char oldValue[OLD_VALUE_SIZE];       // NUL-terminated strings closed by an empty string
    char rollbackValue[OLD_VALUE_SIZE];  // the same, for the latest installation
    int32_t root;
    int32_t type;
    int32_t selected;
    InstallIndex index;
};

struct IconItem {
    char group[256];
    char name[256];
    char command[256];
    int32_t selected;
    InstallIndex index;
};

struct ProgramItem {
    char program[260];
    char name[256];
    int32_t selected;
    InstallIndex index;
};

struct ServiceItem {
    char name[260];
    int32_t selected;
    InstallIndex index;
};

// An item list: an array of ITEM_CAPACITY record pointers and the count in use.
template <typename Item> struct ItemList {
    Item **items;
    int32_t count;
};

extern ItemList<FileItem> PrivateFileList;
extern ItemList<FileItem> SystemFileList;
extern ItemList<EditedFileItem> EditedFileList;
extern ItemList<DirectoryItem> DirectoryList;
extern ItemList<IniFileItem> IniFileList;
extern ItemList<IniEditItem> IniEditList;
extern ItemList<RegKeyItem> RegKeyList;
extern ItemList<RegTreeItem> RegTreeList;
extern ItemList<RegEditItem> RegEditList;
extern ItemList<IconItem> IconList;
extern ItemList<ProgramItem> ProgramList;
extern ItemList<ServiceItem> ServiceList;

// The database sub-system the installation configured; at most one.
struct SubSystemEntry {
    char *name;  // heap text from the letter B of the last "SubSystem: B" line; null when none
    int32_t selected;
};
extern SubSystemEntry subSystem;

struct LogHeader {
    char mifPath[128];
    char manufacturer[128];
    char product[128];
    char versionNumber[128];
    char serialNumber[128];
    char *productTitle;  // 256 bytes, allocated by the start-up
};
extern LogHeader logHeader;

// What the reader found besides the records.
struct ReaderResults {
    uint16_t sectionCount;
    int32_t lastSectionOffset;
    int32_t backupsPresent;
    char *systemDirectory;  // 260 bytes, no trailing backslash
};
extern ReaderResults readerResults;

// Root codes of registry records.
enum : int32_t { ROOT_CLASSES_ROOT, ROOT_CURRENT_USER, ROOT_LOCAL_MACHINE, ROOT_USERS, ROOT_CURRENT_CONFIG, ROOT_CODE_COUNT };
// Type codes of changed registry values.
enum : int32_t { TYPE_SZ, TYPE_EXPAND_SZ, TYPE_MULTI_SZ, TYPE_DWORD, TYPE_BINARY, TYPE_CODE_COUNT };

// AllocateItemModel - allocates the twelve pointer arrays, productTitle and systemDirectory; all
// counts 0. Returns false when memory is short.
bool AllocateItemModel();

// FreeItemModel - frees every record, the pointer arrays and the sub-system name.
void FreeItemModel();

// AppendItem - allocates a zero-filled record at the end of a list. Returns null when the list is
// full (its capacity is never exceeded) or memory is short.
template <typename Item> Item *AppendItem(ItemList<Item> &list);

// IsCurrent - whether an index qualifies at the threshold (unsigned 16-bit comparison).
inline bool IsCurrent(InstallIndex index, InstallIndex threshold) {
    return index != 0 && index >= threshold;
}

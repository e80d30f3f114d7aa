#include "log/model.h"

#include <cstdlib>

ItemList<FileItem> PrivateFileList;
ItemList<FileItem> SystemFileList;
ItemList<EditedFileItem> EditedFileList;
ItemList<DirectoryItem> DirectoryList;
ItemList<IniFileItem> IniFileList;
ItemList<IniEditItem> IniEditList;
ItemList<RegKeyItem> RegKeyList;
ItemList<RegTreeItem> RegTreeList;
ItemList<RegEditItem> RegEditList;
ItemList<IconItem> IconList;
ItemList<ProgramItem> ProgramList;
ItemList<ServiceItem> ServiceList;
SubSystemEntry subSystem;
LogHeader logHeader;
ReaderResults readerResults;

template <typename Item> static bool AllocateList(ItemList<Item> &list) {
    list.count = 0;
    list.items = static_cast<Item **>(calloc(ITEM_CAPACITY, sizeof(Item *)));
    return list.items != nullptr;
}

template <typename Item> static void FreeList(ItemList<Item> &list) {
    if (list.items) {
        for (int32_t i = 0; i < list.count; i++) free(list.items[i]);
        free(list.items);
    }
    list.items = nullptr;
    list.count = 0;
}

template <typename Item> Item *AppendItem(ItemList<Item> &list) {
    if (!list.items || list.count >= ITEM_CAPACITY) return nullptr;
    Item *item = static_cast<Item *>(calloc(1, sizeof(Item)));
    if (item) list.items[list.count++] = item;
    return item;
}

template FileItem *AppendItem(ItemList<FileItem> &);
template EditedFileItem *AppendItem(ItemList<EditedFileItem> &);
template DirectoryItem *AppendItem(ItemList<DirectoryItem> &);
template IniFileItem *AppendItem(ItemList<IniFileItem> &);
template IniEditItem *AppendItem(ItemList<IniEditItem> &);
template RegKeyItem *AppendItem(ItemList<RegKeyItem> &);
template RegTreeItem *AppendItem(ItemList<RegTreeItem> &);
template RegEditItem *AppendItem(ItemList<RegEditItem> &);
template IconItem *AppendItem(ItemList<IconItem> &);
template ProgramItem *AppendItem(ItemList<ProgramItem> &);
template ServiceItem *AppendItem(ItemList<ServiceItem> &);

bool AllocateItemModel() {
    // Every list is tried, so that FreeItemModel finds each one allocated or null.
    bool allocated[] = {AllocateList(PrivateFileList), AllocateList(SystemFileList), AllocateList(EditedFileList),
                        AllocateList(DirectoryList),   AllocateList(IniFileList),    AllocateList(IniEditList),
                        AllocateList(RegKeyList),      AllocateList(RegTreeList),    AllocateList(RegEditList),
                        AllocateList(IconList),        AllocateList(ProgramList),    AllocateList(ServiceList)};
    bool ok = true;
    for (bool each : allocated) ok = ok && each;
    logHeader = LogHeader{};
    logHeader.productTitle = static_cast<char *>(calloc(256, 1));
    readerResults = ReaderResults{};
    readerResults.systemDirectory = static_cast<char *>(calloc(260, 1));
    subSystem = SubSystemEntry{};
    return ok && logHeader.productTitle && readerResults.systemDirectory;
}

void FreeItemModel() {
    FreeList(PrivateFileList);
    FreeList(SystemFileList);
    FreeList(EditedFileList);
    FreeList(DirectoryList);
    FreeList(IniFileList);
    FreeList(IniEditList);
    FreeList(RegKeyList);
    FreeList(RegTreeList);
    FreeList(RegEditList);
    FreeList(IconList);
    FreeList(ProgramList);
    FreeList(ServiceList);
    free(subSystem.name);
    subSystem = SubSystemEntry{};
    free(logHeader.productTitle);
    logHeader.productTitle = nullptr;
    free(readerResults.systemDirectory);
    readerResults.systemDirectory = nullptr;
}

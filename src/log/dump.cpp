#include "log/dump.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "log/model.h"

// Field values run to the end of their line. Bytes below 0x20, 0x7F and the escape character
// itself are written as ^ and two hex digits, so every value stays on one line.
static void AppendValue(std::string &out, const char *text, size_t length) {
    static const char kHex[] = "0123456789ABCDEF";
    for (size_t i = 0; i < length; i++) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F || c == '^') {
            out += '^';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
}

static void Text(std::string &out, const std::string &name, const char *field, size_t size) {
    out += name;
    out += '=';
    AppendValue(out, field, strnlen(field, size));
    out += '\n';
}

template <size_t N> static void Text(std::string &out, const std::string &name, const char (&field)[N]) {
    Text(out, name, field, N);
}

static void Number(std::string &out, const std::string &name, int64_t value) {
    out += name;
    out += '=';
    out += std::to_string(value);
    out += '\n';
}

// An old-value list: its strings up to the closing empty string.
static void StringList(std::string &out, const std::string &name, const char (&list)[OLD_VALUE_SIZE]) {
    size_t count = 0;
    for (size_t at = 0; at < OLD_VALUE_SIZE && list[at]; at += strnlen(list + at, OLD_VALUE_SIZE - at) + 1) count++;
    Number(out, name + ".count", static_cast<int64_t>(count));
    size_t at = 0;
    for (size_t i = 0; i < count; i++) {
        size_t length = strnlen(list + at, OLD_VALUE_SIZE - at);
        out += name + "[" + std::to_string(i) + "]=";
        AppendValue(out, list + at, length);
        out += '\n';
        at += length + 1;
    }
}

static void Fields(std::string &out, const std::string &p, const FileItem &item) {
    Text(out, p + "path", item.path);
    Text(out, p + "backupPath", item.backupPath);
    Number(out, p + "selected", item.selected);
    Number(out, p + "removeByDefault", item.removeByDefault);
    Number(out, p + "selfRegisterIndex", item.selfRegisterIndex);
    Number(out, p + "deviceIndex", item.deviceIndex);
    Number(out, p + "copyIndex", item.copyIndex);
    Number(out, p + "backupIndex", item.backupIndex);
    Number(out, p + "sharedCountIndex", item.sharedCountIndex);
}

static void Fields(std::string &out, const std::string &p, const EditedFileItem &item) {
    Text(out, p + "path", item.path);
    Text(out, p + "backupPath", item.backupPath);
    Number(out, p + "index", item.index);
}

static void Fields(std::string &out, const std::string &p, const DirectoryItem &item) {
    Text(out, p + "path", item.path);
    Number(out, p + "selected", item.selected);
    Number(out, p + "treeIndex", item.treeIndex);
    Number(out, p + "index", item.index);
}

static void Fields(std::string &out, const std::string &p, const IniFileItem &item) {
    Text(out, p + "path", item.path);
    Number(out, p + "selected", item.selected);
    Number(out, p + "index", item.index);
}

static void Fields(std::string &out, const std::string &p, const IniEditItem &item) {
    Text(out, p + "file", item.file);
    Text(out, p + "section", item.section);
    Text(out, p + "key", item.key);
    Text(out, p + "oldValue", item.oldValue);
    Text(out, p + "rollbackValue", item.rollbackValue);
    Number(out, p + "selected", item.selected);
    Number(out, p + "index", item.index);
}

static void Fields(std::string &out, const std::string &p, const RegKeyItem &item) {
    Text(out, p + "key", item.key);
    Text(out, p + "valueName", item.valueName);
    Number(out, p + "root", item.root);
    Number(out, p + "selected", item.selected);
    Number(out, p + "index", item.index);
}

static void Fields(std::string &out, const std::string &p, const RegTreeItem &item) {
    Text(out, p + "key", item.key);
    Number(out, p + "root", item.root);
    Number(out, p + "selected", item.selected);
    Number(out, p + "index", item.index);
}

static void Fields(std::string &out, const std::string &p, const RegEditItem &item) {
    Text(out, p + "key", item.key);
    Text(out, p + "valueName", item.valueName);
    StringList(out, p + "oldValue", item.oldValue);
    StringList(out, p + "rollbackValue", item.rollbackValue);
    Number(out, p + "root", item.root);
    Number(out, p + "type", item.type);
    Number(out, p + "selected", item.selected);
    Number(out, p + "index", item.index);
}

static void Fields(std::string &out, const std::string &p, const IconItem &item) {
    Text(out, p + "group", item.group);
    Text(out, p + "name", item.name);
    Text(out, p + "command", item.command);
    Number(out, p + "selected", item.selected);
    Number(out, p + "index", item.index);
}

static void Fields(std::string &out, const std::string &p, const ProgramItem &item) {
    Text(out, p + "program", item.program);
    Text(out, p + "name", item.name);
    Number(out, p + "selected", item.selected);
    Number(out, p + "index", item.index);
}

static void Fields(std::string &out, const std::string &p, const ServiceItem &item) {
    Text(out, p + "name", item.name);
    Number(out, p + "selected", item.selected);
    Number(out, p + "index", item.index);
}

template <typename Item> static void List(std::string &out, const char *name, const ItemList<Item> &list) {
    Number(out, std::string(name) + ".count", list.count);
    for (int32_t i = 0; i < list.count; i++) {
        Fields(out, std::string(name) + "[" + std::to_string(i) + "].", *list.items[i]);
    }
}

void DumpItemModel(int result, const char *logDirectory, std::string &out) {
    Number(out, "result", result);
    Text(out, "logDirectory", logDirectory, strlen(logDirectory));
    Number(out, "sectionCount", readerResults.sectionCount);
    Number(out, "lastSectionOffset", readerResults.lastSectionOffset);
    Number(out, "backupsPresent", readerResults.backupsPresent);
    Text(out, "systemDirectory", readerResults.systemDirectory, SYSTEM_DIRECTORY_SIZE);
    Text(out, "productTitle", logHeader.productTitle, PRODUCT_TITLE_SIZE);
    Text(out, "mifPath", logHeader.mifPath);
    Text(out, "manufacturer", logHeader.manufacturer);
    Text(out, "product", logHeader.product);
    Text(out, "versionNumber", logHeader.versionNumber);
    Text(out, "serialNumber", logHeader.serialNumber);
    Number(out, "subSystem.present", subSystem.name ? 1 : 0);
    if (subSystem.name) Text(out, "subSystem.name", subSystem.name, strlen(subSystem.name));
    Number(out, "subSystem.selected", subSystem.selected);
    List(out, "PrivateFileList", PrivateFileList);
    List(out, "SystemFileList", SystemFileList);
    List(out, "EditedFileList", EditedFileList);
    List(out, "DirectoryList", DirectoryList);
    List(out, "IniFileList", IniFileList);
    List(out, "IniEditList", IniEditList);
    List(out, "RegKeyList", RegKeyList);
    List(out, "RegTreeList", RegTreeList);
    List(out, "RegEditList", RegEditList);
    List(out, "IconList", IconList);
    List(out, "ProgramList", ProgramList);
    List(out, "ServiceList", ServiceList);
}

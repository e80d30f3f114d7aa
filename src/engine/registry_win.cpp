#include "engine/registry.h"

#include <windows.h>

#include <cstring>

#include "engine/files.h"
#include "engine/paths.h"
#include "engine/regdata.h"
#include "shell/text.h"

// Query value, set value, create subkey, enumerate subkeys, notify, create link.
static const REGSAM KEY_ACCESS = 0x3F;

// The root key of a root code; null for a code outside the table.
static HKEY RootKey(int32_t rootCode) {
    static const HKEY roots[ROOT_CODE_COUNT] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE,
                                                HKEY_USERS, HKEY_CURRENT_CONFIG};
    return rootCode >= 0 && rootCode < ROOT_CODE_COUNT ? roots[rootCode] : nullptr;
}

// The registry type of a type code (the code is known to be in the table).
static DWORD RegistryType(int32_t typeCode) {
    static const DWORD types[TYPE_CODE_COUNT] = {REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ, REG_DWORD, REG_BINARY};
    return types[typeCode];
}

// Opens key under the root of rootCode; null when the code is unknown or the key cannot be opened.
static HKEY OpenKey(int32_t rootCode, const char *key) {
    HKEY root = RootKey(rootCode);
    HKEY opened = nullptr;
    if (!root || RegOpenKeyExA(root, key, 0, KEY_ACCESS, &opened) != ERROR_SUCCESS) return nullptr;
    return opened;
}

void RestoreRegistryValue(RegEditItem *item, bool useRollbackValue) {
    if (item->type < 0 || item->type >= TYPE_CODE_COUNT) return;  // unknown type: nothing to write
    HKEY key = OpenKey(item->root, item->key);
    if (!key) return;  // a missing key is fine: nothing to restore
    char *value = useRollbackValue ? item->rollbackValue : item->oldValue;
    uint32_t size = 0;
    MakeRegistryData(item->type, value, OLD_VALUE_SIZE, &size);
    // A failed write leaves the value as it is; the run goes on.
    RegSetValueExA(key, item->valueName, 0, RegistryType(item->type), reinterpret_cast<const BYTE *>(value), size);
    RegCloseKey(key);
}

// Whether the open key holds no value and no subkey. A name too long for the buffer still means
// something is there, so only "no more items" counts as empty.
static bool KeyIsEmpty(HKEY key) {
    char name[256];
    DWORD length = sizeof name;
    if (RegEnumValueA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_NO_MORE_ITEMS)
        return false;
    length = sizeof name;
    return RegEnumKeyExA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_NO_MORE_ITEMS;
}

void RemoveRegistryKey(RegKeyItem *item) {
    bool firstPass = true;
    while (item->key[0]) {
        HKEY key = OpenKey(item->root, item->key);
        if (!key) return;  // gone already: its parents are left alone
        if (firstPass) RegDeleteValueA(key, item->valueName);  // a missing value is fine
        firstPass = false;
        bool empty = KeyIsEmpty(key);
        RegCloseKey(key);
        if (!empty) return;
        RegDeleteKeyA(RootKey(item->root), item->key);
        char *lastSlash = strrchr(item->key, '\\');
        *(lastSlash ? lastSlash : item->key) = '\0';
    }
}

// The name of the subkey at position index of key, joined to key in child; false when the key
// cannot be opened or has no subkey there. Sets tooLong when the joined path would not fit.
static bool SubkeyPath(int32_t rootCode, const char *key, DWORD index, char (&child)[TREE_KEY_SIZE], bool *tooLong) {
    HKEY opened = OpenKey(rootCode, key);
    if (!opened) return false;
    char name[256];
    DWORD length = sizeof name;
    LONG result = RegEnumKeyExA(opened, index, name, &length, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(opened);
    if (result == ERROR_NO_MORE_ITEMS) return false;
    *tooLong = result != ERROR_SUCCESS || !CopyText(child, key) || !AppendText(child, "\\") || !AppendText(child, name);
    return true;
}

// Deletes key and its subkeys, deepest first; true when the key itself was deleted.
static bool DeleteTree(const char *key, int32_t rootCode) {
    DWORD index = 0;  // subkeys before this position could not be deleted and are passed over
    // At most 2048 passes, so a subkey that keeps coming back cannot hold the loop forever.
    for (int pass = 0; pass < 2048; pass++) {
        char child[TREE_KEY_SIZE];
        bool tooLong = false;
        if (!SubkeyPath(rootCode, key, index, child, &tooLong)) break;
        // A path beyond the buffer, or a subtree that could not be deleted: go on with the rest.
        if (tooLong || !DeleteTree(child, rootCode)) index++;
    }
    return RegDeleteKeyA(RootKey(rootCode), key) == ERROR_SUCCESS;  // fails while a subkey is left
}

void DeleteRegistryTree(const char *key, int32_t rootCode) {
    if (!RootKey(rootCode)) return;  // unknown root: nothing may be deleted
    DeleteTree(key, rootCode);
}

bool RestoreIniEntry(const IniEditItem *item, bool useRollbackValue) {
    if (!FileExists(item->file)) return false;  // removed already: not created again
    const char *value = useRollbackValue ? item->rollbackValue : item->oldValue;
    // An empty value passes no string at all, which deletes the entry.
    WritePrivateProfileStringA(item->section, item->key, value[0] ? value : nullptr, item->file);
    return true;
}

void RemoveIniFile(const IniFileItem *item) {
    SetNormalAttributes(item->path, 0);
    RemoveFile(item->path);
}

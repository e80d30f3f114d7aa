// Registry and INI restoration against Wine's real registry and profile functions.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "engine/registry.h"
#include "engine_sandbox.h"
#include "log/model.h"
#include "shell/text.h"

namespace {
const char kBase[] = "Software\\kutest-registry";
const std::string kFolder = "C:\\kutest-registry";

// Removes a key of HKEY_CURRENT_USER with all its subkeys.
void DeleteKeyTree(HKEY parent, const std::string &key) {
    HKEY opened;
    if (RegOpenKeyExA(parent, key.c_str(), 0, KEY_ALL_ACCESS, &opened) == ERROR_SUCCESS) {
        char name[256];
        DWORD length = sizeof name;
        while (RegEnumKeyExA(opened, 0, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
            DeleteKeyTree(opened, name);
            length = sizeof name;
        }
        RegCloseKey(opened);
    }
    RegDeleteKeyA(parent, key.c_str());
}

// Opens or creates a key one component at a time: Wine refuses a single key path of 256
// characters or more in its ANSI calls.
bool WalkKey(const std::string &key, bool create) {
    HKEY current = HKEY_CURRENT_USER;
    size_t start = 0;
    bool ok = true;
    while (ok && start <= key.size()) {
        size_t end = key.find('\\', start);
        if (end == std::string::npos) end = key.size();
        std::string part = key.substr(start, end - start);
        HKEY next;
        ok = (create ? RegCreateKeyExA(current, part.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &next, nullptr)
                     : RegOpenKeyExA(current, part.c_str(), 0, KEY_READ, &next)) == ERROR_SUCCESS;
        if (current != HKEY_CURRENT_USER) RegCloseKey(current);
        current = ok ? next : HKEY_CURRENT_USER;
        start = end + 1;
    }
    if (current != HKEY_CURRENT_USER) RegCloseKey(current);
    return ok;
}

bool KeyExists(const std::string &key) { return WalkKey(key, false); }

void SetString(const std::string &key, const char *name, const char *value) {
    HKEY created;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &created, nullptr), ERROR_SUCCESS) << key;
    if (name) RegSetValueExA(created, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(value), static_cast<DWORD>(strlen(value) + 1));
    RegCloseKey(created);
}

// The type and bytes of a value; type 0xbdbdbdbd when it cannot be read.
std::pair<DWORD, std::string> ReadValue(const std::string &key, const char *name) {
    HKEY opened;
    DWORD type = 0xbdbdbdbd;
    char data[4096];
    DWORD size = sizeof data;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return {type, ""};
    LONG result = RegQueryValueExA(opened, name, nullptr, &type, reinterpret_cast<BYTE *>(data), &size);
    RegCloseKey(opened);
    if (result != ERROR_SUCCESS) return {0xbdbdbdbd, ""};
    return {type, std::string(data, size)};
}

class RegistryWin : public ::testing::Test {
  protected:
    void SetUp() override {
        DeleteKeyTree(HKEY_CURRENT_USER, kBase);
        sandbox::RemoveTree(kFolder);
        SetString(kBase, nullptr, nullptr);
    }
    void TearDown() override {
        DeleteKeyTree(HKEY_CURRENT_USER, kBase);
        sandbox::RemoveTree(kFolder);
    }
};

RegEditItem MakeEdit(const std::string &key, const char *name, int32_t root, int32_t type, const std::string &old,
                     const std::string &rollback = std::string("\0\0", 2)) {
    RegEditItem item{};
    CopyText(item.key, key);
    CopyText(item.valueName, name);
    memcpy(item.oldValue, old.data(), old.size());
    memcpy(item.rollbackValue, rollback.data(), rollback.size());
    item.root = root;
    item.type = type;
    return item;
}
}  // namespace

TEST_F(RegistryWin, EachTypeReadBackWithItsTypeAndBytes) {
    using namespace std::string_literals;
    struct Case {
        int32_t type;
        std::string text;
        DWORD registryType;
        std::string data;
    } cases[] = {
        {TYPE_SZ, "plain\0\0"s, REG_SZ, "plain\0"s},
        {TYPE_EXPAND_SZ, "%TEMP%\\x\0\0"s, REG_EXPAND_SZ, "%TEMP%\\x\0"s},
        {TYPE_MULTI_SZ, "ONE\0TWO\0\0"s, REG_MULTI_SZ, "ONE\0TWO\0\0"s},
        {TYPE_DWORD, "-5\0\0"s, REG_DWORD, "\xFB\xFF\xFF\xFF"s},
        {TYPE_BINARY, "0a,1b,FF\0\0"s, REG_BINARY, "\x0A\x1B\xFF"s},
        {TYPE_BINARY, "\0\0"s, REG_BINARY, ""s},
    };
    for (const Case &c : cases) {
        SetString(kBase, "V", "installed");
        RegEditItem item = MakeEdit(kBase, "V", ROOT_CURRENT_USER, c.type, c.text);
        RestoreRegistryValue(&item, false);
        auto [type, data] = ReadValue(kBase, "V");
        EXPECT_EQ(type, c.registryType) << "type code " << c.type;
        EXPECT_EQ(data, c.data) << "type code " << c.type << ", size " << data.size();
    }
    // The rollback value is the one written in rollback mode; the default value has an empty name.
    RegEditItem item = MakeEdit(kBase, "", ROOT_CURRENT_USER, TYPE_SZ, "old\0\0"s, "previous\0\0"s);
    RestoreRegistryValue(&item, true);
    EXPECT_EQ(ReadValue(kBase, "").second, "previous\0"s);
}

TEST_F(RegistryWin, UnknownCodesAndMissingKeysWriteNothing) {
    using namespace std::string_literals;
    struct Case {
        const char *context;
        std::string key;
        int32_t root, type;
    } cases[] = {
        {"root -1", kBase, -1, TYPE_SZ},
        {"root 5", kBase, ROOT_CODE_COUNT, TYPE_SZ},
        {"type -1", kBase, ROOT_CURRENT_USER, -1},
        {"type 5", kBase, ROOT_CURRENT_USER, TYPE_CODE_COUNT},
        {"missing key", std::string(kBase) + "\\Missing", ROOT_CURRENT_USER, TYPE_SZ},
    };
    for (const Case &c : cases) {
        SetString(kBase, "V", "installed");
        RegEditItem item = MakeEdit(c.key, "V", c.root, c.type, "restored\0\0"s);
        RestoreRegistryValue(&item, false);
        EXPECT_EQ(ReadValue(kBase, "V").second, "installed\0"s) << c.context;
        EXPECT_FALSE(KeyExists(std::string(kBase) + "\\Missing")) << c.context << ": key created";

        RegKeyItem keyItem{};
        CopyText(keyItem.key, std::string(kBase));
        CopyText(keyItem.valueName, "V");
        keyItem.root = c.root;
        if (c.root == ROOT_CURRENT_USER) continue;
        RemoveRegistryKey(&keyItem);
        EXPECT_EQ(ReadValue(kBase, "V").second, "installed\0"s) << c.context << ": removed under an unknown root";
        DeleteRegistryTree(kBase, c.root);
        EXPECT_TRUE(KeyExists(kBase)) << c.context << ": tree deleted under an unknown root";
    }
}

TEST_F(RegistryWin, KeyCascadeStopsBelowAKeyWithValues) {
    std::string alpha = std::string(kBase) + "\\Alpha";
    SetString(alpha, "Keep", "1");
    SetString(alpha + "\\Beta\\Gamma", "V", "x");
    RegKeyItem item{};
    CopyText(item.key, alpha + "\\Beta\\Gamma");
    CopyText(item.valueName, "V");
    item.root = ROOT_CURRENT_USER;
    RemoveRegistryKey(&item);
    EXPECT_FALSE(KeyExists(alpha + "\\Beta"));
    EXPECT_TRUE(KeyExists(alpha));
    EXPECT_EQ(ReadValue(alpha, "Keep").second, std::string("1\0", 2));
    EXPECT_STREQ(item.key, alpha.c_str()) << "the key is cut back to the first key left";
}

TEST_F(RegistryWin, KeyCascadeLeavesOthersAlone) {
    using namespace std::string_literals;
    // A missing key does nothing, not even to its empty parent.
    std::string empty = std::string(kBase) + "\\Empty";
    SetString(empty, nullptr, nullptr);
    RegKeyItem item{};
    CopyText(item.key, empty + "\\Missing");
    item.root = ROOT_CURRENT_USER;
    RemoveRegistryKey(&item);
    EXPECT_TRUE(KeyExists(empty));

    // An empty value name deletes the default value; a sibling subkey keeps the key.
    std::string key = std::string(kBase) + "\\Default";
    SetString(key, "", "x");
    SetString(key + "\\Child", nullptr, nullptr);
    CopyText(item.key, key);
    CopyText(item.valueName, "");
    RemoveRegistryKey(&item);
    EXPECT_EQ(ReadValue(key, "").first, 0xbdbdbdbdu) << "default value left";
    EXPECT_TRUE(KeyExists(key + "\\Child"));
}

TEST_F(RegistryWin, LongValueNameKeepsItsKey) {
    // A value whose name does not fit the 256-character enumeration buffer still counts.
    std::string key = std::string(kBase) + "\\Long";
    SetString(key, "V", "x");
    HKEY opened;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_SET_VALUE, &opened), ERROR_SUCCESS);
    std::wstring name(300, L'n');
    ASSERT_EQ(RegSetValueExW(opened, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE *>(L"x"), 4), ERROR_SUCCESS);
    RegCloseKey(opened);
    RegKeyItem item{};
    CopyText(item.key, key);
    CopyText(item.valueName, "V");
    item.root = ROOT_CURRENT_USER;
    RemoveRegistryKey(&item);
    EXPECT_TRUE(KeyExists(key)) << "a key holding a long-named value was deleted";
    EXPECT_EQ(ReadValue(key, "V").first, 0xbdbdbdbdu) << "the record's value left";
}

TEST_F(RegistryWin, TreeDeletedDepthFirst) {
    std::string tree = std::string(kBase) + "\\Tree";
    SetString(tree + "\\A\\B\\C", "v", "1");
    SetString(tree + "\\A\\B2", "v", "1");
    SetString(tree + "\\D", nullptr, nullptr);
    SetString(tree, "top", "1");
    DeleteRegistryTree(tree.c_str(), ROOT_CURRENT_USER);
    EXPECT_FALSE(KeyExists(tree));
    EXPECT_TRUE(KeyExists(kBase));
    DeleteRegistryTree((tree + "\\Missing").c_str(), ROOT_CURRENT_USER);  // only the final deletion is tried
    EXPECT_TRUE(KeyExists(kBase));
}

TEST_F(RegistryWin, TreeKeysBeyondTheBufferAreSkipped) {
    std::string tree = std::string(kBase) + "\\Tree";
    std::string longKey = tree + "\\" + std::string(200, 'k') + "\\" + std::string(200, 'l');
    ASSERT_TRUE(WalkKey(longKey + "\\leaf", true));
    SetString(tree + "\\short\\leaf", nullptr, nullptr);
    DeleteRegistryTree(tree.c_str(), ROOT_CURRENT_USER);
    EXPECT_FALSE(KeyExists(tree + "\\short")) << "the rest of the tree goes on";
    EXPECT_TRUE(KeyExists(longKey)) << "a key path beyond the buffer is left";
}

TEST_F(RegistryWin, IniEntriesWrittenBackOrDeleted) {
    ASSERT_TRUE(CreateDirectoryA(kFolder.c_str(), nullptr));
    std::string ini = kFolder + "\\app.ini";
    ASSERT_TRUE(sandbox::WriteFile(ini, "[Paths]\r\nHome=C:\\New\r\nExtra=1\r\n"));
    IniEditItem item{};
    CopyText(item.file, ini);
    CopyText(item.section, "Paths");
    CopyText(item.key, "Home");
    CopyText(item.oldValue, "C:\\Old");
    EXPECT_TRUE(RestoreIniEntry(&item, false));
    char value[64];
    GetPrivateProfileStringA("Paths", "Home", "<none>", value, sizeof value, ini.c_str());
    EXPECT_STREQ(value, "C:\\Old");

    CopyText(item.key, "Extra");  // an empty rollback value deletes the entry
    EXPECT_TRUE(RestoreIniEntry(&item, true));
    GetPrivateProfileStringA("Paths", "Extra", "<none>", value, sizeof value, ini.c_str());
    EXPECT_STREQ(value, "<none>");

    IniFileItem file{};
    CopyText(file.path, ini);
    SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_READONLY);
    RemoveIniFile(&file);
    EXPECT_FALSE(sandbox::Exists(ini));
    EXPECT_FALSE(RestoreIniEntry(&item, false));
    EXPECT_FALSE(sandbox::Exists(ini)) << "a removed INI file was created again";
}

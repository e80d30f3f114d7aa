// Installs a small product while recording it in an install log (see product.h).
#include "product.h"

#include <ctime>

#include "driver.h"

namespace e2e {

namespace {

std::string Today() {
    char text[32];
    time_t now = time(nullptr);
    strftime(text, sizeof text, "%m/%d/%Y %H:%M", localtime(&now));
    return text;
}

bool WriteIniText(const std::string &path, const std::string &section, const std::string &key,
                  const std::string &value) {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str()) != 0;
}

}  // namespace

ProductInstall::ProductInstall(const std::string &logPath, const std::string &title) : logPath_(logPath) {
    Section(title);
}

void ProductInstall::Section(const std::string &title) {
    Line("***  Installation Started " + Today());
    Line("Title: " + title);
}

void ProductInstall::Line(const std::string &text) { log_ += text + "\r\n"; }

bool ProductInstall::MakeDir(const std::string &path) {
    if (!CreateDirectoryA(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
    Line("Made Dir: " + path);
    return true;
}

bool ProductInstall::CopyFile(const std::string &path, const std::string &bytes, const std::string &backupPath) {
    if (!backupPath.empty() && PathExists(path) && !CopyFileA(path.c_str(), backupPath.c_str(), FALSE)) return false;
    if (!WriteTextFile(path, bytes)) return false;
    Line("File Copy: " + path);
    if (!backupPath.empty()) Line("Backup Copy: " + backupPath);
    return true;
}

bool ProductInstall::NewIni(const std::string &path, const std::string &section, const std::string &key,
                            const std::string &value) {
    if (!WriteIniText(path, section, key, value)) return false;
    Line("INI New: " + path);
    Line("INI File: " + path);
    Line("INI Sect: " + section);
    Line("INI Item: " + key);
    Line("INI Val: " + value);
    return true;
}

bool ProductInstall::ChangeIni(const std::string &path, const std::string &section, const std::string &key,
                               const std::string &value, const std::string &oldValue) {
    if (!WriteIniText(path, section, key, value)) return false;
    Line("INI File: " + path);
    Line("INI Sect: " + section);
    Line("INI Item: " + key);
    Line("INI Val: " + value);
    if (!oldValue.empty()) Line("INI Old: " + oldValue);
    return true;
}

bool ProductInstall::NewRegValue(HKEY root, const std::string &key, const std::string &name,
                                 const std::string &value) {
    if (!SetRegText(root, key, name, value)) return false;
    Line("RegDB Key: " + key);
    Line("RegDB Val: " + value);
    Line("RegDB Name: " + name);
    Line("RegDB Root: " + std::to_string(RootCode(root)));
    return true;
}

bool ProductInstall::ChangeRegValue(HKEY root, const std::string &key, const std::string &name,
                                    const std::string &value, const std::string &oldValue) {
    if (!SetRegText(root, key, name, value)) return false;
    Line("RegDB Key: " + key);
    Line("RegDB Val: " + value);
    Line("RegDB Name: " + name);
    Line("RegDB Type: 0");  // text (REG_SZ)
    Line("RegDB Root: " + std::to_string(RootCode(root)));
    Line("RegDB Old: " + oldValue);
    return true;
}

bool ProductInstall::Save() const { return WriteTextFile(logPath_, log_); }

int RootCode(HKEY root) {
    if (root == HKEY_CURRENT_USER) return 1;
    if (root == HKEY_LOCAL_MACHINE) return 2;
    if (root == HKEY_USERS) return 3;
    if (root == HKEY_CURRENT_CONFIG) return 4;
    return 0;  // HKEY_CLASSES_ROOT
}

bool SetRegText(HKEY root, const std::string &key, const std::string &name, const std::string &value) {
    HKEY handle;
    if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr)) return false;
    bool ok = RegSetValueExA(handle, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE *>(value.c_str()),
                             static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
    RegCloseKey(handle);
    return ok;
}

std::string RegText(HKEY root, const std::string &key, const std::string &name, bool *present) {
    if (present) *present = false;
    HKEY handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, &handle)) return std::string();
    char data[1024];
    DWORD size = sizeof data - 1, type = 0;
    LONG result = RegQueryValueExA(handle, name.c_str(), nullptr, &type, reinterpret_cast<BYTE *>(data), &size);
    RegCloseKey(handle);
    if (result != ERROR_SUCCESS) return std::string();
    if (present) *present = true;
    data[size] = '\0';
    return std::string(data);
}

bool RegKeyExists(HKEY root, const std::string &key) {
    HKEY handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle)) return false;
    RegCloseKey(handle);
    return true;
}

bool RemoveRegTree(HKEY root, const std::string &key) {
    HKEY handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ | KEY_WRITE, &handle)) return true;  // nothing there
    char name[256];
    for (;;) {
        DWORD length = sizeof name;
        if (RegEnumKeyExA(handle, 0, name, &length, nullptr, nullptr, nullptr, nullptr)) break;
        if (!RemoveRegTree(root, key + "\\" + name)) break;
    }
    RegCloseKey(handle);
    return RegDeleteKeyA(root, key.c_str()) == ERROR_SUCCESS;
}

std::string IniText(const std::string &path, const std::string &section, const std::string &key) {
    char value[1024];
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "", value, sizeof value, path.c_str());
    return value;
}

}  // namespace e2e

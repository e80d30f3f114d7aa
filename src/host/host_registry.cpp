// An in-memory registry for the host layer: keys and values matched without regard to case,
// handles that name a key by its path (so a deleted key makes its handles fail, never dangle).
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/host.h"

namespace {
struct Value {
    std::string name;
    DWORD type;
    std::vector<BYTE> data;
};

struct Key {
    std::string name;
    std::map<std::string, std::unique_ptr<Key>> children;  // by upper-case name
    std::map<std::string, Value> values;                    // by upper-case name
};

Key roots[6];

std::string Upper(const std::string &text) {
    std::string upper = text;
    for (char &c : upper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    }
    return upper;
}
}  // namespace

struct HostKey {
    int root;
    std::vector<std::string> path;
};

namespace {
bool IsRoot(HKEY key) {
    uintptr_t v = reinterpret_cast<uintptr_t>(key);
    return v >= 0x80000000u && v <= 0x80000005u;
}

// The root and path a handle (or a root) names, with subKey appended.
bool Resolve(HKEY key, LPCSTR subKey, int &root, std::vector<std::string> &path) {
    if (!key) return false;
    if (IsRoot(key)) {
        root = static_cast<int>(reinterpret_cast<uintptr_t>(key) - 0x80000000u);
        path.clear();
    } else {
        root = key->root;
        path = key->path;
    }
    std::string rest = subKey ? subKey : "";
    size_t start = 0;
    while (start <= rest.size()) {
        size_t end = rest.find('\\', start);
        if (end == std::string::npos) end = rest.size();
        if (end > start) path.push_back(rest.substr(start, end - start));
        start = end + 1;
    }
    return true;
}

Key *Find(int root, const std::vector<std::string> &path, bool create, bool *created = nullptr) {
    Key *key = &roots[root];
    for (const std::string &name : path) {
        auto it = key->children.find(Upper(name));
        if (it == key->children.end()) {
            if (!create) return nullptr;
            auto child = std::make_unique<Key>();
            child->name = name;
            Key *raw = child.get();
            key->children[Upper(name)] = std::move(child);
            if (created) *created = true;
            key = raw;
        } else {
            key = it->second.get();
        }
    }
    return key;
}

Key *KeyOf(HKEY key) {
    int root;
    std::vector<std::string> path;
    return Resolve(key, nullptr, root, path) ? Find(root, path, false) : nullptr;
}
}  // namespace

LONG RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD, REGSAM, PHKEY result) {
    int root;
    std::vector<std::string> path;
    if (!result || !Resolve(key, subKey, root, path)) return ERROR_INVALID_HANDLE;
    if (!Find(root, path, false)) return ERROR_FILE_NOT_FOUND;
    *result = new HostKey{root, path};
    return ERROR_SUCCESS;
}

LONG RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD, LPSTR, DWORD, REGSAM, SECURITY_ATTRIBUTES *, PHKEY result,
                     LPDWORD disposition) {
    int root;
    std::vector<std::string> path;
    if (!result || !Resolve(key, subKey, root, path)) return ERROR_INVALID_HANDLE;
    bool created = false;
    if (!Find(root, path, true, &created)) return ERROR_ACCESS_DENIED;
    if (disposition) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    *result = new HostKey{root, path};
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key) {
    if (!key) return ERROR_INVALID_HANDLE;
    if (!IsRoot(key)) delete key;
    return ERROR_SUCCESS;
}

LONG RegQueryValueExA(HKEY key, LPCSTR name, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD size) {
    Key *found = KeyOf(key);
    if (!found) return ERROR_INVALID_HANDLE;
    auto it = found->values.find(Upper(name ? name : ""));
    if (it == found->values.end()) return ERROR_FILE_NOT_FOUND;
    const Value &value = it->second;
    if (type) *type = value.type;
    DWORD needed = static_cast<DWORD>(value.data.size());
    if (data) {
        if (!size || *size < needed) {
            if (size) *size = needed;
            return ERROR_MORE_DATA;
        }
        if (needed) memcpy(data, value.data.data(), needed);
    }
    if (size) *size = needed;
    return ERROR_SUCCESS;
}

LONG RegSetValueExA(HKEY key, LPCSTR name, DWORD, DWORD type, const BYTE *data, DWORD size) {
    Key *found = KeyOf(key);
    if (!found) return ERROR_INVALID_HANDLE;
    Value value{name ? name : "", type, std::vector<BYTE>(data, data ? data + size : data)};
    found->values[Upper(value.name)] = value;
    return ERROR_SUCCESS;
}

LONG RegDeleteValueA(HKEY key, LPCSTR name) {
    Key *found = KeyOf(key);
    if (!found) return ERROR_INVALID_HANDLE;
    return found->values.erase(Upper(name ? name : "")) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

// Like Windows NT: a key that still has sub-keys is not deleted.
LONG RegDeleteKeyA(HKEY key, LPCSTR subKey) {
    int root;
    std::vector<std::string> path;
    if (!Resolve(key, subKey, root, path)) return ERROR_INVALID_HANDLE;
    if (path.empty()) return ERROR_ACCESS_DENIED;
    std::string last = path.back();
    path.pop_back();
    Key *parent = Find(root, path, false);
    if (!parent) return ERROR_FILE_NOT_FOUND;
    auto it = parent->children.find(Upper(last));
    if (it == parent->children.end()) return ERROR_FILE_NOT_FOUND;
    if (!it->second->children.empty()) return ERROR_ACCESS_DENIED;
    parent->children.erase(it);
    return ERROR_SUCCESS;
}

LONG RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD, LPSTR, LPDWORD, FILETIME *) {
    Key *found = KeyOf(key);
    if (!found) return ERROR_INVALID_HANDLE;
    if (index >= found->children.size()) return ERROR_NO_MORE_ITEMS;
    auto it = found->children.begin();
    std::advance(it, index);
    const std::string &child = it->second->name;
    if (!name || !nameSize || *nameSize <= child.size()) return ERROR_MORE_DATA;
    memcpy(name, child.c_str(), child.size() + 1);
    *nameSize = static_cast<DWORD>(child.size());
    return ERROR_SUCCESS;
}

void HostResetRegistry() {
    for (Key &root : roots) {
        root.children.clear();
        root.values.clear();
    }
}

// ---------------------------------------------------------------------------------------------
// Service control manager

struct HostService {
    int unused;
};

namespace {
bool managerDenied;
int managerOpens;
HostService manager;
}  // namespace

SC_HANDLE OpenSCManagerA(LPCSTR, LPCSTR, DWORD) {
    managerOpens++;
    return managerDenied ? nullptr : &manager;
}

BOOL CloseServiceHandle(SC_HANDLE handle) { return handle != nullptr; }

void HostDenyServiceManager(bool denied) { managerDenied = denied; }

int HostServiceManagerOpens() { return managerOpens; }

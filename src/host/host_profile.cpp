// Profiles of the host layer: the INI reads of the system over files under the host root.
// Sections and keys match without regard to case; blanks around keys and values are dropped and a
// value written between matching quotes loses them, as the system does.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "host/host.h"
#include "shell/text.h"

namespace {

std::string Trimmed(const std::string &text) {
    size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string::npos) return "";
    size_t end = text.find_last_not_of(" \t\r\n");
    return text.substr(begin, end - begin + 1);
}

std::string Unquoted(const std::string &value) {
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
        return value.substr(1, value.size() - 2);
    return value;
}

// The value of key in section of the file, or false when the file, the section or the key is missing.
bool ReadProfileValue(LPCSTR section, LPCSTR key, LPCSTR fileName, std::string &value) {
    char hostPath[1024];
    if (!section || !key || !HostMapPath(fileName, hostPath, sizeof hostPath)) return false;
    FILE *file = fopen(hostPath, "rb");
    if (!file) return false;
    bool inSection = false;
    bool found = false;
    char line[4096];
    while (!found && fgets(line, sizeof line, file)) {
        std::string text = Trimmed(line);
        if (!text.empty() && text[0] == '[') {
            size_t close = text.find(']');
            std::string name = Trimmed(text.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            inSection = lstrcmpiA(name.c_str(), section) == 0;
            continue;
        }
        size_t equals = text.find('=');
        if (!inSection || text.empty() || text[0] == ';' || equals == std::string::npos) continue;
        if (lstrcmpiA(Trimmed(text.substr(0, equals)).c_str(), key) != 0) continue;
        value = Unquoted(Trimmed(text.substr(equals + 1)));
        found = true;
    }
    fclose(file);
    return found;
}

}  // namespace

DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultText, LPSTR buffer, DWORD size,
                               LPCSTR fileName) {
    if (!buffer || size == 0) return 0;
    std::string value;
    if (!ReadProfileValue(section, key, fileName, value)) {
        value = defaultText ? defaultText : "";
        size_t end = value.find_last_not_of(' ');
        value.erase(end == std::string::npos ? 0 : end + 1);
    }
    CopyText(buffer, size, value);
    return static_cast<DWORD>(strlen(buffer));
}

UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, int defaultValue, LPCSTR fileName) {
    std::string value;
    if (!ReadProfileValue(section, key, fileName, value) || value.empty()) return static_cast<UINT>(defaultValue);
    // Decimal with an optional sign; the digits end at the first other character, none gives 0.
    return static_cast<UINT>(strtol(value.c_str(), nullptr, 10));
}

// Profile writes of the host layer: the system's WritePrivateProfileStringA over the host files.
// Sections and keys match without regard to case; a null value deletes the key, a null key the
// section; a new key goes at the end of its section, a new section at the end of the file.
#include <string>
#include <vector>

#include "host/host.h"

namespace {
std::string IniPath(const char *file) {
    std::string path = file ? file : "";
    if (path.find('\\') == std::string::npos) path = "C:\\WINDOWS\\" + path;
    return path;
}

std::vector<std::string> ReadLines(const char *file) {
    std::vector<std::string> lines;
    HFILE handle = _lopen(IniPath(file).c_str(), OF_READ);
    if (handle == HFILE_ERROR) return lines;
    std::string text;
    char block[4096];
    for (UINT n; (n = _lread(handle, block, sizeof block)) != 0 && n != static_cast<UINT>(HFILE_ERROR);)
        text.append(block, n);
    _lclose(handle);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::string Trim(const std::string &text) {
    size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos) return "";
    size_t end = text.find_last_not_of(" \t");
    return text.substr(begin, end - begin + 1);
}

bool SectionLine(const std::string &line, std::string &name) {
    std::string trimmed = Trim(line);
    if (trimmed.size() < 2 || trimmed[0] != '[') return false;
    size_t close = trimmed.find(']');
    name = Trim(trimmed.substr(1, close == std::string::npos ? std::string::npos : close - 1));
    return true;
}

bool KeyLine(const std::string &line, std::string &key, std::string &value) {
    size_t equals = line.find('=');
    if (equals == std::string::npos) return false;
    key = Trim(line.substr(0, equals));
    value = Trim(line.substr(equals + 1));
    return true;
}
}  // namespace

BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file) {
    if (!section) return FALSE;
    std::vector<std::string> lines = ReadLines(file);
    std::vector<std::string> out;
    std::string current, name, old;
    bool inSection = false, sectionSeen = false, written = false;
    size_t sectionEnd = 0;
    for (const std::string &line : lines) {
        if (SectionLine(line, current)) {
            inSection = lstrcmpiA(current.c_str(), section) == 0;
            if (inSection) sectionSeen = true;
            if (inSection && !key) continue;  // deleting the section
        } else if (inSection) {
            if (!key) continue;
            if (KeyLine(line, name, old) && lstrcmpiA(name.c_str(), key) == 0) {
                if (value && !written) out.push_back(std::string(key) + "=" + value);
                written = true;
                continue;
            }
        }
        out.push_back(line);
        if (inSection && !Trim(line).empty()) sectionEnd = out.size();
    }
    if (key && value && !written) {
        std::string entry = std::string(key) + "=" + value;
        if (sectionSeen) {
            out.insert(out.begin() + static_cast<std::ptrdiff_t>(sectionEnd), entry);
        } else {
            out.push_back(std::string("[") + section + "]");
            out.push_back(entry);
        }
    }
    std::string text;
    for (const std::string &line : out) text += line + "\r\n";
    HFILE handle = _lcreat(IniPath(file).c_str(), 0);
    if (handle == HFILE_ERROR) return FALSE;
    UINT n = _lwrite(handle, text.data(), static_cast<UINT>(text.size()));
    _lclose(handle);
    return n == text.size();
}

// A small product installed the way an installer does it: every change is made on the machine and
// recorded in the install log at the same time, in the log's own format, so that an end-to-end test
// can run the uninstaller on it and then look at the machine.
//
//   Sandbox box;
//   ProductInstall product(box.Path("APP\\INSTALL.LOG"), "Korvel App Installation");
//   product.MakeDir(box.Path("APP"));            // "Made Dir: "
//   product.CopyFile(box.Path("APP\\A.EXE"), "bytes");              // "File Copy: "
//   product.NewIni(box.Path("APP\\A.INI"), "Options", "Colour", "Blue");          // "INI New: " ...
//   product.ChangeIni(path, "Shared", "Owner", "App", "Nobody");    // "INI File: " ... "INI Old: "
//   product.NewRegValue(HKEY_CURRENT_USER, "Software\\KorvelTest\\App", "Version", "1.0");
//   product.ChangeRegValue(HKEY_CURRENT_USER, key, "Owner", "App", "Nobody");  // with "RegDB Old: "
//   product.Save();                              // writes INSTALL.LOG (CR LF lines)
//   ... run KUNINST.EXE on product.LogPath() ...
//   RegText(HKEY_CURRENT_USER, key, "Owner"), IniText(path, "Shared", "Owner"), PathExists(path)
//
// The first line is an ANSI section line ("***  " and a date); Section() opens another one. Registry
// keys are for the test to remove (RemoveRegTree); files live in the sandbox.
#pragma once
#include <windows.h>

#include <string>

namespace e2e {

class ProductInstall {
public:
    ProductInstall(const std::string &logPath, const std::string &title);
    const std::string &LogPath() const { return logPath_; }

    void Section(const std::string &title);        // a later installation or upgrade
    void Line(const std::string &text);            // any record line as it stands
    bool MakeDir(const std::string &path);
    bool CopyFile(const std::string &path, const std::string &bytes, const std::string &backupPath = "");
    bool NewIni(const std::string &path, const std::string &section, const std::string &key,
                const std::string &value);
    bool ChangeIni(const std::string &path, const std::string &section, const std::string &key,
                   const std::string &value, const std::string &oldValue);
    bool NewRegValue(HKEY root, const std::string &key, const std::string &name, const std::string &value);
    bool ChangeRegValue(HKEY root, const std::string &key, const std::string &name, const std::string &value,
                        const std::string &oldValue);
    bool Save() const;

private:
    std::string logPath_;
    std::string log_;
};

// The root code the log uses for a registry root (HKEY_CLASSES_ROOT 0 ... HKEY_CURRENT_CONFIG 4).
int RootCode(HKEY root);
bool SetRegText(HKEY root, const std::string &key, const std::string &name, const std::string &value);
std::string RegText(HKEY root, const std::string &key, const std::string &name, bool *present = nullptr);
bool RegKeyExists(HKEY root, const std::string &key);
bool RemoveRegTree(HKEY root, const std::string &key);
std::string IniText(const std::string &path, const std::string &section, const std::string &key);

}  // namespace e2e

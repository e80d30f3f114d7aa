// Whole runs on an installed product: the product is installed the way an installer does it (files,
// folders, INI entries, registry values, and the INSTALL.LOG that records them), the uninstaller
// runs on it, and the test looks at the machine afterwards.
#include <gtest/gtest.h>

#include <sstream>

#include "driver.h"
#include "product.h"
#include "ui/dialog_ids.h"

using namespace e2e;

namespace {

// The product of these scenarios, in a sandbox folder and a registry key of the test's own.
struct ScenarioProduct {
    const Sandbox &box;
    std::string regKey;
    ProductInstall install;

    ScenarioProduct(const Sandbox &sandbox, const std::string &name)
        : box(sandbox), regKey("Software\\KorvelTest\\" + name),
          install(sandbox.Path("APP\\INSTALL.LOG"), "Korvel Scenario Installation") {
        RemoveRegTree(HKEY_CURRENT_USER, regKey);
    }
    ~ScenarioProduct() { RemoveRegTree(HKEY_CURRENT_USER, regKey); }

    // What an installation finds already there, and then changes.
    bool MachineBefore() {
        return WriteTextFile(box.Path("SHARED.INI"), "[Shared]\r\nOwner=Nobody\r\n") &&
               SetRegText(HKEY_CURRENT_USER, regKey + "\\Shared", "Owner", "Nobody");
    }

    bool Install() {
        return install.MakeDir(box.Path("APP")) && install.CopyFile(box.Path("APP\\APP.EXE"), "program") &&
               install.MakeDir(box.Path("APP\\DATA")) &&
               install.CopyFile(box.Path("APP\\DATA\\SAMPLE.DAT"), "sample") &&
               install.NewIni(box.Path("APP\\APP.INI"), "Options", "Colour", "Blue") &&
               install.ChangeIni(box.Path("SHARED.INI"), "Shared", "Owner", "App", "Nobody") &&
               install.NewRegValue(HKEY_CURRENT_USER, regKey + "\\App", "Version", "1.0") &&
               install.ChangeRegValue(HKEY_CURRENT_USER, regKey + "\\Shared", "Owner", "App", "Nobody") &&
               install.Save();
    }

    // Everything the installation touched, one line each, for comparing two moments.
    std::string State() const {
        std::ostringstream out;
        for (const char *file : {"APP", "APP\\APP.EXE", "APP\\DATA", "APP\\DATA\\SAMPLE.DAT", "APP\\APP.INI"})
            out << file << (PathExists(box.Path(file)) ? " present" : " absent") << "\n";
        out << "APP.INI Colour=" << IniText(box.Path("APP\\APP.INI"), "Options", "Colour") << "\n";
        out << "SHARED.INI Owner=" << IniText(box.Path("SHARED.INI"), "Shared", "Owner") << "\n";
        bool present = false;
        std::string version = RegText(HKEY_CURRENT_USER, regKey + "\\App", "Version", &present);
        out << "App Version " << (present ? "= " + version : "absent") << "\n";
        out << "Shared Owner = " << RegText(HKEY_CURRENT_USER, regKey + "\\Shared", "Owner") << "\n";
        return out.str();
    }
};

}  // namespace

// A user who cancels in the wizard leaves everything as it was installed, the log included.
TEST(Scenario, CancelLeavesTheMachineAsInstalled) {
    Sandbox box;
    ScenarioProduct product(box, "CancelLeavesTheMachineAsInstalled");
    ASSERT_TRUE(product.MachineBefore());
    ASSERT_TRUE(product.Install());
    std::string installed = product.State();
    std::string log = ReadTextFile(product.install.LogPath());
    std::string exe = box.AddProgram();
    ASSERT_FALSE(exe.empty());

    Process program;
    ASSERT_TRUE(program.Start(exe, product.install.LogPath(), box.Dir()));
    HWND wizard = WaitForWindow(program.Id(), "#32770", "Uninstall Korvel Scenario");
    ASSERT_NE(wizard, nullptr) << "no wizard for the installed product";
    ASSERT_TRUE(PostClick(wizard, IDC_CANCEL_BUTTON));
    HWND question = WaitForMessageBox(program.Id());
    ASSERT_NE(question, nullptr) << "Cancel asked nothing";
    ASSERT_TRUE(AnswerMessageBox(question, IDYES));
    DWORD code = 99;
    ASSERT_TRUE(program.WaitExit(kWaitMs, &code)) << "still running after the cancel was confirmed";
    EXPECT_EQ(code, 0u);

    EXPECT_EQ(product.State(), installed);
    EXPECT_EQ(ReadTextFile(product.install.LogPath()), log) << "the log changed";
}

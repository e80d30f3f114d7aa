// The driver itself, against a program every Wine prefix has (its notepad): finding another
// process's windows, reading and setting control texts, answering its message box, reading back
// the screen. When these fail, every end-to-end test would fail for the driver's sake.
#include <gtest/gtest.h>

#include "driver.h"

using namespace e2e;

namespace {

std::string NotepadPath() {
    char dir[MAX_PATH];
    UINT n = GetSystemDirectoryA(dir, sizeof dir);
    return n > 0 && n < sizeof dir ? std::string(dir) + "\\notepad.exe" : std::string();
}

}  // namespace

TEST(Driver, ReadsAnotherProgramsWindowsAndAnswersItsMessageBox) {
    std::string notepad = NotepadPath();
    if (!PathExists(notepad)) GTEST_SKIP() << "no notepad.exe at " << notepad;
    Sandbox box;
    ASSERT_TRUE(box.Write("hello.txt", "driver sees this\r\n"));

    Process program;
    ASSERT_TRUE(program.Start(notepad, box.Path("hello.txt"), box.Dir())) << "error " << GetLastError();
    HWND main = WaitForWindow(program.Id(), "Notepad", nullptr);
    ASSERT_NE(main, nullptr) << "no visible Notepad window";
    EXPECT_NE(WindowText(main).find("hello"), std::string::npos) << "caption " << WindowText(main);
    HWND edit = FindWindowExA(main, nullptr, "Edit", nullptr);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(WindowText(edit), "driver sees this\r\n");

    Picture shot = CaptureWindow(edit);
    ASSERT_GT(shot.width, 20) << "no screen picture";
    EXPECT_EQ(shot.At(shot.width / 2, shot.height - 5), (Rgb{255, 255, 255})) << "edit background";
    EXPECT_FALSE(CaptureScreen().Save("driver_notepad").empty());

    // A changed text makes closing ask whether to save: the question is a message box of its own.
    SendMessageA(edit, EM_SETMODIFY, TRUE, 0);
    PostMessageA(main, WM_CLOSE, 0, 0);
    HWND question = WaitForMessageBox(program.Id());
    ASSERT_NE(question, nullptr) << "no message box";
    EXPECT_NE(MessageBoxText(question).find("hello"), std::string::npos) << MessageBoxText(question);
    EXPECT_FALSE(Click(question, 12345)) << "pressed a button that does not exist";
    ASSERT_TRUE(AnswerMessageBox(question, IDNO));

    DWORD code = 99;
    ASSERT_TRUE(program.WaitExit(kWaitMs, &code)) << "still running after No";
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(ReadTextFile(box.Path("hello.txt")), "driver sees this\r\n") << "answered No, yet saved";
}

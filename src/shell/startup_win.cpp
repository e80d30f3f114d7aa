#include "shell/startup.h"

#include <commdlg.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "engine/paths.h"
#include "engine/replace.h"
#include "log/model.h"
#include "log/reader.h"
#include "shell/background.h"
#include "shell/runstate.h"
#include "shell/settings.h"
#include "shell/text.h"
#include "ui/dialog_ids.h"
#include "ui/widen.h"
#include "ui/wizard.h"

StartupState startup;

void DetectPlatform() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    runState.platform = version.dwPlatformId == VER_PLATFORM_WIN32_NT ? PLATFORM_NT : PLATFORM_OTHER;
    runState.newShell = version.dwMajorVersion >= 4 ? 1 : 0;
}

namespace {

enum : UINT { TEMP_COPY_NUMBER = 6699 };  // with the prefix "QXR": QXR1A2B, the same name every run

char *AllocateText(size_t size) { return static_cast<char *>(calloc(size, 1)); }

// Replaces the last three characters of path (an extension "EXE") by ext.
void ReplaceExtension(char *path, const char *ext) {
    size_t length = strlen(path);
    if (length >= 3) memcpy(path + length - 3, ext, 3);
}

// The program's own path in long form, the settings path beside it and the scratch buffer.
bool DeriveOwnPaths() {
    runState.ownProgramPath = AllocateText(PATH_TEXT_SIZE);
    runState.settingsPath = AllocateText(PATH_TEXT_SIZE);
    runState.scratchBuffer = AllocateText(SCRATCH_BUFFER_SIZE);
    if (!runState.ownProgramPath || !runState.settingsPath || !runState.scratchBuffer) return false;
    GetModuleFileNameA(nullptr, runState.ownProgramPath, PATH_TEXT_SIZE);
    NormalizePath(runState.ownProgramPath, PATH_TEXT_SIZE, true);  // stays as the system gave it when too long
    GetModuleFileNameA(nullptr, runState.settingsPath, PATH_TEXT_SIZE);
    ReplaceExtension(runState.settingsPath, "INI");
    return true;
}

// With an empty tail, the INSTALL.LOG beside the program (its path in short form) becomes the tail.
void FindDefaultLog() {
    if (startup.tail[0]) return;
    char path[PATH_WORK_SIZE];
    CopyText(path, runState.settingsPath);
    NormalizePath(path, sizeof path, false);
    char *name = FileNamePart(path);
    *name = '\0';
    if (!AppendText(path, "INSTALL.LOG")) return;  // a cut name would name some other file
    if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) CopyText(startup.tail, path);
}

// Copies the program into the temporary directory as QXR1A2B.EXE, overwriting an earlier copy.
// A failed copy is not reported: the run goes on as a run with a temporary copy.
void MakeTemporaryCopy() {
    char directory[PATH_TEXT_SIZE];
    char name[MAX_PATH];  // the system writes up to MAX_PATH characters here
    char ownPath[PATH_TEXT_SIZE];
    DWORD n = GetTempPathA(sizeof directory, directory);
    if (n == 0 || n >= sizeof directory) return;
    if (!GetTempFileNameA(directory, "QXR", TEMP_COPY_NUMBER, name)) return;  // no file is created
    ReplaceExtension(name, "EXE");
    if (!CopyText(startup.tempCopyPath, name)) {
        startup.tempCopyPath[0] = '\0';  // too long for the relaunch command: no copy
        return;
    }
    n = GetModuleFileNameA(nullptr, ownPath, sizeof ownPath);
    if (n == 0 || n >= sizeof ownPath) return;
    if (!CopyFileA(ownPath, startup.tempCopyPath, FALSE)) return;
    DeleteAtRestart(startup.tempCopyPath);  // the copy goes at the next restart, started or not
}

void SetUpTemporaryCopy() {
    startup.inPlaceRun = StartsInPlace(startup.tail) ? 1 : 0;
    if (!startup.inPlaceRun) MakeTemporaryCopy();
}

HGLOBAL LoadAndLock(int id, LPCSTR type) {
    HRSRC found = FindResourceA(runState.instance, MAKEINTRESOURCEA(id), type);
    HGLOBAL loaded = found ? LoadResource(runState.instance, found) : nullptr;
    if (loaded) LockResource(loaded);
    return loaded;
}

// Dialogs 106 and 104 and bitmap 106 stay loaded for the whole run; the side picture is bitmap 106.
void LoadResources() {
    startup.wizardTemplate = LoadAndLock(DLG_WIZARD, MAKEINTRESOURCEA(5) /* RT_DIALOG */);
    startup.sharedFileTemplate = LoadAndLock(DLG_SHARED_FILE, MAKEINTRESOURCEA(5));
    startup.sidePictureResource = LoadAndLock(BMP_SIDE_PICTURE, MAKEINTRESOURCEA(2) /* RT_BITMAP */);
    sidePicture = LoadBitmapA(runState.instance, MAKEINTRESOURCEA(BMP_SIDE_PICTURE));
}

void ApplySwitches() {
    CommandLine &line = startup.commandLine;
    ParseCommandTail(startup.tail, &line);
    startup.automaticStart = line.automaticStart;
    runState.silent = line.silent;
    runState.rollback = line.rollback;
    runState.relaunched = line.relaunched;
    runState.windowTitle = line.hasTitle ? line.title : nullptr;
}

template <typename Proc> Proc Entry(HMODULE library, const char *name) {
    return reinterpret_cast<Proc>(reinterpret_cast<void *>(GetProcAddress(library, name)));
}

// The optional 3-D control library: without it, or without one of its entry points, the program
// runs with plain controls.
void LoadCtl3d() {
    SetErrorMode(SEM_NOOPENFILEERRORBOX);  // a missing library shows no error box; the mode stays
    startup.ctl3dLibrary = LoadLibraryA("CTL3D32.DLL");
    if (!startup.ctl3dLibrary) return;
    auto ctl3dRegister = Entry<Ctl3dInstanceProc>(startup.ctl3dLibrary, "Ctl3dRegister");
    startup.ctl3dUnregister = Entry<Ctl3dInstanceProc>(startup.ctl3dLibrary, "Ctl3dUnregister");
    auto ctl3dAutoSubclass = Entry<Ctl3dInstanceProc>(startup.ctl3dLibrary, "Ctl3dAutoSubclass");
    ctl3dSubclassDlgEx = Entry<Ctl3dSubclassDlgExProc>(startup.ctl3dLibrary, "Ctl3dSubclassDlgEx");
    if (!ctl3dRegister || !ctl3dRegister(runState.instance)) return;
    runState.ctl3dRegistered = 1;
    // The new shell draws 3-D controls itself; older shells get every dialog subclassed.
    if (!runState.newShell && ctl3dAutoSubclass) ctl3dAutoSubclass(runState.instance);
}

// Asks for the install log with the open-file dialog; the log path stays empty when the user cancels.
void ChooseLogFile() {
    // The filter: message 1, its zero, "install.log", its zero and one more zero, in 256 bytes.
    static const char kPattern[] = "install.log";
    char filter[256] = {};
    const size_t nameSize = sizeof filter - sizeof kPattern - 1;
    LoadMessageText(runState.instance, MSG_LOG_FILTER, filter, nameSize);
    memcpy(filter + strlen(filter) + 1, kPattern, sizeof kPattern);

    char file[256];
    CopyText(file, "INSTALL.LOG");
    OPENFILENAMEA dialog;
    memset(&dialog, 0, sizeof dialog);
    // The original record without the later additions, which every version of the dialog accepts.
    dialog.lStructSize = offsetof(OPENFILENAMEA, lpTemplateName) + sizeof dialog.lpTemplateName;
    dialog.hwndOwner = runState.mainWindow;
    dialog.hInstance = runState.instance;
    dialog.lpstrFilter = filter;
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof file;
    dialog.Flags = OFN_FILEMUSTEXIST;
    if (GetOpenFileNameA(&dialog)) CopyText(startup.logPath, file);
}

void FindLogPath() {
    if (startup.commandLine.remainder[0])
        CopyText(startup.logPath, startup.commandLine.logPath);
    else
        ChooseLogFile();
}

void ReleaseResources() {
    if (sidePicture) DeleteObject(sidePicture);
    sidePicture = nullptr;
    // Released as they were acquired; on Win32 this changes nothing, the image stays mapped.
    HGLOBAL *held[] = {&startup.wizardTemplate, &startup.sharedFileTemplate, &startup.sidePictureResource};
    for (HGLOBAL *resource : held) {
        if (*resource) FreeResource(*resource);
        *resource = nullptr;
    }
}

void ReleaseCtl3d() {
    // Unregistered even when the registration failed, as the library expects one call per load.
    if (startup.ctl3dUnregister) startup.ctl3dUnregister(runState.instance);
    if (startup.ctl3dLibrary) FreeLibrary(startup.ctl3dLibrary);
    startup.ctl3dUnregister = nullptr;
    startup.ctl3dLibrary = nullptr;
    ctl3dSubclassDlgEx = nullptr;
}

// The self-removal step. An in-place run deletes its settings file. A run with a temporary copy
// starts that copy when the uninstall asked to delete the program's own file; the copy waits for
// this process to end and removes the program. The running program's own file is never asked to be
// deleted here: Windows refuses it anyway, and elsewhere it would go even when the log did not list it.
void RemoveSelf() {
    char path[PATH_WORK_SIZE];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    if (n == 0 || n >= sizeof path) return;
    if (startup.inPlaceRun) {
        ReplaceExtension(path, "INI");
        OFSTRUCT info;
        OpenFile(path, &info, OF_DELETE);  // a missing settings file is fine
        return;
    }
    if (!runState.ownFileTouched || !startup.tempCopyPath[0]) return;
    NormalizePath(path, sizeof path, false);
    // WinExec takes the first blank-separated word as the program: the short form has no blanks.
    char copy[PATH_WORK_SIZE];
    CopyText(copy, startup.tempCopyPath);
    NormalizePath(copy, sizeof copy, false);
    char command[256];
    if (!FormatText(command, sizeof command, "%s /z %s %s", copy, path, startup.logDirectory)) return;
    WinExec(command, SW_SHOW);  // a failed start changes nothing more: the program file stays
}

void FreeText(char *&text) {
    free(text);
    text = nullptr;
}

}  // namespace

void EndOfRun() {
    if (runState.mainWindow) DestroyWindow(runState.mainWindow);
    DrainUntilQuit();
    runState.mainWindow = nullptr;
    ReleaseCtl3d();
    FreeText(runState.settingsPath);
    FreeText(runState.ownProgramPath);
    FreeItemModel();
    ReleaseResources();
    // The restart program for Windows NT is written here when a restart is wanted.
    if (dialogFont) DeleteObject(dialogFont);
    dialogFont = nullptr;
    if (runState.titleFont) DeleteObject(runState.titleFont);
    runState.titleFont = nullptr;
    RemoveSelf();
    FreeText(runState.scratchBuffer);
    if (runState.gradientPalette) DeleteObject(runState.gradientPalette);
    runState.gradientPalette = nullptr;
    // The restart of the machine, when one is still wanted, comes last.
}

namespace {

// Platform, paths, temporary copy, resources, switches, appearance and the background window.
// False when the window cannot be registered or created: the program then simply ends.
bool StartUp(HINSTANCE instance, const char *commandTail) {
    runState.instance = instance;
    DetectPlatform();
    if (!DeriveOwnPaths()) return false;  // no memory for the program's own paths: nothing can run
    CopyText(startup.tail, commandTail);
    FindDefaultLog();
    SetUpTemporaryCopy();
    LoadResources();
    ApplySwitches();
    ReadGradientSettings();
    CreateTitleFontAndPalette();
    // Under Win32 there is never a previous instance, so the class is always registered.
    return RegisterMainClass(instance) && CreateMainWindow(instance);
}

// A copy started by the relaunch command: lower-case /z with the program to remove after it.
bool IsRelaunchedRun() { return runState.relaunched && startup.commandLine.remainder[0]; }

// Reads the install log under the wait cursor; 0 when the whole log was read.
int ReadLogWithWaitCursor() {
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    int result = ReadInstallLog(startup.logPath, startup.logDirectory);
    SetCursor(previous);
    return result;
}

// The ordinary run: 3-D controls, the log path and the buffers; without a log there is nothing to do.
void RunMainPath() {
    LoadCtl3d();
    FindLogPath();
    if (!AllocateItemModel()) return;  // no memory for the records: end the run
    if (!startup.logPath[0]) return;
    if (ReadLogWithWaitCursor() != 0) return;  // the reader has told the user why
    RunWizard(startup.automaticStart != 0);
    // The uninstall (unless cancelled) and the restart prompt join here, in this order.
    if (!runState.silent && runState.wizardWindow) DestroyWindow(runState.wizardWindow);
    runState.wizardWindow = nullptr;
    // The status file joins here.
}

}  // namespace

int RunProgram(HINSTANCE instance, const char *commandTail) {
    if (!StartUp(instance, commandTail)) return 0;
    // The relaunched copy's own run (removing the program it was started for) joins here.
    if (!IsRelaunchedRun()) RunMainPath();
    EndOfRun();
    return 0;
}

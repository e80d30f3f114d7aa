// The install log reader: sections, header, markers, the record dispatch, and the records about
// files and directories. The configuration records are in config.cpp.
#include "log/reader.h"

#include <cstdlib>
#include <cstring>

#include "engine/paths.h"
#include "log/linereader.h"
#include "log/model.h"
#include "log/scan.h"
#include "shell/runstate.h"
#include "shell/settings.h"
#include "shell/text.h"

namespace {
constexpr std::string_view kSectionMark = "*** ";
constexpr std::string_view kTitle = "Title:";
constexpr std::string_view kFileCopy = "File Copy: ";
constexpr std::string_view kShellLink = "Shell Link: ";
constexpr std::string_view kFileOverwrite = "File Overwrite: ";
constexpr std::string_view kFileEdit = "File Edit: ";
constexpr std::string_view kBackupCopy = "Backup Copy: ";
constexpr std::string_view kAddDevice = "Add Device: ";
constexpr std::string_view kSelfRegister = "Self-Register: ";
constexpr std::string_view kMadeDir = "Made Dir: ";
constexpr std::string_view kFileTree = "File Tree: ";
constexpr char kSharedDllsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
constexpr REGSAM kSharedDllsAccess = 0x3F;
constexpr DWORD kRightsCheckAccess = 0xE0000000;  // GENERIC_READ | GENERIC_WRITE | GENERIC_EXECUTE

struct HeaderKey {
    std::string_view key;
    char (LogHeader::*field)[128];
};
constexpr HeaderKey kHeaderKeys[] = {
    {"Uninstall MIF: ", &LogHeader::mifPath},
    {"Manufacturer: ", &LogHeader::manufacturer},
    {"Product: ", &LogHeader::product},
    {"Version Number: ", &LogHeader::versionNumber},
    {"Serial Number: ", &LogHeader::serialNumber},
};
}  // namespace

// ---------------------------------------------------------------------------------------------
// Line helpers shared with config.cpp

bool NextLogLine(LogScan &scan) {
    ReadLine(scan.line, sizeof scan.line, scan.file, 0);
    scan.lineCut = lineReader.lineCut;
    return scan.line[0] != '\0';
}

bool LineIs(const LogScan &scan, std::string_view keyword) {
    // A cut line's value would name another file or a parent directory: never act on it.
    return !scan.lineCut && StartsWithNoCase(scan.line, keyword);
}

const char *ValueAt(const LogScan &scan, size_t offset) {
    size_t length = strlen(scan.line);
    return offset <= length ? scan.line + offset : scan.line + length;
}

uint16_t CurrentSection() { return readerResults.sectionCount; }

bool OnRemovableDrive(const LogScan &scan, const char *path) {
    if (StartsWithNoCase(path, "A:")) return scan.driveARemovable;
    if (StartsWithNoCase(path, "B:")) return scan.driveBRemovable;
    return false;
}

void ConvertIfOem(const LogScan &scan, char *text) {
    if (!scan.sectionIsAnsi) OemToCharA(text, text);
}

int32_t ReadDecimal(const char *text) {
    while (*text == ' ' || (*text >= '\t' && *text <= '\r')) text++;
    bool negative = *text == '-';
    if (*text == '-' || *text == '+') text++;
    int64_t value = 0;
    for (; *text >= '0' && *text <= '9'; text++) {
        if (value <= INT32_MAX) value = value * 10 + (*text - '0');  // saturates, never overflows
    }
    if (negative) value = -value;
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

// ---------------------------------------------------------------------------------------------
// Failures

enum : size_t { MESSAGE_TEXT_SIZE = 256 };

// Tells the user why the log cannot be used; the caption is a message id too.
static void ReportFailure(UINT messageId, UINT captionId) {
    char text[MESSAGE_TEXT_SIZE];
    char caption[MESSAGE_TEXT_SIZE];
    LoadMessageText(runState.instance, static_cast<int>(messageId), text, sizeof text);
    LoadMessageText(runState.instance, static_cast<int>(captionId), caption, sizeof caption);
    MessageBoxA(runState.mainWindow, text, caption, MB_OK);
}

// ---------------------------------------------------------------------------------------------
// Preparation

// The directory of a full path with a backslash appended, or false when there is none.
static bool DirectoryOf(const char *path, char *directory, size_t size) {
    const char *name = FileNamePart(path);
    if (name == path) return false;
    return CopyText(directory, size, std::string_view(path, static_cast<size_t>(name - path)));
}

// logDirectory starts as the log's own directory in short form.
static void PrepareLogDirectory(const char *logPath, char *logDirectory) {
    logDirectory[0] = '\0';
    if (!DirectoryOf(logPath, logDirectory, LOG_DIRECTORY_SIZE)) return;
    size_t length = strlen(logDirectory);
    // A log in a drive's root: the bare drive "C:" would be taken as a relative name, so the
    // root itself (with its backslash) is the log's directory.
    if (length == 3 && logDirectory[1] == ':') return;
    logDirectory[length - 1] = '\0';
    NormalizePath(logDirectory, LOG_DIRECTORY_SIZE, false);
    AppendText(logDirectory, LOG_DIRECTORY_SIZE, "\\");
}

// The Windows or system directory, with or without a trailing backslash.
static void QueryDirectory(bool system, char (&directory)[MAX_PATH], bool withBackslash) {
    UINT n = system ? GetSystemDirectoryA(directory, MAX_PATH) : GetWindowsDirectoryA(directory, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) directory[0] = '\0';
    size_t length = strlen(directory);
    if (withBackslash && (length == 0 || directory[length - 1] != '\\')) AppendText(directory, "\\");
}

// The log's own directory is offered for removal unless it is a root, the Windows or system
// directory, or one of their ancestors.
static void AddOwnDirectory(const char *logPath) {
    char own[PATH_WORK_SIZE];
    if (!CopyText(own, logPath)) return;
    NormalizePath(own, sizeof own, true);
    char *name = FileNamePart(own);
    *name = '\0';
    size_t length = strlen(own);
    if (length <= 3) return;
    char systemDir[MAX_PATH];
    char windowsDir[MAX_PATH];
    QueryDirectory(true, systemDir, true);
    QueryDirectory(false, windowsDir, true);
    if (StartsWithNoCase(systemDir, own) || StartsWithNoCase(windowsDir, own)) return;
    DirectoryItem *item = AppendItem(DirectoryList);
    if (!item) return;
    CopyText(item->path, own);
    item->index = OWN_DIRECTORY_INDEX;
}

static void Prepare(LogScan &scan, const char *logPath) {
    PrepareLogDirectory(logPath, scan.logDirectory);
    scan.driveARemovable = GetDriveTypeA("A:\\") == DRIVE_REMOVABLE;
    scan.driveBRemovable = GetDriveTypeA("B:\\") == DRIVE_REMOVABLE;
    AddOwnDirectory(logPath);
    QueryDirectory(false, scan.windowsDirectory, false);
    QueryDirectory(true, scan.systemDirectory, false);
    CopyText(scan.win32sDirectory, scan.systemDirectory);
    AppendText(scan.win32sDirectory, "\\WIN32S");
    CopyText(readerResults.systemDirectory, MAX_PATH, scan.systemDirectory);
}

// ---------------------------------------------------------------------------------------------
// First section and title

// The product title: the title text without a trailing " INSTALLATION" or " INSTALL".
static void TakeTitle(const LogScan &scan) {
    char *title = logHeader.productTitle;
    CopyText(title, PRODUCT_TITLE_SIZE, ValueAt(scan, kTitle.size() + 1));
    size_t length = strlen(title);
    constexpr std::string_view kInstallation = " INSTALLATION";
    constexpr std::string_view kInstall = " INSTALL";
    if (length > kInstallation.size() && EqualsNoCase(title + length - kInstallation.size(), kInstallation)) {
        length -= kInstallation.size();
        title[length] = '\0';
    }
    if (length > kInstall.size() && EqualsNoCase(title + length - kInstall.size(), kInstall)) {
        length -= kInstall.size();
        title[length] = '\0';
    }
}

static void SetCaption() {
    if (runState.windowTitle) return;  // the command line's title stays
    char uninstall[MESSAGE_TEXT_SIZE];
    char caption[MESSAGE_TEXT_SIZE + PRODUCT_TITLE_SIZE];
    LoadMessageText(runState.instance, MSG_UNINSTALL, uninstall, sizeof uninstall);
    FormatText(caption, sizeof caption, "%s %s", uninstall, logHeader.productTitle);
    SetWindowTextA(runState.mainWindow, caption);
}

// Counts a section; its character set is given by the fifth character of its line.
static void OpenSection(LogScan &scan) {
    // Beyond 65535 sections the count stays at the last number rather than wrapping to 0, which
    // would make every later record unusable.
    if (readerResults.sectionCount < UINT16_MAX) readerResults.sectionCount++;
    scan.sectionIsAnsi = strlen(scan.line) > 4 && scan.line[4] == ' ';
}

// The first line must open a section; records start after the "Title:" line. Returns false when
// the log is not an install log.
static bool ReadFirstSection(LogScan &scan) {
    NextLogLine(scan);
    OpenSection(scan);
    if (strncmp(scan.line, kSectionMark.data(), kSectionMark.size()) != 0) return false;
    do {
        if (!NextLogLine(scan)) return false;
    } while (strncmp(scan.line, kTitle.data(), kTitle.size()) != 0);
    TakeTitle(scan);
    SetCaption();
    return true;
}

// ---------------------------------------------------------------------------------------------
// Section, header and rights

// Returns false when the administrator-rights check failed (already reported).
static bool ExamineSectionAndHeader(LogScan &scan) {
    if (StartsWithNoCase(scan.line, kSectionMark)) {
        OpenSection(scan);
        readerResults.lastSectionOffset = lineReader.lineStart;
    } else if (!scan.lineCut) {
        for (const HeaderKey &header : kHeaderKeys) {
            if (!StartsWithNoCase(scan.line, header.key)) continue;
            CopyText(logHeader.*header.field, scan.line + header.key.size());
            break;
        }
    }
    if (!EqualsNoCase(scan.line, "User Rights: Admin")) return true;
    if (runState.platform != PLATFORM_NT || scan.rightsChecked) return true;
    scan.rightsChecked = true;
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, kRightsCheckAccess);
    if (!manager) {
        ReportFailure(MSG_ADMIN_RIGHTS, MSG_UNINSTALL);
        return false;
    }
    CloseServiceHandle(manager);
    return true;
}

// Marker lines qualify the record on the line after them. Returns false when the line after a
// marker opens a section: it is then examined as a section line, and the markers lapse.
static bool ReadMarkers(LogScan &scan) {
    scan.nonSystemMarker = EqualsNoCase(scan.line, "Non-System File:");
    if (scan.nonSystemMarker) NextLogLine(scan);
    scan.counterIgnoredMarker = EqualsNoCase(scan.line, "Shared DLL counter ignored:");
    if (scan.counterIgnoredMarker) NextLogLine(scan);
    if ((scan.nonSystemMarker || scan.counterIgnoredMarker) && StartsWithNoCase(scan.line, kSectionMark)) {
        // Skipping it would lose a section: the later records would take the wrong index and a
        // rollback would cut the log at the wrong place.
        scan.lookAhead = true;
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// Installed, edited, device and self-registration records

// The optional "Backup Copy: " line after a file record; an empty path when it is not there.
static void ReadBackupLine(LogScan &scan, char (&backup)[MAX_PATH]) {
    backup[0] = '\0';
    NextLogLine(scan);
    if (LineIs(scan, kBackupCopy)) {
        CopyText(backup, ValueAt(scan, kBackupCopy.size()));
        ConvertIfOem(scan, backup);
    } else {
        scan.lookAhead = true;
    }
}

// Whether the file is counted under the system's SharedDLLs key.
static bool IsSharedFile(const char *path) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSharedDllsKey, 0, kSharedDllsAccess, &key) != ERROR_SUCCESS)
        return false;  // no key: nothing is counted as shared
    BYTE data[256];
    DWORD size = sizeof data;
    DWORD type = 0;
    bool found = RegQueryValueExA(key, path, nullptr, &type, data, &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    return found;
}

static bool IsSystemLocation(const LogScan &scan, const char *path) {
    const char *name = FileNamePart(path);
    if (name == path) return false;
    std::string_view directory(path, static_cast<size_t>(name - path - 1));
    return EqualsNoCase(directory, scan.windowsDirectory) || EqualsNoCase(directory, scan.systemDirectory) ||
           EqualsNoCase(directory, scan.win32sDirectory);
}

template <typename Item> static Item *FindByPath(const ItemList<Item> &list, const char *path) {
    for (int32_t i = 0; i < list.count; i++) {
        if (EqualsNoCase(list.items[i]->path, path)) return list.items[i];
    }
    return nullptr;
}

static void ReadInstalledFile(LogScan &scan) {
    bool link = scan.line[0] == 'S';
    bool copy = !link && scan.line[5] == 'C';
    size_t keyword = link ? kShellLink.size() : copy ? kFileCopy.size() : kFileOverwrite.size();
    char path[MAX_PATH];
    CopyText(path, ValueAt(scan, keyword));
    ConvertIfOem(scan, path);
    bool overwriteNotShared = !link && !copy;
    if (overwriteNotShared && runState.newShell && IsSharedFile(path)) overwriteNotShared = false;
    char backup[MAX_PATH];
    ReadBackupLine(scan, backup);
    if (backup[0]) readerResults.backupsPresent = 1;
    if (OnRemovableDrive(scan, path) || (overwriteNotShared && !backup[0]) || !FileExists(path)) return;

    bool system = IsSystemLocation(scan, path);
    ItemList<FileItem> &list = system ? SystemFileList : PrivateFileList;
    uint16_t section = CurrentSection();
    if (FileItem *item = FindByPath(list, path)) {
        item->copyIndex = section;
        if (!scan.counterIgnoredMarker) item->sharedCountIndex = section;
        if (backup[0]) {
            CopyText(item->backupPath, backup);
            item->backupIndex = section;
        }
        return;
    }
    FileItem *item = AppendItem(list);
    if (!item) return;  // the list is full: the record is dropped, the log is still read
    CopyText(item->path, path);
    CopyText(item->backupPath, backup);
    item->selected = system && scan.nonSystemMarker ? 1 : 0;
    item->removeByDefault = !overwriteNotShared && !backup[0] ? 1 : 0;
    item->copyIndex = item->backupIndex = section;
    item->sharedCountIndex = scan.counterIgnoredMarker ? 0 : section;
}

static void ReadEditedFile(LogScan &scan) {
    char path[MAX_PATH];
    CopyText(path, ValueAt(scan, kFileEdit.size()));
    ConvertIfOem(scan, path);
    char backup[MAX_PATH];
    ReadBackupLine(scan, backup);
    if (OnRemovableDrive(scan, path) || !backup[0] || !FileExists(path)) return;
    uint16_t section = CurrentSection();
    if (EditedFileItem *item = FindByPath(EditedFileList, path)) {
        item->index = section;
        CopyText(item->backupPath, backup);
        return;
    }
    EditedFileItem *item = AppendItem(EditedFileList);
    if (!item) return;
    CopyText(item->path, path);
    CopyText(item->backupPath, backup);
    item->index = section;
}

static void MarkDevice(const LogScan &scan) {
    char path[MAX_PATH];
    CopyText(path, ValueAt(scan, kAddDevice.size()));
    ConvertIfOem(scan, path);
    for (ItemList<FileItem> *list : {&PrivateFileList, &SystemFileList}) {
        for (int32_t i = 0; i < list->count; i++) {
            if (EqualsNoCase(list->items[i]->path, path)) list->items[i]->deviceIndex = CurrentSection();
        }
    }
}

// The long forms of the file records' paths, each made once when a "Self-Register: " line first
// needs it: normalising every path again for every such line would search the disk for each
// component of each record, which at full lists takes hours. Paths never change while the log
// is read, so the forms stay true.
namespace {
struct LongForms {
    char (*paths)[PATH_WORK_SIZE];  // one per record of the list, made on first use
    int32_t made;                   // records whose form is made
};
LongForms privateForms;
LongForms systemForms;
}  // namespace

static void ForgetLongForms() {
    for (LongForms *forms : {&privateForms, &systemForms}) {
        free(forms->paths);
        *forms = LongForms{};
    }
}

// The long form of record i of list; made into buffer when the forms cannot be kept.
static const char *LongFormOf(const ItemList<FileItem> &list, LongForms &forms, int32_t i, char (&buffer)[PATH_WORK_SIZE]) {
    if (!forms.paths) forms.paths = static_cast<char (*)[PATH_WORK_SIZE]>(calloc(ITEM_CAPACITY, PATH_WORK_SIZE));
    char *form = forms.paths ? forms.paths[i] : buffer;
    if (!forms.paths || i >= forms.made) {
        CopyText(form, PATH_WORK_SIZE, list.items[i]->path);
        NormalizePath(form, PATH_WORK_SIZE, true);
        if (forms.paths) forms.made = i + 1;
    }
    return form;
}

static void MarkSelfRegister(const LogScan &scan) {
    char wanted[PATH_WORK_SIZE];
    CopyText(wanted, ValueAt(scan, kSelfRegister.size()));
    ConvertIfOem(scan, wanted);
    NormalizePath(wanted, sizeof wanted, true);
    struct {
        ItemList<FileItem> *list;
        LongForms *forms;
    } lists[] = {{&PrivateFileList, &privateForms}, {&SystemFileList, &systemForms}};
    for (const auto &each : lists) {
        for (int32_t i = 0; i < each.list->count; i++) {
            char buffer[PATH_WORK_SIZE];
            if (EqualsNoCase(LongFormOf(*each.list, *each.forms, i, buffer), wanted))
                each.list->items[i]->selfRegisterIndex = CurrentSection();
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Directory records

// A directory value with the backslash appended is usable when it is absolute and not a bare root.
static bool IsUsableDirectory(const char *path) {
    size_t length = strlen(path);
    if (length <= 3) return false;
    if (path[0] == '\\' && path[1] == '\\') return true;
    char letter = static_cast<char>(path[0] | 0x20);
    return letter >= 'a' && letter <= 'z' && path[1] == ':' && path[2] == '\\';
}

// logDirectory rises to a created directory that contains it.
static void CutLogDirectory(const LogScan &scan, const char *directory) {
    char normal[PATH_WORK_SIZE];
    CopyText(normal, directory);
    NormalizePath(normal, sizeof normal, false);
    size_t length = strlen(normal);
    if (StartsWithNoCase(scan.logDirectory, normal)) scan.logDirectory[length] = '\0';
}

static void ReadMadeDir(LogScan &scan) {
    char path[MAX_PATH];
    CopyText(path, ValueAt(scan, kMadeDir.size()));
    ConvertIfOem(scan, path);
    AppendText(path, "\\");
    CutLogDirectory(scan, path);
    if (!IsUsableDirectory(path)) return;
    size_t length = strlen(path);
    for (int32_t i = 0; i < DirectoryList.count; i++) {
        DirectoryItem *item = DirectoryList.items[i];
        size_t n = strlen(item->path);
        if (length < n) n = length;
        // One contains the other: the item becomes the outer of the two.
        if (!EqualsNoCase(std::string_view(item->path, n), std::string_view(path, n))) continue;
        item->path[n] = '\0';
        item->index = CurrentSection();
        return;
    }
    DirectoryItem *item = AppendItem(DirectoryList);
    if (!item) return;
    CopyText(item->path, path);
    item->index = CurrentSection();
}

static void ReadFileTree(LogScan &scan) {
    char path[MAX_PATH];
    CopyText(path, ValueAt(scan, kFileTree.size()));
    ConvertIfOem(scan, path);
    size_t length = strlen(path);
    if (length >= 4 && strcmp(path + length - 4, "\\*.*") == 0) path[length - 4] = '\0';
    AppendText(path, "\\");
    if (!IsUsableDirectory(path)) return;
    uint16_t section = CurrentSection();
    DirectoryItem *item = FindByPath(DirectoryList, path);
    if (!item) {
        item = AppendItem(DirectoryList);
        if (!item) return;
        CopyText(item->path, path);
    }
    item->treeIndex = item->index = section;
}

// ---------------------------------------------------------------------------------------------
// Dispatch and main loop

namespace {
struct Record {
    std::string_view keyword;
    void (*read)(LogScan &scan);
};
void ReadDevice(LogScan &scan) { MarkDevice(scan); }
void ReadSelfRegister(LogScan &scan) { MarkSelfRegister(scan); }
// The order in which keywords are tested.
constexpr Record kRecords[] = {
    {kFileCopy, ReadInstalledFile},
    {kShellLink, ReadInstalledFile},
    {kFileOverwrite, ReadInstalledFile},
    {kFileEdit, ReadEditedFile},
    {"Create Service: ", ReadServiceRecord},
    {kAddDevice, ReadDevice},
    {kSelfRegister, ReadSelfRegister},
    {"INI New: ", ReadIniNewRecord},
    {"INI File: ", ReadIniFileRecord},
    {"Execute Path: ", ReadProgramRecord},
    {"Execute Program: ", ReadProgramRecord},
    {"Icon Group: ", ReadIconRecord},
    {"SubSystem: B", ReadSubSystemRecord},
    {kMadeDir, ReadMadeDir},
    {kFileTree, ReadFileTree},
    {"RegDB Tree: ", ReadRegTreeRecord},
    {"RegDB Key: ", ReadRegKeyRecord},
};
}  // namespace

static void Dispatch(LogScan &scan) {
    for (const Record &record : kRecords) {
        if (!LineIs(scan, record.keyword)) continue;
        record.read(scan);
        return;
    }
}

// Reads every record after the title line. Returns false when the rights check failed.
static bool ReadRecords(LogScan &scan) {
    NextLogLine(scan);
    while (scan.line[0] != '\0') {
        scan.lookAhead = false;
        if (!ExamineSectionAndHeader(scan)) return false;
        if (ReadMarkers(scan)) Dispatch(scan);
        if (!scan.lookAhead) NextLogLine(scan);
    }
    return true;
}

int ReadInstallLog(const char *logPath, char *logDirectory) {
    static LogScan scan;  // 1 KB of paths: kept off the stack
    scan = LogScan{};
    scan.logDirectory = logDirectory;
    Prepare(scan, logPath);
    scan.file = _lopen(logPath, OF_READ);
    if (scan.file == HFILE_ERROR) {
        ReportFailure(MSG_CANNOT_OPEN, MSG_PRODUCT_NAME);
        return 1;
    }
    ResetLineReader();
    int result = 0;
    if (!ReadFirstSection(scan)) {
        ReportFailure(MSG_INVALID_LOG, MSG_PRODUCT_NAME);
        result = 1;
    } else if (!ReadRecords(scan)) {
        result = 1;
    }
    _lclose(scan.file);
    ForgetLongForms();
    return result;
}

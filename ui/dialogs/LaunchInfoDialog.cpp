// The launch-information dialog: reading and writing the executant, the program choosers,
// the pages and the keyboard hand-off between the dialog and its pages.
#include "LaunchInfoDialog.h"

#include <cstdio>
#include <cstring>

#include "DataExchange.h"
#include "EditorIds.h"
#include "Executant.h"
#include "FileDialog.h"
#include "FolderChooser.h"
#include "PathText.h"
#include "StringClass.h"
#include "SystemUtilities.h"

namespace {

constexpr int kArgumentsMaxBytes = 255;
// Short enough that OK needs more: "a.exe" is the shortest sensible program name.
constexpr size_t kShortestFileName = 5;
// No OFN_NODEREFERENCELINKS: a chosen shortcut yields the path of its target.
constexpr DWORD kFileDialogFlags = 0x00A8180C;
constexpr char kProgramFilter[] = "実行ファイル(*.exe;*.cmd)|*.exe;*.cmd|すべて(*.*)|*.*||";
constexpr char kQuickLaunchFilter[] = "実行ファイル(*.exe;*.cmd;*.bat)|*.exe;*.cmd;*.bat|すべて(*.*)|*.*||";
constexpr char kDocumentFilter[] = "すべて(*.*)|*.*||";
constexpr char kNothingToOpen[] = "開くﾌｧｲﾙを起動引数に指定してください.";

constexpr char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr char kMapGroupsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\GrpConv\\MapGroups";
constexpr char kQuickLaunchSuffix[] = "\\Microsoft\\Internet Explorer\\Quick Launch";

bool UsableFolder(const char* path)
{
    UINT driveType = 0;
    return path[0] != '\0' && CheckDirectory(path, &driveType) == 1;
}

void CurrentDirectory(char* text, DWORD size)
{
    const DWORD length = ::GetCurrentDirectoryA(size, text);
    if (length == 0 || length >= size) text[0] = '\0';
}

std::string FolderOf(const std::string& path)
{
    std::string folder = FolderPart(path.c_str());
    StripTrailingSeparator(folder);
    return folder;
}

int ShowModeIndex(int showMode)
{
    switch (showMode) {
    case kShowMinimized: return 1;
    case kShowMaximized: return 2;
    default: return 0;
    }
}

const char* ShowModeText(int index)
{
    switch (index) {
    case 1: return "2";
    case 2: return "3";
    default: return "1";
    }
}

}  // namespace

bool ReadRegistryText(HKEY root, const char* key, const char* name, char* text, DWORD size)
{
    text[0] = '\0';
    HKEY opened = nullptr;
    if (::RegOpenKeyExA(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    DWORD type = 0;
    DWORD bytes = size;
    const LONG status = ::RegQueryValueExA(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &bytes);
    ::RegCloseKey(opened);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ) || bytes > size) {
        // ERROR_MORE_DATA leaves the buffer undefined: a value that does not fit is no value.
        text[0] = '\0';
        return false;
    }
    // The registry does not promise the terminating zero.
    if (bytes > 0 && text[bytes - 1] == '\0') return true;
    if (bytes < size) {
        text[bytes] = '\0';
        return true;
    }
    text[0] = '\0';
    return false;
}

std::string FindQuickLaunchFolder()
{
    char folder[MAX_PATH] = "";
    if (ReadRegistryText(HKEY_CURRENT_USER, kShellFoldersKey, "AppData", folder, sizeof(folder)) &&
        folder[0] != '\0') {
        if (std::strlen(folder) + std::strlen(kQuickLaunchSuffix) < sizeof(folder)) {
            std::strcat(folder, kQuickLaunchSuffix);
            if (!UsableFolder(folder)) folder[0] = '\0';
        } else {
            folder[0] = '\0';
        }
    }
    if (folder[0] == '\0') {
        ReadRegistryText(HKEY_CURRENT_USER, kMapGroupsKey, "Quick Launch", folder, sizeof(folder));
        if (folder[0] == '\0') CurrentDirectory(folder, sizeof(folder));
    }
    if (!UsableFolder(folder)) CurrentDirectory(folder, sizeof(folder));
    return folder;
}

LaunchInfoDialog::LaunchInfoDialog() : Dialog(IDD_LAUNCH_INFO) {}

void LaunchInfoDialog::DoDataExchange(DataExchange& dx)
{
    // The file name comes last: loading it raises the text-update handler, which saves
    // all three, so the other two must already stand in their controls.
    dx.Text(IDC_LI_ARGUMENTS, arguments, kArgumentsMaxBytes);
    dx.Text(IDC_LI_WORKING_DIR, workingDirectory);
    dx.Text(IDC_LI_FILE_NAME, fileName);
}

BOOL LaunchInfoDialog::OnInitDialog()
{
    HWND tabs = Item(IDC_LI_TABS);
    TCITEMA tab = {};
    tab.mask = TCIF_TEXT;
    tab.pszText = const_cast<char*>("表示属性");
    TabCtrl_InsertItem(tabs, 0, &tab);
    tab.pszText = const_cast<char*>("ｱﾄﾞﾊﾞﾝｽﾄ");
    TabCtrl_InsertItem(tabs, 1, &tab);
    TabCtrl_SetCurSel(tabs, 0);

    largeIcon = nullptr;
    smallIcon = nullptr;
    shellMode = executant != nullptr && executant->ShellExec != 0;
    ReadExecutant();

    HWND host = Item(IDC_LI_PAGE_HOST);
    if (geometryPage.CreateEmbedded(host) == nullptr || controlPage.CreateEmbedded(host) == nullptr) {
        EndDialog(-1);
        return TRUE;
    }
    geometryPage.owner = this;
    controlPage.owner = this;
    opened_ = true;

    geometryPage.UpdateData(false);
    controlPage.UpdateData(false);
    ::ShowWindow(geometryPage.Handle(), SW_SHOWNA);
    ::ShowWindow(controlPage.Handle(), SW_HIDE);

    UpdateData(false);
    RefreshProgramIcon();
    UpdateControlStates();
    return TRUE;
}

void LaunchInfoDialog::ReadExecutant()
{
    if (executant == nullptr) return;
    const Executant& e = *executant;
    fileName = e.FileName.Text();
    arguments = e.Arguments.Text();
    const KeyValueClass* path = e.Settings.Find(e.KeyName(kKeyPath));
    workingDirectory = path != nullptr ? path->value.Text() : "";

    geometryPage.showState = ShowModeIndex(e.SettingNumber(kKeyShowMode));
    geometryPage.positionGiven = e.HasPosition != 0;
    geometryPage.x = e.PositionX == kUnsetCoordinate ? 0 : e.PositionX;
    geometryPage.y = e.PositionY == kUnsetCoordinate ? 0 : e.PositionY;
    geometryPage.sizeGiven = e.HasSize != 0;
    geometryPage.width = e.Width == kUnsetCoordinate ? 0 : e.Width;
    geometryPage.height = e.Height == kUnsetCoordinate ? 0 : e.Height;

    const unsigned classCode = (e.Priority >> 4) & 0x0F;
    const unsigned threadCode = e.Priority & 0x0F;
    controlPage.priorityGiven = e.HasPriority != 0;
    controlPage.classIndex = classCode >= 1 && classCode <= 3 ? static_cast<int>(classCode) : 0;
    controlPage.threadIndex = threadCode >= 1 && threadCode <= 5 ? static_cast<int>(threadCode) : 0;
    controlPage.preventDuplicate = !shellMode && e.SettingNumber(kKeyInitialOnce) != 0;
    controlPage.disableIme = !shellMode && e.SettingNumber(kKeyDisableIME) != 0;
    controlPage.startupTimeout = static_cast<unsigned>(e.InputTimeout);
}

void LaunchInfoDialog::WriteExecutant()
{
    Executant& e = *executant;
    e.ShellExec = shellMode ? 1 : 0;
    // In shell mode the program is only what the shell found; without one the document
    // itself is stored, since a record without a file name does not load back.
    e.FileName.Assign((shellMode && fileName.empty() ? arguments : fileName).c_str());
    e.SetSetting(kKeyInitialOnce, controlPage.preventDuplicate && !shellMode ? "1" : "");
    StripTrailingSeparator(workingDirectory);
    e.SetSetting(kKeyPath, workingDirectory.c_str());
    e.Arguments.Assign(arguments.c_str());
    e.SetSetting(kKeyShowMode, ShowModeText(geometryPage.showState));

    const GeometryPage& g = geometryPage;
    e.HasPosition = g.positionGiven ? 1 : 0;
    e.PositionX = g.positionGiven ? g.x : kUnsetCoordinate;
    e.PositionY = g.positionGiven ? g.y : kUnsetCoordinate;
    e.HasSize = g.sizeGiven ? 1 : 0;
    e.Width = g.sizeGiven ? g.width : kUnsetCoordinate;
    e.Height = g.sizeGiven ? g.height : kUnsetCoordinate;

    const ControlPage& c = controlPage;
    unsigned priority = 0;
    if (c.priorityGiven) {
        if (c.classIndex >= 1 && c.classIndex <= 3) priority |= static_cast<unsigned>(c.classIndex) << 4;
        if (!shellMode && c.threadIndex >= 1 && c.threadIndex <= 5) priority |= static_cast<unsigned>(c.threadIndex);
    }
    e.HasPriority = c.priorityGiven ? 1 : 0;
    e.Priority = priority;
    e.SetSetting(kKeyDisableIME, c.disableIme ? "1" : "");
    e.InputTimeout = static_cast<int>(c.startupTimeout);
}

void LaunchInfoDialog::OnOK()
{
    if (!UpdateData(true)) return;
    if (!geometryPage.UpdateData(true)) {
        ShowPage(0);
        return;
    }
    if (!controlPage.UpdateData(true)) {
        ShowPage(1);
        return;
    }
    if (shellMode && fileName.empty() && arguments.empty()) {
        AppMessageBox(kNothingToOpen);
        FocusControl(Item(IDC_LI_ARGUMENTS));
        return;
    }
    if (executant != nullptr) WriteExecutant();
    EndDialog(IDOK);
}

void LaunchInfoDialog::OnDestroy() { DestroyIcons(); }

void LaunchInfoDialog::DestroyIcons()
{
    if (largeIcon != nullptr) ::DestroyIcon(largeIcon);
    if (smallIcon != nullptr) ::DestroyIcon(smallIcon);
    largeIcon = nullptr;
    smallIcon = nullptr;
}

void LaunchInfoDialog::RefreshProgramIcon()
{
    char path[MAX_PATH] = "";
    ::GetDlgItemTextA(Handle(), IDC_LI_FILE_NAME, path, sizeof(path));
    ::SetDlgItemTextA(Handle(), IDC_LI_BASE_NAME, FileNamePart(path));

    HICON large = nullptr;
    HICON small = nullptr;
    // A missing file answers UINT_MAX, a file without icons 0.
    const UINT found = path[0] != '\0' ? ::ExtractIconExA(path, 0, &large, &small, 1) : 0;
    if (found == 0 || found == UINT_MAX) {
        if (large != nullptr) ::DestroyIcon(large);
        if (small != nullptr) ::DestroyIcon(small);
        large = nullptr;
        small = nullptr;
    }
    // The buttons show the new icons before the old ones go.
    ::SendDlgItemMessageA(Handle(), IDC_LI_LARGE_ICON, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(large));
    ::SendDlgItemMessageA(Handle(), IDC_LI_SMALL_ICON, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(small));
    DestroyIcons();
    largeIcon = large;
    smallIcon = small;
}

void LaunchInfoDialog::UpdateControlStates()
{
    ::EnableWindow(Item(IDC_LI_FILE_NAME), !shellMode);
    controlPage.UpdatePageStates();
    ::EnableWindow(Item(IDOK), shellMode || fileName.size() >= kShortestFileName);
}

void LaunchInfoDialog::FocusControl(HWND control)
{
    // The dialog that holds the control moves the focus, as for any of its tab stops.
    if (control == nullptr) return;
    ::SendMessageA(::GetParent(control), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

EmbeddedPage& LaunchInfoDialog::CurrentPage()
{
    if (TabCtrl_GetCurSel(Item(IDC_LI_TABS)) == 0) return geometryPage;
    return controlPage;
}

void LaunchInfoDialog::ShowPage(int index)
{
    TabCtrl_SetCurSel(Item(IDC_LI_TABS), index);
    ::ShowWindow(index == 0 ? controlPage.Handle() : geometryPage.Handle(), SW_HIDE);
    ::ShowWindow(index == 0 ? geometryPage.Handle() : controlPage.Handle(), SW_SHOWNA);
}

bool LaunchInfoDialog::OnNotify(NMHDR* header, LRESULT&)
{
    if (header->idFrom != IDC_LI_TABS || header->code != TCN_SELCHANGE) return false;
    const int selected = TabCtrl_GetCurSel(header->hwndFrom);
    if (selected == 0 || selected == 1) {
        ShowPage(selected);
        FocusControl(header->hwndFrom);
    }
    return true;
}

bool LaunchInfoDialog::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_TAB) {
        const bool shift = ::GetKeyState(VK_SHIFT) < 0;
        if (msg->hwnd == Item(IDC_LI_TABS) && !shift) {
            if (HWND first = CurrentPage().firstTabStop) FocusControl(first);
            return true;
        }
        if (msg->hwnd == Item(IDC_LI_FILE_NAME) && shift) {
            if (HWND last = CurrentPage().lastTabStop) FocusControl(last);
            return true;
        }
    }
    // The icon buttons only show the program's icons; a click must not press them.
    if ((msg->hwnd == Item(IDC_LI_LARGE_ICON) || msg->hwnd == Item(IDC_LI_SMALL_ICON)) && (msg->wParam & MK_LBUTTON)) {
        return true;
    }
    return Dialog::PreTranslateMessage(msg);
}

bool LaunchInfoDialog::OnCommand(int id, int code, HWND)
{
    if (id == IDC_LI_FILE_NAME) {
        if (code != EN_UPDATE) return false;
        // Before the pages exist the handler has nothing to refresh.
        if (opened_ && UpdateData(true)) {
            RefreshProgramIcon();
            UpdateControlStates();
        }
        return true;
    }
    if (code != BN_CLICKED) return false;
    switch (id) {
    case IDC_LI_BROWSE_PROGRAM: OnBrowseProgram(); return true;
    case IDC_LI_QUICK_LAUNCH: OnQuickLaunch(); return true;
    case IDC_LI_SHELL: OnShellDocument(); return true;
    case IDC_LI_BROWSE_DIR: OnBrowseDirectory(); return true;
    default: return false;
    }
}

void LaunchInfoDialog::TakeProgram(const std::string& path)
{
    fileName = path;
    workingDirectory = FolderOf(path);
    UpdateData(false);
    RefreshProgramIcon();
}

bool LaunchInfoDialog::ChooseFile(const char* filter, const char* initialFile, const char* initialFolder,
                                  std::string* path)
{
    FileDialogRequest request;
    request.owner = Handle();
    request.filter = filter;
    request.initialFile = initialFile;
    request.initialFolder = initialFolder;
    request.flags = kFileDialogFlags;
    return RunOpenFileDialog(request, path);
}

void LaunchInfoDialog::OnBrowseProgram()
{
    if (!UpdateData(true)) return;
    shellMode = false;
    std::string path;
    if (ChooseFile(kProgramFilter, fileName.c_str(), nullptr, &path)) TakeProgram(path);
    UpdateControlStates();
}

void LaunchInfoDialog::OnQuickLaunch()
{
    if (!UpdateData(true)) return;
    shellMode = false;
    const std::string folder = FindQuickLaunchFolder();
    SaveCurrentDirectory();
    if (!::SetCurrentDirectoryA(folder.c_str())) ShowSystemError(1);
    std::string path;
    const bool chosen = ChooseFile(kQuickLaunchFilter, FileNamePart(fileName.c_str()), folder.c_str(), &path);
    RestoreCurrentDirectory();
    if (chosen) TakeProgram(path);
    UpdateControlStates();
}

void LaunchInfoDialog::OnShellDocument()
{
    if (!UpdateData(true)) return;
    std::string path;
    if (ChooseFile(kDocumentFilter, arguments.c_str(), nullptr, &path)) {
        shellMode = true;
        arguments = path;
        workingDirectory = FolderOf(path);
        FindProgramForDocument(path.c_str());
        UpdateData(false);
        RefreshProgramIcon();
    }
    UpdateControlStates();
}

void LaunchInfoDialog::FindProgramForDocument(const char* path)
{
    fileName.clear();
    StringClass extension(ExtensionPart(path).c_str());
    extension.ToLower();
    if (IsExecutableExtension(extension.Text())) {
        fileName = path;
        return;
    }
    char program[MAX_PATH] = "";
    const INT_PTR found =
        reinterpret_cast<INT_PTR>(::FindExecutableA(path, workingDirectory.c_str(), program));
    program[sizeof(program) - 1] = '\0';
    if (found > 32) fileName = program;
    const DWORD attributes = ::GetFileAttributesA(fileName.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) fileName.clear();
}

void LaunchInfoDialog::OnBrowseDirectory()
{
    if (ChooseFolder(Item(IDC_LI_WORKING_DIR), kFolderChooserFlags) && UpdateData(true)) UpdateControlStates();
}

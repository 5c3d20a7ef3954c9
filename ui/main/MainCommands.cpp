// The main window's file, launch and help commands.
#include <windows.h>
#include <commdlg.h>

#include <cstring>
#include <string>

#include "AboutDialog.h"
#include "Executant.h"
#include "ExecutantListDialog.h"
#include "FileDialog.h"
#include "Launcher.h"
#include "MainWindowText.h"
#include "PathText.h"
#include "SettingsFile.h"
#include "StringClass.h"
#include "SystemUtilities.h"

namespace {

constexpr DWORD kLoadFlags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST |
                             OFN_CREATEPROMPT | OFN_NOREADONLYRETURN | OFN_NOTESTFILECREATE | OFN_EXPLORER |
                             OFN_LONGNAMES | OFN_ENABLESIZING;
constexpr DWORD kChooseFlags = (kLoadFlags & ~OFN_FILEMUSTEXIST) | OFN_OVERWRITEPROMPT;

// Blanks in a path would split it into several arguments for the viewer.
std::string QuotedIfBlank(const std::string& path)
{
    if (path.find(' ') == std::string::npos || (!path.empty() && path[0] == '"')) return path;
    return "\"" + path + "\"";
}

}  // namespace

std::string ExecutantListDialog::FullPath(const std::string& name)
{
    char full[MAX_PATH] = "";
    const DWORD length = ::GetFullPathNameA(name.c_str(), sizeof(full), full, nullptr);
    return !name.empty() && length > 0 && length < sizeof(full) ? std::string(full) : name;
}

// One file may go by many names ("Default.ini", ".\DEFAULT.INI", the full path): they are
// resolved against the current directory while it is the one they were given for.
std::string ExecutantListDialog::FileKey(const std::string& name)
{
    std::string key = FullPath(name);
    FoldAsciiLower(&key[0]);
    return key;
}

void ExecutantListDialog::SetLoadedFile(const std::string& path, bool complete)
{
    if (complete) {
        incompleteFile_.clear();
    } else {
        incompleteFile_ = FileKey(path);
    }
}

bool ExecutantListDialog::MayReplaceFile()
{
    if (incompleteFile_.empty() || incompleteFile_ != FileKey(settingsFileName)) return true;
    return AppMessageBoxF(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, MainText::kAskReplaceIncomplete,
                          settingsFileName.c_str()) == IDYES;
}

bool ExecutantListDialog::ChooseSettingsFile(bool open, std::string* chosen)
{
    // Both dialogs start in the folder of the current name, with that name filled in.
    const std::string folder = FolderPart(settingsFileName.c_str());
    FileDialogRequest request;
    request.owner = Handle();
    request.filter = MainText::kSettingsFilter;
    request.defaultExtension = MainText::kSettingsExtension;
    request.initialFile = FileNamePart(settingsFileName.c_str());
    request.initialFolder = folder.c_str();
    request.flags = open ? kLoadFlags : kChooseFlags;
    return open ? RunOpenFileDialog(request, chosen) : RunSaveFileDialog(request, chosen);
}

void ExecutantListDialog::OnLoad()
{
    if (!UpdateData(true)) return;
    if (modified && AppMessageBox(MainText::kAskDiscardForLoad, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
        return;
    }
    std::string chosen;
    if (!ChooseSettingsFile(true, &chosen)) return;

    bool complete = true;
    Executant* loaded = LoadSettingsFile(chosen.c_str(), &complete);
    if (loaded == nullptr) {
        AppMessageBoxF(MB_OK | MB_ICONWARNING, MainText::kLoadFailed, chosen.c_str());
        return;
    }
    AppMessageBox(MainText::kLoaded);
    settingsFileName = chosen;
    SetLoadedFile(chosen, complete);
    // The rows point at the old executants: empty the view before they are freed.
    ListView_DeleteAllItems(List());
    DeleteRing(head);
    head = loaded;
    UpdateData(false);
    RefillList();
    modified = false;
}

bool ExecutantListDialog::OnSave()
{
    if (!UpdateData(true)) return false;
    if (!MayReplaceFile()) return false;
    if (!SaveSettingsFile(settingsFileName.c_str(), head)) return false;
    incompleteFile_.clear();
    modified = false;
    AppMessageBox(MainText::kSaved, MB_OK | MB_ICONINFORMATION);
    return true;
}

void ExecutantListDialog::OnChooseFileName()
{
    if (!UpdateData(true)) return;
    std::string chosen;
    if (!ChooseSettingsFile(false, &chosen)) return;
    settingsFileName = chosen;
    UpdateData(false);
    modified = true;
}

void ExecutantListDialog::OnExit()
{
    if (modified) {
        const int answer = AppMessageBox(MainText::kAskSaveOnExit, MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON3);
        if (answer == IDCANCEL) return;
        // A save that fails keeps the window open: closing would throw the edits away.
        if (answer == IDYES && !OnSave()) return;
    }
    modified = false;
    EndDialog(IDOK);
}

void ExecutantListDialog::OnLaunchSelected()
{
    std::vector<Executant*> selection;
    if (GetSelection(selection) == 0) {
        AppMessageBox(MainText::kNothingSelected);
        return;
    }
    LaunchTally tally;
    for (Executant* e : selection) tally.Count(e->Launch(nullptr));
    EndListLaunch(tally);
}

void ExecutantListDialog::OnLaunchAll()
{
    if (ListView_GetItemCount(List()) == 0) {
        AppMessageBox(MainText::kListEmpty);
        return;
    }
    if (AppMessageBox(MainText::kAskLaunchAll, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    LaunchTally tally;
    for (Executant* e = head; e != nullptr; e = e->NextExecutant(head)) tally.Count(e->Launch(nullptr));
    EndListLaunch(tally);
}

void ExecutantListDialog::OnHelp()
{
    char program[MAX_PATH] = "";
    const DWORD length = ::GetModuleFileNameA(nullptr, program, sizeof(program));
    if (length == 0 || length >= sizeof(program)) return;
    const std::string extension = ExtensionPart(program);
    if (extension.empty()) return;
    const std::string help = std::string(program, std::strlen(program) - extension.size()) + ".chm";

    int readOnly = 0;
    if (CheckFile(help.c_str(), &readOnly) != 1) {
        ::MessageBoxA(Handle(), MainText::kHelpMissing, MainText::kHelpCaption, MB_OK);
        return;
    }
    const char* separator = LastSeparator(program);
    const std::string folder = separator != nullptr ? std::string(program, separator - program) : std::string();

    char viewer[MAX_PATH] = "";
    const INT_PTR found = reinterpret_cast<INT_PTR>(::FindExecutableA(help.c_str(), folder.c_str(), viewer));
    if (found <= 32) {
        ShowSystemError(1);
        return;
    }
    RunCommandLine(Handle(), viewer, QuotedIfBlank(help).c_str(), folder.c_str(), nullptr, 0);
}

void ExecutantListDialog::OnAbout()
{
    AboutDialog about;
    about.DoModal(Handle());
}

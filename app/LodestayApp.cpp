// Start-up: options, the choice of the settings file and the hand-over of the ring.
#include "LodestayApp.h"

#include <algorithm>
#include <string>
#include <vector>

#include "AppMessages.h"
#include "CommandLine.h"
#include "ExecutantListDialog.h"
#include "KeyValueList.h"
#include "Launcher.h"
#include "MainWindowText.h"
#include "RingList.h"
#include "SettingsFile.h"
#include "SystemFunctions.h"
#include "SystemUtilities.h"

namespace {

constexpr char kFallbackDesktop[] = "Default";

// The name of the desktop this thread runs on ("Default" on the ordinary one).
std::string CurrentDesktopName()
{
    // The thread's desktop handle belongs to the system and is not closed.
    HDESK desktop = ::GetThreadDesktop(::GetCurrentThreadId());
    char shortName[16];
    DWORD needed = 0;
    if (::GetUserObjectInformationA(desktop, UOI_NAME, shortName, sizeof(shortName), &needed)) return shortName;

    // Longer names need the size the system reported; the buffer also has to be able to
    // hold the fallback name.
    std::vector<char> name(std::max<size_t>(needed, sizeof(kFallbackDesktop)), '\0');
    if (::GetUserObjectInformationA(desktop, UOI_NAME, name.data(), static_cast<DWORD>(name.size()), &needed)) {
        name.back() = '\0';
        return name.data();
    }
    AppMessageBox(AppText::kNoDesktopName);
    return kFallbackDesktop;
}

}  // namespace

LodestayApp::LodestayApp() : Executants(nullptr), CommandLineText(nullptr), SettingsComplete(true)
{
    // Nothing may have written to the shared empty value before this point, but a stray
    // write through it would otherwise show up in every empty lookup.
    StringClass::ResetSharedEmpty();
    BindSystemFunctions(kBindAll, 1);
}

LodestayApp::~LodestayApp()
{
    BindSystemFunctions(kBindAll, 0);
    DeleteRing(Executants);
    Executants = nullptr;
}

BOOL LodestayApp::InitInstance()
{
    // The scanner writes terminators into the text, so it works on a copy.
    std::string text(CommandLineText != nullptr ? CommandLineText : "");
    KeyValueListClass options;
    ParseCommandLine(options, &text[0]);

    if (const KeyValueClass* path = options.Find("-p")) {
        SettingsPath.Assign(path->GetValue());
    } else if (!ChooseDefaultSettingsPath()) {
        return FALSE;
    }
    if (SettingsPath.IsEmpty()) {
        AppMessageBox(AppText::kBadSettingsPath);
        return FALSE;
    }

    bool unreadable = false;
    Executants = LoadSettingsFile(SettingsPath.Text(), &SettingsComplete, &unreadable);
    if (options.Find("-e") != nullptr) {
        LaunchAll(SettingsPath.Text(), Executants);
    } else {
        // An empty window would look as if the list were lost; the unattended start says that
        // the file defines no applications.
        if (unreadable) AppMessageBoxF(MB_OK | MB_ICONWARNING, MainText::kLoadFailed, SettingsPath.Text());
        RunMainWindow();
    }
    return FALSE;
}

bool LodestayApp::ChooseDefaultSettingsPath()
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    if (!::GetVersionExA(&version)) {
        AppMessageBox(AppText::kNoOsVersion);
        return false;
    }
    switch (version.dwPlatformId) {
    case VER_PLATFORM_WIN32_NT:
        if (Bound::EnumProcessModules == nullptr) {
            AppMessageBox(AppText::kNeedPsapi);
            return false;
        }
        SettingsPath.Assign(CurrentDesktopName().c_str());
        SettingsPath.Append("ini", '.');
        return true;
    case VER_PLATFORM_WIN32_WINDOWS:
        // The 95 family has one desktop only.
        if (Bound::CreateToolhelp32Snapshot == nullptr) {
            AppMessageBox(AppText::kNeedToolHelp);
            return false;
        }
        SettingsPath.Assign("Default.ini");
        return true;
    default:
        AppMessageBox(AppText::kUnsupportedOs);
        return false;
    }
}

void LodestayApp::RunMainWindow()
{
    // The window owns the ring while it runs and hands back the head it then holds.
    ExecutantListDialog window;
    window.settingsFileName = SettingsPath.Text();
    window.SetLoadedFile(SettingsPath.Text(), SettingsComplete);
    window.head = Executants;
    Executants = nullptr;
    if (window.DoModal(nullptr) == -1) ShowSystemError(1);
    Executants = window.head;
    window.head = nullptr;
}

#include "RunningAppFinder.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "CaptureText.h"
#include "Executant.h"
#include "ExecutantListDialog.h"
#include "PathText.h"
#include "StringClass.h"
#include "SystemFunctions.h"
#include "SystemUtilities.h"

namespace {

void ReportSystemError()
{
    char* text = GetSystemErrorText();
    AppMessageBox(text != nullptr ? text : "");
    if (text != nullptr) ::LocalFree(text);
}

void Reject(bool report, const char* text)
{
    if (report) AppMessageBox(text);
}

std::string LowerPath(const char* path)
{
    std::string text(path);
    FoldAsciiLower(&text[0]);
    return text;
}

// This program's own executable, lower-cased; empty when it cannot be read whole.
std::string OwnPathLower()
{
    char own[MAX_PATH] = "";
    const DWORD length = ::GetModuleFileNameA(nullptr, own, sizeof(own));
    if (length == 0 || length >= sizeof(own)) return std::string();
    return LowerPath(own);
}

unsigned PriorityOfClass(DWORD priorityClass)
{
    switch (priorityClass) {
    case IDLE_PRIORITY_CLASS: return 0x10;
    case HIGH_PRIORITY_CLASS: return 0x30;
    default: return 0x20;
    }
}

}  // namespace

RunningAppFinder::RunningAppFinder() : options_(kDefaultCaptureFlags), result_(nullptr) {}

RunningAppFinder::~RunningAppFinder() = default;

Executant* RunningAppFinder::NewExecutant() { return new (std::nothrow) Executant; }

void RunningAppFinder::Start(std::uint32_t options)
{
    // The previous result belongs to whoever took it.
    result_ = nullptr;
    options_ = options;
    snapshot_.Reset();
}

void RunningAppFinder::Append(Executant* executant)
{
    if (result_ == nullptr) {
        result_ = executant;
    } else {
        result_->InsertBefore(executant);  // before the first is the end of the ring
    }
}

BOOL CALLBACK RunningAppFinder::AddWindow(HWND window, LPARAM self)
{
    auto* finder = reinterpret_cast<RunningAppFinder*>(self);
    WINDOWPLACEMENT placement = {};
    if (finder->AcceptWindow(window, &placement, false)) finder->ImportWindow(window, placement, false);
    return TRUE;
}

Executant* RunningAppFinder::FindAll(std::uint32_t options)
{
    Start(options);
    if (GetOsFamily() == kOsWin95) {
        if (Bound::CreateToolhelp32Snapshot == nullptr) return nullptr;
        snapshot_.Reset(Bound::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
        if (!snapshot_) return nullptr;
    }
    ::EnumWindows(AddWindow, reinterpret_cast<LPARAM>(this));
    snapshot_.Reset();
    return result_;
}

Executant* RunningAppFinder::FindAtWindow(HWND window, std::uint32_t options)
{
    Start(options);
    WINDOWPLACEMENT placement = {};
    if (!AcceptWindow(window, &placement, true)) return nullptr;
    if (GetOsFamily() == kOsWin95) {
        if (Bound::CreateToolhelp32Snapshot == nullptr) {
            AppMessageBox(CaptureText::kNotBound);
            return nullptr;
        }
        snapshot_.Reset(Bound::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
        if (!snapshot_) {
            AppMessageBox(CaptureText::kNoSnapshot);
            return nullptr;
        }
    }
    ImportWindow(window, placement, true);
    snapshot_.Reset();
    return result_;
}

bool RunningAppFinder::AcceptWindow(HWND window, WINDOWPLACEMENT* placement, bool report)
{
    if (::GetWindow(window, GW_OWNER) != nullptr && !(options_ & CAPTURE_OWNED)) {
        Reject(report, CaptureText::kOwned);
        return false;
    }
    if (!::IsWindowEnabled(window) && !(options_ & CAPTURE_DISABLED)) {
        Reject(report, CaptureText::kDisabled);
        return false;
    }
    if (!::IsWindowVisible(window) && !(options_ & CAPTURE_HIDDEN)) {
        Reject(report, CaptureText::kHidden);
        return false;
    }
    char title[MAX_PATH] = "";
    ::GetWindowTextA(window, title, sizeof(title));
    if (title[0] == '\0' && !(options_ & CAPTURE_UNTITLED)) {
        Reject(report, CaptureText::kUntitled);
        return false;
    }
    if (options_ & SKIP_PROGMAN) {
        char className[MAX_PATH] = "";
        ::GetClassNameA(window, className, sizeof(className));
        if (std::strcmp(title, "Program Manager") == 0 && std::strcmp(className, "Progman") == 0) {
            Reject(report, CaptureText::kProgman);
            return false;
        }
    }
    placement->length = sizeof(*placement);
    if (!::GetWindowPlacement(window, placement)) {
        if (report) ReportSystemError();
        return false;
    }
    const RECT& normal = placement->rcNormalPosition;
    if (normal.right - normal.left <= 0 && normal.bottom - normal.top <= 0 && !(options_ & CAPTURE_ZERO_SIZE)) {
        Reject(report, CaptureText::kZeroSize);
        return false;
    }
    if (placement->showCmd == SW_SHOWMINIMIZED && !(options_ & CAPTURE_ICONIC)) {
        Reject(report, CaptureText::kIconic);
        return false;
    }
    return true;
}

bool RunningAppFinder::ImportWindow(HWND window, const WINDOWPLACEMENT& placement, bool report)
{
    Executant* executant = NewExecutant();
    if (executant == nullptr) return false;

    const RECT& normal = placement.rcNormalPosition;
    executant->PositionX = normal.left;
    executant->PositionY = normal.top;
    executant->HasPosition = 1;

    // A minimised window's screen rectangle is its caption bar: relaunched at that size it
    // would come back as a sliver, so its size is the one it has when restored.
    RECT screen = {};
    const bool minimised = placement.showCmd == SW_SHOWMINIMIZED || ::IsIconic(window);
    if (minimised) {
        screen = normal;
    } else if (!::GetWindowRect(window, &screen)) {
        if (report) ReportSystemError();
        delete executant;
        return false;
    }
    executant->Width = screen.right - screen.left;
    executant->Height = screen.bottom - screen.top;
    executant->HasSize = (options_ & TAKE_SIZE) ? 1 : 0;

    char text[32];
    std::snprintf(text, sizeof(text), "%d", static_cast<int>(placement.showCmd));
    executant->SetSetting(kKeyShowMode, text);

    DWORD processId = 0;
    if (::GetWindowThreadProcessId(window, &processId) == 0 || processId == 0) {
        if (report) ReportSystemError();
        delete executant;
        return false;
    }
    UniqueHandle process(::OpenProcess(PROCESS_ALL_ACCESS, FALSE, processId));
    if (!process) {
        if (report) ReportSystemError();
        delete executant;
        return false;
    }
    char path[MAX_PATH] = "";
    const bool found = GetOsFamily() == kOsWin95 ? GetModulePath9x(processId, path, report)
                                                 : GetModulePathNt(process.Get(), path, report);
    if (!found || path[0] == '\0') {
        delete executant;
        return false;
    }
    // The field alone: the save adds its setting after the show mode and the folder, the order
    // in which captured entries have always been written, so that saved files compare line by line.
    executant->FileName.Assign(path);

    // The 95 route names the module without its folder, so the path alone cannot tell that
    // the window is ours: the process id always can.
    if ((options_ & SKIP_SELF) && (processId == ::GetCurrentProcessId() || LowerPath(path) == OwnPathLower())) {
        Reject(report, CaptureText::kSelf);
        delete executant;
        return false;
    }

    std::string folder = FolderPart(path);
    StripTrailingSeparator(folder);
    executant->SetSetting(kKeyPath, folder.c_str());

    executant->Priority = 0;
    if (options_ & TAKE_PRIORITY) {
        executant->HasPriority = 1;
        executant->Priority = PriorityOfClass(::GetPriorityClass(process.Get()));
    } else {
        executant->HasPriority = 0;
    }
    Append(executant);
    return true;
}

bool RunningAppFinder::GetModulePathNt(HANDLE process, char* path, bool report)
{
    path[0] = '\0';
    if (Bound::EnumProcessModules == nullptr || Bound::GetModuleFileNameExA == nullptr) {
        Reject(report, CaptureText::kNotBound);
        return false;
    }
    HMODULE module = nullptr;
    DWORD needed = 0;
    if (!Bound::EnumProcessModules(process, &module, sizeof(module), &needed) || module == nullptr) {
        if (report) ReportSystemError();
        return false;
    }
    char found[MAX_PATH] = "";
    const DWORD length = Bound::GetModuleFileNameExA(process, module, found, sizeof(found));
    if (length == 0 || length >= sizeof(found)) {
        if (report) ReportSystemError();
        return false;
    }
    std::memcpy(path, found, length + 1);
    return true;
}

bool RunningAppFinder::GetModulePath9x(DWORD processId, char* path, bool report)
{
    path[0] = '\0';
    if (snapshot_ && Bound::Process32First != nullptr && Bound::Process32Next != nullptr) {
        PROCESSENTRY32 entry = {};
        entry.dwSize = sizeof(entry);
        for (BOOL more = Bound::Process32First(snapshot_.Get(), &entry); more;
             more = Bound::Process32Next(snapshot_.Get(), &entry)) {
            if (entry.th32ProcessID == processId) {
                std::snprintf(path, MAX_PATH, "%s", entry.szExeFile);
                return true;
            }
            entry.dwSize = sizeof(entry);
        }
    }
    if (report) AppMessageBoxF(MB_OK | MB_ICONWARNING, CaptureText::kNotFoundPid, static_cast<int>(processId));
    return false;
}

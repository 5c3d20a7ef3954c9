// Duplicate-launch guard. On the NT family it looks at the processes that own a top-level
// window on the desktop examined (not this program's own); on the Windows 95 family at
// every process in the system, this program included.
#include "DuplicateGuard.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "Handles.h"
#include "ModuleName.h"
#include "SystemFunctions.h"

namespace {

bool g_running = false;
// Processes this check has already named. A program has several top-level windows (its
// input-method window among them, visible or not), and naming its module means opening it
// and reading its module list: once per process is enough.
std::vector<DWORD> g_examined;

constexpr DWORD kDesktopAccess = DESKTOP_READOBJECTS | DESKTOP_ENUMERATE | DESKTOP_SWITCHDESKTOP;

}  // namespace

BOOL CALLBACK DuplicateWindowProc(HWND window, LPARAM moduleName)
{
    DWORD processId = 0;
    if (::GetWindowThreadProcessId(window, &processId) == 0) return TRUE;
    if (processId == ::GetCurrentProcessId()) return TRUE;
    if (std::find(g_examined.begin(), g_examined.end(), processId) != g_examined.end()) return TRUE;
    g_examined.push_back(processId);
    UniqueHandle process(::OpenProcess(PROCESS_ALL_ACCESS, FALSE, processId));
    if (!process) return TRUE;
    HMODULE module = nullptr;
    DWORD needed = 0;
    if (!Bound::EnumProcessModules(process.Get(), &module, sizeof module, &needed)) return TRUE;
    char baseName[256];
    if (Bound::GetModuleBaseNameA(process.Get(), module, baseName, sizeof baseName) == 0) return TRUE;
    process.Reset();
    if (ModuleNameOf(baseName) != reinterpret_cast<const char*>(moduleName)) return TRUE;
    g_running = true;
    return FALSE;
}

bool FindModuleInSnapshot(HANDLE snapshot, const char* moduleName)
{
    if (Bound::Process32First == nullptr || Bound::Process32Next == nullptr) return g_running;
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = Bound::Process32First(snapshot, &entry); more; more = Bound::Process32Next(snapshot, &entry)) {
        if (ModuleNameOf(entry.szExeFile) == moduleName) {
            g_running = true;
            break;
        }
        entry.dwSize = sizeof entry;
    }
    return g_running;
}

bool CheckModuleNotRunning(const char* desktop, const char* fileName)
{
    g_running = false;
    g_examined.clear();
    const std::string moduleName = ModuleNameOf(fileName);
    const LPARAM key = reinterpret_cast<LPARAM>(moduleName.c_str());
    const int family = GetOsFamily();
    if (family == kOsNT) {
        // Without the process-status functions nothing can be checked; refuse, as the
        // Windows 95 branch does without its snapshot function.
        if (Bound::EnumProcessModules == nullptr || Bound::GetModuleBaseNameA == nullptr) return false;
        if (desktop != nullptr) {
            DesktopHandle handle(::OpenDesktopA(desktop, 0, FALSE, kDesktopAccess));
            if (!handle) return true;
            ::EnumDesktopWindows(handle.Get(), DuplicateWindowProc, key);
            return !g_running;
        }
        ::EnumWindows(DuplicateWindowProc, key);
        return !g_running;
    }
    if (family == kOsWin95) {
        if (Bound::CreateToolhelp32Snapshot == nullptr) return false;
        SnapshotHandle snapshot(Bound::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
        if (!snapshot) return true;
        FindModuleInSnapshot(snapshot.Get(), moduleName.c_str());
        return !g_running;
    }
    return true;
}

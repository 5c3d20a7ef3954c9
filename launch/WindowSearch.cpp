// Finding the new process's first visible, unowned top-level window, by process id or, for
// a process started through the shell, by module path and newest creation time.
#include "WindowSearch.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <map>
#include <vector>

#include "Executant.h"
#include "Handles.h"
#include "LaunchSettings.h"
#include "LaunchSleep.h"
#include "SettleWatch.h"
#include "SystemFunctions.h"

namespace {

WindowSearchState g_search = {nullptr, {0}, kSearchByProcessId, 0, 0, nullptr, false, {0}};

ULONGLONG FileTimeValue(const FILETIME& time)
{
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

bool CreationTime(HANDLE process, FILETIME* created)
{
    FILETIME exited, kernel, user;
    return ::GetProcessTimes(process, created, &exited, &kernel, &user) != FALSE;
}

// Creation time of a process as a stamp that orders byte-wise like the time itself.
bool CreationStamp(const FILETIME& created, char* stamp, size_t size)
{
    SYSTEMTIME t;
    if (!::FileTimeToSystemTime(&created, &t)) return false;
    std::snprintf(stamp, size, "%4d%02d%02d %02d:%02d.%02d.%03d", t.wYear, t.wMonth, t.wDay, t.wHour,
                  t.wMinute, t.wSecond, t.wMilliseconds);
    return true;
}

// Full path of a process's first module; false when it cannot be read.
bool ModulePathOf(HANDLE process, char* path, DWORD size)
{
    HMODULE module = nullptr;
    DWORD needed = 0;
    if (!Bound::EnumProcessModules(process, &module, sizeof module, &needed)) return false;
    return Bound::GetModuleFileNameExA(process, module, path, size) != 0;
}

// What a look of mode 2 learnt about a process, kept until the search ends: every look
// would otherwise open every window's process again and read its module list, which is by
// far the dearest part of a look. The handle is held meanwhile, so that the process id cannot
// pass to another process while it is remembered.
struct ExaminedProcess {
    UniqueHandle process;
    bool runsModule;
    FILETIME created;  // set when it runs the module
};
std::map<DWORD, ExaminedProcess> g_examined;

// Null while the process cannot be told: it cannot be opened, or its module list cannot be
// read yet (a process that is still starting), so a later look asks again.
const ExaminedProcess* Examine(DWORD processId, const char* modulePath)
{
    const auto known = g_examined.find(processId);
    if (known != g_examined.end()) return &known->second;
    UniqueHandle process(::OpenProcess(PROCESS_ALL_ACCESS, FALSE, processId));
    if (!process) return nullptr;
    char path[MAX_PATH];
    if (!ModulePathOf(process.Get(), path, sizeof path)) return nullptr;
    ExaminedProcess examined{std::move(process), std::strcmp(path, modulePath) == 0, {}};
    if (examined.runsModule && !CreationTime(examined.process.Get(), &examined.created)) return nullptr;
    return &g_examined.emplace(processId, std::move(examined)).first->second;
}

// Mode 2: among windows of processes running the key's module file, keep one of the
// process created last. Every window is looked at, so the enumeration never stops early.
void ConsiderByModulePath(HWND window, DWORD processId, const char* modulePath)
{
    if (Bound::EnumProcessModules == nullptr || Bound::GetModuleFileNameExA == nullptr) return;
    const ExaminedProcess* examined = Examine(processId, modulePath);
    if (examined == nullptr || !examined->runsModule) return;
    char stamp[sizeof g_search.newestStamp];
    if (!CreationStamp(examined->created, stamp, sizeof stamp)) return;
    if (std::strcmp(stamp, g_search.newestStamp) > 0) {
        std::memcpy(g_search.newestStamp, stamp, sizeof stamp);
        g_search.newestCreated = FileTimeValue(examined->created);
        g_search.found = window;
    }
}

// Whether some process created since the launch began runs the module: it may still open
// the window that the launch is waiting for, even when it has none yet.
bool NewerCopyRuns(const char* modulePath)
{
    if (Bound::EnumProcesses == nullptr || Bound::EnumProcessModules == nullptr || Bound::GetModuleFileNameExA == nullptr) {
        return false;
    }
    std::vector<DWORD> ids(1024);
    DWORD bytes = 0;
    if (!Bound::EnumProcesses(ids.data(), static_cast<DWORD>(ids.size() * sizeof(DWORD)), &bytes)) return false;
    ids.resize(bytes / sizeof(DWORD));
    const DWORD self = ::GetCurrentProcessId();
    for (DWORD id : ids) {
        if (id != 0 && id != self && RunsModuleSince(id, modulePath, g_search.launchBegan)) return true;
    }
    return false;
}

// A window that the look found, kept unless it belongs to a copy the user already had open
// while the launch may still bring up a window of its own. That copy is taken only when the
// shell's process has ended (the shell handed the item to a running copy) and no copy
// started since runs.
bool FoundWindowStands(LPARAM key)
{
    if (g_search.found == nullptr) return false;
    if (g_search.mode == kSearchByProcessId || g_search.newestCreated >= g_search.launchBegan) return true;
    const bool launchMayShowAWindow =
        (g_search.started != nullptr && ::WaitForSingleObject(g_search.started, 0) == WAIT_TIMEOUT) ||
        NewerCopyRuns(reinterpret_cast<const char*>(key));
    if (launchMayShowAWindow) {
        g_search.found = nullptr;
        g_search.newestStamp[0] = 0;
        g_search.newestCreated = 0;
        return false;
    }
    g_search.foundOlderCopy = true;
    return true;
}

}  // namespace

WindowSearchState& WindowSearch() { return g_search; }

void NoteShellLaunchBegins()
{
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    g_search.launchBegan = FileTimeValue(now);
}

void Executant::ResetWindowSearch(int mode)
{
    g_search.found = nullptr;
    g_search.newestStamp[0] = 0;
    g_search.mode = mode;
    g_search.newestCreated = 0;
    g_search.foundOlderCopy = false;
    g_examined.clear();
}

BOOL CALLBACK TopLevelWindowProc(HWND window, LPARAM key)
{
    // The process id first: most windows belong to other processes, and under Wine every
    // question about another process's window is a round trip to the server (the visibility
    // alone takes several).
    DWORD processId = 0;
    if (::GetWindowThreadProcessId(window, &processId) == 0) return TRUE;
    if (g_search.mode == kSearchByProcessId && processId != static_cast<DWORD>(key)) return TRUE;
    if (!::IsWindowVisible(window) || ::GetWindow(window, GW_OWNER) != nullptr) return TRUE;
    if (g_search.mode == kSearchByProcessId) {
        g_search.found = window;
        return FALSE;
    }
    ConsiderByModulePath(window, processId, reinterpret_cast<const char*>(key));
    return TRUE;
}

HWND RunSearchPasses(LPARAM key, unsigned timeout)
{
    // Window-event hooks would wake the search when the window shows, but under Wine they do
    // not reach another process; looking again at short intervals works everywhere. The pass
    // of one second stays the unit of the time-out: it ends when its second is over on the
    // engine's clock, so that the looks themselves do not stretch it.
    const unsigned passes = SearchPasses(timeout);
    size_t quickPauses = 0;
    HWND found = nullptr;
    for (unsigned pass = 0; pass < passes && found == nullptr; ++pass) {
        const unsigned passBegan = LaunchClock();
        for (;;) {
            ::EnumWindows(TopLevelWindowProc, key);
            const bool stands = FoundWindowStands(key);
            NoteLaunchStep(stands ? LaunchStep::kLookedFound : LaunchStep::kLookedEmpty);
            if (stands) {
                found = g_search.found;
                break;
            }
            const unsigned elapsed = LaunchClock() - passBegan;
            if (elapsed >= kSearchPassPause) break;
            const unsigned pause = quickPauses < std::size(kSearchQuickPauses) ? kSearchQuickPauses[quickPauses++]
                                                                              : kSearchLookInterval;
            CheckPlacedWindows();
            LaunchSleep(std::min(pause, kSearchPassPause - elapsed));
            if (LaunchClock() - passBegan >= kSearchPassPause) break;
        }
    }
    g_examined.clear();
    return found;
}

void* Executant::FindMainWindow(void* process, unsigned timeout, void* beforeSnapshot, void* afterSnapshot)
{
    g_search.found = nullptr;
    g_search.started = static_cast<HANDLE>(process);
    g_search.modulePath[0] = 0;
    // The shell's own process is part of the launch even if the clocks disagree by a tick.
    FILETIME created;
    if (CreationTime(g_search.started, &created) && FileTimeValue(created) < g_search.launchBegan) {
        g_search.launchBegan = FileTimeValue(created);
    }
    const int family = GetOsFamily();
    if (family == kOsNT) {
        if (Bound::EnumProcessModules == nullptr || Bound::GetModuleFileNameExA == nullptr) return nullptr;
        // Fails when the process has already ended; an unreadable path could match no
        // window, and the passes would only idle.
        char* modulePath = g_search.modulePath;
        if (!ModulePathOf(static_cast<HANDLE>(process), modulePath, sizeof g_search.modulePath)) {
            modulePath[0] = 0;
            return nullptr;
        }
        ResetWindowSearch(kSearchByModulePath);
        return RunSearchPasses(reinterpret_cast<LPARAM>(modulePath), timeout);
    }
    if (family == kOsWin95) {
        const HANDLE before = static_cast<HANDLE>(beforeSnapshot);
        const HANDLE after = static_cast<HANDLE>(afterSnapshot);
        if (before == nullptr || before == INVALID_HANDLE_VALUE || after == nullptr || after == INVALID_HANDLE_VALUE) {
            return nullptr;
        }
        if (Bound::Process32First == nullptr || Bound::Process32Next == nullptr) return nullptr;
        // The new process is a child of this program that the before-snapshot does not know.
        const DWORD self = ::GetCurrentProcessId();
        DWORD newProcess = 0;
        PROCESSENTRY32 entry;
        entry.dwSize = sizeof entry;
        for (BOOL more = Bound::Process32First(after, &entry); more; more = Bound::Process32Next(after, &entry)) {
            if (entry.th32ParentProcessID == self) {
                const DWORD candidate = entry.th32ProcessID;
                bool existedBefore = false;
                PROCESSENTRY32 old;
                old.dwSize = sizeof old;
                for (BOOL walk = Bound::Process32First(before, &old); walk; walk = Bound::Process32Next(before, &old)) {
                    if (old.th32ProcessID == candidate) {
                        existedBefore = true;
                        break;
                    }
                    old.dwSize = sizeof old;
                }
                if (!existedBefore) {
                    newProcess = candidate;
                    break;
                }
            }
            entry.dwSize = sizeof entry;
        }
        if (newProcess == 0) return nullptr;
        ResetWindowSearch(kSearchByProcessId);
        return RunSearchPasses(static_cast<LPARAM>(newProcess), timeout);
    }
    return nullptr;
}

bool RunsModuleSince(DWORD processId, const char* modulePath, ULONGLONG since)
{
    if (Bound::EnumProcessModules == nullptr || Bound::GetModuleFileNameExA == nullptr) return false;
    UniqueHandle process(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    FILETIME created;
    char path[MAX_PATH];
    return process && CreationTime(process.Get(), &created) && FileTimeValue(created) >= since &&
           ModulePathOf(process.Get(), path, sizeof path) && std::strcmp(path, modulePath) == 0;
}

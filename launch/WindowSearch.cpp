// Finding the new process's first visible, unowned top-level window, by process id or, for
// a process started through the shell, by module path and newest creation time.
#include "WindowSearch.h"

#include <cstdio>
#include <cstring>

#include "Executant.h"
#include "Handles.h"
#include "LaunchSettings.h"
#include "LaunchSleep.h"
#include "SystemFunctions.h"

namespace {

WindowSearchState g_search = {nullptr, {0}, kSearchByProcessId};

// Creation time of a process as a stamp that orders byte-wise like the time itself.
bool CreationStamp(HANDLE process, char* stamp, size_t size)
{
    FILETIME created, exited, kernel, user;
    if (!::GetProcessTimes(process, &created, &exited, &kernel, &user)) return false;
    SYSTEMTIME t;
    if (!::FileTimeToSystemTime(&created, &t)) return false;
    std::snprintf(stamp, size, "%4d%02d%02d %02d:%02d.%02d.%03d", t.wYear, t.wMonth, t.wDay, t.wHour,
                  t.wMinute, t.wSecond, t.wMilliseconds);
    return true;
}

// Mode 2: among windows of processes running the key's module file, keep one of the
// process created last. Every window is looked at, so the enumeration never stops early.
void ConsiderByModulePath(HWND window, DWORD processId, const char* modulePath)
{
    if (Bound::EnumProcessModules == nullptr || Bound::GetModuleFileNameExA == nullptr) return;
    UniqueHandle process(::OpenProcess(PROCESS_ALL_ACCESS, FALSE, processId));
    if (!process) return;
    HMODULE module = nullptr;
    DWORD needed = 0;
    if (!Bound::EnumProcessModules(process.Get(), &module, sizeof module, &needed)) return;
    char path[MAX_PATH];
    if (Bound::GetModuleFileNameExA(process.Get(), module, path, sizeof path) == 0) return;
    if (std::strcmp(path, modulePath) != 0) return;
    char stamp[sizeof g_search.newestStamp];
    if (!CreationStamp(process.Get(), stamp, sizeof stamp)) return;
    if (std::strcmp(stamp, g_search.newestStamp) > 0) {
        std::memcpy(g_search.newestStamp, stamp, sizeof stamp);
        g_search.found = window;
    }
}

}  // namespace

WindowSearchState& WindowSearch() { return g_search; }

void Executant::ResetWindowSearch(int mode)
{
    g_search.found = nullptr;
    g_search.newestStamp[0] = 0;
    g_search.mode = mode;
}

BOOL CALLBACK TopLevelWindowProc(HWND window, LPARAM key)
{
    if (!::IsWindowVisible(window) || ::GetWindow(window, GW_OWNER) != nullptr) return TRUE;
    DWORD processId = 0;
    if (::GetWindowThreadProcessId(window, &processId) == 0) return TRUE;
    if (g_search.mode == kSearchByProcessId) {
        if (processId != static_cast<DWORD>(key)) return TRUE;
        g_search.found = window;
        return FALSE;
    }
    ConsiderByModulePath(window, processId, reinterpret_cast<const char*>(key));
    return TRUE;
}

HWND RunSearchPasses(LPARAM key, unsigned timeout)
{
    const unsigned passes = SearchPasses(timeout);
    for (unsigned pass = 0; pass < passes; ++pass) {
        ::EnumWindows(TopLevelWindowProc, key);
        if (g_search.found != nullptr) break;
        LaunchSleep(kSearchPassPause);
    }
    return g_search.found;
}

void* Executant::FindMainWindow(void* process, unsigned timeout, void* beforeSnapshot, void* afterSnapshot)
{
    g_search.found = nullptr;
    const int family = GetOsFamily();
    if (family == kOsNT) {
        if (Bound::EnumProcessModules == nullptr || Bound::GetModuleFileNameExA == nullptr) return nullptr;
        HMODULE module = nullptr;
        DWORD needed = 0;
        // Fails when the process has already ended.
        if (!Bound::EnumProcessModules(static_cast<HANDLE>(process), &module, sizeof module, &needed)) {
            return nullptr;
        }
        char modulePath[MAX_PATH];
        // An unreadable path could match no window; the passes would only idle.
        if (Bound::GetModuleFileNameExA(static_cast<HANDLE>(process), module, modulePath, sizeof modulePath) == 0) {
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

DWORD PlaceWindow(const Executant& executant, HWND window)
{
    // Z order and activation are left alone: the user may be working in another window.
    // Moving a minimised or maximised window moves its minimised or maximised frame, and
    // showing it again in the state it already has changes nothing: a window that the
    // start-up block had maximised would stay maximised in a frame of the registered size.
    // Such a window is restored first, so that the registered place becomes its own.
    if (::IsIconic(window) || ::IsZoomed(window)) ::ShowWindow(window, SW_SHOWNOACTIVATE);
    if (executant.PositionSet()) {
        ::SetWindowPos(window, nullptr, executant.PositionX, executant.PositionY, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    if (executant.SizeSet()) {
        ::SetWindowPos(window, nullptr, 0, 0, executant.Width, executant.Height, SWP_NOMOVE | SWP_NOZORDER);
    }
    ::ShowWindow(window, executant.ShowCommand());
    return ::GetWindowThreadProcessId(window, nullptr);
}

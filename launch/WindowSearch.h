// The search for a newly started application's top-level window and its placement.
// One search state serves the whole process: launches run one after the other on the
// user-interface thread and never overlap.
#pragma once
#include <windows.h>

class Executant;

enum WindowSearchMode {
    kSearchByProcessId = 1,
    kSearchByModulePath = 2,  // any value other than 1 behaves like this
};

struct WindowSearchState {
    HWND found;
    char newestStamp[32];  // "%4d%02d%02d %02d:%02d.%02d.%03d" of a creation time, UTC
    int mode;
    // Mode 2 only. A copy of the program that already ran before the shell launch began is
    // the user's own: it is taken only once nothing the launch started can still show a
    // window, and its thread is never kept for ending the test launch.
    ULONGLONG newestCreated;  // creation time of the found window's process
    ULONGLONG launchBegan;    // both in FILETIME units
    HANDLE started;           // the process the shell started
    bool foundOlderCopy;
    char modulePath[MAX_PATH];  // the key of a search by module path, else empty
};

WindowSearchState& WindowSearch();

// Notes the time a shell launch begins, before the shell starts anything.
void NoteShellLaunchBegins();

// EnumWindows callback; the key is a process id (mode 1) or a module path (mode 2).
BOOL CALLBACK TopLevelWindowProc(HWND window, LPARAM key);

// Enumeration passes, one per second of the time-out. Within a pass the windows are looked at
// again every kSearchLookInterval (the first interval of the search in kSearchQuickPauses)
// until the pass's second is used up; the search ends at the first look that finds the
// window. The state must have been reset.
HWND RunSearchPasses(LPARAM key, unsigned timeout);

// Whether the process runs the module file and was created at `since` (FILETIME units) or
// later: a copy that a shell launch started.
bool RunsModuleSince(DWORD processId, const char* modulePath, ULONGLONG since);

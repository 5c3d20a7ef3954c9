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
};

WindowSearchState& WindowSearch();

// EnumWindows callback; the key is a process id (mode 1) or a module path (mode 2).
BOOL CALLBACK TopLevelWindowProc(HWND window, LPARAM key);

// Enumeration passes, one per second of the time-out, pausing a second after each pass that
// found nothing. The state must have been reset.
HWND RunSearchPasses(LPARAM key, unsigned timeout);

// Moves, sizes and shows the window as registered; returns the id of its owning thread.
DWORD PlaceWindow(const Executant& executant, HWND window);

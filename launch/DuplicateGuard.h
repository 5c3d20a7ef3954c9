// The guard against starting a second copy of a program: a program counts as running when
// some process runs a module of the same file name and extension, in any folder and case.
#pragma once
#include <windows.h>

// True when no running copy was found and the launch may go ahead.
bool CheckModuleNotRunning(const char* desktop, const char* fileName);

// EnumWindows/EnumDesktopWindows callback; the parameter is the folded module name.
BOOL CALLBACK DuplicateWindowProc(HWND window, LPARAM moduleName);

// Walks a process snapshot; true when a process runs the module.
bool FindModuleInSnapshot(HANDLE snapshot, const char* moduleName);

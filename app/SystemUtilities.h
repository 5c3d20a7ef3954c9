// Process-wide services many subsystems call: system error texts, the command-line runner,
// the one-slot save of the current directory, path checks, the executable-extension list
// and the system-menu trimming.
#pragma once
#include <windows.h>

// Text of the thread's last error code, to be released with LocalFree; null when none.
char* GetSystemErrorText();
// Shows the last error's text in an ownerless "Error" box when the low byte of flag is set.
void ShowSystemError(int flag);
// Process id of the started program, or 0. A program path with a blank is quoted.
DWORD RunCommandLine(HWND owner, const char* program, const char* arguments, const char* directory,
                     const char* desktop, DWORD extraFlags);
void SaveCurrentDirectory();
void RestoreCurrentDirectory();
// 1 usable, 0 missing, -10 not a directory, -11 read-only/system/temporary/offline.
int CheckDirectory(const char* path, UINT* driveType);
// 1 usable (readOnly tells), 0 missing, -10 a directory, -11 system/temporary/offline.
int CheckFile(const char* path, int* readOnly);
int IsExecutableExtension(const char* extension);
void TrimSystemMenu(HWND window);

// The executable's file name without folders and extension, computed once.
const char* AppTitle();

// Application message box: modal, owned by the active window, captioned with the
// executable's name without extension. Returns the button pressed.
int AppMessageBox(const char* text, UINT style = MB_OK | MB_ICONWARNING);
// printf-style convenience for the boxes whose text carries a path or a count.
int AppMessageBoxF(UINT style, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;

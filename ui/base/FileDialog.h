// The common open and save dialogs with filters written as "text|pattern|...||".
#pragma once
#include <windows.h>

#include <string>

struct FileDialogRequest {
    HWND owner = nullptr;
    const char* filter = nullptr;            // "text|pattern|...||", or null for none
    const char* defaultExtension = nullptr;  // without the dot
    const char* initialFile = nullptr;       // whole path or name shown in the name field
    const char* initialFolder = nullptr;     // null or empty: the system's choice
    DWORD flags = 0;
};

// True with the chosen path on OK. The process's current directory is the same afterwards:
// Wine changes it even with OFN_NOCHANGEDIR.
bool RunOpenFileDialog(const FileDialogRequest& request, std::string* path);
bool RunSaveFileDialog(const FileDialogRequest& request, std::string* path);
// The system's filter form: every '|' that is a character of its own becomes a NUL.
std::string SystemFilter(const char* filter);

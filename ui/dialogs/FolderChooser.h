// Picks a folder with the system's old-style open dialog and a template of our own that
// keeps only the current-folder line, the drives and the folders. The hidden file-name
// field holds a dummy name, so OK always has a file to return; the folder stands before it.
#pragma once
#include <windows.h>

#include <string>

class FolderChooser {
public:
    FolderChooser(HWND owner, DWORD flags) : owner_(owner), flags_(flags) {}
    // True with the chosen folder (a root keeps its separator: "C:\").
    bool Run(const char* initialFolder, std::string* folder);

    bool firstPaint = false;

private:
    static UINT_PTR CALLBACK Hook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

    HWND owner_;
    DWORD flags_;
};

constexpr DWORD kFolderChooserFlags = 0x00B00808;

// Runs the chooser for an edit that names the first folder and receives the chosen one.
// The chooser is owned by the edit's dialog; the current directory is kept.
bool ChooseFolder(HWND edit, DWORD flags);

// Common file dialogs.
#include "FileDialog.h"

#include <commdlg.h>

#include <cstring>

#include "StringClass.h"

std::string SystemFilter(const char* filter)
{
    std::string result(filter != nullptr ? filter : "");
    for (size_t i = 0; i < result.size(); ++i) {
        // A Shift-JIS trail byte can be 0x7C ('|'), as in "－" (0x817C).
        if (IsLeadByte(static_cast<unsigned char>(result[i]))) {
            ++i;
        } else if (result[i] == '|') {
            result[i] = '\0';
        }
    }
    result.push_back('\0');
    return result;
}

namespace {

bool RunFileDialog(const FileDialogRequest& request, std::string* path, bool open)
{
    char file[MAX_PATH] = "";
    if (request.initialFile != nullptr) {
        std::strncpy(file, request.initialFile, sizeof(file) - 1);
    }
    const std::string filter = SystemFilter(request.filter);

    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = request.owner;
    ofn.lpstrFilter = request.filter != nullptr ? filter.c_str() : nullptr;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof(file);
    ofn.lpstrInitialDir =
        (request.initialFolder != nullptr && request.initialFolder[0] != '\0') ? request.initialFolder : nullptr;
    ofn.lpstrDefExt = request.defaultExtension;
    ofn.Flags = request.flags;

    // A local copy, not the program's one-slot save: callers may hold that slot themselves.
    char directory[MAX_PATH] = "";
    const DWORD kept = ::GetCurrentDirectoryA(sizeof(directory), directory);
    const BOOL chosen = open ? ::GetOpenFileNameA(&ofn) : ::GetSaveFileNameA(&ofn);
    if (kept > 0 && kept < sizeof(directory)) ::SetCurrentDirectoryA(directory);
    if (!chosen) return false;
    path->assign(file);
    return true;
}

}  // namespace

bool RunOpenFileDialog(const FileDialogRequest& request, std::string* path)
{
    return RunFileDialog(request, path, true);
}

bool RunSaveFileDialog(const FileDialogRequest& request, std::string* path)
{
    return RunFileDialog(request, path, false);
}

// Folder chooser on the old-style open dialog.
#include "FolderChooser.h"

#include <commdlg.h>

#include <cstring>

#include "EditorIds.h"
#include "PathText.h"
#include "SystemUtilities.h"

namespace {
constexpr char kDummyFileName[] = "Vorn";
// The system puts its own "Open" over the template's caption unless it is given one.
constexpr char kTitle[] = "パスの選択";
constexpr char kChooserProperty[] = "Lodestay.FolderChooser";

void CentreOver(HWND window, HWND over)
{
    RECT outer = {};
    RECT own = {};
    if (over == nullptr || !::GetWindowRect(over, &outer)) {
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &outer, 0);
    }
    ::GetWindowRect(window, &own);
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    const int left = outer.left + ((outer.right - outer.left) - width) / 2;
    const int top = outer.top + ((outer.bottom - outer.top) - height) / 2;
    ::SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
}  // namespace

UINT_PTR CALLBACK FolderChooser::Hook(HWND dialog, UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        const OPENFILENAMEA* request = reinterpret_cast<const OPENFILENAMEA*>(lParam);
        FolderChooser* self = reinterpret_cast<FolderChooser*>(request->lCustData);
        ::SetPropA(dialog, kChooserProperty, self);
        CentreOver(dialog, ::GetWindow(dialog, GW_OWNER));
        HWND name = ::GetDlgItem(dialog, IDC_FC_FILE_NAME);
        ::ShowWindow(name, SW_HIDE);
        ::SetWindowTextA(name, kDummyFileName);
        ::SetFocus(::GetDlgItem(dialog, IDC_FC_FOLDERS));
        self->firstPaint = true;
        // The focus is set: the system must not move it.
        return FALSE;
    }
    if (message == WM_PAINT) {
        if (FolderChooser* self = static_cast<FolderChooser*>(::GetPropA(dialog, kChooserProperty))) {
            self->firstPaint = false;
        }
    } else if (message == WM_NCDESTROY) {
        ::RemovePropA(dialog, kChooserProperty);
    }
    return FALSE;
}

bool FolderChooser::Run(const char* initialFolder, std::string* folder)
{
    char file[MAX_PATH] = "";
    OPENFILENAMEA request = {};
    request.lStructSize = sizeof(request);
    request.hwndOwner = owner_;
    request.hInstance = ::GetModuleHandleA(nullptr);
    request.lpstrFile = file;
    request.nMaxFile = sizeof(file);
    request.lpstrInitialDir = initialFolder != nullptr && initialFolder[0] != '\0' ? initialFolder : nullptr;
    request.lpTemplateName = MAKEINTRESOURCEA(IDD_FOLDER_CHOOSER);
    request.lpstrTitle = kTitle;
    // The template only works with the old-style dialog; the hook hides the name field.
    request.Flags = (flags_ | OFN_ENABLETEMPLATE | OFN_ENABLEHOOK) & ~static_cast<DWORD>(OFN_EXPLORER);
    request.lpfnHook = Hook;
    request.lCustData = reinterpret_cast<LPARAM>(this);
    if (!::GetOpenFileNameA(&request)) return false;

    const size_t length = std::strlen(file);
    const size_t offset = request.nFileOffset;
    folder->assign(offset > 0 && offset <= length ? std::string(file, offset) : FolderPart(file));
    // The separator before the dummy name goes, except the one of a root: "C:" alone would
    // mean the current folder of drive C.
    StripTrailingSeparator(*folder);
    return true;
}

bool ChooseFolder(HWND edit, DWORD flags)
{
    char initial[MAX_PATH] = "";
    ::GetWindowTextA(edit, initial, sizeof(initial));
    SaveCurrentDirectory();
    // Owned by the edit's dialog, so nothing there can go away while the chooser runs.
    FolderChooser chooser(::GetAncestor(edit, GA_ROOT), flags);
    std::string folder;
    const bool chosen = chooser.Run(initial, &folder);
    // The system changes the process's directory even when asked not to.
    RestoreCurrentDirectory();
    if (chosen) ::SetWindowTextA(edit, folder.c_str());
    return chosen;
}

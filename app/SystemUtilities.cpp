// System error texts, the command-line runner, the saved-directory slot, path checks,
// the executable-extension list and the system-menu trimming.
#include "SystemUtilities.h"

#include <direct.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "AppMessages.h"
#include "CommandLine.h"
#include "ExtensionList.h"
#include "Log.h"
#include "StringClass.h"

namespace {

constexpr DWORD kRunFlags =
    CREATE_NEW_CONSOLE | CREATE_NEW_PROCESS_GROUP | CREATE_SEPARATE_WOW_VDM | CREATE_DEFAULT_ERROR_MODE;
constexpr DWORD kUnusableDirectory =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE;
constexpr DWORD kUnusableFile = FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE;

int savedDrive = 0;
char savedDirectory[MAX_PATH] = "";

StringClass& ExecutableExtensions()
{
    static StringClass list;
    return list;
}

}  // namespace

char* GetSystemErrorText()
{
    char* text = nullptr;
    const DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        ::GetLastError(), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPSTR>(&text), 0, nullptr);
    if (length == 0) {
        if (text != nullptr) ::LocalFree(text);
        return nullptr;
    }
    return text;
}

void ShowSystemError(int flag)
{
    if ((flag & 0xFF) == 0) return;
    char* text = GetSystemErrorText();
    ::MessageBoxA(nullptr, text != nullptr ? text : "", AppText::kSystemErrorCaption, MB_OK | MB_ICONINFORMATION);
    if (text != nullptr) ::LocalFree(text);
}

DWORD RunCommandLine(HWND owner, const char* program, const char* arguments, const char* directory,
                     const char* desktop, DWORD extraFlags)
{
    StringClass commandLine;
    if (!BuildProcessCommandLine(commandLine, program, arguments)) return 0;
    // CreateProcessA may write into the command line, so it gets a copy of its own. Without
    // memory for it the result is 0, without a message, like a command line that could not
    // be built.
    const size_t size = static_cast<size_t>(commandLine.Length()) + 1;
    std::unique_ptr<char[]> writable(new (std::nothrow) char[size]);
    if (writable == nullptr) return 0;
    std::memcpy(writable.get(), commandLine.Text(), size);

    STARTUPINFOA startup;
    ::GetStartupInfoA(&startup);
    startup.cb = sizeof(startup);
    startup.lpDesktop = const_cast<char*>(desktop);
    // Our own reserved block (the run-time library's inherited files) and standard handles
    // mean nothing to a child that inherits no handles.
    startup.lpReserved = nullptr;
    startup.cbReserved2 = 0;
    startup.lpReserved2 = nullptr;
    startup.dwFlags &= ~STARTF_USESTDHANDLES;

    if (owner != nullptr) ::SetForegroundWindow(owner);

    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(nullptr, writable.get(), nullptr, nullptr, FALSE, kRunFlags | extraFlags, nullptr,
                          directory, &startup, &process)) {
        LogMessage(AppText::kCreateProcessFailedLog, commandLine.Text());
        ShowSystemError(1);
        return 0;
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return process.dwProcessId;
}

void SaveCurrentDirectory()
{
    savedDrive = _getdrive();
    if (_getcwd(savedDirectory, sizeof(savedDirectory)) == nullptr) savedDirectory[0] = '\0';
}

void RestoreCurrentDirectory()
{
    if (savedDrive != 0) _chdrive(savedDrive);
    if (savedDirectory[0] != '\0') _chdir(savedDirectory);
}

int CheckDirectory(const char* path, UINT* driveType)
{
    *driveType = 0;
    char drive[_MAX_DRIVE] = "";
    _splitpath(path, drive, nullptr, nullptr, nullptr);
    if (drive[0] != '\0') {
        // The system wants the root with its backslash; without a drive the current
        // directory's root is the one a relative path lies on.
        char root[_MAX_DRIVE + 1];
        std::snprintf(root, sizeof(root), "%s\\", drive);
        *driveType = ::GetDriveTypeA(root);
    } else {
        *driveType = ::GetDriveTypeA(nullptr);
    }

    const DWORD attributes = ::GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return 0;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return -10;
    if (attributes & kUnusableDirectory) return -11;
    return 1;
}

int CheckFile(const char* path, int* readOnly)
{
    *readOnly = 0;
    const DWORD attributes = ::GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return 0;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return -10;
    if (attributes & kUnusableFile) return -11;
    if (attributes & FILE_ATTRIBUTE_READONLY) *readOnly = 1;
    return 1;
}

int IsExecutableExtension(const char* extension)
{
    StringClass& list = ExecutableExtensions();
    if (list.IsEmpty()) ChooseExtensionList(list, std::getenv("PATHENT"));
    return ExtensionInList(list.Text(), extension);
}

void TrimSystemMenu(HWND window)
{
    HMENU menu = ::GetSystemMenu(window, FALSE);
    if (menu == nullptr) return;
    for (int position = ::GetMenuItemCount(menu) - 1; position >= 0; --position) {
        const UINT command = ::GetMenuItemID(menu, position);
        // 0 is a separator and -1 a sub-menu.
        const bool keep = command == 0 || command == SC_MOVE || command == SC_MINIMIZE || command == SC_CLOSE ||
                          command == static_cast<UINT>(-1);
        if (!keep) ::DeleteMenu(menu, position, MF_BYPOSITION);
    }
}

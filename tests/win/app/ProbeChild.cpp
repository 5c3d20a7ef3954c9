// A small program the tests start in a process of its own, for what is decided once per
// process: the reported Windows family and the executable-extension list.
//   family            exit code: (family + 1) * 16 + bits of the bound functions
//   ext EXT...        exit code: bit i set when EXT number i counts as executable
#include <windows.h>

#include <cstring>

#include "SystemFunctions.h"
#include "SystemUtilities.h"

namespace {

// 1: PSAPI bound, 2: ImmDisableIME bound, 4: tool-help bound, 8: the family's route finds
// this very program.
int BoundBits()
{
    int bits = 0;
    if (Bound::EnumProcesses && Bound::EnumProcessModules && Bound::GetModuleFileNameExA && Bound::GetModuleBaseNameA)
        bits |= 1;
    if (Bound::ImmDisableIME) bits |= 2;
    if (Bound::CreateToolhelp32Snapshot && Bound::Process32First && Bound::Process32Next) bits |= 4;

    char ownPath[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, ownPath, sizeof(ownPath));
    const char* ownName = std::strrchr(ownPath, '\\') ? std::strrchr(ownPath, '\\') + 1 : ownPath;

    if (GetOsFamily() == kOsNT && (bits & 1)) {
        HMODULE first = nullptr;
        DWORD needed = 0;
        char name[256] = "";
        if (Bound::EnumProcessModules(::GetCurrentProcess(), &first, sizeof(first), &needed) &&
            Bound::GetModuleBaseNameA(::GetCurrentProcess(), first, name, sizeof(name)) &&
            _stricmp(name, ownName) == 0)
            bits |= 8;
    } else if (GetOsFamily() == kOsWin95 && (bits & 4)) {
        HANDLE snapshot = Bound::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        if (snapshot != INVALID_HANDLE_VALUE) {
            PROCESSENTRY32 entry = {};
            // The entry's size differs between 32- and 64-bit builds.
            entry.dwSize = sizeof(entry);
            for (BOOL more = Bound::Process32First(snapshot, &entry); more;
                 more = Bound::Process32Next(snapshot, &entry)) {
                if (entry.th32ProcessID == ::GetCurrentProcessId() && _stricmp(entry.szExeFile, ownName) == 0)
                    bits |= 8;
            }
            ::CloseHandle(snapshot);
        }
    }
    return bits;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // The application object binds these before the entry point; this program does it here.
    BindSystemFunctions(kBindAll, 1);
    int result = 255;
    if (__argc >= 2 && std::strcmp(__argv[1], "family") == 0) {
        result = (GetOsFamily() + 1) * 16 + BoundBits();
    } else if (__argc >= 2 && std::strcmp(__argv[1], "ext") == 0) {
        result = 0;
        for (int i = 2; i < __argc; ++i)
            if (IsExecutableExtension(__argv[i])) result |= 1 << (i - 2);
    }
    BindSystemFunctions(kBindAll, 0);
    return result;
}

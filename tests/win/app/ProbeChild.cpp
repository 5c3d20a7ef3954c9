// A small program the tests start in a process of its own, for what is decided once per
// process: the reported Windows family and the executable-extension list.
//   family            exit code: (family + 1) * 16 + bits of the bound functions
//   ext EXT...        exit code: bit i set when EXT number i counts as executable
#include <windows.h>

#include <cstring>

#include "SystemFunctions.h"
#include "SystemUtilities.h"

namespace {

// 1: PSAPI bound, 2: ImmDisableIME bound, 4: tool-help bound. That each family's route finds
// processes is shown by the duplicate guard's tests, which run under both families.
int BoundBits()
{
    int bits = 0;
    if (Bound::EnumProcesses && Bound::EnumProcessModules && Bound::GetModuleFileNameExA && Bound::GetModuleBaseNameA)
        bits |= 1;
    if (Bound::ImmDisableIME) bits |= 2;
    if (Bound::CreateToolhelp32Snapshot && Bound::Process32First && Bound::Process32Next) bits |= 4;
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

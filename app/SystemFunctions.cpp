// Works out the Windows family once and binds the optional process and input-method
// functions it offers, so that the program starts on every family and its users test
// the pointers before calling.
#include "SystemFunctions.h"

#include <string>

#include "PathText.h"

namespace Bound {
BOOL(WINAPI* EnumProcesses)(DWORD*, DWORD, DWORD*) = nullptr;
BOOL(WINAPI* EnumProcessModules)(HANDLE, HMODULE*, DWORD, DWORD*) = nullptr;
DWORD(WINAPI* GetModuleFileNameExA)(HANDLE, HMODULE, LPSTR, DWORD) = nullptr;
DWORD(WINAPI* GetModuleBaseNameA)(HANDLE, HMODULE, LPSTR, DWORD) = nullptr;
BOOL(WINAPI* ImmDisableIME)(DWORD) = nullptr;
HANDLE(WINAPI* CreateToolhelp32Snapshot)(DWORD, DWORD) = nullptr;
BOOL(WINAPI* Process32First)(HANDLE, PROCESSENTRY32*) = nullptr;
BOOL(WINAPI* Process32Next)(HANDLE, PROCESSENTRY32*) = nullptr;
}  // namespace Bound

namespace {

int osFamily = kOsUnprobed;
HMODULE psapiLibrary = nullptr;
HMODULE imm32Library = nullptr;
HMODULE kernel32Library = nullptr;

// A missing name leaves the pointer null; the detour through a plain function pointer
// keeps the compiler from warning about the cast from FARPROC.
template <typename Function>
void Lookup(HMODULE library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(library, name)));
}

// By its full path: where the search limit is missing (before Windows 8 without its update,
// the 95 family) a load by name would look in the program's own folder first.
HMODULE LoadSystemLibrary(const char* name)
{
    char folder[MAX_PATH];
    const UINT length = ::GetSystemDirectoryA(folder, sizeof(folder));
    if (length == 0 || length >= sizeof(folder)) return nullptr;
    std::string path(folder, length);
    const char* last = LastSeparator(path.c_str());
    if (last == nullptr || last[1] != '\0') path += '\\';
    path += name;
    return ::LoadLibraryA(path.c_str());
}

void BindProcessStatus()
{
    if (psapiLibrary == nullptr) {
        psapiLibrary = LoadSystemLibrary("PSAPI.DLL");
        if (psapiLibrary == nullptr) return;
    }
    if (Bound::EnumProcessModules != nullptr) return;
    Lookup(psapiLibrary, "EnumProcesses", Bound::EnumProcesses);
    Lookup(psapiLibrary, "EnumProcessModules", Bound::EnumProcessModules);
    Lookup(psapiLibrary, "GetModuleFileNameExA", Bound::GetModuleFileNameExA);
    Lookup(psapiLibrary, "GetModuleBaseNameA", Bound::GetModuleBaseNameA);
}

void BindInputMethod()
{
    if (imm32Library == nullptr) {
        imm32Library = LoadSystemLibrary("IMM32.DLL");
        if (imm32Library == nullptr) return;
    }
    if (Bound::ImmDisableIME == nullptr) Lookup(imm32Library, "ImmDisableIME", Bound::ImmDisableIME);
}

void BindToolHelp()
{
    if (kernel32Library == nullptr) {
        kernel32Library = ::LoadLibraryA("Kernel32.DLL");
        if (kernel32Library == nullptr) return;
    }
    Lookup(kernel32Library, "CreateToolhelp32Snapshot", Bound::CreateToolhelp32Snapshot);
    Lookup(kernel32Library, "Process32First", Bound::Process32First);
    Lookup(kernel32Library, "Process32Next", Bound::Process32Next);
}

void Release(HMODULE& library)
{
    if (library != nullptr) ::FreeLibrary(library);
    library = nullptr;
}

}  // namespace

void LimitDllSearchToSystemFolder()
{
    // Both are looked up: SetDefaultDllDirectories came with Windows 8 (and an update of Vista
    // and 7), SetDllDirectoryA with XP SP1. kernel32 is loaded in every process already.
    constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32
    HMODULE kernel32 = ::GetModuleHandleA("kernel32.dll");
    if (kernel32 == nullptr) return;
    BOOL(WINAPI* setDefaultDirectories)(DWORD) = nullptr;
    Lookup(kernel32, "SetDefaultDllDirectories", setDefaultDirectories);
    if (setDefaultDirectories != nullptr && setDefaultDirectories(kSearchSystem32)) return;
    // Takes at least the working folder out of the search; the program's own folder stays,
    // which is why the libraries bound here are loaded by their full path.
    BOOL(WINAPI* setDllDirectory)(LPCSTR) = nullptr;
    Lookup(kernel32, "SetDllDirectoryA", setDllDirectory);
    if (setDllDirectory != nullptr) setDllDirectory("");
}

int GetOsFamily()
{
    if (osFamily == kOsUnprobed) {
        OSVERSIONINFOA version = {};
        version.dwOSVersionInfoSize = sizeof(version);
        if (!::GetVersionExA(&version)) {
            osFamily = kOsUnknown;
        } else if (version.dwPlatformId == VER_PLATFORM_WIN32_NT) {
            osFamily = kOsNT;
        } else if (version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) {
            osFamily = kOsWin95;
        } else {
            osFamily = kOsOther;
        }
    }
    return osFamily;
}

void BindSystemFunctions(int groups, int load)
{
    if (!load) {
        if (groups & kBindProcess) {
            Release(psapiLibrary);
            Bound::EnumProcesses = nullptr;
            Bound::EnumProcessModules = nullptr;
            Bound::GetModuleFileNameExA = nullptr;
            Bound::GetModuleBaseNameA = nullptr;
            Release(kernel32Library);
            Bound::CreateToolhelp32Snapshot = nullptr;
            Bound::Process32First = nullptr;
            Bound::Process32Next = nullptr;
        }
        if (groups & kBindInputMethod) {
            Release(imm32Library);
            Bound::ImmDisableIME = nullptr;
        }
        return;
    }

    switch (GetOsFamily()) {
    case kOsNT:
        if (groups & kBindProcess) BindProcessStatus();
        if (groups & kBindInputMethod) BindInputMethod();
        break;
    case kOsWin95:
        // The 95 family has neither PSAPI nor a usable IMM32 switch: only the tool-help
        // functions, whatever groups were asked for.
        BindToolHelp();
        break;
    default:
        break;
    }
}

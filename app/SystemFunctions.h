// Operating-system family probe and the optional system functions bound at run time:
// the process-status and input-method functions on the NT family, the tool-help
// functions of Kernel32 on the Windows 95 family.
#pragma once
#include <windows.h>
#include <tlhelp32.h>

enum OsFamily {
    kOsUnprobed = 0,
    kOsUnknown = -1,    // the version could not be obtained
    kOsOther = 1,
    kOsWin95 = 2,
    kOsNT = 3,
};

enum BindGroup {
    kBindProcess = 1,   // PSAPI on NT; on release also the tool-help functions
    kBindInputMethod = 2,
    kBindAll = kBindProcess | kBindInputMethod,
};

int GetOsFamily();
void BindSystemFunctions(int groups, int load);

// Limits the folders this process loads DLLs from by name to the system folder, so that a DLL
// dropped beside the program or into its working folder never runs inside it. Programs the
// launcher starts are other processes and keep their own search order.
void LimitDllSearchToSystemFolder();

// The bound functions: null when the family does not offer them or they could not be found.
namespace Bound {
extern BOOL(WINAPI* EnumProcesses)(DWORD*, DWORD, DWORD*);
extern BOOL(WINAPI* EnumProcessModules)(HANDLE, HMODULE*, DWORD, DWORD*);
extern DWORD(WINAPI* GetModuleFileNameExA)(HANDLE, HMODULE, LPSTR, DWORD);
extern DWORD(WINAPI* GetModuleBaseNameA)(HANDLE, HMODULE, LPSTR, DWORD);
extern BOOL(WINAPI* ImmDisableIME)(DWORD);
extern HANDLE(WINAPI* CreateToolhelp32Snapshot)(DWORD, DWORD);
// Callers set the entry's dwSize to sizeof(PROCESSENTRY32): 296 bytes in a 32-bit build,
// 304 in a 64-bit one.
extern BOOL(WINAPI* Process32First)(HANDLE, PROCESSENTRY32*);
extern BOOL(WINAPI* Process32Next)(HANDLE, PROCESSENTRY32*);
}  // namespace Bound

// Helpers of the fault tests.
#include "FaultTestSupport.h"

#include <winternl.h>

#include <string>

#include "Handles.h"

namespace {

// Handle values are multiples of four; 4096 of them are far more than these tests hold.
constexpr uintptr_t kHandleValueLimit = 0x4000;
constexpr int kObjectTypeInformation = 2;

}  // namespace

HandleTally CurrentHandles()
{
    return {UniqueHandle::Live(), SnapshotHandle::Live(), DesktopHandle::Live(), KeptProcessHandles::Live()};
}

std::ostream& operator<<(std::ostream& out, const HandleTally& tally)
{
    return out << "{kernel " << tally.kernel << ", snapshots " << tally.snapshots << ", desktops " << tally.desktops
               << ", kept " << tally.kept << "}";
}

int LaunchHandlesInTable()
{
    using QueryObject = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    using ProcessOfThread = DWORD(WINAPI*)(HANDLE);
    static const auto queryObject =
        reinterpret_cast<QueryObject>(reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "NtQueryObject")));
    static const auto processOfThread = reinterpret_cast<ProcessOfThread>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "GetProcessIdOfThread")));
    if (queryObject == nullptr || processOfThread == nullptr) return -1;
    int count = 0;
    for (uintptr_t value = 4; value < kHandleValueLimit; value += 4) {
        const HANDLE handle = reinterpret_cast<HANDLE>(value);
        DWORD flags = 0;
        if (!::GetHandleInformation(handle, &flags)) continue;
        // Object type information: the type name comes first, as a counted wide string.
        alignas(8) unsigned char buffer[512] = {0};
        if (queryObject(handle, kObjectTypeInformation, buffer, sizeof buffer, nullptr) < 0) continue;
        const UNICODE_STRING* name = reinterpret_cast<const UNICODE_STRING*>(buffer);
        const std::wstring type(name->Buffer, name->Length / sizeof(wchar_t));
        if (type == L"Thread" && processOfThread(handle) == ::GetCurrentProcessId()) continue;
        if (type == L"Process" || type == L"Thread" || type == L"Desktop" || type == L"Section") ++count;
    }
    return count;
}

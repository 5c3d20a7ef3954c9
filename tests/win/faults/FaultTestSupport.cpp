// Helpers of the fault tests.
#include "FaultTestSupport.h"

#include <tlhelp32.h>
#include <winternl.h>

#include <cctype>
#include <vector>

#include "Handles.h"
#include "LaunchTestSupport.h"

namespace {

// Handle values are multiples of four; 4096 of them are far more than these tests hold.
constexpr uintptr_t kHandleValueLimit = 0x4000;
constexpr int kObjectTypeInformation = 2;

std::string Lower(std::string text)
{
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

struct BoxQuery {
    DWORD processId;
    HWND box;
};

BOOL CALLBACK FindBox(HWND window, LPARAM parameter)
{
    BoxQuery* query = reinterpret_cast<BoxQuery*>(parameter);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    char className[16] = {0};
    ::GetClassNameA(window, className, sizeof className);
    if (processId != query->processId || std::string(className) != "#32770" || !::IsWindowVisible(window)) {
        return TRUE;
    }
    query->box = window;
    return FALSE;
}

std::string TextOf(HWND window)
{
    char text[4096] = {0};
    ::SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

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

void EndPrograms(std::initializer_list<std::string> fileNames)
{
    std::vector<std::string> names;
    for (const std::string& name : fileNames) names.push_back(Lower(name));
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return;
    std::vector<HANDLE> ending;
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32First(snapshot, &entry); more; more = ::Process32Next(snapshot, &entry)) {
        const std::string exe = Lower(entry.szExeFile);
        const std::string file = exe.substr(exe.find_last_of('\\') + 1);
        bool ours = false;
        for (const std::string& name : names) ours = ours || file == name;
        if (!ours || entry.th32ProcessID == ::GetCurrentProcessId()) continue;
        if (HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID)) {
            ::TerminateProcess(process, 0);
            ending.push_back(process);
        }
    }
    ::CloseHandle(snapshot);
    for (HANDLE process : ending) {
        ::WaitForSingleObject(process, 5000);
        ::CloseHandle(process);
    }
}

void EndTestPrograms()
{
    EndPrograms({"lodestay-testapp.exe", "lodestay-testapp-console.exe", "lodestay.exe"});
}

LauncherRun RunUnattended(const std::string& settingsPath, DWORD boundMs)
{
    LauncherRun run;
    ChildProcess launcher = StartProgram(ProgramBeside("lodestay.exe"), "-e -p " + Quoted(settingsPath), false);
    if (launcher.Get() == nullptr) return run;
    for (DWORD waited = 0; waited < boundMs; waited += 50) {
        if (::WaitForSingleObject(launcher.Get(), 50) == WAIT_OBJECT_0) {
            run.ended = true;
            break;
        }
        BoxQuery query = {launcher.Id(), nullptr};
        ::EnumWindows(FindBox, reinterpret_cast<LPARAM>(&query));
        if (query.box == nullptr) continue;
        ++run.boxes;
        run.caption = TextOf(query.box);
        run.text = TextOf(::GetDlgItem(query.box, 0xFFFF));
        ::PostMessageA(::GetDlgItem(query.box, IDOK), BM_CLICK, 0, 0);
        // Until the box is gone, so that it is not counted twice.
        for (int i = 0; i < 200 && ::IsWindow(query.box); ++i) ::Sleep(25);
    }
    return run;
}

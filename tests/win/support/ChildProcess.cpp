// Programs a test or benchmark starts, finds the window of, and ends.
#include "WinTestSupport.h"

#include <tlhelp32.h>

#include <cstring>

namespace {

constexpr DWORD kEndBoundMs = 5000;

void EndAndClose(HANDLE process)
{
    ::TerminateProcess(process, 0);
    ::WaitForSingleObject(process, kEndBoundMs);
    ::CloseHandle(process);
}

struct WindowQuery {
    DWORD processId;
    bool unownedOnly;
    HWND found;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM parameter)
{
    WindowQuery* query = reinterpret_cast<WindowQuery*>(parameter);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    if (processId != query->processId || !::IsWindowVisible(window)) return TRUE;
    if (query->unownedOnly && ::GetWindow(window, GW_OWNER) != nullptr) return TRUE;
    query->found = window;
    return FALSE;
}

}  // namespace

ChildProcess::~ChildProcess()
{
    if (process_ != nullptr) EndAndClose(process_);
}

HANDLE StartProcess(const std::string& commandLine, const char* directory, const char* desktop)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.lpDesktop = const_cast<char*>(desktop);
    PROCESS_INFORMATION info = {};
    std::string writable = commandLine;
    if (!::CreateProcessA(nullptr, &writable[0], nullptr, nullptr, FALSE, 0, nullptr, directory, &startup, &info)) {
        return nullptr;
    }
    ::CloseHandle(info.hThread);
    return info.hProcess;
}

ChildProcess StartProgram(const std::string& program, const std::string& arguments)
{
    HANDLE process = StartProcess(Quoted(program) + " " + arguments);
    if (process != nullptr) ::WaitForInputIdle(process, 10000);
    return ChildProcess(process);
}

ChildProcess StartTestAppCopy(const std::string& path, const std::string& report, const std::string& options)
{
    if (!::CopyFileA(TestAppPath().c_str(), path.c_str(), FALSE)) return ChildProcess();
    if (report.empty()) return StartProgram(path, options);
    ChildProcess child = StartProgram(path, "--report " + report + " " + options);
    WaitForReport(report, "start");
    return child;
}

long RunProgram(const std::string& commandLine, DWORD timeoutMs)
{
    HANDLE process = StartProcess(commandLine);
    if (process == nullptr) return -1;
    long result = -1;
    if (::WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0) {
        DWORD code = 0;
        ::GetExitCodeProcess(process, &code);
        result = static_cast<long>(code);
    } else {
        ::TerminateProcess(process, 1);
    }
    ::CloseHandle(process);
    return result;
}

std::string ProgramBeside(const char* name)
{
    char path[MAX_PATH];
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path);
    folder.erase(folder.find_last_of('\\') + 1);
    return folder + name;
}

std::string TestAppPath() { return ProgramBeside("lodestay-testapp.exe"); }
std::string ConsoleTestAppPath() { return ProgramBeside("lodestay-testapp-console.exe"); }

std::string Quoted(const std::string& path)
{
    return path.find(' ') == std::string::npos ? path : "\"" + path + "\"";
}

HWND WindowOfProcess(DWORD processId, bool unownedOnly)
{
    WindowQuery query = {processId, unownedOnly, nullptr};
    ::EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

void EndProcess(DWORD processId)
{
    HANDLE process = processId != 0 ? ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId) : nullptr;
    if (process != nullptr) EndAndClose(process);
}

EndOnExit::~EndOnExit()
{
    for (DWORD id : ids_) EndProcess(id);
}

void EndOnExit::AddHandle(HANDLE process)
{
    if (process != nullptr) Add(::GetProcessId(process));
}

void EndPrograms(std::initializer_list<std::string> fileNames)
{
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return;
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32First(snapshot, &entry); more; more = ::Process32Next(snapshot, &entry)) {
        const char* slash = std::strrchr(entry.szExeFile, '\\');
        const char* file = slash != nullptr ? slash + 1 : entry.szExeFile;
        bool ours = false;
        for (const std::string& name : fileNames) ours = ours || _stricmp(file, name.c_str()) == 0;
        if (ours && entry.th32ProcessID != ::GetCurrentProcessId()) EndProcess(entry.th32ProcessID);
    }
    ::CloseHandle(snapshot);
}

void EndTestPrograms()
{
    EndPrograms({"lodestay-testapp.exe", "lodestay-testapp-console.exe", "lodestay.exe"});
}

ReportedVersion::ReportedVersion(const std::string& exeName, const char* version)
    : key_("Software\\Wine\\AppDefaults\\" + exeName)
{
    HKEY key;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) ==
        ERROR_SUCCESS) {
        ::RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                         static_cast<DWORD>(std::strlen(version) + 1));
        ::RegCloseKey(key);
    }
}

ReportedVersion::~ReportedVersion()
{
    ::RegDeleteKeyA(HKEY_CURRENT_USER, key_.c_str());
}

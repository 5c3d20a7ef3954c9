// Helpers of the launch tests.
#include "LaunchTestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "LaunchSleep.h"
#include "Log.h"
#include "TestAppMessages.h"

namespace {

void RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA((path + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            const std::string full = path + "\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full);
            } else {
                ::SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileA(full.c_str());
            }
        } while (::FindNextFileA(find, &data));
        ::FindClose(find);
    }
    ::RemoveDirectoryA(path.c_str());
}

std::vector<unsigned> g_pauses;
bool g_realPause = false;
LaunchSleepFunction g_previousPause = nullptr;

void RecordPause(unsigned milliseconds)
{
    g_pauses.push_back(milliseconds);
    if (g_realPause) ::Sleep(milliseconds);
}

struct WindowQuery {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM parameter)
{
    WindowQuery* query = reinterpret_cast<WindowQuery*>(parameter);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    if (processId != query->processId || !::IsWindowVisible(window)) return TRUE;
    query->found = window;
    return FALSE;
}

}  // namespace

TempFolder::TempFolder(const char* tag)
{
    static unsigned counter = 0;
    char base[MAX_PATH];
    ::GetTempPathA(sizeof base, base);
    char name[MAX_PATH];
    std::snprintf(name, sizeof name, "%s%s-%lu-%u-%lu", base, tag, ::GetCurrentProcessId(), ++counter,
                  ::GetTickCount());
    path_ = name;
    ::CreateDirectoryA(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() { RemoveTree(path_); }

CapturedLog::CapturedLog() : folder_("log"), path_(folder_.File("launch.log"))
{
    SetLogMaxSize(0x7FFFFFFF);
    SetLogEnabled(true);
    SetLogPath(path_.c_str());
}

CapturedLog::~CapturedLog()
{
    SetLogPath("");
    SetLogMaxSize(0);
}

std::string CapturedLog::Text() const
{
    // The writer appends in text mode; reading in text mode gives back what it was handed.
    std::ifstream in(path_);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void CapturedLog::Clear() { ::DeleteFileA(path_.c_str()); }

PauseRecorder::PauseRecorder(bool realPause)
{
    g_pauses.clear();
    g_realPause = realPause;
    g_previousPause = SetLaunchSleep(RecordPause);
}

PauseRecorder::~PauseRecorder() { SetLaunchSleep(g_previousPause); }

const std::vector<unsigned>& PauseRecorder::Pauses() const { return g_pauses; }

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

Report ReadReport(const std::string& path)
{
    Report report;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        const size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        report[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return report;
}

Report WaitForReport(const std::string& path, const char* event)
{
    for (int i = 0; i < 600; ++i) {
        Report report = ReadReport(path);
        if (report.count("end") && (event == nullptr || report["event"] == event)) return report;
        ::Sleep(50);
    }
    return ReadReport(path);
}

std::vector<long> Numbers(const std::string& text)
{
    std::vector<long> numbers;
    const char* p = text.c_str();
    while (*p != 0) {
        char* end = nullptr;
        numbers.push_back(std::strtol(p, &end, 10));
        if (end == p) break;
        p = *end == ',' ? end + 1 : end;
    }
    return numbers;
}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept
{
    if (this != &other) {
        this->~ChildProcess();
        process_ = other.process_;
        other.process_ = nullptr;
    }
    return *this;
}

ChildProcess::~ChildProcess()
{
    if (process_ == nullptr) return;
    ::TerminateProcess(process_, 0);
    ::WaitForSingleObject(process_, 5000);
    ::CloseHandle(process_);
    process_ = nullptr;
}

bool ChildProcess::Running() const
{
    return process_ != nullptr && ::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

ChildProcess StartProgram(const std::string& program, const std::string& arguments, bool waitIdle)
{
    std::string line = Quoted(program) + " " + arguments;
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back(0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        return ChildProcess();
    }
    ::CloseHandle(info.hThread);
    if (waitIdle) ::WaitForInputIdle(info.hProcess, 10000);
    return ChildProcess(info.hProcess);
}

HWND WindowOfProcess(DWORD processId)
{
    WindowQuery query = {processId, nullptr};
    ::EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

bool RequestReport(HWND window)
{
    DWORD_PTR answer = 0;
    return ::SendMessageTimeoutA(window, kReportRequest, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer) != 0 && answer == 1;
}

EndOnExit::~EndOnExit()
{
    for (DWORD id : ids_) {
        HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
        if (process == nullptr) continue;
        ::TerminateProcess(process, 0);
        ::WaitForSingleObject(process, 5000);
        ::CloseHandle(process);
    }
}

void EndOnExit::AddHandle(HANDLE process)
{
    if (process != nullptr) Add(::GetProcessId(process));
}

DWORD ReportedProcessId(const Report& report)
{
    auto it = report.find("pid");
    return it == report.end() ? 0 : static_cast<DWORD>(std::strtoul(it->second.c_str(), nullptr, 10));
}

std::unique_ptr<Executant> MakeExecutant(const std::vector<std::pair<const char*, std::string>>& settings)
{
    std::unique_ptr<Executant> executant(new Executant);
    for (const auto& setting : settings) executant->AddKeyword(setting.first, setting.second.c_str());
    executant->Validate();
    executant->ApplySettings();
    return executant;
}

std::string Quoted(const std::string& path)
{
    return path.find(' ') == std::string::npos ? path : "\"" + path + "\"";
}

const char kTestExtension[] = ".lodestaytest";

namespace {

const char kTestProgId[] = "Lodestay.TestDocument";

void SetKeyDefault(const std::string& key, const std::string& value)
{
    HKEY handle = nullptr;
    if (::RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) !=
        ERROR_SUCCESS) {
        return;
    }
    ::RegSetValueExA(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>(value.size() + 1));
    ::RegCloseKey(handle);
}

}  // namespace

// Wine's shell reads associations from the classes root only, not from the user's own
// classes, so the type goes there (inside the test prefix).
TestFileType::TestFileType()
{
    SetKeyDefault(kTestExtension, kTestProgId);
    SetKeyDefault(std::string(kTestProgId) + "\\shell\\open\\command", "\"" + TestAppPath() + "\" --open \"%1\"");
}

TestFileType::~TestFileType()
{
    for (const char* sub : {"\\shell\\open\\command", "\\shell\\open", "\\shell", ""}) {
        ::RegDeleteKeyA(HKEY_CLASSES_ROOT, (std::string(kTestProgId) + sub).c_str());
    }
    ::RegDeleteKeyA(HKEY_CLASSES_ROOT, kTestExtension);
}

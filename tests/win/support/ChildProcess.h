// Programs a test or benchmark starts, finds the window of, and ends; the version Wine
// reports to a program.
#pragma once
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

// A process the test started itself, ended when the owner goes.
class ChildProcess {
public:
    ChildProcess() = default;
    explicit ChildProcess(HANDLE process) : process_(process) {}
    ChildProcess(ChildProcess&& other) noexcept : process_(other.process_) { other.process_ = nullptr; }
    ChildProcess& operator=(ChildProcess&& other) noexcept;
    ~ChildProcess();
    HANDLE Get() const { return process_; }
    DWORD Id() const { return process_ != nullptr ? ::GetProcessId(process_) : 0; }
    bool Running() const;

private:
    HANDLE process_ = nullptr;
};

// Starts a command line; returns the process handle (the caller closes it), or null.
HANDLE StartProcess(const std::string& commandLine, const char* directory = nullptr, const char* desktop = nullptr);
// Starts a program directly (not through the engine) and waits until it is idle.
ChildProcess StartProgram(const std::string& program, const std::string& arguments, bool waitIdle = true);
// Copies the test application to `path` (a name no other test uses) and starts the copy; with
// a report path, waits until the copy reported its start. An empty process when that failed.
ChildProcess StartTestAppCopy(const std::string& path, const std::string& report = "",
                              const std::string& options = "");
// Exit code of a program run to its end within the bound, or -1 (then it is terminated).
long RunProgram(const std::string& commandLine, DWORD timeoutMs = 20000);

// Beside the running program: the test application, its console variant, the launcher.
std::string ProgramBeside(const char* name);
std::string TestAppPath();
std::string ConsoleTestAppPath();
// Command-line text with the path quoted when it has a blank.
std::string Quoted(const std::string& path);

// The first visible top-level window of a process (with `unownedOnly`, one without an
// owner), or null.
HWND WindowOfProcess(DWORD processId, bool unownedOnly = false);

// Terminates the process with this id, if it still runs, and waits for its end.
void EndProcess(DWORD processId);
// Ends the process with this id when the test is over (for copies the engine started).
class EndOnExit {
public:
    EndOnExit() = default;
    ~EndOnExit();
    void Add(DWORD processId) { ids_.push_back(processId); }
    void AddHandle(HANDLE process);

private:
    std::vector<DWORD> ids_;
};

// Ends every process running one of these programs (file names, any folder) and waits until
// it is gone, so that no test sees another's leftovers.
void EndPrograms(std::initializer_list<std::string> fileNames);
// The test application, its console variant and the launcher.
void EndTestPrograms();

// Makes Wine report `version` (win98, win31, ...) to every program of that file name while it
// lives.
class ReportedVersion {
public:
    ReportedVersion(const std::string& exeName, const char* version);
    ~ReportedVersion();
    ReportedVersion(const ReportedVersion&) = delete;
    ReportedVersion& operator=(const ReportedVersion&) = delete;

private:
    std::string key_;
};

// Helpers of the launch tests: temporary folders, the captured log, the test application
// and its reports, counting pauses, and executants made from a few settings.
#pragma once
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Executant.h"

// A fresh folder under the system's temporary folder, removed with its content.
class TempFolder {
public:
    explicit TempFolder(const char* tag = "lodestay");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

// Points the log writer at a file of its own while alive; Text() is everything logged.
class CapturedLog {
public:
    CapturedLog();
    ~CapturedLog();
    std::string Text() const;
    void Clear();

private:
    TempFolder folder_;
    std::string path_;
};

// Replaces the engine's pause while alive: records every pause, and waits for real only
// when asked to.
class PauseRecorder {
public:
    explicit PauseRecorder(bool realPause = false);
    ~PauseRecorder();
    const std::vector<unsigned>& Pauses() const;
};

// Beside the test program: the test application, its console variant, the launcher.
std::string ProgramBeside(const char* name);
std::string TestAppPath();
std::string ConsoleTestAppPath();

using Report = std::map<std::string, std::string>;
// Reads a report file; empty when it does not exist (yet).
Report ReadReport(const std::string& path);
// Waits until the report exists and carries `event` (any event when null); gives up after
// a generous deadline so that a broken program fails the test instead of hanging it.
Report WaitForReport(const std::string& path, const char* event = nullptr);
// Four numbers of a "a,b,c,d" report value.
std::vector<long> Numbers(const std::string& text);

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

// Starts a program directly (not through the engine) and waits until it is idle.
ChildProcess StartProgram(const std::string& program, const std::string& arguments, bool waitIdle = true);

// The first visible top-level window of a process, or null.
HWND WindowOfProcess(DWORD processId);
// Makes the test application rewrite its report now; true when it answered.
bool RequestReport(HWND window);

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

// Process id of the program that wrote a report.
DWORD ReportedProcessId(const Report& report);

// An executant from keyword/value pairs, validated and prepared as the settings reader does.
std::unique_ptr<Executant> MakeExecutant(const std::vector<std::pair<const char*, std::string>>& settings);

// Command-line text with the path quoted when it has a blank.
std::string Quoted(const std::string& path);

// Registers a test file type, opened by the test application, while alive. The program
// reads its options from the first line of the document ("--open FILE").
class TestFileType {
public:
    TestFileType();
    ~TestFileType();
    TestFileType(const TestFileType&) = delete;
    TestFileType& operator=(const TestFileType&) = delete;
};
extern const char kTestExtension[];

// Helpers shared by the Windows-side tests and the launch benchmarks: temporary folders and
// files, programs started and ended, the test application's reports, message boxes, and what
// the tests set up around the launch engine.
#pragma once
#include <windows.h>

#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Executant.h"

// A fresh folder under the system's temporary folder, removed with its contents.
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

// Holds a file open without sharing while alive, as an editor or a backup program may: every
// other open of it fails, in this process as in any other.
class HeldFile {
public:
    explicit HeldFile(const std::string& path)
        : file_(::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~HeldFile() { if (Held()) ::CloseHandle(file_); }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    bool Held() const { return file_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE file_;
};

bool WriteTextFile(const std::string& path, const std::string& bytes);
std::string ReadTextFile(const std::string& path);
// Build paths arrive as host paths; Wine reaches them through drive Z:.
std::string WindowsPath(const std::string& path);

// A process the test started itself, ended when the owner goes.
class ChildProcess {
public:
    ChildProcess() = default;
    explicit ChildProcess(HANDLE process) : process_(process) {}
    ChildProcess(ChildProcess&& other) noexcept : process_(other.process_) { other.process_ = nullptr; }
    ~ChildProcess();
    HANDLE Get() const { return process_; }
    DWORD Id() const { return process_ != nullptr ? ::GetProcessId(process_) : 0; }
    bool Running() const { return process_ != nullptr && ::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

private:
    HANDLE process_ = nullptr;
};

// Starts a command line; returns the process handle (the caller closes it), or null.
HANDLE StartProcess(const std::string& commandLine, const char* directory = nullptr, const char* desktop = nullptr);
// Starts the test application (or a copy of it) directly, not through the engine, and waits
// until it reported its start to `report`: its window, if it makes one, is there.
ChildProcess StartTestApp(const std::string& program, const std::string& report, const std::string& options);
// Copies the test application to `path` (a name no other test uses) and starts the copy,
// reporting to `report` or beside the copy. An empty process when the copy failed.
ChildProcess StartTestAppCopy(const std::string& path, const std::string& report = "",
                              const std::string& options = "");

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
    ~EndOnExit() { for (DWORD id : ids_) EndProcess(id); }
    void Add(DWORD processId) { ids_.push_back(processId); }

private:
    std::vector<DWORD> ids_;
};

// Ends every process running one of these programs (file names, any folder) and waits until
// it is gone, so that no test sees another's leftovers.
void EndPrograms(std::initializer_list<std::string> fileNames);
// The test application, its console variant and the launcher.
void EndTestPrograms();

// Wine's settings for every program of one file name while alive: `values` in its AppDefaults
// key (Version: win98, win31 ... the version it reports) or in the key `subKey` below it
// (DllOverrides: name, load order).
class AppDefaults {
public:
    AppDefaults(const std::string& exeName, const std::string& subKey,
                const std::vector<std::pair<std::string, std::string>>& values);
    ~AppDefaults();
    AppDefaults(const AppDefaults&) = delete;
    AppDefaults& operator=(const AppDefaults&) = delete;

private:
    std::string key_, subKey_;
};

// Puts a copy of the launcher into `folder`, which is to be its working folder too, as into a
// downloads folder where anyone may drop a file: beside it a stand-in DLL (lodestay-standin.dll,
// which leaves "NAME.mark" beside itself when it is loaded) under each name that the launcher
// or the system DLLs it uses may load by name, in the order of Windows, the program's folder
// first (the load order "native,builtin": Wine prefers its own DLLs). What Wine loads for a
// program with the launcher's imports before any of the program's code runs is taken away
// again: on Windows that comes from the system folder. The result keeps the order in force; it
// is null when the copies could not be made or the order took no effect.
std::unique_ptr<AppDefaults> PlantDlls(const TempFolder& folder);
// The file names of the stand-ins loaded from `folder` so far.
std::vector<std::string> Marks(const TempFolder& folder);

// The reports the test application writes about itself ("key=value" lines ending in "end").
using Report = std::map<std::string, std::string>;
// Reads a report file; empty when it does not exist (yet).
Report ReadReport(const std::string& path);
// Waits until the report exists and carries `event` (any event when null); gives up after
// a generous deadline so that a broken program fails the test instead of hanging it.
Report WaitForReport(const std::string& path, const char* event = nullptr);
// The numbers of a "a,b,c,d" report value.
std::vector<long> Numbers(const std::string& text);
// Process id of the program that wrote a report.
DWORD ReportedProcessId(const Report& report);
// Makes the test application rewrite its report now; true when it answered.
bool RequestReport(HWND window);

struct MessageBoxSeen {
    std::string caption;
    std::string text;
    HWND owner;
    const char* icon;   // "warning", "information", "question", "error" or "none"
};

// A visible message box of the process on the desktop (null: the caller's), or null; a
// visible dialog of the process that is no message box goes to `otherWindow`.
HWND FindMessageBox(DWORD processId, HDESK desktop = nullptr, HWND* otherWindow = nullptr);
// Reads caption, text (the static control 0xFFFF), owner and icon of a box.
MessageBoxSeen ReadMessageBox(HWND box);

// Closes, with `button`, every message box this process shows while it lives.
class MessageBoxWatcher {
public:
    explicit MessageBoxWatcher(int button = IDOK);
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    // Stops watching and returns the boxes seen, in order.
    const std::vector<MessageBoxSeen>& Stop();

private:
    static DWORD WINAPI Run(void* self);

    int button_;
    volatile LONG stop_;
    HANDLE thread_;
    std::vector<MessageBoxSeen> seen_;
};

struct ProgramRun {
    bool ended = false;
    bool window = false;                 // a window that is no message box came, closed with Cancel
    std::vector<MessageBoxSeen> boxes;   // in order

    int Count() const { return static_cast<int>(boxes.size()); }
    // Of the last box; empty when there was none.
    std::string Caption() const { return boxes.empty() ? std::string() : boxes.back().caption; }
    std::string Text() const { return boxes.empty() ? std::string() : boxes.back().text; }
};
// Runs a command line until it ends, reading every message box it shows and answering OK and
// closing its first other dialog (the main window) with Cancel; in the named desktop (made at
// its first run, kept until the test program ends) when `desktopName` is given. Gives up after
// `boundMs`, a safety net for a program that hangs, not a timing; the program is then
// terminated. With a `command`, the main window
// gets it first and a dialog that the command opens is answered OK; box i is answered with
// answers[i] (OK after the last), and the main window is closed once every listed answer was
// given.
ProgramRun RunAnsweringBoxes(const std::string& commandLine, DWORD boundMs, const char* directory = nullptr,
                             const char* desktopName = nullptr, int command = 0, const std::vector<int>& answers = {});
// lodestay.exe -e -p FILE, run that way.
ProgramRun RunUnattended(const std::string& settingsPath, DWORD boundMs = 120000);

// Points the log writer at a file of its own while alive; Text() is everything logged.
class CapturedLog {
public:
    CapturedLog();
    ~CapturedLog();
    std::string Text() const;
    void Clear() { ::DeleteFileA(path_.c_str()); }

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

// The keyword/value pairs of one entry.
using EntrySettings = std::vector<std::pair<const char*, std::string>>;
// An executant from keyword/value pairs, validated and prepared as the settings reader does.
std::unique_ptr<Executant> MakeExecutant(const EntrySettings& settings);
// A settings file with these entries, as the launcher reads it.
bool WriteSettingsFile(const std::string& path, const std::vector<EntrySettings>& entries);

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

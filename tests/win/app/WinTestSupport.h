// Helpers of the Windows-side tests: temporary folders, child processes, and reading and
// closing the message boxes a program shows.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// A fresh folder under the system's temporary folder, removed with its contents.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

bool WriteTextFile(const std::string& path, const std::string& bytes);
std::string ReadTextFile(const std::string& path);
void RemoveTree(const std::string& path);

// Build paths arrive as host paths; Wine reaches them through drive Z:.
std::string WindowsPath(const std::string& path);

struct MessageBoxSeen {
    std::string caption;
    std::string text;
    HWND owner;
    const char* icon;   // "warning", "information", "question", "error" or "none"
};

// A visible "#32770" window of the process on the desktop (null: the caller's), or null.
HWND FindMessageBox(DWORD processId, HDESK desktop);
// Reads caption, text (the static control 0xFFFF), owner and icon of a box.
MessageBoxSeen ReadMessageBox(HWND box);
void PressButton(HWND box, int button);

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

// Starts a program; environment is a block of "NAME=value\0" strings, or null.
bool StartProgram(const std::string& commandLine, const char* directory, const char* desktop,
                  const char* environment, PROCESS_INFORMATION* process);
// Exit code of a program run to its end within the bound, or -1 (then it is terminated).
long RunProgram(const std::string& commandLine, const char* directory = nullptr,
                const char* environment = nullptr, DWORD timeoutMs = 20000);
// The current environment with `name` replaced by `value` (null: removed).
std::string EnvironmentWith(const char* name, const char* value);

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

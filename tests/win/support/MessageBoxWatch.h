// Reading and closing the message boxes a program shows, and running a program to its end
// while answering them.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

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
// closing its first other dialog (the main window) with Cancel; in the named desktop (made for
// the run) when `desktopName` is given. Gives up after `boundMs`, a safety net for a program
// that hangs, not a timing; the program is then terminated.
ProgramRun RunAnsweringBoxes(const std::string& commandLine, DWORD boundMs, const char* directory = nullptr,
                             const char* desktopName = nullptr);
// lodestay.exe -e -p FILE, run that way.
ProgramRun RunUnattended(const std::string& settingsPath, DWORD boundMs = 120000);

// Options of the test application, shared by its window and console variants.
#pragma once
#include <string>
#include <vector>

struct TestAppOptions {
    std::string report;        // --report FILE: where the report goes
    std::string title;         // --title TEXT: window title, so a screenshot tells the entries apart
    int busyMs = 0;            // --busy MS: not idle for input during the first MS
    int windowDelayMs = 0;     // --window-delay MS: idle at once, window only after MS
    bool owned = false;        // --owned: the only visible window has an (invisible) owner
    bool hidden = false;       // --hidden: the window is never shown
    bool noWindow = false;     // --no-window: a message queue but no window at all
    bool exitAtOnce = false;   // --exit: report and leave
    bool crash = false;        // --crash: report, then die of an access violation before any window
    bool closeAtOnce = false;  // --close-at-once: show the window, then close it and leave
    bool fixed = false;        // --fixed X,Y,W,H: ignore the start-up block's place and show state
    int fixedRect[4] = {0, 0, 0, 0};
    bool topmost = false;      // --topmost
    bool popup = false;        // --popup: a pop-up window without frame, so --fixed can make it 0x0
    bool child = false;        // --child: a button inside the window, for clicks on a child control
    int lifetimeMs = 0;        // --lifetime MS: leave by itself after MS (0: stay)
    int reportAfterMs = 0;     // --report-after MS: report again after MS
    std::string load;          // --load DLL: loaded by name at start, as by a program that brings its own
    int extraWindows = 0;      // --extra-windows N: N more small visible windows, crowding the desktop
    int moveBackMs = 0;        // --move-back MS: MS after someone else first moved its window, puts it back
    int splashMs = 0;          // --splash MS: a start-up window for MS, closed, then the main window
};

// Splits a command line the way the C runtime does for simple cases: blanks separate,
// double quotes group.
std::vector<std::string> SplitCommandLine(const char* line);

// Reads the options; "--open FILE" takes further options from the first line of FILE, so
// a document opened through its association carries its own options.
TestAppOptions ParseTestAppOptions(const std::vector<std::string>& arguments);

// Writes lines to `path` through a temporary file, so that a reader never sees half of it.
bool WriteReportFile(const std::string& path, const std::string& text);

// Process facts every report starts with: command line, folder, priorities, desktop.
std::string ProcessFacts();

// Drives the windows of the test's own thread from inside their modal loops. Each step runs
// from a thread timer, so it also runs while a message box or a file dialog of the thread
// waits for the user. A script that stalls fails the test and closes what is open.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "WinTestSupport.h"

class UiScript {
public:
    // true: the step is done; false: try it again on the next tick.
    using Step = std::function<bool()>;

    UiScript();
    ~UiScript();
    UiScript(const UiScript&) = delete;
    UiScript& operator=(const UiScript&) = delete;

    UiScript& Then(Step step);
    // Waits for the next message box of this thread, records it and presses button.
    UiScript& Answer(int button);
    // Starts ticking; the steps run once the thread waits for messages.
    void Start();
    bool Finished() const { return next_ >= steps_.size(); }
    const std::vector<MessageBoxSeen>& Boxes() const { return boxes_; }
    std::vector<std::string> BoxTexts() const;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void RunDue();
    void Bail();

    std::vector<Step> steps_;
    size_t next_;
    std::vector<MessageBoxSeen> boxes_;
    UINT_PTR timer_;
    DWORD stepStarted_;
    bool running_;
};

// A visible message box of this thread (not one of our dialogs), or null.
HWND FindThreadMessageBox();
// Sends keys to the focused window of this thread as the keyboard would (posted messages).
void PostKey(HWND window, UINT key, bool shift = false, bool control = false, bool alt = false);
// Text of a list-view cell.
std::string CellText(HWND list, int row, int column);

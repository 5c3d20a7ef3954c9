// Drives the windows of the test's own thread from inside their modal loops. Each step runs
// from a thread timer, so it also runs while a message box or a file dialog of the thread
// waits for the user. A script that stalls fails the test and closes what is open, so that
// the window under test returns.
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

    ~UiScript();
    UiScript& Then(Step step);
    // Waits for the next message box of this thread, records it and presses button.
    UiScript& Answer(int button);
    // Starts ticking; the steps run once the thread waits for messages.
    void Start();
    const std::vector<MessageBoxSeen>& Boxes() const { return boxes_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);

    std::vector<Step> steps_;
    size_t next_ = 0;
    std::vector<MessageBoxSeen> boxes_;
    UINT_PTR timer_ = 0;
    DWORD stepStarted_ = 0;
    bool running_ = false;
    bool stalled_ = false;  // then it closes everything of this thread that opens
};

// A visible top-level dialog of this thread that holds the control, or null.
HWND ThreadDialogWith(int id);
// The text of a message box is the control 0xFFFF, which none of our templates has.
inline HWND FindThreadMessageBox() { return ThreadDialogWith(0xFFFF); }
// Sends a key to a window of this thread as the keyboard would (posted messages).
void PostKey(HWND window, UINT key, bool shift = false, bool control = false);
// Text of a list-view cell.
std::string CellText(HWND list, int row, int column);

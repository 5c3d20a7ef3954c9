// Timer-driven steps for in-process window tests.
#include "UiScript.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

constexpr UINT kTickMs = 15;
// A safety net for a step that never comes true, not a timing.
constexpr DWORD kStallMs = 30000;
UiScript* g_running = nullptr;

// Every top-level dialog of this thread, including the system's message boxes and file dialogs.
std::vector<HWND> ThreadDialogs()
{
    std::vector<HWND> dialogs;
    for (HWND w = nullptr; (w = ::FindWindowExA(nullptr, w, "#32770", nullptr)) != nullptr;) {
        if (::GetWindowThreadProcessId(w, nullptr) == ::GetCurrentThreadId()) dialogs.push_back(w);
    }
    return dialogs;
}

}  // namespace

HWND ThreadDialogWith(int id)
{
    for (HWND w : ThreadDialogs()) {
        if (::IsWindowVisible(w) && ::GetDlgItem(w, id) != nullptr) return w;
    }
    return nullptr;
}

UiScript::~UiScript()
{
    if (timer_ != 0) ::KillTimer(nullptr, timer_);
    if (g_running == this) g_running = nullptr;
    EXPECT_EQ(steps_.size(), next_) << "the script stopped before its last step";
}

UiScript& UiScript::Then(Step step)
{
    steps_.push_back(std::move(step));
    return *this;
}

UiScript& UiScript::Answer(int button)
{
    return Then([this, button] {
        HWND box = FindThreadMessageBox();
        if (box == nullptr) return false;
        boxes_.push_back(ReadMessageBox(box));
        ::PostMessageA(box, WM_COMMAND, button, 0);
        return true;
    });
}

void UiScript::Start()
{
    g_running = this;
    stepStarted_ = ::GetTickCount();
    timer_ = ::SetTimer(nullptr, 0, kTickMs, Tick);
}

void CALLBACK UiScript::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    UiScript* self = g_running;
    if (self == nullptr || self->next_ >= self->steps_.size()) return;
    // Also a step that waits in a box it opened itself has stalled.
    if (!self->stalled_ && ::GetTickCount() - self->stepStarted_ > kStallMs) {
        ADD_FAILURE() << "step " << self->next_ + 1 << " of " << self->steps_.size() << " did not come true";
        self->stalled_ = true;
    }
    if (self->stalled_) {
        // Message boxes are closed with No, which also ends a question that Cancel would
        // only bring back (the main window's exit).
        for (HWND w : ThreadDialogs()) ::PostMessageA(w, WM_COMMAND, ::GetDlgItem(w, 0xFFFF) ? IDNO : IDCANCEL, 0);
        return;
    }
    // A step may open a modal loop of its own, in which this timer ticks again.
    if (self->running_) return;
    self->running_ = true;
    const bool done = self->steps_[self->next_]();
    self->running_ = false;
    if (done) {
        ++self->next_;
        self->stepStarted_ = ::GetTickCount();
    }
}

void PostKey(HWND window, UINT key, bool shift, bool control)
{
    // Modifier state comes from the thread's key state, which posted messages do not set.
    BYTE state[256];
    ::GetKeyboardState(state);
    state[VK_SHIFT] = shift ? 0x80 : 0;
    state[VK_CONTROL] = control ? 0x80 : 0;
    ::SetKeyboardState(state);
    ::PostMessageA(window, WM_KEYDOWN, key, 1);
    ::PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}

std::string CellText(HWND list, int row, int column)
{
    char text[260] = "";
    ListView_GetItemText(list, row, column, text, sizeof(text));
    return text;
}

// Timer-driven steps for in-process window tests.
#include "UiScript.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>

namespace {

constexpr UINT kTickMs = 15;
// A safety net for a step that never comes true, not a timing.
constexpr DWORD kStallMs = 30000;
UiScript* g_running = nullptr;

struct BoxSearch {
    HWND found = nullptr;
};

BOOL CALLBACK MatchThreadBox(HWND window, LPARAM parameter)
{
    char className[16] = "";
    ::GetClassNameA(window, className, sizeof(className));
    if (std::strcmp(className, "#32770") == 0 && ::IsWindowVisible(window) && ::GetDlgItem(window, 0xFFFF) != nullptr) {
        reinterpret_cast<BoxSearch*>(parameter)->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CloseAnything(HWND window, LPARAM)
{
    char className[16] = "";
    ::GetClassNameA(window, className, sizeof(className));
    if (std::strcmp(className, "#32770") == 0) ::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

}  // namespace

HWND FindThreadMessageBox()
{
    BoxSearch search;
    ::EnumThreadWindows(::GetCurrentThreadId(), MatchThreadBox, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

UiScript::UiScript() : next_(0), timer_(0), stepStarted_(0), running_(false) {}

UiScript::~UiScript()
{
    if (timer_ != 0) ::KillTimer(nullptr, timer_);
    if (g_running == this) g_running = nullptr;
    EXPECT_TRUE(Finished()) << "the script stopped at step " << next_ + 1 << " of " << steps_.size();
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

std::vector<std::string> UiScript::BoxTexts() const
{
    std::vector<std::string> texts;
    for (const MessageBoxSeen& box : boxes_) texts.push_back(box.text);
    return texts;
}

void UiScript::Start()
{
    g_running = this;
    stepStarted_ = ::GetTickCount();
    timer_ = ::SetTimer(nullptr, 0, kTickMs, Tick);
}

void CALLBACK UiScript::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_running != nullptr) g_running->RunDue();
}

void UiScript::RunDue()
{
    // A step may open a modal loop of its own, in which this timer ticks again.
    if (running_ || Finished()) return;
    running_ = true;
    const bool done = steps_[next_]();
    running_ = false;
    if (done) {
        ++next_;
        stepStarted_ = ::GetTickCount();
    } else if (::GetTickCount() - stepStarted_ > kStallMs) {
        Bail();
    }
}

void UiScript::Bail()
{
    ADD_FAILURE() << "step " << next_ + 1 << " did not come true";
    next_ = steps_.size();
    ::EnumThreadWindows(::GetCurrentThreadId(), CloseAnything, 0);
}

void PostKey(HWND window, UINT key, bool shift, bool control, bool alt)
{
    // Modifier state comes from the thread's key state, which posted messages do not set.
    BYTE state[256];
    ::GetKeyboardState(state);
    state[VK_SHIFT] = shift ? 0x80 : 0;
    state[VK_CONTROL] = control ? 0x80 : 0;
    state[VK_MENU] = alt ? 0x80 : 0;
    ::SetKeyboardState(state);
    const UINT down = alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
    ::PostMessageA(window, down, key, 1);
    ::PostMessageA(window, alt ? WM_SYSKEYUP : WM_KEYUP, key, 0xC0000001);
}

std::string CellText(HWND list, int row, int column)
{
    char text[260] = "";
    ListView_GetItemText(list, row, column, text, sizeof(text));
    return text;
}

// Reading and closing message boxes of this and other processes.
#include "WinTestSupport.h"

#include <cstring>

namespace {

constexpr DWORD kPollMs = 10;
constexpr DWORD kBoxCloseBoundMs = 5000;

struct BoxSearch {
    DWORD processId;
    HWND found;     // a message box: a dialog with the text control 0xFFFF
    HWND window;    // a dialog of the program that is no message box
};

BOOL CALLBACK MatchBox(HWND window, LPARAM parameter)
{
    BoxSearch* search = reinterpret_cast<BoxSearch*>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    char className[16] = "";
    ::GetClassNameA(window, className, sizeof(className));
    // The style, not IsWindowVisible: on a desktop without a shown desktop window nothing
    // counts as visible. A box gets the style once its text is in place.
    if (owner != search->processId || std::strcmp(className, "#32770") != 0 ||
        !(::GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE))
        return TRUE;
    if (::GetDlgItem(window, 0xFFFF) == nullptr) {
        search->window = window;
        return TRUE;
    }
    search->found = window;
    return FALSE;
}

std::string WindowText(HWND window)
{
    const int length = ::GetWindowTextLengthA(window);
    std::string text(length + 1, '\0');
    text.resize(::GetWindowTextA(window, &text[0], length + 1));
    return text;
}

// A box has one icon control, a static of the icon type, among its children.
const char* IconName(HWND box)
{
    HICON icon = nullptr;
    for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr && icon == nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if ((::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            icon = reinterpret_cast<HICON>(::SendMessageA(child, STM_GETICON, 0, 0));
    }
    if (icon == nullptr) return "none";
    if (icon == ::LoadIconA(nullptr, IDI_WARNING)) return "warning";
    if (icon == ::LoadIconA(nullptr, IDI_INFORMATION)) return "information";
    if (icon == ::LoadIconA(nullptr, IDI_QUESTION)) return "question";
    if (icon == ::LoadIconA(nullptr, IDI_ERROR)) return "error";
    return "other";
}

// Reads the box, presses the button and waits until the box is gone, so that it is not read
// twice.
MessageBoxSeen Answer(HWND box, int button)
{
    const MessageBoxSeen seen = ReadMessageBox(box);
    ::PostMessageA(box, WM_COMMAND, button, 0);
    for (DWORD waited = 0; ::IsWindow(box) && waited < kBoxCloseBoundMs; waited += kPollMs) ::Sleep(kPollMs);
    return seen;
}

}  // namespace

HWND FindMessageBox(DWORD processId, HDESK desktop, HWND* otherWindow)
{
    BoxSearch search = {processId, nullptr, nullptr};
    if (desktop != nullptr) {
        ::EnumDesktopWindows(desktop, MatchBox, reinterpret_cast<LPARAM>(&search));
    } else {
        ::EnumWindows(MatchBox, reinterpret_cast<LPARAM>(&search));
    }
    if (otherWindow != nullptr) *otherWindow = search.window;
    return search.found;
}

MessageBoxSeen ReadMessageBox(HWND box)
{
    MessageBoxSeen seen;
    seen.caption = WindowText(box);
    seen.text = WindowText(::GetDlgItem(box, 0xFFFF));
    seen.owner = ::GetWindow(box, GW_OWNER);
    seen.icon = IconName(box);
    return seen;
}

MessageBoxWatcher::MessageBoxWatcher(int button)
    : button_(button), stop_(0), thread_(::CreateThread(nullptr, 0, Run, this, 0, nullptr))
{
}

MessageBoxWatcher::~MessageBoxWatcher() { Stop(); }

const std::vector<MessageBoxSeen>& MessageBoxWatcher::Stop()
{
    if (thread_ != nullptr) {
        ::InterlockedExchange(&stop_, 1);
        ::WaitForSingleObject(thread_, INFINITE);
        ::CloseHandle(thread_);
        thread_ = nullptr;
    }
    return seen_;
}

DWORD WINAPI MessageBoxWatcher::Run(void* self)
{
    MessageBoxWatcher* watcher = static_cast<MessageBoxWatcher*>(self);
    while (::InterlockedCompareExchange(&watcher->stop_, 0, 0) == 0) {
        if (HWND box = FindMessageBox(::GetCurrentProcessId(), nullptr)) {
            watcher->seen_.push_back(Answer(box, watcher->button_));
        } else {
            ::Sleep(kPollMs);
        }
    }
    return 0;
}

ProgramRun RunAnsweringBoxes(const std::string& commandLine, DWORD boundMs, const char* directory,
                             const char* desktopName)
{
    ProgramRun run;
    HDESK desktop = desktopName != nullptr
                        ? ::CreateDesktopA(desktopName, nullptr, nullptr, 0, GENERIC_ALL, nullptr)
                        : ::GetThreadDesktop(::GetCurrentThreadId());
    if (desktop == nullptr) return run;
    if (HANDLE process = StartProcess(commandLine, directory, desktopName)) {
        const DWORD processId = ::GetProcessId(process);
        const DWORD start = ::GetTickCount();
        while (::GetTickCount() - start < boundMs) {
            HWND window = nullptr;
            if (HWND box = FindMessageBox(processId, desktop, &window)) {
                run.boxes.push_back(Answer(box, IDOK));
                continue;
            }
            if (window != nullptr && !run.window) {
                run.window = true;
                ::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
            }
            if (::WaitForSingleObject(process, kPollMs) == WAIT_OBJECT_0) {
                run.ended = true;
                break;
            }
        }
        if (!run.ended) ::TerminateProcess(process, 1);
        ::CloseHandle(process);
    }
    if (desktopName != nullptr) ::CloseDesktop(desktop);
    return run;
}

ProgramRun RunUnattended(const std::string& settingsPath, DWORD boundMs)
{
    return RunAnsweringBoxes(Quoted(ProgramBeside("lodestay.exe")) + " -e -p " + Quoted(settingsPath), boundMs);
}

// The test run: other windows put away, the list test-launched, ended and the windows back.
#include <windows.h>

#include <vector>

#include "Executant.h"
#include "ExecutantListDialog.h"
#include "SettleWatch.h"
#include "Launcher.h"
#include "SystemUtilities.h"
#include "TestRunDialogs.h"
#include "WindowShelf.h"

namespace {

struct Shelf {
    std::vector<HWND> windows;
    std::vector<UINT> showCommands;
    bool hide = false;
};
Shelf g_shelf;

constexpr UINT kHideFlags = SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOMOVE | SWP_NOSIZE;
constexpr UINT kShowFlags = SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOMOVE | SWP_NOSIZE;

// Without the desktop and the taskbar the user could not reach anything while the test runs.
bool IsShellWindow(HWND window)
{
    if (window == ::GetShellWindow()) return true;
    char className[32] = "";
    ::GetClassNameA(window, className, sizeof(className));
    return lstrcmpA(className, "Shell_TrayWnd") == 0;
}

// A window of another thread is changed without waiting for that thread: one hung program
// must not stop the launcher with every other window put away.
bool OtherThread(HWND window) { return ::GetWindowThreadProcessId(window, nullptr) != ::GetCurrentThreadId(); }

void Place(HWND window, UINT flags)
{
    ::SetWindowPos(window, nullptr, 0, 0, 0, 0, flags | (OtherThread(window) ? SWP_ASYNCWINDOWPOS : 0));
}

void Show(HWND window, int command)
{
    if (OtherThread(window)) {
        ::ShowWindowAsync(window, command);
    } else {
        ::ShowWindow(window, command);
    }
}

bool Restored(HWND window, bool hide, UINT command)
{
    if (hide) return ::IsWindowVisible(window) != FALSE;
    if (command == SW_SHOWMAXIMIZED) return ::IsZoomed(window) != FALSE;
    if (command == SW_SHOWMINIMIZED || command == SW_MINIMIZE || command == SW_SHOWMINNOACTIVE) {
        return ::IsIconic(window) != FALSE;
    }
    return !::IsIconic(window);
}

// The asynchronous forms return at once, and a window brought back maximised takes the
// foreground when its thread gets to it: after the main window came to the front, if it is
// late. So wait a little for the other threads, never long for a hung one.
void SettleOtherThreads(const std::vector<HWND>& windows, const std::vector<UINT>& commands, bool hide)
{
    constexpr DWORD kBudgetMs = 1000;
    constexpr UINT kAnswerMs = 100;
    const DWORD start = ::GetTickCount();
    for (size_t i = 0; i < windows.size(); ++i) {
        HWND window = windows[i];
        if (!OtherThread(window) || !::IsWindow(window)) continue;
        while (!Restored(window, hide, commands[i]) && ::GetTickCount() - start < kBudgetMs) ::Sleep(10);
        // Answered only once the thread has left the show it was carrying out.
        DWORD_PTR answer = 0;
        ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kAnswerMs, &answer);
    }
}

BOOL CALLBACK ShelveOne(HWND window, LPARAM)
{
    if (!::IsWindowVisible(window) || ::GetWindow(window, GW_OWNER) != nullptr || IsShellWindow(window)) return TRUE;
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    if (!::GetWindowPlacement(window, &placement)) return TRUE;
    const RECT& normal = placement.rcNormalPosition;
    if (normal.right - normal.left <= 0 && normal.bottom - normal.top <= 0) return TRUE;
    g_shelf.windows.push_back(window);
    g_shelf.showCommands.push_back(placement.showCmd);
    return TRUE;
}

// Puts the shelf back however the test run ends.
struct ShelfRestorer {
    ~ShelfRestorer() { RestoreShelvedWindows(); }
};

}  // namespace

int ShelveWindows(bool hide)
{
    g_shelf = Shelf();
    g_shelf.hide = hide;
    if (!::EnumWindows(ShelveOne, 0)) {
        ShowSystemError(1);
        g_shelf = Shelf();
        return -1;
    }
    for (HWND window : g_shelf.windows) {
        if (hide) {
            Place(window, kHideFlags);
        } else {
            Show(window, SW_SHOWMINNOACTIVE);
        }
    }
    return 0;
}

int RestoreShelvedWindows()
{
    for (size_t i = 0; i < g_shelf.windows.size(); ++i) {
        HWND window = g_shelf.windows[i];
        if (g_shelf.hide) {
            Place(window, kShowFlags);
        } else {
            const UINT command = g_shelf.showCommands[i];
            Show(window, command == SW_SHOWNORMAL ? SW_SHOWNOACTIVATE : static_cast<int>(command));
        }
    }
    SettleOtherThreads(g_shelf.windows, g_shelf.showCommands, g_shelf.hide);
    g_shelf = Shelf();
    return 0;
}

void ExecutantListDialog::OnTestRun()
{
    TestRunDialog run;
    if (run.DoModal(nullptr) != IDOK) return;
    const unsigned delay = TestRunDialog::DelayMs(run.delayIndex);
    const bool hide = run.windowTreatment != 0;

    ShelveWindows(hide);
    {
        ShelfRestorer restorer;
        // Hidden, the main window would be out of reach: it waits on the taskbar instead.
        if (hide) ::ShowWindow(Handle(), SW_SHOWMINNOACTIVE);

        // Test launches skip the duplicate guard: only failures can be counted.
        LaunchTally tally;
        for (Executant* e = head; e != nullptr; e = e->NextExecutant(head)) {
            if (e->TestLaunch() < 0) ++tally.failures;
        }
        // The placed windows are watched while the test waits, and longer if they need it.
        WatchingPause(delay);
        EndListLaunch(tally);
        ::ShowWindow(Handle(), SW_SHOWNORMAL);

        TestEndDialog end;
        end.DoModal(nullptr);
        const unsigned methods = end.Methods();
        for (Executant* e = head; e != nullptr; e = e->NextExecutant(head)) e->EndApplication(methods);
    }
    ::SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::ShowWindow(Handle(), SW_SHOWNORMAL);
    UpdateButtons();
    ::SetForegroundWindow(Handle());
}

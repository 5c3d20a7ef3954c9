// Launching an executant through the shell: the item named by the arguments is opened with
// its associated program, whose window is then found by module path (NT family) or by
// comparing process snapshots taken before and after (Windows 95 family).
#include <windows.h>
#include <shellapi.h>

#include <cstring>

#include "Executant.h"
#include "Handles.h"
#include "LaunchCommon.h"
#include "LaunchMessages.h"
#include "LaunchSettings.h"
#include "Log.h"
#include "SettleWatch.h"
#include "SystemFunctions.h"
#include "WindowSearch.h"

namespace {

SnapshotHandle TakeSnapshotOn95(bool needWindow)
{
    if (!needWindow || GetOsFamily() != kOsWin95 || Bound::CreateToolhelp32Snapshot == nullptr) {
        return SnapshotHandle();
    }
    return SnapshotHandle(Bound::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
}

void* SnapshotOrNull(const SnapshotHandle& snapshot) { return snapshot ? snapshot.Get() : nullptr; }

}  // namespace

int Executant::LaunchViaShell()
{
    ForgetKeptProcess(*this);
    // A test launch needs the window's thread for ending the application, placed or not.
    const bool needWindow = PositionSet() || SizeSet() || KeepHandle;
    const unsigned timeout = BoundedInputTimeout(InputTimeout);

    SHELLEXECUTEINFOA shell;
    std::memset(&shell, 0, sizeof shell);
    shell.cbSize = sizeof shell;
    shell.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    shell.lpFile = Arguments.Text();
    shell.lpDirectory = WorkingDirectoryOf(*this);
    shell.nShow = ShowCommand();

    LogMessage(LaunchText::kShellHead, Arguments.Text());
    SnapshotHandle before = TakeSnapshotOn95(needWindow);
    NoteShellLaunchBegins();
    const BOOL executed = ::ShellExecuteExA(&shell);
    // Owned before the result is looked at, so that no outcome can leave a handle open.
    UniqueHandle process(shell.hProcess);
    if (!executed) {
        LogMessage("%s", LaunchText::kShellExecFailed);
        return 0;
    }
    // The instance value is an error code below 32; 32 itself is success.
    if (reinterpret_cast<INT_PTR>(shell.hInstApp) < 32 || !process) {
        LogMessage("%s", LaunchText::kShellNoInstance);
        return 0;
    }
    // Made also with a time-out of 0: then it only asks whether the program is idle now.
    if (!WaitUntilReady(process.Get(), timeout, Arguments.Text())) return 0;
    SnapshotHandle after = TakeSnapshotOn95(needWindow);
    LogMessage("%s", LaunchText::kShellSucceeded);

    if (HasPriority) {
        if (const DWORD priorityClass = PriorityClassOf(Priority)) ::SetPriorityClass(process.Get(), priorityClass);
    }
    if (!needWindow) return 0;

    HWND window = static_cast<HWND>(FindMainWindow(process.Get(), timeout, SnapshotOrNull(before), SnapshotOrNull(after)));
    before.Reset();
    after.Reset();
    if (window == nullptr) {
        LogMessage("%s", LaunchText::kNoTopLevelWindow);
        return 0;
    }
    // The messages that end a test launch must never reach a copy the user already had open
    // (WM_QUIT would end it without asking to save): then only the shell's process is kept.
    const WindowSearchState& search = WindowSearch();
    DWORD threadId = PlaceAndWatch(*this, window, search.modulePath, search.launchBegan);
    if (search.foundOlderCopy) threadId = 0;
    if (KeepHandle) KeepProcess(*this, process, threadId);
    return 0;
}

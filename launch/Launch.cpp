// Launching an executant by process creation: the guard, the suspended start with the
// registered priorities, the input-idle wait, and the placement of the first window.
#include <windows.h>

#include <cstdio>
#include <string>

#include "DuplicateGuard.h"
#include "Executant.h"
#include "Handles.h"
#include "LaunchCommon.h"
#include "LaunchMessages.h"
#include "LaunchSettings.h"
#include "LaunchSleep.h"
#include "Log.h"
#include "ModuleName.h"
#include "SettleWatch.h"
#include "SystemFunctions.h"
#include "WindowSearch.h"

int Executant::Launch(const char* desktop)
{
    NoteLaunchStep(LaunchStep::kBegun);
    if (ShellExec) return LaunchViaShell();

    if (SettingNumber(kKeyInitialOnce) != 0) {
        const bool notRunning = CheckModuleNotRunning(desktop, FileName.Text());
        NoteLaunchStep(LaunchStep::kGuarded);
        if (!notRunning) {
            LogMessage(LaunchText::kAlreadyRunning, FileName.Text(), desktop != nullptr ? desktop : LaunchText::kNullText);
            return 1;
        }
    }
    ForgetKeptProcess(*this);

    const std::string commandLine = BuildCommandLine(FileName.Text(), Arguments.Text());
    PROCESS_INFORMATION info = {};
    if (!CreateExecutantProcess(*this, commandLine, desktop, kLaunchFlags, &info)) return -1;
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    NoteLaunchStep(LaunchStep::kCreated);

    if (Bound::ImmDisableIME != nullptr && SettingNumber(kKeyDisableIME) != 0) {
        LogMessage("%s", LaunchText::kImeDisabled);
        Bound::ImmDisableIME(info.dwThreadId);
        NoteLaunchStep(LaunchStep::kImeSwitched);
    }
    if (HasPriority) {
        // Some systems ignore the class among the creation flags; setting it before the
        // first instruction runs gives the same result everywhere.
        if (const DWORD priorityClass = PriorityClassOf(Priority)) ::SetPriorityClass(process.Get(), priorityClass);
        int threadPriority = 0;
        if (ThreadPriorityOf(Priority, &threadPriority)) ::SetThreadPriority(thread.Get(), threadPriority);
        NoteLaunchStep(LaunchStep::kPrioritySet);
    }
    ::ResumeThread(thread.Get());
    thread.Reset();
    NoteLaunchStep(LaunchStep::kResumed);
    DWORD threadId = info.dwThreadId;

    const unsigned timeout = BoundedInputTimeout(InputTimeout);
    if (timeout != 0) {
        const bool ready = WaitUntilReady(process.Get(), timeout, FileName.Text());
        NoteLaunchStep(LaunchStep::kReady);
        if (!ready) return 0;
        if (PositionSet() || SizeSet()) {
            ResetWindowSearch(kSearchByProcessId);
            if (HWND window = RunSearchPasses(static_cast<LPARAM>(info.dwProcessId), timeout)) {
                threadId = PlaceAndWatch(*this, window);
                NoteLaunchStep(LaunchStep::kPlaced);
            }
        }
    }
    if (KeepHandle) KeepProcess(*this, process, threadId);
    return 0;
}

int Executant::TestLaunch()
{
    // A test launch must start a copy even when one runs: the guard is off meanwhile.
    KeyValueClass* once = Settings.Find(KeyName(kKeyInitialOnce));
    const bool suspended = once != nullptr && SettingNumber(kKeyInitialOnce) != 0;
    if (suspended) once->value.Assign("0");
    KeepHandle = 1;
    const int result = Launch(nullptr);
    KeepHandle = 0;
    if (suspended) once->value.Assign("1");
    return result;
}

int Executant::LaunchViaHelper(const char* desktop)
{
    ForgetKeptProcess(*this);

    char ownPath[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(nullptr, ownPath, sizeof ownPath);
    if (length == 0 || length >= sizeof ownPath) return -1;
    std::string helperPath(ownPath, FileNamePart(ownPath) - ownPath);
    helperPath += LaunchText::kHelperName;

    char option[32];
    if ((PositionSet() || SizeSet()) && InputTimeout > 0) {
        std::snprintf(option, sizeof option, LaunchText::kHelperWatchDog, static_cast<int>(BoundedInputTimeout(InputTimeout)));
    } else {
        std::snprintf(option, sizeof option, "%s", LaunchText::kHelperNoWait);
    }
    const std::string commandLine = BuildCommandLine(helperPath.c_str(), option) + " " + Arguments.Text();

    PROCESS_INFORMATION info = {};
    if (!CreateExecutantProcess(*this, commandLine, desktop, kHelperFlags, &info)) return -1;
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    return 0;
}

// Ending a test-launched application by the methods the user chose: WM_CLOSE and WM_QUIT
// posted to the kept thread, then termination, always in that order.
#include <windows.h>

#include <cstdint>

#include "Executant.h"
#include "LaunchCommon.h"
#include "LaunchMessages.h"
#include "LaunchSleep.h"
#include "Log.h"

namespace {

enum EndMethod : unsigned {
    kPostClose = 1,
    kPostQuit = 2,
    kTerminate = 4,
};

// Time for a program to act on a posted message before the next, harder method.
constexpr unsigned kPauseAfterPost = 500;

void EndKeptProcess(const char* fileName, HANDLE process, DWORD threadId, unsigned methods)
{
    DWORD exitCode = 0;
    if (!::GetExitCodeProcess(process, &exitCode)) return;
    LogMessage(LaunchText::kKillCheck, fileName, static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(process)),
               static_cast<unsigned>(threadId));
    if (exitCode != STILL_ACTIVE) {
        LogMessage("%s", LaunchText::kAlreadyEnded);
        return;
    }

    // Every chosen method runs, even when an earlier one already ended the program; a pause
    // only follows a post that reached the queue.
    bool posted = false;
    if (methods & kPostClose) {
        posted = ::PostThreadMessageA(threadId, WM_CLOSE, 0, 0) != FALSE;
        LogMessage("%s", LaunchText::kPostedClose);
    }
    if (methods & kPostQuit) {
        if (posted) LaunchSleep(kPauseAfterPost);
        posted = ::PostThreadMessageA(threadId, WM_QUIT, 0, 0) != FALSE;
        LogMessage("%s", LaunchText::kPostedQuit);
    }
    if (methods & kTerminate) {
        if (posted) LaunchSleep(kPauseAfterPost);
        ::TerminateProcess(process, 0);
        LogMessage("%s", LaunchText::kTerminated);
    }
    LogMessage("%s", LaunchText::kLineEnd);
}

}  // namespace

// However the ending went, the kept handle is closed and both fields are cleared.
int Executant::EndApplication(unsigned methods)
{
    if (ProcessHandle != nullptr) EndKeptProcess(FileName.Text(), static_cast<HANDLE>(ProcessHandle), ThreadId, methods);
    ForgetKeptProcess(*this);
    return 0;
}

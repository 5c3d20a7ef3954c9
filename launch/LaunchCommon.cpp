// Steps that the direct launch and the shell launch share.
#include "LaunchCommon.h"

#include "Executant.h"
#include "LaunchMessages.h"
#include "LaunchSettings.h"
#include "Log.h"
#include "Platform.h"
#include "SettleWatch.h"
#include "SystemUtilities.h"

// Kept handles are closed where the executant's destructor closes them, so that one place
// keeps their count.
void ForgetKeptProcess(Executant& executant)
{
    PlatformCloseHandle(executant.ProcessHandle);
    executant.ProcessHandle = nullptr;
    executant.ThreadId = 0;
}

void KeepProcess(Executant& executant, UniqueHandle& process, DWORD threadId)
{
    ForgetKeptProcess(executant);
    executant.ProcessHandle = process.Release();
    executant.ThreadId = threadId;
    if (executant.ProcessHandle != nullptr) KeptProcessHandles::Added();
}

namespace {

struct IdleWait {
    HANDLE process;
    unsigned timeout;
    HANDLE done;  // set when the result is in: sooner than the end of the thread
    DWORD result;
    DWORD error;
};

DWORD WINAPI WaitForIdle(void* parameter)
{
    IdleWait* wait = static_cast<IdleWait*>(parameter);
    const HANDLE done = wait->done;
    wait->result = ::WaitForInputIdle(wait->process, wait->timeout);
    wait->error = ::GetLastError();
    // `wait` may be gone from here on.
    ::SetEvent(done);
    return 0;
}

// While windows placed before are watched, the wait runs on a thread of its own and this one
// looks after them meanwhile: a program that is slow to become ready must not keep the one
// before it from being put back. (Waiting in slices would not do: each call of the wait
// leaves an event handle behind under Wine.)
DWORD WaitForInputIdleWatching(HANDLE process, unsigned timeout)
{
    if (!PlacedWindowsWatched()) return ::WaitForInputIdle(process, timeout);
    UniqueHandle done(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    IdleWait wait = {process, timeout, done.Get(), WAIT_FAILED, 0};
    UniqueHandle thread(done ? ::CreateThread(nullptr, 0, WaitForIdle, &wait, 0, nullptr) : nullptr);
    if (!thread) return ::WaitForInputIdle(process, timeout);
    // Looked at while the new program starts, on the other processor if there is one.
    do {
        CheckPlacedWindows();
    } while (::WaitForSingleObject(done.Get(), kSettleCheckInterval) == WAIT_TIMEOUT);
    ::SetLastError(wait.error);
    return wait.result;
}

}  // namespace

bool WaitUntilReady(HANDLE process, unsigned timeout, const char* name)
{
    const DWORD result = WaitForInputIdleWatching(process, timeout);
    if (result == 0) return true;
    if (result == WAIT_TIMEOUT) {
        LogMessage(LaunchText::kIdleTimeout, name, static_cast<int>(timeout / 1000));
        return false;
    }
    // A console program has no input queue to wait for: the wait fails at once.
    char* text = GetSystemErrorText();
    LogMessage(LaunchText::kSystemErrorLine, text != nullptr ? text : "");
    if (text != nullptr) ::LocalFree(text);
    LogMessage(LaunchText::kNoProcessHandle, name);
    return false;
}

std::vector<char> Writable(const std::string& text)
{
    return std::vector<char>(text.c_str(), text.c_str() + text.size() + 1);
}

namespace {

CreateProcessFunction g_createProcess = ::CreateProcessA;

// Under a Wine without its preloader (Debian only suggests it) about one new process in two
// thousand ends while the system sets it up, before any of its own code ran: its randomly
// placed heap covers a page that Wine maps at a fixed address. The creation then fails with
// ERROR_INTERNAL_ERROR although nothing is wrong with the program. Nothing of it has run, so
// starting it again is safe; a failure that lasts is reported as before.
constexpr int kCreateAttempts = 3;

}  // namespace

CreateProcessFunction SetCreateProcess(CreateProcessFunction function)
{
    const CreateProcessFunction previous = g_createProcess;
    g_createProcess = function != nullptr ? function : ::CreateProcessA;
    return previous;
}

bool CreateExecutantProcess(const Executant& executant, const std::string& commandLine, const char* desktop,
                            DWORD baseFlags, PROCESS_INFORMATION* info)
{
    STARTUPINFOA startup = StartupBlockFor(executant, desktop);
    DWORD error = ERROR_INTERNAL_ERROR;
    for (int attempt = 0; attempt < kCreateAttempts && error == ERROR_INTERNAL_ERROR; ++attempt) {
        std::vector<char> buffer = Writable(commandLine);
        if (g_createProcess(nullptr, buffer.data(), nullptr, nullptr, FALSE, CreationFlagsFor(executant, baseFlags),
                            nullptr, WorkingDirectoryOf(executant), &startup, info)) {
            LogMessage(LaunchText::kCreateSucceeded, commandLine.c_str());
            return true;
        }
        error = ::GetLastError();
    }
    LogMessage(LaunchText::kCreateFailed, commandLine.c_str());
    // The reason, for whoever reads the log; writing the log may change the last error.
    ::SetLastError(error);
    char* text = GetSystemErrorText();
    LogMessage(LaunchText::kSystemErrorLine, text != nullptr ? text : "");
    if (text != nullptr) ::LocalFree(text);
    return false;
}

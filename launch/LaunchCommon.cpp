// Steps that the direct launch and the shell launch share.
#include "LaunchCommon.h"

#include "Executant.h"
#include "LaunchMessages.h"
#include "LaunchSettings.h"
#include "Log.h"
#include "Platform.h"
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

bool WaitUntilReady(HANDLE process, unsigned timeout, const char* name)
{
    const DWORD result = ::WaitForInputIdle(process, timeout);
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

bool CreateExecutantProcess(const Executant& executant, const std::string& commandLine, const char* desktop,
                            DWORD baseFlags, PROCESS_INFORMATION* info)
{
    std::vector<char> buffer = Writable(commandLine);
    STARTUPINFOA startup = StartupBlockFor(executant, desktop);
    if (!::CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, CreationFlagsFor(executant, baseFlags),
                          nullptr, WorkingDirectoryOf(executant), &startup, info)) {
        LogMessage(LaunchText::kCreateFailed, commandLine.c_str());
        return false;
    }
    LogMessage(LaunchText::kCreateSucceeded, commandLine.c_str());
    return true;
}

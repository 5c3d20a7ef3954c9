// Translation of an executant's settings into process-creation arguments.
#include "LaunchSettings.h"

#include <cstring>

#include "Executant.h"

unsigned BoundedInputTimeout(int timeout)
{
    return timeout < 0 ? kMaxInputTimeout : BoundedInputTimeout(static_cast<unsigned>(timeout));
}

unsigned BoundedInputTimeout(unsigned timeout) { return timeout > kMaxInputTimeout ? kMaxInputTimeout : timeout; }

unsigned SearchPasses(unsigned timeout)
{
    const unsigned passes = BoundedInputTimeout(timeout) / 1000;
    return passes > 0 ? passes : 1;
}

std::string BuildCommandLine(const char* program, const char* arguments)
{
    std::string line;
    const bool hasBlank = std::strpbrk(program, " \t") != nullptr;
    if (hasBlank && program[0] != '"') {
        line += '"';
        line += program;
        line += '"';
    } else {
        line += program;
    }
    line += ' ';
    line += arguments;
    return line;
}

DWORD PriorityClassOf(unsigned priority)
{
    switch ((priority >> 4) & 0x0F) {
    case 1: return IDLE_PRIORITY_CLASS;
    case 2: return NORMAL_PRIORITY_CLASS;
    case 3: return HIGH_PRIORITY_CLASS;
    default: return 0;
    }
}

bool ThreadPriorityOf(unsigned priority, int* threadPriority)
{
    switch (priority & 0x0F) {
    case 1: *threadPriority = THREAD_PRIORITY_LOWEST; return true;
    case 2: *threadPriority = THREAD_PRIORITY_BELOW_NORMAL; return true;
    case 4: *threadPriority = THREAD_PRIORITY_ABOVE_NORMAL; return true;
    case 5: *threadPriority = THREAD_PRIORITY_HIGHEST; return true;
    default: return false;  // 3 is normal already
    }
}

DWORD CreationFlagsFor(const Executant& executant, DWORD baseFlags)
{
    return executant.HasPriority ? baseFlags | PriorityClassOf(executant.Priority) : baseFlags;
}

STARTUPINFOA StartupBlockFor(const Executant& executant, const char* desktop)
{
    STARTUPINFOA startup;
    std::memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    startup.lpDesktop = const_cast<char*>(desktop);
    if (executant.PositionSet()) {
        startup.dwX = static_cast<DWORD>(executant.PositionX);
        startup.dwY = static_cast<DWORD>(executant.PositionY);
        startup.dwFlags |= STARTF_USEPOSITION;
    }
    if (executant.SizeSet()) {
        startup.dwXSize = static_cast<DWORD>(executant.Width);
        startup.dwYSize = static_cast<DWORD>(executant.Height);
        startup.dwFlags |= STARTF_USESIZE;
    }
    startup.dwFlags |= STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(executant.ShowCommand());
    return startup;
}

const char* WorkingDirectoryOf(const Executant& executant)
{
    const StringClass& path = executant.SettingText(kKeyPath);
    return path.IsEmpty() ? nullptr : path.Text();
}

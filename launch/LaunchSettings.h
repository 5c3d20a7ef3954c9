// How an executant's settings turn into the arguments of a process creation: command line,
// creation flags, priorities, start-up block, and the bounded input-idle time-out.
#pragma once
#include <windows.h>

#include <string>

class Executant;

// The editor allows 0-99999 ms. A hand-edited file may hold more, or a negative number that
// the wait would read as some 49 days (-1 being "forever"); both are limited to this.
constexpr unsigned kMaxInputTimeout = 99999;
// A window search runs one pass per second of the time-out; within a pass it looks again at
// this interval, so that a window that comes after its program became ready is placed within
// a few tens of milliseconds of showing instead of up to a second later.
constexpr unsigned kSearchPassPause = 1000;
constexpr unsigned kSearchLookInterval = 25;
constexpr unsigned kSearchLooksPerPass = kSearchPassPause / kSearchLookInterval;
// The first interval of a search is cut into shorter pauses. A program's first wait for input
// ends the ready wait, and that wait often comes while the program is still showing its
// window (under Wine: any wait on its message queue); the window is then there a moment
// later, and a whole interval's pause would be the largest part of the launch's own time.
constexpr unsigned kSearchQuickPauses[] = {1, 2, 4, 8, 10};

unsigned BoundedInputTimeout(int timeout);
unsigned BoundedInputTimeout(unsigned timeout);
// One pass per whole second of the time-out, at least one.
unsigned SearchPasses(unsigned timeout);

// Program name, one blank, arguments. A name with a blank in it is put in double quotes:
// unquoted, "c:\program files\x.exe" would start c:\program.exe if one existed.
std::string BuildCommandLine(const char* program, const char* arguments);

// Priority class for the class code in bits 4-7, or 0 for none.
DWORD PriorityClassOf(unsigned priority);
// True and the thread priority when the thread code in bits 0-3 asks for a change.
bool ThreadPriorityOf(unsigned priority, int* threadPriority);

constexpr DWORD kLaunchFlags =
    CREATE_SUSPENDED | CREATE_NEW_CONSOLE | CREATE_NEW_PROCESS_GROUP | CREATE_SEPARATE_WOW_VDM |
    CREATE_DEFAULT_ERROR_MODE;
constexpr DWORD kHelperFlags =
    CREATE_NEW_CONSOLE | CREATE_SEPARATE_WOW_VDM | CREATE_DEFAULT_ERROR_MODE | PROFILE_USER | PROFILE_KERNEL;
// The base flags plus the priority class when the executant has a priority.
DWORD CreationFlagsFor(const Executant& executant, DWORD baseFlags);

// Start-up block carrying desktop, position, size and the show command.
STARTUPINFOA StartupBlockFor(const Executant& executant, const char* desktop);

// ExecutionPath, or null when it is empty.
const char* WorkingDirectoryOf(const Executant& executant);

// Steps that the direct launch and the shell launch share.
#pragma once
#include <windows.h>

#include <string>

#include "Handles.h"
#include <vector>

class Executant;

// Closes and forgets what an earlier test launch kept.
void ForgetKeptProcess(Executant& executant);
// Hands the process handle and thread id to the executant, for EndApplication.
void KeepProcess(Executant& executant, UniqueHandle& process, DWORD threadId);

// Waits until the new process is idle for input. False when the wait timed out or failed;
// the reason has been logged under `name`.
bool WaitUntilReady(HANDLE process, unsigned timeout, const char* name);

// CreateProcessA may write into its command line.
std::vector<char> Writable(const std::string& text);

// Creates the process of a command line with the executant's start-up block, working
// directory and creation flags (built on `baseFlags`), and logs whether that worked. A start
// that fails while the system sets the process up is tried again.
bool CreateExecutantProcess(const Executant& executant, const std::string& commandLine, const char* desktop,
                            DWORD baseFlags, PROCESS_INFORMATION* info);

// The process creation the engine calls; tests replace it to fail as a loaded system does.
// Returns the previous one; null restores CreateProcessA.
using CreateProcessFunction = BOOL(WINAPI*)(LPCSTR, LPSTR, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL, DWORD,
                                            LPVOID, LPCSTR, LPSTARTUPINFOA, LPPROCESS_INFORMATION);
CreateProcessFunction SetCreateProcess(CreateProcessFunction function);

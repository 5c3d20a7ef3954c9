// Steps that the direct launch and the shell launch share.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

class Executant;

// Closes and forgets what an earlier test launch kept.
void ForgetKeptProcess(Executant& executant);

// Waits until the new process is idle for input. False when the wait timed out or failed;
// the reason has been logged under `name`.
bool WaitUntilReady(HANDLE process, unsigned timeout, const char* name);

// CreateProcessA may write into its command line.
std::vector<char> Writable(const std::string& text);

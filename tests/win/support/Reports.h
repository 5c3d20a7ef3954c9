// The reports the test application writes about itself ("key=value" lines ending in "end").
#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <vector>

using Report = std::map<std::string, std::string>;
// Reads a report file; empty when it does not exist (yet).
Report ReadReport(const std::string& path);
// Waits until the report exists and carries `event` (any event when null); gives up after
// a generous deadline so that a broken program fails the test instead of hanging it.
Report WaitForReport(const std::string& path, const char* event = nullptr);
// The numbers of a "a,b,c,d" report value.
std::vector<long> Numbers(const std::string& text);
// Process id of the program that wrote a report.
DWORD ReportedProcessId(const Report& report);
// Makes the test application rewrite its report now; true when it answered.
bool RequestReport(HWND window);

// What the tests and the test application agree on.
#pragma once
#include <windows.h>

// Sent to the window (or posted to the thread of a window-less copy): rewrite the report now.
// A window answers 1 after the report is on disk.
constexpr UINT kReportRequest = WM_APP + 1;
inline constexpr const char kTestAppClass[] = "LodestayTestApp";

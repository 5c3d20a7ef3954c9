// The one clock of the launch benchmarks: QueryPerformanceCounter, which every process of the
// machine shares, so that the test application's own stamps line up with the benchmark's.
#pragma once
#include <windows.h>

inline double Milliseconds(LONGLONG ticks, LONGLONG frequency)
{
    return 1000.0 * static_cast<double>(ticks) / static_cast<double>(frequency);
}

inline double Now()
{
    LARGE_INTEGER count, frequency;
    ::QueryPerformanceCounter(&count);
    ::QueryPerformanceFrequency(&frequency);
    return Milliseconds(count.QuadPart, frequency.QuadPart);
}

// Helpers of the fault tests: every handle the launch engine holds, and the handles in the
// process's own table.
#pragma once
#include <windows.h>

#include <ostream>

// What the launch engine holds: handles in its owners, by kind, and process handles kept by
// executants after a test launch.
struct HandleTally {
    int kernel;     // processes, threads
    int snapshots;
    int desktops;
    int kept;
    bool operator==(const HandleTally& other) const
    {
        return kernel == other.kernel && snapshots == other.snapshots && desktops == other.desktops &&
               kept == other.kept;
    }
};
HandleTally CurrentHandles();
std::ostream& operator<<(std::ostream& out, const HandleTally& tally);

// Handles in this process's own table that the launch engine could have left: to processes,
// to threads of other processes, to desktops and to process snapshots (sections under Wine),
// whoever opened them. Wine reports no handle count, so every value in the low part of the
// table is asked for; Wine hands out the lowest free value first, so a leak shows up there.
// Other kinds are left out: Wine's WaitForInputIdle leaves an event handle behind per call.
int LaunchHandlesInTable();

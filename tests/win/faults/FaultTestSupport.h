// Helpers of the fault tests: every handle the launch engine holds, the process's own handle
// table, ending the programs a test started, and running lodestay.exe to its one message box.
#pragma once
#include <windows.h>

#include <initializer_list>
#include <ostream>
#include <string>

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

// Ends every process running one of these programs (file names, any folder) and waits until
// it is gone, so that no test sees another's leftovers.
void EndPrograms(std::initializer_list<std::string> fileNames);
// The test application, its console variant and the launcher.
void EndTestPrograms();

struct LauncherRun {
    bool ended = false;
    int boxes = 0;
    std::string caption;
    std::string text;
};
// Runs lodestay.exe -e -p FILE until it ends, reading and answering (OK) every message box it
// shows; gives up after `boundMs`, a safety net for a launcher that hangs, not a timing.
LauncherRun RunUnattended(const std::string& settingsPath, DWORD boundMs);

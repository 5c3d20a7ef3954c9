// Where one launch's time goes. Runs the unattended start in this process, as lodestay.exe -e
// does (the settings file read, then LaunchAll), with an observer that stamps every step of
// the engine on the clock the test application stamps its own start, ready and shown with;
// the same programs started one after the other and waited for (the baseline) are stamped at
// the same points. Then it measures what one look of the window search and one duplicate
// check cost with more and more windows on the desktop.
// Prints tab-separated lines, milliseconds:
//   step WAY PROGRAM guard create ime priority resume wait ready-lag shown-lag looks search
//        look place next gap main-to-ready
// (WAY: plain, the -e benchmark's list; full, the same with the duplicate guard, the input
// method switched off and a priority, each program a copy of its own name; direct: the
// baseline; exe: lodestay.exe -e over the plain list, of which only the programs' own stamps
// tell), one line per program; ready-lag and shown-lag: the wait's return after the
// program's own ready and shown stamps; gap: from this program's ready stamp to the next
// program's main; main-to-ready: the program's own;
//   look WINDOWS ALL by-id by-path by-path-again guard
// (WINDOWS visible unowned top-level windows, ALL every top-level window; by-path-again: a
// later look of the same search; medians of 21).
// Usage: lodestay_step_bench N RUNS FOLDER   (test application beside it)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "BenchPrograms.h"
#include "DuplicateGuard.h"
#include "Executant.h"
#include "LaunchSleep.h"
#include "Launcher.h"
#include "RingList.h"
#include "SettingsFile.h"
#include "SystemFunctions.h"
#include "WindowSearch.h"

namespace {

std::vector<std::pair<LaunchStep, double>> g_steps;

void Stamp(LaunchStep step) { g_steps.push_back({step, Now()}); }

// One program's launch, split at the engine's steps (0 where a step did not happen).
struct Launch {
    double begun = 0, guarded = 0, created = 0, ime = 0, priority = 0, resumed = 0, ready = 0, found = 0,
           placed = 0;
    int looks = 0;
    std::vector<double> lookCosts;
};

std::vector<Launch> SplitSteps()
{
    std::vector<Launch> launches;
    double previous = 0;
    for (const auto& s : g_steps) {
        if (s.first == LaunchStep::kBegun) launches.emplace_back();
        if (launches.empty()) continue;
        Launch& l = launches.back();
        switch (s.first) {
        case LaunchStep::kBegun: l.begun = s.second; break;
        case LaunchStep::kGuarded: l.guarded = s.second; break;
        case LaunchStep::kCreated: l.created = s.second; break;
        case LaunchStep::kImeSwitched: l.ime = s.second; break;
        case LaunchStep::kPrioritySet: l.priority = s.second; break;
        case LaunchStep::kResumed: l.resumed = s.second; break;
        case LaunchStep::kReady: l.ready = s.second; break;
        case LaunchStep::kLookedEmpty:
        case LaunchStep::kLookedFound:
            ++l.looks;
            l.lookCosts.push_back(s.second - previous);
            if (s.first == LaunchStep::kLookedFound) l.found = s.second;
            break;
        case LaunchStep::kPlaced: l.placed = s.second; break;
        default: break;
        }
        previous = s.second;
    }
    return launches;
}

double Median(std::vector<double> values)
{
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The latest of the stamps that happened, starting from `from`.
double Latest(double from, std::initializer_list<double> stamps)
{
    for (double s : stamps) from = std::max(from, s);
    return from;
}

struct ProgramStamps {
    double started = 0, ready = 0, shown = 0;
};

struct Bench : BenchPrograms {
    std::string CopyPath(int i) const { return folder + "\\steps" + std::to_string(i) + ".exe"; }

    std::vector<ProgramStamps> ReadStamps() const
    {
        std::vector<ProgramStamps> stamps(count);
        for (int i = 0; i < count; ++i) {
            Report r;
            for (int wait = 0; wait < 400; ++wait) {
                r = ReadReport(ReportPath(i));
                if (r.count("end") && r["ready"] != "0" && r["shown"] != "0") break;
                ::Sleep(25);
            }
            stamps[i] = {ReportedStamp(r, "started"), ReportedStamp(r, "ready"), ReportedStamp(r, "shown")};
        }
        return stamps;
    }

    void Print(const char* way, const std::vector<Launch>& launches, double end) const
    {
        const std::vector<ProgramStamps> own = ReadStamps();
        for (size_t i = 0; i < launches.size() && i < own.size(); ++i) {
            const Launch& l = launches[i];
            const double afterGuard = Latest(l.begun, {l.guarded});
            const double afterIme = Latest(l.created, {l.ime});
            const double afterPriority = Latest(afterIme, {l.priority});
            const double next = i + 1 < launches.size() ? launches[i + 1].begun : end;
            const double gap = i + 1 < own.size() ? own[i + 1].started - own[i].ready : 0;
            std::printf("step\t%s\t%zu\t%.2f\t%.2f\t%.2f\t%.2f\t%.2f\t%.2f\t%.2f\t%.2f\t%d\t%.2f\t%.2f\t%.2f\t%.2f\t%.2f\t%.2f\n",
                        way, i, l.guarded > 0 ? l.guarded - l.begun : 0, l.created - afterGuard,
                        l.ime > 0 ? l.ime - l.created : 0, l.priority > 0 ? l.priority - afterIme : 0,
                        l.resumed - afterPriority, l.ready - l.resumed, l.ready - own[i].ready,
                        l.ready - own[i].shown, l.looks, l.found > 0 ? l.found - l.ready : 0, Median(l.lookCosts),
                        l.placed > 0 ? l.placed - l.found : 0, next - Latest(l.ready, {l.placed}), gap,
                        own[i].ready - own[i].started);
        }
        std::fflush(stdout);
    }

    void RunEngine(bool full) const
    {
        std::vector<EntrySettings> entries;
        for (int i = 0; i < count; ++i) {
            EntrySettings entry = Entry(i, full ? CopyPath(i) : testApp);
            if (full) {
                entry.push_back({"ExecutionInitialOnce", "1"});
                entry.push_back({"ExecutionDisableIME", "1"});
                entry.push_back({"ExecutionPriority", "0x0023"});
            }
            entries.push_back(entry);
        }
        const std::string list = folder + "\\steps.ini";
        if (!WriteSettingsFile(list, entries)) return;
        Executant* head = LoadSettingsFile(list.c_str());
        g_steps.clear();
        SetLaunchStepObserver(Stamp);
        LaunchAll(list.c_str(), head);
        const double end = Now();
        SetLaunchStepObserver(nullptr);
        DeleteRing(head);
        Print(full ? "full" : "plain", SplitSteps(), end);
        Clear();
    }

    // lodestay.exe -e over the plain list: only the programs' own stamps can tell.
    void RunProgram() const
    {
        const std::string list = folder + "\\steps.ini";
        HANDLE process = StartProcess("\"" + ProgramBeside("lodestay.exe") + "\" -e -p " + list);
        if (process == nullptr) return;
        ::WaitForSingleObject(process, INFINITE);
        ::CloseHandle(process);
        Print("exe", std::vector<Launch>(count), 0);
        Clear();
    }

    void RunDirect() const
    {
        std::vector<Launch> launches(count);
        for (int i = 0; i < count; ++i) {
            Launch& l = launches[i];
            l.begun = Now();
            HANDLE p = StartProcess("\"" + testApp + "\" " + Arguments(i));
            if (p == nullptr) return;
            l.created = l.resumed = Now();
            ::WaitForInputIdle(p, INFINITE);
            l.ready = Now();
            ::CloseHandle(p);
        }
        Print("direct", launches, Now());
        Clear();
    }
};

struct WindowCount {
    bool visibleUnownedOnly;
    int count;
};

BOOL CALLBACK CountWindow(HWND window, LPARAM parameter)
{
    WindowCount* c = reinterpret_cast<WindowCount*>(parameter);
    if (!c->visibleUnownedOnly || (::IsWindowVisible(window) && ::GetWindow(window, GW_OWNER) == nullptr)) ++c->count;
    return TRUE;
}

int CountWindows(bool visibleUnownedOnly)
{
    WindowCount count = {visibleUnownedOnly, 0};
    ::EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&count));
    return count.count;
}

template <typename F>
double MedianTime(F f)
{
    std::vector<double> times;
    for (int i = 0; i < 21; ++i) {
        const double start = Now();
        f();
        times.push_back(Now() - start);
    }
    return Median(times);
}

// One look by process id and by module path, and one duplicate check, none of which finds
// anything, with a desktop crowded by another program's windows.
void MeasureLooks(const std::string& folder, int windows)
{
    const int present = CountWindows(true);
    const std::string report = folder + "\\crowd.txt";
    HANDLE crowd = nullptr;
    ::DeleteFileA(report.c_str());
    if (windows > present) {
        crowd = StartProcess("\"" + TestAppPath() + "\" --report " + report + " --title Crowd --extra-windows " +
                             std::to_string(windows - present - 1));
        WaitForReport(report, "start");
    }
    Executant search;
    const std::string nowhere = "C:\\nowhere\\nosuch.exe";
    const double byId = MedianTime([&] {
        search.ResetWindowSearch(kSearchByProcessId);
        ::EnumWindows(TopLevelWindowProc, static_cast<LPARAM>(0xFFFFFFF0u));
    });
    const double byPath = MedianTime([&] {
        search.ResetWindowSearch(kSearchByModulePath);
        ::EnumWindows(TopLevelWindowProc, reinterpret_cast<LPARAM>(nowhere.c_str()));
    });
    // Later looks of the same search, which know the processes already.
    search.ResetWindowSearch(kSearchByModulePath);
    const double byPathAgain =
        MedianTime([&] { ::EnumWindows(TopLevelWindowProc, reinterpret_cast<LPARAM>(nowhere.c_str())); });
    search.ResetWindowSearch(kSearchByProcessId);
    const double guard = MedianTime([&] { CheckModuleNotRunning(nullptr, nowhere.c_str()); });
    std::printf("look\t%d\t%d\t%.3f\t%.3f\t%.3f\t%.3f\n", CountWindows(true), CountWindows(false), byId, byPath,
                byPathAgain, guard);
    std::fflush(stdout);
    if (crowd != nullptr) {
        EndProcess(::GetProcessId(crowd));
        ::CloseHandle(crowd);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: lodestay_step_bench N RUNS FOLDER\n");
        return 2;
    }
    Bench bench{{std::atoi(argv[1]), argv[3], "step"}};
    const int runs = std::atoi(argv[2]);
    BindSystemFunctions(kBindAll, 1);
    for (int i = 0; i < bench.count; ++i) ::CopyFileA(bench.testApp.c_str(), bench.CopyPath(i).c_str(), FALSE);
    bench.Clear();
    for (int run = 0; run < runs; ++run) {
        bench.RunEngine(false);
        bench.RunProgram();
        bench.RunDirect();
        bench.RunEngine(true);
    }
    for (int windows : {10, 30, 100}) MeasureLooks(bench.folder, windows);
    for (int i = 0; i < bench.count; ++i) ::DeleteFileA(bench.CopyPath(i).c_str());
    return 0;
}

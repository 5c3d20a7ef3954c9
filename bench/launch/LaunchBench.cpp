// Launcher overhead benchmark: starts N copies of the test application in several ways and
// prints one tab-separated line of milliseconds per run, each way until every program is
// ready and placed by the programs' own stamps:
//   lodestay  lodestay.exe -e over N entries with position and size (which watches the
//             placed windows a while longer before it ends);
//   direct    CreateProcess and WaitForInputIdle, one after the other, nothing placed:
//             the programs' own time to become ready (the baseline);
//   start     "cmd /c start" for each, then until the last program reported ready;
//   other     the same as lodestay with another lodestay.exe (an earlier build), or 0;
// then, for lodestay and direct (and last the other lodestay.exe), where their time went by
// the programs' own stamps: from the start to the first program's main function, from there
// until the last program was ready and placed, and from then to the end of the way (for
// lodestay.exe: until it ended).
// Usage: lodestay_launch_bench N RUNS FOLDER [OTHER_LODESTAY]   (test application and
// lodestay.exe beside it)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchPrograms.h"

namespace {

// A reported stamp ("started": entry of main; "ready": first turn of the message loop;
// "placed": the last request to move or show its window after it showed) in ms, or 0 while
// there is none.
double Stamp(const std::string& path, const char* which)
{
    Report report = ReadReport(path);
    if (!report.count("end") || report["ready"] == "0" || report[which] == "0") return 0;
    return ReportedStamp(report, which);
}

// One way's run: its start and end, the programs' first main, and when the last of them was
// ready and placed.
struct Timeline {
    double start = 0;
    double end = 0;
    double firstMain = 0;
    double lastReady = 0;
    // The median of the steps from one program's main to the next one's: one slow program
    // (the first one often is) does not move it.
    double mainToMain = 0;
    double Total() const { return lastReady - start; }
    double ToFirstMain() const { return firstMain - start; }
    double Between() const { return lastReady - firstMain; }
    double AfterLastReady() const { return end - lastReady; }
};

struct Bench : BenchPrograms {
    // Waits for every program's report and fills in the programs' stamps.
    void ReadStamps(Timeline& timeline) const
    {
        timeline.firstMain = 0;
        timeline.lastReady = 0;
        std::vector<double> mains;
        for (int i = 0; i < count; ++i) {
            double ready = 0;
            for (int wait = 0; wait < 400 && (ready = Stamp(ReportPath(i), "ready")) == 0; ++wait) ::Sleep(25);
            // Rewritten now, so that it tells the latest placement.
            RequestReport(WindowOfProcess(ReportedProcessId(ReadReport(ReportPath(i))), true));
            const double started = Stamp(ReportPath(i), "started");
            timeline.lastReady = std::max({timeline.lastReady, ready, Stamp(ReportPath(i), "placed")});
            if (timeline.firstMain == 0 || started < timeline.firstMain) timeline.firstMain = started;
            mains.push_back(started);
        }
        std::vector<double> steps;
        for (size_t i = 1; i < mains.size(); ++i) steps.push_back(mains[i] - mains[i - 1]);
        std::sort(steps.begin(), steps.end());
        timeline.mainToMain = steps.empty() ? 0 : steps[steps.size() / 2];
    }

    Timeline RunLodestay(const std::string& launcher) const
    {
        Timeline timeline;
        const std::string list = folder + "\\bench.ini";
        std::vector<EntrySettings> entries;
        for (int i = 0; i < count; ++i) entries.push_back(Entry(i, testApp));
        if (!WriteSettingsFile(list, entries)) return timeline;
        timeline.start = Now();
        HANDLE process = StartProcess("\"" + launcher + "\" -e -p " + list);
        if (process == nullptr) return timeline;
        ::WaitForSingleObject(process, INFINITE);
        timeline.end = Now();
        ::CloseHandle(process);
        ReadStamps(timeline);
        return timeline;
    }

    Timeline RunDirect() const
    {
        Timeline timeline;
        timeline.start = Now();
        for (int i = 0; i < count; ++i) {
            HANDLE p = StartProcess("\"" + testApp + "\" " + Arguments(i));
            if (p == nullptr) return timeline;
            ::WaitForInputIdle(p, INFINITE);
            ::CloseHandle(p);
        }
        timeline.end = Now();
        ReadStamps(timeline);
        return timeline;
    }

    double RunCmdStart() const
    {
        Timeline timeline;
        timeline.start = Now();
        for (int i = 0; i < count; ++i) {
            HANDLE cmd = StartProcess("cmd /c start \"\" \"" + testApp + "\" " + Arguments(i));
            if (cmd == nullptr) return -1;
            ::WaitForSingleObject(cmd, INFINITE);
            ::CloseHandle(cmd);
        }
        ReadStamps(timeline);
        return timeline.Total();
    }
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: lodestay_launch_bench N RUNS FOLDER [OTHER_LODESTAY]\n");
        return 2;
    }
    Bench bench{{std::atoi(argv[1]), argv[3], "bench"}};
    const int runs = std::atoi(argv[2]);
    const std::string other = argc > 4 ? argv[4] : "";
    bench.Clear();
    for (int run = 0; run < runs; ++run) {
        const Timeline lodestay = bench.RunLodestay(ProgramBeside("lodestay.exe"));
        bench.Clear();
        const Timeline direct = bench.RunDirect();
        bench.Clear();
        const double start = bench.RunCmdStart();
        bench.Clear();
        Timeline earlier;
        if (!other.empty()) {
            earlier = bench.RunLodestay(other);
            bench.Clear();
        }
        std::printf("%d\t%.1f\t%.1f\t%.1f\t%.1f\t%.1f\t%.1f\t%.1f\t%.1f\t%.1f\t%.1f\t%.1f\t%.1f\t%.1f\t%.1f\t%.1f\t%.1f\n",
                    bench.count, lodestay.Total(), direct.Total(), start, earlier.Total(), lodestay.ToFirstMain(),
                    direct.ToFirstMain(), lodestay.Between(), direct.Between(), lodestay.AfterLastReady(),
                    direct.AfterLastReady(), earlier.ToFirstMain(), earlier.Between(), earlier.AfterLastReady(),
                    lodestay.mainToMain, direct.mainToMain, earlier.mainToMain);
        std::fflush(stdout);
    }
    return 0;
}

// Launcher overhead benchmark: starts N copies of the test application three ways and
// prints one tab-separated line of milliseconds per run:
//   lodestay  lodestay.exe -e over N entries with position and size, until it ends
//             (every program idle and placed);
//   direct    CreateProcess and WaitForInputIdle, one after the other, nothing placed:
//             the programs' own time to become ready;
//   start     "cmd /c start" for each, then until the last program reported ready.
// Usage: lodestay_launch_bench N RUNS FOLDER   (test application and lodestay.exe beside it)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "WinTestSupport.h"

namespace {

// Reported "ready" stamp (the program's first turn of its message loop) in ms, or 0.
double ReadyStamp(const std::string& path)
{
    Report report = ReadReport(path);
    if (!report.count("end") || report["ready"] == "0") return 0;
    const LONGLONG frequency = std::atoll(report["frequency"].c_str());
    return frequency > 0 ? Milliseconds(std::atoll(report["ready"].c_str()), frequency) : 0;
}

struct Bench {
    int count;
    std::string folder;
    std::string testApp = TestAppPath();

    std::string ReportPath(int i) const { return folder + "\\bench" + std::to_string(i) + ".txt"; }
    int X(int i) const { return 20 + 40 * i; }
    int Y(int i) const { return 20 + 30 * i; }
    // Every way starts the same windows at the same places (the program puts itself there),
    // so that drawing costs the same; the launcher then places them once more.
    std::string Arguments(int i) const
    {
        return "--report " + ReportPath(i) + " --title Bench" + std::to_string(i) + " --fixed " + std::to_string(X(i)) +
               "," + std::to_string(Y(i)) + ",400,300";
    }

    // Ends every program of the last run and forgets its report.
    void Clear() const
    {
        for (int i = 0; i < count; ++i) {
            EndProcess(ReportedProcessId(ReadReport(ReportPath(i))));
            ::DeleteFileA(ReportPath(i).c_str());
        }
    }

    double LastReady() const
    {
        double last = 0;
        for (int i = 0; i < count; ++i) {
            double ready = 0;
            for (int wait = 0; wait < 400 && (ready = ReadyStamp(ReportPath(i))) == 0; ++wait) ::Sleep(25);
            last = std::max(last, ready);
        }
        return last;
    }

    double RunLodestay() const
    {
        const std::string list = folder + "\\bench.ini";
        std::vector<EntrySettings> entries;
        for (int i = 0; i < count; ++i) {
            entries.push_back({{"ExecutionFileName", testApp},
                               {"ExecutionArguments", Arguments(i)},
                               {"ExecutionPosition", std::to_string(X(i)) + "," + std::to_string(Y(i))},
                               {"ExecutionSize", "400,300"}});
        }
        if (!WriteSettingsFile(list, entries)) return -1;
        const double start = Now();
        HANDLE launcher = StartProcess("\"" + ProgramBeside("lodestay.exe") + "\" -e -p " + list);
        if (launcher == nullptr) return -1;
        ::WaitForSingleObject(launcher, INFINITE);
        const double end = Now();
        ::CloseHandle(launcher);
        return end - start;
    }

    double RunDirect() const
    {
        const double start = Now();
        for (int i = 0; i < count; ++i) {
            HANDLE p = StartProcess("\"" + testApp + "\" " + Arguments(i));
            if (p == nullptr) return -1;
            ::WaitForInputIdle(p, INFINITE);
            ::CloseHandle(p);
        }
        return Now() - start;
    }

    double RunCmdStart() const
    {
        const double start = Now();
        for (int i = 0; i < count; ++i) {
            HANDLE cmd = StartProcess("cmd /c start \"\" \"" + testApp + "\" " + Arguments(i));
            if (cmd == nullptr) return -1;
            ::WaitForSingleObject(cmd, INFINITE);
            ::CloseHandle(cmd);
        }
        return LastReady() - start;
    }
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: lodestay_launch_bench N RUNS FOLDER\n");
        return 2;
    }
    Bench bench{std::atoi(argv[1]), argv[3]};
    const int runs = std::atoi(argv[2]);
    bench.Clear();
    for (int run = 0; run < runs; ++run) {
        const double lodestay = bench.RunLodestay();
        bench.LastReady();
        bench.Clear();
        const double direct = bench.RunDirect();
        bench.LastReady();
        bench.Clear();
        const double start = bench.RunCmdStart();
        bench.Clear();
        std::printf("%d\t%.1f\t%.1f\t%.1f\n", bench.count, lodestay, direct, start);
        std::fflush(stdout);
    }
    return 0;
}

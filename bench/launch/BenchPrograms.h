// The programs that the launch benchmarks start: test applications, each with its window at a
// place of its own and its report in the benchmark's folder.
#pragma once
#include <windows.h>

#include <cstdlib>
#include <string>

#include "BenchClock.h"
#include "WinTestSupport.h"

struct BenchPrograms {
    int count;
    std::string folder;
    const char* name;  // of the reports and the windows' titles
    std::string testApp = TestAppPath();

    std::string ReportPath(int i) const { return folder + "\\" + name + std::to_string(i) + ".txt"; }
    std::string Position(int i) const { return std::to_string(20 + 40 * i) + "," + std::to_string(20 + 30 * i); }
    // Every way starts the same windows at the same places (the program puts itself there),
    // so that drawing costs the same; the launcher then places them once more.
    std::string Arguments(int i) const
    {
        return "--report " + ReportPath(i) + " --title " + name + std::to_string(i) + " --fixed " + Position(i) +
               ",400,300";
    }
    // The list entry of program i, registered where it puts itself.
    EntrySettings Entry(int i, const std::string& program) const
    {
        return {{"ExecutionFileName", program},
                {"ExecutionArguments", Arguments(i)},
                {"ExecutionPosition", Position(i)},
                {"ExecutionSize", "400,300"}};
    }
    // Ends every program of the last run and forgets its report.
    void Clear() const
    {
        for (int i = 0; i < count; ++i) {
            EndProcess(ReportedProcessId(ReadReport(ReportPath(i))));
            ::DeleteFileA(ReportPath(i).c_str());
        }
    }
};

// A stamp of a report ("started", "ready", "shown", "placed") in ms, or 0 when it has none.
inline double ReportedStamp(Report& report, const char* which)
{
    const LONGLONG frequency = std::atoll(report["frequency"].c_str());
    return frequency > 0 ? Milliseconds(std::atoll(report[which].c_str()), frequency) : 0;
}

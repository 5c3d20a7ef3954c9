// Load and save times of settings files with N executants, against simply reading the
// same bytes, and the process's peak memory. One size per process, so that the peak
// belongs to that size alone.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "SettingsFile.h"

#if defined(_WIN32)
#include <windows.h>
#include <psapi.h>
#else
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

long PeakKilobytes()
{
#if defined(_WIN32)
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return -1;
    return static_cast<long>(counters.PeakWorkingSetSize / 1024);
#else
    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
#endif
}

void WriteList(const std::string& path, int count)
{
    std::FILE* file = std::fopen(path.c_str(), "wt");
    std::fputs(";Lodestay\nFileVersion\t0x0110\n", file);
    for (int i = 0; i < count; ++i) {
        std::fprintf(file,
                     "Executant::RingListClass\t{\n"
                     "\tExecutionFileName\tc:\\program files\\vendor\\application%d.exe\n"
                     "\tExecutionArguments\t/open \"c:\\documents\\file%d.txt\"\n"
                     "\tExecutionPosition\t%d,%d\n"
                     "\tExecutionSize\t640,480\n"
                     "\tExecutionShowMode\t1\n"
                     "\tExecutionPriority\t0x0023\n"
                     "}\n",
                     i, i, i % 1000, i % 700);
    }
    std::fclose(file);
}

double ReadRaw(const std::string& path)
{
    const Clock::time_point start = Clock::now();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    std::vector<char> buffer(1 << 16);
    size_t total = 0;
    while (size_t got = std::fread(buffer.data(), 1, buffer.size(), file)) total += got;
    std::fclose(file);
    const double ms = Milliseconds(start);
    if (total == 0) std::abort();
    return ms;
}

}  // namespace

int main(int argc, char** argv)
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    const std::string folder = argc > 3 ? argv[3] : ".";
    const std::string path = folder + "/bench-" + std::to_string(count) + ".ini";
    const std::string saved = folder + "/bench-" + std::to_string(count) + "-saved.ini";
    WriteList(path, count);

    std::vector<double> raw, load, save;
    for (int run = 0; run < runs; ++run) {
        raw.push_back(ReadRaw(path));
        Clock::time_point start = Clock::now();
        Executant* head = LoadSettingsFile(path.c_str());
        load.push_back(Milliseconds(start));
        if (head == nullptr) return 1;
        start = Clock::now();
        if (!SaveSettingsFile(saved.c_str(), head)) return 1;
        save.push_back(Milliseconds(start));
        DeleteRing(head);
    }
    const double rawMs = Median(raw);
    const double loadMs = Median(load);
    std::printf("%d\t%.2f\t%.2f\t%.2f\t%.1f\t%ld\n", count, loadMs, Median(save), rawMs, loadMs / rawMs,
                PeakKilobytes());
    std::remove(path.c_str());
    std::remove(saved.c_str());
    return 0;
}

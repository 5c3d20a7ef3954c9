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
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

std::string Beside(const char* name)
{
    char path[MAX_PATH];
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\') + 1) + name;
}

double Now()
{
    LARGE_INTEGER count, frequency;
    ::QueryPerformanceCounter(&count);
    ::QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::map<std::string, std::string> ReadReport(const std::string& path)
{
    std::map<std::string, std::string> report;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        const size_t equals = line.find('=');
        if (equals != std::string::npos) report[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return report;
}

// Reported "ready" stamp (the program's first turn of its message loop) in ms, or 0.
double ReadyStamp(const std::string& path)
{
    auto report = ReadReport(path);
    if (!report.count("end") || report["ready"] == "0") return 0;
    const double ticks = std::strtod(report["ready"].c_str(), nullptr);
    const double frequency = std::strtod(report["frequency"].c_str(), nullptr);
    return frequency > 0 ? 1000.0 * ticks / frequency : 0;
}

HANDLE Start(const std::string& commandLine)
{
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back(0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        return nullptr;
    }
    ::CloseHandle(info.hThread);
    return info.hProcess;
}

struct Bench {
    int count;
    std::string folder;
    std::string testApp = Beside("lodestay-testapp.exe");

    std::string Report(int i) const { return folder + "\\bench" + std::to_string(i) + ".txt"; }
    int X(int i) const { return 20 + 40 * i; }
    int Y(int i) const { return 20 + 30 * i; }
    // Every way starts the same windows at the same places (the program puts itself there),
    // so that drawing costs the same; the launcher then places them once more.
    std::string Arguments(int i) const
    {
        return "--report " + Report(i) + " --title Bench" + std::to_string(i) + " --fixed " + std::to_string(X(i)) +
               "," + std::to_string(Y(i)) + ",400,300";
    }

    // Ends every program of the last run and forgets its report.
    void Clear() const
    {
        for (int i = 0; i < count; ++i) {
            auto report = ReadReport(Report(i));
            const DWORD pid = static_cast<DWORD>(std::strtoul(report["pid"].c_str(), nullptr, 10));
            if (HANDLE p = pid != 0 ? ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid) : nullptr) {
                ::TerminateProcess(p, 0);
                ::WaitForSingleObject(p, 5000);
                ::CloseHandle(p);
            }
            ::DeleteFileA(Report(i).c_str());
        }
    }

    double LastReady() const
    {
        double last = 0;
        for (int i = 0; i < count; ++i) {
            double ready = 0;
            for (int wait = 0; wait < 400 && (ready = ReadyStamp(Report(i))) == 0; ++wait) ::Sleep(25);
            last = std::max(last, ready);
        }
        return last;
    }

    double RunLodestay() const
    {
        const std::string list = folder + "\\bench.ini";
        {
            std::ofstream file(list);
            file << ";Lodestay\nFileVersion\t0x0110\n";
            for (int i = 0; i < count; ++i) {
                file << "Executant::RingListClass\t{\n\tExecutionFileName\t" << testApp << "\n\tExecutionArguments\t"
                     << Arguments(i) << "\n\tExecutionPosition\t" << X(i) << "," << Y(i)
                     << "\n\tExecutionSize\t400,300\n}\n";
            }
        }
        const double start = Now();
        HANDLE launcher = Start("\"" + Beside("lodestay.exe") + "\" -e -p " + list);
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
            HANDLE p = Start("\"" + testApp + "\" " + Arguments(i));
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
            HANDLE cmd = Start("cmd /c start \"\" \"" + testApp + "\" " + Arguments(i));
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

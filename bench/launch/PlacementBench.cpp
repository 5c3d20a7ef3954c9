// From process creation to the window placed: launches the test application through the
// launch engine itself (Executant::TestLaunch, the same road as Launch, keeping the handle so
// that the program can be checked and ended), with a registered position and size, and
// splits the time with the program's own stamps. QueryPerformanceCounter is one clock for
// every process of the machine, so the program's stamps and the launcher's line up.
// Prints one tab-separated line per launch, in milliseconds:
//   case  total  to-main  main-to-ready  ready-to-placed  placed(1/0)  shown-to-placed
// total is creation to placed: from just before the launch (the engine only builds the
// command line before creating the process) until the window has its registered place.
// Usage: lodestay_placement_bench N RUNS FOLDER   (test application beside it)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "Executant.h"
#include "SystemFunctions.h"
#include "WinTestSupport.h"

namespace {

constexpr unsigned kTerminate = 4;

struct Case {
    const char* name;
    const char* options;  // of the test application
    const char* showMode;
};

// The usual program; one that comes up maximised (restored before it is placed); one that is
// slow to become ready; one whose window comes 300 ms after it became ready, so that the
// first look of the search misses it.
const Case kCases[] = {
    {"normal", "", "1"},
    {"maximised", "", "3"},
    {"busy-500ms", "--busy 500", "1"},
    {"window-300ms-late", "--window-delay 300", "1"},
};

// Where the window is, against where it was registered (restored place for a maximised one).
bool Placed(HANDLE process, int x, int y, int width, int height)
{
    HWND window = WindowOfProcess(::GetProcessId(process), true);
    if (window == nullptr) return false;
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    ::GetWindowPlacement(window, &placement);
    const RECT& r = placement.rcNormalPosition;
    if (::IsZoomed(window)) return true;  // Wine shows another process only the current frame
    return r.left == x && r.top == y && r.right - r.left == width && r.bottom - r.top == height;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: lodestay_placement_bench N RUNS FOLDER\n");
        return 2;
    }
    const int count = std::atoi(argv[1]);
    const int runs = std::atoi(argv[2]);
    const std::string folder = argv[3];
    BindSystemFunctions(kBindAll, 1);

    for (int run = 0; run < runs; ++run) {
        for (const Case& c : kCases) {
            std::vector<std::unique_ptr<Executant>> launched;
            for (int i = 0; i < count; ++i) {
                const std::string report = folder + "\\place" + std::to_string(i) + ".txt";
                ::DeleteFileA(report.c_str());
                const int x = 20 + 40 * i;
                const int y = 20 + 30 * i;
                std::unique_ptr<Executant> e = MakeExecutant(
                    {{"ExecutionFileName", TestAppPath()},
                     {"ExecutionArguments", "--report " + report + " --title Place" + std::to_string(i) + " " + c.options},
                     {"ExecutionPosition", std::to_string(x) + "," + std::to_string(y)},
                     {"ExecutionSize", "400,300"},
                     {"ExecutionShowMode", c.showMode}});
                const double start = Now();
                e->TestLaunch();
                // The window's own thread carries out the placement: a message round trip to
                // it returns once it has.
                if (e->ProcessHandle != nullptr) {
                    if (HWND window = WindowOfProcess(::GetProcessId(e->ProcessHandle), true)) {
                        ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, nullptr);
                    }
                }
                const double placed = Now();
                const bool ok = e->ProcessHandle != nullptr &&
                                Placed(static_cast<HANDLE>(e->ProcessHandle), x, y, 400, 300);

                // The program's stamps: entry of its main function, first turn of its message loop.
                Report r;
                for (int wait = 0; wait < 400; ++wait) {
                    r = ReadReport(report);
                    if (r.count("end") && r["ready"] != "0" && r["shown"] != "0") break;
                    ::Sleep(10);
                }
                const LONGLONG frequency = std::atoll(r["frequency"].c_str());
                const double entered = frequency > 0 ? Milliseconds(std::atoll(r["started"].c_str()), frequency) : 0;
                const double ready = frequency > 0 ? Milliseconds(std::atoll(r["ready"].c_str()), frequency) : 0;
                const double shown = frequency > 0 ? Milliseconds(std::atoll(r["shown"].c_str()), frequency) : 0;
                std::printf("%s\t%.1f\t%.1f\t%.1f\t%.1f\t%d\t%.1f\n", c.name, placed - start, entered - start,
                            ready - entered, placed - ready, ok ? 1 : 0, placed - shown);
                std::fflush(stdout);
                launched.push_back(std::move(e));
            }
            for (auto& e : launched) e->EndApplication(kTerminate);
        }
    }
    return 0;
}

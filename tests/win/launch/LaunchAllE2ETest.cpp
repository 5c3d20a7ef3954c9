// The unattended start end to end: lodestay.exe -e -p FILE over a list of test-application
// entries and one document opened through the shell, in the same desktop as this driver. It
// says nothing when every launch went well, and every window ends up where, in the state and
// with the priorities and folder its entry registered: whether the start-up block already
// did it or the program ignores the block (--fixed), when the window comes late, and when
// only a position or only a size is registered; also when the program puts its window back
// after it was placed or shows a start-up window first, and, moved onto the desktop, when
// the registered place lies outside it. A program that leaves its window where it is put is
// moved no more often than by the one placement. The programs' own reports tell. The launcher
// runs with DLLs dropped beside it, none of which may run inside it, and a program that brings
// its own DLL still gets that.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "WinTestSupport.h"

namespace {

TEST(LaunchAllEndToEnd, PlacesEveryEntryAndSaysNothingWhenAllSucceed)
{
    TempFolder folder;
    EndOnExit cleanup;
    TestFileType fileType;
    const struct {
        const char* name;
        const char* options;
        const char* position;
        const char* size;
        const char* show;
        const char* priority;
        const char* priorityClass;
        const char* threadPriority;
        const char* normal;  // empty: wholly on the desktop, as near to the registered place as it fits
        int moves;           // after it showed
    } cases[] = {
        {"normal", "", "20,20", "300,200", "1", "0x0011", "0x40", "-2", "20,20,300,200", 0},
        {"minimised", "", "340,20", "300,200", "2", "0x0025", "0x20", "2", "340,20,300,200", 2},
        {"maximised", "", "660,20", "300,200", "3", "0x0033", "0x80", "0", "660,20,300,200", 2},
        {"fixed-min", "--fixed 800,700,150,100", "20,260", "400,250", "2", "0x0004", "0x20", "1", "20,260,400,250", 3},
        {"fixed-position", "--fixed 800,700,150,100", "440,260", "", "1", "0x0032", "0x80", "-1", "440,260,150,100", 1},
        {"fixed-size", "--fixed 800,700,150,100", "", "333,222", "1", "0x0003", "0x20", "0", "800,700,333,222", 1},
        // Its window comes after it became ready, so the first look finds nothing.
        {"late", "--window-delay 300", "760,260", "300,200", "1", "0x0002", "0x20", "-1", "760,260,300,200", 0},
        // The shell route sets the priority class but no thread priority.
        {"shell", "", "20,560", "330,230", "1", "0x0013", "0x40", "0", "20,560,330,230", 2},
        // Programs that put their window back at their own place a while after it was placed
        // (placed, put back, placed again), one that shows a start-up window first (its main
        // window placed), and a place on no monitor.
        {"back-300", "--fixed 800,700,150,100 --move-back 300", "20,800", "240,150", "1", "", "0x20", "0",
         "20,800,240,150", 5},
        {"back-1500", "--fixed 800,700,150,100 --move-back 1500", "280,800", "240,150", "1", "", "0x20", "0",
         "280,800,240,150", 5},
        {"splash", "--fixed 800,700,150,100 --splash 400", "540,800", "240,150", "1", "", "0x20", "0",
         "540,800,240,150", 2},
        {"far", "", "3000,3000", "300,200", "1", "", "0x20", "0", "", 1},
        {"own", "--load own.dll", "440,560", "300,200", "1", "0x0000", "0x20", "0", "440,560,300,200", 0},
    };
    TempFolder plant("plant");
    const std::unique_ptr<AppDefaults> order = PlantDlls(plant);
    ASSERT_NE(nullptr, order);
    ASSERT_TRUE(::CopyFileA(TestAppPath().c_str(), folder.File("own.exe").c_str(), FALSE) &&
                ::CopyFileA(ProgramBeside("lodestay-standin.dll").c_str(), folder.File("own.dll").c_str(), FALSE));
    std::vector<EntrySettings> entries;
    for (const auto& c : cases) {
        const std::string report = folder.File(std::string(c.name) + ".txt");
        const std::string options = "--report " + report + " --title " + c.name + " " + c.options;
        EntrySettings entry = {{"ExecutionFileName", TestAppPath()}, {"ExecutionArguments", options},
                               {"ExecutionPath", folder.Path()},     {"ExecutionPosition", c.position},
                               {"ExecutionSize", c.size},            {"ExecutionShowMode", c.show},
                               {"ExecutionPriority", c.priority}};
        if (std::string(c.name) == "shell") {
            entry[1].second = folder.File(std::string("shell") + kTestExtension);
            std::ofstream(entry[1].second) << options << "\n";
            entry.push_back({"ExecutionShellExec", "1"});
        }
        if (std::string(c.name) == "own") entry[0].second = folder.File("own.exe");
        // Nothing runs the test application yet (leftovers of a failed test are ended below),
        // so the guard lets the first one through; the others would be its duplicates.
        if (entries.empty()) entry.push_back({"ExecutionInitialOnce", "1"});
        entries.push_back(entry);
    }
    const std::string list = folder.File("list.ini");
    ASSERT_TRUE(WriteSettingsFile(list, entries));
    EndTestPrograms();
    ProgramRun run = RunAnsweringBoxes(Quoted(plant.File("lodestay.exe")) + " -e -p " + Quoted(list), 120000,
                                       plant.Path().c_str());
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(0, run.Count()) << run.Text();
    EXPECT_EQ(std::vector<std::string>{}, Marks(plant));

    RECT work;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Refreshed now that the launcher has ended.
        const std::string report = folder.File(std::string(c.name) + ".txt");
        const DWORD pid = ReportedProcessId(WaitForReport(report));
        cleanup.Add(pid);
        ASSERT_TRUE(RequestReport(WindowOfProcess(pid)));
        Report r = ReadReport(report);
        EXPECT_EQ(folder.Path(), r["cwd"]);
        EXPECT_EQ(c.show, r["window.showcmd"]);
        EXPECT_EQ(c.priorityClass, r["priorityclass"]);
        EXPECT_EQ(c.threadPriority, r["threadpriority"]);
        const std::string offDesktop = std::to_string(work.right - 300) + "," + std::to_string(work.bottom - 200);
        EXPECT_EQ(Numbers(c.normal[0] != 0 ? c.normal : offDesktop + ",300,200"), Numbers(r["window.normal"]));
        EXPECT_EQ(std::to_string(c.moves), r["window.moves"]);
        // The start-up block had already maximised the window when it was placed: it must
        // still fill the work area, not sit maximised in a frame of the registered size.
        EXPECT_GE(Numbers(r["window.rect"])[2], c.show[0] == '3' ? work.right - work.left : 0);
    }
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(folder.File("own.dll.mark").c_str()));
}

// Run by two-monitors.sh, on a screen cut into (0,0)-(1280,1024) and (1280,0)-(2304,768): a
// place beyond the second monitor's right edge ends on that monitor, one on the first stays.
TEST(LaunchAllEndToEnd, PutsAPlaceOnNoMonitorOntoTheNearest)
{
    if (::GetSystemMetrics(SM_CMONITORS) != 2) {
        ASSERT_EQ(nullptr, std::getenv("LODESTAY_TWO_MONITORS")) << "two-monitors.sh made no second monitor";
        GTEST_SKIP() << "needs the two monitors of two-monitors.sh";
    }
    TempFolder folder;
    EndOnExit cleanup;
    const char* cases[][3] = {{"beyond", "2500,100", "2004,100,300,200"}, {"first", "100,100", "100,100,300,200"}};
    std::vector<EntrySettings> entries;
    for (const auto& c : cases) {
        entries.push_back({{"ExecutionFileName", TestAppPath()},
                           {"ExecutionArguments", "--report " + folder.File(std::string(c[0]) + ".txt")},
                           {"ExecutionPosition", c[1]},
                           {"ExecutionSize", "300,200"}});
    }
    const std::string list = folder.File("list.ini");
    ASSERT_TRUE(WriteSettingsFile(list, entries));
    EXPECT_TRUE(RunUnattended(list).ended);
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        const std::string report = folder.File(std::string(c[0]) + ".txt");
        const DWORD pid = ReportedProcessId(WaitForReport(report));
        cleanup.Add(pid);
        ASSERT_TRUE(RequestReport(WindowOfProcess(pid)));
        EXPECT_EQ(Numbers(c[2]), Numbers(ReadReport(report)["window.normal"]));
    }
}

}  // namespace

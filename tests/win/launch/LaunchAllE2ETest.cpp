// The unattended start end to end: lodestay.exe -e -p FILE over a list of test-application
// entries and one document opened through the shell, in the same desktop as this driver. It
// says nothing when every launch went well, and every window ends up where, in the state and
// with the priorities and folder its entry registered: whether the start-up block already
// did it or the program ignores the block (--fixed), when the window comes late, and when
// only a position or only a size is registered. The programs' own reports tell. The launcher
// runs with DLLs dropped beside it, none of which may run inside it, and a program that brings
// its own DLL still gets that.
#include <gtest/gtest.h>

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
        const char* normal;
    } cases[] = {
        {"normal", "", "20,20", "300,200", "1", "0x0011", "0x40", "-2", "20,20,300,200"},
        {"minimised", "", "340,20", "300,200", "2", "0x0025", "0x20", "2", "340,20,300,200"},
        {"maximised", "", "660,20", "300,200", "3", "0x0033", "0x80", "0", "660,20,300,200"},
        {"fixed-min", "--fixed 800,700,150,100", "20,260", "400,250", "2", "0x0004", "0x20", "1", "20,260,400,250"},
        {"fixed-position", "--fixed 800,700,150,100", "440,260", "", "1", "0x0032", "0x80", "-1", "440,260,150,100"},
        {"fixed-size", "--fixed 800,700,150,100", "", "333,222", "1", "0x0003", "0x20", "0", "800,700,333,222"},
        // Its window comes after it became ready, so the first look finds nothing.
        {"late", "--window-delay 300", "760,260", "300,200", "1", "0x0002", "0x20", "-1", "760,260,300,200"},
        // The shell route sets the priority class but no thread priority.
        {"shell", "", "20,560", "330,230", "1", "0x0013", "0x40", "0", "20,560,330,230"},
        {"own", "--load own.dll", "440,560", "300,200", "1", "0x0000", "0x20", "0", "440,560,300,200"},
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
        EXPECT_EQ(Numbers(c.normal), Numbers(r["window.normal"]));
        // The start-up block had already maximised the window when it was placed: it must
        // still fill the work area, not sit maximised in a frame of the registered size.
        EXPECT_GE(Numbers(r["window.rect"])[2], c.show[0] == '3' ? work.right - work.left : 0);
    }
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(folder.File("own.dll.mark").c_str()));
}

}  // namespace

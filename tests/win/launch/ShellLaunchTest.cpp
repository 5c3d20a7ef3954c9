// Launching through the shell: a document of a test file type opens the test application
// through its association; its window is found (by module path and newest creation time on
// the NT family, by snapshots on the Windows 95 family) and placed, while a copy the user
// already had open is left alone; a test launch keeps the window's thread, placed or not.
// Placement, priority and folder end to end are in LaunchAllE2ETest, failures, time-outs
// and missing windows with the launch faults.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "Executant.h"
#include "SystemFunctions.h"
#include "WinTestSupport.h"

namespace {

class ShellLaunch : public ::testing::Test {
protected:
    TestFileType fileType_;
    TempFolder folder_;

    std::string ReportOf(const std::string& name) { return folder_.File(name + ".report"); }

    // Opens a document whose first line holds the options of the program that opens it.
    std::unique_ptr<Executant> TestLaunched(const std::string& name, const std::string& options, bool placed)
    {
        const std::string document = folder_.File(name + kTestExtension);
        std::ofstream(document) << "--report " << ReportOf(name) << " " << options << "\n";
        auto e = MakeExecutant({{"ExecutionFileName", "shelled"},
                                {"ExecutionArguments", document},
                                {"ExecutionShellExec", "1"},
                                {"ExecutionPosition", placed ? "30,40" : ""},
                                {"ExecutionSize", placed ? "300,200" : ""}});
        EXPECT_EQ(0, e->TestLaunch());
        return e;
    }
};

// Two copies of one program: the user's own (higher in the Z order) and the one the shell
// starts. The older one is neither moved nor ended, also when the new window comes late. A
// test launch keeps the new window's thread, placed or not. When the shell's process ends
// without a window, the NT family's search takes the older copy but keeps no thread of it;
// the 95 family's search by the new child finds nothing.
TEST_F(ShellLaunch, NeverMovesOrEndsTheCopyAlreadyOpen)
{
    struct Case {
        const char* name;
        const char* options;  // of the copy the shell starts
        bool placed;
        bool handedOver;      // it ends without a window, as if it had handed the item on
    } cases[] = {{"unplaced", "", false, false}, {"late", "--window-delay 600", true, false},
                 {"handed-over", "--no-window --lifetime 300", true, true}};
    const std::vector<long> olderPlace = {600, 500, 200, 150}, registered = {30, 40, 300, 200};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string older = std::string("older-") + c.name;
        ChildProcess olderCopy = StartTestApp(TestAppPath(), ReportOf(older), "--topmost --fixed 600,500,200,150");
        auto e = TestLaunched(c.name, c.options, c.placed);
        const bool olderTaken = c.handedOver && GetOsFamily() == kOsNT;
        ASSERT_EQ(olderTaken || !c.handedOver, e->ProcessHandle != nullptr);
        if (!c.handedOver) {
            Report r = WaitForReport(ReportOf(c.name), "start");
            ASSERT_TRUE(RequestReport(WindowOfProcess(ReportedProcessId(r))));
            if (c.placed) {
                EXPECT_EQ(registered, Numbers(ReadReport(ReportOf(c.name))["window.normal"]));
            }
            EXPECT_EQ(r["tid"], std::to_string(e->ThreadId));
        }
        EXPECT_TRUE(!c.handedOver || e->ThreadId == 0);
        e->EndApplication(1 | 2 | 4);
        ASSERT_TRUE(olderCopy.Running());
        ASSERT_TRUE(RequestReport(WindowOfProcess(olderCopy.Id())));
        EXPECT_EQ(olderTaken ? registered : olderPlace, Numbers(ReadReport(ReportOf(older))["window.normal"]));
    }
}

}  // namespace

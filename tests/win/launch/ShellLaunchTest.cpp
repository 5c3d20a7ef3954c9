// Launching through the shell: a document of a test file type opens the test application
// through its association; its window is found (by module path and newest creation time on
// the NT family, by snapshots on the Windows 95 family) and placed.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "Executant.h"
#include "LaunchSettings.h"
#include "SystemFunctions.h"
#include "WindowSearch.h"
#include "WinTestSupport.h"

namespace {

class ShellLaunch : public ::testing::Test {
protected:
    TestFileType fileType_;
    TempFolder folder_;
    CapturedLog log_;
    EndOnExit cleanup_;

    // A document whose first line holds the options of the program that opens it.
    std::string Document(const std::string& name, const std::string& options)
    {
        const std::string path = folder_.File(name + kTestExtension);
        std::ofstream(path) << "--report " << ReportOf(name) << " " << options << "\n";
        return path;
    }
    std::string ReportOf(const std::string& name) { return folder_.File(name + ".report"); }

    std::unique_ptr<Executant> ShellExecutant(const std::string& document,
                                              std::vector<std::pair<const char*, std::string>> more = {})
    {
        more.insert(more.begin(), {{"ExecutionFileName", "shelled"},
                                   {"ExecutionArguments", document},
                                   {"ExecutionShellExec", "1"}});
        return MakeExecutant(more);
    }

    Report Placed(const std::string& name)
    {
        Report first = WaitForReport(ReportOf(name), "start");
        const DWORD pid = ReportedProcessId(first);
        cleanup_.Add(pid);
        HWND window = WindowOfProcess(pid);
        if (window != nullptr) RequestReport(window);
        return ReadReport(ReportOf(name));
    }
};

TEST_F(ShellLaunch, OpensTheDocumentAndPlacesItsWindow)
{
    const std::string doc = Document("placed", "--title Shelled");
    auto e = ShellExecutant(doc, {{"ExecutionPosition", "70,80"},
                                  {"ExecutionSize", "330,230"},
                                  {"ExecutionPriority", "0x0013"},
                                  {"ExecutionPath", folder_.Path()}});
    EXPECT_EQ(0, e->Launch(nullptr));
    EXPECT_EQ("ShellExecuteEx(" + doc + ") -> Success.\n", log_.Text());
    Report r = Placed("placed");
    EXPECT_EQ((std::vector<long>{70, 80, 330, 230}), Numbers(r["window.normal"]));
    EXPECT_EQ("1", r["window.showcmd"]);
    EXPECT_EQ("0x40", r["priorityclass"]);
    EXPECT_EQ("0", r["threadpriority"]);  // the shell route sets no thread priority
    EXPECT_EQ(folder_.Path(), r["cwd"]);
    EXPECT_EQ(GetOsFamily() == kOsNT ? kSearchByModulePath : kSearchByProcessId, WindowSearch().mode);
}

// Two copies of one program: the user's own (higher in the Z order) and the one the shell
// starts. The older one is neither moved nor ended, also when the new window comes late. When
// the shell's process ends without a window, the NT family's search takes the older copy but
// keeps no thread of it; the 95 family's search by the new child finds nothing.
TEST_F(ShellLaunch, NeverMovesOrEndsTheCopyAlreadyOpen)
{
    struct Case {
        const char* name;
        const char* options;  // of the copy the shell starts
        bool handedOver;      // it ends without a window, as if it had handed the item on
    } cases[] = {{"at-once", "", false}, {"late", "--window-delay 600", false},
                 {"handed-over", "--no-window --lifetime 300", true}};
    const std::vector<long> olderPlace = {600, 500, 200, 150}, registered = {30, 40, 300, 200};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string older = std::string("older-") + c.name;
        ChildProcess olderCopy = StartProgram(TestAppPath(), "--report " + ReportOf(older) + " --topmost --fixed 600,500,200,150");
        WaitForReport(ReportOf(older), "start");
        auto e = ShellExecutant(Document(c.name, c.options), {{"ExecutionPosition", "30,40"}, {"ExecutionSize", "300,200"}});
        EXPECT_EQ(0, e->TestLaunch());
        const bool olderTaken = c.handedOver && GetOsFamily() == kOsNT;
        ASSERT_EQ(olderTaken || !c.handedOver, e->ProcessHandle != nullptr);
        HANDLE newer = c.handedOver ? nullptr : ::OpenProcess(SYNCHRONIZE, FALSE, ::GetProcessId(e->ProcessHandle));
        if (newer != nullptr) {
            Report r = Placed(c.name);
            EXPECT_EQ(registered, Numbers(r["window.normal"]));
            EXPECT_EQ(r["tid"], std::to_string(e->ThreadId));
        }
        EXPECT_TRUE(!c.handedOver || e->ThreadId == 0);
        e->EndApplication(1 | 2 | 4);
        if (newer != nullptr) {
            EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(newer, 10000));
            ::CloseHandle(newer);
        }
        ASSERT_TRUE(olderCopy.Running());
        ASSERT_TRUE(RequestReport(WindowOfProcess(olderCopy.Id())));
        EXPECT_EQ(olderTaken ? registered : olderPlace, Numbers(ReadReport(ReportOf(older))["window.normal"]));
    }
}

TEST_F(ShellLaunch, TestLaunchKeepsTheWindowThreadEvenWithoutPlacement)
{
    const std::string doc = Document("kept", "");
    auto e = ShellExecutant(doc, {{"ExecutionInitialOnce", "1"}});
    EXPECT_EQ(0, e->TestLaunch());
    ASSERT_NE(nullptr, e->ProcessHandle);
    cleanup_.AddHandle(e->ProcessHandle);
    Report r = WaitForReport(ReportOf("kept"), "start");
    EXPECT_EQ(r["tid"], std::to_string(e->ThreadId));
    EXPECT_EQ(ReportedProcessId(r), ::GetProcessId(e->ProcessHandle));
}

TEST_F(ShellLaunch, LogsFailuresTimeOutsAndMissingWindows)
{
    {
        PauseRecorder pauses;
        const std::string doc = Document("hidden", "--hidden");
        auto e = ShellExecutant(doc, {{"ExecutionPosition", "10,10"}, {"ExecutionInputTO", "2000"}});
        EXPECT_EQ(0, e->TestLaunch());
        cleanup_.Add(ReportedProcessId(WaitForReport(ReportOf("hidden"))));
        EXPECT_EQ(nullptr, e->ProcessHandle);
        EXPECT_EQ(std::vector<unsigned>(2 * kSearchLooksPerPass, kSearchLookInterval), pauses.Pauses());
        EXPECT_EQ("ShellExecuteEx(" + doc + ") -> Success.\nToplevelWindow が獲得できませんでした.\n", log_.Text());
    }
    log_.Clear();
    const std::string slow = Document("slow", "--busy 3000");
    auto e = ShellExecutant(slow, {{"ExecutionPosition", "10,10"}, {"ExecutionInputTO", "1500"}});
    EXPECT_EQ(0, e->TestLaunch());
    EXPECT_EQ(nullptr, e->ProcessHandle);
    cleanup_.Add(ReportedProcessId(WaitForReport(ReportOf("slow"))));
    EXPECT_EQ("ShellExecuteEx(" + slow + ") -> (" + slow + ")は起動完了待ﾀｲﾑｱｳﾄ(1 s).\n", log_.Text());

    log_.Clear();
    const std::string missing = folder_.File("missing.lodestaytest");
    e = ShellExecutant(missing);
    EXPECT_EQ(0, e->Launch(nullptr));
    EXPECT_EQ("ShellExecuteEx(" + missing + ") -> Exec Faild.\n", log_.Text());
}

}  // namespace

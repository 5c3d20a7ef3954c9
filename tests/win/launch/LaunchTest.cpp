// Launching the test application with CreateProcessA: where its window ends up whatever
// the program does with its start-up block, a path with a blank, the kept handle of a test
// launch, and the log lines. Folder, priorities and arguments are shown end to end through
// lodestay.exe (LaunchAllE2ETest); time-outs and failed waits with the launch faults.
#include <gtest/gtest.h>

#include <string>

#include "Executant.h"
#include "LaunchMessages.h"
#include "StringClass.h"
#include "SystemFunctions.h"
#include "WinTestSupport.h"

namespace {

std::string Lower(std::string text)
{
    FoldAsciiLower(&text[0]);
    return text;
}

class LaunchTest : public ::testing::Test {
protected:
    TempFolder folder_;
    CapturedLog log_;
    EndOnExit cleanup_;

    std::string ReportPath(const char* name) { return folder_.File(name); }

    // Launches and then asks the program for a fresh report: the placement is done when
    // Launch returns, so the report shows its result.
    Report LaunchAndReport(Executant& executant, const std::string& reportPath, int* result = nullptr)
    {
        const int launched = executant.Launch(nullptr);
        if (result != nullptr) *result = launched;
        Report first = WaitForReport(reportPath);
        const DWORD pid = ReportedProcessId(first);
        cleanup_.Add(pid);
        HWND window = WindowOfProcess(pid);
        if (window != nullptr) RequestReport(window);
        return ReadReport(reportPath);
    }
};

// A program that ignores the start-up block is still placed: moved, sized, then shown; only
// a position or only a size changes only that.
TEST_F(LaunchTest, PlacesAWindowThatIgnoresTheStartupBlock)
{
    struct Case {
        const char* showMode;
        const char* position;
        const char* size;
        unsigned showCmd;
        std::vector<long> normal;
    } cases[] = {{"1", "30,40", "350,250", SW_SHOWNORMAL, {30, 40, 350, 250}},
                 {"2", "30,40", "350,250", SW_SHOWMINIMIZED, {30, 40, 350, 250}},
                 {"3", "30,40", "350,250", SW_SHOWMAXIMIZED, {30, 40, 350, 250}},
                 {"1", "10,20", "", SW_SHOWNORMAL, {10, 20, 150, 100}},
                 {"1", "", "333,222", SW_SHOWNORMAL, {700, 600, 333, 222}}};
    int n = 0;
    for (const Case& c : cases) {
        const std::string report = ReportPath(("fixed" + std::to_string(++n) + ".txt").c_str());
        auto e = MakeExecutant({{"ExecutionFileName", TestAppPath()},
                                {"ExecutionArguments", "--report " + report + " --fixed 700,600,150,100"},
                                {"ExecutionPosition", c.position},
                                {"ExecutionSize", c.size},
                                {"ExecutionShowMode", c.showMode}});
        Report r = LaunchAndReport(*e, report);
        SCOPED_TRACE(n);
        EXPECT_EQ(std::to_string(c.showCmd), r["window.showcmd"]);
        EXPECT_EQ(c.normal, Numbers(r["window.normal"]));
    }
}

TEST_F(LaunchTest, LogsTheLowerCaseCommandLineOnSuccessAndFailure)
{
    const std::string report = ReportPath("log.txt");
    std::string upper = TestAppPath();
    for (char& ch : upper) ch = static_cast<char>(::toupper(static_cast<unsigned char>(ch)));
    auto e = MakeExecutant({{"ExecutionFileName", upper},
                            {"ExecutionArguments", "--report " + report},
                            {"ExecutionDisableIME", "1"},
                            {"ExecutionInputTO", "0"}});
    EXPECT_EQ(0, e->Launch(nullptr));
    cleanup_.Add(ReportedProcessId(WaitForReport(report)));
    const std::string line = Lower(TestAppPath()) + " --report " + report;
    // The input-method switch is bound on the NT family only.
    const char* ime = Bound::ImmDisableIME != nullptr ? "IME Disable OK.\n" : "";
    EXPECT_EQ("CreatePrcess(" + line + ") Success.\n" + ime, log_.Text());

    log_.Clear();
    auto missing = MakeExecutant({{"ExecutionFileName", folder_.File("Missing.EXE")}});
    EXPECT_EQ(-1, missing->Launch(nullptr));
    EXPECT_EQ("CreateProcess(" + Lower(folder_.File("Missing.EXE")) + " ) Failed.\n", log_.Text());
}

// Unquoted, "...\dir with blank\app.exe" would start "...\dir.exe".
TEST_F(LaunchTest, StartsTheRightProgramFromAFolderWithABlank)
{
    const std::string blankFolder = folder_.File("dir with blank");
    ASSERT_TRUE(::CreateDirectoryA(blankFolder.c_str(), nullptr));
    const std::string program = blankFolder + "\\lodestay-testapp.exe";
    ASSERT_TRUE(::CopyFileA(TestAppPath().c_str(), program.c_str(), FALSE));
    ASSERT_TRUE(::CopyFileA(TestAppPath().c_str(), folder_.File("dir.exe").c_str(), FALSE));
    const std::string report = ReportPath("blank.txt");
    auto e = MakeExecutant({{"ExecutionFileName", program}, {"ExecutionArguments", "--report " + report}});
    EXPECT_EQ(0, e->Launch(nullptr));
    Report r = WaitForReport(report);
    cleanup_.Add(ReportedProcessId(r));
    EXPECT_EQ(Lower(program), Lower(r["module"]));
    EXPECT_EQ("\"" + Lower(program) + "\" --report " + report, r["commandline"]);
}

TEST_F(LaunchTest, TestLaunchKeepsHandleAndThreadAndIgnoresTheGuard)
{
    PauseRecorder pauses;
    const std::string report = ReportPath("keep.txt");
    auto e = MakeExecutant({{"ExecutionFileName", TestAppPath()},
                            {"ExecutionArguments", "--report " + report},
                            {"ExecutionSize", "300,200"},
                            {"ExecutionInitialOnce", "5"}});
    ChildProcess running = StartProgram(TestAppPath(), "--report " + ReportPath("other.txt"));
    ASSERT_TRUE(running.Running());

    EXPECT_EQ(0, e->TestLaunch());
    ASSERT_NE(nullptr, e->ProcessHandle);
    Report r = WaitForReport(report);
    cleanup_.AddHandle(e->ProcessHandle);
    EXPECT_EQ(ReportedProcessId(r), ::GetProcessId(e->ProcessHandle));
    EXPECT_EQ(r["tid"], std::to_string(e->ThreadId));
    EXPECT_EQ(0, e->KeepHandle);
    EXPECT_STREQ("1", e->SettingText(kKeyInitialOnce).Text());
    EXPECT_TRUE(pauses.Pauses().empty());  // found in the first pass

    // A plain launch afterwards forgets what the test launch kept.
    e->Settings.Find("ExecutionInitialOnce")->value.Assign("0");
    const std::string report2 = ReportPath("keep2.txt");
    e->Arguments.Assign(("--report " + report2).c_str());
    EXPECT_EQ(0, e->Launch(nullptr));
    cleanup_.Add(ReportedProcessId(WaitForReport(report2)));
    EXPECT_EQ(nullptr, e->ProcessHandle);
    EXPECT_EQ(0u, e->ThreadId);
}

TEST_F(LaunchTest, ZeroTimeOutNeitherWaitsNorSearches)
{
    PauseRecorder pauses;
    const std::string report = ReportPath("zero.txt");
    auto e = MakeExecutant({{"ExecutionFileName", TestAppPath()},
                            {"ExecutionArguments", "--report " + report + " --owned"},
                            {"ExecutionPosition", "10,10"},
                            {"ExecutionInputTO", "0"}});
    EXPECT_EQ(0, e->TestLaunch());
    ASSERT_NE(nullptr, e->ProcessHandle);
    cleanup_.AddHandle(e->ProcessHandle);
    EXPECT_TRUE(pauses.Pauses().empty());
    EXPECT_EQ(WaitForReport(report)["tid"], std::to_string(e->ThreadId));
}

// The helper program is not part of this system; without it the launch fails, and the log
// shows the command line it would have been given.
TEST_F(LaunchTest, HelperCommandLineCarriesTheWaitOptionAndTheItem)
{
    const std::string helper = ProgramBeside("Hopshell.exe");
    struct Case {
        const char* position;
        const char* timeout;
        const char* option;
    } cases[] = {
        {"10,20", "4000", "/WatchDog:4000"},
        {"10,20", "0", "/NOWAIT:0"},
        {"", "4000", "/NOWAIT:0"},
        {"10,20", "-1", "/NOWAIT:0"},
        {"10,20", "200000", "/WatchDog:99999"},
    };
    for (const Case& c : cases) {
        log_.Clear();
        auto e = MakeExecutant({{"ExecutionFileName", "not-passed.exe"},
                                {"ExecutionArguments", "C:\\docs\\letter.txt"},
                                {"ExecutionPosition", c.position},
                                {"ExecutionInputTO", c.timeout}});
        EXPECT_EQ(-1, e->LaunchViaHelper(nullptr));
        EXPECT_EQ("CreateProcess(" + helper + " " + c.option + " C:\\docs\\letter.txt) Failed.\n", log_.Text());
    }
}

}  // namespace

// Launching the test application with CreateProcessA: the command line the program receives
// and the log lines (a name with a blank quoted, the input-method line), and the window
// search that keeps looking until a late window is there. The helper-program route is not
// used by the program, so it has no test. Placement, priorities and folder are shown end to
// end through lodestay.exe (LaunchAllE2ETest); results, bounds and kept handles of launches
// that go wrong with the launch faults.
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "Executant.h"
#include "LaunchSettings.h"
#include "SystemFunctions.h"
#include "WinTestSupport.h"

namespace {

class LaunchTest : public ::testing::Test {
protected:
    TempFolder folder_;
    CapturedLog log_;
    EndOnExit cleanup_;
};

// Unquoted, "...\dir with blank\app.exe" would start "...\dir.exe" where there is one.
TEST_F(LaunchTest, QuotesAProgramInAFolderWithABlankAndLogsIt)
{
    const std::string blankFolder = folder_.File("Dir With Blank");
    ASSERT_TRUE(::CreateDirectoryA(blankFolder.c_str(), nullptr));
    const std::string program = blankFolder + "\\LODESTAY-TESTAPP.EXE";
    ASSERT_TRUE(::CopyFileA(TestAppPath().c_str(), program.c_str(), FALSE));
    const std::string report = folder_.File("blank.txt");
    auto e = MakeExecutant({{"ExecutionFileName", program},
                            {"ExecutionArguments", "--report " + report},
                            {"ExecutionDisableIME", "1"},
                            {"ExecutionInputTO", "0"}});
    EXPECT_EQ(0, e->Launch(nullptr));
    Report r = WaitForReport(report);
    cleanup_.Add(ReportedProcessId(r));
    // The name as the settings reader keeps it, lower-cased.
    const std::string line = "\"" + std::string(e->FileName.Text()) + "\" --report " + report;
    EXPECT_EQ(line, r["commandline"]);
    // The input-method switch is bound on the NT family only.
    // Only the NT family binds the input-method switch: this also shows which family bound it.
    const char* ime = GetOsFamily() == kOsNT ? "IME Disable OK.\n" : "";
    EXPECT_EQ("CreatePrcess(" + line + ") Success.\n" + ime, log_.Text());
}

// A window that appears only after the program became idle (1.5 s later) is found by a later
// look: the search keeps looking, a short pause at a time, until the window is there.
TEST_F(LaunchTest, FindsAWindowThatAppearsLate)
{
    PauseRecorder pauses(true);
    const std::string report = folder_.File("late.txt");
    const std::string options = " --window-delay 1500 --fixed 700,500,200,150";
    auto e = MakeExecutant({{"ExecutionFileName", TestAppPath()},
                            {"ExecutionArguments", "--report " + report + options},
                            {"ExecutionPosition", "20,30"},
                            {"ExecutionSize", "310,210"},
                            {"ExecutionInputTO", "6000"}});
    EXPECT_EQ(0, e->Launch(nullptr));
    // How many looks came before the window depends on the machine's speed; that the pauses
    // between them begin with the quick ones and are never longer than one interval (the last of
    // a pass may be cut to the pass's end), not a pass, does not.
    const std::vector<unsigned>& seen = pauses.Pauses();
    const std::vector<unsigned> quick(std::begin(kSearchQuickPauses), std::end(kSearchQuickPauses));
    ASSERT_LT(quick.size(), seen.size());
    EXPECT_LT(seen.size(), 6 * kSearchLooksPerPass);
    EXPECT_EQ(quick, std::vector<unsigned>(seen.begin(), seen.begin() + quick.size()));
    for (size_t i = quick.size(); i < seen.size(); ++i)
        EXPECT_TRUE(seen[i] > 0 && seen[i] <= kSearchLookInterval) << "pause " << i << ": " << seen[i];
    Report r = WaitForReport(report, "start");
    cleanup_.Add(ReportedProcessId(r));
    ASSERT_TRUE(RequestReport(WindowOfProcess(ReportedProcessId(r))));
    EXPECT_EQ((std::vector<long>{20, 30, 310, 210}), Numbers(ReadReport(report)["window.normal"]));
}

// The helper program is not part of this system; without it the launch fails, and the log
// shows the command line it would have been given.
}  // namespace

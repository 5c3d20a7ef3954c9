// The search for the new process's window: one pass per second of the time-out, each made of
// short pauses between looks; owned and hidden windows never count.
#include <gtest/gtest.h>

#include <vector>

#include "Executant.h"
#include "LaunchSettings.h"
#include "WindowSearch.h"
#include "WinTestSupport.h"

namespace {

// The pauses of a search that looked in vain through all its passes.
std::vector<unsigned> FruitlessPauses(size_t passes)
{
    return std::vector<unsigned>(passes * kSearchLooksPerPass, kSearchLookInterval);
}

class WindowSearchLaunch : public ::testing::Test {
protected:
    TempFolder folder_;
    EndOnExit cleanup_;
};

// Only an owned window, or only a hidden one: never matched, every pass runs, and the
// window stays where the program put it.
TEST_F(WindowSearchLaunch, OwnedOrHiddenWindowsAreNeverMatched)
{
    for (const char* mode : {"--owned", "--hidden"}) {
        PauseRecorder pauses;
        const std::string report = folder_.File(std::string(mode + 2) + ".txt");
        auto e = MakeExecutant({{"ExecutionFileName", TestAppPath()},
                                {"ExecutionArguments", "--report " + report + " " + mode + " --fixed 700,500,200,150"},
                                {"ExecutionPosition", "10,10"},
                                {"ExecutionSize", "300,300"},
                                {"ExecutionInputTO", "3000"}});
        EXPECT_EQ(0, e->Launch(nullptr));
        EXPECT_EQ(FruitlessPauses(3), pauses.Pauses()) << mode;
        Report r = WaitForReport(report, "start");
        cleanup_.Add(ReportedProcessId(r));
        EXPECT_EQ((std::vector<long>{700, 500, 200, 150}), Numbers(r["window.normal"])) << mode;
        EXPECT_EQ(std::string(mode) == "--hidden" ? "0" : "1", r["window.visible"]) << mode;
    }
}

// A window that appears only after the program became idle is found by a later look, in the
// second pass: the search keeps looking, a pause at a time, until the window is there.
TEST_F(WindowSearchLaunch, FindsAWindowThatAppearsLate)
{
    PauseRecorder pauses(true);
    const std::string report = folder_.File("late.txt");
    auto e = MakeExecutant({{"ExecutionFileName", TestAppPath()},
                            {"ExecutionArguments", "--report " + report + " --window-delay 1500 --fixed 700,500,200,150"},
                            {"ExecutionPosition", "20,30"},
                            {"ExecutionSize", "310,210"},
                            {"ExecutionInputTO", "6000"}});
    EXPECT_EQ(0, e->Launch(nullptr));
    const size_t looksWithoutWindow = pauses.Pauses().size();
    EXPECT_GT(looksWithoutWindow, kSearchLooksPerPass / 2);
    EXPECT_LT(looksWithoutWindow, 6 * kSearchLooksPerPass);
    Report r = WaitForReport(report, "start");
    cleanup_.Add(ReportedProcessId(r));
    ASSERT_TRUE(RequestReport(WindowOfProcess(ReportedProcessId(r))));
    EXPECT_EQ((std::vector<long>{20, 30, 310, 210}), Numbers(ReadReport(report)["window.normal"]));
}

}  // namespace

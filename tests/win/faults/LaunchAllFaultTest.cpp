// The unattended start under load, driven end to end through lodestay.exe -e -p FILE in the
// same desktop as this driver, and its summary when only duplicates or only failures are to
// be told. The one message box is compared byte for byte with the text the user must see.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Launcher.h"
#include "WinTestSupport.h"

namespace {

class UnattendedFaults : public ::testing::Test {
protected:
    TempFolder folder_;

    void TearDown() override { EndTestPrograms(); }

    std::string ReportPath(int i) { return folder_.File("report" + std::to_string(i) + ".txt"); }
};

TEST_F(UnattendedFaults, TwoHundredEntriesEndWithOneExactSummary)
{
    const std::string copy = folder_.File("dupe-e2e-fault.exe");
    ChildProcess running = StartTestAppCopy(copy);

    // Per ten entries: five programs that start (three not waited for, one waited for until it
    // ends, one console program), three that do not exist and two copies of a running program.
    // None has a position: the passes of a window search would wait for real here.
    enum Kind { kNoWait, kWaited, kConsole, kMissing, kDuplicate };
    const Kind cycle[10] = {kNoWait, kMissing, kDuplicate, kWaited, kNoWait,
                            kMissing, kConsole, kDuplicate, kNoWait, kMissing};
    std::vector<int> started;
    std::vector<EntrySettings> entries;
    for (int i = 0; i < 200; ++i) {
        const std::string report = "--report " + ReportPath(i) + " --exit";
        const EntrySettings kinds[] = {
            {{"ExecutionFileName", TestAppPath()}, {"ExecutionArguments", report}, {"ExecutionInputTO", "0"}},
            {{"ExecutionFileName", TestAppPath()}, {"ExecutionArguments", report}},
            {{"ExecutionFileName", ConsoleTestAppPath()}, {"ExecutionArguments", report}},
            {{"ExecutionFileName", folder_.File("missing" + std::to_string(i) + ".exe")}},
            {{"ExecutionFileName", copy}, {"ExecutionInitialOnce", "1"}},
        };
        entries.push_back(kinds[cycle[i % 10]]);
        if (cycle[i % 10] <= kConsole) started.push_back(i);
    }
    const std::string list = folder_.File("list.ini");
    ASSERT_TRUE(WriteSettingsFile(list, entries));

    // A safety net for a launcher that hangs, not a timing: the run takes a fraction of it.
    const ProgramRun run = RunUnattended(list, 240000);
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(1, run.Count());
    EXPECT_EQ("lodestay", run.Caption());
    EXPECT_EQ("起動エラー\r\n"
              "重複起動しようとしたｱﾌﾟﾘｹｰｼｮﾝが 40 件ありました.\r\n"
              "起動に失敗したｱﾌﾟﾘｹｰｼｮﾝが 60 件ありました.\r\n",
              run.Text());
    int reported = 0;
    for (int i : started) reported += WaitForReport(ReportPath(i)).count("end") != 0 ? 1 : 0;
    EXPECT_EQ(100, reported);
}

// A count of nought has no line of its own.
TEST(LaunchSummary, NamesOnlyWhatWentWrong)
{
    MessageBoxWatcher watcher;
    EndListLaunch(LaunchTally{2, 0});
    EndListLaunch(LaunchTally{0, 1});
    const std::vector<MessageBoxSeen>& boxes = watcher.Stop();
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ("起動エラー\r\n重複起動しようとしたｱﾌﾟﾘｹｰｼｮﾝが 2 件ありました.\r\n", boxes[0].text);
    EXPECT_EQ("起動エラー\r\n起動に失敗したｱﾌﾟﾘｹｰｼｮﾝが 1 件ありました.\r\n", boxes[1].text);
    EXPECT_STREQ("warning", boxes[1].icon);
}

}  // namespace

// The unattended start under load and with a settings file it cannot read, driven end to
// end through lodestay.exe -e -p FILE in the same desktop as this driver. The one message
// box is compared byte for byte with the text the user must see.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "FaultTestSupport.h"
#include "FileLock.h"
#include "LaunchTestSupport.h"

namespace {

const char kRunningCopy[] = "dupe-e2e-fault.exe";
// A safety net for a launcher that hangs, not a timing: the run takes a fraction of it.
constexpr DWORD kLauncherBoundMs = 240000;

class UnattendedFaults : public ::testing::Test {
protected:
    TempFolder folder_;

    void SetUp() override { EndTestPrograms(); }
    void TearDown() override
    {
        EndTestPrograms();
        EndPrograms({kRunningCopy});
    }

    std::string ReportPath(int i) { return folder_.File("report" + std::to_string(i) + ".txt"); }
};

TEST_F(UnattendedFaults, TwoHundredEntriesEndWithOneExactSummary)
{
    const std::string copy = folder_.File(kRunningCopy);
    ASSERT_TRUE(::CopyFileA(TestAppPath().c_str(), copy.c_str(), FALSE));
    ChildProcess running = StartProgram(copy, "", true);

    // Per ten entries: five programs that start (three not waited for, one waited for until it
    // ends, one console program), three that do not exist and two copies of a running program.
    // None has a position: the passes of a window search would wait for real here.
    enum Kind { kNoWait, kWaited, kConsole, kMissing, kDuplicate };
    const Kind cycle[10] = {kNoWait, kMissing, kDuplicate, kWaited, kNoWait,
                            kMissing, kConsole, kDuplicate, kNoWait, kMissing};
    const std::string list = folder_.File("list.ini");
    std::vector<int> started;
    {
        std::ofstream file(list);
        file << ";Lodestay\nFileVersion\t0x0110\n";
        for (int i = 0; i < 200; ++i) {
            file << "Executant::RingListClass\t{\n";
            const std::string report = "\tExecutionArguments\t--report " + ReportPath(i) + " --exit\n";
            switch (cycle[i % 10]) {
            case kNoWait:
                file << "\tExecutionFileName\t" << TestAppPath() << "\n" << report << "\tExecutionInputTO\t0\n";
                started.push_back(i);
                break;
            case kWaited:
                file << "\tExecutionFileName\t" << TestAppPath() << "\n" << report;
                started.push_back(i);
                break;
            case kConsole:
                file << "\tExecutionFileName\t" << ConsoleTestAppPath() << "\n" << report;
                started.push_back(i);
                break;
            case kMissing:
                file << "\tExecutionFileName\t" << folder_.File("missing" + std::to_string(i) + ".exe") << "\n";
                break;
            case kDuplicate:
                file << "\tExecutionFileName\t" << copy << "\n\tExecutionInitialOnce\t1\n";
                break;
            }
            file << "}\n";
        }
    }

    const LauncherRun run = RunUnattended(list, kLauncherBoundMs);
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(1, run.boxes);
    EXPECT_EQ("lodestay", run.caption);
    EXPECT_EQ("起動エラー\r\n"
              "重複起動しようとしたｱﾌﾟﾘｹｰｼｮﾝが 40 件ありました.\r\n"
              "起動に失敗したｱﾌﾟﾘｹｰｼｮﾝが 60 件ありました.\r\n",
              run.text);
    int reported = 0;
    for (int i : started) reported += WaitForReport(ReportPath(i)).count("end") != 0 ? 1 : 0;
    EXPECT_EQ(100, reported);
}

// The file is there but another program holds it open without sharing: the reader cannot
// open it, so the list reads as empty and the user is told that the file defines no
// applications, with its path. Nothing is started.
TEST_F(UnattendedFaults, ALockedSettingsFileReadsAsOneWithoutApplications)
{
    const std::string list = folder_.File("locked list.ini");
    {
        std::ofstream file(list);
        file << ";Lodestay\nFileVersion\t0x0110\nExecutant::RingListClass\t{\n\tExecutionFileName\t" << TestAppPath()
             << "\n\tExecutionArguments\t--report " << ReportPath(0) << "\n}\n";
    }
    FileLock lock(list);
    ASSERT_TRUE(lock.Held());
    const LauncherRun run = RunUnattended(list, kLauncherBoundMs);
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(1, run.boxes);
    EXPECT_EQ("ファイル[" + list + "]で定義されたｱﾌﾟﾘｹｰｼｮﾝがありません", run.text);
    EXPECT_TRUE(ReadReport(ReportPath(0)).empty());
}

}  // namespace

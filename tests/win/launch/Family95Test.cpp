// The Windows 95 family routes, run when Wine reports Windows 98 to this program (a ctest
// entry runs a copy of the test program so): the guard walks a snapshot of every process,
// and a shell-started program is recognised as the new child of this program.
#include <gtest/gtest.h>

#include <string>

#include "DuplicateGuard.h"
#include "Executant.h"
#include "SystemFunctions.h"
#include "WinTestSupport.h"

namespace {

class Family95 : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (GetOsFamily() != kOsWin95) GTEST_SKIP() << "runs when Windows 98 is reported";
    }
    TempFolder folder_;
};

TEST_F(Family95, BindsOnlyTheToolHelpFunctions)
{
    EXPECT_NE(nullptr, Bound::CreateToolhelp32Snapshot);
    EXPECT_EQ(nullptr, Bound::EnumProcessModules);
    EXPECT_EQ(nullptr, Bound::ImmDisableIME);
}

// Unlike the NT route, the snapshot sees programs without windows and this program itself.
TEST_F(Family95, GuardSeesWindowlessProcessesAndItself)
{
    ChildProcess quiet = StartTestAppCopy(folder_.File("quiet95.exe"), folder_.File("quiet95.txt"), "--no-window");
    ASSERT_TRUE(quiet.Running());
    EXPECT_FALSE(CheckModuleNotRunning(nullptr, "C:\\Else\\QUIET95.EXE"));
    char self[MAX_PATH];
    ::GetModuleFileNameA(nullptr, self, sizeof self);
    EXPECT_FALSE(CheckModuleNotRunning(nullptr, self));
    EXPECT_TRUE(CheckModuleNotRunning(nullptr, "not-running-95.exe"));
    // A desktop name means nothing here.
    EXPECT_FALSE(CheckModuleNotRunning("NoSuchDesktop", "quiet95.exe"));
}

TEST_F(Family95, GuardRefusesWithoutTheSnapshotFunction)
{
    auto saved = Bound::CreateToolhelp32Snapshot;
    Bound::CreateToolhelp32Snapshot = nullptr;
    const bool notRunning = CheckModuleNotRunning(nullptr, "not-running-95.exe");
    Bound::CreateToolhelp32Snapshot = saved;
    EXPECT_FALSE(notRunning);
}

TEST_F(Family95, ShellSearchNeedsBothSnapshots)
{
    Executant e;
    EXPECT_EQ(nullptr, e.FindMainWindow(::GetCurrentProcess(), 1000, nullptr, nullptr));
}

}  // namespace

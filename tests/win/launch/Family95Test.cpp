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
    char self[MAX_PATH];
    ::GetModuleFileNameA(nullptr, self, sizeof self);
    // Each check clears what the walk before it found; a name that is only a prefix of a
    // running one is another program.
    const struct {
        const char* desktop;   // means nothing here
        std::string module;
        bool running;
    } cases[] = {
        {nullptr, "C:\\Else\\QUIET95.EXE", true},
        {nullptr, self, true},
        {nullptr, "not-running-95.exe", false},
        {nullptr, "C:\\Else\\quiet95.ex", false},
        {"NoSuchDesktop", "quiet95.exe", true},
    };
    for (const auto& c : cases) EXPECT_EQ(!c.running, CheckModuleNotRunning(c.desktop, c.module.c_str())) << c.module;
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

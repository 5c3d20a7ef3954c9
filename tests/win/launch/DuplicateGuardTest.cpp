// The duplicate guard. The launches below name a program that does not exist: a refused
// launch returns 1, a launch the guard lets through fails to create the process (-1), so
// the result tells what the guard decided without starting anything.
#include <gtest/gtest.h>

#include <string>

#include "DuplicateGuard.h"
#include "Executant.h"
#include "SystemFunctions.h"
#include "WinTestSupport.h"

namespace {

class DuplicateGuard : public ::testing::Test {
protected:
    TempFolder folder_;
    CapturedLog log_;

    // A copy of the test application under a name no other test uses.
    ChildProcess RunCopy(const char* name, const char* options = "")
    {
        return StartTestAppCopy(folder_.File(name), folder_.File(std::string(name) + ".txt"), options);
    }

    int LaunchGuarded(const char* fileName, const char* once = "1", const char* desktop = nullptr)
    {
        auto e = MakeExecutant({{"ExecutionFileName", fileName}, {"ExecutionInitialOnce", once}});
        return e->Launch(desktop);
    }
};

TEST_F(DuplicateGuard, MatchesFileNameAndExtensionInAnyFolderAndCase)
{
    ChildProcess copy = RunCopy("GuardApp.exe");
    ASSERT_TRUE(copy.Running());
    EXPECT_EQ(1, LaunchGuarded("C:\\Nowhere\\GUARDAPP.EXE"));
    EXPECT_EQ("Module [c:\\nowhere\\guardapp.exe] Already Running in Desktop[(null)].\n", log_.Text());

    // Another extension or a longer name is another program.
    EXPECT_EQ(-1, LaunchGuarded("C:\\Nowhere\\guardapp.com"));
    EXPECT_EQ(-1, LaunchGuarded("C:\\Nowhere\\guardap.exe"));
    EXPECT_EQ(-1, LaunchGuarded("C:\\Nowhere\\guardapp.exe.old"));
}

TEST_F(DuplicateGuard, RunsOnlyWhenTheSettingIsOn)
{
    ChildProcess copy = RunCopy("onceapp.exe");
    for (const char* once : {"0", "", "abc"}) EXPECT_EQ(-1, LaunchGuarded("x:\\onceapp.exe", once)) << once;
    auto without = MakeExecutant({{"ExecutionFileName", "x:\\onceapp.exe"}});
    without->Settings.Find("ExecutionInitialOnce")->value.Assign("2");
    EXPECT_EQ(1, without->Launch(nullptr));
}

TEST_F(DuplicateGuard, ShellModeIsNotGuarded)
{
    ChildProcess copy = RunCopy("shellonce.exe");
    auto e = MakeExecutant({{"ExecutionFileName", "x:\\shellonce.exe"},
                            {"ExecutionArguments", folder_.File("no-such-document.nothing")},
                            {"ExecutionInitialOnce", "1"},
                            {"ExecutionShellExec", "1"}});
    EXPECT_EQ(0, e->Launch(nullptr));
    EXPECT_EQ(std::string::npos, log_.Text().find("Already Running"));
}

TEST_F(DuplicateGuard, LooksOnTheNamedDesktopOnly)
{
    if (GetOsFamily() != kOsNT) GTEST_SKIP() << "desktops are an NT matter";
    ChildProcess copy = RunCopy("deskapp.exe");
    char desktop[256] = {0};
    DWORD needed = 0;
    ASSERT_TRUE(::GetUserObjectInformationA(::GetThreadDesktop(::GetCurrentThreadId()), UOI_NAME, desktop,
                                            sizeof desktop, &needed));
    EXPECT_EQ(1, LaunchGuarded("deskapp.exe", "1", desktop));
    EXPECT_EQ("Module [deskapp.exe] Already Running in Desktop[" + std::string(desktop) + "].\n", log_.Text());
    EXPECT_TRUE(CheckModuleNotRunning("NoSuchDesktop", "deskapp.exe"));
}

// The NT family sees only programs with a window and never itself; the 95 family's snapshot
// sees every process, this one too, whatever desktop is named.
TEST_F(DuplicateGuard, OnlyThe95FamilySeesWindowlessProcessesAndItself)
{
    ChildProcess windowless = RunCopy("quietapp.exe", "--no-window");
    ASSERT_TRUE(windowless.Running());
    char self[MAX_PATH];
    ::GetModuleFileNameA(nullptr, self, sizeof self);
    // With a window of its own, so that the NT route has to pass itself over.
    HWND own = ::CreateWindowExA(0, "STATIC", "self", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    const bool seen = GetOsFamily() == kOsWin95;
    EXPECT_EQ(!seen, CheckModuleNotRunning("NoSuchDesktop", "C:\\Else\\QUIETAPP.EXE"));
    EXPECT_EQ(!seen, CheckModuleNotRunning(nullptr, self));
    EXPECT_TRUE(CheckModuleNotRunning(nullptr, "quietapp.ex"));
    ::DestroyWindow(own);
}

TEST_F(DuplicateGuard, RefusesWithoutTheFamilysProcessFunctions)
{
    auto modules = Bound::EnumProcessModules;
    auto snapshot = Bound::CreateToolhelp32Snapshot;
    Bound::EnumProcessModules = nullptr;
    Bound::CreateToolhelp32Snapshot = nullptr;
    const bool notRunning = CheckModuleNotRunning(nullptr, "nothing-runs-this.exe");
    Bound::EnumProcessModules = modules;
    Bound::CreateToolhelp32Snapshot = snapshot;
    EXPECT_FALSE(notRunning);
    // Without both snapshots the 95 family's shell search has no new child to look for.
    if (GetOsFamily() == kOsWin95) {
        EXPECT_EQ(nullptr, Executant().FindMainWindow(::GetCurrentProcess(), 1000, nullptr, nullptr));
    }
}

}  // namespace

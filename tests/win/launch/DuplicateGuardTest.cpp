// The duplicate guard. The launches below name a program that does not exist: a refused
// launch returns 1, a launch the guard lets through fails to create the process (-1), so
// the result tells what the guard decided without starting anything.
#include <gtest/gtest.h>

#include <string>

#include "DuplicateGuard.h"
#include "Executant.h"
#include "ModuleName.h"
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

TEST_F(DuplicateGuard, NtSeesOnlyProcessesWithAWindowAndNotItself)
{
    if (GetOsFamily() != kOsNT) GTEST_SKIP() << "NT family only";
    ChildProcess windowless = RunCopy("quietapp.exe", "--no-window");
    ASSERT_TRUE(windowless.Running());
    EXPECT_TRUE(CheckModuleNotRunning(nullptr, "quietapp.exe"));
    char self[MAX_PATH];
    ::GetModuleFileNameA(nullptr, self, sizeof self);
    EXPECT_TRUE(CheckModuleNotRunning(nullptr, self));
}

TEST_F(DuplicateGuard, NtRefusesWhenTheProcessFunctionsAreMissing)
{
    if (GetOsFamily() != kOsNT) GTEST_SKIP() << "NT family only";
    auto saved = Bound::EnumProcessModules;
    Bound::EnumProcessModules = nullptr;
    const bool notRunning = CheckModuleNotRunning(nullptr, "nothing-runs-this.exe");
    Bound::EnumProcessModules = saved;
    EXPECT_FALSE(notRunning);
}

// The snapshot walk itself, with the tool-help functions bound by the test where the
// family would not bind them.
TEST_F(DuplicateGuard, SnapshotWalkFindsEveryProcessIncludingThisOne)
{
    auto first = Bound::Process32First;
    auto next = Bound::Process32Next;
    Bound::Process32First = ::Process32First;
    Bound::Process32Next = ::Process32Next;
    ChildProcess windowless = RunCopy("snapapp.exe", "--no-window");
    char self[MAX_PATH];
    ::GetModuleFileNameA(nullptr, self, sizeof self);
    struct Case {
        std::string module;
        bool found;
    } cases[] = {{"snapapp.exe", true}, {ModuleNameOf(self), true}, {"snapapp.ex", false}, {"", false}};
    for (const Case& c : cases) {
        HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        ASSERT_NE(INVALID_HANDLE_VALUE, snapshot);
        // Every check starts by clearing the process-wide flag that the walk sets.
        CheckModuleNotRunning("NoSuchDesktop", "clears-the-flag.exe");
        EXPECT_EQ(c.found, FindModuleInSnapshot(snapshot, c.module.c_str())) << c.module;
        ::CloseHandle(snapshot);
    }
    Bound::Process32First = first;
    Bound::Process32Next = next;
}

}  // namespace

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
};

// File name and extension must match, in any folder and case, and the setting be other than
// 0; a launch through the shell is never guarded.
TEST_F(DuplicateGuard, MatchesFileNameAndExtensionWhenTheSettingIsOn)
{
    // A copy of the test application under a name no other test uses.
    ChildProcess copy = StartTestAppCopy(folder_.File("GuardApp.exe"), folder_.File("GuardApp.txt"));
    ASSERT_TRUE(copy.Running());
    const struct {
        const char* fileName;
        const char* once;
        const char* shell;
        int result;
    } cases[] = {
        {"C:\\Nowhere\\GUARDAPP.EXE", "1", "0", 1}, {"x:\\guardapp.exe", "2", "0", 1},
        {"x:\\guardapp.com", "1", "0", -1},          {"x:\\guardap.exe", "1", "0", -1},
        {"x:\\guardapp.exe.old", "1", "0", -1},      {"x:\\guardapp.exe", "0", "0", -1},
        {"x:\\guardapp.exe", "1", "1", 0},  // the shell finds no document to open
    };
    for (const auto& c : cases) {
        auto e = MakeExecutant({{"ExecutionFileName", c.fileName},
                                {"ExecutionArguments", folder_.File("no-such-document.nothing")},
                                {"ExecutionShellExec", c.shell}});
        e->SetSetting(kKeyInitialOnce, c.once);
        EXPECT_EQ(c.result, e->Launch(nullptr)) << c.fileName << " " << c.once << " " << c.shell;
    }
    EXPECT_EQ(0u, log_.Text().find("Module [c:\\nowhere\\guardapp.exe] Already Running in Desktop[(null)].\n"));
}

// The NT family sees only programs with a window, on the desktop named, and never itself; the
// 95 family's snapshot sees every process, this one too, whatever desktop is named. Without
// the family's process functions nothing can be checked, and the launch is refused.
TEST_F(DuplicateGuard, EachFamilySeesWhatItsRouteShowsAndRefusesWithoutIt)
{
    ChildProcess windowed = StartTestAppCopy(folder_.File("deskapp.exe"), folder_.File("deskapp.txt"));
    ChildProcess windowless =
        StartTestAppCopy(folder_.File("quietapp.exe"), folder_.File("quietapp.txt"), "--no-window");
    ASSERT_TRUE(windowed.Running() && windowless.Running());
    char self[MAX_PATH];
    ::GetModuleFileNameA(nullptr, self, sizeof self);
    // With a window of its own, so that the NT route has to pass itself over.
    HWND own = ::CreateWindowExA(0, "STATIC", "self", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    const bool nt = GetOsFamily() == kOsNT;
    EXPECT_EQ(nt, CheckModuleNotRunning("NoSuchDesktop", "deskapp.exe"));
    EXPECT_EQ(nt, CheckModuleNotRunning(nullptr, "C:\\Else\\QUIETAPP.EXE"));
    EXPECT_EQ(nt, CheckModuleNotRunning(nullptr, self));
    EXPECT_TRUE(CheckModuleNotRunning(nullptr, "quietapp.ex"));
    ::DestroyWindow(own);

    auto modules = Bound::EnumProcessModules;
    auto snapshot = Bound::CreateToolhelp32Snapshot;
    Bound::EnumProcessModules = nullptr;
    Bound::CreateToolhelp32Snapshot = nullptr;
    EXPECT_FALSE(CheckModuleNotRunning(nullptr, "quietapp.ex"));
    Bound::EnumProcessModules = modules;
    Bound::CreateToolhelp32Snapshot = snapshot;
    // Without both snapshots the 95 family's shell search has no new child to look for.
    if (GetOsFamily() == kOsWin95) {
        EXPECT_EQ(nullptr, Executant().FindMainWindow(::GetCurrentProcess(), 1000, nullptr, nullptr));
    }
}

}  // namespace

// The Windows family probe and the functions bound for it: in this process for the NT
// route Wine reports by default, and in child processes that Wine tells another version.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SystemFunctions.h"
#include "WinTestSupport.h"

namespace {

const std::string kProbeChild = ProgramBeside("app_probe_child.exe");

// The child's exit code: (family + 1) * 16, plus 1 PSAPI bound, 2 ImmDisableIME bound,
// 4 tool-help bound, 8 the family's route found the child itself.
long ProbeAs(const char* version)
{
    TempFolder temp;
    // A name of its own, so that no other program's reported version changes.
    const std::string name = std::string("probe-") + version + ".exe";
    const std::string program = temp.File(name);
    if (!::CopyFileA(kProbeChild.c_str(), program.c_str(), FALSE)) return -1;
    ReportedVersion reported(name, version);
    return RunProgram("\"" + program + "\" family");
}

TEST(SystemFunctions, EachFamilyBindsItsOwnRoute)
{
    EXPECT_EQ((kOsNT + 1) * 16 + 1 + 2 + 8, ProbeAs("win2k"));
    EXPECT_EQ((kOsNT + 1) * 16 + 1 + 2 + 8, ProbeAs("win7"));
    // The 95 family gets the tool-help functions only, though Wine has PSAPI and IMM32.
    EXPECT_EQ((kOsWin95 + 1) * 16 + 4 + 8, ProbeAs("win98"));
    EXPECT_EQ((kOsWin95 + 1) * 16 + 4 + 8, ProbeAs("win95"));
    EXPECT_EQ((kOsOther + 1) * 16, ProbeAs("win31"));
}

std::vector<void*> Current()
{
    return {reinterpret_cast<void*>(Bound::EnumProcesses),       reinterpret_cast<void*>(Bound::EnumProcessModules),
            reinterpret_cast<void*>(Bound::GetModuleFileNameExA), reinterpret_cast<void*>(Bound::GetModuleBaseNameA),
            reinterpret_cast<void*>(Bound::ImmDisableIME),        reinterpret_cast<void*>(Bound::CreateToolhelp32Snapshot),
            reinterpret_cast<void*>(Bound::Process32First),       reinterpret_cast<void*>(Bound::Process32Next)};
}

TEST(SystemFunctions, GroupsBindAndReleaseSeparately)
{
    // This program is not told another version: Wine reports the NT family by default.
    ASSERT_EQ(kOsNT, GetOsFamily());
    const std::vector<void*> none(8, nullptr);
    BindSystemFunctions(kBindAll, 0);
    EXPECT_EQ(none, Current());
    BindSystemFunctions(kBindAll, 1);
    const std::vector<void*> bound = Current();
    BindSystemFunctions(kBindAll, 1);
    EXPECT_EQ(bound, Current()) << "a second bind changes nothing";
    BindSystemFunctions(kBindInputMethod, 0);
    EXPECT_EQ(nullptr, Bound::ImmDisableIME);
    EXPECT_EQ(bound[1], reinterpret_cast<void*>(Bound::EnumProcessModules));
    BindSystemFunctions(kBindProcess, 0);
    EXPECT_EQ(none, Current());
    BindSystemFunctions(kBindInputMethod, 1);
    EXPECT_EQ(bound[4], reinterpret_cast<void*>(Bound::ImmDisableIME));
    EXPECT_EQ(nullptr, Bound::EnumProcessModules);
    BindSystemFunctions(kBindAll, 1);
}

}  // namespace

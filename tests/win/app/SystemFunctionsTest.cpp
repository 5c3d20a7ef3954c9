// The Windows family probe and the functions bound for it: in this process for the NT
// route Wine reports by default, and in child processes that Wine tells another version.
#include <gtest/gtest.h>

#include <string>

#include "SystemFunctions.h"
#include "WinTestSupport.h"

namespace {

const std::string kProbeChild = WindowsPath(PROBE_CHILD_EXE);

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

struct BoundSet {
    void* enumProcesses;
    void* enumProcessModules;
    void* getModuleFileNameEx;
    void* getModuleBaseName;
    void* immDisableIme;
    void* snapshot;
    void* first;
    void* next;
    bool operator==(const BoundSet& o) const
    {
        return enumProcesses == o.enumProcesses && enumProcessModules == o.enumProcessModules &&
               getModuleFileNameEx == o.getModuleFileNameEx && getModuleBaseName == o.getModuleBaseName &&
               immDisableIme == o.immDisableIme && snapshot == o.snapshot && first == o.first && next == o.next;
    }
};

BoundSet Current()
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
    const BoundSet none = {};

    BindSystemFunctions(kBindAll, 0);
    EXPECT_EQ(none, Current());

    BindSystemFunctions(kBindInputMethod, 1);
    EXPECT_NE(nullptr, Bound::ImmDisableIME);
    EXPECT_EQ(nullptr, Bound::EnumProcessModules);

    BindSystemFunctions(kBindAll, 1);
    const BoundSet bound = Current();
    EXPECT_NE(nullptr, bound.enumProcesses);
    EXPECT_NE(nullptr, bound.enumProcessModules);
    EXPECT_NE(nullptr, bound.getModuleFileNameEx);
    EXPECT_NE(nullptr, bound.getModuleBaseName);
    EXPECT_EQ(nullptr, bound.snapshot) << "the NT family uses PSAPI, not the tool-help functions";

    BindSystemFunctions(kBindAll, 1);
    EXPECT_EQ(bound, Current()) << "a second bind changes nothing";

    BindSystemFunctions(kBindInputMethod, 0);
    EXPECT_EQ(nullptr, Bound::ImmDisableIME);
    EXPECT_EQ(bound.enumProcessModules, reinterpret_cast<void*>(Bound::EnumProcessModules));

    BindSystemFunctions(kBindProcess, 0);
    EXPECT_EQ(none, Current());

    BindSystemFunctions(kBindAll, 1);
    EXPECT_NE(nullptr, Bound::EnumProcessModules);
    EXPECT_NE(nullptr, Bound::ImmDisableIME);
}

TEST(SystemFunctions, BoundProcessFunctionsWork)
{
    BindSystemFunctions(kBindAll, 1);
    ASSERT_NE(nullptr, Bound::EnumProcessModules);
    HMODULE first = nullptr;
    DWORD needed = 0;
    ASSERT_TRUE(Bound::EnumProcessModules(::GetCurrentProcess(), &first, sizeof(first), &needed));
    char bound[MAX_PATH] = "";
    char own[MAX_PATH] = "";
    ASSERT_NE(0u, Bound::GetModuleFileNameExA(::GetCurrentProcess(), first, bound, sizeof(bound)));
    ::GetModuleFileNameA(nullptr, own, sizeof(own));
    EXPECT_STRCASEEQ(own, bound);
}

}  // namespace

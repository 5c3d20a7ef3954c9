// How settings become process-creation arguments: the command line (with the quoting that
// keeps "c:\program files\..." from starting c:\program.exe), the bounded time-out and its
// number of search passes, and the creation flags. What the started program receives is
// checked by the launch tests from its own report.
#include <gtest/gtest.h>

#include <climits>

#include "LaunchSettings.h"
#include "WinTestSupport.h"

namespace {

TEST(CommandLine, QuotesNamesWithBlanksAndKeepsTheSingleBlank)
{
    const struct {
        const char* program;
        const char* arguments;
        const char* expected;
    } cases[] = {
        {"c:\\tools\\app.exe", "", "c:\\tools\\app.exe "},
        {"c:\\program files\\app\\app.exe", "a b", "\"c:\\program files\\app\\app.exe\" a b"},
        {"c:\\tab\there\\app.exe", "", "\"c:\\tab\there\\app.exe\" "},
        {"\"c:\\program files\\app.exe\"", "-q", "\"c:\\program files\\app.exe\" -q"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.expected, BuildCommandLine(c.program, c.arguments)) << c.program;
}

TEST(InputTimeout, IsBoundedAndGivesOnePassPerWholeSecond)
{
    const struct {
        int timeout;
        unsigned bounded;
        unsigned passes;
    } cases[] = {
        {0, 0, 1},       {999, 999, 1},         {1000, 1000, 1},      {5999, 5999, 5},
        {99999, 99999, 99}, {100000, 99999, 99}, {-1, 99999, 99},     {INT_MIN, 99999, 99},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.bounded, BoundedInputTimeout(c.timeout)) << c.timeout;
        EXPECT_EQ(c.passes, SearchPasses(BoundedInputTimeout(c.timeout))) << c.timeout;
    }
}

// The launch starts suspended, so that the priorities are set before the program runs; the
// helper, which takes no priorities later, gets the class here or never.
TEST(CreationFlags, CarryThePriorityClassOnlyWithAPriority)
{
    const struct {
        const char* priority;
        DWORD priorityClass;
    } cases[] = {{"", 0}, {"0x0013", IDLE_PRIORITY_CLASS}, {"0x0033", HIGH_PRIORITY_CLASS}, {"0x0003", 0}};
    for (const auto& c : cases) {
        auto e = MakeExecutant({{"ExecutionFileName", "a.exe"}, {"ExecutionPriority", c.priority}});
        EXPECT_EQ(0x04000A14u | c.priorityClass, CreationFlagsFor(*e, kLaunchFlags)) << c.priority;
        EXPECT_EQ(0x34000810u | c.priorityClass, CreationFlagsFor(*e, kHelperFlags)) << c.priority;
    }
}

}  // namespace

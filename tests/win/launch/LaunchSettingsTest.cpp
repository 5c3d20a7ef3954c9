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
    struct Case {
        const char* program;
        const char* arguments;
        const char* expected;
    } cases[] = {
        {"c:\\tools\\app.exe", "", "c:\\tools\\app.exe "},
        {"c:\\tools\\app.exe", "-x file.txt", "c:\\tools\\app.exe -x file.txt"},
        {"c:\\program files\\app\\app.exe", "", "\"c:\\program files\\app\\app.exe\" "},
        {"c:\\program files\\app\\app.exe", "a b", "\"c:\\program files\\app\\app.exe\" a b"},
        {"c:\\tab\there\\app.exe", "", "\"c:\\tab\there\\app.exe\" "},
        {"\"c:\\program files\\app.exe\"", "-q", "\"c:\\program files\\app.exe\" -q"},
        {"", "", " "},
    };
    for (const Case& c : cases) EXPECT_EQ(c.expected, BuildCommandLine(c.program, c.arguments)) << c.program;
}

TEST(InputTimeout, IsBoundedAndGivesOnePassPerWholeSecond)
{
    struct Case {
        int timeout;
        unsigned bounded;
        unsigned passes;
    } cases[] = {
        {0, 0, 1},          {500, 500, 1},       {999, 999, 1},        {1000, 1000, 1},
        {5000, 5000, 5},    {5999, 5999, 5},     {99999, 99999, 99},   {100000, 99999, 99},
        {-1, 99999, 99},    {-5000, 99999, 99},  {INT_MIN, 99999, 99},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.bounded, BoundedInputTimeout(c.timeout)) << c.timeout;
        EXPECT_EQ(c.passes, SearchPasses(BoundedInputTimeout(c.timeout))) << c.timeout;
    }
    // Seen as unsigned (the shell search gets it so), 0xFFFFFFFF is bounded the same way.
    EXPECT_EQ(99u, SearchPasses(0xFFFFFFFFu));
}

TEST(CreationFlags, CarryThePriorityClassOnlyWithAPriority)
{
    auto plain = MakeExecutant({{"ExecutionFileName", "a.exe"}});
    EXPECT_EQ(0x04000A14u, CreationFlagsFor(*plain, kLaunchFlags));
    EXPECT_EQ(0x34000810u, CreationFlagsFor(*plain, kHelperFlags));
    const struct {
        const char* priority;
        DWORD launch;
        DWORD helper;
    } cases[] = {
        {"0x0013", 0x04000A54, 0x34000850},
        {"0x0023", 0x04000A34, 0x34000830},
        {"0x0033", 0x04000A94, 0x34000890},
        {"0x0003", 0x04000A14, 0x34000810},
    };
    for (const auto& c : cases) {
        auto e = MakeExecutant({{"ExecutionFileName", "a.exe"}, {"ExecutionPriority", c.priority}});
        EXPECT_EQ(c.launch, CreationFlagsFor(*e, kLaunchFlags)) << c.priority;
        EXPECT_EQ(c.helper, CreationFlagsFor(*e, kHelperFlags)) << c.priority;
    }
}

}  // namespace

// How settings become process-creation arguments: the command line (with the quoting that
// keeps "c:\program files\..." from starting c:\program.exe), the bounded time-out and its
// number of search passes, priorities, creation flags and the start-up block.
#include <gtest/gtest.h>

#include <climits>

#include "LaunchSettings.h"
#include "LaunchTestSupport.h"

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

TEST(Priority, ClassAndThreadCodes)
{
    struct Case {
        unsigned code;
        DWORD priorityClass;
        bool threadSet;
        int threadPriority;
    } cases[] = {
        {0x00, 0, false, 0},
        {0x13, IDLE_PRIORITY_CLASS, false, 0},
        {0x21, NORMAL_PRIORITY_CLASS, true, THREAD_PRIORITY_LOWEST},
        {0x32, HIGH_PRIORITY_CLASS, true, THREAD_PRIORITY_BELOW_NORMAL},
        {0x04, 0, true, THREAD_PRIORITY_ABOVE_NORMAL},
        {0x45, 0, true, THREAD_PRIORITY_HIGHEST},
        {0x16, IDLE_PRIORITY_CLASS, false, 0},
        {0x1F0, 0, false, 0},  // class code 15, thread code 0
        {0x120, NORMAL_PRIORITY_CLASS, false, 0},  // bits above 7 are ignored
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.priorityClass, PriorityClassOf(c.code)) << std::hex << c.code;
        int threadPriority = 0;
        EXPECT_EQ(c.threadSet, ThreadPriorityOf(c.code, &threadPriority)) << std::hex << c.code;
        if (c.threadSet) {
            EXPECT_EQ(c.threadPriority, threadPriority) << std::hex << c.code;
        }
    }
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

TEST(StartupBlock, CarriesWhatIsRegistered)
{
    auto full = MakeExecutant({{"ExecutionFileName", "a.exe"},
                               {"ExecutionPosition", "100,-20"},
                               {"ExecutionSize", "300,200"},
                               {"ExecutionShowMode", "3"}});
    STARTUPINFOA s = StartupBlockFor(*full, "Kiosk");
    EXPECT_EQ(sizeof(STARTUPINFOA), s.cb);
    EXPECT_STREQ("Kiosk", s.lpDesktop);
    EXPECT_EQ(static_cast<DWORD>(STARTF_USEPOSITION | STARTF_USESIZE | STARTF_USESHOWWINDOW), s.dwFlags);
    EXPECT_EQ(100, static_cast<int>(s.dwX));
    EXPECT_EQ(-20, static_cast<int>(s.dwY));
    EXPECT_EQ(300u, s.dwXSize);
    EXPECT_EQ(200u, s.dwYSize);
    EXPECT_EQ(SW_SHOWMAXIMIZED, s.wShowWindow);

    // Show modes other than 2 and 3 are normal; an unset pair adds no flag.
    for (const char* mode : {"", "0", "1", "7", "abc"}) {
        auto e = MakeExecutant({{"ExecutionFileName", "a.exe"},
                                {"ExecutionPosition", "-2147483648,100"},
                                {"ExecutionShowMode", mode}});
        STARTUPINFOA b = StartupBlockFor(*e, nullptr);
        EXPECT_EQ(static_cast<DWORD>(STARTF_USESHOWWINDOW), b.dwFlags) << mode;
        EXPECT_EQ(SW_SHOWNORMAL, b.wShowWindow) << mode;
        EXPECT_EQ(nullptr, b.lpDesktop);
    }
    auto minimised = MakeExecutant({{"ExecutionFileName", "a.exe"}, {"ExecutionShowMode", "2"}});
    EXPECT_EQ(SW_SHOWMINIMIZED, StartupBlockFor(*minimised, nullptr).wShowWindow);
}

}  // namespace

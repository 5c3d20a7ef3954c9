// The record's conversions from settings text to the typed fields the launcher uses, and the
// process handle it owns.
#include <gtest/gtest.h>

#include "Executant.h"
#include "FakePlatform.h"

TEST(ExecutantRecord, SettingsConvertToFields)
{
    const struct {
        const char* keyword;
        const char* text;
        const char* fields;
    } cases[] = {
        {"ExecutionPosition", "100,-20", "show 1 at 100,-20 wait 5000"},
        {"ExecutionPosition", "100", "show 1 wait 5000"},
        {"ExecutionPosition", "-2147483648,5", "show 1 wait 5000"},
        {"ExecutionSize", "5,-2147483648", "show 1 wait 5000"},
        {"ExecutionPriority", "043", "show 1 priority 35 wait 5000"},
        {"ExecutionInputTO", "abc", "show 1 wait 0"},
        {"ExecutionInputTO", "-1", "show 1 wait -1"},
        {"ExecutionShellExec", "-1", "show 1 wait 5000"},
        {"ExecutionShowMode", "3x", "show 3 wait 5000"},
        {"ExecutionShowMode", "7", "show 1 wait 5000"},
    };
    for (const auto& c : cases) {
        Executant e;
        e.AddKeyword("ExecutionFileName", "a.exe");
        e.AddKeyword(c.keyword, c.text);
        ASSERT_EQ(0, e.Validate());
        e.ApplySettings();
        std::string fields = "show " + std::to_string(e.ShowCommand());
        if (e.HasPosition) fields += " at " + std::to_string(e.PositionX) + "," + std::to_string(e.PositionY);
        if (e.HasSize) fields += " size " + std::to_string(e.Width) + "," + std::to_string(e.Height);
        if (e.HasPriority) fields += " priority " + std::to_string(e.Priority);
        fields += " wait " + std::to_string(e.InputTimeout) + (e.ShellExec ? " shell" : "");
        EXPECT_EQ(c.fields, fields) << c.keyword << " " << c.text;
    }
}

TEST(ExecutantRecord, DestructorClosesAKeptProcessHandle)
{
    ResetFake();
    int handle = 0;
    {
        Executant record, untouched;
        record.ProcessHandle = &handle;
    }
    EXPECT_EQ(std::vector<void*>{&handle}, Fake().closedHandles);
}

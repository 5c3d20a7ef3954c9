// The record's conversions between settings text and typed fields.
#include <gtest/gtest.h>

#include <string>

#include "Executant.h"
#include "FakePlatform.h"

namespace {

// The typed fields the launcher and the editor use.
std::string Fields(const Executant& e)
{
    std::string text = "show " + std::to_string(e.ShowCommand());
    if (e.HasPosition) text += " at " + std::to_string(e.PositionX) + "," + std::to_string(e.PositionY);
    if (e.HasSize) text += " size " + std::to_string(e.Width) + "," + std::to_string(e.Height);
    if (e.HasPriority) text += " priority " + std::to_string(e.Priority);
    return text + " wait " + std::to_string(e.InputTimeout) + (e.ShellExec ? " shell" : "");
}

}  // namespace

TEST(ExecutantRecord, FileNameAloneGetsEveryDefaultInTableOrder)
{
    Executant record;
    EXPECT_EQ(0, record.AddKeyword("executionfilename", "a.exe")) << "keywords are exact";
    EXPECT_EQ(1, record.AddKeyword("ExecutionFileName", "C:\\Tools\\Editor.EXE"));
    EXPECT_EQ(1, record.AddKeyword("ExecutionFileName", "second.exe"));
    ASSERT_EQ(0, record.Validate());
    record.ApplySettings();
    std::string names;
    for (const KeyValueClass* e = record.Settings.Head(); e != nullptr; e = e->next) names += e->name.Text() + std::string(" ");
    EXPECT_EQ("ExecutionFileName ExecutionFileName ExecutionArguments ExecutionPath ExecutionPosition ExecutionSize "
              "ExecutionShowMode ExecutionDisableIME ExecutionInitialOnce ExecutionPriority ExecutionInputTO "
              "ExecutionShellExec ",
              names);
    EXPECT_STREQ("c:\\tools\\editor.exe", record.FileName.Text()) << "the first of duplicates, folded";
    EXPECT_EQ("show 1 wait 5000", Fields(record));
    EXPECT_EQ(nullptr, record.KeyName(kKeywordCount));

    for (const char* value : {static_cast<const char*>(""), static_cast<const char*>(nullptr)}) {
        Executant missing;
        if (value != nullptr) missing.AddKeyword("ExecutionFileName", value);
        missing.AddKeyword("ExecutionArguments", "-x");
        EXPECT_EQ(-10, missing.Validate());
        EXPECT_EQ(value != nullptr ? 2 : 1, missing.Settings.Count()) << "no defaults for a rejected record";
    }
}

TEST(ExecutantRecord, SettingsConvertToFields)
{
    const struct {
        const char* keyword;
        const char* text;
        const char* fields;
    } cases[] = {
        {"ExecutionPosition", "100,-20", "show 1 at 100,-20 wait 5000"},
        {"ExecutionPosition", " 7, 8", "show 1 at 7,8 wait 5000"},
        {"ExecutionPosition", "100", "show 1 wait 5000"},
        {"ExecutionPosition", "-2147483648,5", "show 1 wait 5000"},
        {"ExecutionPosition", "0x80000000,0x80000000", "show 1 wait 5000"},
        {"ExecutionSize", "640,480", "show 1 size 640,480 wait 5000"},
        {"ExecutionSize", "5,-2147483648", "show 1 wait 5000"},
        {"ExecutionSize", "abc", "show 1 wait 5000"},
        {"ExecutionPriority", "0x0023", "show 1 priority 35 wait 5000"},
        {"ExecutionPriority", "043", "show 1 priority 35 wait 5000"},
        {"ExecutionPriority", "0x13junk", "show 1 priority 19 wait 5000"},
        {"ExecutionPriority", "zz", "show 1 wait 5000"},
        {"ExecutionInputTO", "1500ms", "show 1 wait 1500"},
        {"ExecutionInputTO", "abc", "show 1 wait 0"},
        {"ExecutionInputTO", "-1", "show 1 wait -1"},
        {"ExecutionShellExec", "2", "show 1 wait 5000 shell"},
        {"ExecutionShellExec", "-1", "show 1 wait 5000"},
        {"ExecutionShowMode", "2", "show 2 wait 5000"},
        {"ExecutionShowMode", "3x", "show 3 wait 5000"},
        {"ExecutionShowMode", "7", "show 1 wait 5000"},
        {"ExecutionShowMode", "max", "show 1 wait 5000"},
    };
    for (const auto& c : cases) {
        Executant record;
        record.AddKeyword("ExecutionFileName", "a.exe");
        record.AddKeyword(c.keyword, c.text);
        ASSERT_EQ(0, record.Validate());
        record.ApplySettings();
        EXPECT_EQ(c.fields, Fields(record)) << c.keyword << " " << c.text;
    }
}

TEST(ExecutantRecord, DestructorClosesAKeptProcessHandle)
{
    ResetFake();
    int dummy = 0;
    {
        Executant record;
        record.ProcessHandle = &dummy;
        Executant untouched;
    }
    EXPECT_EQ(std::vector<void*>{&dummy}, Fake().closedHandles);
}

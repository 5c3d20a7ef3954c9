// The record's conversions between settings text and typed fields, and back.
#include <gtest/gtest.h>

#include <string>

#include "Executant.h"
#include "FakePlatform.h"

namespace {

std::string Keywords(const Executant& record)
{
    std::string names;
    for (const KeyValueClass* e = record.Settings.Head(); e != nullptr; e = e->next) {
        names += e->name.Text();
        names += ' ';
    }
    return names;
}

// Builds a record from keyword/value pairs the way the reader does.
void Load(Executant& record, std::initializer_list<std::pair<const char*, const char*>> settings)
{
    for (const auto& s : settings) record.AddKeyword(s.first, s.second);
    ASSERT_EQ(0, record.Validate());
    record.ApplySettings();
}

}  // namespace

TEST(ExecutantRecord, FileNameAloneGetsEveryDefaultInTableOrder)
{
    Executant record;
    Load(record, {{"ExecutionFileName", "C:\\Tools\\Editor.EXE"}});
    EXPECT_EQ(
        "ExecutionFileName ExecutionArguments ExecutionPath ExecutionPosition ExecutionSize "
        "ExecutionShowMode ExecutionDisableIME ExecutionInitialOnce ExecutionPriority "
        "ExecutionInputTO ExecutionShellExec ",
        Keywords(record));
    EXPECT_STREQ("c:\\tools\\editor.exe", record.FileName.Text());
    EXPECT_FALSE(record.PositionSet());
    EXPECT_EQ(0, record.HasPosition);
    EXPECT_EQ(0, record.HasSize);
    EXPECT_EQ(0, record.HasPriority);
    EXPECT_EQ(5000, record.InputTimeout);
    EXPECT_EQ(0, record.ShellExec);
    EXPECT_EQ(kShowNormal, record.ShowCommand());
}

TEST(ExecutantRecord, MissingOrEmptyFileNameIsRejectedWithoutDefaults)
{
    Executant missing;
    missing.AddKeyword("ExecutionArguments", "-x");
    EXPECT_EQ(-10, missing.Validate());
    EXPECT_EQ(1, missing.Settings.Count());

    Executant empty;
    empty.AddKeyword("ExecutionFileName", "");
    EXPECT_EQ(-10, empty.Validate());
}

TEST(ExecutantRecord, AddKeywordIsExactAndKeepsDuplicates)
{
    Executant record;
    EXPECT_EQ(0, record.AddKeyword("executionfilename", "a.exe"));
    EXPECT_EQ(0, record.AddKeyword("", ""));
    EXPECT_EQ(1, record.AddKeyword("ExecutionFileName", "first.exe"));
    EXPECT_EQ(1, record.AddKeyword("ExecutionFileName", "second.exe"));
    EXPECT_EQ(2, record.Settings.Count());
    record.Validate();
    record.ApplySettings();
    EXPECT_STREQ("first.exe", record.FileName.Text());
    EXPECT_STREQ("ExecutionShellExec", record.KeyName(kKeyShellExec));
    EXPECT_EQ(nullptr, record.KeyName(11));
    EXPECT_EQ(nullptr, record.KeyName(-1));
}

struct PairCase {
    const char* text;
    int has;
    int x, y;
};

TEST(ExecutantRecord, PositionAndSizeNeedTwoSetNumbers)
{
    const PairCase cases[] = {
        {"100,-20", 1, 100, -20},
        {"100", 0, 0, 0},
        {"-2147483648,5", 0, 0, 0},
        {"5,-2147483648", 0, 0, 0},
        {"0x80000000,0x80000000", 0, 0, 0},
        {" 7, 8", 1, 7, 8},
        {"abc", 0, 0, 0},
        {"", 0, 0, 0},
    };
    for (const PairCase& c : cases) {
        Executant record;
        Load(record, {{"ExecutionFileName", "a.exe"}, {"ExecutionPosition", c.text}, {"ExecutionSize", c.text}});
        EXPECT_EQ(c.has, record.HasPosition) << c.text;
        EXPECT_EQ(c.has, record.HasSize) << c.text;
        if (c.has) {
            EXPECT_EQ(c.x, record.PositionX);
            EXPECT_EQ(c.y, record.PositionY);
            EXPECT_EQ(c.x, record.Width);
            EXPECT_EQ(c.y, record.Height);
        }
    }
}

struct NumberCase {
    const char* keyword;
    const char* text;
    int expected;
};

TEST(ExecutantRecord, NumberConversions)
{
    const NumberCase cases[] = {
        {"ExecutionPriority", "0x0023", 0x23},
        {"ExecutionPriority", "35", 0x23},
        {"ExecutionPriority", "043", 0x23},
        {"ExecutionPriority", "0x0000", 0},
        {"ExecutionPriority", "zz", 0},
        {"ExecutionPriority", "0x13junk", 0x13},
        {"ExecutionInputTO", "0", 0},
        {"ExecutionInputTO", "abc", 0},
        {"ExecutionInputTO", "1500ms", 1500},
        {"ExecutionInputTO", "-1", -1},
        {"ExecutionShellExec", "2", 1},
        {"ExecutionShellExec", "-1", 0},
        {"ExecutionShellExec", "yes", 0},
    };
    for (const NumberCase& c : cases) {
        Executant record;
        Load(record, {{"ExecutionFileName", "a.exe"}, {c.keyword, c.text}});
        const std::string keyword = c.keyword;
        if (keyword == "ExecutionPriority") {
            EXPECT_EQ(static_cast<unsigned>(c.expected), record.Priority) << c.text;
            EXPECT_EQ(c.expected != 0 ? 1 : 0, record.HasPriority) << c.text;
        } else if (keyword == "ExecutionInputTO") {
            EXPECT_EQ(c.expected, record.InputTimeout) << c.text;
        } else {
            EXPECT_EQ(c.expected, record.ShellExec) << c.text;
        }
    }
}

TEST(ExecutantRecord, ShowCommandFromShowMode)
{
    const std::pair<const char*, int> cases[] = {
        {"2", kShowMinimized}, {"3", kShowMaximized}, {"1", kShowNormal}, {"7", kShowNormal},
        {"", kShowNormal},     {"3x", kShowMaximized}, {"max", kShowNormal},
    };
    for (const auto& c : cases) {
        Executant record;
        Load(record, {{"ExecutionFileName", "a.exe"}, {"ExecutionShowMode", c.first}});
        EXPECT_EQ(c.second, record.ShowCommand()) << c.first;
    }
}

TEST(ExecutantRecord, DestructorClosesAKeptProcessHandle)
{
    ResetFake();
    int dummy = 0;
    {
        Executant record;
        record.ProcessHandle = &dummy;
    }
    { Executant untouched; }
    ASSERT_EQ(1u, Fake().closedHandles.size());
    EXPECT_EQ(&dummy, Fake().closedHandles[0]);
}

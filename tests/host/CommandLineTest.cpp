// The program's command line: the option scanner with its Shift-JIS, quote and backslash
// rules, the program-name skip, the title and the command line of a started program.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "CommandLine.h"
#include "KeyValueList.h"
#include "StringClass.h"

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

Entries Parse(std::string text, int expectedResult, KeyValueListClass& options)
{
    EXPECT_EQ(expectedResult, ParseCommandLine(options, &text[0])) << text;
    Entries entries;
    for (const KeyValueClass* e = options.Head(); e != nullptr; e = e->next) entries.emplace_back(e->name.Text(), e->value.Text());
    return entries;
}

TEST(ParseCommandLine, RecordsTheOptions)
{
    // Literals are Shift-JIS: 表 is 0x95 0x5C and ソ is 0x83 0x5C, whose second byte would be
    // a backslash if it were read alone.
    const struct {
        std::string text;
        int result;
        Entries entries;
    } cases[] = {
        {" \t ", 0, {}},
        {"\t-p\tx.ini\t", 0, {{"-p", "x.ini"}}},
        {"-p \"C:\\Program Files\\x y.ini\"", 0, {{"-p", "C:\\Program Files\\x y.ini"}}},
        {"-p pre\"a b\"post", 0, {{"-p", "pre\"a b\"post"}}},
        {"-p \"\"", 0, {{"-p", ""}}},
        {"-p", 0, {{"-p", ""}}},
        {"-p -e", 0, {{"-p", ""}, {"-e", ""}}},
        {"-e x.ini", 0, {{"-e", "x.ini"}}},
        {"-p first.ini -p second.ini", 0, {{"-p", "first.ini"}, {"-p", "second.ini"}}},
        {"+x -P y", 0, {{"+x", ""}, {"-P", "y"}}},
        {"x.ini -p a.ini -e", -2, {}},
        {"/p z.ini -e", -2, {}},
        {"-e /p", 0, {{"-e", "/p"}}},
        {"-p a b -e", -2, {{"-p", "a"}}},
        {"-e -p \"C:\\a b", -1, {{"-e", ""}}},
        {"-p a\\", -1, {}},
        {"-p a\\ b", 0, {{"-p", "a\\ b"}}},
        {"-p a\\\"b", 0, {{"-p", "a\\\"b"}}},
        {"-p \"a\\\"b\"", 0, {{"-p", "a\\\"b"}}},
        {"-p ソフト.ini -e", 0, {{"-p", "ソフト.ini"}, {"-e", ""}}},
        {"-p 表\\ -e", 0, {{"-p", "表\\ -e"}}},
        {"-p \\\x95 x", -2, {{"-p", "\\\x95"}}},
        {"-p a\x95", 0, {{"-p", "a\x95"}}},
        {"-e -p \"" + std::string(100000, 'a') + "\"", 0, {{"-e", ""}, {"-p", std::string(100000, 'a')}}},
    };
    for (const auto& c : cases) {
        KeyValueListClass options;
        EXPECT_EQ(c.entries, Parse(c.text, c.result, options)) << c.text.substr(0, 40);
    }
    // The list is cleared first, and the first of duplicates counts.
    KeyValueListClass options;
    Parse("-x old", 0, options);
    Parse("-p first.ini -p second.ini", 0, options);
    EXPECT_EQ(nullptr, options.Find("-x"));
    EXPECT_STREQ("first.ini", options.GetValue("-p").Text());
}

TEST(ProgramName, SkipLeavesTheArguments)
{
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"lodestay.exe -p x.ini", "-p x.ini"},
        {"\"C:\\Program Files\\lodestay.exe\"  -e", "-e"},
        {"\"C:\\表\\lodestay.exe\" -e", "-e"},
        {"C:\\表\\lodestay.exe\t-p a", "-p a"},
        {"lodestay.exe", ""},
        {"\"C:\\unclosed -p x", ""},
        {"\"quoted\"-p", "-p"},
    };
    for (const auto& c : cases) EXPECT_STREQ(c.second, SkipProgramName(c.first)) << c.first;
}

TEST(ProgramName, TitleIsTheFileNameWithoutExtension)
{
    EXPECT_EQ("lodestay", ProgramTitle("C:\\Program Files\\Lodestay\\lodestay.exe"));
    EXPECT_EQ("lodestay", ProgramTitle("lodestay.exe"));
    EXPECT_EQ("prog", ProgramTitle("C:\\dir.d\\prog"));
    EXPECT_EQ("name.tar", ProgramTitle("Z:/build/name.tar.gz"));
    EXPECT_EQ("ソフト", ProgramTitle("C:\\表\\ソフト.exe"));
    EXPECT_EQ("", ProgramTitle(""));
}

// Program then arguments; a program path with a blank or tab quoted once.
TEST(ProcessCommandLine, ProgramThenArgumentsQuotedOnce)
{
    const struct {
        const char* program;
        const char* arguments;
        const char* expected;
    } cases[] = {
        {"c:\\app\\viewer.exe", "help.chm", "c:\\app\\viewer.exe help.chm"},
        {"c:\\app\\viewer.exe", nullptr, "c:\\app\\viewer.exe"},
        {"c:\\app\\viewer.exe", "", "c:\\app\\viewer.exe"},
        {"c:\\program files\\hh.exe", "c:\\doc\\a.chm", "\"c:\\program files\\hh.exe\" c:\\doc\\a.chm"},
        {"c:\\tab\tdir\\x.exe", nullptr, "\"c:\\tab\tdir\\x.exe\""},
        {"\"c:\\program files\\hh.exe\"", nullptr, "\"c:\\program files\\hh.exe\""},
    };
    for (const auto& c : cases) {
        StringClass line;
        ASSERT_TRUE(BuildProcessCommandLine(line, c.program, c.arguments)) << c.program;
        EXPECT_STREQ(c.expected, line.Text()) << c.program;
    }
    StringClass line;
    EXPECT_FALSE(BuildProcessCommandLine(line, nullptr, "x"));
}

}  // namespace

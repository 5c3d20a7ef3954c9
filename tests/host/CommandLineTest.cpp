// The program's command line: the option scanner with its Shift-JIS, quote and backslash
// rules, the program-name skip, the title and the command line of a started program.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "CommandLine.h"
#include "KeyValueList.h"
#include "StringClass.h"

using Entries = std::vector<std::pair<std::string, std::string>>;

TEST(ParseCommandLine, RecordsTheOptions)
{
    // Literals are Shift-JIS: 表 is 0x95 0x5C and ソ is 0x83 0x5C, whose second byte would be
    // a backslash if it were read alone.
    const struct {
        std::string text;
        int result;
        Entries entries;
    } cases[] = {
        {"\t+x\t-P\ty\t", 0, {{"+x", ""}, {"-P", "y"}}},
        {"-p \"C:\\Program Files\\x y.ini\"", 0, {{"-p", "C:\\Program Files\\x y.ini"}}},
        {"-p pre\"a b\"post", 0, {{"-p", "pre\"a b\"post"}}},
        {"-p \"\" -q -e", 0, {{"-p", ""}, {"-q", ""}, {"-e", ""}}},
        // A word that is neither an option nor its value stops the scan: nothing after it counts.
        {"/p z.ini -e", -2, {}},
        {"-p a b -e", -2, {{"-p", "a"}}},
        {"-e -p \"C:\\a b", -1, {{"-e", ""}}},
        {"-p a\\", -1, {}},
        {"-p a\\ b", 0, {{"-p", "a\\ b"}}},
        {"-p a\\\"b -e \"a\\\"b\"", 0, {{"-p", "a\\\"b"}, {"-e", "a\\\"b"}}},
        {"-p ソフト.ini -e 表\\ -q", 0, {{"-p", "ソフト.ini"}, {"-e", "表\\ -q"}}},
        {"-p \\\x95 x", -2, {{"-p", "\\\x95"}}},
        {"-p program-name\x95", 0, {{"-p", "program-name\x95"}}},  // long enough to live on the heap
    };
    KeyValueListClass options;
    options.Add(new KeyValueClass("-x", "left over"));  // every scan clears the list first
    for (const auto& c : cases) {
        std::string text = c.text;
        EXPECT_EQ(c.result, ParseCommandLine(options, &text[0])) << c.text;
        Entries entries;
        for (auto* e = options.Head(); e != nullptr; e = e->next) entries.emplace_back(e->name.Text(), e->value.Text());
        EXPECT_EQ(c.entries, entries) << c.text;
    }
}

TEST(ProgramName, SkippedBeforeTheArgumentsAndTitledWithoutExtension)
{
    const std::pair<const char*, const char*> cases[] = {
        {"\"C:\\Program Files\\lodestay.exe\"  -e", "-e"},
        {"C:\\表\\lodestay.exe\t-p a", "-p a"},
        {"lodestay.exe", ""},
        {"\"C:\\unclosed -p x", ""},
        {"\"quoted\"-p", "-p"},
    };
    for (const auto& c : cases) EXPECT_STREQ(c.second, SkipProgramName(c.first)) << c.first;
    EXPECT_EQ("prog", ProgramTitle("C:\\dir.d\\prog"));
    EXPECT_EQ("name.tar", ProgramTitle("Z:/build/name.tar.gz"));
    EXPECT_EQ("ソフト", ProgramTitle("C:\\表\\ソフト.exe"));
}

// The command line of a started program, or "failed".
static std::string ProcessLine(const char* program, const char* arguments)
{
    StringClass line;
    return BuildProcessCommandLine(line, program, arguments) ? line.Text() : "failed";
}

// Program then arguments; a program path with a blank or tab quoted once.
TEST(ProcessCommandLine, ProgramThenArgumentsQuotedOnce)
{
    EXPECT_EQ("c:\\app\\viewer.exe", ProcessLine("c:\\app\\viewer.exe", ""));
    EXPECT_EQ("\"c:\\program files\\hh.exe\" a.chm", ProcessLine("c:\\program files\\hh.exe", "a.chm"));
    EXPECT_EQ("\"c:\\tab\tdir\\x.exe\"", ProcessLine("c:\\tab\tdir\\x.exe", nullptr));
    EXPECT_EQ("\"c:\\program files\\hh.exe\"", ProcessLine("\"c:\\program files\\hh.exe\"", nullptr));
    EXPECT_EQ("failed", ProcessLine(nullptr, "x"));
}

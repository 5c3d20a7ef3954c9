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

struct ParseCase {
    const char* what;
    std::string text;
    int result;
    Entries entries;
};

void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.what; }

Entries Recorded(const KeyValueListClass& options)
{
    Entries entries;
    for (const KeyValueClass* e = options.Head(); e != nullptr; e = e->next)
        entries.emplace_back(e->name.Text(), e->value.Text());
    return entries;
}

// Literals are Shift-JIS: 表 is 0x95 0x5C and ソ is 0x83 0x5C, whose second byte would be
// a backslash if it were read alone.
const std::vector<ParseCase> kParseCases = {
    {"empty text", "", 0, {}},
    {"blanks only", " \t ", 0, {}},
    {"path option", "-p Default.ini", 0, {{"-p", "Default.ini"}}},
    {"tabs separate words", "\t-p\tx.ini\t", 0, {{"-p", "x.ini"}}},
    {"quoted path with blanks loses its quotes", "-p \"C:\\Program Files\\x y.ini\"", 0,
     {{"-p", "C:\\Program Files\\x y.ini"}}},
    {"quotes inside a word stay", "-p pre\"a b\"post", 0, {{"-p", "pre\"a b\"post"}}},
    {"empty quoted argument", "-p \"\"", 0, {{"-p", ""}}},
    {"option without argument at the end", "-p", 0, {{"-p", ""}}},
    {"option followed by an option", "-p -e", 0, {{"-p", ""}, {"-e", ""}}},
    {"launch option takes a following word", "-e x.ini", 0, {{"-e", "x.ini"}}},
    {"duplicates are all recorded in order", "-p first.ini -p second.ini", 0,
     {{"-p", "first.ini"}, {"-p", "second.ini"}}},
    {"plus sign and upper case are option words too", "+x -P y", 0, {{"+x", ""}, {"-P", "y"}}},
    {"bare word first swallows the rest", "x.ini -p a.ini -e", -2, {}},
    {"slash is no option sign", "/p z.ini -e", -2, {}},
    {"slash word is an argument", "-e /p", 0, {{"-e", "/p"}}},
    {"second argument is rejected", "-p a b -e", -2, {{"-p", "a"}}},
    {"unclosed quote drops the waiting option", "-p \"C:\\a b", -1, {}},
    {"unclosed quote keeps what came before", "-e -p \"C:\\a b", -1, {{"-e", ""}}},
    {"lone quote", "-p \"", -1, {}},
    {"trailing backslash", "-p a\\", -1, {}},
    {"backslash takes a blank into the word", "-p a\\ b", 0, {{"-p", "a\\ b"}}},
    {"backslash takes a quote into the word", "-p a\\\"b", 0, {{"-p", "a\\\"b"}}},
    {"backslash inside quotes keeps the quote open", "-p \"a\\\"b\"", 0, {{"-p", "a\\\"b"}}},
    {"double-byte name followed by an option", "-p 表 -e", 0, {{"-p", "表"}, {"-e", ""}}},
    {"double-byte name in the middle of a word", "-p ソフト.ini -e", 0, {{"-p", "ソフト.ini"}, {"-e", ""}}},
    {"backslash after a double-byte character", "-p 表\\ -e", 0, {{"-p", "表\\ -e"}}},
    {"lead byte right after a backslash is single", "-p \\\x95 x", -2, {{"-p", "\\\x95"}}},
    {"lead byte as the last byte", "-p a\x95", 0, {{"-p", "a\x95"}}},
};

class ParseCommandLineTable : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseCommandLineTable, RecordsTheOptions)
{
    const ParseCase& c = GetParam();
    std::string text = c.text;
    KeyValueListClass options;
    EXPECT_EQ(c.result, ParseCommandLine(options, &text[0]));
    EXPECT_EQ(c.entries, Recorded(options));
}

INSTANTIATE_TEST_SUITE_P(Cases, ParseCommandLineTable, testing::ValuesIn(kParseCases),
                         [](const testing::TestParamInfo<ParseCase>& info) {
                             std::string name;
                             for (const char* p = info.param.what; *p != '\0'; ++p)
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             return name;
                         });

TEST(ParseCommandLine, FirstOccurrenceWinsAndListIsClearedFirst)
{
    KeyValueListClass options;
    std::string stale = "-x old";
    ParseCommandLine(options, &stale[0]);

    std::string text = "-p first.ini -p second.ini";
    ASSERT_EQ(0, ParseCommandLine(options, &text[0]));
    EXPECT_EQ(nullptr, options.Find("-x"));
    EXPECT_STREQ("first.ini", options.GetValue("-p").Text());
}

TEST(ParseCommandLine, VeryLongInput)
{
    const std::string path(100000, 'a');
    std::string text = "-e -p \"" + path + "\"";
    KeyValueListClass options;
    ASSERT_EQ(0, ParseCommandLine(options, &text[0]));
    EXPECT_EQ((Entries{{"-e", ""}, {"-p", path}}), Recorded(options));
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

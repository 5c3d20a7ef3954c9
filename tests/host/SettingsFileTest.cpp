// Reading and writing the settings file: the grammar the reader accepts, what survives a
// damaged file, and a byte-for-byte round trip of what the writer produces.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "CoreMessages.h"
#include "FakePlatform.h"
#include "Log.h"
#include "SettingsFile.h"
#include "TempDir.h"

namespace {

const char kExample[] =
    ";Lodestay\n"
    "FileVersion\t0x0110\n"
    "Executant::RingListClass\t{\n"
    "\tExecutionFileName\tc:\\windows\\notepad.exe\n"
    "\tExecutionPosition\t10,20\n"
    "\tExecutionSize\t640,480\n"
    "\tExecutionShowMode\t1\n"
    "\tExecutionPriority\t0x0023\n"
    "}\n";

std::string Block(const std::string& body) { return "Executant::RingListClass\t{\n" + body + "}\n"; }

struct Loaded {
    std::vector<std::string> fileNames;
    std::vector<ShownMessage> messages;
};

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetFake();
        SetLogPath(dir_.File("log.txt").c_str());
        SetLogMaxSize(1 << 20);
        SetLogEnabled(true);
    }
    void TearDown() override { SetLogPath(""); }

    Loaded LoadText(const std::string& text)
    {
        const std::string path = dir_.File("settings.ini");
        WriteFile(path, text);
        Loaded result;
        Executant* head = LoadSettingsFile(path.c_str());
        for (Executant* e = head; e != nullptr; e = e->NextExecutant(head)) {
            result.fileNames.push_back(e->FileName.Text());
        }
        DeleteRing(head);
        result.messages = Fake().messages;
        return result;
    }

    std::string Log() const { return ReadFile(dir_.File("log.txt")); }

    // Loads `path` and describes every record: file name, arguments, working directory,
    // show command, position.
    std::vector<std::string> LoadRecords(const std::string& path, Executant** keep = nullptr)
    {
        Executant* head = LoadSettingsFile(path.c_str());
        std::vector<std::string> records;
        for (Executant* e = head; e != nullptr; e = e->NextExecutant(head)) {
            records.push_back(Describe(*e));
        }
        if (keep != nullptr) {
            *keep = head;
        } else {
            DeleteRing(head);
        }
        return records;
    }

    static std::string Describe(const Executant& e)
    {
        std::string text = std::string(e.FileName.Text()) + "|" + e.Arguments.Text() + "|" +
                           e.SettingText(kKeyPath).Text() + "|" + std::to_string(e.ShowCommand());
        if (e.PositionSet()) text += "|" + std::to_string(e.PositionX) + "," + std::to_string(e.PositionY);
        return text;
    }

    std::string FormatMessage() const { return "ファイル[" + dir_.File("settings.ini") + "]の書式が不正です"; }

    TempDir dir_;
};

// The longest line text (line feed aside) in `text`.
size_t LongestLine(const std::string& text)
{
    size_t longest = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        longest = std::max(longest, end - start);
        start = end + 1;
    }
    return longest;
}

struct SplitCase {
    const char* line;
    const char* key;
    const char* value;
};

}  // namespace

TEST(SettingsLineSplitter, KeysValuesAndBlanks)
{
    const SplitCase cases[] = {
        {"", "", ""},
        {" \t\r\n", "", ""},
        {"\tExecutionFileName\tc:\\a b\\x.exe\r\n", "ExecutionFileName", "c:\\a b\\x.exe"},
        {"ExecutionArguments  -x", "ExecutionArguments", " -x"},
        {"ExecutionArguments -x", "ExecutionArguments", "-x"},
        {"ExecutionArguments\t\t\t-x  \t", "ExecutionArguments", "-x"},
        {"key\t\x01\x02value with  blanks", "key", "value with  blanks"},
        {"key\x01value", "key", "value"},
        {"lonekey", "lonekey", ""},
        {"  \"quoted\\\" \"a\\b\"", "\"quoted\\\"", "\"a\\b\""},
        {"Executant::RingListClass\t{", "Executant::RingListClass", "{"},
        {"\t}", "}", ""},
    };
    for (const SplitCase& c : cases) {
        std::vector<char> buffer(c.line, c.line + std::strlen(c.line) + 1);
        const char* key;
        const char* value;
        SplitSettingsLine(buffer.data(), &key, &value);
        EXPECT_STREQ(c.key, key) << "line: " << c.line;
        EXPECT_STREQ(c.value, value) << "line: " << c.line;
    }
}

TEST_F(SettingsFileTest, WrittenExampleLoadsAndSavesBackByteForByte)
{
    const std::string path = dir_.File("example.ini");
    WriteFile(path, kExample);
    Executant* head = LoadSettingsFile(path.c_str());
    ASSERT_NE(nullptr, head);
    EXPECT_EQ(nullptr, head->Next());
    EXPECT_EQ(1, head->PositionSet());
    EXPECT_EQ(10, head->PositionX);
    EXPECT_EQ(480, head->Height);
    EXPECT_EQ(0x23u, head->Priority);

    const std::string again = dir_.File("again.ini");
    EXPECT_TRUE(SaveSettingsFile(again.c_str(), head));
    EXPECT_EQ(kExample, ReadFile(again));
    DeleteRing(head);
    EXPECT_TRUE(Fake().messages.empty());
}

TEST_F(SettingsFileTest, SavingDropsDefaultsAndWritesFieldsBack)
{
    const std::string path = dir_.File("in.ini");
    WriteFile(path, Block("\tExecutionFileName\tC:\\Tools\\Editor.EXE\n"
                          "\tExecutionFileName\tsecond.exe\n"
                          "\tExecutionPriority\t0x0000\n"
                          "\tExecutionInputTO\t5000\n"
                          "\tExecutionShellExec\t2\n"
                          "\tExecutionArguments\t  spaced  \n"));
    Executant* head = LoadSettingsFile(path.c_str());
    ASSERT_NE(nullptr, head);
    head->InputTimeout = 0;
    const std::string out = dir_.File("out.ini");
    ASSERT_TRUE(SaveSettingsFile(out.c_str(), head));
    EXPECT_EQ(std::string(";Lodestay\nFileVersion\t0x0110\n") +
                  Block("\tExecutionFileName\tc:\\tools\\editor.exe\n"
                        "\tExecutionFileName\tsecond.exe\n"
                        "\tExecutionInputTO\t0\n"
                        "\tExecutionShellExec\t1\n"
                        "\tExecutionArguments\t  spaced\n"
                        "\tExecutionShowMode\t1\n"),
              ReadFile(out));
    DeleteRing(head);
}

TEST_F(SettingsFileTest, HeaderOnlyFileIsAnEmptyRing)
{
    const Loaded loaded = LoadText(";Lodestay\nFileVersion\t0x0110\n");
    EXPECT_TRUE(loaded.fileNames.empty());
    EXPECT_TRUE(loaded.messages.empty());
    EXPECT_EQ(nullptr, LoadSettingsFile(dir_.File("missing.ini").c_str()));
    EXPECT_TRUE(Fake().messages.empty());
}

TEST_F(SettingsFileTest, BlockOpenersAndComments)
{
    const Loaded loaded = LoadText(
        "Executant::RingListClass {\n\tExecutionFileName\ta.exe\n}\n"
        "{\n\tExecutionFileName\tb.exe\n}\n"
        "word\t{ more\n\tExecutionFileName\tnot-a-block.exe\n"
        "; comment {\n# comment {\n' comment {\n"
        "anything {\n"
        "\tExecutionFileName\tc.exe\n"
        "; a comment inside a block\n"
        "\t;ExecutionArguments\tx\n"
        "\n"
        // A value "}" after a word that is not a keyword closes the block.
        "\tend\t}\n"
        "also ignored\n"
        "Executant::RingListClass\t{\n\tExecutionFileName\td.exe\n}\n");
    EXPECT_EQ((std::vector<std::string>{"a.exe", "b.exe", "c.exe", "d.exe"}), loaded.fileNames);
    EXPECT_TRUE(loaded.messages.empty());
    const std::string log = Log();
    EXPECT_NE(std::string::npos, log.find("Executer : KeyWord[;ExecutionArguments]は、認識できません."));
    EXPECT_NE(std::string::npos, log.find("Executer : KeyWord[]は、認識できません."));
}

TEST_F(SettingsFileTest, TopLevelEndsReading)
{
    EXPECT_EQ((std::vector<std::string>{"a.exe"}),
              LoadText(Block("\tExecutionFileName\ta.exe\n") + "}\n" + Block("\tExecutionFileName\tb.exe\n"))
                  .fileNames);
    EXPECT_EQ((std::vector<std::string>{"a.exe"}),
              LoadText(Block("\tExecutionFileName\ta.exe\n") + "--EOF--\n" + Block("\tExecutionFileName\tb.exe\n"))
                  .fileNames);
}

TEST_F(SettingsFileTest, EndMarkerInsideABlockClosesItAndReadingGoesOn)
{
    const Loaded loaded = LoadText("{\n\tExecutionFileName\ta.exe\n--EOF--\n" + Block("\tExecutionFileName\tb.exe\n"));
    EXPECT_EQ((std::vector<std::string>{"a.exe", "b.exe"}), loaded.fileNames);
    EXPECT_NE(std::string::npos, Log().find("終了識別子が途中で見つかりました.\n"));
}

TEST_F(SettingsFileTest, FormatErrorKeepsTheRecordsBeforeIt)
{
    const std::string good = Block("\tExecutionFileName\ta.exe\n");
    const struct {
        const char* what;
        std::string text;
    } cases[] = {
        {"unclosed block", good + "{\n\tExecutionFileName\tb.exe\n"},
        {"missing file name", good + Block("\tExecutionArguments\t-x\n") + Block("\tExecutionFileName\tc.exe\n")},
        {"empty file name", good + Block("\tExecutionFileName\n") + Block("\tExecutionFileName\tc.exe\n")},
    };
    for (const auto& c : cases) {
        ResetFake();
        const Loaded loaded = LoadText(c.text);
        EXPECT_EQ((std::vector<std::string>{"a.exe"}), loaded.fileNames) << c.what;
        ASSERT_EQ(1u, loaded.messages.size()) << c.what;
        EXPECT_EQ(FormatMessage(), loaded.messages[0].text);
        EXPECT_EQ(0x30u, loaded.messages[0].style);
    }
    EXPECT_NE(std::string::npos, Log().find("ExecutionFileNameが定義されていません."));
}

TEST_F(SettingsFileTest, LastLineWithoutLineFeedIsStillRead)
{
    const Loaded loaded = LoadText(";Lodestay\n{\n\tExecutionFileName\ta.exe\n}");
    EXPECT_EQ((std::vector<std::string>{"a.exe"}), loaded.fileNames);
    EXPECT_TRUE(loaded.messages.empty());

    const Loaded noFeedValue = LoadText("{\n\tExecutionFileName\tb.exe");
    EXPECT_TRUE(noFeedValue.fileNames.empty()) << "a block never closed stays invalid";
}

TEST_F(SettingsFileTest, CarriageReturnLineFeedFileReadsLikeLineFeeds)
{
    std::string crlf;
    for (const char* p = kExample; *p != 0; ++p) {
        if (*p == '\n') crlf += '\r';
        crlf += *p;
    }
    const Loaded loaded = LoadText(crlf);
    EXPECT_EQ((std::vector<std::string>{"c:\\windows\\notepad.exe"}), loaded.fileNames);
}

TEST_F(SettingsFileTest, LongLineIsReadIn383ByteSteps)
{
    // A 500-byte arguments line: the reader sees 383 bytes, then the rest as a line of its own.
    const std::string prefix = "\tExecutionArguments\t";
    const std::string value(500 - prefix.size(), 'v');
    const std::string tail = value.substr(383 - prefix.size());
    const std::string path = dir_.File("long.ini");
    WriteFile(path, Block("\tExecutionFileName\ta.exe\n" + prefix + value + "\n"));
    Executant* head = LoadSettingsFile(path.c_str());
    ASSERT_NE(nullptr, head);
    EXPECT_EQ(383 - prefix.size(), static_cast<size_t>(head->Arguments.Length()));
    EXPECT_NE(std::string::npos, Log().find("KeyWord[" + tail + "]"));
    DeleteRing(head);
}

TEST_F(SettingsFileTest, SaveRefusesShortNames)
{
    Executant record;
    record.FileName.Assign("a.exe");
    EXPECT_FALSE(SaveSettingsFile("a.in", &record));
    ASSERT_EQ(1u, Fake().messages.size());
    EXPECT_EQ("ﾌｧｲﾙ名が短すぎます.", Fake().messages[0].text);
}

TEST_F(SettingsFileTest, FailedSaveLeavesTheOldFileUntouched)
{
    const std::string path = dir_.File("keep.ini");
    WriteFile(path, kExample);
    Executant record;
    record.FileName.Assign("changed.exe");

    Fake().failReplace = true;
    EXPECT_FALSE(SaveSettingsFile(path.c_str(), &record));
    EXPECT_EQ(kExample, ReadFile(path));
    ASSERT_EQ(1u, Fake().messages.size());
    EXPECT_EQ("ﾌｧｲﾙが作成できませんでした.", Fake().messages[0].text);
    struct stat info;
    EXPECT_NE(0, stat((path + ".new").c_str(), &info)) << "no temporary file is left behind";

    ResetFake();
    const std::string missingFolder = dir_.File("no-such-folder/list.ini");
    EXPECT_FALSE(SaveSettingsFile(missingFolder.c_str(), &record));
    ASSERT_EQ(1u, Fake().messages.size());
    EXPECT_EQ("ﾌｧｲﾙが作成できませんでした.", Fake().messages[0].text);

    ResetFake();
    EXPECT_TRUE(SaveSettingsFile(path.c_str(), &record));
    EXPECT_NE(std::string::npos, ReadFile(path).find("changed.exe"));
}

TEST_F(SettingsFileTest, SaveWritesEveryRecordInRingOrder)
{
    const std::string path = dir_.File("three.ini");
    WriteFile(path, Block("\tExecutionFileName\ta.exe\n") + Block("\tExecutionFileName\tb.exe\n") +
                        Block("\tExecutionFileName\tc.exe\n"));
    Executant* head = LoadSettingsFile(path.c_str());
    const std::string out = dir_.File("three-out.ini");
    ASSERT_TRUE(SaveSettingsFile(out.c_str(), head));
    DeleteRing(head);
    const Loaded loaded = LoadText(ReadFile(out));
    EXPECT_EQ((std::vector<std::string>{"a.exe", "b.exe", "c.exe"}), loaded.fileNames);
}

TEST_F(SettingsFileTest, ShadowedDuplicateDoesNotTakeOverAfterSaving)
{
    // The first priority line reads as 0, so saving empties it; the second line must not
    // then become the record's priority when the file is read again.
    const std::string path = dir_.File("dup.ini");
    WriteFile(path, Block("\tExecutionFileName\ta.exe\n"
                          "\tExecutionPriority\tnone\n"
                          "\tExecutionPriority\t0x0023\n"
                          "\tExecutionPosition\tabc\n"
                          "\tExecutionPosition\t10,20\n"));
    Executant* head = LoadSettingsFile(path.c_str());
    ASSERT_NE(nullptr, head);
    EXPECT_EQ(0u, head->Priority);
    EXPECT_FALSE(head->PositionSet());
    ASSERT_TRUE(SaveSettingsFile(path.c_str(), head));
    DeleteRing(head);

    head = LoadSettingsFile(path.c_str());
    ASSERT_NE(nullptr, head);
    EXPECT_EQ(0u, head->Priority);
    EXPECT_FALSE(head->PositionSet());
    DeleteRing(head);
}

TEST_F(SettingsFileTest, LongLinesAndBraceValuesKeepTheRecordsAndSaveBackTheSame)
{
    const std::string fileName = "\tExecutionFileName\ta.exe\n";
    const std::string next = Block("\tExecutionFileName\tb.exe\n");
    // An unindented line of exactly 383 bytes whose last byte is "}": saved with its indent
    // it would be one byte longer than one read.
    const std::string path383 = "c:\\" + std::string(365, 'p') + "}";
    // One byte shorter: the line and its line feed fit one read.
    const std::string path382 = "c:\\" + std::string(365, 'q');
    const std::string args363(363, 'a');
    const struct {
        const char* what;
        std::string text;
        std::vector<std::string> records;
    } cases[] = {
        {"unindented over-long line",
         Block(fileName + "ExecutionPath\t" + path383 + "\n\tExecutionArguments\t-x\n\tExecutionShowMode\t2\n") + next,
         {"a.exe|-x|" + path383 + "|2", "b.exe|||1"}},
        {"unindented line that fits one read",
         Block(fileName + "ExecutionPath\t" + path382 + "\n\tExecutionArguments\t-x\n") + next,
         {"a.exe|-x|" + path382 + "|1", "b.exe|||1"}},
        {"the rest of a long line reads \"word }\"",
         Block(fileName + "\tExecutionArguments\t" + args363 + " word }\n\tExecutionPosition\t10,20\n") + next,
         {"a.exe|" + args363 + "||1|10,20", "b.exe|||1"}},
        {"the rest of a long line reads \"}\" or \"--EOF--\"",
         Block(fileName + "\tExecutionArguments\t" + args363 + "}\n\tExecutionPath\t" + std::string(368, 'r') +
               "--EOF--\n\tExecutionShowMode\t3\n") +
             next,
         {"a.exe|" + args363 + "|" + std::string(368, 'r') + "|3", "b.exe|||1"}},
        {"a value of exactly \"}\"",
         Block(fileName + "\tExecutionArguments\t}\n\tExecutionPath\t}\n\tExecutionShowMode\t2\n") + next,
         {"a.exe|}|}|2", "b.exe|||1"}},
        {"a value \"}\" after two tabs, as the first setting",
         Block("\tExecutionArguments\t\t}\n" + fileName) + next, {"a.exe|}||1", "b.exe|||1"}},
        {"a value \" }\" with a blank in front is an ordinary value",
         Block(fileName + "\tExecutionArguments  }\n") + next, {"a.exe| }||1", "b.exe|||1"}},
    };
    for (const auto& c : cases) {
        ResetFake();
        const std::string path = dir_.File("case.ini");
        WriteFile(path, c.text);
        Executant* head = nullptr;
        EXPECT_EQ(c.records, LoadRecords(path, &head)) << c.what;
        EXPECT_TRUE(Fake().messages.empty()) << c.what;

        const std::string saved = dir_.File("saved.ini");
        ASSERT_TRUE(SaveSettingsFile(saved.c_str(), head)) << c.what;
        DeleteRing(head);
        const std::string bytes = ReadFile(saved);
        EXPECT_GE(383u, LongestLine(bytes)) << c.what << "\n" << bytes;
        EXPECT_EQ(c.records, LoadRecords(saved)) << c.what << "\n" << bytes;
        EXPECT_TRUE(Fake().messages.empty()) << c.what;
    }
    EXPECT_NE(std::string::npos, Log().find("Executer : KeyWord[word]は、認識できません."));
}

TEST_F(SettingsFileTest, WriterKeepsEveryLineWithinOneRead)
{
    std::string sjis;  // 250 double-byte characters
    for (int i = 0; i < 250; ++i) sjis += "\x83\x41";
    const struct {
        const char* what;
        int keyword;
        std::string value;
        std::string line;      // as written, line feed included
        std::string readBack;  // the setting's text after loading the file again
    } cases[] = {
        {"a value of exactly \"}\"", kKeyArguments, "}", "\tExecutionArguments\t}\n", "}"},
        {"a line of 383 bytes with its indent", kKeyArguments, std::string(363, 'v'),
         "\tExecutionArguments\t" + std::string(363, 'v') + "\n", std::string(363, 'v')},
        {"one byte more goes without the indent", kKeyArguments, std::string(364, 'v'),
         "ExecutionArguments\t" + std::string(364, 'v') + "\n", std::string(364, 'v')},
        {"longer still is cut to one read", kKeyArguments, std::string(500, 'v'),
         "ExecutionArguments\t" + std::string(364, 'v') + "\n", std::string(364, 'v')},
        // ExecutionPath, a tab and 369 bytes fill one read; 369 bytes would end inside a character.
        {"cut at a Shift-JIS character boundary", kKeyPath, sjis,
         "ExecutionPath\t" + sjis.substr(0, 368) + "\n", sjis.substr(0, 368)},
        {"blanks at the cut are left out", kKeyPath, std::string(360, 'w') + std::string(20, ' ') + "tail",
         "ExecutionPath\t" + std::string(360, 'w') + "\n", std::string(360, 'w')},
    };
    for (const auto& c : cases) {
        Executant* head = new Executant;
        head->FileName.Assign("a.exe");
        ASSERT_EQ(1, head->SetSetting(c.keyword, c.value.c_str()));
        if (c.keyword == kKeyArguments) head->Arguments.Assign(c.value.c_str());
        Executant* second = new Executant;
        second->FileName.Assign("b.exe");
        head->InsertAfter(second);

        const std::string path = dir_.File("written.ini");
        ASSERT_TRUE(SaveSettingsFile(path.c_str(), head)) << c.what;
        DeleteRing(head);
        const std::string bytes = ReadFile(path);
        EXPECT_NE(std::string::npos, bytes.find("\n" + c.line)) << c.what << "\n" << bytes;
        EXPECT_GE(383u, LongestLine(bytes)) << c.what;

        head = LoadSettingsFile(path.c_str());
        ASSERT_NE(nullptr, head) << c.what;
        EXPECT_EQ(c.readBack, head->SettingText(c.keyword).Text()) << c.what;
        ASSERT_NE(nullptr, head->Next()) << c.what << ": the record after it is kept";
        EXPECT_STREQ("b.exe", static_cast<Executant*>(head->Next())->FileName.Text()) << c.what;
        DeleteRing(head);
    }
}

TEST_F(SettingsFileTest, EntryWithoutANameIsNotWritten)
{
    // What an entry looks like whose name could not be stored (an allocation failed).
    Executant record;
    record.FileName.Assign("a.exe");
    record.Settings.Add(new KeyValueClass("", "stray"));
    record.Settings.Add(new KeyValueClass(nullptr, nullptr));
    const std::string path = dir_.File("nameless.ini");
    ASSERT_TRUE(SaveSettingsFile(path.c_str(), &record));
    EXPECT_EQ(std::string(";Lodestay\nFileVersion\t0x0110\n") +
                  Block("\tExecutionFileName\ta.exe\n"),
              ReadFile(path));
}

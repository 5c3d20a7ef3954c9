// Reading and writing the settings file: the grammar the reader accepts, what survives a
// damaged file, and a byte-for-byte round trip of what the writer produces.
#include <gtest/gtest.h>

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

    std::string FormatMessage() const { return "ファイル[" + dir_.File("settings.ini") + "]の書式が不正です"; }

    TempDir dir_;
};

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
        "\tExecutionArguments\t}\n"
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

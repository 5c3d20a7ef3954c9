// The settings file: what the reader keeps of every kind of file, damaged ones included, that
// what it kept saves and loads back the same, the writer's canonical form, and that a save
// that fails never costs the user the old file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "FakePlatform.h"
#include "Log.h"
#include "SettingsFile.h"
#include "TempDir.h"

// Allocation failure on demand: once armed, the next allocation of at least the given size
// fails, as the library's do when memory runs out.
namespace {
std::size_t g_failFromSize = 0;
bool g_failArmed = false;
void* Allocate(std::size_t size)
{
    if (g_failArmed && size >= g_failFromSize) return g_failArmed = false, nullptr;
    return std::malloc(size != 0 ? size : 1);
}
}  // namespace

void* operator new(std::size_t size)
{
    if (void* memory = Allocate(size)) return memory;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }

namespace {

const char kHeader[] = ";Lodestay\nFileVersion\t0x0110\n";
const char kCannotCreate[] = "ﾌｧｲﾙが作成できませんでした.";

std::string Block(const std::string& body) { return "Executant::RingListClass\t{\n" + body + "}\n"; }
std::string Named(const std::string& name) { return Block("\tExecutionFileName\t" + name + "\n"); }

size_t LongestLine(const std::string& text)
{
    size_t longest = 0;
    for (size_t start = 0, end; start < text.size(); start = end + 1) {
        end = std::min(text.find('\n', start), text.size());
        longest = std::max(longest, end - start);
    }
    return longest;
}

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetFake();
        SetLogPath(dir_.File("log.txt").c_str());
        SetLogMaxSize(1 << 24);
        SetLogEnabled(true);
    }
    void TearDown() override { SetLogPath(""); }

    // What each record means to the launcher: file name, arguments, folder, show command,
    // position when set, priority.
    static std::vector<std::string> Records(Executant* head)
    {
        std::vector<std::string> records;
        for (Executant* e = head; e != nullptr; e = e->NextExecutant(head)) {
            std::string text = std::string(e->FileName.Text()) + "|" + e->Arguments.Text() + "|" +
                               e->SettingText(kKeyPath).Text() + "|" + std::to_string(e->ShowCommand());
            if (e->PositionSet()) text += "|" + std::to_string(e->PositionX) + "," + std::to_string(e->PositionY);
            if (e->Priority != 0) text += "|p" + std::to_string(e->Priority);
            records.push_back(text);
        }
        return records;
    }

    std::vector<std::string> Load(const std::string& path)
    {
        Executant* head = LoadSettingsFile(path.c_str());
        const std::vector<std::string> records = Records(head);
        DeleteRing(head);
        return records;
    }

    std::vector<std::string> Messages() const
    {
        std::vector<std::string> texts;
        for (const ShownMessage& m : Fake().messages) texts.push_back(m.text);
        return texts;
    }

    std::string Log() const { return ReadFile(dir_.File("log.txt")); }

    TempDir dir_;
};

}  // namespace

TEST(SettingsLineSplitter, KeysValuesAndBlanks)
{
    const struct {
        const char* line;
        const char* key;
        const char* value;
    } cases[] = {
        {" \t\r\n", "", ""},
        {"\tExecutionFileName\tc:\\a b\\x.exe\r\n", "ExecutionFileName", "c:\\a b\\x.exe"},
        {"ExecutionArguments  -x", "ExecutionArguments", " -x"},
        {"ExecutionArguments\t\t\t-x  \t", "ExecutionArguments", "-x"},
        {"key\t\x01\x02value with  blanks", "key", "value with  blanks"},
        {"lonekey", "lonekey", ""},
        {"\t}", "}", ""},
    };
    for (const auto& c : cases) {
        std::vector<char> buffer(c.line, c.line + std::strlen(c.line) + 1);
        const char* key;
        const char* value;
        SplitSettingsLine(buffer.data(), &key, &value);
        EXPECT_STREQ(c.key, key) << c.line;
        EXPECT_STREQ(c.value, value) << c.line;
    }
}

// Every file keeps the records the reader can make sense of, shows the format message at
// most once, and what it kept saves within one read per line and loads back the same.
TEST_F(SettingsFileTest, ReaderKeepsWhatIsValidAndItSavesBackTheSame)
{
    const std::string a = Named("a.exe"), b = Named("b.exe"), fileName = "\tExecutionFileName\ta.exe\n";
    // An unindented line of exactly 383 bytes whose last byte is "}": saved with its indent
    // it would be one byte longer than one read.
    const std::string path383 = "c:\\" + std::string(365, 'p') + "}", path382 = "c:\\" + std::string(365, 'q');
    const std::string args363(363, 'a'), r368(368, 'r');
    const std::string formatMessage = "ファイル[" + dir_.File("case.ini") + "]の書式が不正です";
    const struct {
        const char* what;
        std::string text;
        std::vector<std::string> records;
        bool formatError;
    } cases[] = {
        {"empty file", "", {}, false},
        {"header only", kHeader, {}, false},
        {"block openers and comments",
         "Executant::RingListClass {\n\tExecutionFileName\ta.exe\n}\n{\n\tExecutionFileName\tb.exe\n}\n"
         "word\t{ more\n\tExecutionFileName\tnot-a-block.exe\n; comment {\n# comment {\n' comment {\nanything {\n"
         "\tExecutionFileName\tc.exe\n; a comment inside a block\n\t;ExecutionArguments\tx\n\n"
         "\tend\t}\nalso ignored\n" + Named("d.exe"),
         {"a.exe|||1", "b.exe|||1", "c.exe|||1", "d.exe|||1"}, false},
        {"a top-level \"}\" ends reading", a + "}\n" + b, {"a.exe|||1"}, false},
        {"a top-level end marker ends reading", a + "--EOF--\n" + b, {"a.exe|||1"}, false},
        {"an end marker inside a block closes it", "{\n" + fileName + "--EOF--\n" + b, {"a.exe|||1", "b.exe|||1"},
         false},
        {"block never closed", a + "{\n\tExecutionFileName\tb.exe\n", {"a.exe|||1"}, true},
        {"missing file name", a + Block("\tExecutionArguments\t-x\n") + b, {"a.exe|||1"}, true},
        {"empty file name", a + Block("\tExecutionFileName\n") + b, {"a.exe|||1"}, true},
        {"last line without line feed", std::string(kHeader) + "{\n" + fileName + "}", {"a.exe|||1"}, false},
        {"CR LF and lone CR line ends",
         "Executant::RingListClass\t{\r\n\tExecutionFileName\ta.exe\r\n\tExecutionPosition\t10,20\r\n}\r\n"
         "{\r\tExecutionFileName\tb.exe\r\tExecutionArguments\t-x\r}\r",
         {"a.exe|||1|10,20", "b.exe|-x||1"}, false},
        {"a NUL byte ends the text of its line", a + Block(std::string("\tExecutionFileName\tb") + '\0' + "x.exe\n"),
         {"a.exe|||1", "b|||1"}, false},
        {"a megabyte line between blocks", a + std::string(1 << 20, 'x') + "\n" + b, {"a.exe|||1", "b.exe|||1"},
         false},
        // The first duplicate reads as nothing; saving drops it, and the second must not take over.
        {"shadowed duplicates",
         Block(fileName + "\tExecutionPriority\tnone\n\tExecutionPriority\t0x0023\n\tExecutionPosition\tabc\n"
                          "\tExecutionPosition\t10,20\n\tExecutionSize\t640,480\n"),
         {"a.exe|||1"}, false},
        {"a 500-byte line is read in 383-byte pieces",
         Block(fileName + "\tExecutionArguments\t" + std::string(480, 'v') + "\n"),
         {"a.exe|" + std::string(363, 'v') + "||1"}, false},
        {"unindented over-long line",
         Block(fileName + "ExecutionPath\t" + path383 + "\n\tExecutionArguments\t-x\n\tExecutionShowMode\t2\n") + b,
         {"a.exe|-x|" + path383 + "|2", "b.exe|||1"}, false},
        {"unindented line that fits one read", Block(fileName + "ExecutionPath\t" + path382 + "\n") + b,
         {"a.exe||" + path382 + "|1", "b.exe|||1"}, false},
        {"the rest of a long line reads \"word }\"",
         Block(fileName + "\tExecutionArguments\t" + args363 + " word }\n\tExecutionPosition\t10,20\n") + b,
         {"a.exe|" + args363 + "||1|10,20", "b.exe|||1"}, false},
        {"the rest of a long line reads \"}\" or \"--EOF--\"",
         Block(fileName + "\tExecutionArguments\t" + args363 + "}\n\tExecutionPath\t" + r368 +
               "--EOF--\n\tExecutionShowMode\t3\n") + b,
         {"a.exe|" + args363 + "|" + r368 + "|3", "b.exe|||1"}, false},
        {"values of exactly \"}\"", Block("\tExecutionArguments\t\t}\n" + fileName + "\tExecutionPath\t}\n") + b,
         {"a.exe|}|}|1", "b.exe|||1"}, false},
        {"a value \" }\" is an ordinary value", Block(fileName + "\tExecutionArguments  }\n") + b,
         {"a.exe| }||1", "b.exe|||1"}, false},
        {"priority and position", Block(fileName + "\tExecutionPriority\t0x0023\n\tExecutionPosition\t10,20\n"),
         {"a.exe|||1|10,20|p35"}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetFake();
        const std::string path = dir_.File("case.ini"), saved = dir_.File("saved.ini");
        WriteFile(path, c.text);
        Executant* head = LoadSettingsFile(path.c_str());
        EXPECT_EQ(c.records, Records(head));
        EXPECT_EQ(c.formatError ? std::vector<std::string>{formatMessage} : std::vector<std::string>{}, Messages());

        ResetFake();
        ASSERT_TRUE(SaveSettingsFile(saved.c_str(), head));
        DeleteRing(head);
        const std::string bytes = ReadFile(saved);
        EXPECT_GE(383u, LongestLine(bytes)) << bytes;
        EXPECT_EQ(c.records, Load(saved)) << bytes;
        EXPECT_TRUE(Messages().empty());
    }
    EXPECT_TRUE(Load(dir_.File("missing.ini")).empty());
    const std::string log = Log();
    for (const std::string& line : std::vector<std::string>
         {"Executer : KeyWord[;ExecutionArguments]は、認識できません.", "Executer : KeyWord[word]は、認識できません.",
          "Executer : KeyWord[" + std::string(117, 'v') + "]", "終了識別子が途中で見つかりました.\n",
          "ExecutionFileNameが定義されていません."})
        EXPECT_NE(std::string::npos, log.find(line)) << line;
}

// The canonical form: header, every record in ring order, defaults and empty entries left out,
// fields written back as text.
TEST_F(SettingsFileTest, WriterCanonicalForm)
{
    const std::string example = Block("\tExecutionFileName\tc:\\windows\\notepad.exe\n\tExecutionPosition\t10,20\n"
                                      "\tExecutionSize\t640,480\n\tExecutionShowMode\t1\n\tExecutionPriority\t0x0023\n");
    const std::string path = dir_.File("in.ini");
    WriteFile(path, kHeader + example +
                        Block("\tExecutionFileName\tC:\\Tools\\Editor.EXE\n\tExecutionFileName\tsecond.exe\n"
                              "\tExecutionPriority\t0x0000\n\tExecutionInputTO\t5000\n\tExecutionShellExec\t2\n"
                              "\tExecutionArguments\t  spaced  \n") +
                        Named("c.exe"));
    Executant* head = LoadSettingsFile(path.c_str());
    ASSERT_EQ(3u, Records(head).size());
    Executant* second = head->NextExecutant(head);
    second->InputTimeout = 0;
    // What an entry looks like whose name could not be stored (an allocation failed).
    second->NextExecutant(head)->Settings.Add(new KeyValueClass(nullptr, nullptr));
    ASSERT_TRUE(SaveSettingsFile(path.c_str(), head));
    DeleteRing(head);
    EXPECT_EQ(kHeader + example +
                  Block("\tExecutionFileName\tc:\\tools\\editor.exe\n\tExecutionFileName\tsecond.exe\n"
                        "\tExecutionInputTO\t0\n\tExecutionShellExec\t1\n\tExecutionArguments\t  spaced\n"
                        "\tExecutionShowMode\t1\n") +
                  Block("\tExecutionFileName\tc.exe\n\tExecutionShowMode\t1\n"),
              ReadFile(path));
    EXPECT_TRUE(Messages().empty());
}

// Values set by the program rather than read: the writer still keeps every line within one
// read, without its indent first, then cut at a character boundary without trailing blanks.
TEST_F(SettingsFileTest, WriterKeepsEveryLineWithinOneRead)
{
    std::string sjis;  // 250 double-byte characters
    for (int i = 0; i < 250; ++i) sjis += "\x83\x41";
    const struct {
        int keyword;
        std::string value;
        std::string line;  // as written, line feed included; read back without it
    } cases[] = {
        {kKeyArguments, std::string(363, 'v'), "\tExecutionArguments\t" + std::string(363, 'v') + "\n"},
        {kKeyArguments, std::string(364, 'v'), "ExecutionArguments\t" + std::string(364, 'v') + "\n"},
        {kKeyArguments, std::string(500, 'v'), "ExecutionArguments\t" + std::string(364, 'v') + "\n"},
        // ExecutionPath, a tab and 369 bytes fill one read; 369 bytes would end inside a character.
        {kKeyPath, sjis, "ExecutionPath\t" + sjis.substr(0, 368) + "\n"},
        {kKeyPath, std::string(360, 'w') + std::string(20, ' ') + "tail", "ExecutionPath\t" + std::string(360, 'w') + "\n"},
    };
    for (const auto& c : cases) {
        Executant* head = new Executant;
        head->FileName.Assign("a.exe");
        ASSERT_EQ(1, head->SetSetting(c.keyword, c.value.c_str()));
        if (c.keyword == kKeyArguments) head->Arguments.Assign(c.value.c_str());
        static_cast<Executant*>(head->InsertAfter(new Executant))->FileName.Assign("b.exe");
        const std::string path = dir_.File("written.ini");
        ASSERT_TRUE(SaveSettingsFile(path.c_str(), head));
        DeleteRing(head);
        const std::string bytes = ReadFile(path);
        EXPECT_NE(std::string::npos, bytes.find("\n" + c.line)) << bytes;
        EXPECT_GE(383u, LongestLine(bytes));

        head = LoadSettingsFile(path.c_str());
        const std::string value = c.line.substr(c.line.find('\t', 1) + 1);
        EXPECT_EQ(value.substr(0, value.size() - 1), head->SettingText(c.keyword).Text());
        EXPECT_EQ(2u, Records(head).size());
        DeleteRing(head);
    }
}

TEST_F(SettingsFileTest, FailedSaveKeepsTheOldFileAndSaysSo)
{
    const std::string path = dir_.File("keep.ini"), old = Named("old.exe");
    WriteFile(path, old);
    Executant record;
    record.FileName.Assign("new.exe");
    const struct {
        const char* what;
        std::string path;
        void (*arrange)();
        const char* message;
    } cases[] = {
        {"name too short", "a.in", [] {}, "ﾌｧｲﾙ名が短すぎます."},
        {"folder missing", dir_.File("no-such-folder/list.ini"), [] {}, kCannotCreate},
        {"replacing fails", path, [] { Fake().failReplace = true; }, kCannotCreate},
        {"no memory for the temporary name", path, [] { g_failFromSize = 0, g_failArmed = true; }, kCannotCreate},
    };
    for (const auto& c : cases) {
        ResetFake();
        c.arrange();
        bool saved = true;
        EXPECT_NO_THROW(saved = SaveSettingsFile(c.path.c_str(), &record)) << c.what;
        EXPECT_FALSE(saved) << c.what;
        EXPECT_EQ(std::vector<std::string>{c.message}, Messages()) << c.what;
        EXPECT_EQ(old, ReadFile(path)) << c.what;
        struct stat info;
        EXPECT_NE(0, stat((path + ".new").c_str(), &info)) << c.what << ": no temporary file is left behind";
    }
    ResetFake();
    EXPECT_TRUE(SaveSettingsFile(path.c_str(), &record));
    EXPECT_EQ(std::vector<std::string>{"new.exe|||1"}, Load(path));

    if (geteuid() != 0) return;
    // A disk that fills up while writing: the written bytes are checked before replacing.
    const std::string tiny = dir_.File("tiny"), list = tiny + "/list.ini";
    mkdir(tiny.c_str(), 0755);
    if (mount("tmpfs", tiny.c_str(), "tmpfs", 0, "size=16k") != 0) return;
    WriteFile(list, old);
    Executant* head = new Executant;
    head->FileName.Assign("first.exe");
    for (int i = 0; i < 2000; ++i) {
        auto* more = new Executant;
        more->FileName.Assign(("c:\\some\\long\\folder\\application" + std::to_string(i) + ".exe").c_str());
        head->InsertBefore(more);
    }
    ResetFake();
    const bool saved = SaveSettingsFile(list.c_str(), head);
    DeleteRing(head);
    const std::string after = ReadFile(list);
    struct stat info;
    const bool temporaryLeft = stat((list + ".new").c_str(), &info) == 0;
    umount(tiny.c_str());
    EXPECT_FALSE(saved);
    EXPECT_EQ(old, after);
    EXPECT_FALSE(temporaryLeft);
    EXPECT_EQ(std::vector<std::string>{kCannotCreate}, Messages());
}

TEST_F(SettingsFileTest, FormatMessageComesEvenWithoutMemoryForItsPath)
{
    std::string folder = dir_.Path();
    while (folder.size() < 600) mkdir((folder += "/" + std::string(100, 'f')).c_str(), 0755);
    const std::string path = folder + "/broken.ini";
    WriteFile(path, Named("a.exe") + "{\n");
    g_failFromSize = path.size();  // only the message text is as long as the path
    g_failArmed = true;
    std::vector<std::string> records;
    EXPECT_NO_THROW(records = Load(path));
    EXPECT_EQ(std::vector<std::string>{"a.exe|||1"}, records);
    EXPECT_EQ(std::vector<std::string>{("ファイル[" + path + "]の書式が不正です").substr(0, 511)}, Messages());
}

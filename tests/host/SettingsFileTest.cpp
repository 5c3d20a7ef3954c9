// The settings file: what the reader keeps of hand-edited and damaged files and what it shows
// and logs about them, that what it kept saves and loads back the same, the writer's canonical
// form and line limit, and that a save that fails never costs the user the old file.
#include <gtest/gtest.h>

#include <csignal>
#include <new>
#include <sys/resource.h>
#include <sys/stat.h>

#include "FakePlatform.h"
#include "Log.h"
#include "SettingsFile.h"
#include "TempDir.h"

namespace {

// The core allocates its text buffers with nothrow new[]. Once armed, the next such allocation
// of at least the given size fails, as it does when memory runs out.
std::size_t g_failFromSize = 0;
bool g_failArmed = false;

const char kHeader[] = ";Lodestay\nFileVersion\t0x0110\n";
const char kCannotCreate[] = "ﾌｧｲﾙが作成できませんでした.";

std::string Block(const std::string& body) { return "Executant::RingListClass\t{\n" + body + "}\n"; }
std::string Named(const std::string& name) { return Block("\tExecutionFileName\t" + name + "\n"); }

// What each record means to the launcher: file name, arguments, folder, show command and
// position when set.
std::vector<std::string> Records(Executant* head)
{
    std::vector<std::string> records;
    for (Executant* e = head; e != nullptr; e = e->NextExecutant(head)) {
        std::string text = std::string(e->FileName.Text()) + "|" + e->Arguments.Text() + "|" +
                           e->SettingText(kKeyPath).Text() + "|" + std::to_string(e->ShowCommand());
        if (e->PositionSet()) text += "|" + std::to_string(e->PositionX) + "," + std::to_string(e->PositionY);
        records.push_back(text);
    }
    return records;
}

}  // namespace

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    if (g_failArmed && size >= g_failFromSize) return g_failArmed = false, nullptr;
    try {
        return ::operator new[](size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

// Every file keeps the records the reader can make sense of and shows the format message at
// most once, and what it kept saves and loads back the same.
TEST(SettingsFileTest, ReaderKeepsWhatIsValidAndItSavesBackTheSame)
{
    TempDir dir;
    SetLogPath(dir.File("log.txt").c_str());
    SetLogMaxSize(1 << 24);
    SetLogEnabled(true);
    const std::string a = Named("a.exe"), b = Named("b.exe"), fileName = "\tExecutionFileName\ta.exe\n";
    // An unindented line of exactly 383 bytes whose last byte is "}": saved with its indent
    // it would be one byte longer than one read.
    const std::string path383 = "c:\\" + std::string(365, 'p') + "}";
    const std::string args363(363, 'a'), r368(368, 'r');
    const std::vector<std::string> formatMessage = {"ファイル[" + dir.File("case.ini") + "]の書式が不正です"};
    const struct {
        const char* what;
        std::string text;
        std::vector<std::string> records;
        bool formatError;
    } cases[] = {
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
         "Executant::RingListClass\t{\r\n\tExecutionFileName\ta.exe\r\n}\r\n"
         "{\r\tExecutionFileName\tb.exe\r\tExecutionArguments\t-x\r}\r", {"a.exe|||1", "b.exe|-x||1"}, false},
        // The first duplicate reads as nothing; saving drops it, and the second must not take over.
        {"shadowed duplicates", Block(fileName + "\tExecutionPosition\tabc\n\tExecutionPosition\t10,20\n"),
         {"a.exe|||1"}, false},
        {"unindented over-long line",
         Block(fileName + "ExecutionPath\t" + path383 + "\n\tExecutionArguments\t-x\n\tExecutionShowMode\t2\n") + b,
         {"a.exe|-x|" + path383 + "|2", "b.exe|||1"}, false},
        {"the rest of a long line reads \"}\" or \"--EOF--\"",
         Block(fileName + "\tExecutionArguments\t" + args363 + "}\n\tExecutionPath\t" + r368 +
               "--EOF--\n\tExecutionShowMode\t3\n") + b,
         {"a.exe|" + args363 + "|" + r368 + "|3", "b.exe|||1"}, false},
        {"values of exactly \"}\"", Block("\tExecutionArguments\t\t}\n" + fileName + "\tExecutionPath\t}\n") + b,
         {"a.exe|}|}|1", "b.exe|||1"}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetFake();
        const std::string path = dir.File("case.ini"), saved = dir.File("saved.ini");
        WriteFile(path, c.text);
        bool complete = false;
        Executant* head = LoadSettingsFile(path.c_str(), &complete);
        EXPECT_EQ(c.records, Records(head));
        EXPECT_EQ(!c.formatError, complete);
        EXPECT_EQ(c.formatError ? formatMessage : std::vector<std::string>{}, Fake().messages);
        ASSERT_TRUE(SaveSettingsFile(saved.c_str(), head));
        DeleteRing(head);
        head = LoadSettingsFile(saved.c_str());
        EXPECT_EQ(c.records, Records(head)) << ReadFile(saved);
        DeleteRing(head);
    }
    const std::string log = ReadFile(dir.File("log.txt"));
    SetLogPath("");
    for (const std::string& line : std::vector<std::string>
         {"Executer : KeyWord[;ExecutionArguments]は、認識できません.", "終了識別子が途中で見つかりました.\n",
          "ExecutionFileNameが定義されていません."})
        EXPECT_NE(std::string::npos, log.find(line)) << line;
}

// The canonical form: header, every record in ring order, defaults, empty entries and unknown
// keywords (they are exact) left out, fields written back as text; of a value, the reader drops
// the control bytes before it and the blanks after it. A value set by the program that does not
// fit one read goes without the indent first, then cut at a character boundary and without the
// blanks at the cut.
TEST(SettingsFileTest, WriterCanonicalForm)
{
    TempDir dir;
    const std::string kept = Block("\tExecutionFileName\tc:\\windows\\notepad.exe\n\tExecutionPosition\t10,20\n"
                                   "\tExecutionSize\t640,480\n\tExecutionShowMode\t1\n\tExecutionPriority\t0x0023\n");
    const std::string path = dir.File("in.ini");
    WriteFile(path, kHeader + kept +
                        Block("\tExecutionFileName\tC:\\Tools\\Editor.EXE\n\tExecutionFileName\tsecond.exe\n"
                              "\tExecutionPriority\t0x0000\n\tExecutionInputTO\t5000\n\tExecutionShellExec\t2\n"
                              "\texecutionposition\t1,2\n\tExecutionArguments\t\x01  spaced  \n") +
                        Named("c.exe"));
    Executant* head = LoadSettingsFile(path.c_str());
    ASSERT_EQ(3u, Records(head).size());
    Executant* second = head->NextExecutant(head);
    Executant* third = second->NextExecutant(head);
    second->InputTimeout = 0;
    second->SetSetting(kKeyPath, (std::string(360, 'w') + std::string(20, ' ') + "tail").c_str());
    const std::string sjis(500, '\x83');  // 250 double-byte characters: 369 bytes would end inside one
    third->SetSetting(kKeyPath, sjis.c_str());
    third->Arguments.Assign(std::string(363, 'v').c_str());
    // What an entry looks like whose name could not be stored (an allocation failed).
    third->Settings.Add(new KeyValueClass(nullptr, "orphan"));
    ASSERT_TRUE(SaveSettingsFile(path.c_str(), head));
    DeleteRing(head);
    EXPECT_EQ(kHeader + kept +
                  Block("\tExecutionFileName\tc:\\tools\\editor.exe\n\tExecutionFileName\tsecond.exe\n"
                        "\tExecutionInputTO\t0\n\tExecutionShellExec\t1\n\tExecutionArguments\t  spaced\n"
                        "ExecutionPath\t" + std::string(360, 'w') + "\n\tExecutionShowMode\t1\n") +
                  Block("\tExecutionFileName\tc.exe\n\tExecutionArguments\t" + std::string(363, 'v') +
                        "\nExecutionPath\t" + std::string(368, '\x83') + "\n\tExecutionShowMode\t1\n"),
              ReadFile(path));
}

// A full disk shows when a record is flushed, or for an empty list only when the file is closed.
TEST(SettingsFileTest, FailedSaveKeepsTheOldFileAndSaysSo)
{
    TempDir dir;
    const std::string path = dir.File("keep.ini"), old = Named("old.exe");
    WriteFile(path, old);
    rlimit fileSize;
    getrlimit(RLIMIT_FSIZE, &fileSize);
    static const rlimit fullDisk = {16, fileSize.rlim_max};  // writes past the first 16 bytes fail
    std::signal(SIGXFSZ, SIG_IGN);
    Executant record;
    const struct {
        const char* what;
        std::string path;
        Executant* head;
        void (*arrange)();
        const char* message;
    } cases[] = {
        {"name too short", "a.in", &record, [] {}, "ﾌｧｲﾙ名が短すぎます."},
        {"folder missing", dir.File("no-such-folder/list.ini"), &record, [] {}, kCannotCreate},
        {"out of memory", path, &record, [] { g_failFromSize = 0, g_failArmed = true; }, kCannotCreate},
        {"disk full", path, &record, [] { setrlimit(RLIMIT_FSIZE, &fullDisk); }, kCannotCreate},
        {"disk full, empty list", path, nullptr, [] { setrlimit(RLIMIT_FSIZE, &fullDisk); }, kCannotCreate},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ResetFake();
        c.arrange();
        EXPECT_FALSE(SaveSettingsFile(c.path.c_str(), c.head));
        setrlimit(RLIMIT_FSIZE, &fileSize);
        EXPECT_EQ(std::vector<std::string>{c.message}, Fake().messages);
        EXPECT_EQ(old, ReadFile(path));
        EXPECT_FALSE(std::ifstream(path + ".new").good()) << "no temporary file is left behind";
    }
}

// The message names the whole path; without memory for that it still comes, cut short.
TEST(SettingsFileTest, FormatMessageComesEvenWithoutMemoryForItsPath)
{
    TempDir dir;
    std::string path = dir.Path();
    while (path.size() < 600) mkdir((path += "/" + std::string(100, 'f')).c_str(), 0755);
    path += "/broken.ini";
    WriteFile(path, Named("a.exe") + "{\n");
    ResetFake();
    DeleteRing(LoadSettingsFile(path.c_str()));
    g_failFromSize = path.size();  // only the message text is as long as the path
    g_failArmed = true;
    DeleteRing(LoadSettingsFile(path.c_str()));
    const std::string message = "ファイル[" + path + "]の書式が不正です";
    EXPECT_EQ((std::vector<std::string>{message, message.substr(0, 511)}), Fake().messages);
}

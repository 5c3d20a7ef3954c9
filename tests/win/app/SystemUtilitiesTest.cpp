// Path checks, the executable-extension list, the command-line runner, the saved directory
// and the system-menu trimming, on the real system.
#include <gtest/gtest.h>
#include <direct.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "AppMessages.h"
#include "Log.h"
#include "SystemUtilities.h"
#include "WinTestSupport.h"

namespace {

const std::string kProbeChild = ProgramBeside("app_probe_child.exe");

TEST(PathChecks, DirectoryAndFile)
{
    TempFolder temp;
    const std::string folder = temp.File("folder"), systemFolder = temp.File("system");
    const std::string plain = temp.File("plain.txt"), readOnly = temp.File("ro.txt"), system = temp.File("sys.txt");
    ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr) && ::CreateDirectoryA(systemFolder.c_str(), nullptr));
    for (const std::string& file : {plain, readOnly, system}) ASSERT_TRUE(WriteTextFile(file, "x"));
    ASSERT_TRUE(::SetFileAttributesA(systemFolder.c_str(), FILE_ATTRIBUTE_SYSTEM));
    ASSERT_TRUE(::SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(::SetFileAttributesA(system.c_str(), FILE_ATTRIBUTE_SYSTEM));
    char root[4] = {temp.Path()[0], ':', '\\', '\0'};
    const struct {
        std::string path;
        int directory, file, readOnly;
    } cases[] = {
        {folder, 1, -10, 0},         {systemFolder, -11, -10, 0}, {plain, -10, 1, 0},
        {readOnly, -10, 1, 1},       {system, -10, -11, 0},       {temp.File("missing"), 0, 0, 0},
    };
    for (const auto& c : cases) {
        UINT driveType = 12345;
        int flag = 7;
        EXPECT_EQ(c.directory, CheckDirectory(c.path.c_str(), &driveType)) << c.path;
        EXPECT_EQ(::GetDriveTypeA(root), driveType) << c.path;
        EXPECT_EQ(c.file, CheckFile(c.path.c_str(), &flag)) << c.path;
        EXPECT_EQ(c.readOnly, flag) << c.path;
    }
}

// The list is read once per process, so every variant runs in a process of its own.
TEST(ExecutableExtensions, ListFromTheEnvironment)
{
    const std::string overlong = "." + std::string(200, 'l') + ";.bat";
    const struct {
        const char* pathent;  // null: not set
        std::vector<const char*> extensions;
        long expected;  // bit i: extension i counts as executable
    } cases[] = {
        {nullptr, {".exe", ".cmd", ".bat", ".com", ".EXE", "exe", ""}, 0x7},
        {".COM;.EXE", {".com", ".exe", ".bat", ".COM"}, 0x3},
        {"ab", {".exe", ".cmd", ".bat", ".ab"}, 0x7},
        {"a.tar.gz;;run.py;.exe", {".gz", ".py", ".exe", ".tar", "run.py", ""}, 0x7},
        {"exe;com", {".exe", ".com"}, 0x0},
        {overlong.c_str(), {".bat", ".lll"}, 0x1},
    };
    for (const auto& c : cases) {
        std::string commandLine = "\"" + kProbeChild + "\" ext";
        for (const char* extension : c.extensions) commandLine += std::string(" \"") + extension + "\"";
        ::SetEnvironmentVariableA("PATHENT", c.pathent);
        EXPECT_EQ(c.expected, RunProgram(commandLine)) << "PATHENT=" << (c.pathent ? c.pathent : "(unset)");
    }
    ::SetEnvironmentVariableA("PATHENT", nullptr);
}

// A program path with a blank starts that program, not the one named by its first word; a
// program that cannot start is shown and logged.
TEST(RunCommandLine, QuotesTheProgramAndReportsFailure)
{
    TempFolder temp;
    const std::string folder = temp.File("a b"), program = folder + "\\child.exe", report = temp.File("where.txt");
    ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr));
    ASSERT_TRUE(::CopyFileA(kProbeChild.c_str(), temp.File("a.exe").c_str(), FALSE));
    ASSERT_TRUE(::CopyFileA(kProbeChild.c_str(), program.c_str(), FALSE));
    const std::string arguments = "where \"" + report + "\"";
    EXPECT_NE(0u, RunCommandLine(nullptr, program.c_str(), arguments.c_str(), folder.c_str(), nullptr, 0));
    for (int i = 0; i < 1000 && ::GetFileAttributesA(report.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) ::Sleep(10);
    EXPECT_EQ(program + "\n" + folder, ReadTextFile(report));

    const std::string log = temp.File("run.log");
    SetLogPath(log.c_str());
    SetLogMaxSize(1 << 20);
    SetLogEnabled(true);
    MessageBoxWatcher watcher;
    EXPECT_EQ(0u, RunCommandLine(nullptr, "C:\\lodestay-missing\\x.exe", "-p", nullptr, nullptr, 0));
    const std::vector<MessageBoxSeen>& boxes = watcher.Stop();
    SetLogPath("");
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(AppText::kSystemErrorCaption, boxes[0].caption);
    EXPECT_FALSE(boxes[0].text.empty());
    // The log is a text file: its line end is CR LF on disk.
    EXPECT_EQ("CreateProcess(C:\\lodestay-missing\\x.exe -p) Failed.\r\n", ReadTextFile(log));
}

TEST(CurrentDirectory, RestoreReturnsToTheSavedDriveAndFolder)
{
    TempFolder temp;
    char original[MAX_PATH], now[MAX_PATH];
    ASSERT_NE(nullptr, _getcwd(original, sizeof(original)));
    ASSERT_EQ(0, _chdir(temp.Path().c_str()));
    SaveCurrentDirectory();
    // The test program's own folder, on another drive under Wine.
    ASSERT_TRUE(::SetCurrentDirectoryA(ProgramBeside("").c_str()));
    RestoreCurrentDirectory();
    ASSERT_NE(nullptr, _getcwd(now, sizeof(now)));
    EXPECT_STREQ(temp.Path().c_str(), now);
    ASSERT_EQ(0, _chdir(original));
}

TEST(TrimSystemMenu, KeepsMoveMinimizeCloseSeparatorsAndSubmenus)
{
    HWND window = ::CreateWindowExA(0, "STATIC", "trim", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                    nullptr, nullptr);
    HMENU menu = ::GetSystemMenu(window, FALSE);
    ASSERT_NE(nullptr, menu);
    ::AppendMenuA(menu, MF_STRING, 0x1230, "custom");
    ::AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(::CreatePopupMenu()), "sub");
    const auto items = [menu] {
        std::vector<UINT> commands;
        for (int i = 0; i < ::GetMenuItemCount(menu); ++i) commands.push_back(::GetMenuItemID(menu, i));
        return commands;
    };
    const std::vector<UINT> before = items();
    for (UINT gone : {UINT(SC_RESTORE), UINT(SC_SIZE), UINT(SC_MAXIMIZE), 0x1230u})
        ASSERT_NE(before.end(), std::find(before.begin(), before.end(), gone));
    // The same items in the same order, less every command but Move, Minimize and Close.
    std::vector<UINT> expected;
    for (UINT command : before)
        if (command == 0 || command == SC_MOVE || command == SC_MINIMIZE || command == SC_CLOSE || command == UINT(-1))
            expected.push_back(command);
    TrimSystemMenu(window);
    EXPECT_EQ(expected, items());
    ::DestroyWindow(window);
}

}  // namespace

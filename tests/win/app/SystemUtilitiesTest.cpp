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

const std::string kProbeChild = WindowsPath(PROBE_CHILD_EXE);

TEST(PathChecks, Directory)
{
    TempFolder temp;
    const std::string folder = temp.File("folder");
    const std::string system = temp.File("system");
    const std::string file = temp.File("file.txt");
    ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA(system.c_str(), nullptr));
    ASSERT_TRUE(::SetFileAttributesA(system.c_str(), FILE_ATTRIBUTE_SYSTEM));
    ASSERT_TRUE(WriteTextFile(file, "x"));

    char root[4] = {temp.Path()[0], ':', '\\', '\0'};
    const UINT expectedType = ::GetDriveTypeA(root);
    struct Case {
        std::string path;
        int result;
    };
    const std::vector<Case> cases = {
        {folder, 1}, {file, -10}, {temp.File("missing"), 0}, {system, -11},
    };
    for (const Case& c : cases) {
        UINT driveType = 12345;
        EXPECT_EQ(c.result, CheckDirectory(c.path.c_str(), &driveType)) << c.path;
        EXPECT_EQ(expectedType, driveType) << c.path;
    }

    // Wine keeps no read-only flag on folders; where the system does, such a folder is unusable.
    ASSERT_TRUE(::SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_READONLY));
    if (::GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_READONLY) {
        UINT driveType;
        EXPECT_EQ(-11, CheckDirectory(folder.c_str(), &driveType));
    }
}

TEST(PathChecks, File)
{
    TempFolder temp;
    const std::string plain = temp.File("plain.txt");
    const std::string readOnly = temp.File("readonly.txt");
    const std::string system = temp.File("system.txt");
    ASSERT_TRUE(WriteTextFile(plain, "x"));
    ASSERT_TRUE(WriteTextFile(readOnly, "x"));
    ASSERT_TRUE(WriteTextFile(system, "x"));
    ASSERT_TRUE(::SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(::SetFileAttributesA(system.c_str(), FILE_ATTRIBUTE_SYSTEM));

    struct Case {
        std::string path;
        int result;
        int readOnly;
    };
    const std::vector<Case> cases = {
        {plain, 1, 0}, {readOnly, 1, 1}, {system, -11, 0}, {temp.Path(), -10, 0}, {temp.File("missing.txt"), 0, 0},
    };
    for (const Case& c : cases) {
        int flag = 7;
        EXPECT_EQ(c.result, CheckFile(c.path.c_str(), &flag)) << c.path;
        EXPECT_EQ(c.readOnly, flag) << c.path;
    }
}

// The list is read once per process, so every variant runs in a process of its own.
TEST(ExecutableExtensions, ListFromTheEnvironment)
{
    const std::string overlong = "." + std::string(200, 'l') + ";.bat";
    struct Case {
        const char* pathent;   // null: not set
        std::vector<const char*> extensions;
        long expected;         // bit i: extension i counts as executable
    };
    const std::vector<Case> cases = {
        {nullptr, {".exe", ".cmd", ".bat", ".com", ".EXE", "exe", ""}, 0x7},
        {".COM;.EXE", {".com", ".exe", ".bat", ".COM"}, 0x3},
        {"ab", {".exe", ".cmd", ".bat", ".ab"}, 0x7},
        {".x", {".x", ".exe"}, 0x2},
        {"a.tar.gz;;run.py;.exe", {".gz", ".py", ".exe", ".tar", "run.py", ""}, 0x7},
        {"exe;com", {".exe", ".com"}, 0x0},
        {overlong.c_str(), {".bat", ".lll"}, 0x1},
    };
    for (const Case& c : cases) {
        std::string commandLine = "\"" + kProbeChild + "\" ext";
        for (const char* extension : c.extensions) commandLine += std::string(" \"") + extension + "\"";
        const std::string environment = EnvironmentWith("PATHENT", c.pathent);
        EXPECT_EQ(c.expected, RunProgram(commandLine, nullptr, environment.c_str()))
            << "PATHENT=" << (c.pathent ? c.pathent : "(unset)");
    }
}

// Polls for a file another process writes, within a bound.
std::string WaitForFile(const std::string& path)
{
    for (int i = 0; i < 1000; ++i) {
        if (::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return ReadTextFile(path);
        ::Sleep(10);
    }
    return "";
}

TEST(RunCommandLine, ProgramPathWithBlankStartsThatProgram)
{
    TempFolder temp;
    // Unquoted, "...\a b\child.exe" would start "...\a.exe" with the rest as its arguments.
    const std::string decoy = temp.File("a.exe");
    const std::string folder = temp.File("a b");
    const std::string program = folder + "\\child.exe";
    ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr));
    ASSERT_TRUE(::CopyFileA(kProbeChild.c_str(), decoy.c_str(), FALSE));
    ASSERT_TRUE(::CopyFileA(kProbeChild.c_str(), program.c_str(), FALSE));

    const std::string report = temp.File("where.txt");
    const std::string arguments = "where \"" + report + "\"";
    EXPECT_NE(0u, RunCommandLine(nullptr, program.c_str(), arguments.c_str(), folder.c_str(), nullptr, 0));
    EXPECT_EQ(program + "\n" + folder, WaitForFile(report));
}

TEST(RunCommandLine, FailureIsShownAndLogged)
{
    TempFolder temp;
    const std::string log = temp.File("run.log");
    SetLogPath(log.c_str());
    SetLogMaxSize(1 << 20);
    SetLogEnabled(true);
    DWORD processId;
    {
        MessageBoxWatcher watcher;
        processId = RunCommandLine(nullptr, "C:\\lodestay-missing\\x.exe", "-p", nullptr, nullptr, 0);
        const std::vector<MessageBoxSeen>& boxes = watcher.Stop();
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ(AppText::kSystemErrorCaption, boxes[0].caption);
        EXPECT_EQ(nullptr, boxes[0].owner);
        EXPECT_STREQ("information", boxes[0].icon);
        EXPECT_FALSE(boxes[0].text.empty());
    }
    SetLogPath("");
    EXPECT_EQ(0u, processId);
    // The log is a text file: its line end is CR LF on disk.
    EXPECT_EQ("CreateProcess(C:\\lodestay-missing\\x.exe -p) Failed.\r\n", ReadTextFile(log));
}

TEST(CurrentDirectory, RestoreReturnsToTheSavedDriveAndFolder)
{
    TempFolder temp;
    char original[MAX_PATH];
    ASSERT_NE(nullptr, _getcwd(original, sizeof(original)));

    ASSERT_EQ(0, _chdir(temp.Path().c_str()));
    SaveCurrentDirectory();
    // The test program's own folder, on another drive under Wine.
    char elsewhere[MAX_PATH];
    ::GetModuleFileNameA(nullptr, elsewhere, sizeof(elsewhere));
    *std::strrchr(elsewhere, '\\') = '\0';
    ASSERT_TRUE(::SetCurrentDirectoryA(elsewhere));
    RestoreCurrentDirectory();

    char now[MAX_PATH];
    ASSERT_NE(nullptr, _getcwd(now, sizeof(now)));
    EXPECT_STREQ(temp.Path().c_str(), now);
    ASSERT_EQ(0, _chdir(original));
}

std::vector<UINT> SystemMenuCommands(HWND window)
{
    std::vector<UINT> commands;
    HMENU menu = ::GetSystemMenu(window, FALSE);
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) commands.push_back(::GetMenuItemID(menu, i));
    return commands;
}

TEST(TrimSystemMenu, KeepsMoveMinimizeCloseSeparatorsAndSubmenus)
{
    HWND window = ::CreateWindowExA(0, "STATIC", "trim", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                    nullptr, nullptr);
    ASSERT_NE(nullptr, window);
    HMENU menu = ::GetSystemMenu(window, FALSE);
    ASSERT_NE(nullptr, menu);
    ::AppendMenuA(menu, MF_STRING, 0x1230, "custom");
    ::AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(::CreatePopupMenu()), "sub");
    const std::vector<UINT> before = SystemMenuCommands(window);
    for (UINT gone : {SC_RESTORE, SC_SIZE, SC_MAXIMIZE, 0x1230})
        ASSERT_NE(before.end(), std::find(before.begin(), before.end(), static_cast<UINT>(gone)));

    TrimSystemMenu(window);

    // The same items in the same order, less every command but Move, Minimize and Close.
    std::vector<UINT> expected;
    for (UINT command : before)
        if (command == 0 || command == SC_MOVE || command == SC_MINIMIZE || command == SC_CLOSE ||
            command == static_cast<UINT>(-1))
            expected.push_back(command);
    EXPECT_EQ(expected, SystemMenuCommands(window));
    EXPECT_NE(expected.end(), std::find(expected.begin(), expected.end(), static_cast<UINT>(-1)));
    ::DestroyWindow(window);
}

}  // namespace

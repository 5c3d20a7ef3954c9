// The platform services on the real system: application message boxes and the system-error
// box read back from the screen, path checks, the command-line runner and the saved
// directory. Which functions each Windows family binds shows in the start-up, guard and
// launch tests that run under both families.
#include <gtest/gtest.h>
#include <direct.h>

#include <cstring>
#include <string>
#include <vector>

#include "AppMessages.h"
#include "Log.h"
#include "Platform.h"
#include "SystemUtilities.h"
#include "WinTestSupport.h"

namespace {

// Boxes are captioned with the program's name and owned by the active window; the system-error
// box is ownerless and shows only for a flag that asks for it.
TEST(AppMessageBox, CaptionIconOwnerAndButton)
{
    ::SetLastError(ERROR_ACCESS_DENIED);
    char* errorText = GetSystemErrorText();
    ASSERT_NE(nullptr, errorText);
    HWND window = ::CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                    nullptr, nullptr, nullptr, nullptr);
    ::SetActiveWindow(window);
    MessageBoxWatcher watcher(IDYES);
    EXPECT_EQ(IDYES, AppMessageBoxF(MB_YESNO | MB_ICONQUESTION, "ファイル[%s]の書式が不正です", "C:\\表\\a b.ini"));
    // The core's seam passes its style straight through.
    EXPECT_EQ(IDYES, PlatformMessageBox("読み込みますか?", kBoxYesNo | kBoxIconInformation));
    ::SetLastError(ERROR_ACCESS_DENIED);
    ShowSystemError(0x100);
    ShowSystemError(1);
    const std::vector<MessageBoxSeen> boxes = watcher.Stop();
    ::DestroyWindow(window);
    const struct {
        std::string caption, text;
        const char* icon;
        HWND owner;
    } expected[] = {
        {"app_win_tests", "ファイル[C:\\表\\a b.ini]の書式が不正です", "question", window},
        {"app_win_tests", "読み込みますか?", "information", window},
        {AppText::kSystemErrorCaption, errorText, "information", nullptr},
    };
    ASSERT_EQ(3u, boxes.size());
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(expected[i].caption, boxes[i].caption);
        EXPECT_EQ(expected[i].text, boxes[i].text);
        EXPECT_STREQ(expected[i].icon, boxes[i].icon);
        EXPECT_EQ(expected[i].owner, boxes[i].owner);
    }
    ::LocalFree(errorText);
    ::SetLastError(0x2000BEEF);
    EXPECT_EQ(nullptr, GetSystemErrorText());
}

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

// A program path with a blank starts that program in its folder, not the one named by its
// first word; a program that cannot start is shown and logged.
TEST(RunCommandLine, QuotesTheProgramAndReportsFailure)
{
    TempFolder temp;
    const std::string folder = temp.File("a b"), program = folder + "\\child.exe", report = temp.File("r.txt");
    ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr));
    ASSERT_TRUE(::CopyFileA(TestAppPath().c_str(), temp.File("a.exe").c_str(), FALSE));
    ASSERT_TRUE(::CopyFileA(TestAppPath().c_str(), program.c_str(), FALSE));
    const std::string arguments = "--report " + report;
    EXPECT_NE(0u, RunCommandLine(nullptr, program.c_str(), arguments.c_str(), folder.c_str(), nullptr, 0));
    Report r = WaitForReport(report);
    EndProcess(ReportedProcessId(r));
    EXPECT_EQ(program, r["module"]);
    EXPECT_EQ(folder, r["cwd"]);

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

}  // namespace

// Application message boxes and the system-error box, read back from the screen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AppMessages.h"
#include "Platform.h"
#include "SystemUtilities.h"
#include "WinTestSupport.h"

namespace {

TEST(AppMessageBox, TitleIsTheProgramNameAndWarningIsTheDefault)
{
    MessageBoxWatcher watcher;
    EXPECT_EQ(IDOK, AppMessageBox("保存ファイル名が不正です."));
    EXPECT_EQ(IDOK, AppMessageBoxF(MB_OK | MB_ICONINFORMATION, "ファイル[%s]の書式が不正です", "C:\\表\\a b.ini"));
    const std::vector<MessageBoxSeen>& boxes = watcher.Stop();
    ASSERT_EQ(2u, boxes.size());
    EXPECT_STREQ("app_win_tests", AppTitle());
    EXPECT_EQ("app_win_tests", boxes[0].caption);
    EXPECT_EQ("保存ファイル名が不正です.", boxes[0].text);
    EXPECT_STREQ("warning", boxes[0].icon);
    EXPECT_EQ(nullptr, boxes[0].owner);
    EXPECT_EQ("ファイル[C:\\表\\a b.ini]の書式が不正です", boxes[1].text);
    EXPECT_STREQ("information", boxes[1].icon);
}

TEST(AppMessageBox, OwnedByTheActiveWindowAndReturnsTheButton)
{
    HWND window = ::CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                    nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, window);
    ::SetActiveWindow(window);
    ASSERT_EQ(window, ::GetActiveWindow());
    {
        MessageBoxWatcher watcher(IDYES);
        // The core's seam passes its style straight through.
        EXPECT_EQ(IDYES, PlatformMessageBox("読み込みますか?", kBoxYesNo | kBoxIconQuestion));
        const std::vector<MessageBoxSeen>& boxes = watcher.Stop();
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ(window, boxes[0].owner);
        EXPECT_STREQ("question", boxes[0].icon);
    }
    ::DestroyWindow(window);
}

TEST(SystemError, TextOfTheLastError)
{
    ::SetLastError(ERROR_FILE_NOT_FOUND);
    char* text = GetSystemErrorText();
    ASSERT_NE(nullptr, text);
    EXPECT_NE('\0', text[0]);
    ::LocalFree(text);

    ::SetLastError(0x2000BEEF);
    EXPECT_EQ(nullptr, GetSystemErrorText());
}

TEST(SystemError, ShownWithoutOwnerOnlyWhenTheLowByteIsSet)
{
    HWND window = ::CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                    nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, window);
    ::SetActiveWindow(window);

    ::SetLastError(ERROR_ACCESS_DENIED);
    char* expected = GetSystemErrorText();
    ASSERT_NE(nullptr, expected);
    std::vector<MessageBoxSeen> boxes;
    {
        MessageBoxWatcher watcher;
        ::SetLastError(ERROR_ACCESS_DENIED);
        ShowSystemError(0x100);
        ShowSystemError(1);
        boxes = watcher.Stop();
    }
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(AppText::kSystemErrorCaption, boxes[0].caption);
    EXPECT_EQ(expected, boxes[0].text);
    EXPECT_EQ(nullptr, boxes[0].owner);
    EXPECT_STREQ("information", boxes[0].icon);
    ::LocalFree(expected);
    ::DestroyWindow(window);
}

}  // namespace

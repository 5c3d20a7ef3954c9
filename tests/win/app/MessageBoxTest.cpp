// Application message boxes and the system-error box, read back from the screen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AppMessages.h"
#include "Platform.h"
#include "SystemUtilities.h"
#include "WinTestSupport.h"

namespace {

TEST(AppMessageBox, CaptionIconOwnerAndButton)
{
    MessageBoxWatcher watcher;
    EXPECT_EQ(IDOK, AppMessageBox("保存ファイル名が不正です."));
    EXPECT_EQ(IDOK, AppMessageBoxF(MB_OK | MB_ICONINFORMATION, "ファイル[%s]の書式が不正です", "C:\\表\\a b.ini"));
    ::SetLastError(ERROR_ACCESS_DENIED);
    char* errorText = GetSystemErrorText();
    ASSERT_NE(nullptr, errorText);

    HWND window = ::CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                    nullptr, nullptr, nullptr, nullptr);
    ::SetActiveWindow(window);
    ASSERT_EQ(window, ::GetActiveWindow());
    ::SetLastError(ERROR_ACCESS_DENIED);
    ShowSystemError(0x100);
    ShowSystemError(1);
    const std::vector<MessageBoxSeen> boxes = watcher.Stop();
    {
        // The core's seam passes its style straight through.
        MessageBoxWatcher yes(IDYES);
        EXPECT_EQ(IDYES, PlatformMessageBox("読み込みますか?", kBoxYesNo | kBoxIconQuestion));
        ASSERT_EQ(1u, yes.Stop().size());
        EXPECT_EQ(window, yes.Stop()[0].owner);
        EXPECT_STREQ("question", yes.Stop()[0].icon);
    }
    ::DestroyWindow(window);

    ASSERT_EQ(3u, boxes.size());
    EXPECT_STREQ("app_win_tests", AppTitle());
    const struct {
        std::string caption, text;
        const char* icon;
    } expected[] = {
        {"app_win_tests", "保存ファイル名が不正です.", "warning"},
        {"app_win_tests", "ファイル[C:\\表\\a b.ini]の書式が不正です", "information"},
        {AppText::kSystemErrorCaption, errorText, "information"},
    };
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(expected[i].caption, boxes[i].caption);
        EXPECT_EQ(expected[i].text, boxes[i].text);
        EXPECT_STREQ(expected[i].icon, boxes[i].icon);
        EXPECT_EQ(nullptr, boxes[i].owner) << "no active window, or an ownerless error box";
    }
    ::LocalFree(errorText);
    ::SetLastError(0x2000BEEF);
    EXPECT_EQ(nullptr, GetSystemErrorText());
}

}  // namespace

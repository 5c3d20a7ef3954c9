// The capture options and test-run dialogs from their templates, and the capture's filter
// and import on windows of this process.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "CaptureOptionsDialog.h"
#include "Executant.h"
#include "ExecutantListDialog.h"
#include "RunningAppFinder.h"
#include "SmallDialogIds.h"
#include "TestRunDialogs.h"
#include "UiScript.h"

namespace {

bool Checked(Dialog& d, int id) { return ::IsDlgButtonChecked(d.Handle(), id) == BST_CHECKED; }
void Click(Dialog& d, int id) { ::SendMessageA(d.Handle(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

TEST(CaptureOptionsDialogTest, ReadsWritesAndEndsAsTheUserChose)
{
    struct Case {
        std::uint32_t word;
        int rebuildClick;  // 0 none, else the radio to click
        int button;
        int result;
        std::uint32_t expected;
        bool skipEnabled;
    } cases[] = {
        // Default word: keep, ignore registered; Enter presses the bulk button.
        {kDefaultCaptureFlags, 0, 0, IDC_CAP_ALL, kDefaultCaptureFlags, true},
        // Rebuild disables 1031 without clearing it, and the word loses the skip bit.
        {kDefaultCaptureFlags, IDC_CAP_REBUILD, IDC_CAP_ALL, IDC_CAP_ALL, 0x10000D50, false},
        // Both list bits open as rebuild; bits without a control are dropped.
        {0x30000022, 0, IDC_CAP_MOUSE, IDC_CAP_MOUSE, 0x10000000, false},
        // Default discards the changes; Cancel then hands back the caller's word.
        {0x10000000, IDC_CAP_DEFAULT, IDCANCEL, IDCANCEL, 0x10000000, true},
    };
    for (const Case& c : cases) {
        CaptureOptionsDialog dialog;
        dialog.flags = c.word;
        UiScript script;
        script.Then([&] {
            if (c.word == kDefaultCaptureFlags) {
                for (int id : {IDC_CAP_KEEP, IDC_CAP_SKIP_REGISTERED, IDC_CAP_TAKE_SIZE, IDC_CAP_ICONIC,
                               IDC_CAP_DISABLED, IDC_CAP_SKIP_PROGMAN, IDC_CAP_SKIP_SELF})
                    EXPECT_TRUE(Checked(dialog, id)) << id;
                for (int id : {IDC_CAP_REBUILD, IDC_CAP_TAKE_PRIORITY, IDC_CAP_ZERO_SIZE, IDC_CAP_UNTITLED})
                    EXPECT_FALSE(Checked(dialog, id)) << id;
            }
            if (c.word & LIST_REBUILD) { EXPECT_FALSE(Checked(dialog, IDC_CAP_SKIP_REGISTERED)); }
            if (c.rebuildClick == IDC_CAP_REBUILD) ::CheckRadioButton(dialog.Handle(), IDC_CAP_REBUILD, IDC_CAP_KEEP, IDC_CAP_REBUILD);
            if (c.rebuildClick != 0) Click(dialog, c.rebuildClick);
            EXPECT_EQ(c.skipEnabled, ::IsWindowEnabled(dialog.Item(IDC_CAP_SKIP_REGISTERED)) != FALSE) << c.word;
            if (c.rebuildClick == IDC_CAP_REBUILD) { EXPECT_TRUE(Checked(dialog, IDC_CAP_SKIP_REGISTERED)); }
            if (c.button == 0) {
                PostKey(dialog.Item(IDC_CAP_TAKE_SIZE), VK_RETURN);
            } else {
                Click(dialog, c.button);
            }
            return true;
        });
        script.Start();
        EXPECT_EQ(c.result, dialog.DoModal(nullptr)) << c.word;
        if (c.result != IDCANCEL) { EXPECT_EQ(c.expected, dialog.flags) << c.word; }
    }
}

TEST(TestRunDialogsTest, OpenWithTheirDefaultsAndHandBackTheChoice)
{
    TestRunDialog run;
    UiScript script;
    script.Then([&] {
        EXPECT_TRUE(Checked(run, IDC_TR_MINIMISE));
        char text[32] = "";
        ::GetDlgItemTextA(run.Handle(), IDC_TR_DELAY, text, sizeof(text));
        EXPECT_STREQ("１秒", text);
        ::CheckRadioButton(run.Handle(), IDC_TR_MINIMISE, IDC_TR_HIDE, IDC_TR_HIDE);
        ::SendDlgItemMessageA(run.Handle(), IDC_TR_DELAY, CB_SETCURSEL, 6, 0);
        Click(run, IDOK);
        return true;
    });
    script.Start();
    ASSERT_EQ(IDOK, run.DoModal(nullptr));
    EXPECT_EQ(1, run.windowTreatment);
    EXPECT_EQ(10000u, TestRunDialog::DelayMs(run.delayIndex));
    EXPECT_EQ(500u, TestRunDialog::DelayMs(0));
    EXPECT_EQ(8000u, TestRunDialog::DelayMs(5));
    EXPECT_EQ(10000u, TestRunDialog::DelayMs(7));

    // All three boxes checked: OK hands them back, Esc the initial WM_QUIT alone.
    for (int key : {0, VK_ESCAPE}) {
        TestEndDialog end;
        UiScript endScript;
        endScript.Then([&] {
            EXPECT_EQ(2u, (Checked(end, IDC_TE_POST_CLOSE) ? 1u : 0u) | (Checked(end, IDC_TE_POST_QUIT) ? 2u : 0u) |
                              (Checked(end, IDC_TE_TERMINATE) ? 4u : 0u));
            EXPECT_TRUE(::GetWindowLongPtrA(end.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
            EXPECT_EQ(end.Handle(), ::GetForegroundWindow());
            for (int id : {IDC_TE_POST_CLOSE, IDC_TE_POST_QUIT, IDC_TE_TERMINATE}) ::CheckDlgButton(end.Handle(), id, 1);
            return true;
        });
        // The caption keeps flashing: the 1 s timer ticks while the dialog waits.
        DWORD shown = 0;
        endScript.Then([&] { return (shown != 0 || (shown = ::GetTickCount()) != 0) && ::GetTickCount() - shown > 1100; });
        endScript.Then([&] {
            if (key == 0) Click(end, IDOK);
            else PostKey(::GetFocus(), key);
            return true;
        });
        endScript.Start();
        end.DoModal(nullptr);
        EXPECT_EQ(key == 0 ? 7u : 2u, end.Methods());
    }
}

// Windows of this process in every state the filter looks at, picked with reporting on.
TEST(RunningAppFinderTest, FilterExplainsEachRejectionAndImportMendsItsFaults)
{
    HWND owner = ::CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    auto make = [&](const char* title, DWORD style, int w, HWND parent = nullptr) {
        return ::CreateWindowExA(0, "STATIC", title, style, 100, 120, w, w > 0 ? 200 : 0, parent, nullptr, nullptr, nullptr);
    };
    const DWORD shown = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    HWND minimised = make("min", shown, 300);
    ::ShowWindow(minimised, SW_SHOWMINIMIZED);
    struct Case {
        HWND window;
        std::uint32_t options;
        const char* message;  // null: accepted
    } cases[] = {
        {make("owned", shown, 300, owner), kDefaultCaptureFlags, "ｵｰﾅを持つｳｨﾝﾄﾞｳですので取り込みできません."},
        {make("off", shown | WS_DISABLED, 300), 0, "ﾏｳｽ･ｷｰﾎﾞｰﾄﾞｲﾍﾞﾝﾄを受け付けないｳｨﾝﾄﾞｳですので取り込みできません."},
        {make("hidden", WS_OVERLAPPEDWINDOW, 300), kDefaultCaptureFlags, "ﾋﾞｼﾞﾌﾞﾙ属性を持たないｳｨﾝﾄﾞｳですので取り込みできません."},
        {make("", shown, 300), kDefaultCaptureFlags, "ﾀｲﾄﾙが未設定のｳｨﾝﾄﾞｳですので取り込みできません."},
        {make("zero", WS_POPUP | WS_VISIBLE, 0), kDefaultCaptureFlags, "ｳｨﾝﾄﾞｳｻｲｽﾞが０ですので取り込みできません."},
        {minimised, 0, "ｱｲｺﾝ状態ですので取り込みできません."},
        {make("self", shown, 300), kDefaultCaptureFlags, "自分自身を指定しています."},
        // Without SKIP_SELF our own windows show what the import makes of a window.
        {minimised, CAPTURE_ICONIC | TAKE_SIZE | TAKE_PRIORITY, nullptr},
    };
    for (const Case& c : cases) {
        RunningAppFinder finder;
        UiScript script;
        Executant* found = nullptr;
        if (c.message != nullptr) script.Answer(IDOK);
        script.Start();
        found = finder.FindAtWindow(c.window, c.options);
        if (c.message != nullptr) {
            EXPECT_EQ(nullptr, found);
            ASSERT_EQ(1u, script.BoxTexts().size());
            EXPECT_EQ(c.message, script.BoxTexts()[0]);
            continue;
        }
        ASSERT_NE(nullptr, found);
        // Minimised, the size is the restored one, not the caption bar's.
        EXPECT_EQ(2, found->SettingNumber(kKeyShowMode));
        EXPECT_EQ(100, found->PositionX);
        EXPECT_EQ(120, found->PositionY);
        EXPECT_EQ(300, found->Width);
        EXPECT_EQ(200, found->Height);
        EXPECT_EQ(1, found->HasSize);
        EXPECT_EQ(0x20u, found->Priority);
        char own[MAX_PATH] = "";
        ::GetModuleFileNameA(nullptr, own, sizeof(own));
        EXPECT_STRCASEEQ(own, found->FileName.Text());
        DeleteRing(found);
    }
    // A process handle without module access is a failure with an empty path, not garbage.
    RunningAppFinder finder;
    char path[MAX_PATH];
    std::memset(path, 'x', sizeof(path));
    EXPECT_FALSE(finder.GetModulePathNt(::GetCurrentThread(), path, false));
    EXPECT_EQ('\0', path[0]);
    ::DestroyWindow(owner);
}

}  // namespace

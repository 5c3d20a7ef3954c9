// The capture's filter and import on windows of this process, where the system reads the
// true restored rectangle.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Executant.h"
#include "ExecutantListDialog.h"
#include "RunningAppFinder.h"
#include "UiScript.h"

namespace {

// Every rejection of the pick explains itself; a window that passes is imported as it is.
TEST(RunningAppFinderTest, FilterExplainsEachRejectionAndImportMendsItsFaults)
{
    HWND owner = ::CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    auto make = [&](const char* title, DWORD style, int w, HWND parent = nullptr) {
        return ::CreateWindowExA(0, "STATIC", title, style, 100, 120, w, w / 3 * 2, parent, nullptr, nullptr, nullptr);
    };
    const DWORD shown = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    HWND minimised = make("min", shown, 300);
    ::ShowWindow(minimised, SW_SHOWMINIMIZED);
    struct Case { HWND window; std::uint32_t options; const char* message; } cases[] = {  // message null: accepted
        {make("owned", shown, 300, owner), kDefaultCaptureFlags, "ｵｰﾅを持つｳｨﾝﾄﾞｳですので取り込みできません."},
        {make("off", shown | WS_DISABLED, 300), 0, "ﾏｳｽ･ｷｰﾎﾞｰﾄﾞｲﾍﾞﾝﾄを受け付けないｳｨﾝﾄﾞｳですので取り込みできません."},
        {make("hidden", WS_OVERLAPPEDWINDOW, 300), kDefaultCaptureFlags, "ﾋﾞｼﾞﾌﾞﾙ属性を持たないｳｨﾝﾄﾞｳですので取り込みできません."},
        {make("", shown, 300), kDefaultCaptureFlags, "ﾀｲﾄﾙが未設定のｳｨﾝﾄﾞｳですので取り込みできません."},
        {make("zero", WS_POPUP | WS_VISIBLE, 0), kDefaultCaptureFlags, "ｳｨﾝﾄﾞｳｻｲｽﾞが０ですので取り込みできません."},
        {minimised, 0, "ｱｲｺﾝ状態ですので取り込みできません."},
        {make("self", shown, 300), kDefaultCaptureFlags, "自分自身を指定しています."},
        {minimised, CAPTURE_ICONIC | TAKE_SIZE | TAKE_PRIORITY, nullptr},
    };
    for (const Case& c : cases) {
        RunningAppFinder finder;
        UiScript script;
        if (c.message != nullptr) script.Answer(IDOK);
        script.Start();
        Executant* found = finder.FindAtWindow(c.window, c.options);
        EXPECT_EQ(c.message == nullptr, found != nullptr);
        EXPECT_EQ(c.message ? c.message : "", script.Boxes().empty() ? "" : script.Boxes()[0].text);
        if (found == nullptr) continue;
        // Minimised, the size is the restored one, not the caption bar's.
        EXPECT_EQ((std::vector<int>{2, 100, 120, 300, 200, 1, 0x20}),
                  (std::vector<int>{found->SettingNumber(kKeyShowMode), found->PositionX, found->PositionY,
                                    found->Width, found->Height, found->HasSize, static_cast<int>(found->Priority)}));
        DeleteRing(found);
    }
    // A handle without module access is a failure with an empty path, not garbage.
    char path[MAX_PATH];
    std::memset(path, 'x', sizeof(path));
    EXPECT_FALSE(RunningAppFinder().GetModulePathNt(::GetCurrentThread(), path, false));
    EXPECT_EQ('\0', path[0]);
    ::DestroyWindow(owner);
}

}  // namespace

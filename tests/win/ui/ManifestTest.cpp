// The application manifest, which this program carries from the program's resource script:
// the system reads its DPI settings and loads Common Controls 6, and in ui_tests_scaled (144
// DPI, where Wine honours DPI manifests, and Windows 10 reported) the process gets the
// awareness and the version that the manifest asks for.
// The functions asked about are newer than the Windows XP that the program is built for.
#undef WINVER
#undef _WIN32_WINNT
#define WINVER 0x0A00
#define _WIN32_WINNT 0x0A00
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

TEST(Manifest, IsReadWithCommonControls6AndGivesTheDeclaredAwareness)
{
    wchar_t awareness[64] = L"", aware[64] = L"";
    SIZE_T length = 0;
    QueryActCtxSettingsW(0, nullptr, L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness",
                         awareness, 64, &length);
    QueryActCtxSettingsW(0, nullptr, L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware", aware, 64,
                         &length);
    EXPECT_EQ(std::wstring(L"PerMonitorV2, PerMonitor / true/pm"), std::wstring(awareness) + L" / " + aware);
    // Wine's version 6 still calls itself 5.81: tell it by what only version 6 does.
    HWND button = ::CreateWindowA(WC_BUTTONA, "OK", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
    SIZE ideal = {};
    EXPECT_TRUE(::SendMessageA(button, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)));
    ::DestroyWindow(button);
    if (std::getenv("LODESTAY_EXPECT_DPI") == nullptr) return;  // Wine makes every process per-monitor aware

    // Windows 10 from 1703 gives PerMonitorV2. Wine 8 knows the name but cannot give that
    // context, and then takes no later name of the list: the process stays unaware, which under
    // Wine scales no coordinate (only a thread switched to the unaware context sees scaling).
    const DPI_AWARENESS_CONTEXT v2 = DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2;
    const DPI_AWARENESS_CONTEXT expected = ::IsValidDpiAwarenessContext(v2) ? v2 : DPI_AWARENESS_CONTEXT_UNAWARE;
    EXPECT_TRUE(::AreDpiAwarenessContextsEqual(expected, ::GetThreadDpiAwarenessContext()));
    // Without the supportedOS list, Windows 8.1 and later (and Wine) would say 6.2.
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    ::GetVersionExA(&version);
    EXPECT_EQ(10u, version.dwMajorVersion);
}

}  // namespace

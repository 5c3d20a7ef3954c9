// lodestay-testapp: a small window program that the launcher's tests start. It writes what
// it was given (command line, folder, priorities, desktop) and what became of its window to
// the report file named with --report: at start, when asked (kReportRequest), after
// --report-after, on WM_CLOSE and when it ends.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "TestAppMessages.h"
#include "TestAppOptions.h"

namespace {

TestAppOptions g_options;
HWND g_main = nullptr;    // the window the launcher should find (or must not find)
HWND g_owner = nullptr;   // the invisible owner in --owned mode
LARGE_INTEGER g_started;
LARGE_INTEGER g_ready;
LARGE_INTEGER g_shown;  // zero until the main window was shown
LARGE_INTEGER g_placed;  // the last time someone asked to move or show it after that
LARGE_INTEGER g_frequency;
bool g_readyNoted = false;
HWND g_splash = nullptr;
RECT g_ownRect = {};   // where the program itself put its main window
RECT g_lastRect = {};
int g_moves = 0;       // changes of its place or size after it was shown
bool g_movingBack = false;
bool g_movedBack = false;

constexpr UINT_PTR kReportTimer = 2;
constexpr UINT_PTR kWindowTimer = 3;
constexpr UINT_PTR kStartReportTimer = 4;
constexpr UINT_PTR kMoveBackTimer = 5;

void AppendWindow(std::string& text, const char* prefix, HWND window)
{
    char line[512];
    if (window == nullptr) {
        std::snprintf(line, sizeof line, "%s.exists=0\n", prefix);
        text += line;
        return;
    }
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    ::GetWindowPlacement(window, &placement);
    RECT rect = {};
    ::GetWindowRect(window, &rect);
    const RECT& n = placement.rcNormalPosition;
    std::snprintf(line, sizeof line,
                  "%s.exists=1\n%s.handle=0x%llX\n%s.visible=%d\n%s.showcmd=%u\n%s.iconic=%d\n%s.zoomed=%d\n"
                  "%s.normal=%ld,%ld,%ld,%ld\n%s.rect=%ld,%ld,%ld,%ld\n",
                  prefix, prefix, static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)), prefix,
                  ::IsWindowVisible(window) ? 1 : 0, prefix, placement.showCmd, prefix, ::IsIconic(window) ? 1 : 0,
                  prefix, ::IsZoomed(window) ? 1 : 0, prefix, n.left, n.top, n.right - n.left, n.bottom - n.top,
                  prefix, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    text += line;
}

void Report(const char* event)
{
    std::string text = ProcessFacts();
    char line[256];
    std::snprintf(line, sizeof line,
                  "event=%s\ntitle=%s\nfrequency=%lld\nstarted=%lld\nready=%lld\nshown=%lld\nplaced=%lld\n"
                  "window.moves=%d\n",
                  event, g_options.title.c_str(), g_frequency.QuadPart, g_started.QuadPart,
                  g_readyNoted ? g_ready.QuadPart : 0LL, g_shown.QuadPart, g_placed.QuadPart, g_moves);
    text += line;
    AppendWindow(text, "window", g_main);
    text += "end=1\n";
    WriteReportFile(g_options.report, text);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(window, &paint);
        RECT client;
        ::GetClientRect(window, &client);
        HFONT font = ::CreateFontA(28, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
        HGDIOBJ old = ::SelectObject(dc, font);
        ::SetBkMode(dc, TRANSPARENT);
        char text[512];
        ::GetWindowTextA(window, text, sizeof text);
        ::DrawTextA(dc, text, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        ::SelectObject(dc, old);
        ::DeleteObject(font);
        ::EndPaint(window, &paint);
        return 0;
    }
    case kReportRequest:
        Report("request");
        return 1;
    case WM_WINDOWPOSCHANGING:
        if (window == g_main && g_shown.QuadPart != 0) ::QueryPerformanceCounter(&g_placed);
        break;
    case WM_WINDOWPOSCHANGED: {
        RECT rect;
        if (window != g_main || g_shown.QuadPart == 0 || !::GetWindowRect(window, &rect) || ::EqualRect(&rect, &g_lastRect)) {
            break;
        }
        g_lastRect = rect;
        ++g_moves;
        // Like a program that restores its own saved place: once, a while after the launcher
        // moved it.
        if (g_options.moveBackMs > 0 && !g_movingBack && !g_movedBack) {
            g_movedBack = true;
            ::SetTimer(window, kMoveBackTimer, g_options.moveBackMs, nullptr);
        }
        break;
    }
    case WM_TIMER:
        if (wParam == kReportTimer) {
            ::KillTimer(window, kReportTimer);
            Report("timer");
            return 0;
        }
        if (wParam == kMoveBackTimer) {
            ::KillTimer(window, kMoveBackTimer);
            g_movingBack = true;
            ::SetWindowPos(window, nullptr, g_ownRect.left, g_ownRect.top, g_ownRect.right - g_ownRect.left,
                           g_ownRect.bottom - g_ownRect.top, SWP_NOZORDER | SWP_NOACTIVATE);
            g_movingBack = false;
            return 0;
        }
        if (wParam == kStartReportTimer) {
            ::KillTimer(window, kStartReportTimer);
            Report("start");
            return 0;
        }
        break;
    case WM_CLOSE:
        Report("close");
        ::DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        if (window == g_main) ::PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

void CreateMainWindow(HINSTANCE instance, int showCommand)
{
    const char* title = g_options.title.empty() ? "lodestay-testapp" : g_options.title.c_str();
    const DWORD exStyle = g_options.topmost ? WS_EX_TOPMOST : 0;
    int x = CW_USEDEFAULT, y = CW_USEDEFAULT, w = CW_USEDEFAULT, h = CW_USEDEFAULT;
    if (g_options.fixed) {
        x = g_options.fixedRect[0];
        y = g_options.fixedRect[1];
        w = g_options.fixedRect[2];
        h = g_options.fixedRect[3];
    }
    if (g_options.owned) {
        g_owner = ::CreateWindowExA(0, kTestAppClass, "owner", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    }
    const DWORD style = g_options.popup ? WS_POPUP : WS_OVERLAPPEDWINDOW;
    g_main = ::CreateWindowExA(exStyle, kTestAppClass, title, style, x, y, w, h, g_owner, nullptr, instance, nullptr);
    if (g_options.child) {
        ::CreateWindowExA(0, "BUTTON", "child", WS_CHILD | WS_VISIBLE, 10, 10, 160, 60, g_main, nullptr, instance,
                          nullptr);
    }
    if (!g_options.hidden) {
        // --fixed ignores what the launcher asked for, so only a direct placement can move it.
        ::ShowWindow(g_main, g_options.fixed ? SW_SHOWNORMAL : showCommand);
        ::GetWindowRect(g_main, &g_ownRect);
        g_lastRect = g_ownRect;
        ::QueryPerformanceCounter(&g_shown);
        ::UpdateWindow(g_main);
    }
    for (int i = 0; i < g_options.extraWindows; ++i) {
        HWND extra = ::CreateWindowExA(0, kTestAppClass, "extra", WS_OVERLAPPEDWINDOW, 10 * (i % 50), 10 * (i / 50),
                                       120, 80, nullptr, nullptr, instance, nullptr);
        ::ShowWindow(extra, SW_SHOWNOACTIVATE);
    }
    // Reported once the launcher had a moment to place the window.
    ::SetTimer(g_main, kStartReportTimer, 100, nullptr);
    if (g_options.reportAfterMs > 0) ::SetTimer(g_main, kReportTimer, g_options.reportAfterMs, nullptr);
}

LONG WINAPI EndAtOnce(EXCEPTION_POINTERS*) { return EXCEPTION_EXECUTE_HANDLER; }

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    ::QueryPerformanceCounter(&g_started);
    ::QueryPerformanceFrequency(&g_frequency);
    std::vector<std::string> args = SplitCommandLine(::GetCommandLineA());
    if (!args.empty()) args.erase(args.begin());
    g_options = ParseTestAppOptions(args);
    if (!g_options.load.empty()) ::LoadLibraryA(g_options.load.c_str());

    if (g_options.exitAtOnce) {
        Report("exit");
        return 0;
    }
    if (g_options.crash) {
        Report("crash");
        // Ends at once, as where no crash reporter runs; Wine would attach its debugger,
        // which holds the dying process for a varying time.
        ::SetUnhandledExceptionFilter(EndAtOnce);
        // Through a volatile pointer, so that the compiler cannot drop or trap the write itself.
        int* volatile nowhere = nullptr;
        *nowhere = 1;
    }
    if (g_options.busyMs > 0) ::Sleep(g_options.busyMs);  // not waiting for input: not idle

    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;  // the centred title is redrawn after a resize
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kTestAppClass;
    ::RegisterClassA(&windowClass);

    MSG message;
    ::PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);  // a message queue from the start
    UINT_PTR windowTimer = 0;
    if (g_options.noWindow) {
        Report("start");
    } else if (g_options.windowDelayMs > 0 || g_options.splashMs > 0) {
        if (g_options.splashMs > 0) {
            g_splash = ::CreateWindowExA(0, kTestAppClass, "splash", WS_POPUP | WS_BORDER, 200, 200, 320, 160, nullptr,
                                         nullptr, instance, nullptr);
            ::ShowWindow(g_splash, SW_SHOWNORMAL);
        }
        windowTimer = ::SetTimer(nullptr, kWindowTimer, std::max(g_options.windowDelayMs, g_options.splashMs), nullptr);
    } else {
        CreateMainWindow(instance, showCommand);
        // Gone before the launcher can look for it; the queue still makes the program idle.
        if (g_options.closeAtOnce) ::PostMessageA(g_main, WM_CLOSE, 0, 0);
    }
    UINT_PTR lifetimeTimer = 0;
    if (g_options.lifetimeMs > 0) lifetimeTimer = ::SetTimer(nullptr, 0, g_options.lifetimeMs, nullptr);

    ::PostThreadMessageA(::GetCurrentThreadId(), WM_NULL, 0, 0);
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!g_readyNoted) {
            ::QueryPerformanceCounter(&g_ready);
            g_readyNoted = true;
        }
        if (message.hwnd == nullptr && message.message == WM_TIMER) {
            if (message.wParam == windowTimer && windowTimer != 0) {
                ::KillTimer(nullptr, windowTimer);
                windowTimer = 0;
                if (g_splash != nullptr) ::DestroyWindow(g_splash);
                CreateMainWindow(instance, showCommand);
                continue;
            }
            if (message.wParam == lifetimeTimer && lifetimeTimer != 0) break;
        }
        if (message.hwnd == nullptr && message.message == kReportRequest) Report("request");
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    Report("exit");
    return 0;
}

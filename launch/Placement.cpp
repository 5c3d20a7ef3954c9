// Placing a launched program's window at its registered place, or on the nearest monitor
// when that place lies on none.
#include "Placement.h"

#include <algorithm>

#include "Executant.h"

namespace {

// Registered numbers may be anything a hand-edited file holds: the far edge is worked out
// wide and limited to what a rectangle can hold.
LONG FarEdge(int from, int extent)
{
    const long long edge = static_cast<long long>(from) + std::max(extent, 0);
    return static_cast<LONG>(std::min<long long>(edge, 0x7FFFFFFF));
}

BOOL CALLBACK AddMonitor(HMONITOR handle, HDC, RECT*, LPARAM monitors)
{
    MONITORINFO info;
    info.cbSize = sizeof info;
    if (::GetMonitorInfoA(handle, &info)) {
        reinterpret_cast<std::vector<MonitorArea>*>(monitors)->push_back({info.rcMonitor, info.rcWork});
    }
    return TRUE;
}

}  // namespace

RegisteredPlace RegisteredPlaceOf(const Executant& executant)
{
    return {executant.PositionSet(), executant.PositionX, executant.PositionY,
            executant.SizeSet(),     executant.Width,     executant.Height,
            executant.ShowCommand()};
}

std::vector<MonitorArea> ReadMonitors()
{
    std::vector<MonitorArea> monitors;
    ::EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

RegisteredPlace VisiblePlace(const RegisteredPlace& registered, HWND window, const std::vector<MonitorArea>& monitors)
{
    // Without a position the program chose where the window stands.
    if (!registered.hasPosition || monitors.empty()) return registered;
    int width = registered.width;
    int height = registered.height;
    if (!registered.hasSize) {
        RECT own;
        if (!::GetWindowRect(window, &own)) return registered;
        width = own.right - own.left;
        height = own.bottom - own.top;
    }
    const RECT rect = {registered.x, registered.y, FarEdge(registered.x, width), FarEdge(registered.y, height)};
    // What MonitorFromRect answers (the monitor the rectangle meets, else the nearest one),
    // from the monitors read once: asked of the system, that question costs several
    // milliseconds under Wine right after each program's start.
    const MonitorArea* nearest = nullptr;
    long long nearestDistance = 0;
    for (const MonitorArea& area : monitors) {
        const RECT& m = area.monitor;
        // An empty rectangle meets nothing; its corner tells where it stands.
        const bool empty = rect.right == rect.left || rect.bottom == rect.top;
        RECT common;
        if (empty ? ::PtInRect(&m, {rect.left, rect.top}) != FALSE : ::IntersectRect(&common, &rect, &m) != FALSE) {
            return registered;
        }
        const long long dx = std::max({0LL, static_cast<long long>(m.left) - rect.right, static_cast<long long>(rect.left) - m.right});
        const long long dy = std::max({0LL, static_cast<long long>(m.top) - rect.bottom, static_cast<long long>(rect.top) - m.bottom});
        if (nearest == nullptr || dx * dx + dy * dy < nearestDistance) {
            nearest = &area;
            nearestDistance = dx * dx + dy * dy;
        }
    }
    const RECT& work = nearest->work;
    // The nearest point of the work area: the window moves as little as it can.
    RegisteredPlace place = registered;
    const int fitWidth = std::min<long long>(std::max(width, 0), work.right - work.left);
    const int fitHeight = std::min<long long>(std::max(height, 0), work.bottom - work.top);
    if (registered.hasSize || fitWidth != width || fitHeight != height) {
        place.hasSize = true;
        place.width = fitWidth;
        place.height = fitHeight;
    }
    place.x = std::clamp<LONG>(registered.x, work.left, work.right - fitWidth);
    place.y = std::clamp<LONG>(registered.y, work.top, work.bottom - fitHeight);
    return place;
}

DWORD PlaceWindow(const RegisteredPlace& place, HWND window, bool again)
{
    // Z order and activation are left alone: the user may be working in another window.
    // Moving a minimised or maximised window moves its minimised or maximised frame, and
    // showing it again in the state it already has changes nothing: a window that the
    // start-up block had maximised would stay maximised in a frame of the registered size.
    // Such a window is restored first, so that the registered place becomes its own.
    //
    // The requests are handed to the window's own thread, which carries them out in the
    // order they were made, instead of being waited for: a program that shows its window and
    // then stops answering for a while (loading its files, say) would otherwise hold up the
    // launcher, and with it every program after it in the list, until it answers again.
    if (again || ::IsIconic(window) || ::IsZoomed(window)) ::ShowWindowAsync(window, SW_SHOWNOACTIVATE);
    if (place.hasPosition) {
        ::SetWindowPos(window, nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_ASYNCWINDOWPOS);
    }
    if (place.hasSize) {
        ::SetWindowPos(window, nullptr, 0, 0, place.width, place.height, SWP_NOMOVE | SWP_NOZORDER | SWP_ASYNCWINDOWPOS);
    }
    ::ShowWindowAsync(window, place.showCommand);
    return ::GetWindowThreadProcessId(window, nullptr);
}

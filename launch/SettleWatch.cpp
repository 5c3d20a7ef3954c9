// The settle watch: the windows placed in the last few seconds, looked at between launches
// and while the engine waits, and placed again when their program moved them away or showed
// another window in their stead.
#include "SettleWatch.h"

#include <algorithm>
#include <string>
#include <vector>

#include "Executant.h"
#include "LaunchSleep.h"
#include "Placement.h"
#include "WindowSearch.h"

namespace {

struct Watch {
    RegisteredPlace place;  // the registered place, moved onto a monitor once that was asked
    bool onMonitor;         // whether it was
    HWND window;
    DWORD processId;
    // Shell mode: a copy of this program started since the launch began may show the window
    // that takes this one's place.
    std::string modulePath;
    ULONGLONG launchBegan;
    unsigned placedAt;       // on the engine's clock: the first placement of this window
    unsigned lastPlacedAt;   // and the latest one
    bool stood;              // seen where it was put since then
    int placedAgain;         // the same window, after its program moved it
    int followed;            // windows that took the place of the one placed first
};

std::vector<Watch> g_watches;
unsigned g_lastCheck = 0;
// Read at the first look that needs them and kept while windows are watched, that is for one
// list's launches; a monitor that comes or goes meanwhile counts from the next list on.
std::vector<MonitorArea> g_monitors;

bool Expired(const Watch& watch, unsigned now) { return now - watch.placedAt >= kSettlePeriod; }

// Visible and unowned, as the window search wants them, and not the one that went away.
struct Successor {
    const Watch* watch;
    HWND found;
};

BOOL CALLBACK FindSuccessor(HWND window, LPARAM parameter)
{
    Successor* successor = reinterpret_cast<Successor*>(parameter);
    const Watch& watch = *successor->watch;
    DWORD processId = 0;
    if (window == watch.window || ::GetWindowThreadProcessId(window, &processId) == 0) return TRUE;
    const bool sameProgram = processId == watch.processId ||
                             (!watch.modulePath.empty() &&
                              RunsModuleSince(processId, watch.modulePath.c_str(), watch.launchBegan));
    if (!sameProgram || !::IsWindowVisible(window) || ::GetWindow(window, GW_OWNER) != nullptr) return TRUE;
    successor->found = window;
    return FALSE;
}

bool ProcessEnded(DWORD processId)
{
    HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (process == nullptr) return true;
    const bool ended = ::WaitForSingleObject(process, 0) != WAIT_TIMEOUT;
    ::CloseHandle(process);
    return ended;
}

// Whether the window stands where and as it was put. The restored rectangle of a minimised
// or maximised window cannot be read from another process everywhere (Wine gives the current
// one), so for those the state alone counts.
bool Stands(HWND window, LONG style, const RegisteredPlace& place)
{
    const bool minimised = (style & WS_MINIMIZE) != 0;
    const bool maximised = (style & WS_MAXIMIZE) != 0;
    if (minimised != (place.showCommand == SW_SHOWMINIMIZED) || maximised != (place.showCommand == SW_SHOWMAXIMIZED)) {
        return false;
    }
    if (minimised || maximised) return true;
    RECT rect;
    if (!::GetWindowRect(window, &rect)) return true;
    if (place.hasPosition && (rect.left != place.x || rect.top != place.y)) return false;
    return !place.hasSize || (rect.right - rect.left == place.width && rect.bottom - rect.top == place.height);
}

// The user's own move or resize wins: such a window is no longer watched.
bool UserMovesIt(HWND window)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info) && (info.flags & GUI_INMOVESIZE);
}

// Hands the placement requests over; the window is taken to be on its way there until seen.
void Put(Watch& watch, HWND window, unsigned now, bool again)
{
    PlaceWindow(watch.place, window, again);
    watch.window = window;
    watch.lastPlacedAt = now;
    watch.stood = false;
}

// False when the watch is over.
bool Look(Watch& watch, unsigned now)
{
    // The window's thread carries out a placement when it gets to it; until then the window
    // would seem not to stand, and the same requests would be made twice.
    if (now - watch.lastPlacedAt < kSettleCheckInterval) return true;
    // Asked here rather than at the placement, so that the launch is not held up for what is
    // seldom needed: here it runs while the engine waits for the next program anyway.
    if (!watch.onMonitor) {
        watch.onMonitor = true;
        if (g_monitors.empty()) g_monitors = ReadMonitors();
        const RegisteredPlace visible = VisiblePlace(watch.place, watch.window, g_monitors);
        if (!(visible == watch.place)) {
            watch.place = visible;
            Put(watch, watch.window, now, true);
            return true;
        }
    }
    DWORD processId = 0;
    const bool ours = ::GetWindowThreadProcessId(watch.window, &processId) != 0 && processId == watch.processId;
    const LONG style = ours ? ::GetWindowLongA(watch.window, GWL_STYLE) : 0;
    if (!ours || !(style & WS_VISIBLE)) {
        // Gone or hidden: the program may show the window it meant next (its main window
        // after a start-up window). The hidden one itself is left alone.
        if (watch.followed >= kSettleReplacings) return false;
        Successor successor = {&watch, nullptr};
        ::EnumWindows(FindSuccessor, reinterpret_cast<LPARAM>(&successor));
        if (successor.found == nullptr) return ours || !watch.modulePath.empty() || !ProcessEnded(watch.processId);
        Put(watch, successor.found, now, false);
        ::GetWindowThreadProcessId(successor.found, &watch.processId);
        watch.placedAt = now;
        watch.placedAgain = 0;
        ++watch.followed;
        return true;
    }
    if (Stands(watch.window, style, watch.place)) {
        watch.stood = true;
        return true;
    }
    // Placed again too soon, the requests would wait in its queue twice over, and a window put
    // back to its state would take the state changes twice.
    if (!watch.stood && now - watch.lastPlacedAt < kSettleUnanswered) return true;
    if (UserMovesIt(watch.window) || watch.placedAgain >= kSettleReplacings) return false;
    Put(watch, watch.window, now, true);
    ++watch.placedAgain;
    return true;
}

void LookAtAll()
{
    const unsigned now = LaunchClock();
    g_lastCheck = now;
    g_watches.erase(std::remove_if(g_watches.begin(), g_watches.end(),
                                   [now](Watch& watch) { return Expired(watch, now) || !Look(watch, now); }),
                    g_watches.end());
    if (g_watches.empty()) g_monitors.clear();
}

}  // namespace

DWORD PlaceAndWatch(const Executant& executant, HWND window, const char* modulePath, ULONGLONG launchBegan)
{
    const RegisteredPlace place = RegisteredPlaceOf(executant);
    const DWORD threadId = PlaceWindow(place, window);
    const unsigned now = LaunchClock();
    Watch watch = {place, false, window, 0, modulePath != nullptr ? modulePath : "", launchBegan, now, now, false, 0, 0};
    if (::GetWindowThreadProcessId(window, &watch.processId) != 0) g_watches.push_back(watch);
    return threadId;
}

void CheckPlacedWindows()
{
    if (!g_watches.empty() && LaunchClock() - g_lastCheck >= kSettleCheckInterval) LookAtAll();
}

bool PlacedWindowsWatched() { return !g_watches.empty(); }

void SettlePlacedWindows()
{
    while (!g_watches.empty()) {
        LookAtAll();
        unsigned left = 0;
        for (const Watch& watch : g_watches) {
            const unsigned age = LaunchClock() - watch.placedAt;
            if (age < kSettlePeriod) left = std::max(left, kSettlePeriod - age);
        }
        if (left > 0) LaunchSleep(std::min(left, kSettleCheckInterval));
    }
}

void WatchingPause(unsigned milliseconds)
{
    const unsigned began = LaunchClock();
    for (unsigned elapsed = 0; elapsed < milliseconds; elapsed = LaunchClock() - began) {
        CheckPlacedWindows();
        LaunchSleep(std::min(milliseconds - elapsed, g_watches.empty() ? milliseconds : kSettleCheckInterval));
    }
}

// The settle watch: after a window was placed the engine keeps an eye on it for a while, so
// that the registered place wins over a program that restores its own saved place a moment
// later or replaces its start-up window with its main window. The watch runs alongside the
// next launches (between them, and while the engine waits), never holding them up.
#pragma once
#include <windows.h>

class Executant;

// Places the window a launch found where its entry registered it and watches it while its
// program settles; the first look of the watch moves it onto a monitor if it stands on none
// (VisiblePlace). In shell mode `modulePath` names the program the shell ran:
// a copy of it started since `launchBegan` may show the window that takes this one's place.
// Returns the id of the window's thread.
DWORD PlaceAndWatch(const Executant& executant, HWND window, const char* modulePath = nullptr,
                    ULONGLONG launchBegan = 0);

// A window is watched this long after it was placed, and looked at this often; at most this
// many times it is placed again, and at most this many windows that take its place are
// followed. Programs restore their own saved place, or replace a start-up window with their
// main window, within the first second or two after showing, later on a loaded machine.
constexpr unsigned kSettlePeriod = 3000;
constexpr unsigned kSettleCheckInterval = 100;
constexpr int kSettleReplacings = 2;
// A window that was never seen where it was put is taken to be still on its way there (its
// program busy after it showed it) for this long, and only then as put elsewhere.
constexpr unsigned kSettleUnanswered = 1000;

// One look at the watched windows, when the last one is at least kSettleCheckInterval ago.
void CheckPlacedWindows();
// Whether some window is still watched.
bool PlacedWindowsWatched();
// Keeps looking until every watch is over: at most kSettlePeriod after the last placement.
// EndListLaunch calls it after the last launch of a list.
void SettlePlacedWindows();
// Pauses for `milliseconds` on the engine's clock, looking at the watched windows meanwhile.
void WatchingPause(unsigned milliseconds);

// Placing a launched program's window: the registered place, put onto a monitor when it lies
// on none.
#pragma once
#include <windows.h>

#include <vector>

class Executant;

// What an entry registered for its window.
struct RegisteredPlace {
    bool hasPosition;
    int x, y;
    bool hasSize;
    int width, height;
    int showCommand;
};
inline bool operator==(const RegisteredPlace& a, const RegisteredPlace& b)
{
    return a.hasPosition == b.hasPosition && a.x == b.x && a.y == b.y && a.hasSize == b.hasSize &&
           a.width == b.width && a.height == b.height && a.showCommand == b.showCommand;
}
RegisteredPlace RegisteredPlaceOf(const Executant& executant);

// A monitor's rectangle and its work area, in screen coordinates.
struct MonitorArea {
    RECT monitor;
    RECT work;
};
// Every monitor as the system shows them now.
std::vector<MonitorArea> ReadMonitors();

// The registered place, unless its rectangle meets none of the monitors (one that is no
// longer there, a lower resolution): then the nearest monitor's work area, with the window's
// size kept, made smaller only where it does not fit. A rectangle that is partly visible
// stays as it is. Without a registered size the window's own size counts.
RegisteredPlace VisiblePlace(const RegisteredPlace& registered, HWND window, const std::vector<MonitorArea>& monitors);

// Moves, sizes and shows the window exactly there; returns the id of its owning thread. With
// `again` the window is restored first whatever state it seems to be in: what an earlier
// placement asked may still wait in its queue.
DWORD PlaceWindow(const RegisteredPlace& place, HWND window, bool again = false);

// The one pause and the one clock of the launch engine (window-search looks, ending methods).
// Tests replace the pause to count the pauses and to run the searches without waiting; while
// a replacement is installed the engine's clock is the sum of its pauses, so that a search
// takes the same number of pauses however slow the machine is.
#pragma once

using LaunchSleepFunction = void (*)(unsigned milliseconds);

void LaunchSleep(unsigned milliseconds);
// Milliseconds on the engine's clock; only differences mean something.
unsigned LaunchClock();
// Installs a replacement and returns the previous one; null restores the real pause.
LaunchSleepFunction SetLaunchSleep(LaunchSleepFunction function);

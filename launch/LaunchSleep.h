// The one pause of the launch engine (window-search passes, ending methods). Tests replace
// it to count the pauses and to run the passes without waiting.
#pragma once

using LaunchSleepFunction = void (*)(unsigned milliseconds);

void LaunchSleep(unsigned milliseconds);
// Installs a replacement and returns the previous one; null restores the real pause.
LaunchSleepFunction SetLaunchSleep(LaunchSleepFunction function);

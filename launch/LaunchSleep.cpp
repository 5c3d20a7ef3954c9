// The replaceable pause of the launch engine.
#include "LaunchSleep.h"

#include <windows.h>

namespace {

void RealSleep(unsigned milliseconds) { ::Sleep(milliseconds); }

LaunchSleepFunction g_sleep = RealSleep;

}  // namespace

void LaunchSleep(unsigned milliseconds) { g_sleep(milliseconds); }

LaunchSleepFunction SetLaunchSleep(LaunchSleepFunction function)
{
    LaunchSleepFunction previous = g_sleep;
    g_sleep = function != nullptr ? function : RealSleep;
    return previous;
}

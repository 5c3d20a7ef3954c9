// The replaceable pause of the launch engine and the clock that goes with it.
#include "LaunchSleep.h"

#include <windows.h>

namespace {

void RealSleep(unsigned milliseconds) { ::Sleep(milliseconds); }

LaunchSleepFunction g_sleep = RealSleep;
unsigned g_paused = 0;  // what a replacement was asked to pause, in all

}  // namespace

void LaunchSleep(unsigned milliseconds)
{
    g_sleep(milliseconds);
    g_paused += milliseconds;
}

unsigned LaunchClock() { return g_sleep == RealSleep ? ::GetTickCount() : g_paused; }

LaunchSleepFunction SetLaunchSleep(LaunchSleepFunction function)
{
    LaunchSleepFunction previous = g_sleep;
    g_sleep = function != nullptr ? function : RealSleep;
    return previous;
}

namespace {

LaunchStepObserver g_stepObserver = nullptr;

}  // namespace

void NoteLaunchStep(LaunchStep step)
{
    if (g_stepObserver != nullptr) g_stepObserver(step);
}

LaunchStepObserver SetLaunchStepObserver(LaunchStepObserver observer)
{
    LaunchStepObserver previous = g_stepObserver;
    g_stepObserver = observer;
    return previous;
}

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

// The steps of one launch, told to an observer that a benchmark installs to see where the
// time between two programs goes. The program itself installs none.
enum class LaunchStep {
    kBegun,        // a launch of a list entry starts
    kGuarded,      // the duplicate guard has answered
    kCreated,      // the process exists, suspended
    kImeSwitched,  // the input method of its main thread is off
    kPrioritySet,  // class and thread priority are set
    kResumed,
    kReady,        // the input-idle wait returned
    kLookedEmpty,  // one look of the window search found nothing
    kLookedFound,  // one look found the window
    kPlaced,       // the placement requests are handed over
};
using LaunchStepObserver = void (*)(LaunchStep step);
void NoteLaunchStep(LaunchStep step);
LaunchStepObserver SetLaunchStepObserver(LaunchStepObserver observer);

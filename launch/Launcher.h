// The unattended start: launches every executant of the ring in order and reports
// duplicates and failures once.
#pragma once
#include "Executant.h"

void LaunchAll(const char* settingsPath, Executant* head);

// Results of launches, counted as the summary counts them: 1 a refused duplicate, negative a failure.
struct LaunchTally {
    int duplicates = 0;
    int failures = 0;
    void Count(int result)
    {
        if (result == 1) ++duplicates;
        if (result < 0) ++failures;
    }
};
// Ends the launches of a list: once the windows they placed have settled, the one summary box
// of duplicates and failures; nothing when every launch went well.
void EndListLaunch(const LaunchTally& tally);

// The unattended start: launches every executant of the ring in order and reports
// duplicates and failures once.
#pragma once
#include "Executant.h"

void LaunchAll(const char* settingsPath, Executant* head);

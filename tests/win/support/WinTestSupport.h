// Every helper of the Windows-side tests and the launch benchmarks.
#pragma once
#include "ChildProcess.h"
#include "EngineFixtures.h"
#include "MessageBoxWatch.h"
#include "Reports.h"
#include "TempFolder.h"

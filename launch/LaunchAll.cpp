// The unattended start (-e): launches every executant of the list in order, then reports
// duplicates and failures together in one message box, or nothing when all went well.
#include "Launcher.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include "LaunchMessages.h"
#include "SettleWatch.h"
#include "SystemUtilities.h"

namespace {

void AppendFormatted(std::string& text, const char* format, int count)
{
    char line[128];
    std::snprintf(line, sizeof line, format, count);
    text += line;
}

}  // namespace

void LaunchAll(const char* settingsPath, Executant* head)
{
    if (head == nullptr) {
        AppMessageBoxF(MB_OK | MB_ICONWARNING, LaunchText::kNoApplications, settingsPath != nullptr ? settingsPath : "");
        return;
    }
    LaunchTally tally;
    for (Executant* executant = head; executant != nullptr; executant = executant->NextExecutant(head)) {
        tally.Count(executant->Launch(nullptr));
    }
    EndListLaunch(tally);
}

void EndListLaunch(const LaunchTally& tally)
{
    SettlePlacedWindows();
    if (tally.duplicates == 0 && tally.failures == 0) return;
    std::string text = LaunchText::kLaunchErrorHead;
    if (tally.duplicates > 0) AppendFormatted(text, LaunchText::kDuplicateCount, tally.duplicates);
    if (tally.failures > 0) AppendFormatted(text, LaunchText::kFailureCount, tally.failures);
    AppMessageBox(text.c_str(), MB_OK | MB_ICONWARNING);
}

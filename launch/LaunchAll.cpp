// The unattended start (-e): launches every executant of the list in order, then reports
// duplicates and failures together in one message box, or nothing when all went well.
#include "Launcher.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include "LaunchMessages.h"
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
    int duplicates = 0;
    int failures = 0;
    for (Executant* executant = head; executant != nullptr; executant = executant->NextExecutant(head)) {
        const int result = executant->Launch(nullptr);
        if (result == 1) ++duplicates;
        if (result < 0) ++failures;
    }
    if (duplicates == 0 && failures == 0) return;
    std::string text = LaunchText::kLaunchErrorHead;
    if (duplicates > 0) AppendFormatted(text, LaunchText::kDuplicateCount, duplicates);
    if (failures > 0) AppendFormatted(text, LaunchText::kFailureCount, failures);
    AppMessageBox(text.c_str(), MB_OK | MB_ICONWARNING);
}

// The diagnostic log writer: appends each caller's text as formatted, no prefix or line end
// of its own, and starts the file afresh when it grew past the cap.
#include "Log.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "CoreMessages.h"
#include "Platform.h"

namespace {

char g_logPath[260] = {0};
bool g_logEnabled = true;
int g_logMaxSize = 0;

}  // namespace

void SetLogPath(const char* path)
{
    if (path == nullptr) path = "";
    std::snprintf(g_logPath, sizeof g_logPath, "%s", path);
}

void SetLogEnabled(bool enabled) { g_logEnabled = enabled; }

void SetLogMaxSize(int bytes) { g_logMaxSize = bytes; }

bool IsLogEnabled() { return g_logEnabled; }

void LogMessage(const char* format, ...)
{
    if (g_logPath[0] == 0 || !g_logEnabled || g_logMaxSize < 0) return;
    bool refreshed = false;
    const long long size = PlatformFileSize(g_logPath);
    if (size >= 0 && size > g_logMaxSize) {
        std::remove(g_logPath);
        refreshed = true;
    }
    std::FILE* file = std::fopen(g_logPath, "at");
    if (file == nullptr) {
        g_logEnabled = false;
        return;
    }
    if (refreshed) std::fprintf(file, CoreText::kLogRefreshed, g_logMaxSize);
    va_list args;
    va_start(args, format);
    std::vfprintf(file, format, args);
    va_end(args);
    std::fclose(file);
}

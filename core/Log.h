// The diagnostic log writer every subsystem calls. Nothing in the product sets a path,
// so by default it writes nothing; tests set one to watch the lines.
#pragma once

void LogMessage(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

void SetLogPath(const char* path);
void SetLogEnabled(bool enabled);
void SetLogMaxSize(int bytes);
bool IsLogEnabled();

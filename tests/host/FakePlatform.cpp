#include "FakePlatform.h"

#include <cstdio>
#include <sys/stat.h>

#include "Platform.h"

FakePlatformState& Fake()
{
    static FakePlatformState state;
    return state;
}

void ResetFake() { Fake() = FakePlatformState(); }

int PlatformMessageBox(const char* text, unsigned style)
{
    Fake().messages.push_back({text, style});
    return 1;
}

void PlatformCloseHandle(void* handle) { Fake().closedHandles.push_back(handle); }

long long PlatformFileSize(const char* path)
{
    struct stat info;
    if (stat(path, &info) != 0) return -1;
    return static_cast<long long>(info.st_size);
}

bool PlatformReplaceFile(const char* from, const char* to)
{
    if (Fake().failReplace) return false;
    return std::rename(from, to) == 0;
}

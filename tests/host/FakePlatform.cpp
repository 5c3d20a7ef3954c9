// Recording stand-ins for the platform services the core calls; files are the real ones.
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

int PlatformMessageBox(const char* text, unsigned)
{
    Fake().messages.push_back(text);
    return 1;
}

void PlatformCloseHandle(void* handle) { Fake().closedHandles.push_back(handle); }

long long PlatformFileSize(const char* path)
{
    struct stat info;
    return stat(path, &info) == 0 ? static_cast<long long>(info.st_size) : -1;
}

bool PlatformReplaceFile(const char* from, const char* to)
{
    return !Fake().failReplace && std::rename(from, to) == 0;
}

bool PlatformIsPlainFile(std::FILE* file) { struct stat s; return fstat(fileno(file), &s) == 0 && S_ISREG(s.st_mode); }

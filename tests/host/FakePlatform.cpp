// Recording stand-ins for the platform services the core calls; files are the real ones.
#include "FakePlatform.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
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

bool PlatformReplaceFile(const char* from, const char* to) { return std::rename(from, to) == 0; }

std::FILE* PlatformCreateNewFile(const char* path, bool* taken)
{
    const int descriptor = open(path, O_WRONLY | O_CREAT | O_EXCL, 0644);
    *taken = descriptor == -1 && errno == EEXIST;
    return descriptor != -1 ? fdopen(descriptor, "w") : nullptr;
}

// Without a power cut to fear, and the fuzzer saves every input.
bool PlatformFlushFile(std::FILE* file) { return std::fflush(file) == 0; }

bool PlatformIsPlainFile(std::FILE* file) { struct stat s; return fstat(fileno(file), &s) == 0 && S_ISREG(s.st_mode); }

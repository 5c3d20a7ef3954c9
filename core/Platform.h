// The few platform services the portable core needs. The Windows build supplies them
// (app/), the host tests supply recording fakes; the seam is resolved at link time.
#pragma once
#include <cstdio>

// Message-box styles, numerically equal to the Win32 MB_ values so they pass straight through.
constexpr unsigned kBoxOk = 0x00000000u;
constexpr unsigned kBoxYesNo = 0x00000004u;
constexpr unsigned kBoxYesNoCancel = 0x00000003u;
constexpr unsigned kBoxIconQuestion = 0x00000020u;
constexpr unsigned kBoxIconWarning = 0x00000030u;
constexpr unsigned kBoxIconInformation = 0x00000040u;

// Application message box: owned by the active window, captioned with the program's name.
int PlatformMessageBox(const char* text, unsigned style);
void PlatformCloseHandle(void* handle);
// Size in bytes of an existing file, or -1 when there is none.
long long PlatformFileSize(const char* path);
// Moves `from` over `to`, replacing it; false leaves `to` as it was.
bool PlatformReplaceFile(const char* from, const char* to);
// Creates `path` for writing text only when nothing of that name exists yet; otherwise null,
// with `taken` telling whether the name was in use.
std::FILE* PlatformCreateNewFile(const char* path, bool* taken);
// Writes the file's buffers through to the disk; false when that failed.
bool PlatformFlushFile(std::FILE* file);
// False for an open file that is no plain file on a disk (a device, a pipe): reading one may
// wait for ever.
bool PlatformIsPlainFile(std::FILE* file);

// The name under which the duplicate guard compares programs: file name and extension of a
// path, folded to lower case. Kept free of the platform headers so the host tests build it.
#pragma once
#include <string>

// Where the file name of a path starts, after the last '\\', '/' or drive colon. A
// Shift-JIS pair is never split, so a trail byte 0x5C is not taken for a separator.
const char* FileNamePart(const char* path);

// "C:\Tools\App.EXE" gives "app.exe"; only ASCII letters are folded.
std::string ModuleNameOf(const char* path);

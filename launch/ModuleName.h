// The name under which the duplicate guard compares programs: file name and extension of a
// path, folded to lower case. Kept free of the platform headers so the host tests build it.
#pragma once
#include <string>

#include "PathText.h"

// "C:\Tools\App.EXE" gives "app.exe"; only ASCII letters are folded.
std::string ModuleNameOf(const char* path);

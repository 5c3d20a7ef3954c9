// Module-name folding for the duplicate guard.
#include "ModuleName.h"

#include "StringClass.h"

std::string ModuleNameOf(const char* path)
{
    if (path == nullptr) return std::string();
    std::string name(FileNamePart(path));
    FoldAsciiLower(&name[0]);
    return name;
}

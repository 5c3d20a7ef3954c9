// Module-name folding for the duplicate guard.
#include "ModuleName.h"

#include "StringClass.h"

const char* FileNamePart(const char* path)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(path);
    const unsigned char* nameStart = p;
    while (*p != 0) {
        if (IsLeadByte(*p)) {
            // Many kanji end in 0x5C; that byte belongs to the character.
            if (p[1] == 0) break;
            p += 2;
            continue;
        }
        if (*p == '\\' || *p == '/' || *p == ':') nameStart = p + 1;
        ++p;
    }
    return reinterpret_cast<const char*>(nameStart);
}

std::string ModuleNameOf(const char* path)
{
    if (path == nullptr) return std::string();
    std::string name(FileNamePart(path));
    FoldAsciiLower(&name[0]);
    return name;
}

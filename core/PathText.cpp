// Shift-JIS-aware path splitting shared by every subsystem.
#include "PathText.h"

#include <cstring>

#include "StringClass.h"

namespace {

// Calls visit(position) for each single-byte character; a lead byte takes its partner along.
template <typename Visit>
void ForEachSingleByte(const char* path, Visit visit)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(path);
    while (*p != 0) {
        if (IsLeadByte(*p)) {
            if (p[1] == 0) break;
            p += 2;
            continue;
        }
        visit(reinterpret_cast<const char*>(p));
        ++p;
    }
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

const char* LastSeparator(const char* path)
{
    const char* last = nullptr;
    if (path == nullptr) return last;
    ForEachSingleByte(path, [&](const char* p) {
        if (IsSeparator(*p)) last = p;
    });
    return last;
}

const char* FileNamePart(const char* path)
{
    const char* start = path;
    ForEachSingleByte(path, [&](const char* p) {
        if (IsSeparator(*p) || *p == ':') start = p + 1;
    });
    return start;
}

std::string FolderPart(const char* path)
{
    if (path == nullptr) return std::string();
    return std::string(path, FileNamePart(path) - path);
}

std::string ExtensionPart(const char* path)
{
    if (path == nullptr) return std::string();
    const char* name = FileNamePart(path);
    const char* dot = nullptr;
    ForEachSingleByte(name, [&](const char* p) {
        if (*p == '.') dot = p;
    });
    return dot != nullptr ? std::string(dot) : std::string();
}

void StripTrailingSeparator(std::string& path)
{
    const char* last = LastSeparator(path.c_str());
    if (last == nullptr || last[1] != '\0') return;
    const size_t at = last - path.c_str();
    const bool root = at == 0 || (at == 2 && path[1] == ':');
    if (!root) path.erase(at);
}

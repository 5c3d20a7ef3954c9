// The one place where application message boxes are shown: owned by the active window,
// captioned with the program's title.
#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "SystemUtilities.h"

const char* AppTitle()
{
    static std::string title;
    if (title.empty()) {
        char path[MAX_PATH] = "";
        ::GetModuleFileNameA(nullptr, path, sizeof(path));
        title = ProgramTitle(path);
    }
    return title.c_str();
}

int AppMessageBox(const char* text, UINT style)
{
    return ::MessageBoxA(::GetActiveWindow(), text, AppTitle(), style);
}

int AppMessageBoxF(UINT style, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);

    std::vector<char> text(length > 0 ? length + 1 : 1, '\0');
    if (length > 0) std::vsnprintf(text.data(), text.size(), format, args);
    va_end(args);
    return AppMessageBox(length >= 0 ? text.data() : format, style);
}

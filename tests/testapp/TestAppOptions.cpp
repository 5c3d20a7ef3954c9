// Option parsing and report writing of the test application.
#include "TestAppOptions.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

std::vector<std::string> SplitCommandLine(const char* line)
{
    std::vector<std::string> words;
    const char* p = line;
    while (*p != 0) {
        while (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n') ++p;
        if (*p == 0) break;
        std::string word;
        bool quoted = false;
        while (*p != 0 && (quoted || (*p != ' ' && *p != '\t' && *p != '\r' && *p != '\n'))) {
            if (*p == '"') {
                quoted = !quoted;
            } else {
                word += *p;
            }
            ++p;
        }
        words.push_back(word);
    }
    return words;
}

namespace {

void Apply(TestAppOptions& options, const std::vector<std::string>& args)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--report" && hasValue) {
            options.report = args[++i];
        } else if (a == "--title" && hasValue) {
            options.title = args[++i];
        } else if (a == "--busy" && hasValue) {
            options.busyMs = std::atoi(args[++i].c_str());
        } else if (a == "--window-delay" && hasValue) {
            options.windowDelayMs = std::atoi(args[++i].c_str());
        } else if (a == "--owned") {
            options.owned = true;
        } else if (a == "--hidden") {
            options.hidden = true;
        } else if (a == "--no-window") {
            options.noWindow = true;
        } else if (a == "--exit") {
            options.exitAtOnce = true;
        } else if (a == "--crash") {
            options.crash = true;
        } else if (a == "--close-at-once") {
            options.closeAtOnce = true;
        } else if (a == "--fixed" && hasValue) {
            int* r = options.fixedRect;
            options.fixed = std::sscanf(args[++i].c_str(), "%d,%d,%d,%d", &r[0], &r[1], &r[2], &r[3]) == 4;
        } else if (a == "--topmost") {
            options.topmost = true;
        } else if (a == "--popup") {
            options.popup = true;
        } else if (a == "--child") {
            options.child = true;
        } else if (a == "--lifetime" && hasValue) {
            options.lifetimeMs = std::atoi(args[++i].c_str());
        } else if (a == "--report-after" && hasValue) {
            options.reportAfterMs = std::atoi(args[++i].c_str());
        } else if (a == "--load" && hasValue) {
            options.load = args[++i];
        } else if (a == "--extra-windows" && hasValue) {
            options.extraWindows = std::atoi(args[++i].c_str());
        } else if (a == "--move-back" && hasValue) {
            options.moveBackMs = std::atoi(args[++i].c_str());
        } else if (a == "--splash" && hasValue) {
            options.splashMs = std::atoi(args[++i].c_str());
        } else if (a == "--open" && hasValue) {
            std::ifstream file(args[++i]);
            std::string line;
            if (std::getline(file, line)) Apply(options, SplitCommandLine(line.c_str()));
        }
    }
}

}  // namespace

TestAppOptions ParseTestAppOptions(const std::vector<std::string>& arguments)
{
    TestAppOptions options;
    Apply(options, arguments);
    return options;
}

bool WriteReportFile(const std::string& path, const std::string& text)
{
    if (path.empty()) return false;
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out << text;
        if (!out) return false;
    }
    return ::MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

std::string ProcessFacts()
{
    char line[2048];
    std::string text;
    char module[MAX_PATH] = {0};
    ::GetModuleFileNameA(nullptr, module, sizeof module);
    char folder[MAX_PATH] = {0};
    ::GetCurrentDirectoryA(sizeof folder, folder);
    char desktop[256] = {0};
    DWORD needed = 0;
    ::GetUserObjectInformationA(::GetThreadDesktop(::GetCurrentThreadId()), UOI_NAME, desktop, sizeof desktop, &needed);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    ::GetStartupInfoA(&startup);

    text += "commandline=";
    text += ::GetCommandLineA();
    text += "\nmodule=";
    text += module;
    text += "\ncwd=";
    text += folder;
    text += "\ndesktop=";
    text += desktop;
    std::snprintf(line, sizeof line,
                  "\npid=%lu\ntid=%lu\npriorityclass=0x%lX\nthreadpriority=%d\n"
                  "startup.flags=0x%lX\nstartup.pos=%ld,%ld\nstartup.size=%ld,%ld\nstartup.show=%d\n",
                  ::GetCurrentProcessId(), ::GetCurrentThreadId(), ::GetPriorityClass(::GetCurrentProcess()),
                  ::GetThreadPriority(::GetCurrentThread()), startup.dwFlags, static_cast<long>(startup.dwX),
                  static_cast<long>(startup.dwY), static_cast<long>(startup.dwXSize),
                  static_cast<long>(startup.dwYSize), startup.wShowWindow);
    text += line;
    return text;
}

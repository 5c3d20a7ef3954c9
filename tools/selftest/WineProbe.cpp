// Reports what a program sees of the Wine set-up that tools/wine-run.sh gives it, so that
// wine-run-test.sh can check the runner: desktop, code page, reported version, dialog fonts,
// screen DPI.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void PrintDesktop()
{
    char name[256] = {};
    DWORD needed = 0;
    GetUserObjectInformationA(GetThreadDesktop(GetCurrentThreadId()), UOI_NAME, name, sizeof name - 1, &needed);
    RECT screen = {};
    GetWindowRect(GetDesktopWindow(), &screen);
    std::printf("desktop=%s screen=%ldx%ld\n", name, screen.right - screen.left, screen.bottom - screen.top);
}

void PrintVersion()
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    std::printf("acp=%u platform=%lu version=%lu.%lu\n", GetACP(), version.dwPlatformId, version.dwMajorVersion,
                version.dwMinorVersion);
}

// The face a dialog font resolves to: the full name of the font file really used.
void PrintFont(const char* face)
{
    HDC dc = GetDC(nullptr);
    LOGFONTA request = {};
    request.lfHeight = -15;
    request.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(request.lfFaceName, face, LF_FACESIZE);
    HFONT font = CreateFontIndirectA(&request);
    HGDIOBJ old = SelectObject(dc, font);
    char buffer[1024];
    const char* full = "none";
    auto* metrics = reinterpret_cast<OUTLINETEXTMETRICA*>(buffer);
    if (GetOutlineTextMetricsA(dc, sizeof buffer, metrics) != 0)
        full = buffer + reinterpret_cast<UINT_PTR>(metrics->otmpFullName);
    std::printf("font=%s\n", full);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
}

// The screen's DPI and whether this program (which has no manifest) is DPI aware.
void PrintDpi()
{
    // Newer than the headers' Windows XP.
    auto aware = reinterpret_cast<BOOL(WINAPI*)()>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("user32.dll"), "IsProcessDPIAware")));
    HDC screen = GetDC(nullptr);
    std::printf("dpi=%d aware=%d\n", GetDeviceCaps(screen, LOGPIXELSX), aware());
    ReleaseDC(nullptr, screen);
}

// Starts a copy of this program that outlives it, holding its output handles, until the
// file `release` exists.
int SpawnLingeringChild(const char* release)
{
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    char command[2 * MAX_PATH + 16];
    std::snprintf(command, sizeof command, "\"%s\" wait \"%s\"", self, release);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, command, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process))
        return 3;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::printf("spawned\n");
    return 0;
}

// The lingering child: waits for the release file, but gives up after two minutes.
void WaitForRelease(const char* release)
{
    for (int i = 0; i < 1200 && GetFileAttributesA(release) == INVALID_FILE_ATTRIBUTES; ++i)
        Sleep(100);
}

}  // namespace

int main(int argc, char** argv)
{
    const char* what = argc > 1 ? argv[1] : "";
    if (std::strcmp(what, "desktop") == 0)
        PrintDesktop();
    else if (std::strcmp(what, "version") == 0)
        PrintVersion();
    else if (std::strcmp(what, "font") == 0 && argc > 2)
        PrintFont(argv[2]);
    else if (std::strcmp(what, "dpi") == 0)
        PrintDpi();
    else if (std::strcmp(what, "text") == 0)
        std::printf("%s\n", "起動しました");
    else if (std::strcmp(what, "stderr") == 0)
        std::fprintf(stderr, "to stderr\n");
    else if (std::strcmp(what, "exit") == 0 && argc > 2)
        return std::atoi(argv[2]);
    else if (std::strcmp(what, "spawn") == 0 && argc > 2)
        return SpawnLingeringChild(argv[2]);
    else if (std::strcmp(what, "wait") == 0 && argc > 2)
        WaitForRelease(argv[2]);
    else
        return 2;
    std::fflush(stdout);
    return 0;
}

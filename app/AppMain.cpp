// Entry point. The application object is a static object, so the optional system functions
// are bound before WinMain runs and released after it returns.
#include <windows.h>

#include "CommandLine.h"
#include "LodestayApp.h"
#include "SystemFunctions.h"
#include "SystemUtilities.h"

// The C run-time's own entry point: it runs the static constructors, then WinMain.
extern "C" int WinMainCRTStartup();

// The process's entry point (the linker's -e, app/CMakeLists.txt), ahead of the C run-time's.
// The DLL search must be limited before anything of the program can load a DLL by name: the
// application object's constructor binds PSAPI and IMM32, and any static object may call into
// a delayed import. Neither an init priority nor a run-time initializer section orders this
// against the run-time's and the libraries' own start-up code; the entry point runs before all
// of it, only after what the loader itself does.
extern "C" int LodestayEntry()
{
    LimitDllSearchToSystemFolder();
    return WinMainCRTStartup();
}

static LodestayApp theApp;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    AppTitle();
    // Taken from the process's own command line, so a quoted program name with blanks and
    // Shift-JIS bytes is skipped the same way everywhere.
    theApp.CommandLineText = SkipProgramName(::GetCommandLineA());
    theApp.InitInstance();
    // The exit status carries no information: results are shown in message boxes.
    return 0;
}

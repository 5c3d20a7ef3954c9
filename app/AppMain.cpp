// Entry point. The application object is a static object, so the optional system functions
// are bound before WinMain runs and released after it returns.
#include <windows.h>

#include "CommandLine.h"
#include "LodestayApp.h"
#include "SystemUtilities.h"

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

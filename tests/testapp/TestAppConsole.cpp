// lodestay-testapp-console: the console variant of the test application. It has no window
// and no input queue, so a launcher's input-idle wait fails at once; it reports and then
// stays for --lifetime milliseconds (or until it is ended).
#include <windows.h>

#include <string>
#include <vector>

#include "TestAppOptions.h"

int main()
{
    std::vector<std::string> args = SplitCommandLine(::GetCommandLineA());
    if (!args.empty()) args.erase(args.begin());
    const TestAppOptions options = ParseTestAppOptions(args);
    WriteReportFile(options.report, ProcessFacts() + "event=start\nend=1\n");
    if (!options.exitAtOnce) ::Sleep(options.lifetimeMs > 0 ? static_cast<DWORD>(options.lifetimeMs) : INFINITE);
    return 0;
}

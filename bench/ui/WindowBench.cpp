// Main-window benchmark under Wine, one tab-separated line of milliseconds per run:
//   refill    RefillList over ROWS executants (icons included), in the real window;
//   lodestay  lodestay.exe -p EXAMPLE from process creation until its main window is visible;
//   notepad   notepad.exe the same way, for comparison.
// Usage: lodestay_window_bench ROWS RUNS EXAMPLE   (lodestay.exe beside it)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "Executant.h"
#include "ExecutantListDialog.h"

namespace {

// Programs with icons of their own, so that every row extracts a real one.
const char* const kPrograms[] = {"C:\\windows\\notepad.exe", "C:\\windows\\regedit.exe",
                                 "C:\\windows\\system32\\winecfg.exe", "C:\\windows\\system32\\cmd.exe"};

Executant* Rows(int count)
{
    Executant* head = nullptr;
    for (int i = 0; i < count; ++i) {
        Executant* e = new Executant;
        e->FileName.Assign(kPrograms[i % 4]);
        e->SetSetting(kKeyFileName, kPrograms[i % 4]);
        e->SetSetting(kKeyPath, "C:\\windows");
        e->HasPosition = 1, e->PositionX = i, e->PositionY = i;
        if (head == nullptr) {
            head = e;
        } else {
            head->InsertBefore(e);
        }
    }
    return head;
}

struct RefillRun {
    ExecutantListDialog* window;
    double elapsed;
};
RefillRun g_refill;

void CALLBACK TimeRefill(HWND, UINT, UINT_PTR timer, DWORD)
{
    ::KillTimer(nullptr, timer);
    const double start = Now();
    g_refill.window->RefillList();
    g_refill.elapsed = Now() - start;
    g_refill.window->EndDialog(IDOK);
}

double Refill(int rows)
{
    ExecutantListDialog window;
    window.head = Rows(rows);
    g_refill = {&window, 0};
    ::SetTimer(nullptr, 0, 10, TimeRefill);
    window.DoModal(nullptr);
    DeleteRing(window.head);
    return g_refill.elapsed;
}

struct WindowSearch {
    DWORD process;
    const char* title;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter)
{
    WindowSearch* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    char title[64] = "", className[64] = "";
    ::GetWindowTextA(window, title, sizeof(title));
    ::GetClassNameA(window, className, sizeof(className));
    const bool named = std::strstr(title, search->title) != nullptr || std::strcmp(className, search->title) == 0;
    if (owner == search->process && ::IsWindowVisible(window) && named) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// From CreateProcess until a visible top-level window of the process has the title or class.
double StartToWindow(std::string commandLine, const char* title)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    const double start = Now();
    if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        return -1;
    }
    WindowSearch search = {process.dwProcessId, title, nullptr};
    double elapsed = -1;
    for (int i = 0; i < 20000 && search.found == nullptr; ++i) {
        ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) elapsed = Now() - start;
        else ::Sleep(1);
    }
    if (search.found != nullptr) ::PostMessageA(search.found, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(process.hProcess, 5000) != WAIT_OBJECT_0) ::TerminateProcess(process.hProcess, 1);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return elapsed;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: lodestay_window_bench ROWS RUNS EXAMPLE\n");
        return 2;
    }
    const int rows = std::atoi(argv[1]);
    const int runs = std::atoi(argv[2]);
    char self[MAX_PATH] = "";
    const DWORD length = ::GetModuleFileNameA(nullptr, self, sizeof(self));
    if (length == 0 || length >= sizeof(self)) return 1;
    std::string folder(self);
    folder.erase(folder.find_last_of('\\') + 1);
    const std::string lodestay = "\"" + folder + "lodestay.exe\" -p \"" + argv[3] + "\"";

    for (int run = 0; run < runs; ++run) {
        std::printf("%d\t%.1f\t%.1f\t%.1f\n", run + 1, Refill(rows), StartToWindow(lodestay, "Lodestay"),
                    StartToWindow("notepad.exe", "Notepad"));
        std::fflush(stdout);
    }
    return 0;
}

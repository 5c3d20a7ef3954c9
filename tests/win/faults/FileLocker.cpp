// lodestay-filelock FILE: holds FILE open without sharing until it is ended, as an editor or
// a backup program may do while Lodestay reads or replaces its settings file. Exit code 1:
// the file could not be opened.
#include <windows.h>

int main(int argc, char** argv)
{
    if (argc < 2) return 2;
    HANDLE file = ::CreateFileA(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    ::Sleep(INFINITE);
    return 0;
}

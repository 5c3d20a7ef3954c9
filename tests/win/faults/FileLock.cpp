// A settings file held open without sharing by another process.
#include "FileLock.h"

#include <vector>

namespace {

std::string LockerPath()
{
    char path[MAX_PATH];
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\') + 1) + "lodestay-filelock.exe";
}

bool SharingRefused(const std::string& path)
{
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        ::CloseHandle(file);
        return false;
    }
    return ::GetLastError() == ERROR_SHARING_VIOLATION;
}

}  // namespace

FileLock::FileLock(const std::string& path)
{
    std::string line = "\"" + LockerPath() + "\" \"" + path + "\"";
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back(0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                          &startup, &info)) {
        return;
    }
    ::CloseHandle(info.hThread);
    process_ = info.hProcess;
    // A bound for a locker that never gets there, not a timing.
    for (int i = 0; i < 400 && !held_; ++i) {
        held_ = SharingRefused(path);
        if (!held_ && ::WaitForSingleObject(process_, 25) == WAIT_OBJECT_0) break;
    }
}

FileLock::~FileLock()
{
    if (process_ == nullptr) return;
    ::TerminateProcess(process_, 0);
    ::WaitForSingleObject(process_, 5000);
    ::CloseHandle(process_);
}

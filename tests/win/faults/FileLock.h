// A settings file held open without sharing by another process while alive.
#pragma once
#include <windows.h>

#include <string>

class FileLock {
public:
    // Starts lodestay-filelock.exe (beside the test program) on `path` and waits until the
    // file can no longer be opened here.
    explicit FileLock(const std::string& path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool Held() const { return held_; }

private:
    HANDLE process_ = nullptr;
    bool held_ = false;
};

// Turns running applications' top-level windows into executants: all of them at once, or the
// one window the user picked.
#pragma once
#include <windows.h>

#include <cstdint>

#include "Handles.h"

class Executant;

class RunningAppFinder {
public:
    RunningAppFinder();
    virtual ~RunningAppFinder();
    RunningAppFinder(const RunningAppFinder&) = delete;
    RunningAppFinder& operator=(const RunningAppFinder&) = delete;

    // The first executant of the ring made, or null; the caller owns the ring.
    virtual Executant* FindAll(std::uint32_t options);
    virtual Executant* FindAtWindow(HWND window, std::uint32_t options);
    // path holds MAX_PATH bytes.
    virtual bool GetModulePathNt(HANDLE process, char* path, bool report);
    virtual bool GetModulePath9x(DWORD processId, char* path, bool report);
    virtual bool AcceptWindow(HWND window, WINDOWPLACEMENT* placement, bool report);
    virtual bool ImportWindow(HWND window, const WINDOWPLACEMENT& placement, bool report);
    virtual Executant* NewExecutant();

private:
    static BOOL CALLBACK AddWindow(HWND window, LPARAM self);
    void Start(std::uint32_t options);
    void Append(Executant* executant);

    std::uint32_t options_;
    Executant* result_;
    SnapshotHandle snapshot_;
};

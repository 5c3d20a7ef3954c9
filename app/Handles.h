// Move-only owners for the kernel objects the launcher opens, so that every early return
// closes what it obtained.
#pragma once
#include <windows.h>
#include <utility>

template <typename Traits>
class UniqueHandleT {
public:
    using Type = typename Traits::Type;
    UniqueHandleT() : handle_(Traits::Invalid()) {}
    explicit UniqueHandleT(Type handle) : handle_(handle) {}
    UniqueHandleT(UniqueHandleT&& other) noexcept : handle_(other.Release()) {}
    UniqueHandleT& operator=(UniqueHandleT&& other) noexcept
    {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    UniqueHandleT(const UniqueHandleT&) = delete;
    UniqueHandleT& operator=(const UniqueHandleT&) = delete;
    ~UniqueHandleT() { Reset(); }

    Type Get() const { return handle_; }
    bool Valid() const { return handle_ != Traits::Invalid(); }
    explicit operator bool() const { return Valid(); }
    Type Release()
    {
        Type h = handle_;
        handle_ = Traits::Invalid();
        return h;
    }
    void Reset(Type handle = Traits::Invalid())
    {
        if (handle_ != Traits::Invalid()) Traits::Close(handle_);
        handle_ = handle;
    }

private:
    Type handle_;
};

struct KernelHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::CloseHandle(h); }
};
// Snapshots report failure as INVALID_HANDLE_VALUE, not null.
struct SnapshotHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { ::CloseHandle(h); }
};
struct DesktopHandleTraits {
    using Type = HDESK;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::CloseDesktop(h); }
};
struct LibraryHandleTraits {
    using Type = HMODULE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::FreeLibrary(h); }
};

using UniqueHandle = UniqueHandleT<KernelHandleTraits>;       // process, thread
using SnapshotHandle = UniqueHandleT<SnapshotHandleTraits>;
using DesktopHandle = UniqueHandleT<DesktopHandleTraits>;
using LibraryHandle = UniqueHandleT<LibraryHandleTraits>;

// Move-only owners for the kernel objects the launcher opens, so that every early return
// closes what it obtained. Each kind of owner counts the handles it holds, and the process
// handles that executants keep after a test launch are counted too: Wine reports no handle
// count for a process, so the leak tests read these. The counts are always on, because an
// atomic add beside a system call costs nothing and the tests then check the code that ships.
#pragma once
#include <windows.h>

#include <atomic>
#include <utility>

template <typename Traits>
class UniqueHandleT {
public:
    using Type = typename Traits::Type;
    UniqueHandleT() : handle_(Traits::Invalid()) {}
    explicit UniqueHandleT(Type handle) : handle_(handle) { Adopted(); }
    // A move hands the handle over: the count does not change.
    UniqueHandleT(UniqueHandleT&& other) noexcept : handle_(other.handle_) { other.handle_ = Traits::Invalid(); }
    UniqueHandleT& operator=(UniqueHandleT&& other) noexcept
    {
        if (this != &other) {
            Reset();
            handle_ = other.handle_;
            other.handle_ = Traits::Invalid();
        }
        return *this;
    }
    UniqueHandleT(const UniqueHandleT&) = delete;
    UniqueHandleT& operator=(const UniqueHandleT&) = delete;
    ~UniqueHandleT() { Reset(); }

    Type Get() const { return handle_; }
    bool Valid() const { return handle_ != Traits::Invalid(); }
    explicit operator bool() const { return Valid(); }
    // The caller takes over closing the handle; it leaves the count.
    Type Release()
    {
        Type h = handle_;
        if (Valid()) live_.fetch_sub(1, std::memory_order_relaxed);
        handle_ = Traits::Invalid();
        return h;
    }
    void Reset(Type handle = Traits::Invalid())
    {
        if (Valid()) {
            Traits::Close(handle_);
            live_.fetch_sub(1, std::memory_order_relaxed);
        }
        handle_ = handle;
        Adopted();
    }

    // Handles that owners of this kind hold right now, in the whole process.
    static int Live() { return live_.load(std::memory_order_relaxed); }

private:
    void Adopted()
    {
        if (Valid()) live_.fetch_add(1, std::memory_order_relaxed);
    }

    Type handle_;
    static inline std::atomic<int> live_{0};
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

// Process handles that executants keep after a test launch: the launch engine adds one when
// it hands a handle to an executant, PlatformCloseHandle removes it when it closes one.
class KeptProcessHandles {
public:
    static void Added() { live_.fetch_add(1, std::memory_order_relaxed); }
    static void Closed() { live_.fetch_sub(1, std::memory_order_relaxed); }
    static int Live() { return live_.load(std::memory_order_relaxed); }

private:
    static inline std::atomic<int> live_{0};
};

#pragma once
// Small owners for Win32 state that must be given back on every path.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shtypes.h>

// Owns a handle and gives it back with `Kind::Free` on every path. `Kind::None` tells the
// values that mean "no handle": null for all, INVALID_HANDLE_VALUE too for a kernel handle.
template <typename Handle, typename Kind>
class UniqueOwner {
public:
    UniqueOwner() = default;
    explicit UniqueOwner(Handle handle) : handle_(handle) {}
    UniqueOwner(UniqueOwner&& other) noexcept : handle_(other.Release()) {}
    UniqueOwner& operator=(UniqueOwner&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    UniqueOwner(const UniqueOwner&) = delete;
    UniqueOwner& operator=(const UniqueOwner&) = delete;
    ~UniqueOwner() { Reset(); }

    Handle Get() const { return handle_; }
    bool Valid() const { return !Kind::None(handle_); }
    explicit operator bool() const { return Valid(); }
    Handle Release() {
        Handle handle = handle_;
        handle_ = nullptr;
        return handle;
    }
    void Reset(Handle handle = nullptr) {
        if (Valid()) Kind::Free(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

// A kind of handle for which null means "none", given back with `release`.
template <typename Handle, auto release>
struct NullMeansNone {
    static bool None(Handle handle) { return handle == nullptr; }
    static void Free(Handle handle) { release(handle); }
};
// A kernel handle kind, for which INVALID_HANDLE_VALUE means "none" too.
template <auto release>
struct InvalidMeansNone {
    static bool None(HANDLE handle) { return handle == nullptr || handle == INVALID_HANDLE_VALUE; }
    static void Free(HANDLE handle) { release(handle); }
};

using UniqueHandle = UniqueOwner<HANDLE, InvalidMeansNone<CloseHandle>>;
using UniqueFind = UniqueOwner<HANDLE, InvalidMeansNone<FindClose>>;
using UniqueFont = UniqueOwner<HFONT, NullMeansNone<HGDIOBJ, DeleteObject>>;
using UniqueBrush = UniqueOwner<HBRUSH, NullMeansNone<HGDIOBJ, DeleteObject>>;
using UniqueAccelerators = UniqueOwner<HACCEL, NullMeansNone<HACCEL, DestroyAcceleratorTable>>;
using UniqueIcon = UniqueOwner<HICON, NullMeansNone<HICON, DestroyIcon>>;
using UniqueDrop = UniqueOwner<HDROP, NullMeansNone<HDROP, DragFinish>>;
// A device context of one's own, such as CreateCompatibleDC's.
using UniqueDc = UniqueOwner<HDC, NullMeansNone<HDC, DeleteDC>>;
// FormatMessageW's text, allocated with LocalAlloc for the caller.
using UniqueLocalText = UniqueOwner<wchar_t*, NullMeansNone<HLOCAL, LocalFree>>;
// An item ID list a shell call allocated with the COM allocator.
using UniqueItemIdList = UniqueOwner<PIDLIST_ABSOLUTE, NullMeansNone<void*, CoTaskMemFree>>;

// The screen's device context, released on every path; null where the system gives none.
class ScreenDc {
public:
    ScreenDc() : dc_(GetDC(nullptr)) {}
    ~ScreenDc() {
        if (dc_) ReleaseDC(nullptr, dc_);
    }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

// An object selected into a device context for the length of a scope.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~SelectedObject() {
        if (previous_) SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Quiet error mode for the length of a system call: a drive without a medium makes the call
// fail instead of showing the system's critical-error box.
class QuietErrorMode {
public:
    QuietErrorMode() : previous_(SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX)) {}
    ~QuietErrorMode() { SetErrorMode(previous_); }
    QuietErrorMode(const QuietErrorMode&) = delete;
    QuietErrorMode& operator=(const QuietErrorMode&) = delete;

private:
    UINT previous_;
};

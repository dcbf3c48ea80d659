// Owners of the system's handles: each closes what it holds when it goes out
// of scope, moves but never copies, and gives the handle back only on
// release(). Everything that opens a handle, key, hook, GDI object, module or
// mapped view keeps it in one of these.
#pragma once

#include <windows.h>

#include <utility>

namespace handles {

// Traits: `Type`, `Empty()` (the value that owns nothing) and `Close(value)`.
template <typename Traits> class Unique {
  public:
    using Type = typename Traits::Type;

    Unique() = default;
    explicit Unique(Type value) : value_(value) {}
    ~Unique() { reset(); }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    Unique(Unique&& other) noexcept : value_(other.release()) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    Type get() const { return value_; }
    explicit operator bool() const { return !Traits::IsEmpty(value_); }

    // For functions that return the handle through a pointer; closes what
    // was held before.
    Type* receive() {
        reset();
        return &value_;
    }

    Type release() { return std::exchange(value_, Traits::Empty()); }

    void reset(Type value = Traits::Empty()) {
        if (!Traits::IsEmpty(value_))
            Traits::Close(value_);
        value_ = value;
    }

  private:
    Type value_ = Traits::Empty();
};

template <typename T, T empty> struct NullIsEmpty {
    using Type = T;
    static constexpr T Empty() { return empty; }
    static bool IsEmpty(T value) { return value == empty; }
};

// Kernel objects: CreateFile's INVALID_HANDLE_VALUE and everyone else's null
// both own nothing.
struct KernelHandleTraits {
    using Type = HANDLE;
    static HANDLE Empty() { return nullptr; }
    static bool IsEmpty(HANDLE value) { return !value || value == INVALID_HANDLE_VALUE; }
    static void Close(HANDLE value) { CloseHandle(value); }
};

struct RegKeyTraits : NullIsEmpty<HKEY, nullptr> {
    static void Close(HKEY value) { RegCloseKey(value); }
};

template <typename Object> struct GdiObjectTraits : NullIsEmpty<Object, nullptr> {
    static void Close(Object value) { DeleteObject(value); }
};

struct MemoryDcTraits : NullIsEmpty<HDC, nullptr> {
    static void Close(HDC value) { DeleteDC(value); }
};

struct HookTraits : NullIsEmpty<HHOOK, nullptr> {
    static void Close(HHOOK value) { UnhookWindowsHookEx(value); }
};

struct IconTraits : NullIsEmpty<HICON, nullptr> {
    static void Close(HICON value) { DestroyIcon(value); }
};

struct MenuTraits : NullIsEmpty<HMENU, nullptr> {
    static void Close(HMENU value) { DestroyMenu(value); }
};

struct ModuleTraits : NullIsEmpty<HMODULE, nullptr> {
    static void Close(HMODULE value) { FreeLibrary(value); }
};

struct MappedViewTraits : NullIsEmpty<void*, nullptr> {
    static void Close(void* value) { UnmapViewOfFile(value); }
};

struct WindowTraits : NullIsEmpty<HWND, nullptr> {
    static void Close(HWND value) { DestroyWindow(value); }
};

} // namespace handles

using UniqueHandle = handles::Unique<handles::KernelHandleTraits>;
using UniqueRegKey = handles::Unique<handles::RegKeyTraits>;
using UniqueBrush = handles::Unique<handles::GdiObjectTraits<HBRUSH>>;
using UniqueFont = handles::Unique<handles::GdiObjectTraits<HFONT>>;
using UniqueBitmap = handles::Unique<handles::GdiObjectTraits<HBITMAP>>;
using UniquePen = handles::Unique<handles::GdiObjectTraits<HPEN>>;
using UniqueRegion = handles::Unique<handles::GdiObjectTraits<HRGN>>;
using UniqueMemoryDc = handles::Unique<handles::MemoryDcTraits>;
using UniqueHook = handles::Unique<handles::HookTraits>;
using UniqueIcon = handles::Unique<handles::IconTraits>;
// A menu with its submenus.
using UniqueMenu = handles::Unique<handles::MenuTraits>;
// A module reference from LoadLibrary or GetModuleHandleEx without the
// UNCHANGED_REFCOUNT flag, such as the one that keeps a found window's module
// loaded while it is used.
using UniqueModule = handles::Unique<handles::ModuleTraits>;
using UniqueMappedView = handles::Unique<handles::MappedViewTraits>;
// A window of this program; only the thread that created it can destroy it,
// so the owner lives and ends on that thread.
using UniqueWindow = handles::Unique<handles::WindowTraits>;

// A device context of a window (GetDC/GetWindowDC), given back with ReleaseDC.
class WindowDc {
  public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

  private:
    HWND window_;
    HDC dc_;
};

// Selects an object into a device context and puts the previous one back.
class SelectedObject {
  public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectedObject() {
        if (previous_ && previous_ != HGDI_ERROR)
            SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

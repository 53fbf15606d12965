// One owner per Win32 handle kind: closes its handle on every path out of a scope, cannot be copied,
// and hands the handle over only through an explicit Release.
#pragma once

#include <windows.h>

namespace attente {

// Traits give the handle type, its "no handle" value and how to close it.
template <class Traits> class TScopedHandle {
  public:
    using Handle = typename Traits::Handle;

    TScopedHandle() noexcept = default;
    explicit TScopedHandle(Handle handle) noexcept : handle_(handle) {}
    TScopedHandle(const TScopedHandle&) = delete;
    TScopedHandle& operator=(const TScopedHandle&) = delete;
    TScopedHandle(TScopedHandle&& other) noexcept : handle_(other.Release()) {}
    TScopedHandle& operator=(TScopedHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    ~TScopedHandle() { Reset(); }

    Handle Get() const noexcept { return handle_; }
    bool IsValid() const noexcept { return handle_ != Traits::Invalid(); }
    explicit operator bool() const noexcept { return IsValid(); }

    // Gives up ownership without closing.
    Handle Release() noexcept {
        Handle handle = handle_;
        handle_ = Traits::Invalid();
        return handle;
    }
    // Closes the current handle (also when it equals the new one: for reference-counted kinds such
    // as modules the new owner must bring a reference of its own) and takes the new one.
    void Reset(Handle handle = Traits::Invalid()) noexcept {
        if (IsValid()) Traits::Close(handle_);
        handle_ = handle;
    }
    // For out-parameters (RegOpenKeyExA(..., key.Receive())): closes what is held first.
    Handle* Receive() noexcept {
        Reset();
        return &handle_;
    }

  private:
    Handle handle_ = Traits::Invalid();
};

struct TRegKeyTraits {
    using Handle = HKEY;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle key) noexcept { RegCloseKey(key); }
};

struct TModuleTraits {
    using Handle = HMODULE;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle module) noexcept { FreeLibrary(module); }
};

struct TFindTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle find) noexcept { FindClose(find); }
};

// Files from CreateFile (INVALID_HANDLE_VALUE on failure, unlike most kernel objects).
struct TFileTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle file) noexcept { CloseHandle(file); }
};

// Kernel objects whose "no handle" value is null: processes, threads, events, mutexes.
struct TKernelObjectTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle object) noexcept { CloseHandle(object); }
};

// GDI objects the program created itself (pens, brushes, fonts, bitmaps); never stock objects.
struct TGdiObjectTraits {
    using Handle = HGDIOBJ;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle object) noexcept { DeleteObject(object); }
};

// An opened registry key; the predefined roots (HKEY_CURRENT_USER, ...) are never put in one.
using TRegKey = TScopedHandle<TRegKeyTraits>;
// A module from LoadLibrary/LoadLibraryEx, one reference.
using TModule = TScopedHandle<TModuleTraits>;
using TFindHandle = TScopedHandle<TFindTraits>;
using TFile = TScopedHandle<TFileTraits>;
using TKernelHandle = TScopedHandle<TKernelObjectTraits>;
using TGdiObject = TScopedHandle<TGdiObjectTraits>;

} // namespace attente

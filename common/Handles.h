#pragma once
// Move-only owners of platform handles. Each closes only a valid handle, exactly once.
#include <windows.h>
#include <wininet.h>

#include <utility>

template <class Traits> class UniqueHandle {
  public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle h) : h_(h) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : h_(std::exchange(other.h_, Traits::Invalid())) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.h_, Traits::Invalid()));
        return *this;
    }
    ~UniqueHandle() { Reset(); }

    Handle Get() const { return h_; }
    explicit operator bool() const { return Traits::IsValid(h_); }
    // For out-parameters: closes what is held and hands out the slot.
    Handle* Put() {
        Reset();
        return &h_;
    }
    void Reset(Handle h = Traits::Invalid()) {
        if (Traits::IsValid(h_)) Traits::Close(h_);
        h_ = h;
    }

  private:
    Handle h_ = Traits::Invalid();
};

// Handles whose only invalid value is null, closed by one platform function.
template <class H, auto CloseFunction> struct NullInvalidTraits {
    using Handle = H;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { CloseFunction(h); }
};

// Kernel handles: some calls fail with null, others with INVALID_HANDLE_VALUE.
template <auto CloseFunction, bool NullIsDefault> struct KernelObjectTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return NullIsDefault ? nullptr : INVALID_HANDLE_VALUE; }
    static bool IsValid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { CloseFunction(h); }
};

using RegKey = UniqueHandle<NullInvalidTraits<HKEY, &RegCloseKey>>;
using InternetHandle = UniqueHandle<NullInvalidTraits<HINTERNET, &InternetCloseHandle>>;
using GdiObject = UniqueHandle<NullInvalidTraits<HGDIOBJ, &DeleteObject>>;
using KernelHandle = UniqueHandle<KernelObjectTraits<&CloseHandle, true>>;
using FindHandle = UniqueHandle<KernelObjectTraits<&FindClose, false>>;

// A window's device context (the screen's for null), released when the scope ends.
class WindowDC {
  public:
    explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

  private:
    HWND hwnd_;
    HDC dc_;
};

// An object selected into a device context for a scope; the one before is put back.
class Selection {
  public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    ~Selection() {
        if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

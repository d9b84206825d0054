#pragma once
// Move-only owners of Win32 handles: one template, a traits struct per handle kind.
// Copyable wrappers are how a handle ends up closed twice, so there are none.

#include <windows.h>
#include <winhttp.h>

#include <utility>

namespace ui {

template <typename Traits>
class TUniqueHandle {
 public:
  using Type = typename Traits::Type;

  TUniqueHandle() noexcept = default;
  explicit TUniqueHandle(Type value) noexcept : value_(value) {}
  TUniqueHandle(const TUniqueHandle&) = delete;
  TUniqueHandle& operator=(const TUniqueHandle&) = delete;
  TUniqueHandle(TUniqueHandle&& other) noexcept : value_(other.release()) {}
  TUniqueHandle& operator=(TUniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~TUniqueHandle() { reset(); }

  [[nodiscard]] Type get() const noexcept { return value_; }
  [[nodiscard]] bool valid() const noexcept { return Traits::IsValid(value_); }
  explicit operator bool() const noexcept { return valid(); }

  // Gives up ownership without closing.
  [[nodiscard]] Type release() noexcept { return std::exchange(value_, Traits::Invalid()); }

  void reset(Type value = Traits::Invalid()) noexcept {
    const Type old = std::exchange(value_, value);
    if (Traits::IsValid(old)) Traits::Close(old);
  }

  // For APIs that return a handle through an out parameter; closes the present one first.
  [[nodiscard]] Type* put() noexcept {
    reset();
    return &value_;
  }

 private:
  Type value_ = Traits::Invalid();
};

// Kernel objects: both null and INVALID_HANDLE_VALUE mean "none".
struct TKernelHandleTraits {
  using Type = HANDLE;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Type h) noexcept { CloseHandle(h); }
};

struct TRegKeyTraits {
  using Type = HKEY;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr; }
  static void Close(Type h) noexcept { RegCloseKey(h); }
};

struct THookTraits {
  using Type = HHOOK;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr; }
  static void Close(Type h) noexcept { UnhookWindowsHookEx(h); }
};

struct TWindowTraits {
  using Type = HWND;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr; }
  static void Close(Type h) noexcept { DestroyWindow(h); }
};

// WinHTTP sessions, connections and requests.
struct TWinHttpHandleTraits {
  using Type = HINTERNET;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr; }
  static void Close(Type h) noexcept { WinHttpCloseHandle(h); }
};

// Fonts, brushes, pens and bitmaps.
struct TGdiObjectTraits {
  using Type = HGDIOBJ;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr; }
  static void Close(Type h) noexcept { DeleteObject(h); }
};

// Memory device contexts (CreateCompatibleDC).
struct TMemoryDCTraits {
  using Type = HDC;
  static Type Invalid() noexcept { return nullptr; }
  static bool IsValid(Type h) noexcept { return h != nullptr; }
  static void Close(Type h) noexcept { DeleteDC(h); }
};

using TUniqueKernelHandle = TUniqueHandle<TKernelHandleTraits>;
using TUniqueRegKey = TUniqueHandle<TRegKeyTraits>;
using TUniqueHook = TUniqueHandle<THookTraits>;
using TUniqueWindow = TUniqueHandle<TWindowTraits>;
using TUniqueGdiObject = TUniqueHandle<TGdiObjectTraits>;
using TUniqueInternetHandle = TUniqueHandle<TWinHttpHandleTraits>;
using TUniqueMemoryDC = TUniqueHandle<TMemoryDCTraits>;

// The DC of a window (or of the screen, for a null window) from GetDC, released when the
// scope ends: it is borrowed, not made, so it goes back with ReleaseDC.
class TWindowDC {
 public:
  explicit TWindowDC(HWND wnd) noexcept : wnd_(wnd), dc_(GetDC(wnd)) {}
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;
  ~TWindowDC() {
    if (dc_) ReleaseDC(wnd_, dc_);
  }
  [[nodiscard]] HDC get() const noexcept { return dc_; }

 private:
  HWND wnd_;
  HDC dc_;
};

// Selects a GDI object into a DC and puts the one it replaced back when the scope ends.
class TSelectObject {
 public:
  TSelectObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(SelectObject(dc, object)) {}
  TSelectObject(const TSelectObject&) = delete;
  TSelectObject& operator=(const TSelectObject&) = delete;
  ~TSelectObject() {
    if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// Closes both handles of a PROCESS_INFORMATION when the scope ends.
class TProcessInformationGuard {
 public:
  explicit TProcessInformationGuard(PROCESS_INFORMATION& info) noexcept : info_(info) {}
  TProcessInformationGuard(const TProcessInformationGuard&) = delete;
  TProcessInformationGuard& operator=(const TProcessInformationGuard&) = delete;
  ~TProcessInformationGuard() {
    if (info_.hThread) CloseHandle(info_.hThread);
    if (info_.hProcess) CloseHandle(info_.hProcess);
    info_.hThread = info_.hProcess = nullptr;
  }

 private:
  PROCESS_INFORMATION& info_;
};

}  // namespace ui

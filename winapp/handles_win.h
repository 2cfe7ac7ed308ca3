#pragma once
// Owners of Win32 handles: each releases what it holds when it goes, none can
// be copied, all can be moved. Each stores everything its release call needs.
#include <windows.h>

#include <utility>

namespace orvalen {

// An owner of one handle whose release needs nothing but the handle. Traits
// give the handle type, the value that means "none" and the release call:
//   struct Traits { using Handle = ...; static Handle Invalid(); static void Release(Handle); };
template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept
      : handle_(std::exchange(other.handle_, Traits::Invalid())) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, Traits::Invalid()));
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { Reset(); }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::Invalid(); }
  void Reset(Handle handle = Traits::Invalid()) {
    if (handle_ != Traits::Invalid()) Traits::Release(handle_);
    handle_ = handle;
  }
  Handle Release() { return std::exchange(handle_, Traits::Invalid()); }
  // For functions that hand out a handle through a pointer; what was held goes first.
  Handle* Out() {
    Reset();
    return &handle_;
  }

 private:
  Handle handle_ = Traits::Invalid();
};

struct IconTraits {
  using Handle = HICON;
  static Handle Invalid() { return nullptr; }
  static void Release(Handle handle) { DestroyIcon(handle); }
};
// An icon made by CreateIcon*, LoadImage without LR_SHARED, ExtractIcon...
using Icon = UniqueHandle<IconTraits>;

struct RegistryKeyTraits {
  using Handle = HKEY;
  static Handle Invalid() { return nullptr; }
  static void Release(Handle handle) { RegCloseKey(handle); }
};
// A key from RegOpenKeyEx or RegCreateKeyEx.
using RegistryKey = UniqueHandle<RegistryKeyTraits>;

struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Release(Handle handle) { FindClose(handle); }
};
// A search from FindFirstFile; FindFirstFile's failure value is the empty one.
using FindHandle = UniqueHandle<FindHandleTraits>;

struct MenuTraits {
  using Handle = HMENU;
  static Handle Invalid() { return nullptr; }
  static void Release(Handle handle) { DestroyMenu(handle); }
};
// A menu from LoadMenu or CreatePopupMenu that no window holds.
using Menu = UniqueHandle<MenuTraits>;

// A GDI object (pen, brush, font, bitmap, region, palette) deleted on release.
template <typename Handle>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle handle) : handle_(handle) {}
  GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  ~GdiObject() { Reset(); }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void Reset(Handle handle = nullptr) {
    if (handle_) DeleteObject(handle_);
    handle_ = handle;
  }
  Handle Release() { return std::exchange(handle_, nullptr); }

 private:
  Handle handle_ = nullptr;
};

using Font = GdiObject<HFONT>;
using Brush = GdiObject<HBRUSH>;
using Pen = GdiObject<HPEN>;
using Bitmap = GdiObject<HBITMAP>;
using Region = GdiObject<HRGN>;
using Palette = GdiObject<HPALETTE>;

// A window's DC from GetDC, released with ReleaseDC.
class WindowDC {
 public:
  explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  WindowDC(WindowDC&& other) noexcept
      : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  WindowDC& operator=(WindowDC&&) = delete;
  ~WindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  HDC Get() const { return dc_; }
  operator HDC() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// A memory DC from CreateCompatibleDC, deleted with DeleteDC.
class MemoryDC {
 public:
  explicit MemoryDC(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
  MemoryDC(MemoryDC&& other) noexcept : dc_(std::exchange(other.dc_, nullptr)) {}
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;
  MemoryDC& operator=(MemoryDC&&) = delete;
  ~MemoryDC() {
    if (dc_) DeleteDC(dc_);
  }
  HDC Get() const { return dc_; }
  operator HDC() const { return dc_; }

 private:
  HDC dc_;
};

// BeginPaint .. EndPaint.
class PaintDC {
 public:
  explicit PaintDC(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  ~PaintDC() { EndPaint(window_, &paint_); }
  HDC Get() const { return dc_; }
  operator HDC() const { return dc_; }
  const PAINTSTRUCT& Info() const { return paint_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// Selects a GDI object into a DC for the scope and selects the previous one back.
class SelectionScope {
 public:
  SelectionScope(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  SelectionScope(const SelectionScope&) = delete;
  SelectionScope& operator=(const SelectionScope&) = delete;
  ~SelectionScope() {
    if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// Selects a palette as foreground palette and realizes it; on leaving, selects
// the previous palette back and realizes that again.
class PaletteScope {
 public:
  PaletteScope(HDC dc, HPALETTE palette) : dc_(dc) {
    if (palette) {
      previous_ = SelectPalette(dc, palette, FALSE);
      RealizePalette(dc);
    }
  }
  PaletteScope(const PaletteScope&) = delete;
  PaletteScope& operator=(const PaletteScope&) = delete;
  ~PaletteScope() {
    if (previous_) {
      SelectPalette(dc_, previous_, FALSE);
      RealizePalette(dc_);
    }
  }

 private:
  HDC dc_;
  HPALETTE previous_ = nullptr;
};

// GlobalLock .. GlobalUnlock of a global memory block.
class GlobalLockScope {
 public:
  explicit GlobalLockScope(HGLOBAL block)
      : block_(block), data_(block ? GlobalLock(block) : nullptr) {}
  GlobalLockScope(const GlobalLockScope&) = delete;
  GlobalLockScope& operator=(const GlobalLockScope&) = delete;
  ~GlobalLockScope() {
    if (data_) GlobalUnlock(block_);
  }
  void* Data() const { return data_; }

 private:
  HGLOBAL block_;
  void* data_;
};

struct GlobalBlockTraits {
  using Handle = HGLOBAL;
  static Handle Invalid() { return nullptr; }
  static void Release(Handle handle) { GlobalFree(handle); }
};
// A global memory block from GlobalAlloc, or one a library handed over to
// its caller; freed with GlobalFree. The block must not be locked when it goes.
using GlobalBlock = UniqueHandle<GlobalBlockTraits>;

// A module from LoadLibrary, freed with FreeLibrary.
class Module {
 public:
  explicit Module(const char* name) : module_(LoadLibraryA(name)) {}
  Module(Module&& other) noexcept : module_(std::exchange(other.module_, nullptr)) {}
  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;
  Module& operator=(Module&&) = delete;
  ~Module() {
    if (module_) FreeLibrary(module_);
  }
  explicit operator bool() const { return module_ != nullptr; }
  HMODULE Get() const { return module_; }
  template <typename Function>
  Function Find(const char* name) const {
    return module_
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module_, name)))
               : nullptr;
  }

 private:
  HMODULE module_;
};

// A kernel handle closed with CloseHandle.
class KernelHandle {
 public:
  KernelHandle() = default;
  explicit KernelHandle(HANDLE handle) : handle_(handle) {}
  KernelHandle(KernelHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  KernelHandle(const KernelHandle&) = delete;
  KernelHandle& operator=(const KernelHandle&) = delete;
  KernelHandle& operator=(KernelHandle&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  ~KernelHandle() { Close(); }
  HANDLE Get() const { return handle_; }
  explicit operator bool() const { return handle_ && handle_ != INVALID_HANDLE_VALUE; }

 private:
  void Close() {
    if (handle_ && handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    handle_ = nullptr;
  }

  HANDLE handle_ = nullptr;
};

}  // namespace orvalen

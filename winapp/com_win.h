#pragma once
// COM for the callers of the layer: an initialisation scope and an interface
// pointer. Header-only, so a module that uses them links only what it calls.
#include <windows.h>
#include <objbase.h>

#include <utility>

namespace orvalen {

// COM initialised for the scope on this thread. A thread that already has
// COM in another apartment keeps it (the scope then owes no uninitialise).
class ComScope {
 public:
  explicit ComScope(DWORD model = COINIT_APARTMENTTHREADED) : hr_(CoInitializeEx(nullptr, model)) {}
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  ~ComScope() {
    if (SUCCEEDED(hr_)) CoUninitialize();
  }
  // True when COM can be used on this thread: initialised here or before.
  bool Ready() const { return SUCCEEDED(hr_) || hr_ == RPC_E_CHANGED_MODE; }

 private:
  HRESULT hr_;
};

// Holds one reference to a COM interface.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes over a reference the caller owns.
  explicit ComPtr(T* owned) : p_(owned) {}
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.p_, nullptr));
    return *this;
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() { Reset(); }

  // For functions that return an interface through T**; what was held goes first.
  T** Out() {
    Reset();
    return &p_;
  }
  // The same for functions that take void** (CoCreateInstance, QueryInterface).
  void** OutVoid() { return reinterpret_cast<void**>(Out()); }
  T* operator->() const { return p_; }
  T* Get() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  void Reset(T* owned = nullptr) {
    if (p_) p_->Release();
    p_ = owned;
  }
  T* Detach() { return std::exchange(p_, nullptr); }

  // Another interface of the same object; empty when the object has none.
  template <typename U>
  ComPtr<U> As(REFIID iid) const {
    ComPtr<U> other;
    if (p_) p_->QueryInterface(iid, other.OutVoid());
    return other;
  }

 private:
  T* p_ = nullptr;
};

}  // namespace orvalen

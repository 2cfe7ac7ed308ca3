#pragma once
// Owners Setup needs beyond winapp/handles_win.h: the COM apartment, COM
// interface pointers, registry keys and shell item lists. Same rules: each
// releases what it holds, none can be copied, all can be moved.
#include <windows.h>
#include <shlobj.h>

#include <utility>

namespace orvalen::setup {

// CoInitialize for the owner's lifetime.
class ComScope {
 public:
  ComScope() : result_(CoInitialize(nullptr)) {}
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  ~ComScope() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  bool Ready() const { return SUCCEEDED(result_); }

 private:
  HRESULT result_;
};

// One reference to a COM interface, released when the owner goes.
template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.pointer_, nullptr));
    return *this;
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() { Reset(); }

  Interface* Get() const { return pointer_; }
  Interface* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  // For functions that hand out a new reference: releases the old one first.
  Interface** Receive() {
    Reset();
    return &pointer_;
  }
  void** ReceiveVoid() { return reinterpret_cast<void**>(Receive()); }
  void Reset(Interface* pointer = nullptr) {
    if (pointer_) pointer_->Release();
    pointer_ = pointer;
  }

 private:
  Interface* pointer_ = nullptr;
};

// An open registry key, closed with RegCloseKey.
class RegistryKey {
 public:
  RegistryKey() = default;
  RegistryKey(RegistryKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
  RegistryKey& operator=(RegistryKey&& other) noexcept {
    if (this != &other) {
      Close();
      key_ = std::exchange(other.key_, nullptr);
    }
    return *this;
  }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  ~RegistryKey() { Close(); }

  static RegistryKey Open(HKEY root, const char* path, REGSAM access) {
    RegistryKey key;
    if (RegOpenKeyExA(root, path, 0, access, &key.key_) != ERROR_SUCCESS) key.key_ = nullptr;
    return key;
  }
  static RegistryKey CreateOrOpen(HKEY root, const char* path, REGSAM access) {
    RegistryKey key;
    if (RegCreateKeyExA(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key.key_,
                        nullptr) != ERROR_SUCCESS) {
      key.key_ = nullptr;
    }
    return key;
  }

  HKEY Get() const { return key_; }
  explicit operator bool() const { return key_ != nullptr; }

 private:
  void Close() {
    if (key_) RegCloseKey(key_);
    key_ = nullptr;
  }

  HKEY key_ = nullptr;
};

// A shell item id list allocated by the shell, freed with CoTaskMemFree.
class ItemIdList {
 public:
  ItemIdList() = default;
  explicit ItemIdList(LPITEMIDLIST list) : list_(list) {}
  ItemIdList(ItemIdList&& other) noexcept : list_(std::exchange(other.list_, nullptr)) {}
  ItemIdList& operator=(ItemIdList&& other) noexcept {
    if (this != &other) {
      CoTaskMemFree(list_);
      list_ = std::exchange(other.list_, nullptr);
    }
    return *this;
  }
  ItemIdList(const ItemIdList&) = delete;
  ItemIdList& operator=(const ItemIdList&) = delete;
  ~ItemIdList() { CoTaskMemFree(list_); }

  LPITEMIDLIST Get() const { return list_; }
  LPITEMIDLIST* Receive() {
    CoTaskMemFree(list_);
    list_ = nullptr;
    return &list_;
  }
  explicit operator bool() const { return list_ != nullptr; }

 private:
  LPITEMIDLIST list_ = nullptr;
};

}  // namespace orvalen::setup

#pragma once
// Puts a stand-in in the place of one function this test program imports, for
// tests that must see a call the code under test makes to the system: to count
// it, or to keep it from happening (a shell window the test cannot close).
// The program's own import table is patched, so calls from the system's DLLs
// are not affected. The original goes back when the patch ends.
#include <windows.h>

namespace orvalen::test_support {

class ImportPatch {
 public:
  ImportPatch(const char* dll, const char* function, void* standIn) : slot_(Slot(dll, function)) {
    if (!slot_) return;
    original_ = *slot_;
    Write(standIn);
  }
  ~ImportPatch() {
    if (slot_) Write(original_);
  }
  ImportPatch(const ImportPatch&) = delete;
  ImportPatch& operator=(const ImportPatch&) = delete;

  // False when the program does not import the function (nothing was patched).
  bool Installed() const { return slot_ != nullptr; }
  // The function the stand-in replaced, to pass calls on.
  void* Original() const { return original_; }

 private:
  static void** Slot(const char* dll, const char* function) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) return nullptr;
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         d->Name != 0; ++d) {
      if (lstrcmpiA(reinterpret_cast<const char*>(base + d->Name), dll) != 0) continue;
      const DWORD namesAt = d->OriginalFirstThunk ? d->OriginalFirstThunk : d->FirstThunk;
      auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + namesAt);
      auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
      for (; names->u1.AddressOfData != 0; ++names, ++slots) {
        if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
        const auto* byName =
            reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
        if (lstrcmpA(reinterpret_cast<const char*>(byName->Name), function) == 0) {
          return reinterpret_cast<void**>(&slots->u1.Function);
        }
      }
    }
    return nullptr;
  }
  void Write(void* value) {
    DWORD old = 0;
    VirtualProtect(slot_, sizeof *slot_, PAGE_READWRITE, &old);
    *slot_ = value;
    VirtualProtect(slot_, sizeof *slot_, old, &old);
  }

  void** slot_ = nullptr;
  void* original_ = nullptr;
};

}  // namespace orvalen::test_support

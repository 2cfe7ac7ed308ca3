#pragma once
// Owners of what the shell hands out: dropped files and item-id lists.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>
#include <utility>
#include <vector>

#include "winapp/handles_win.h"

namespace orvalen {

struct DropHandleTraits {
  using Handle = HDROP;
  static Handle Invalid() { return nullptr; }
  static void Release(Handle handle) { DragFinish(handle); }
};

// The files of one WM_DROPFILES, released with DragFinish.
class DropHandle : public UniqueHandle<DropHandleTraits> {
 public:
  using UniqueHandle::UniqueHandle;

  UINT Count() const { return Get() ? DragQueryFileA(Get(), 0xFFFFFFFF, nullptr, 0) : 0; }
  std::string Path(UINT index) const {
    if (!Get()) return {};
    const UINT length = DragQueryFileA(Get(), index, nullptr, 0);
    if (length == 0) return {};
    std::string path(length + 1, '\0');
    path.resize(DragQueryFileA(Get(), index, path.data(), length + 1));
    return path;
  }
  // The dropped paths in the order the shell gives them.
  std::vector<std::string> Paths() const {
    std::vector<std::string> paths;
    for (UINT i = 0, count = Count(); i < count; ++i) paths.push_back(Path(i));
    return paths;
  }
};

struct ItemIdListTraits {
  using Handle = LPITEMIDLIST;
  static Handle Invalid() { return nullptr; }
  static void Release(Handle handle) { CoTaskMemFree(handle); }
};

// A shell item-id list (SHBrowseForFolder, SHGetSpecialFolderLocation...),
// freed with CoTaskMemFree.
class ItemIdList : public UniqueHandle<ItemIdListTraits> {
 public:
  using UniqueHandle::UniqueHandle;

  // The file-system path of the item; empty when it has none.
  std::string Path() const {
    char path[MAX_PATH] = "";
    if (!Get() || !SHGetPathFromIDListA(Get(), path)) return {};
    return path;
  }
};

}  // namespace orvalen

// The directory chooser of the directory page.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include "resources/setup_ids.h"
#include "setup/setup_texts.h"
#include "setup/setup_wizard_win.h"
#include "winapp/common_dialogs_win.h"
#include "winapp/file_system_win.h"

namespace orvalen::setup {
namespace {

// The desktop folder or a folder below it, bound from its absolute id list.
ComPtr<IShellFolder> BindFolder(LPCITEMIDLIST folder) {
  ComPtr<IShellFolder> desktop;
  if (FAILED(SHGetDesktopFolder(desktop.Out()))) return {};
  if (!folder || folder->mkid.cb == 0) return desktop;
  ComPtr<IShellFolder> bound;
  if (FAILED(desktop->BindToObject(folder, nullptr, IID_IShellFolder, bound.OutVoid()))) return {};
  return bound;
}

struct FolderLook {
  std::string name;
  int icon = 0;
};

FolderLook LookOf(LPCITEMIDLIST item) {
  SHFILEINFOA info{};
  SHGetFileInfoA(reinterpret_cast<const char*>(item), 0, &info, sizeof info,
                 SHGFI_PIDL | SHGFI_DISPLAYNAME | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
  return {info.szDisplayName, info.iIcon};
}

// Gives the item an expand button before its sub-folders are listed.
void MarkExpandable(const TreeView& tree, HTREEITEM item, bool expandable) {
  TVITEMA change{};
  change.mask = TVIF_CHILDREN;
  change.hItem = item;
  change.cChildren = expandable ? 1 : 0;
  tree.Send(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&change));
}

}  // namespace

TDirDialog::TDirDialog(std::string path) : Dialog(IDD_SETUP_CHOOSE_DIR), path_(std::move(path)) {}

TreeView TDirDialog::Tree() const { return TreeView(Item(IDC_CHOOSE_TREE).Handle()); }

bool TDirDialog::OnInit() {
  Item(IDC_CHOOSE_PATH).SetText(path_);
  TreeView tree = Tree();
  // The system's small icons; the list belongs to the shell and is shared.
  SHFILEINFOA info{};
  auto icons = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  if (icons) tree.SetImageList(icons);
  ItemIdList desktop;
  if (FAILED(SHGetSpecialFolderLocation(Handle(), CSIDL_DESKTOP, desktop.Out()))) return true;
  const FolderLook look = LookOf(desktop.Get());
  nodes_.push_back(std::move(desktop));
  HTREEITEM root = tree.Insert(TVI_ROOT, look.name, look.icon, look.icon, TVI_LAST,
                               reinterpret_cast<LPARAM>(&nodes_.back()));
  if (root) {
    MarkExpandable(tree, root, true);
    tree.Expand(root, TVE_EXPAND);
  }
  return true;
}

void TDirDialog::AddChildren(HTREEITEM parent, LPCITEMIDLIST folder) {
  ComPtr<IShellFolder> shellFolder = BindFolder(folder);
  if (!shellFolder) return;
  ComPtr<IEnumIDList> children;
  if (shellFolder->EnumObjects(Handle(), SHCONTF_FOLDERS, children.Out()) != S_OK || !children)
    return;
  TreeView tree = Tree();
  ItemIdList child;
  while (children->Next(1, child.Out(), nullptr) == S_OK) {
    ItemIdList absolute(ILCombine(folder, child.Get()));
    if (!absolute) continue;
    SFGAOF attributes = SFGAO_HASSUBFOLDER | SFGAO_FOLDER;
    LPCITEMIDLIST items[] = {child.Get()};
    if (FAILED(shellFolder->GetAttributesOf(1, items, &attributes))) attributes = 0;
    const FolderLook look = LookOf(absolute.Get());
    nodes_.push_back(std::move(absolute));
    HTREEITEM item = tree.Insert(parent, look.name, look.icon, look.icon, TVI_LAST,
                                 reinterpret_cast<LPARAM>(&nodes_.back()));
    if (item) MarkExpandable(tree, item, (attributes & SFGAO_HASSUBFOLDER) != 0);
  }
}

std::optional<LRESULT> TDirDialog::OnNotify(const NMHDR& header) {
  if (header.idFrom != IDC_CHOOSE_TREE) return std::nullopt;
  // Only the item handles, states and data are read: the same in the ANSI
  // and the wide notification.
  const auto& change = reinterpret_cast<const NMTREEVIEWA&>(header);
  const auto* node = reinterpret_cast<const ItemIdList*>(change.itemNew.lParam);
  if (header.code == TVN_ITEMEXPANDINGA || header.code == TVN_ITEMEXPANDINGW) {
    // Sub-folders are listed the first time a node opens.
    if (change.action == TVE_EXPAND && node && !Tree().Child(change.itemNew.hItem)) {
      AddChildren(change.itemNew.hItem, node->Get());
    }
    return 0;
  }
  if (header.code == TVN_SELCHANGEDA || header.code == TVN_SELCHANGEDW) {
    const std::string path = node ? node->Path() : std::string();
    if (!path.empty()) Item(IDC_CHOOSE_PATH).SetText(ProposedFolderIn(path));
    return 0;
  }
  return std::nullopt;
}

bool TDirDialog::OnCommand(int id, int, HWND) {
  if (id == IDOK) {
    OnOk();
    return true;
  }
  if (id == IDCANCEL) {
    End(IDCANCEL);
    return true;
  }
  return false;
}

void TDirDialog::OnOk() {
  const std::string path = Item(IDC_CHOOSE_PATH).Text();
  if (!DirectoryExists(path) && ShowMessage(Handle(), kCreateQuestion, kCreateQuestionCaption,
                                            MB_YESNO | MB_ICONINFORMATION) != IDYES) {
    return;
  }
  if (!CreateInstallDirectory(Handle(), path)) return;
  path_ = path;
  End(IDOK);
}

}  // namespace orvalen::setup

// The directory chooser of the directory page.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include "resources/setup_ids.h"
#include "setup/setup_texts.h"
#include "setup/setup_wizard_win.h"

namespace orvalen::setup {
namespace {

HWND Tree(HWND dialog) { return GetDlgItem(dialog, IDC_CHOOSE_TREE); }

// The desktop folder or a folder below it, bound from its absolute id list.
ComPtr<IShellFolder> BindFolder(LPCITEMIDLIST folder) {
  ComPtr<IShellFolder> desktop;
  if (FAILED(SHGetDesktopFolder(desktop.Receive()))) return {};
  if (!folder || folder->mkid.cb == 0) return desktop;
  ComPtr<IShellFolder> bound;
  if (FAILED(desktop->BindToObject(folder, nullptr, IID_IShellFolder, bound.ReceiveVoid()))) return {};
  return bound;
}

}  // namespace

TDirDialog::TDirDialog(std::string path) : Dialog(IDD_SETUP_CHOOSE_DIR), path_(std::move(path)) {}

TDirDialog::~TDirDialog() = default;

BOOL TDirDialog::OnInit() {
  SetDlgItemTextA(Handle(), IDC_CHOOSE_PATH, path_.c_str());
  // The system's small icons; the list belongs to the shell and is shared.
  SHFILEINFOA info{};
  auto icons = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  if (icons) TreeView_SetImageList(Tree(Handle()), icons, TVSIL_NORMAL);
  ItemIdList desktop;
  if (FAILED(SHGetSpecialFolderLocation(Handle(), CSIDL_DESKTOP, desktop.Receive()))) return TRUE;
  SHGetFileInfoA(reinterpret_cast<const char*>(desktop.Get()), 0, &info, sizeof info,
                 SHGFI_PIDL | SHGFI_DISPLAYNAME | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
  nodes_.push_back(std::move(desktop));
  TVINSERTSTRUCTA insert{};
  insert.hParent = TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
  insert.item.pszText = info.szDisplayName;
  insert.item.iImage = insert.item.iSelectedImage = info.iIcon;
  insert.item.cChildren = 1;
  insert.item.lParam = reinterpret_cast<LPARAM>(&nodes_.back());
  HTREEITEM root = reinterpret_cast<HTREEITEM>(
      SendMessageA(Tree(Handle()), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
  if (root) TreeView_Expand(Tree(Handle()), root, TVE_EXPAND);
  return TRUE;
}

void TDirDialog::AddChildren(HTREEITEM parent, LPCITEMIDLIST folder) {
  ComPtr<IShellFolder> shellFolder = BindFolder(folder);
  if (!shellFolder) return;
  ComPtr<IEnumIDList> children;
  if (shellFolder->EnumObjects(Handle(), SHCONTF_FOLDERS, children.Receive()) != S_OK || !children) return;
  LPITEMIDLIST child = nullptr;
  while (children->Next(1, &child, nullptr) == S_OK) {
    ItemIdList relative(child);
    ItemIdList absolute(ILCombine(folder, relative.Get()));
    if (!absolute) continue;
    SFGAOF attributes = SFGAO_HASSUBFOLDER | SFGAO_FOLDER;
    LPCITEMIDLIST items[] = {relative.Get()};
    if (FAILED(shellFolder->GetAttributesOf(1, items, &attributes))) attributes = 0;
    SHFILEINFOA info{};
    SHGetFileInfoA(reinterpret_cast<const char*>(absolute.Get()), 0, &info, sizeof info,
                   SHGFI_PIDL | SHGFI_DISPLAYNAME | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    nodes_.push_back(std::move(absolute));
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
    insert.item.pszText = info.szDisplayName;
    insert.item.iImage = insert.item.iSelectedImage = info.iIcon;
    insert.item.cChildren = (attributes & SFGAO_HASSUBFOLDER) ? 1 : 0;
    insert.item.lParam = reinterpret_cast<LPARAM>(&nodes_.back());
    SendMessageA(Tree(Handle()), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert));
  }
}

LRESULT TDirDialog::OnNotify(const NMHDR& header) {
  if (header.idFrom != IDC_CHOOSE_TREE) return 0;
  if (header.code == TVN_ITEMEXPANDINGA || header.code == TVN_ITEMEXPANDINGW) {
    const auto& change = reinterpret_cast<const NMTREEVIEWA&>(header);
    // Sub-folders are listed the first time a node opens.
    if (change.action == TVE_EXPAND && !TreeView_GetChild(Tree(Handle()), change.itemNew.hItem)) {
      const auto* node = reinterpret_cast<const ItemIdList*>(change.itemNew.lParam);
      if (node) AddChildren(change.itemNew.hItem, node->Get());
    }
  } else if (header.code == TVN_SELCHANGEDA || header.code == TVN_SELCHANGEDW) {
    const auto& change = reinterpret_cast<const NMTREEVIEWA&>(header);
    const auto* node = reinterpret_cast<const ItemIdList*>(change.itemNew.lParam);
    char path[MAX_PATH] = {};
    if (node && SHGetPathFromIDListA(node->Get(), path) && path[0]) {
      SetDlgItemTextA(Handle(), IDC_CHOOSE_PATH, ProposedFolderIn(path).c_str());
    }
  }
  return 0;
}

void TDirDialog::OnCommand(int id, int, HWND) {
  if (id == IDOK) {
    OnOk();
  } else if (id == IDCANCEL) {
    End(IDCANCEL);
  }
}

void TDirDialog::OnOk() {
  char text[MAX_PATH] = {};
  GetDlgItemTextA(Handle(), IDC_CHOOSE_PATH, text, sizeof text);
  const std::string path = text;
  if (!DirectoryExists(path) &&
      MessageBoxA(Handle(), kCreateQuestion, kCreateQuestionCaption, MB_YESNO | MB_ICONINFORMATION) != IDYES) {
    return;
  }
  if (!CreateInstallDirectory(Handle(), path)) return;
  path_ = path;
  End(IDOK);
}

}  // namespace orvalen::setup

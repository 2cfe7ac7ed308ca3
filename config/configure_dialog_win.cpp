#include "config/configure_dialog_win.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "config/command_ids.h"
#include "resources/resource_ids.h"
#include "saver/process_state.h"
#include "saver/startup_win.h"
#include "winapp/file_system_win.h"
#include "winapp/private_profile.h"
#include "winapp/process_win.h"

namespace orvalen {
namespace {

constexpr size_t kTreeTextChars = 50;
constexpr DWORD kWriteGapMs = 50;

// Whether the profile can be written: opened for writing without changing
// it, created when missing (the private-profile functions would create it).
bool CanWriteProfile(const std::string& path) {
  KernelHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  return file.Get() != INVALID_HANDLE_VALUE;
}

}  // namespace

const char* const TSC_Configure::kTreeTexts[kPageCount] = {
    "Images", "Options", "Effects", "Background", "Calendar",
    "Default Text", "Password", "Profiles", "About"};

const char* const TSC_Configure::kHeadings[kPageCount] = {
    " Select images",
    " General options",
    " Modify display",
    " Change background color or tile",
    " Calendar data file",
    " Default Text (if no calendar)",
    " Password Protection",
    " Save these settings or open another file",
    " About Orvalen Screen Saver"};

TSC_Configure::TSC_Configure(bool owned)
    : Dialog(owned ? IDD_CONFIGURE_OWNED : IDD_CONFIGURE) {
  PrivateProfile profile(Startup().activeProfilePath);
  ReadSettings(profile, Settings());
}

SettingsPage& TSC_Configure::PageAt(int index) {
  SettingsPage* const pages[kPageCount] = {&images_,      &general_,  &effects_,
                                           &background_,  &calendar_, &defaultText_,
                                           &password_,    &profiles_, &about_};
  return *pages[index];
}

bool TSC_Configure::OnInit() {
  HMENU systemMenu = GetSystemMenu(Handle(), FALSE);
  EnableMenuItem(systemMenu, SC_MAXIMIZE, MF_BYCOMMAND | MF_GRAYED);
  EnableMenuItem(systemMenu, SC_SIZE, MF_BYCOMMAND | MF_GRAYED);

  tree_.AttachItem(*this, IDC_CONFIGURE_TREE);
  linkFont_.Reset(CreatePageFont(true));
  CreateHomeLink();

  HINSTANCE instance = GetModuleHandleA(nullptr);
  HICON icon = static_cast<HICON>(
      LoadImageA(instance, MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON, 16, 16, LR_SHARED));
  if (icon) Send(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  treeImages_ = ImageList::FromBitmap(IDB_PAGE_TREE, 17, RGB(255, 255, 255));
  tree_.Send(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(treeImages_.Get()));
  tree_.Send(TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<LPARAM>(treeImages_.Get()));

  CreatePages();
  FillTree();
  return true;
}

void TSC_Configure::CreateHomeLink() {
  if (!homeLink_.CreateOver(*this, IDC_CONFIGURE_HOME_AREA, "Home", WS_VISIBLE,
                            IDC_CONFIGURE_HOME_LINK)) {
    return;
  }
  homeLink_.SetFont(linkFont_.Get(), false);
  homeLink_.SetFrameStyle(kFrameFlat);
  WindowDC screen(nullptr);
  if (GetDeviceCaps(screen, NUMCOLORS) == -1) {
    homeLink_.SetColors(RGB(230, 230, 230), RGB(255, 255, 255), RGB(140, 140, 140),
                        RGB(50, 50, 128));
  } else {
    homeLink_.SetColors(RGB(0, 0, 0), RGB(255, 255, 255), RGB(128, 128, 128), RGB(0, 0, 128));
  }
}

void TSC_Configure::CreatePages() {
  for (int i = 0; i < kPageCount; ++i) pages_.Add(PageAt(i));
}

void TSC_Configure::FillTree() {
  for (int i = 0; i < kPageCount; ++i) {
    TVINSERTSTRUCTA insert{};
    insert.hParent = TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<char*>(kTreeTexts[i]);
    insert.item.iImage = i;
    insert.item.iSelectedImage = i;
    tree_.Send(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert));
  }
  // Selecting the first item shows its page through the selection notice.
  const LPARAM first = tree_.Send(TVM_GETNEXTITEM, TVGN_ROOT, 0);
  tree_.Send(TVM_SELECTITEM, TVGN_CARET, first);
}

void TSC_Configure::SwitchPage() {
  const LPARAM selected = tree_.Send(TVM_GETNEXTITEM, TVGN_CARET, 0);
  if (!selected) return;
  char text[kTreeTextChars + 1] = {};
  TVITEMA item{};
  item.mask = TVIF_TEXT;
  item.hItem = reinterpret_cast<HTREEITEM>(selected);
  item.pszText = text;
  item.cchTextMax = sizeof text;
  if (!tree_.Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return;
  for (int i = 0; i < kPageCount; ++i) {
    if (std::strcmp(text, kTreeTexts[i]) == 0) {
      pages_.Show(static_cast<size_t>(i));
      Item(IDC_CONFIGURE_HEADING).SetText(kHeadings[i]);
      return;
    }
  }
}

std::optional<LRESULT> TSC_Configure::OnNotify(const NMHDR& header) {
  if (header.idFrom == IDC_CONFIGURE_TREE &&
      (header.code == TVN_SELCHANGEDA || header.code == TVN_SELCHANGEDW)) {
    SwitchPage();
    return 0;
  }
  return std::nullopt;
}

bool TSC_Configure::OnCommand(int id, int, HWND) {
  switch (id) {
    case IDOK: SaveAndClose(); return true;
    case IDCANCEL: End(IDCANCEL); return true;
    case IDC_CONFIGURE_HELP: OpenHelp(); return true;
    case IDC_CONFIGURE_HOME_PAGE:
    case IDC_CONFIGURE_HOME_LINK: OpenWithShell(UserGuidePath()); return true;
    case IDC_CONFIGURE_SLIDE_SHOW: StartSlideShow(); return true;
    case CM_PROFILE_RELOAD: ReloadAllPages(); return true;
    case CM_PROFILE_SAVE: WriteAllPages(Startup().activeProfilePath); return true;
    default: return true;  // the hidden default button has no command: Enter does nothing
  }
}

bool TSC_Configure::OnDropFiles(DropHandle files) {
  SetForegroundWindow(Handle());
  std::vector<std::string> paths;
  const UINT count = files.Count();
  for (UINT i = 0; i < count; ++i) {
    char path[MAX_PATH] = {};
    if (DragQueryFileA(files.Get(), i, path, MAX_PATH)) paths.emplace_back(path);
  }
  images_.AcceptDroppedPaths(paths);
  return true;
}

void TSC_Configure::WriteAllPages(const std::string& path) {
  SaverSettings& settings = Settings();
  SettingsPage* const storing[] = {&general_,  &effects_,    &background_,
                                   &calendar_, &defaultText_, &password_};
  for (SettingsPage* page : storing) page->Store(settings);
  std::vector<ImageEntry> list;
  list.reserve(images_.ImageCount());
  for (int i = 0; i < images_.ImageCount(); ++i) {
    list.push_back(ImageEntry{images_.ImageFolder(i) + images_.ImageName(i), images_.ImageText(i)});
  }
  PrivateProfile profile(path);
  WriteSettings(profile, settings, list);
}

void TSC_Configure::ReloadAllPages() {
  images_.ClearDropQueue();
  PrivateProfile profile(Startup().activeProfilePath);
  ReadSettings(profile, Settings());
  SettingsPage* const loading[] = {&images_,      &general_,  &effects_,
                                   &calendar_,    &defaultText_, &background_,
                                   &password_,    &profiles_, &about_};
  for (SettingsPage* page : loading) page->Load(Settings());
}

void TSC_Configure::SaveAndClose() {
  StartupState& startup = Startup();
  // A profile that cannot be written would take nothing of what is on
  // screen: say so and stay open, instead of closing as if it were saved.
  if (!CanWriteProfile(startup.activeProfilePath)) {
    char text[MAX_PATH + 96];
    std::snprintf(text, sizeof text, "The settings cannot be written to\n%s\n\nNothing was saved.",
                  startup.activeProfilePath.c_str());
    MessageBoxA(Handle(), text, "Orvalen", MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  WriteAllPages(startup.activeProfilePath);
  Sleep(kWriteGapMs);
  PrivateProfile active(startup.activeProfilePath);
  active.WriteInt(profile_keys::kSettings, profile_keys::kKeySignature, 1);
  active.Flush();
  Sleep(kWriteGapMs);
  PrivateProfile defaults(startup.defaultProfilePath);
  defaults.WriteString(profile_keys::kSettings, profile_keys::kKeyProfile,
                       active.Path().c_str());
  defaults.Flush();
  Sleep(kWriteGapMs);
  End(IDOK);
}

void TSC_Configure::StartSlideShow() {
  const StartupState& startup = Startup();
  EnterProgramDir(startup);
  const std::string& slide = startup.slideProfilePath;
  DeleteFileA(slide.c_str());
  CopyFileA(startup.activeProfilePath.c_str(), slide.c_str(), FALSE);
  WriteAllPages(slide);
  const int selected = images_.FirstSelectedImage();
  PrivateProfile slideProfile(slide);
  slideProfile.WriteInt(profile_keys::kSettings, profile_keys::kLastImage,
                        selected >= 0 ? selected : 0);
  slideProfile.Flush();

  StartDetached(nullptr, "\"" + startup.programDir + "Orvalen.exe\" /x");
}

void TSC_Configure::OpenHelp() {
  // The help file where there is one and the system still has its viewer;
  // otherwise the user guide installed beside the program.
  const std::string helpFile = Startup().programDir + kHelpFile;
  if (FileExists(helpFile) && WinHelpA(Handle(), helpFile.c_str(), HELP_CONTENTS, 0)) return;
  OpenWithShell(UserGuidePath());
}

void RunConfigureDialog(HWND owner, bool owned) {
  TSC_Configure dialog(owned);
  // An owner handle that names no window would make the dialog fail to
  // appear at all; it is then shown without owner.
  dialog.RunModal(owner && IsWindow(owner) ? owner : nullptr);
}

}  // namespace orvalen

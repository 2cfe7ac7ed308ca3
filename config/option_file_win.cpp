#include "config/option_file_win.h"

#include <cstdio>

#include "config/command_ids.h"
#include "config/page_rules.h"
#include "resources/resource_ids.h"
#include "saver/process_state.h"
#include "saver/startup_win.h"
#include "winapp/common_dialogs_win.h"
#include "winapp/private_profile.h"

namespace orvalen {
namespace {

struct GlyphButton {
  int id;
  const char* text;
  int placeholder;
  int glyph;
};
constexpr GlyphButton kButtons[] = {
    {IDC_PROFILES_NEW, "&New", IDC_PROFILES_NEW_AREA, IDB_NEW_FILE},
    {IDC_PROFILES_OPEN, "&Open", IDC_PROFILES_OPEN_AREA, IDB_OPEN_FILE},
    {IDC_PROFILES_SAVE, "&Save", IDC_PROFILES_SAVE_AREA, IDB_SAVE_FILE},
    {IDC_PROFILES_SAVE_AS, "Save &As", IDC_PROFILES_SAVE_AS_AREA, IDB_SAVE_FILE_AS},
};

constexpr const char* kAccessError = "Access Error";

// The settings files' dialogs: filter, extension, the folder of the user's
// settings files to start in, overwrite question, no read-only box, working
// folder untouched.
// Runs the dialog; the chosen path, nothing on Cancel.
std::optional<std::string> AskProfileName(HWND owner, const char* title, bool save) {
  FileDialog dialog;
  dialog.SetTitle(title);
  dialog.SetFilter("Orvalen Settings (*.orv)|*.orv");
  dialog.SetDefaultExtension("orv");
  dialog.SetInitialFolder(Startup().dataDir);
  dialog.SetFlags(OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_ENABLESIZING);
  const bool chosen = save ? dialog.ShowSave(owner) : dialog.ShowOpen(owner);
  if (!chosen || dialog.Paths().empty()) return std::nullopt;
  return dialog.Paths().front();
}


}  // namespace

TOptionFile::TOptionFile() : SettingsPage(IDD_PROFILES) {}

bool TOptionFile::OnInit() {
  for (size_t i = 0; i < std::size(kButtons); ++i) {
    const GlyphButton& button = kButtons[i];
    if (buttons_[i].CreateOver(*this, button.placeholder, button.text, WS_VISIBLE | WS_TABSTOP,
                               button.id)) {
      buttons_[i].SetGlyph(kGlyphNormal, button.glyph);
    }
  }
  Load(Settings());
  return true;
}

void TOptionFile::Load(const SaverSettings&) {
  const StartupState& startup = Startup();
  Item(IDC_PROFILES_CURRENT).SetText(
      ProfileDisplayName(startup.activeProfilePath, startup.defaultProfilePath));
}

bool TOptionFile::OnCommand(int id, int, HWND) {
  switch (id) {
    case IDC_PROFILES_NEW: NewFile(); return true;
    case IDC_PROFILES_OPEN: OpenFile(); return true;
    case IDC_PROFILES_SAVE: Notify(CM_PROFILE_SAVE); return true;
    case IDC_PROFILES_SAVE_AS: SaveAs(); return true;
    default: return false;
  }
}

void TOptionFile::Notify(int command) {
  SendMessageA(GetParent(Handle()), WM_COMMAND, MAKEWPARAM(command, 0),
               reinterpret_cast<LPARAM>(Handle()));
}

void TOptionFile::NewFile() {
  std::optional<std::string> chosen = AskProfileName(Handle(), "New File", true);
  if (!chosen) return;
  EnterProgramDir(Startup());
  const std::string path = WithProfileExtension(*chosen);
  std::FILE* file = std::fopen(path.c_str(), "wt");
  if (!file) {
    ShowMessage(Handle(), "File creation error!");
    return;
  }
  std::fputs("Orvalen\n", file);
  const bool written = std::fclose(file) == 0;
  if (!written || !CanOpenForReading(path)) {
    ShowMessage(Handle(), kAccessError);
    return;
  }
  Startup().activeProfilePath = path;
  PrivateProfile profile(path);
  ReadSettings(profile, Settings());
  Notify(CM_PROFILE_RELOAD);
}

void TOptionFile::OpenFile() {
  std::optional<std::string> chosen = AskProfileName(Handle(), "Open", false);
  if (!chosen) return;
  EnterProgramDir(Startup());
  if (*chosen == Startup().activeProfilePath) {
    ShowMessage(Handle(), "Already Open");
    return;
  }
  PrivateProfile profile(*chosen);
  if (profile.GetInt(profile_keys::kSettings, profile_keys::kKeySignature, 0) != 1 &&
      ShowMessage(Handle(), "This may not be a Orvalen file\nDo you want to continue?",
                  "Quillmark Organizer", MB_OKCANCEL) != IDOK) {
    return;
  }
  if (!CanOpenForReading(*chosen)) {
    ShowMessage(Handle(), kAccessError);
    return;
  }
  Startup().activeProfilePath = *chosen;
  Notify(CM_PROFILE_RELOAD);
}

void TOptionFile::SaveAs() {
  std::optional<std::string> chosen = AskProfileName(Handle(), "Save As...", true);
  if (!chosen) return;
  EnterProgramDir(Startup());
  if (*chosen == Startup().activeProfilePath) {
    Notify(CM_PROFILE_SAVE);
    return;
  }
  const std::string path = WithProfileExtension(*chosen);
  CopyFileA(Startup().activeProfilePath.c_str(), path.c_str(), FALSE);
  if (!CanOpenForReading(path)) {
    ShowMessage(Handle(), kAccessError);
    return;
  }
  Startup().activeProfilePath = path;
  Notify(CM_PROFILE_SAVE);
  Load(Settings());
}

}  // namespace orvalen

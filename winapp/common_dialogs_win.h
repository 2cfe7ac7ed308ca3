#pragma once
// The common dialogs: file open and save (with a child template and hook),
// the colour chooser, shell folder browsing, and the message-box helper.
#include <windows.h>
#include <commdlg.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace orvalen {

// A file open or save dialog. Set what is needed, then ShowOpen or ShowSave.
// With a child template (a WS_CHILD | DS_CONTROL | DS_3DLOOK | WS_CLIPSIBLINGS
// dialog of this program), the dialog is an explorer dialog with a hook: the
// On* members see the child's messages and the dialog's notifications.
class FileDialog {
 public:
  FileDialog() = default;
  FileDialog(const FileDialog&) = delete;
  FileDialog& operator=(const FileDialog&) = delete;
  virtual ~FileDialog() = default;

  // '|'-separated description and pattern pairs, "Pictures|*.bmp;*.jpg|All|*.*".
  void SetFilter(std::string_view barSeparated);
  void SetFilterIndex(DWORD index) { filterIndex_ = index; }  // 1-based
  void SetTitle(std::string title) { title_ = std::move(title); }
  void SetInitialFolder(std::string folder) { initialFolder_ = std::move(folder); }
  // Without the dot ("orv").
  void SetDefaultExtension(std::string extension) { defaultExtension_ = std::move(extension); }
  void SetFileName(std::string name) { fileName_ = std::move(name); }
  // OFN_* flags; OFN_EXPLORER is always added, the hook and template flags
  // when they apply.
  void SetFlags(DWORD flags) { flags_ = flags; }
  // Characters of the file-name buffer (at least MAX_PATH); multiple
  // selection needs room for the folder and every name.
  void SetBufferSize(size_t characters) {
    bufferSize_ = characters < MAX_PATH ? MAX_PATH : characters;
  }
  void SetChildTemplate(int templateId);
  void SetChildTemplate(std::string templateName);
  // Installs the hook without a child template.
  void UseHook(bool hook) { hook_ = hook; }

  // Runs the dialog; true when the user chose a file (then Paths()).
  bool ShowOpen(HWND owner);
  bool ShowSave(HWND owner);

  // The chosen paths: one, or several with OFN_ALLOWMULTISELECT.
  const std::vector<std::string>& Paths() const { return paths_; }
  // The filter the user had chosen (1-based).
  DWORD FilterIndex() const { return filterIndex_; }
  // CommDlgExtendedError after a run that chose nothing (0: cancelled).
  DWORD Error() const { return error_; }
  // The explorer dialog while it runs (the parent of the child template).
  HWND DialogWindow() const { return dialogWindow_; }

 protected:
  // WM_INITDIALOG of the child; return as from a dialog's OnInit.
  virtual bool OnHookInit(HWND child);
  // CDN_* notifications; a value is the notification's answer (for
  // CDN_FILEOK nonzero refuses the file).
  virtual std::optional<LRESULT> OnHookNotify(const OFNOTIFYA& notify);
  // Every other message of the child; a value is the hook's return.
  virtual std::optional<UINT_PTR> OnHookMessage(HWND child, UINT message, WPARAM wParam,
                                                LPARAM lParam);

 private:
  bool Show(HWND owner, bool save);
  static UINT_PTR CALLBACK HookProcedure(HWND child, UINT message, WPARAM wParam, LPARAM lParam);

  std::string filter_;
  DWORD filterIndex_ = 1;
  std::string title_;
  std::string initialFolder_;
  std::string defaultExtension_;
  std::string fileName_;
  DWORD flags_ = 0;
  size_t bufferSize_ = MAX_PATH;
  int templateId_ = 0;
  std::string templateName_;
  bool hook_ = false;
  std::vector<std::string> paths_;
  DWORD error_ = 0;
  HWND dialogWindow_ = nullptr;
};

// The colour dialog with `initial` preselected (CC_RGBINIT) and the 16 custom
// colours, which the user may change; the chosen colour, nothing on cancel.
std::optional<COLORREF> ChooseColour(HWND owner, COLORREF initial,
                                     std::array<COLORREF, 16>& customColours);

// The shell's folder chooser; the chosen folder's path, nothing on cancel or
// for a folder outside the file system.
std::optional<std::string> BrowseForFolder(HWND owner, const char* title);

// A message box with the program's caption by default.
int ShowMessage(HWND owner, const std::string& text, const char* caption = "Orvalen",
                UINT type = MB_OK);

}  // namespace orvalen

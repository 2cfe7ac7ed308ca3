#include "winapp/common_dialogs_win.h"

#include <shlobj.h>

#include "winapp/callback_guard_win.h"
#include "winapp/com_win.h"
#include "winapp/file_dialog_text.h"
#include "winapp/shell_handles_win.h"

namespace orvalen {

void FileDialog::SetFilter(std::string_view barSeparated) {
  filter_ = FilterFromBars(barSeparated);
}

void FileDialog::SetChildTemplate(int templateId) {
  templateId_ = templateId;
  templateName_.clear();
}

void FileDialog::SetChildTemplate(std::string templateName) {
  templateName_ = std::move(templateName);
  templateId_ = 0;
}

bool FileDialog::ShowOpen(HWND owner) { return Show(owner, false); }

bool FileDialog::ShowSave(HWND owner) { return Show(owner, true); }

bool FileDialog::Show(HWND owner, bool save) {
  paths_.clear();
  error_ = 0;
  std::string buffer(bufferSize_ + 2, '\0');
  fileName_.copy(buffer.data(), bufferSize_ - 1);

  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.hInstance = GetModuleHandleA(nullptr);
  dialog.lpstrFilter = filter_.empty() ? nullptr : filter_.c_str();
  dialog.nFilterIndex = filterIndex_;
  dialog.lpstrFile = buffer.data();
  dialog.nMaxFile = static_cast<DWORD>(bufferSize_);
  dialog.lpstrInitialDir = initialFolder_.empty() ? nullptr : initialFolder_.c_str();
  dialog.lpstrTitle = title_.empty() ? nullptr : title_.c_str();
  dialog.lpstrDefExt = defaultExtension_.empty() ? nullptr : defaultExtension_.c_str();
  dialog.Flags = flags_ | OFN_EXPLORER;
  const bool hasTemplate = templateId_ != 0 || !templateName_.empty();
  if (hasTemplate) {
    dialog.Flags |= OFN_ENABLETEMPLATE;
    dialog.lpTemplateName =
        templateName_.empty() ? MAKEINTRESOURCEA(templateId_) : templateName_.c_str();
  }
  if (hasTemplate || hook_) {
    dialog.Flags |= OFN_ENABLEHOOK;
    dialog.lpfnHook = &FileDialog::HookProcedure;
    dialog.lCustData = reinterpret_cast<LPARAM>(this);
  }
  const BOOL chosen = save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
  dialogWindow_ = nullptr;
  if (!chosen) {
    error_ = CommDlgExtendedError();
    return false;
  }
  filterIndex_ = dialog.nFilterIndex;
  paths_ = ParseFileDialogResult(std::string_view(buffer.data(), buffer.size()));
  return !paths_.empty();
}

bool FileDialog::OnHookInit(HWND) { return true; }

std::optional<LRESULT> FileDialog::OnHookNotify(const OFNOTIFYA&) { return std::nullopt; }

std::optional<UINT_PTR> FileDialog::OnHookMessage(HWND, UINT, WPARAM, LPARAM) {
  return std::nullopt;
}

UINT_PTR CALLBACK FileDialog::HookProcedure(HWND child, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    const auto* dialog = reinterpret_cast<const OPENFILENAMEA*>(lParam);
    auto* self = dialog ? reinterpret_cast<FileDialog*>(dialog->lCustData) : nullptr;
    if (!self) return TRUE;
    SetWindowLongPtrA(child, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    self->dialogWindow_ = GetParent(child);
    return GuardedCallback<UINT_PTR>(TRUE, [&]() -> UINT_PTR { return self->OnHookInit(child); });
  }
  auto* self = reinterpret_cast<FileDialog*>(GetWindowLongPtrA(child, DWLP_USER));
  if (!self) return FALSE;
  return GuardedCallback<UINT_PTR>(FALSE, [&]() -> UINT_PTR {
    if (message == WM_NOTIFY) {
      const auto* notify = reinterpret_cast<const OFNOTIFYA*>(lParam);
      if (notify && notify->hdr.code >= CDN_LAST && notify->hdr.code <= CDN_FIRST) {
        const std::optional<LRESULT> answer = self->OnHookNotify(*notify);
        if (!answer) return FALSE;
        SetWindowLongPtrA(child, DWLP_MSGRESULT, *answer);
        return TRUE;
      }
    }
    return self->OnHookMessage(child, message, wParam, lParam).value_or(FALSE);
  });
}

std::optional<COLORREF> ChooseColour(HWND owner, COLORREF initial,
                                     std::array<COLORREF, 16>& customColours) {
  CHOOSECOLORA choose{};
  choose.lStructSize = sizeof choose;
  choose.hwndOwner = owner;
  choose.rgbResult = initial;
  choose.lpCustColors = customColours.data();
  choose.Flags = CC_RGBINIT;
  if (!ChooseColorA(&choose)) return std::nullopt;
  return choose.rgbResult;
}

std::optional<std::string> BrowseForFolder(HWND owner, const char* title) {
  ComScope com;
  char displayName[MAX_PATH] = "";
  BROWSEINFOA browse{};
  browse.hwndOwner = owner;
  browse.pszDisplayName = displayName;
  browse.lpszTitle = title;
  browse.ulFlags = BIF_RETURNONLYFSDIRS;
  ItemIdList chosen(SHBrowseForFolderA(&browse));
  if (!chosen) return std::nullopt;
  std::string path = chosen.Path();
  if (path.empty()) return std::nullopt;
  return path;
}

int ShowMessage(HWND owner, const std::string& text, const char* caption, UINT type) {
  return MessageBoxA(owner, text.c_str(), caption, type);
}

}  // namespace orvalen

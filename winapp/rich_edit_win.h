#pragma once
// The rich-edit control of RICHED32.DLL, which Application loads on request
// (Application::EnsureRichEdit), with its contents streamed from and to a
// std::string.
#include <windows.h>
#include <richedit.h>

#include <optional>
#include <string>

#include "winapp/window_view_win.h"

namespace orvalen {

class RichEdit : public WindowView {
 public:
  using WindowView::WindowView;

  // The window class the module registers.
  static constexpr const char* kClassName = "RICHEDIT";

  // Loads the module through the application of this process; false without
  // an application or when the module can not be loaded.
  static bool EnsureModule();

  // Replaces the contents (or the selection, with SFF_SELECTION in `format`)
  // with `text` read as SF_RTF or SF_TEXT. False when the control took none of
  // it.
  bool StreamIn(const std::string& text, UINT format = SF_RTF);
  // The contents as SF_RTF or SF_TEXT; nothing when the control failed.
  std::optional<std::string> StreamOut(UINT format = SF_RTF) const;
};

}  // namespace orvalen

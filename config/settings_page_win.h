#pragma once
// The base of the configuration dialog's pages.
//
// A page is a SettingsPage: a Dialog made from a child-dialog template
// (WS_CHILD | DS_CONTROL) that moves values between its controls and the
// process-wide SaverSettings record. Load fills the controls from the record,
// Store copies them back; the configuration dialog reads and writes the
// profile around them, so a page does not touch the profile file itself
// (except where a page's own rules make it write at once, as the default-text
// page does).
//
// Adding a page:
//   1. a template in resources/orvalen_exe.rc and its id block in
//      resources/resource_ids.h;
//   2. class TOptionXxx : public SettingsPage, constructed with the template
//      id, overriding Load and Store, and OnInit / OnCommand / OnNotify as its
//      controls need (custom controls are made in OnInit with CreateOver);
//   3. a member of the configuration dialog, passed to its PageHost::Add in
//      the order of the page tree, and included in its load and store
//      sequences.
// Pages report to the dialog with plain commands (config/command_ids.h).
#include <windows.h>

#include <string>

#include "saver/settings.h"
#include "winapp/dialog_win.h"

namespace orvalen {

class SettingsPage : public Dialog {
 public:
  using Dialog::Dialog;

  // Controls from the record.
  virtual void Load(const SaverSettings& settings) = 0;
  // The record from the controls.
  virtual void Store(SaverSettings& settings) = 0;
};

}  // namespace orvalen

#pragma once
// A dialog made from a dialog template, modal or modeless. The object is kept
// in the dialog's user data from WM_INITDIALOG on.
#include <windows.h>

#include "winapp/window_view_win.h"

namespace orvalen {

class Dialog : public WindowView {
 public:
  explicit Dialog(int templateId) : templateId_(templateId) {}
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;
  virtual ~Dialog();

  // Runs the dialog modally; returns the value given to EndDialog, or -1 when
  // the dialog could not be made.
  INT_PTR RunModal(HWND owner);
  // Creates the dialog modeless, as a child or owned window of `parent`.
  HWND CreateModeless(HWND parent);

  int TemplateId() const { return templateId_; }
  void End(INT_PTR result);

 protected:
  virtual BOOL OnInit() { return TRUE; }
  virtual void OnCommand(int id, int notifyCode, HWND control);
  virtual LRESULT OnNotify(const NMHDR& header);
  // Messages the dialog does not dispatch itself; return TRUE when handled.
  virtual INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  int templateId_;
  bool modal_ = false;
};

}  // namespace orvalen

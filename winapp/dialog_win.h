#pragma once
// The one base of dialogs and pages: a dialog made from a template, modal or
// modeless, whose messages reach virtual members. The object is kept in the
// dialog's user data from WM_INITDIALOG until WM_NCDESTROY.
//
// Every member below reports whether it handled its message; what it does not
// handle gets the dialog manager's default processing. Messages about a child
// window (WM_DRAWITEM, WM_CTLCOLOR*, WM_HSCROLL, WM_VSCROLL, WM_NOTIFY) are
// first offered to the Control object of that child (see control_win.h). An
// exception thrown by a member stops at the dialog procedure: that message
// gets default processing, and the dialog goes on working.
#include <windows.h>

#include <optional>
#include <string>

#include "winapp/shell_handles_win.h"
#include "winapp/window_view_win.h"

namespace orvalen {

class Dialog : public WindowView {
 public:
  explicit Dialog(int templateId) : templateId_(templateId) {}
  // A template of that resource name.
  explicit Dialog(std::string templateName) : templateName_(std::move(templateName)) {}
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;
  // A modeless dialog still open is destroyed without reaching this object.
  virtual ~Dialog();

  // Runs the dialog modally; returns the value given to End, or -1 when the
  // dialog could not be made.
  INT_PTR RunModal(HWND owner);
  // Creates the dialog modeless, as a child (a page: WS_CHILD | DS_CONTROL
  // template) or an owned window of `parent`. A dialog that is not a child
  // takes part in the program's dialog keys (Tab, Enter, Escape) through
  // Application until it is destroyed. Null when it could not be made.
  HWND CreateModeless(HWND parent);
  // Ends a modal dialog with `result`; destroys a modeless one.
  void End(INT_PTR result);

  int TemplateId() const { return templateId_; }
  bool IsModal() const { return modal_; }

 protected:
  // WM_INITDIALOG; true lets the dialog manager give the focus to the first
  // control, false means the member set the focus itself.
  virtual bool OnInit() { return true; }
  // WM_COMMAND. The default ends a modal dialog on IDOK and IDCANCEL.
  virtual bool OnCommand(int id, int notifyCode, HWND control);
  // WM_NOTIFY; a value is the notification's result.
  virtual std::optional<LRESULT> OnNotify(const NMHDR& header);
  virtual bool OnTimer(UINT_PTR timerId);
  // WM_DROPFILES; the files are released when `files` goes, unless moved.
  virtual bool OnDropFiles(DropHandle files);
  virtual bool OnSize(UINT type, int width, int height);
  virtual bool OnGetMinMaxInfo(MINMAXINFO& info);
  // WM_DESTROY; the controls still exist.
  virtual void OnDestroy() {}
  // Every other message; a value is what the dialog procedure returns (use
  // Result for messages whose answer goes through DWLP_MSGRESULT).
  virtual std::optional<INT_PTR> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // Answers `message` with `value` the way the dialog manager expects: some
  // messages take it as the procedure's value, the rest through DWLP_MSGRESULT.
  INT_PTR Result(UINT message, LRESULT value);

 private:
  static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  std::optional<LRESULT> Reflect(UINT message, WPARAM wParam, LPARAM lParam);
  LPCSTR Template() const;
  void Detach();

  int templateId_ = 0;
  std::string templateName_;
  bool modal_ = false;
};

}  // namespace orvalen

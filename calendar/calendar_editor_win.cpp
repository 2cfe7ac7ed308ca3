#include "calendar/calendar_editor_win.h"

#include <commdlg.h>

#include <cstdio>
#include <vector>

#include "calendar/calendar_text.h"
#include "calendar/day_zoom_win.h"
#include "calendar/schedule_list_win.h"
#include "resources/resource_ids.h"
#include "winapp/common_dialogs_win.h"
#include "winapp/dpi_win.h"
#include "winapp/file_access_win.h"

namespace orvalen {
namespace {

constexpr char kDefaultExtension[] = ".cal";
constexpr char kOpenFilter[] =
    "QMK Organizer Calendar Files (*.cal)|*.cal|Version 3 files (*.sch)|*.sch";
constexpr char kSaveFilter[] = "QMK Organizer Calendar Files (*.cal)|*.cal";
constexpr COLORREF kHeaderColor = RGB(0, 128, 128);
// The file menu's items up to the recent files: "&New File" .. the separator
// after "&Backup File".
constexpr int kRecentMenuPosition = 7;
constexpr size_t kPathChars = 259;

bool SameText(const std::string& a, const std::string& b) {
  return a.size() == b.size() && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.data(),
                                                static_cast<int>(a.size()), b.data(),
                                                static_cast<int>(b.size())) == CSTR_EQUAL;
}

std::string WithCalendarExtension(std::string path) {
  const size_t dot = path.size() >= 4 ? path.size() - 4 : std::string::npos;
  if (dot == std::string::npos || !SameText(path.substr(dot), kDefaultExtension)) {
    path += kDefaultExtension;
  }
  return path;
}

Date Today() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return {now.wDay, now.wMonth, now.wYear};
}

// A path's identity on its volume, whatever its spelling (relative, short
// 8.3 or long form, letter case); false when it cannot be read.
bool FileIdentity(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
  KernelHandle file(CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return file && GetFileInformationByHandle(file.Get(), &info);
}

// True when both paths name one existing file.
bool SameFile(const std::string& a, const std::string& b) {
  if (SameText(a, b)) return true;
  BY_HANDLE_FILE_INFORMATION first{}, second{};
  return FileIdentity(a, first) && FileIdentity(b, second) &&
         first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
         first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
}

constexpr char kBufferFailureMessage[] = "CAN NOT CREATE BUFFER";
constexpr char kSaveFailedMessage[] = "\n\nThe file could not be written; it is unchanged.";
constexpr char kReplaceFailedMessage[] =
    "\n\nThe file could not be replaced: another program keeps it open.\n"
    "It is unchanged, and your changes are still in the editor; save again later.";

// 12-pixel "MS Sans Serif" of that weight (at 96 DPI).
HFONT MakeFont(int weight) {
  return CreateScaledFont(12, weight, false, false, false, ANSI_CHARSET, DEFAULT_PITCH | FF_SWISS, "MS Sans Serif");
}

}  // namespace

std::string EditorTempStem() {
  char folder[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathA(sizeof folder, folder);
  if (length == 0 || length > MAX_PATH) return {};
  char name[MAX_PATH] = {};
  if (!GetTempFileNameA(folder, "ovc", 0, name)) return {};
  std::string stem = name;
  // GetTempFileName made "<folder>\ovcXXXX.tmp"; the stem leaves out ".tmp".
  if (stem.size() > 4 && SameText(stem.substr(stem.size() - 4), ".tmp")) stem.resize(stem.size() - 4);
  return stem;
}

// ---- TDialogN -------------------------------------------------------------------

TDialogN::TDialogN(CalendarEditorContext context)
    : Dialog(IDD_CALENDAR_EDITOR),
      tempStem_(EditorTempStem()),
      buffer_(tempStem_.empty() ? std::string() : tempStem_ + ".tmp", Win32FileAccess()),
      context_(std::move(context)),
      recentFiles_(*context_.profile) {}

TDialogN::~TDialogN() { RemoveTemporaryFiles(); }

bool TDialogN::OnInit() {
  RegisterWindowMessageA("MRUFILEMESSAGE_EX");
  if (tempStem_.empty() || buffer_.CreateBuffer() != CalendarResult::kOk) {
    CloseForBufferFailure("Internal Error\n\nError occured when creating data buffer\n\n"
                          "The calendar editor has to close.",
                          "Orvalen");
    return true;
  }
  // The file the saver shows opens as it is; the recent files keep their order.
  const std::string& start = *context_.calendarFile;
  if (!start.empty()) OpenPath(start, false);
  return true;
}

void TDialogN::CloseForBufferFailure(const char* text, const char* caption) {
  broken_ = true;
  ShowMessage(Handle(), text, caption, MB_OK | MB_ICONSTOP);
  // After the message, as soon as the window can go: the editor cannot work
  // without its buffer, but the program that opened it goes on.
  PostMessageA(Handle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

void TDialogN::RemoveTemporaryFiles() {
  buffer_.Close();
  // The empty file that reserved the names.
  if (!tempStem_.empty()) DeleteFileA((tempStem_ + ".tmp").c_str());
}

void TDialogN::OnDestroy() {
  StorePath();
  RemoveTemporaryFiles();
}

bool TDialogN::OnQueryEndSession() {
  if (broken_) return true;
  return AskToSave();
}

void TDialogN::OnEndSession(bool ending) {
  if (!ending) return;
  StorePath();
  RemoveTemporaryFiles();
}

std::optional<INT_PTR> TDialogN::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_QUERYENDSESSION: return Result(message, OnQueryEndSession() ? TRUE : FALSE);
    case WM_ENDSESSION: OnEndSession(wParam != FALSE); return Result(message, 0);
    default: return Dialog::HandleMessage(message, wParam, lParam);
  }
}

void TDialogN::StorePath() {
  if (FileOpen()) *context_.calendarFile = FilePath();
}

void TDialogN::SetCaptionToPath() { SetText(FileOpen() ? FilePath() : std::string("Calendar")); }

bool TDialogN::OnCommand(int id, int, HWND) {
  if (id >= IDM_CALENDAR_RECENT_FIRST && id <= IDM_CALENDAR_RECENT_LAST) {
    OpenRecent(id);
    return true;
  }
  switch (id) {
    case IDC_CALENDAR_EDITOR_FILE_MENU: ShowFileMenu(); return true;
    case IDM_CALENDAR_NEW: New(); return true;
    case IDM_CALENDAR_OPEN: Open(); return true;
    case IDM_CALENDAR_SAVE:
      if (!FileOpen()) {
        ShowNoFile();
      } else {
        Save();
      }
      return true;
    case IDM_CALENDAR_SAVE_AS: SaveAs(); return true;
    case IDM_CALENDAR_BACKUP: Backup(); return true;
    case IDOK: SaveAndClose(); return true;
    case IDCANCEL: Close(); return true;
    default: return false;
  }
}

bool TDialogN::AskToSave() {
  if (!CommitDay()) return false;
  if (!FileOpen() || !documentModified_) return true;
  char text[kPathChars + 96];
  std::snprintf(text, sizeof text, "%s\n\nFile has been modified\nDo you whish to save the changes?",
                FilePath().c_str());
  switch (ShowMessage(Handle(), text, "Orvalen", MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES: return Save();
    case IDNO: documentModified_ = false; return true;
    default: return false;
  }
}

void TDialogN::ShowNoFile() {
  ShowMessage(Handle(), kNoFileMessage, "Orvalen", MB_OK | MB_ICONINFORMATION);
  ShowFileMenu();
}

void TDialogN::ShowFileMenu() {
  Menu menus(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDM_CALENDAR_FILE)));
  if (!menus) return;
  HMENU menu = GetSubMenu(menus.Get(), 0);
  const std::vector<std::string> recent = recentFiles_.Entries();
  for (size_t i = 0; i < recent.size(); ++i) {
    InsertMenuA(menu, kRecentMenuPosition + static_cast<UINT>(i), MF_BYPOSITION | MF_STRING,
                IDM_CALENDAR_RECENT_FIRST + i, recent[i].c_str());
  }
  const UINT fileOnly = FileOpen() ? MF_ENABLED : MF_GRAYED;
  for (int id : {IDM_CALENDAR_SAVE, IDM_CALENDAR_SAVE_AS, IDM_CALENDAR_BACKUP, IDOK}) {
    EnableMenuItem(menu, id, MF_BYCOMMAND | fileOnly);
  }
  RECT button{};
  GetWindowRect(GetDlgItem(Handle(), IDC_CALENDAR_EDITOR_FILE_MENU), &button);
  TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN, button.left, button.bottom, 0, Handle(),
                 nullptr);
}

std::string TDialogN::AskForFile(bool save, const char* title, const char* filter) {
  const std::string& open = FilePath();
  const size_t slash = open.rfind('\\');
  if (FileOpen() && slash != std::string::npos) {
    SetCurrentDirectoryA(open.substr(0, slash + 1).c_str());
  }
  FileDialog dialog;
  dialog.SetFilter(filter);
  dialog.SetTitle(title);
  DWORD flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
  if (save) {
    dialog.SetDefaultExtension("cal");
    dialog.SetInitialFolder("Windows");
    flags |= OFN_OVERWRITEPROMPT;
  } else {
    flags |= OFN_FILEMUSTEXIST;
  }
  dialog.SetFlags(flags);
  const bool chosen = save ? dialog.ShowSave(Handle()) : dialog.ShowOpen(Handle());
  SetCurrentDirectoryA(context_.programDir.c_str());
  return chosen && !dialog.Paths().empty() ? dialog.Paths().front() : std::string();
}

void TDialogN::ReportOpenFailure(CalendarResult result, const std::string& path) {
  switch (result) {
    case CalendarResult::kCannotOpen: {
      ShowMessage(Handle(), "Can't open this file:\n\"" + path +
                                "\" \n\nPlease Open another file or Create a New File");
      break;
    }
    case CalendarResult::kCannotCreate:
    case CalendarResult::kWriteFailed:
    case CalendarResult::kReplaceFailed:
      ShowMessage(Handle(), path, "File Creation Error", MB_OK | MB_ICONSTOP);
      break;
    case CalendarResult::kBufferFailed:
      // The editor cannot go on without its working buffer.
      CloseForBufferFailure(kBufferFailureMessage, "Internal Error");
      break;
    default: break;  // a file without the signature is refused silently
  }
}

CalendarResult TDialogN::OpenPath(const std::string& path, bool remember) {
  // A file that is no calendar is passed over; the open file stays. One
  // that cannot be read is reported below.
  std::FILE* probe = Win32FileAccess().openRead(path.c_str());
  if (probe) {
    const bool calendar = CheckSignature(probe);
    std::fclose(probe);
    if (!calendar) return CalendarResult::kNoSignature;
  }
  ResetView();
  documentModified_ = false;
  const CalendarResult result = buffer_.Open(path);
  if (result != CalendarResult::kOk) {
    ReportOpenFailure(result, path);
    SetCaptionToPath();
    ResetView();
    return result;
  }
  if (remember) recentFiles_.Add(path);
  SetCaptionToPath();
  ResetView();
  return result;
}

std::string TDialogN::CalendarName(const std::string& chosen, const char* title) {
  const std::string path = WithCalendarExtension(chosen);
  // The dialog asked about the name as typed; a file under the longer name
  // is not replaced unasked.
  if (path != chosen && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES &&
      ShowMessage(Handle(), path + " already exists.\nDo you want to replace it?", title,
                  MB_YESNO | MB_ICONWARNING) != IDYES) {
    return {};
  }
  return path;
}

void TDialogN::New() {
  if (!AskToSave()) return;
  const std::string chosen = AskForFile(true, "New", kSaveFilter);
  if (chosen.empty()) {
    if (!FileOpen()) ShowNoFile();
    return;
  }
  const std::string path = CalendarName(chosen, "New");
  if (path.empty()) return;
  ResetView();
  documentModified_ = false;
  if (const CalendarResult result = buffer_.CreateNew(path); result != CalendarResult::kOk) {
    ReportOpenFailure(result, path);
    SetCaptionToPath();
    ResetView();
    return;
  }
  recentFiles_.Add(path);
  SetCaptionToPath();
  ResetView();
}

void TDialogN::Open() {
  if (!AskToSave()) return;
  const std::string chosen = AskForFile(false, "Open", kOpenFilter);
  if (chosen.empty()) {
    if (!FileOpen()) ShowNoFile();
    return;
  }
  OpenPath(chosen);
}

void TDialogN::OpenRecent(int command) {
  const std::string path = recentFiles_.PathOfCommand(command);
  if (path.empty() || !AskToSave()) return;
  const CalendarResult result = OpenPath(path);
  // An entry goes when its file is gone or is no calendar; one that another
  // program keeps from being read now stays.
  if (result == CalendarResult::kNoSignature ||
      (result == CalendarResult::kCannotOpen && GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)) {
    recentFiles_.Remove(path);
  }
}

bool TDialogN::Save() {
  if (!FileOpen()) return false;
  if (!CommitDay()) return false;
  const CalendarResult result = buffer_.Save(FilePath());
  ResetView();
  if (result != CalendarResult::kOk) {
    ShowMessage(Handle(),
                FilePath() + (result == CalendarResult::kReplaceFailed ? kReplaceFailedMessage
                                                                      : kSaveFailedMessage),
                "Orvalen", MB_OK | MB_ICONSTOP);
    return false;
  }
  recentFiles_.Add(FilePath());
  documentModified_ = false;
  SetCaptionToPath();
  return true;
}

void TDialogN::SaveAs() {
  if (!FileOpen()) return;
  if (!CommitDay()) return;
  const std::string chosen = AskForFile(true, "Save As", kSaveFilter);
  if (chosen.empty()) return;
  const std::string path = CalendarName(chosen, "Save As");
  if (path.empty()) return;
  // The open file under any spelling (relative, short name) is just saved.
  if (SameFile(path, FilePath())) {
    Save();
    return;
  }
  // The days edited so far go into the new file: the working buffer is
  // written there in one piece, and the new file becomes the open one.
  if (const CalendarResult result = buffer_.Save(path); result != CalendarResult::kOk) {
    ShowMessage(Handle(),
                path + (result == CalendarResult::kReplaceFailed ? kReplaceFailedMessage
                                                                 : kSaveFailedMessage),
                "Orvalen", MB_OK | MB_ICONSTOP);
    return;
  }
  documentModified_ = false;
  OpenPath(path);
}

void TDialogN::Backup() {
  if (!FileOpen()) return;
  if (!CommitDay()) return;
  if (documentModified_ &&
      ShowMessage(Handle(), "Should I Save the file before backup?", "Orvalen",
                  MB_YESNO | MB_ICONQUESTION) == IDYES) {
    Save();
  }
  const std::string target = AskForFile(true, "Create Backup File", kSaveFilter);
  if (target.empty()) return;
  if (SameText(target, FilePath())) {
    ShowMessage(Handle(), "Backup failed!\n\nPlease choose a different name\nfor the backup file",
                "Orvalen", MB_OK | MB_ICONINFORMATION);
    return;
  }
  if (CopyFileA(FilePath().c_str(), target.c_str(), FALSE)) {
    const std::string& open = FilePath();
    ShowMessage(Handle(),
                "Backup is complete\n\n" + open + "\nwas copied to\n" + target +
                    "\n\nYou are currently editing this file:\n" + open,
                "Orvalen", MB_OK | MB_ICONINFORMATION);
  } else {
    ShowMessage(Handle(), "backup was not successful!", "Orvalen", MB_OK | MB_ICONINFORMATION);
  }
}

void TDialogN::SaveAndClose() {
  if (!FileOpen()) {
    ShowNoFile();
    return;
  }
  if (!Save()) return;
  closing_ = true;
  StorePath();
  End(IDOK);
}

void TDialogN::Close() {
  StorePath();
  if (!closing_ && !broken_ && !AskToSave()) return;
  End(IDCANCEL);
}

// ---- TMwd -----------------------------------------------------------------------

TMwd::TMwd(CalendarEditorContext context)
    : TDialogN(std::move(context)), scratch_(tempStem_ + "_") {
  current_ = CalendarStartDate(Today());
  grid_ = BuildMonthGrid(current_.month, current_.year);
}

TMwd::~TMwd() = default;

bool TMwd::OnInit() {
  dayFont_.Reset(MakeFont(FW_BOLD));
  textFont_.Reset(MakeFont(FW_NORMAL));
  CreateControls();
  // The size the window takes when restored; it opens maximised.
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const Rect placed = EditorPlacement(
      context_.profile->GetString("TMwd", "Size", "", 64),
      Rect{work.left, work.top, work.right, work.bottom}, GetSystemMetrics(SM_CYCAPTION));
  MoveWindow(Handle(), placed.left, placed.top, placed.Width(), placed.Height(), FALSE);
  ShowWindow(Handle(), SW_MAXIMIZE);
  RECT client = ClientRect();
  layout_.Resize(client.right, client.bottom);
  PlaceControls();
  TDialogN::OnInit();
  if (broken_) return true;
  if (!FileOpen()) {
    // A named file that could not be opened has had its message.
    if (context_.calendarFile->empty()) {
      ShowNoFile();
    } else {
      ShowFileMenu();
    }
  }
  UpdateDateButton();
  return true;
}

void TMwd::CreateControls() {
  struct Glyphs {
    TButtonEx* button;
    int id;
    int normal;
    int pressed;
  };
  const Glyphs buttons[] = {
      {&fileButton_, IDC_CALENDAR_EDITOR_FILE_MENU, IDB_CALENDAR_FILE_MENU,
       IDB_CALENDAR_FILE_MENU_PRESSED},
      {&previousButton_, IDC_CALENDAR_EDITOR_PREVIOUS_MONTH, IDB_CALENDAR_PREVIOUS,
       IDB_CALENDAR_PREVIOUS_PRESSED},
      {&dateButton_, IDC_CALENDAR_EDITOR_DATE, 0, 0},
      {&nextButton_, IDC_CALENDAR_EDITOR_NEXT_MONTH, IDB_CALENDAR_NEXT, IDB_CALENDAR_NEXT_PRESSED},
      {&zoomButton_, IDC_CALENDAR_EDITOR_JOURNAL_ZOOM, IDB_CALENDAR_ZOOM, 0},
  };
  for (const Glyphs& b : buttons) {
    // A placeholder gives the button its id; the button takes its place.
    CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 1, 1, Handle(),
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(b.id)), GetModuleHandleA(nullptr),
                    nullptr);
    const DWORD visible = b.id == IDC_CALENDAR_EDITOR_JOURNAL_ZOOM ? 0 : WS_VISIBLE;
    b.button->CreateOver(*this, b.id, "", visible);
    if (b.normal) b.button->SetGlyph(kGlyphNormal, b.normal);
    if (b.pressed) b.button->SetGlyph(kGlyphPressed, b.pressed);
  }
  journal_.Create(Handle(), IDC_CALENDAR_EDITOR_JOURNAL, textFont_.Get());
}

void TMwd::PlaceControls() {
  const auto place = [this](int id, const Rect& r) {
    MoveWindow(GetDlgItem(Handle(), id), r.left, r.top, r.Width(), r.Height(), TRUE);
  };
  place(IDCANCEL, layout_.CancelButton());
  place(IDOK, layout_.OkButton());
  place(IDC_CALENDAR_EDITOR_FILE_MENU, layout_.FileButton());
  place(IDC_CALENDAR_EDITOR_PREVIOUS_MONTH, layout_.PreviousButton());
  place(IDC_CALENDAR_EDITOR_DATE, layout_.DateButton());
  place(IDC_CALENDAR_EDITOR_NEXT_MONTH, layout_.NextButton());
  if (selected_ > 0) {
    place(IDC_CALENDAR_EDITOR_JOURNAL, layout_.EditorRect(selected_));
  }
  InvalidateRect(Handle(), nullptr, TRUE);
}

bool TMwd::OnSize(UINT type, int width, int height) {
  if (type == SIZE_MINIMIZED || !fileButton_.Handle()) return false;
  layout_.Resize(width, height);
  PlaceControls();
  return true;
}

bool TMwd::OnGetMinMaxInfo(MINMAXINFO& info) {
  info.ptMinTrackSize = {500, 350};
  info.ptMaxTrackSize = {5000, 5000};
  return true;
}

bool TMwd::OnCommand(int id, int notifyCode, HWND control) {
  if (id == IDC_CALENDAR_EDITOR_JOURNAL) {
    if (notifyCode == EN_CHANGE) dayModified_ = true;
    if (notifyCode == EN_KILLFOCUS) CommitDay();
    return true;
  }
  if (id >= IDM_CALENDAR_JANUARY && id <= IDM_CALENDAR_DECEMBER) {
    Navigate(ChooseMonth(current_, id - IDM_CALENDAR_JANUARY + 1));
    return true;
  }
  switch (id) {
    case IDC_CALENDAR_EDITOR_DATE: ShowMonthMenu(); return true;
    case IDC_CALENDAR_EDITOR_PREVIOUS_MONTH: Navigate(PreviousMonth(current_)); return true;
    case IDC_CALENDAR_EDITOR_NEXT_MONTH: Navigate(NextMonth(current_)); return true;
    case IDM_CALENDAR_PRIOR_YEAR: Navigate(PreviousYear(current_)); return true;
    case IDM_CALENDAR_NEXT_YEAR: Navigate(NextYear(current_)); return true;
    case IDM_CALENDAR_TODAY: Navigate(CalendarStartDate(Today())); return true;
    case IDC_CALENDAR_EDITOR_JOURNAL_ZOOM: Zoom(); return true;
    default: return TDialogN::OnCommand(id, notifyCode, control);
  }
}

std::optional<INT_PTR> TMwd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PaintDC dc(Handle());
      Paint(dc);
      return TRUE;
    }
    case WM_LBUTTONDOWN:
      SelectAt(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
      return TRUE;
    default: return TDialogN::HandleMessage(message, wParam, lParam);
  }
}

void TMwd::Navigate(const Date& date) {
  if (!CommitDay()) return;
  current_ = date;
  ResetView();
}

void TMwd::ResetView() {
  selected_ = -1;
  dayModified_ = false;
  if (journal_) MoveWindow(journal_.Handle(), 0, 0, 1, 1, FALSE);
  journal_.Show(false);
  grid_ = BuildMonthGrid(current_.month, current_.year);
  UpdateDateButton();
  InvalidateRect(Handle(), nullptr, TRUE);
}

void TMwd::UpdateDateButton() {
  dateButton_.SetText(DateButtonText(current_));
  dateButton_.Repaint();
}

void TMwd::ShowMonthMenu() {
  Menu menus(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDM_CALENDAR_MONTHS)));
  if (!menus) return;
  HMENU menu = GetSubMenu(menus.Get(), 0);
  CheckMenuItem(menu, IDM_CALENDAR_JANUARY + current_.month - 1, MF_BYCOMMAND | MF_CHECKED);
  RECT button{};
  GetWindowRect(dateButton_.Handle(), &button);
  TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN, button.left, button.bottom, 0, Handle(),
                 nullptr);
}

void TMwd::SelectAt(int x, int y) {
  const int cell = layout_.HitCell(x, y);
  if (cell == 0) return;
  if (!FileOpen()) {
    ShowNoFile();
    return;
  }
  if (!grid_.HasDay(cell)) return;
  if (!CommitDay()) return;
  const int previous = selected_;
  selected_ = cell;
  current_ = grid_.Cell(cell);
  UpdateDateButton();
  const Rect old = previous > 0 ? layout_.CellRect(previous) : Rect{};
  const RECT oldRect{old.left, old.top, old.right, old.bottom};
  if (previous > 0) InvalidateRect(Handle(), &oldRect, TRUE);
  journal_.Load(buffer_.ReadDay(current_).journal, scratch_);
  const Rect r = layout_.EditorRect(cell);
  const Rect cellRect = layout_.CellRect(cell);
  const RECT cellArea{cellRect.left, cellRect.top, cellRect.right, cellRect.bottom};
  InvalidateRect(Handle(), &cellArea, TRUE);
  MoveWindow(journal_.Handle(), r.left, r.top, r.Width(), r.Height(), TRUE);
  journal_.Show(true);
  SetFocus(journal_.Handle());
}

bool TMwd::CommitDay() {
  if (committing_) return false;  // the failure message took the focus
  if (!FileOpen() || selected_ < 1 || !(dayModified_ || journal_.DayModified())) return true;
  const Date day = grid_.Cell(selected_);
  DayTexts texts = buffer_.ReadDay(day);
  texts.journal = journal_.Store();
  if (buffer_.CommitDay(day, texts) != CalendarResult::kOk) {
    // The day stays selected with its text in the editor, still marked
    // edited, and the command that wanted it committed does not go on.
    committing_ = true;
    ShowMessage(Handle(), "unexpected error!\nThe day could not be written to the working buffer",
                "Orvalen", MB_OK | MB_ICONSTOP);
    committing_ = false;
    return false;
  }
  dayModified_ = false;
  journal_.ClearModified();
  documentModified_ = true;
  return true;
}

void TMwd::RemoveTemporaryFiles() {
  scratch_.RemoveFiles();
  TDialogN::RemoveTemporaryFiles();
}

void TMwd::Zoom() {
  if (!FileOpen() || selected_ < 1) return;
  if (!CommitDay()) return;
  const Date day = grid_.Cell(selected_);
  TMwdZoom zoom(day, buffer_.ReadDay(day), scratch_);
  zoom.RunModal(Handle());
  if (!zoom.Confirmed() || !zoom.JournalModified()) return;
  if (buffer_.CommitDay(day, zoom.Texts()) != CalendarResult::kOk) {
    ShowMessage(Handle(), "unexpected error!\nThe day could not be written to the working buffer",
                "Orvalen", MB_OK | MB_ICONSTOP);
    return;
  }
  documentModified_ = true;
  // The in-place editor still holds the day as it was: it goes with the
  // selection, and the cell is drawn anew from the working buffer.
  ResetView();
  zoomButton_.Show(false);
}

void TMwd::Paint(HDC dc) {
  const RECT client = ClientRect();
  const Rect header = layout_.Header();
  Brush headerBrush(CreateSolidBrush(kHeaderColor));
  const RECT headerRect{header.left, header.top, header.right, header.bottom};
  FillRect(dc, &headerRect, headerBrush.Get());
  SetBkMode(dc, TRANSPARENT);
  {
    SelectionScope font(dc, dayFont_.Get());
    for (int column = 0; column < 7; ++column) {
      const std::string name = WeekdayHeader(column, client.right);
      const Rect c = layout_.HeaderColumn(column);
      RECT shadow{c.left, c.top, c.right, c.bottom};
      SetTextColor(dc, RGB(0, 0, 0));
      DrawTextA(dc, name.c_str(), -1, &shadow, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
      RECT light{c.left - 1, c.top - 1, c.right - 1, c.bottom - 1};
      SetTextColor(dc, RGB(192, 192, 192));
      DrawTextA(dc, name.c_str(), -1, &light, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    }
  }
  TScheduleList cells(dc, layout_, Today(), dayFont_.Get());
  for (int cell = 1; cell <= kMonthCells; ++cell) {
    const bool selected = cell == selected_;
    cells.Position(cell);
    cells.DrawFrame(selected);
    if (!grid_.HasDay(cell)) continue;
    const Date& day = grid_.Cell(cell);
    cells.DrawNumber(day);
    if (selected || !FileOpen()) continue;
    const DayTexts texts = buffer_.ReadDay(day);
    cells.DrawAppointments(texts.hours, cells.DrawJournal(texts.journal, 0));
  }
}

}  // namespace orvalen

#include "calendar/calendar_editor_win.h"

#include <commdlg.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "calendar/calendar_text.h"
#include "resources/resource_ids.h"
#include "winapp/common_dialogs_win.h"

namespace orvalen {
namespace {

constexpr char kDefaultExtension[] = ".cal";
constexpr char kOpenFilter[] =
    "QMK Organizer Calendar Files (*.cal)|*.cal|Version 3 files (*.sch)|*.sch";
constexpr char kSaveFilter[] = "QMK Organizer Calendar Files (*.cal)|*.cal";
constexpr COLORREF kHeaderColor = RGB(0, 128, 128);
constexpr COLORREF kDayNumberColor = RGB(0, 0, 128);
constexpr COLORREF kTodayColor = RGB(255, 255, 0);
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

std::string CurrentFolder() {
  char folder[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, folder);
  std::string path = folder;
  if (!path.empty() && path.back() != '\\') path += '\\';
  return path;
}

HFONT MakeFont(int weight, bool italic = false, bool underline = false, bool strike = false) {
  return CreateFontA(12, 0, 0, 0, weight, italic, underline, strike, ANSI_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_SWISS, "MS Sans Serif");
}

// Face and size of the journal editor's text: "MS Sans Serif", 12 pixels
// (9 points at 96 dots per inch).
CHARFORMATA JournalFace() {
  CHARFORMATA face{};
  face.cbSize = sizeof face;
  face.dwMask = CFM_FACE | CFM_SIZE;
  face.yHeight = 9 * 20;
  lstrcpynA(face.szFaceName, "MS Sans Serif", LF_FACESIZE);
  return face;
}

// The rich text of a stored journal: one paragraph per line, in the line's
// colour and styles.
std::string JournalRichText(const std::string& stored) {
  // No white space between the font table's groups: some rich-edit
  // readers then drop the whole document.
  std::string rtf =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab720{\\fonttbl{\\f0\\fswiss MS Sans Serif;}"
      "{\\f1\\froman\\fcharset2 Symbol;}{\\f2\\fswiss\\fprq2 MS Sans Serif;}"
      "{\\f3\\froman Times New Roman;}{\\f4\\fswiss\\fprq2 Arial;}}{\\colortbl";
  for (int i = 0; i < 16; ++i) {
    const ColorRef c = CalendarColor(i);
    char entry[48];
    std::snprintf(entry, sizeof entry, "\\red%u\\green%u\\blue%u;", RedOf(c), GreenOf(c), BlueOf(c));
    rtf += entry;
  }
  rtf += "}\n\\deflang1033\\pard\\plain\\f2\\fs1\\cf0";
  if (!IsBlankText(stored)) {
    for (const JournalLine& line : ParseJournalLines(stored)) {
      char head[48];
      std::snprintf(head, sizeof head, "\\plain\\f2\\fs1\\cf%d", line.color);
      rtf += head;
      if (line.flags & kStyleBold) rtf += "\\b";
      if (line.flags & kStyleItalic) rtf += "\\i";
      if (line.flags & kStyleUnderline) rtf += "\\ul";
      if (line.flags & kStyleStrikeOut) rtf += "\\strike";
      rtf += ' ';
      // Backslashes and braces are rich-text syntax: escaped, they stay text.
      for (char c : line.text) {
        if (c == '\\' || c == '{' || c == '}') rtf += '\\';
        rtf += c;
      }
      rtf += "\\par \n";
    }
  }
  rtf += "}";
  return rtf;
}

}  // namespace

// ---- TDialogN -------------------------------------------------------------------

TDialogN::TDialogN(CalendarEditorContext context)
    : Dialog(IDD_CALENDAR_EDITOR),
      buffer_(CurrentFolder() + kWorkBufferName),
      context_(std::move(context)),
      recentFiles_(*context_.profile) {}

TDialogN::~TDialogN() = default;

bool TDialogN::OnInit() {
  RegisterWindowMessageA("MRUFILEMESSAGE_EX");
  if (buffer_.CreateBuffer() != CalendarResult::kOk) {
    ShowMessage(Handle(),
                "Internal Error\n\nError occured when creating data buffer\n\nThe program has to exit!",
                "Orvalen", MB_OK | MB_ICONSTOP);
    ExitProcess(kBufferFailureExitCode);
  }
  const std::string& start = *context_.calendarFile;
  if (!start.empty() && GetFileAttributesA(start.c_str()) != INVALID_FILE_ATTRIBUTES) {
    OpenPath(start);
  }
  return true;
}

void TDialogN::OnDestroy() {
  StorePath();
  buffer_.Close();
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
  CommitDay();
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
  HMENU menus = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDM_CALENDAR_FILE));
  if (!menus) return;
  HMENU menu = GetSubMenu(menus, 0);
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
  DestroyMenu(menus);
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
      ShowMessage(Handle(), path, "File Creation Error", MB_OK | MB_ICONSTOP);
      break;
    case CalendarResult::kBufferFailed:
      // The editor cannot go on without its working buffer.
      ShowMessage(Handle(), "CAN NOT CREATE BUFFER", "Internal Error", MB_OK | MB_ICONSTOP);
      ExitProcess(kBufferFailureExitCode);
    default: break;  // a file without the signature is refused silently
  }
}

bool TDialogN::OpenPath(const std::string& path) {
  // A readable file that is no calendar is passed over; the open file stays.
  if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES && !CheckSignature(path.c_str())) {
    return false;
  }
  ResetView();
  documentModified_ = false;
  const CalendarResult result = buffer_.Open(path);
  if (result != CalendarResult::kOk) {
    ReportOpenFailure(result, path);
    SetCaptionToPath();
    ResetView();
    return false;
  }
  recentFiles_.Add(path);
  SetCaptionToPath();
  ResetView();
  return true;
}

void TDialogN::New() {
  if (!AskToSave()) return;
  const std::string chosen = AskForFile(true, "New", kSaveFilter);
  if (chosen.empty()) {
    if (!FileOpen()) ShowNoFile();
    return;
  }
  const std::string path = WithCalendarExtension(chosen);
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
  if (!OpenPath(path)) recentFiles_.Remove(path);
}

bool TDialogN::Save() {
  if (!FileOpen()) return false;
  CommitDay();
  const CalendarResult result = buffer_.Save(FilePath());
  ResetView();
  if (result != CalendarResult::kOk) {
    ShowMessage(Handle(), FilePath() + "\n\nThe file could not be written; it is unchanged.",
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
  CommitDay();
  const std::string chosen = AskForFile(true, "Save As", kSaveFilter);
  if (chosen.empty()) return;
  const std::string path = WithCalendarExtension(chosen);
  if (SameText(path, FilePath())) {
    Save();
    return;
  }
  // The days edited so far go into the new file: the working buffer is
  // written there, and the new file becomes the open one.
  if (CreateEmptyCalendar(path) != CalendarResult::kOk) return;
  if (buffer_.Save(path) != CalendarResult::kOk) {
    ShowMessage(Handle(), path + "\n\nThe file could not be written.", "Orvalen",
                MB_OK | MB_ICONSTOP);
    return;
  }
  documentModified_ = false;
  OpenPath(path);
}

void TDialogN::Backup() {
  if (!FileOpen()) return;
  CommitDay();
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
  if (!FileOpen()) return;
  if (!Save()) return;
  closing_ = true;
  StorePath();
  End(IDOK);
}

void TDialogN::Close() {
  StorePath();
  if (!closing_ && !AskToSave()) return;
  End(IDCANCEL);
}

// ---- TMwd -----------------------------------------------------------------------

TMwd::TMwd(CalendarEditorContext context) : TDialogN(std::move(context)) {
  current_ = CalendarStartDate(Today());
  grid_ = BuildMonthGrid(current_.month, current_.year);
}

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
  if (!FileOpen()) ShowNoFile();
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
  RichEdit::EnsureModule();
  HWND journal = CreateWindowExA(
      WS_EX_CLIENTEDGE, RichEdit::kClassName, "",
      WS_CHILD | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL, 0, 0, 1, 1, Handle(),
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_CALENDAR_EDITOR_JOURNAL)),
      GetModuleHandleA(nullptr), nullptr);
  if (journal_.Attach(journal)) {
    journal_.Send(WM_SETFONT, reinterpret_cast<WPARAM>(textFont_.Get()), FALSE);
    journal_.Send(EM_EXLIMITTEXT, 0, 8000);
    CHARFORMATA face = JournalFace();
    journal_.Send(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&face));
    journal_.Send(EM_SETEVENTMASK, 0, ENM_CHANGE);
  }
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
    case IDC_CALENDAR_EDITOR_JOURNAL_ZOOM: return true;
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
  CommitDay();
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
  HMENU menus = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDM_CALENDAR_MONTHS));
  if (!menus) return;
  HMENU menu = GetSubMenu(menus, 0);
  CheckMenuItem(menu, IDM_CALENDAR_JANUARY + current_.month - 1, MF_BYCOMMAND | MF_CHECKED);
  RECT button{};
  GetWindowRect(dateButton_.Handle(), &button);
  TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN, button.left, button.bottom, 0, Handle(),
                 nullptr);
  DestroyMenu(menus);
}

void TMwd::SelectAt(int x, int y) {
  const int cell = layout_.HitCell(x, y);
  if (cell == 0) return;
  if (!FileOpen()) {
    ShowNoFile();
    return;
  }
  if (!grid_.HasDay(cell)) return;
  CommitDay();
  const int previous = selected_;
  selected_ = cell;
  current_ = grid_.Cell(cell);
  UpdateDateButton();
  const Rect old = previous > 0 ? layout_.CellRect(previous) : Rect{};
  const RECT oldRect{old.left, old.top, old.right, old.bottom};
  if (previous > 0) InvalidateRect(Handle(), &oldRect, TRUE);
  LoadJournal(buffer_.ReadDay(current_).journal);
  const Rect r = layout_.EditorRect(cell);
  const Rect cellRect = layout_.CellRect(cell);
  const RECT cellArea{cellRect.left, cellRect.top, cellRect.right, cellRect.bottom};
  InvalidateRect(Handle(), &cellArea, TRUE);
  MoveWindow(journal_.Handle(), r.left, r.top, r.Width(), r.Height(), TRUE);
  journal_.Show(true);
  SetFocus(journal_.Handle());
}

void TMwd::LoadJournal(const std::string& stored) {
  if (!journal_) return;
  journal_.Send(EM_SETEVENTMASK, 0, 0);
  journal_.SetText("");
  RichEdit(journal_.Handle()).StreamIn(JournalRichText(stored));
  // The stored lines carry style and colour; every line is shown in the
  // editor's 12-pixel face.
  CHARFORMATA face = JournalFace();
  journal_.Send(EM_SETSEL, 0, -1);
  journal_.Send(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&face));
  journal_.Send(EM_SETSEL, 0, 0);
  journal_.Send(EM_SETEVENTMASK, 0, ENM_CHANGE);
  journal_.ClearModified();
  dayModified_ = false;
}

std::string TMwd::StoreJournal() {
  // Lines are the control's paragraphs, not its display lines: a line the
  // narrow cell wraps stays one line. Character positions are offsets into
  // the text, paragraph marks included.
  const std::string text = journal_.Text();
  if (IsBlankText(text)) return {};
  std::vector<JournalLine> lines;
  const LRESULT mask = journal_.Send(EM_SETEVENTMASK, 0, 0);
  journal_.Send(WM_SETREDRAW, FALSE);
  CHARRANGE selection{};
  journal_.Send(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, std::min<size_t>(end - start, 150));
    journal_.Send(EM_SETSEL, start, start);
    CHARFORMATA format{};
    format.cbSize = sizeof format;
    journal_.Send(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    const int flags = static_cast<int>(format.dwEffects & (CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE |
                                                          CFE_STRIKEOUT));
    lines.push_back({flags, CalendarColorIndex(static_cast<ColorRef>(format.crTextColor)),
                     std::move(line)});
    if (end < text.size() && text[end] == '\r') ++end;
    if (end < text.size() && text[end] == '\n') ++end;
    start = end;
  }
  journal_.Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&selection));
  journal_.Send(WM_SETREDRAW, TRUE);
  journal_.Send(EM_SETEVENTMASK, 0, mask);
  // The control ends with an empty paragraph; empty lines at the end carry nothing.
  while (!lines.empty() && lines.back().text.empty()) lines.pop_back();
  return BuildJournalText(lines);
}

void TMwd::CommitDay() {
  if (!FileOpen() || selected_ < 1 || !(dayModified_ || journal_.DayModified())) return;
  const Date day = grid_.Cell(selected_);
  DayTexts texts = buffer_.ReadDay(day);
  texts.journal = StoreJournal();
  dayModified_ = false;
  journal_.ClearModified();
  if (buffer_.CommitDay(day, texts) != CalendarResult::kOk) {
    ShowMessage(Handle(), "unexpected error!\nThe day could not be written to the working buffer",
                "Orvalen", MB_OK | MB_ICONSTOP);
    return;
  }
  documentModified_ = true;
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
  for (int cell = 1; cell <= kMonthCells; ++cell) PaintCell(dc, cell);
}

void TMwd::PaintCell(HDC dc, int cell) {
  const Rect r = layout_.CellRect(cell);
  RECT area{r.left, r.top, r.right, r.bottom};
  const bool selected = cell == selected_;
  FillRect(dc, &area, GetSysColorBrush(selected ? COLOR_WINDOW : COLOR_BTNFACE));
  DrawEdge(dc, &area, selected ? EDGE_SUNKEN : BDR_RAISEDINNER, BF_RECT);
  if (!grid_.HasDay(cell)) return;
  const Date& day = grid_.Cell(cell);
  char number[8];
  std::snprintf(number, sizeof number, "%d", day.day);
  {
    SelectionScope font(dc, dayFont_.Get());
    SetTextColor(dc, kDayNumberColor);
    if (day == Today()) {
      SetBkMode(dc, OPAQUE);
      SetBkColor(dc, kTodayColor);
    }
    TextOutA(dc, r.left + 3, r.top + 2, number, static_cast<int>(std::strlen(number)));
    SetBkMode(dc, TRANSPARENT);
  }
  if (selected || !FileOpen()) return;
  // The day's journal lines, then its appointments, each in its line's style.
  const DayTexts texts = buffer_.ReadDay(day);
  RECT clip{r.left + 3, r.top + MonthLayout::kNumberStrip, r.right - 2, r.bottom - 2};
  int lineNumber = 0;
  constexpr int kLineHeight = 13;
  const auto drawLine = [&](int flags, const std::string& text) {
    Font font(MakeFont(flags & kStyleBold ? FW_BOLD : FW_NORMAL, flags & kStyleItalic,
                       flags & kStyleUnderline, flags & kStyleStrikeOut));
    SelectionScope scope(dc, font.Get());
    SetTextColor(dc, RGB(0, 0, 0));
    RECT line = clip;
    line.top = clip.top + kLineHeight * lineNumber;
    if (line.top < clip.bottom) {
      DrawTextA(dc, text.c_str(), -1, &line, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    }
    ++lineNumber;
  };
  if (!SortsBelowBlanks(texts.journal, 16)) {
    for (const JournalLine& line : ParseJournalLines(texts.journal, 250)) {
      if (lineNumber > 30) break;
      drawLine(line.flags, line.text);
    }
  }
  if (!SortsBelowBlanks(texts.hours, 16)) {
    for (const HourLine& line : ParseHourLines(texts.hours, 250)) {
      if (lineNumber > 30) break;
      char text[160];
      std::snprintf(text, sizeof text, "%s: %.100s", SlotTime(line.slot).c_str(), line.text.c_str());
      drawLine(line.flags, text);
    }
  }
}

}  // namespace orvalen

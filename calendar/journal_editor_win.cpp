#include "calendar/journal_editor_win.h"

#include <richedit.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "calendar/journal_rtf.h"
#include "winapp/common_dialogs_win.h"
#include "winapp/rich_edit_win.h"

namespace orvalen {
namespace {

constexpr long kStoredTextLimit = 29000;
constexpr long kAttributeCharsPerLine = 16;

// The system's ANSI code page and the font character set that goes with it.
struct SystemCharset {
  int codePage = kWesternCodePage;
  BYTE charset = ANSI_CHARSET;
};

SystemCharset SystemAnsiCharset() {
  SystemCharset system;
  system.codePage = static_cast<int>(GetACP());
  CHARSETINFO info{};
  if (TranslateCharsetInfo(reinterpret_cast<DWORD*>(static_cast<UINT_PTR>(system.codePage)), &info,
                           TCI_SRCCODEPAGE)) {
    system.charset = static_cast<BYTE>(info.ciCharset);
  }
  return system;
}

// Face and size of the journal's text: "MS Sans Serif", 12 pixels (9 points
// at 96 dots per inch), in the system's character set.
CHARFORMATA JournalFace() {
  CHARFORMATA face{};
  face.cbSize = sizeof face;
  face.dwMask = CFM_FACE | CFM_SIZE | CFM_CHARSET;
  face.yHeight = 9 * 20;
  face.bCharSet = SystemAnsiCharset().charset;
  lstrcpynA(face.szFaceName, "MS Sans Serif", LF_FACESIZE);
  return face;
}

}  // namespace

bool TRTF_Journal::Create(HWND parent, int id, HFONT font) {
  RichEdit::EnsureModule();
  // Without ES_WANTRETURN, Enter would press the dialog's default button.
  HWND window = CreateWindowExA(
      WS_EX_CLIENTEDGE, RichEdit::kClassName, "",
      WS_CHILD | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL, 0, 0, 1, 1, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
  if (!Attach(window)) return false;
  Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  Send(EM_EXLIMITTEXT, 0, 8000);
  CHARFORMATA face = JournalFace();
  Send(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&face));
  Send(EM_SETEVENTMASK, 0, ENM_CHANGE);
  return true;
}

void TRTF_Journal::Load(const std::string& stored, JournalScratchFiles& scratch) {
  if (!Handle()) return;
  dayModified_ = false;
  const SystemCharset system = SystemAnsiCharset();
  const JournalRtf rtf = BuildJournalRtf(stored, system.codePage, system.charset);
  std::string document = rtf.document;
  switch (scratch.WriteDay(rtf, document)) {
    case ScratchResult::kJournalFailed: ShowMessage(Handle(), kJournalScratchMessage); break;
    case ScratchResult::kSummaryFailed: ShowMessage(Handle(), kSummaryScratchMessage); break;
    case ScratchResult::kOk: break;
  }
  const LRESULT mask = Send(EM_SETEVENTMASK, 0, 0);
  SetText("");
  // The journal file holds the document exactly; the control gets it without
  // the tabs between the font table's groups, which stop some readers.
  RichEdit(Handle()).StreamIn(JournalRtfForEditor(document));
  // The stored lines carry style and colour; every line is shown in the
  // journal's 12-pixel face.
  CHARFORMATA face = JournalFace();
  Send(EM_SETSEL, 0, -1);
  Send(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&face));
  Send(EM_SETSEL, 0, 0);
  Send(EM_SETEVENTMASK, 0, mask);
  dayModified_ = false;
}

std::string TRTF_Journal::Store() const {
  if (!Handle()) return {};
  // The control's own rich text: one paragraph per line, each with the
  // format of its first character. Should the control not give it, the
  // lines are kept in plain text rather than lost.
  if (const std::optional<std::string> rtf = RichEdit(Handle()).StreamOut(SF_RTF)) {
    return StoreJournalLines(ReadJournalRtf(*rtf));
  }
  std::vector<EditedLine> lines;
  const std::string text = Text();
  for (size_t start = 0; start <= text.size();) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines.push_back({text.substr(start, end - start), 0, 0});
    if (end < text.size() && text[end] == '\r') ++end;
    if (end < text.size() && text[end] == '\n') ++end;
    if (end == text.size()) break;
    start = end;
  }
  return StoreJournalLines(lines);
}

bool TRTF_Journal::TextFits() const {
  const long lines = static_cast<long>(Send(EM_GETLINECOUNT));
  const long lastStart = static_cast<long>(Send(EM_LINEINDEX, lines > 0 ? lines - 1 : 0));
  return lastStart + kAttributeCharsPerLine * lines <= kStoredTextLimit;
}

bool TRTF_Journal::CheckTextSize() {
  if (TextFits()) return true;
  ShowMessage(Handle(), kTooManyLinesMessage, "error", MB_OK);
  return false;
}

void TRTF_Journal::ToggleLineStyle(DWORD effect) {
  // Lines are paragraphs; positions are offsets into the text, paragraph
  // marks included, as the control counts them.
  const std::string text = Text();
  CHARRANGE selection{};
  Send(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
  const size_t from = std::min<size_t>(static_cast<size_t>(std::max(selection.cpMin, 0L)),
                                       text.size());
  const size_t to = std::min<size_t>(static_cast<size_t>(std::max(selection.cpMax, 0L)),
                                     text.size());
  const size_t mark = from == 0 ? std::string::npos : text.find_last_of("\r\n", from - 1);
  const size_t lineStart = mark == std::string::npos ? 0 : mark + 1;
  size_t lineEnd = text.find_first_of("\r\n", to);
  if (lineEnd == std::string::npos) {
    lineEnd = text.size();
  } else {
    if (text[lineEnd] == '\r') ++lineEnd;
    if (lineEnd < text.size() && text[lineEnd] == '\n') ++lineEnd;
  }
  Send(EM_SETSEL, lineStart, lineEnd);
  CHARFORMATA format{};
  format.cbSize = sizeof format;
  Send(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
  // The first character's style decides: a bold line becomes plain, any
  // other bold.
  const bool on = !(format.dwEffects & effect);
  CHARFORMATA change{};
  change.cbSize = sizeof change;
  change.dwMask = effect == CFE_BOLD ? CFM_BOLD : effect == CFE_ITALIC ? CFM_ITALIC : CFM_UNDERLINE;
  change.dwEffects = on ? effect : 0;
  Send(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&change));
  Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&selection));
}

LRESULT TRTF_Journal::ControlKey(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_KEYDOWN) return 0;  // Ctrl characters are not typed
  const WPARAM key = wParam >= 'a' && wParam <= 'z' ? wParam - 32 : wParam;
  switch (key) {
    case 'B': ToggleLineStyle(CFE_BOLD); return 0;
    case 'I': ToggleLineStyle(CFE_ITALIC); return 0;
    case 'U': ToggleLineStyle(CFE_UNDERLINE); return 0;
    case 'C': Send(WM_COPY); return 0;
    case 'X': Send(WM_CUT); return 0;
    case 'V':
      if (!CheckTextSize()) return 0;
      Send(WM_SETREDRAW, FALSE);
      Send(WM_PASTE);
      Send(WM_SETREDRAW, TRUE);
      InvalidateRect(Handle(), nullptr, TRUE);
      return 0;
    default: {
      const LRESULT result = CallDefault(message, wParam, lParam);
      CheckTextSize();
      return result;
    }
  }
}

LRESULT TRTF_Journal::SubclassProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_KEYDOWN && message != WM_CHAR) return CallDefault(message, wParam, lParam);
  dayModified_ = true;
  if (message == WM_KEYDOWN && wParam == VK_CONTROL) return 0;
  // Ctrl with Alt is AltGr on most keyboards, which types @ \ { } [ ] | ~
  // and more: those keys and characters are processed normally.
  if (GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0) {
    return ControlKey(message, wParam, lParam);
  }
  const LRESULT result = CallDefault(message, wParam, lParam);
  CheckTextSize();
  return result;
}

}  // namespace orvalen

#include "calendar/journal_rtf.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace orvalen {

const char kJournalRtfHeader[] =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab720{\\fonttbl\t{\\f0\\fswiss MS Sans Serif;}\t"
    "{\\f1\\froman\\fcharset2 Symbol;}\t{\\f2\\fswiss\\fprq2 MS Sans Serif;}\t"
    "{\\f3\\froman Times New Roman;}\t{\\f4\\fswiss\\fprq2 Arial;}}{\\colortbl"
    "\\red0\\green0\\blue0;\\red128\\green0\\blue0;\\red0\\green128\\blue0;"
    "\\red128\\green128\\blue0;\\red0\\green0\\blue128;\\red128\\green0\\blue128;"
    "\\red0\\green128\\blue128;\\red128\\green128\\blue128;\\red192\\green192\\blue192;"
    "\\red255\\green0\\blue0;\\red0\\green255\\blue0;\\red255\\green255\\blue0;"
    "\\red0\\green0\\blue255;\\red255\\green0\\blue255;\\red0\\green255\\blue255;"
    "\\red255\\green255\\blue255;}\n";

std::string EscapeRtfText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    // An unescaped closing brace would end the document there and drop the
    // lines after it; an opening one would swallow them into a group.
    if (c == '\\' || c == '{' || c == '}') out += '\\';
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 && c != '\t') {
      // A control byte is spelled as its hexadecimal escape: raw, a reader
      // may take it for the end of the data or drop it.
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\'%02x", byte);
      out += hex;
      continue;
    }
    out += c;
  }
  return out;
}

std::string JournalLineRtf(const JournalLine& line) {
  char head[48];
  std::snprintf(head, sizeof head, "\\plain\\f2\\fs1\\cf%d", line.color);
  std::string out = head;
  if (line.flags & kStyleBold) out += "\\b";
  if (line.flags & kStyleItalic) out += "\\i";
  if (line.flags & kStyleUnderline) out += "\\ul";
  if (line.flags & kStyleStrikeOut) out += "\\strike";
  out += ' ';
  out += EscapeRtfText(line.text);
  out += "\\par \n";
  return out;
}

std::string JournalRtfHeader(int codePage, int charset) {
  std::string header = kJournalRtfHeader;
  if (codePage == kWesternCodePage) return header;
  const std::string western = "\\ansicpg1252";
  header.replace(header.find(western), western.size(), "\\ansicpg" + std::to_string(codePage));
  // Every font but Symbol is in the system's character set.
  const std::string charsetWord = "\\fcharset" + std::to_string(charset);
  for (const char* font : {"{\\f0\\fswiss", "{\\f2\\fswiss", "{\\f3\\froman", "{\\f4\\fswiss"}) {
    const std::size_t at = header.find(font);
    if (at != std::string::npos) header.insert(at + std::string(font).size(), charsetWord);
  }
  return header;
}

JournalRtf BuildJournalRtf(std::string_view stored, int codePage, int charset) {
  JournalRtf rtf;
  rtf.document = JournalRtfHeader(codePage, charset);
  rtf.document += kJournalRtfBody;
  rtf.summary = kJournalSummaryOpening;
  if (!IsBlankText(stored)) {
    // Lines are shown whole, however long the writer made them.
    for (const JournalLine& line : ParseJournalLines(stored, std::string_view::npos)) {
      rtf.document += JournalLineRtf(line);
      rtf.summary += "\\par " + EscapeRtfText(line.text) + " \n";
    }
  }
  rtf.document += '}';
  rtf.summary += '}';
  return rtf;
}

std::string JournalRtfForEditor(std::string_view document) {
  // The header is the document's first line; no journal text is in it.
  const std::string_view start = "{\\rtf1\\ansi\\ansicpg";
  const std::size_t headerEnd = document.find('\n');
  if (document.substr(0, start.size()) != start || headerEnd == std::string_view::npos) {
    return std::string(document);
  }
  std::string out;
  for (char c : document.substr(0, headerEnd)) {
    if (c != '\t') out += c;
  }
  out += document.substr(headerEnd);
  return out;
}

namespace {

// Characters some writers spell as control words, in code page 1252.
struct NamedCharacter {
  const char* word;
  char value;
};
constexpr NamedCharacter kNamedCharacters[] = {
    {"lquote", '\x91'},    {"rquote", '\x92'}, {"ldblquote", '\x93'}, {"rdblquote", '\x94'},
    {"bullet", '\x95'},    {"endash", '\x96'}, {"emdash", '\x97'},
};

// Groups whose contents are no text of the document.
constexpr const char* kSkippedDestinations[] = {
    "fonttbl", "stylesheet", "info", "pict", "object", "header", "footer", "footnote",
    "listtable", "listoverridetable", "revtbl", "rsidtbl", "generator", "filetbl",
};

class RtfReader {
 public:
  explicit RtfReader(std::string_view rtf) : rtf_(rtf) {}

  std::vector<EditedLine> Read() {
    while (pos_ < rtf_.size()) {
      const char c = rtf_[pos_++];
      switch (c) {
        case '{': groups_.push_back(state_); break;
        case '}':
          if (state_.colorTable && component_) PushColor();
          if (groups_.empty()) break;
          state_ = groups_.back();
          groups_.pop_back();
          // The document ends with its outermost group; what a writer puts
          // after it (a terminating NUL) is no text.
          if (groups_.empty()) pos_ = rtf_.size();
          break;
        case '\\': ControlWord(); break;
        case '\r':
        case '\n': break;
        default: Text(c); break;
      }
    }
    if (started_) EndLine();
    return std::move(lines_);
  }

 private:
  struct State {
    int flags = 0;
    int colorIndex = 0;
    bool skip = false;
    bool colorTable = false;
  };

  void ControlWord() {
    if (pos_ >= rtf_.size()) return;
    const char first = rtf_[pos_];
    if (!std::isalpha(static_cast<unsigned char>(first))) {
      ++pos_;
      Symbol(first);
      return;
    }
    std::string word;
    while (pos_ < rtf_.size() && std::isalpha(static_cast<unsigned char>(rtf_[pos_])) &&
           word.size() < 32) {
      word += rtf_[pos_++];
    }
    bool hasParameter = false;
    bool negative = false;
    long parameter = 0;
    if (pos_ < rtf_.size() && rtf_[pos_] == '-') {
      negative = true;
      ++pos_;
    }
    while (pos_ < rtf_.size() && std::isdigit(static_cast<unsigned char>(rtf_[pos_]))) {
      if (parameter < 1000000) parameter = parameter * 10 + (rtf_[pos_] - '0');
      hasParameter = true;
      ++pos_;
    }
    if (negative) parameter = -parameter;
    if (pos_ < rtf_.size() && rtf_[pos_] == ' ') ++pos_;
    Apply(word, hasParameter, static_cast<int>(parameter));
  }

  void Symbol(char c) {
    switch (c) {
      case '\\':
      case '{':
      case '}': Text(c); break;
      case '~': Text('\xA0'); break;
      case '_': Text('-'); break;
      case '*': state_.skip = true; break;
      case '\r':
      case '\n': EndLine(); break;
      case '\'': {
        int value = 0;
        int digits = 0;
        while (digits < 2 && pos_ < rtf_.size() &&
               std::isxdigit(static_cast<unsigned char>(rtf_[pos_]))) {
          const char h = static_cast<char>(std::tolower(static_cast<unsigned char>(rtf_[pos_++])));
          value = value * 16 + (h <= '9' ? h - '0' : h - 'a' + 10);
          ++digits;
        }
        if (digits > 0) Text(static_cast<char>(value));
        break;
      }
      default: break;  // optional hyphen and the like
    }
  }

  void Apply(const std::string& word, bool hasParameter, int parameter) {
    const bool on = !hasParameter || parameter != 0;
    const auto style = [&](int flag, bool set) {
      state_.flags = set ? (state_.flags | flag) : (state_.flags & ~flag);
    };
    if (word == "colortbl") {
      state_.colorTable = true;
      state_.skip = true;
      colors_.clear();
    } else if (state_.colorTable) {
      if (word == "red") red_ = parameter, component_ = true;
      if (word == "green") green_ = parameter, component_ = true;
      if (word == "blue") blue_ = parameter, component_ = true;
    } else if (std::find_if(std::begin(kSkippedDestinations), std::end(kSkippedDestinations),
                            [&](const char* name) { return word == name; }) !=
               std::end(kSkippedDestinations)) {
      state_.skip = true;
    } else if (word == "plain") {
      state_.flags = 0;
      state_.colorIndex = 0;
    } else if (word == "b") {
      style(kStyleBold, on);
    } else if (word == "i") {
      style(kStyleItalic, on);
    } else if (word == "ul") {
      style(kStyleUnderline, on);
    } else if (word == "ulnone") {
      style(kStyleUnderline, false);
    } else if (word == "strike") {
      style(kStyleStrikeOut, on);
    } else if (word == "cf") {
      state_.colorIndex = parameter;
    } else if (word == "par" || word == "line") {
      EndLine();
    } else if (word == "tab") {
      Text('\t');
    } else if (word == "uc") {
      unicodeSkip_ = std::max(parameter, 0);
    } else if (word == "u") {
      const long code = parameter < 0 ? parameter + 65536L : parameter;
      Text(code < 256 ? static_cast<char>(code) : '?');
      pendingSkip_ = unicodeSkip_;
    } else {
      for (const NamedCharacter& named : kNamedCharacters) {
        if (word == named.word) Text(named.value);
      }
    }
  }

  // Ends a colour table entry; an entry without components is the automatic
  // colour, black.
  void PushColor() {
    colors_.push_back(component_ ? MakeColor(static_cast<uint32_t>(red_ & 255),
                                             static_cast<uint32_t>(green_ & 255),
                                             static_cast<uint32_t>(blue_ & 255))
                                 : 0);
    red_ = green_ = blue_ = 0;
    component_ = false;
  }

  ColorRef CurrentColor() const {
    const int index = state_.colorIndex;
    return index >= 0 && static_cast<std::size_t>(index) < colors_.size() ? colors_[index] : 0;
  }

  void Text(char c) {
    if (state_.colorTable) {
      if (c == ';') PushColor();
      return;
    }
    if (state_.skip) return;
    if (pendingSkip_ > 0) {
      --pendingSkip_;
      return;
    }
    if (!started_) Start();
    line_.text += c;
  }

  void Start() {
    line_.flags = state_.flags;
    line_.color = CurrentColor();
    started_ = true;
  }

  void EndLine() {
    if (state_.skip) return;
    if (!started_) Start();
    lines_.push_back(std::move(line_));
    line_ = {};
    started_ = false;
  }

  std::string_view rtf_;
  std::size_t pos_ = 0;
  State state_;
  std::vector<State> groups_;
  std::vector<ColorRef> colors_;
  int red_ = 0, green_ = 0, blue_ = 0;
  bool component_ = false;
  int unicodeSkip_ = 1;
  int pendingSkip_ = 0;
  EditedLine line_;
  bool started_ = false;
  std::vector<EditedLine> lines_;
};

}  // namespace

std::vector<EditedLine> ReadJournalRtf(std::string_view rtf) { return RtfReader(rtf).Read(); }

namespace {

// The pieces of a line of at most kJournalEditorLineLimit characters each,
// which put together give the line again. A piece ends after its last blank
// when it has one, so words stay whole on the stored lines.
std::vector<std::string> SplitForStoring(const std::string& text) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  do {
    std::size_t length = std::min(kJournalEditorLineLimit, text.size() - start);
    if (start + length < text.size()) {
      const std::size_t blank = text.find_last_of(' ', start + length - 1);
      if (blank != std::string::npos && blank > start) length = blank + 1 - start;
    }
    pieces.push_back(text.substr(start, length));
    start += length;
  } while (start < text.size());
  return pieces;
}

}  // namespace

std::string StoreJournalLines(const std::vector<EditedLine>& lines) {
  const bool blank = std::all_of(lines.begin(), lines.end(),
                                 [](const EditedLine& line) { return IsBlankText(line.text); });
  if (blank) return {};
  std::vector<JournalLine> stored;
  stored.reserve(lines.size());
  for (const EditedLine& line : lines) {
    const int flags = line.flags & (kStyleBold | kStyleItalic | kStyleUnderline | kStyleStrikeOut);
    const int color = CalendarColorIndex(line.color);
    for (std::string& piece : SplitForStoring(line.text)) stored.push_back({flags, color, std::move(piece)});
  }
  while (!stored.empty() && stored.back().text.empty()) stored.pop_back();
  return BuildJournalText(stored);
}

}  // namespace orvalen

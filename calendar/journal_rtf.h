#pragma once
// A day's journal between its stored form (attribute and text line pairs) and
// the rich text the journal editor shows: the document written for the editor
// and the summary fragments, and the reading of the editor's rich text back
// into lines, each with the style and colour of its first character.
#include <string>
#include <string_view>
#include <vector>

#include "base/geometry.h"
#include "calendar/calendar_text.h"

namespace orvalen {

// The exact start of every journal document on a system whose ANSI code
// page is the western one (1252): the font table, whose groups are
// separated by tab characters, and the 16-colour table.
extern const char kJournalRtfHeader[];
constexpr int kWesternCodePage = 1252;
// The header for a system's ANSI code page: kJournalRtfHeader itself for
// 1252; for another, that code page and the fonts (Symbol aside) in the
// matching character set, so the journal's bytes read as the system's text.
std::string JournalRtfHeader(int codePage, int charset);
// What follows the header before the first line.
constexpr char kJournalRtfBody[] = "\\deflang1033\\pard\\plain\\f2\\fs1\\cf0";
// What each load appends to the summary before the day's lines.
constexpr char kJournalSummaryOpening[] =
    "\\par \\plain\\f2\\fs1\\cf0 \n\\par \\plain\\f2\\fs1\\b\\cf0 Journal \\plain\\f2\\fs1\\cf0 : \n";

// Stored journal lines are written at most this long; a longer line of the
// editor becomes several stored lines of its style.
constexpr std::size_t kJournalEditorLineLimit = 150;

struct JournalRtf {
  // Header, body, one paragraph per line and the closing brace.
  std::string document;
  // The fragments appended to the summary for this day, closing brace included.
  std::string summary;
};

// Backslashes doubled, braces escaped, control bytes (a tab aside) written as
// \'hh: the text stays text inside rich text.
std::string EscapeRtfText(std::string_view text);
// "\plain\f2\fs1\cf<colour>", then \b, \i, \ul, \strike as flagged (in this
// order), a blank, the escaped text and "\par " with a line feed.
std::string JournalLineRtf(const JournalLine& line);
// The document and summary of a stored journal; a blank journal gives a
// document without lines. Stored lines are taken whole, however long.
JournalRtf BuildJournalRtf(std::string_view stored, int codePage = kWesternCodePage, int charset = 0);

// The document as it is streamed into the rich-edit control. The document
// itself keeps the tabs between the font table's groups; some rich-edit
// readers stop at them and load nothing, so they are left out of the header
// line here, where white space between groups means nothing.
std::string JournalRtfForEditor(std::string_view document);

// One paragraph of the editor: its text and the format of its first
// character (the format in force at its end when it is empty).
struct EditedLine {
  std::string text;
  int flags = 0;        // sum of kStyle* values
  ColorRef color = 0;   // 0x00BBGGRR
  friend bool operator==(const EditedLine&, const EditedLine&) = default;
};

// Reads rich text into its paragraphs. Understands what the editor and this
// unit write: groups, the font, colour and other header tables (skipped or
// read), \plain, \b, \i, \ul, \ulnone, \strike, \cf, \par, \line, \tab,
// escaped symbols, \'hh and \u; every other control word is ignored.
std::vector<EditedLine> ReadJournalRtf(std::string_view rtf);

// The stored journal of the editor's paragraphs: empty when every line is
// blank; otherwise each line, split into pieces of at most
// kJournalEditorLineLimit characters, with its attribute line
// "flags.0.colour.0.0.0" (a colour outside the table counts as 0), stopping
// after the line that makes the text longer than kJournalWriteLimit. Empty
// lines between lines are kept; those at the end carry nothing and are left out.
std::string StoreJournalLines(const std::vector<EditedLine>& lines);

}  // namespace orvalen

#include "calendar/journal_rtf.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "calendar/journal_scratch.h"
#include "calendar_test_helpers.h"

namespace orvalen {
namespace {

TEST(JournalRtf, DocumentStartsWithTheExactHeaderAndTheEditorGetsItWithoutTabs) {
  const JournalRtf rtf = BuildJournalRtf("");
  const std::string header = kJournalRtfHeader;
  const std::string start = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab720{\\fonttbl\t{\\f0\\fswiss";
  EXPECT_EQ(header.substr(0, start.size()), start);
  EXPECT_EQ(std::count(header.begin(), header.end(), '\t'), 5);
  EXPECT_NE(header.find("\\red255\\green0\\blue0;\\red0\\green255\\blue0;"), std::string::npos);
  EXPECT_EQ(header.substr(header.size() - 27), "\\red255\\green255\\blue255;}\n");
  EXPECT_EQ(rtf.document, header + kJournalRtfBody + "}");
  EXPECT_EQ(rtf.summary, std::string(kJournalSummaryOpening) + "}");

  // On a system of another ANSI code page the header names that page and
  // the fonts' character set; the editor gets it without tabs too.
  struct System {
    int codePage, charset;
    const char* start;
    const char* firstFont;
  };
  for (const System& system : {System{1252, 0, "{\\rtf1\\ansi\\ansicpg1252\\", "{\\f0\\fswiss MS"},
                               System{1251, 204, "{\\rtf1\\ansi\\ansicpg1251\\", "{\\f0\\fswiss\\fcharset204 MS"}}) {
    const std::string document = BuildJournalRtf("0.0.0.0.0.0\rLine\r", system.codePage, system.charset).document;
    EXPECT_EQ(document.rfind(system.start, 0), 0u) << system.codePage;
    EXPECT_NE(document.find(system.firstFont), std::string::npos) << system.codePage;
    EXPECT_NE(document.find("{\\f1\\froman\\fcharset2 Symbol;}"), std::string::npos) << system.codePage;
    EXPECT_EQ(JournalRtfForEditor(document).find('\t'), std::string::npos) << system.codePage;
    EXPECT_EQ(ReadJournalRtf(document), (std::vector<EditedLine>{{"Line", 0, 0}})) << system.codePage;
  }
  EXPECT_EQ(JournalRtfHeader(1252, 0), header);

  const std::string forEditor = JournalRtfForEditor(rtf.document);
  EXPECT_EQ(forEditor.find('\t'), std::string::npos);
  EXPECT_EQ(forEditor.size(), rtf.document.size() - 5);
  // A tab in the text of a line is text and stays.
  const std::string withTab = BuildJournalRtf("0.0.0.0.0.0\ra\tb\r").document;
  EXPECT_NE(JournalRtfForEditor(withTab).find("a\tb"), std::string::npos);
}

TEST(JournalRtf, LinesBecomeParagraphsWithTheirControlWordsInOrder) {
  struct Case {
    const char* stored;
    const char* paragraphs;  // what follows the body
    const char* summary;     // what follows the opening
  };
  const Case cases[] = {
      {"0.0.0.0.0.0\rplain\r", "\\plain\\f2\\fs1\\cf0 plain\\par \n", "\\par plain \n"},
      {"15.0.9.0.0.0\rall\r", "\\plain\\f2\\fs1\\cf9\\b\\i\\ul\\strike all\\par \n", "\\par all \n"},
      {"1.0.0\rC:\\dir {x}\r", "\\plain\\f2\\fs1\\cf0\\b C:\\\\dir \\{x\\}\\par \n",
       "\\par C:\\\\dir \\{x\\} \n"},
      // Blank attribute lines are skipped; LF and CR LF end lines too.
      {"\r\n4.0.12\nline one\r\n8.0.3\r two\r", "\\plain\\f2\\fs1\\cf12\\ul line one\\par \n"
       "\\plain\\f2\\fs1\\cf3\\strike  two\\par \n", "\\par line one \n\\par  two \n"},
      {"   \r\r  \r", "", ""},
  };
  for (const Case& c : cases) {
    const JournalRtf rtf = BuildJournalRtf(c.stored);
    EXPECT_EQ(rtf.document, std::string(kJournalRtfHeader) + kJournalRtfBody + c.paragraphs + "}")
        << c.stored;
    EXPECT_EQ(rtf.summary, std::string(kJournalSummaryOpening) + c.summary + "}") << c.stored;
  }
}

TEST(JournalRtf, StoredJournalSurvivesTheRoundTrip) {
  const std::string stored =
      "9.0.9.0.0.0\rnote \\ here\r"
      "0.0.0.0.0.0\r {braces} and \\\\ two\r"
      "6.0.15.0.0.0\rlast\r";
  const std::vector<EditedLine> lines = ReadJournalRtf(BuildJournalRtf(stored).document);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], (EditedLine{"note \\ here", kStyleBold | kStyleStrikeOut, 0x0000FF}));
  EXPECT_EQ(lines[1].text, " {braces} and \\\\ two");
  EXPECT_EQ(lines[2].color, 0xFFFFFFu);
  EXPECT_EQ(StoreJournalLines(lines), stored);
  EXPECT_EQ(ReadJournalRtf(JournalRtfForEditor(BuildJournalRtf(stored).document)), lines);
}

TEST(JournalRtf, ReadsWhatARichEditWriterProduces) {
  // The colour table in its own order with the automatic colour first, styles
  // switched off by parameter, escaped and Unicode characters, a last
  // paragraph without a paragraph mark.
  std::string rtf =
      "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss MS Sans Serif;}}"
      "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue128;}"
      "{\\*\\generator Writer 1.0;}\\viewkind4\\uc1\\pard\\cf1\\b\\f0\\fs18 red\\b0  bold\\par\r\n"
      "\\cf0\\i caf\\'e9 \\u8364?\\i0\\par\r\n"
      "\\cf2\\ul\\strike navy\\ulnone\\strike0\\par\r\n"
      "\\par\r\n"
      "tail}";
  rtf += '\0';  // some writers end the stream with a NUL
  const std::vector<EditedLine> lines = ReadJournalRtf(rtf);
  const std::vector<EditedLine> expected = {
      {"red bold", kStyleBold, 0x0000FF},
      {"caf\xE9 ?", kStyleItalic, 0},
      {"navy", kStyleUnderline | kStyleStrikeOut, 0x800000},
      {"", 0, 0x800000},
      {"tail", 0, 0x800000},
  };
  EXPECT_EQ(lines, expected);
}

TEST(JournalRtf, StoringTakesEachLinesFirstFormatAndStopsAtTheLimit) {
  EXPECT_EQ(StoreJournalLines({{"bold struck", kStyleBold | kStyleStrikeOut, 0x0000FF}}),
            "9.0.9.0.0.0\rbold struck\r");
  // Every line blank: no journal at all.
  EXPECT_EQ(StoreJournalLines({{"   ", kStyleBold, 0x0000FF}, {"", 0, 0}, {" ", 0, 0}}), "");
  EXPECT_EQ(StoreJournalLines({}), "");
  // Colours outside the table count as 0; a line longer than 150 characters
  // goes on in a stored line of its style; empty lines at the end are
  // dropped, empty lines between kept.
  const std::string stored = StoreJournalLines(
      {{std::string(200, 'x'), 1, 0x123456}, {"", 0, 0}, {"y", 0, 0}, {"", 0, 0}, {"", 0, 0}});
  EXPECT_EQ(stored, "1.0.0.0.0.0\r" + std::string(150, 'x') + "\r1.0.0.0.0.0\r" + std::string(50, 'x') +
                        "\r0.0.0.0.0.0\r\r0.0.0.0.0.0\ry\r");

  std::vector<EditedLine> many(400, EditedLine{std::string(100, 'z'), 0, 0});
  const std::string full = StoreJournalLines(many);
  EXPECT_GT(full.size(), kJournalWriteLimit);
  EXPECT_LT(full.size(), kJournalWriteLimit + 114);  // stopped after the line that crossed it
}

// The scratch files are text files: read back as text, line ends as written.
std::string ReadText(const std::string& path) {
  std::string text;
  if (std::FILE* f = std::fopen(path.c_str(), "r")) {
    for (int c; (c = std::fgetc(f)) != EOF;) text += static_cast<char>(c);
    std::fclose(f);
  }
  return text;
}

TEST(JournalScratch, WritesTheDayAppendsTheSummaryAndDeletesBothWhenGone) {
  test::TempDir folder;
  const std::string prefix = folder.Path("");
  std::string loaded;
  {
    JournalScratchFiles scratch(prefix);
    test::WriteBytes(scratch.HoursPath(), "reserved");
    const JournalRtf first = BuildJournalRtf("1.0.0\rfirst\r");
    ASSERT_EQ(scratch.WriteDay(first, loaded), ScratchResult::kOk);
    EXPECT_EQ(loaded, first.document);
    const JournalRtf second = BuildJournalRtf("0.0.0\rsecond\r");
    ASSERT_EQ(scratch.WriteDay(second, loaded), ScratchResult::kOk);
    EXPECT_EQ(loaded, second.document);
    EXPECT_EQ(ReadText(scratch.JournalPath()), second.document);
    EXPECT_EQ(ReadText(scratch.SummaryPath()), first.summary + second.summary);
    EXPECT_EQ(folder.Listing(), "_MBUF_DH0~.~ _MBUF_DJ0~.~ _MBUF_DS0~.~");
    // Read back whole: a byte 0x1A ends nothing, line feeds stay single.
    const JournalRtf raw{"{\\rtf1 a\x1A" "b\nc}", "}"};
    ASSERT_EQ(scratch.WriteDay(raw, loaded), ScratchResult::kOk);
    EXPECT_EQ(loaded, raw.document);
  }
  EXPECT_EQ(folder.Listing(), "");

  // A folder that does not exist: the journal file fails first, and what
  // was to be loaded is left alone.
  JournalScratchFiles missing(folder.Path("absent") + "/");
  loaded = "kept";
  EXPECT_EQ(missing.WriteDay(BuildJournalRtf(""), loaded), ScratchResult::kJournalFailed);
  EXPECT_EQ(loaded, "kept");
}

// What the editor does with a day: the stored journal goes through the
// scratch file into the editor, and storing reads the editor's lines back.
std::string ThroughTheEditor(const std::string& stored, JournalScratchFiles& scratch) {
  std::string loaded;
  EXPECT_EQ(scratch.WriteDay(BuildJournalRtf(stored), loaded), ScratchResult::kOk);
  return StoreJournalLines(ReadJournalRtf(loaded));
}

TEST(JournalRoundTrip, LoadingAndStoringKeepEveryCharacter) {
  test::TempDir folder;
  JournalScratchFiles scratch(folder.Path("s"));
  std::string words;
  while (words.size() < 300) words += "abcd ";
  struct Case {
    const char* name;
    std::string stored;
    std::vector<JournalLine> expected;
  };
  const Case cases[] = {
      {"300 characters without a blank", "3.0.2.0.0.0\r" + std::string(300, 'x') + "\r",
       {{3, 2, std::string(150, 'x')}, {3, 2, std::string(150, 'x')}}},
      {"300 characters of words", "1.0.9.0.0.0\r" + words + "end\r",
       {{1, 9, words.substr(0, 150)}, {1, 9, words.substr(150, 150)}, {1, 9, "end"}}},
      {"empty line between two lines", "0.0.0.0.0.0\rOne\r2.0.0.0.0.0\r\r1.0.4.0.0.0\rTwo\r",
       {{0, 0, "One"}, {2, 0, ""}, {1, 4, "Two"}}},
      {"byte 0x1A inside a line", std::string("0.0.0.0.0.0\rA\x1A" "B\r"), {{0, 0, "A\x1A" "B"}}},
  };
  for (const Case& c : cases) {
    const std::string stored = ThroughTheEditor(c.stored, scratch);
    EXPECT_EQ(ParseJournalLines(stored), c.expected) << c.name;
    // Stored again, the lines stay as they are.
    EXPECT_EQ(ThroughTheEditor(stored, scratch), stored) << c.name;
  }
}

}  // namespace
}  // namespace orvalen

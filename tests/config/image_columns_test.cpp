#include "config/image_columns.h"

#include <gtest/gtest.h>

#include <string>

namespace orvalen {
namespace {

TEST(ImageColumns, SizeIsWholeKilobytesPlusOne) {
  struct Case { uint64_t bytes; const char* text; };
  const Case cases[] = {
      {0, "1KB"}, {5, "1KB"}, {1023, "1KB"}, {1024, "2KB"}, {2048, "3KB"},
      {uint64_t{5} << 30, "5242881KB"},  // beyond 4 GB the high part counts
  };
  for (const Case& c : cases) EXPECT_EQ(SizeColumnText(c.bytes), c.text) << c.bytes;
}

TEST(ImageColumns, DatesPadEveryPartButTheYear) {
  struct Case { FileStamp stamp; const char* dateTime; const char* date; };
  const Case cases[] = {
      {{1999, 3, 7, 9, 5}, "1999/03/07 09:05", "1999/03/07"},
      {{2026, 12, 31, 23, 59}, "2026/12/31 23:59", "2026/12/31"},
      {{1601, 1, 1, 0, 0}, "1601/01/01 00:00", "1601/01/01"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DateTimeColumnText(c.stamp), c.dateTime);
    EXPECT_EQ(DateColumnText(c.stamp), c.date);
  }
}

TEST(ImageColumns, TypeIsTheTextAfterTheLastDotInUpperCase) {
  struct Case { const char* name; const char* type; };
  const Case cases[] = {{"a.jpg", "JPG"},   {"a.b.Jpeg", "JPEG"}, {"noext", ""},
                        {"trailing.", ""},  {".bmp", "BMP"},     {"x.tif", "TIF"}};
  for (const Case& c : cases) EXPECT_EQ(TypeColumnText(c.name), c.type) << c.name;
}

TEST(ImageColumns, StoredTextIsOneLineOfAtMost999Characters) {
  EXPECT_EQ(StoredImageText("a\r\nb\tc"), "a\x14\x15" "b c");
  EXPECT_EQ(StoredImageText(""), "");
  const std::string stored = StoredImageText(std::string(1200, 'x'));
  EXPECT_EQ(stored.size(), 999u);
}

TEST(ImageColumns, OnlyAFileFoundByItsOwnNameIsListed) {
  struct Case { const char* asked; const char* found; const char* shortName; bool folder; bool listed; };
  const Case cases[] = {
      {"IMG_20240101_123456.jpg", "IMG_20240101_123456.jpg", "IMG_20~1.JPG", false, true},
      {"img_20240101_123456.JPG", "IMG_20240101_123456.jpg", "", false, true},  // any letter case
      {"IMG_20~1.JPG", "IMG_20240101_123456.jpg", "IMG_20~1.JPG", false, true},  // the short name
      {"pictures", "pictures", "", true, false},                                 // a folder
      {"*.jpg", "a.jpg", "", false, false},                                     // wildcards
      {"a?.jpg", "ab.jpg", "", false, false},
      {"", "", "", false, false},  // a drive root has no name
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FoundIsTheNamedFile(c.asked, c.found, c.shortName, c.folder), c.listed) << c.asked;
  }
}

TEST(ImageColumns, NamesWithoutDriveOrRootLieInTheProgramFolder) {
  const std::string dir = "C:\\Program Files\\Orvalen\\";
  struct Case { const char* profile; std::string listed; };
  const Case cases[] = {
      {"vdelete1.jpg", dir + "vdelete1.jpg"},
      {"sub\\a.jpg", dir + "sub\\a.jpg"},
      {"D:\\pics\\a.jpg", "D:\\pics\\a.jpg"},
      {"D:a.jpg", "D:a.jpg"},  // relative to a drive: left to the system
      {"\\\\server\\share\\a.jpg", "\\\\server\\share\\a.jpg"},
      {"\\pics\\a.jpg", "\\pics\\a.jpg"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ListedPathOf(c.profile, dir), c.listed) << c.profile;
}

TEST(ImageColumns, FirstClickSortsDescendingAndTheSameColumnFlips) {
  struct Case { int clicked; int previous; bool previousAscending; bool ascending; };
  const Case cases[] = {
      {0, -1, false, false},  // first click
      {0, 0, false, true},    // same column again
      {0, 0, true, false},    // and again
      {3, 0, false, false},   // another column starts descending
      {3, 0, true, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SortAscendingAfterClick(c.clicked, c.previous, c.previousAscending), c.ascending)
        << c.clicked << " after " << c.previous;
  }
}

TEST(ImageColumns, SizesCompareByTheirNumbers) {
  struct Case { const char* first; const char* second; int sign; };
  const Case cases[] = {
      {"9KB", "10KB", -1},  // not as text
      {"10KB", "9KB", 1},
      {"12KB", "12KB", 0},
      {"99999999999999999999999KB", "1KB", 1},  // an absurd text does not overflow
      {"KB", "1KB", -1},
  };
  for (const Case& c : cases) {
    const int result = CompareSizeTexts(c.first, c.second);
    EXPECT_EQ((result > 0) - (result < 0), c.sign) << c.first << " " << c.second;
  }
}

TEST(ImageColumns, PreviewShowsTheFirstQuotedNameOfASelection) {
  struct Case { const char* selection; const char* path; };
  const Case cases[] = {
      {"C:\\p\\a.jpg", "C:\\p\\a.jpg"},
      {"C:\\p\\\"a.jpg\" \"b.jpg\"", "a.jpg"},
      {"\"only.jpg", "only.jpg"},  // an unclosed quote: the rest
      {"\"\" \"b.jpg\"", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(PreviewPathOfSelection(c.selection), c.path) << c.selection;
}

TEST(ImageColumns, SectionEntriesReadAsSingleKeysWouldBe) {
  const char raw[] = "i0=C:\\a.jpg\0 I1 = C:\\b.jpg \0i2=\"C:\\c d.jpg\"\0i0=later\0"
                     "junk\0i3=\0i4=abcdef\0\0i9=after the end\0";
  const std::string block(raw, sizeof raw - 1);
  const std::map<std::string, std::string> entries = ParseProfileSection(block, 4);
  const std::map<std::string, std::string> expected = {
      {"i0", "C:\\a"}, {"i1", "C:\\b"}, {"i2", "C:\\c"}, {"i3", ""}, {"i4", "abcd"}};
  EXPECT_EQ(entries, expected);
  EXPECT_EQ(ParseProfileSection(std::string("i0=\"x\0\0", 7), 10).at("i0"), "\"x");
}

}  // namespace
}  // namespace orvalen

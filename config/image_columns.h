#pragma once
// The texts of the image list's columns, made from a file's name, size, time
// stamps and text, and the order the list sorts them in. Window-free, so the
// rules are checked without a list view.
#include <cstdint>
#include <map>
#include <string>

namespace orvalen {

// The list's columns, left to right.
enum ImageColumn {
  kColumnName = 0,
  kColumnFolder,
  kColumnSize,
  kColumnModified,
  kColumnVisited,
  kColumnCreated,
  kColumnType,
  kColumnText,
  kImageColumnCount
};

// A calendar time as the file system keeps it (no time-zone conversion).
struct FileStamp {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
};

// Whole kilobytes rounded down, plus one, then "KB": 0 bytes is "1KB", 1024
// bytes "2KB".
std::string SizeColumnText(uint64_t bytes);
// "1999/03/07 09:05".
std::string DateTimeColumnText(const FileStamp& stamp);
// "1999/03/07".
std::string DateColumnText(const FileStamp& stamp);
// The text after the last "." of the name, in upper case; empty without a dot.
std::string TypeColumnText(const std::string& fileName);
// A picture's text as the list and the profile keep it: carriage returns,
// line feeds and tabs turned into bytes 20, 21 and blanks, at most 999
// characters.
std::string StoredImageText(const std::string& text);

// The direction a click on column `clicked` sorts in: descending, unless the
// same column was last sorted descending (then ascending). `previousColumn`
// is -1 before the first sort.
bool SortAscendingAfterClick(int clicked, int previousColumn, bool previousAscending);
// Two size texts ("9KB", "10KB") by the numbers they start with: negative,
// zero or positive as the first is smaller, equal or larger.
int CompareSizeTexts(const std::string& first, const std::string& second);

// The entries of a profile section as the section read returns them
// ("key=value" strings, each ending in a NUL, the last followed by another),
// by key in lower case: blanks around keys and values dropped, a value in
// matching quotes unquoted, the first of repeated keys kept, each value cut
// to `maxChars` characters. This is what reading each key on its own gives,
// for a list that would take a thousand reads.
std::map<std::string, std::string> ParseProfileSection(const std::string& block,
                                                       size_t maxChars);

// What a directory search for a listed path found is that file itself: no
// folder, and named as asked (by its long or its short name, in any letter
// case). A name with wildcards finds whatever it matches, which is not the
// file asked for.
bool FoundIsTheNamedFile(const std::string& askedName, const std::string& foundName,
                         const std::string& foundShortName, bool foundFolder);

// A path of the profile's image list as the list shows it: a bare name, or a
// path that starts neither at a drive nor at a root, lies in `programDir`
// (which ends in a backslash), where the saver, started there, finds it.
std::string ListedPathOf(const std::string& profilePath, const std::string& programDir);

// The file an open dialog's selection names for its preview: with several
// files selected the selection reads "\"a.jpg\" \"b.jpg\"", and the first of them
// is shown; a selection without quotes is the path itself.
std::string PreviewPathOfSelection(const std::string& selection);

}  // namespace orvalen

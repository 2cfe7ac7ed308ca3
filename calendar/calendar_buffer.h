#pragma once
// The calendar editor's working buffer: a scratch copy of the open calendar
// file to which edited days are appended, its index of all 366 x 24 days, and
// the save that writes a compacted file from it.
#include <cstdio>
#include <string>
#include <vector>

#include "base/file_access.h"
#include "calendar/calendar_date.h"
#include "calendar/calendar_file.h"

namespace orvalen {

// Name of the working buffer in the current directory, when no other is given.
constexpr char kWorkBufferName[] = "ovtm~cal.~";
// What earlier saves called the calendar file while they moved a new one in.
constexpr char kSetAsideSuffix[] = ".old~";

enum class CalendarResult {
  kOk,
  kCannotOpen,     // the calendar file cannot be opened for reading
  kNoSignature,    // the file does not start with the signature
  kBufferFailed,   // the working buffer cannot be created or filled
  kNotOpen,        // no calendar file is open
  kInvalidDate,    // the date is not a day of 1996..2019
  kCannotCreate,   // the target file (or the new file beside it) cannot be created
  kWriteFailed,    // writing failed (disk full, I/O error); the target is unchanged
  kReplaceFailed,  // the written file could not take the target's place (another program
                   // keeps it from being replaced); the target is unchanged
};

// Writes a calendar file holding the header line alone. An existing file is
// replaced only once the new one is complete.
CalendarResult CreateEmptyCalendar(const std::string& path,
                                   const FileAccess& access = PortableFileAccess());

class CalendarWorkBuffer {
 public:
  explicit CalendarWorkBuffer(std::string bufferPath = kWorkBufferName,
                              const FileAccess& access = PortableFileAccess());
  CalendarWorkBuffer(const CalendarWorkBuffer&) = delete;
  CalendarWorkBuffer& operator=(const CalendarWorkBuffer&) = delete;
  // Closes and deletes the working buffer.
  ~CalendarWorkBuffer();

  // Creates the empty working buffer the editor starts with (no file open).
  CalendarResult CreateBuffer();
  // Checks the file's signature, makes the working buffer a byte copy of it
  // and indexes it. On failure no file is open. A missing file whose
  // set-aside copy ("<path>.old~") an interrupted save left is first put back.
  CalendarResult Open(const std::string& path);
  // Creates `path` holding the header alone and opens it.
  CalendarResult CreateNew(const std::string& path);
  // Closes and deletes the working buffer; no file is open afterwards.
  void Close();

  bool IsOpen() const { return fileOpen_; }
  const std::string& FilePath() const { return filePath_; }
  const std::string& BufferPath() const { return bufferPath_; }

  // The day's journal, hours and to-do texts; empty when it has no record.
  // The to-do text is read in full, like the other sections, so that a long
  // to-do text of the organizer survives a journal edit.
  DayTexts ReadDay(const Date& date);
  // Writes the texts as a new record at the end of the working buffer and
  // points the index at it. Marker bytes are left out of the texts, and each
  // text is cut to what a reader can read back in full.
  CalendarResult AppendDay(const Date& date, const DayTexts& texts);
  // The day loses its record.
  CalendarResult RemoveDay(const Date& date);
  // Appends the day, or removes it when its journal, hours and to-do texts
  // are all blank.
  CalendarResult CommitDay(const Date& date, const DayTexts& texts);

  // Writes the days of the index, in date order, as a compacted calendar file
  // to `path`. The file is written beside the target, brought onto the disk
  // and takes its place in one step, tried again for about a second while
  // another program keeps the target from being replaced; on failure the
  // target, the working buffer and the index are unchanged. Files beside the
  // target that an interrupted save left are never touched.
  CalendarResult Save(const std::string& path);

  // The index entry: the position just after the record's 0x12 byte in the
  // working buffer, 0 when the day has no record.
  long Entry(const DayKey& key) const;
  bool HasRecord(const Date& date) const;

 private:
  void ClearIndex();
  void BuildIndex();
  bool CopyRecord(long position, std::FILE* out);

  std::string bufferPath_;
  const FileAccess& access_;
  std::FILE* buffer_ = nullptr;
  bool fileOpen_ = false;
  std::string filePath_;
  std::vector<long> index_;
};

}  // namespace orvalen

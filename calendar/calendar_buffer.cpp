#include "calendar/calendar_buffer.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "calendar/calendar_text.h"

namespace orvalen {
namespace {

// The longest section text whose reading still reaches the following marker:
// the text, its LF and the marker must fit the section limit.
constexpr std::size_t kStorableSectionText = kSectionLimit - 2;

std::size_t IndexSlot(int dayIndex, int yearIndex) {
  return static_cast<std::size_t>(yearIndex) * kDaysPerIndexYear + static_cast<std::size_t>(dayIndex);
}

bool FileExists(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  std::fclose(f);
  return true;
}

void AppendSectionText(std::string& record, const std::string& text) {
  std::size_t kept = 0;
  for (char c : text) {
    if (kept == kStorableSectionText) break;
    if (IsRecordMarker(static_cast<unsigned char>(c))) continue;
    record += c;
    ++kept;
  }
  record += '\n';
}

bool WriteAll(std::FILE* out, const std::string& bytes) {
  return bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
}

// A replace refused because another program holds the target open is tried
// again this often, this far apart (about a second in all).
constexpr int kReplaceAttempts = 10;
constexpr int kReplacePauseMs = 110;

// A name beside `target` that no file carries yet. A file left there by an
// interrupted save may be the only complete copy of someone's work, so it is
// never written over.
std::string FreeNameBeside(const std::string& target) {
  std::string name = target + ".sav~";
  for (int n = 2; FileExists(name) && n < 1000; ++n) name = target + ".sav" + std::to_string(n) + "~";
  return name;
}

// Writes a file through `write` beside `target`, brings it onto the disk and
// then makes it the target in one step. Whatever fails, the target keeps
// every byte it had, and the file written beside it is removed.
template <typename Writer>
CalendarResult WriteReplacing(const std::string& target, const FileAccess& access, Writer&& write) {
  if (FileExists(target)) {
    // A target that cannot be written (read-only, locked) is not replaced
    // behind the user's back.
    std::FILE* probe = std::fopen(target.c_str(), "r+b");
    if (!probe) return CalendarResult::kCannotCreate;
    std::fclose(probe);
  }
  const std::string written = FreeNameBeside(target);
  std::FILE* out = std::fopen(written.c_str(), "wb");
  if (!out) return CalendarResult::kCannotCreate;
  bool ok = write(out);
  ok = std::fflush(out) == 0 && ok && !std::ferror(out);
  ok = ok && access.flushToDisk(out);
  ok = std::fclose(out) == 0 && ok;
  if (!ok) {
    std::remove(written.c_str());
    return CalendarResult::kWriteFailed;
  }
  for (int attempt = 1;; ++attempt) {
    if (access.replace(written.c_str(), target.c_str())) return CalendarResult::kOk;
    if (attempt == kReplaceAttempts) break;
    access.pause(kReplacePauseMs);
  }
  std::remove(written.c_str());
  return CalendarResult::kReplaceFailed;
}

bool WriteHeader(std::FILE* out) { return WriteAll(out, std::string(kCalendarSignature) + '\n'); }

}  // namespace

CalendarResult CreateEmptyCalendar(const std::string& path, const FileAccess& access) {
  return WriteReplacing(path, access, WriteHeader);
}

CalendarWorkBuffer::CalendarWorkBuffer(std::string bufferPath, const FileAccess& access)
    : bufferPath_(std::move(bufferPath)), access_(access), index_(static_cast<std::size_t>(kDaysPerIndexYear) * kIndexYears, 0) {}

CalendarWorkBuffer::~CalendarWorkBuffer() { Close(); }

void CalendarWorkBuffer::ClearIndex() { std::fill(index_.begin(), index_.end(), 0); }

void CalendarWorkBuffer::Close() {
  if (buffer_) {
    std::fclose(buffer_);
    buffer_ = nullptr;
    std::remove(bufferPath_.c_str());
  }
  fileOpen_ = false;
  filePath_.clear();
  ClearIndex();
}

CalendarResult CalendarWorkBuffer::CreateBuffer() {
  Close();
  std::remove(bufferPath_.c_str());
  buffer_ = std::fopen(bufferPath_.c_str(), "w+b");
  return buffer_ ? CalendarResult::kOk : CalendarResult::kBufferFailed;
}

CalendarResult CalendarWorkBuffer::Open(const std::string& path) {
  fileOpen_ = false;
  filePath_.clear();
  ClearIndex();
  std::FILE* source = access_.openRead(path.c_str());
  std::error_code noPath;
  if (!source && !std::filesystem::exists(path, noPath) && !noPath) {
    // A save made by an earlier version set the file aside under this name
    // before it moved the new one in; when it was cut off between the two,
    // the set-aside file is the calendar.
    const std::string setAside = path + kSetAsideSuffix;
    if (CheckSignature(setAside.c_str(), access_) && std::rename(setAside.c_str(), path.c_str()) == 0) {
      source = access_.openRead(path.c_str());
    }
  }
  if (!source) return CalendarResult::kCannotOpen;
  if (!CheckSignature(source) || std::fseek(source, 0, SEEK_SET) != 0) {
    std::fclose(source);
    return CalendarResult::kNoSignature;
  }

  if (buffer_) std::fclose(buffer_);
  std::remove(bufferPath_.c_str());
  buffer_ = std::fopen(bufferPath_.c_str(), "w+b");
  bool copied = buffer_ != nullptr;
  if (copied) {
    char chunk[8192];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, source)) > 0) {
      if (std::fwrite(chunk, 1, n, buffer_) != n) {
        copied = false;
        break;
      }
    }
    copied = copied && !std::ferror(source) && std::fflush(buffer_) == 0;
  }
  std::fclose(source);
  if (!copied) {
    if (buffer_) std::fclose(buffer_);
    buffer_ = nullptr;
    return CalendarResult::kBufferFailed;
  }

  fileOpen_ = true;
  filePath_ = path;
  BuildIndex();
  return CalendarResult::kOk;
}

CalendarResult CalendarWorkBuffer::CreateNew(const std::string& path) {
  const CalendarResult created = CreateEmptyCalendar(path, access_);
  if (created != CalendarResult::kOk) return created;
  return Open(path);
}

void CalendarWorkBuffer::BuildIndex() {
  ClearIndex();
  ScanRecords(buffer_, [&](long position, int dayIndex, int yearIndex) {
    if (dayIndex >= 0 && dayIndex < kDaysPerIndexYear && yearIndex >= 0 && yearIndex < kIndexYears) {
      index_[IndexSlot(dayIndex, yearIndex)] = position;
    }
    return true;
  });
}

long CalendarWorkBuffer::Entry(const DayKey& key) const {
  if (key.dayIndex < 0 || key.dayIndex >= kDaysPerIndexYear || key.yearIndex < 0 || key.yearIndex >= kIndexYears) {
    return 0;
  }
  return index_[IndexSlot(key.dayIndex, key.yearIndex)];
}

bool CalendarWorkBuffer::HasRecord(const Date& date) const {
  const auto key = DayKeyOf(date);
  return key && Entry(*key) != 0;
}

DayTexts CalendarWorkBuffer::ReadDay(const Date& date) {
  const auto key = DayKeyOf(date);
  if (!key || !buffer_) return {};
  const long position = Entry(*key);
  if (position == 0) return {};
  return ReadRecordAt(buffer_, position, true);
}

CalendarResult CalendarWorkBuffer::AppendDay(const Date& date, const DayTexts& texts) {
  if (!fileOpen_ || !buffer_) return CalendarResult::kNotOpen;
  const auto key = DayKeyOf(date);
  if (!key) return CalendarResult::kInvalidDate;

  std::string record;
  record += static_cast<char>(kMarkerBegin);
  record += " [Begin].\n";
  record += FormatDateLine(date);
  record += static_cast<char>(kMarkerJournal);
  record += " [mJournal].\n";
  AppendSectionText(record, texts.journal);
  record += static_cast<char>(kMarkerHours);
  record += " [mHour].\n";
  AppendSectionText(record, texts.hours);
  record += static_cast<char>(kMarkerTodo);
  record += " [mTodo].\n";
  AppendSectionText(record, texts.todo);
  record += static_cast<char>(kMarkerEnd);
  record += " [mEnd].\n";

  long end = -1;
  if (std::fseek(buffer_, 0, SEEK_END) == 0) end = std::ftell(buffer_);
  if (end < 0 || !WriteAll(buffer_, record) || std::fflush(buffer_) != 0) {
    std::clearerr(buffer_);
    return CalendarResult::kWriteFailed;
  }
  index_[IndexSlot(key->dayIndex, key->yearIndex)] = end + 1;
  return CalendarResult::kOk;
}

CalendarResult CalendarWorkBuffer::RemoveDay(const Date& date) {
  if (!fileOpen_) return CalendarResult::kNotOpen;
  const auto key = DayKeyOf(date);
  if (!key) return CalendarResult::kInvalidDate;
  index_[IndexSlot(key->dayIndex, key->yearIndex)] = 0;
  return CalendarResult::kOk;
}

CalendarResult CalendarWorkBuffer::CommitDay(const Date& date, const DayTexts& texts) {
  if (IsBlankText(texts.journal) && IsBlankText(texts.hours) && IsBlankText(texts.todo)) {
    return RemoveDay(date);
  }
  return AppendDay(date, texts);
}

// Copies one record from the working buffer: its 0x12 byte, the start and
// date lines, then the bytes up to its end marker, stopping also at the start
// of another record or the end of the buffer. The rest of a section marker's
// line, which readers skip, is copied too, but without 0x12 bytes: in the
// saved file a scan would take one there for a record of its own, behind the
// record it really belongs to. The saved-file end line closes the copy.
bool CalendarWorkBuffer::CopyRecord(long position, std::FILE* out) {
  if (std::fseek(buffer_, position - 1, SEEK_SET) != 0) return false;
  std::string bytes;
  int c = std::getc(buffer_);
  if (c != kMarkerBegin) return !std::ferror(buffer_);  // not a record start: nothing to copy
  bytes += static_cast<char>(c);
  std::string line;
  ReadLine(buffer_, line);
  bytes += line;
  ReadLine(buffer_, line);
  bytes += line;
  while ((c = std::getc(buffer_)) != EOF && c != kMarkerEnd && c != kMarkerBegin) {
    bytes += static_cast<char>(c);
    if (c == kMarkerJournal || c == kMarkerHours || c == kMarkerTodo) {
      while ((c = std::getc(buffer_)) != EOF) {
        if (c != kMarkerBegin) bytes += static_cast<char>(c);
        if (c == '\n') break;
      }
      if (c == EOF) break;
    }
  }
  if (std::ferror(buffer_)) return false;
  bytes += static_cast<char>(kMarkerEnd);
  bytes += "  [mEnd].\n";
  return WriteAll(out, bytes);
}

CalendarResult CalendarWorkBuffer::Save(const std::string& path) {
  if (!fileOpen_ || !buffer_) return CalendarResult::kNotOpen;
  const CalendarResult result = WriteReplacing(path, access_, [&](std::FILE* out) {
    if (!WriteHeader(out)) return false;
    for (int year = 0; year < kIndexYears; ++year) {
      for (int day = 0; day < kDaysPerIndexYear; ++day) {
        const long position = index_[IndexSlot(day, year)];
        if (position > 0 && !CopyRecord(position, out)) return false;
      }
    }
    return true;
  });
  std::clearerr(buffer_);
  // The index already points at the one valid record of every kept day; a
  // fresh scan of the buffer would find the superseded records of removed
  // days again, so the index is kept as it stands.
  return result;
}

}  // namespace orvalen

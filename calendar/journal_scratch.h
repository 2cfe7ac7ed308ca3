#pragma once
// The scratch files of the journal editor: the rich text of the day being
// loaded, replaced at each load, and the summary, to which each load appends
// the day's fragments. The hours name is reserved; it is only deleted. The
// owner deletes all three when it goes.
#include <optional>
#include <string>

#include "calendar/journal_rtf.h"

namespace orvalen {

constexpr char kJournalScratchName[] = "_MBUF_DJ0~.~";
constexpr char kSummaryScratchName[] = "_MBUF_DS0~.~";
constexpr char kHoursScratchName[] = "_MBUF_DH0~.~";

enum class ScratchResult {
  kOk,
  kJournalFailed,  // the journal file could not be written or read back
  kSummaryFailed,  // the summary file could not be appended to
};

class JournalScratchFiles {
 public:
  // The files are named `prefix` followed by the names above: a folder ending
  // with a path separator, perhaps with the start of a name unique to the
  // owner; empty for the current folder.
  explicit JournalScratchFiles(std::string prefix);
  JournalScratchFiles(const JournalScratchFiles&) = delete;
  JournalScratchFiles& operator=(const JournalScratchFiles&) = delete;
  ~JournalScratchFiles();

  // Writes the day's document over the journal file (as text) and appends its
  // summary to the summary file. On kOk `loaded` is the journal file's text
  // as read back, the form the editor loads; otherwise it is left alone.
  ScratchResult WriteDay(const JournalRtf& rtf, std::string& loaded);
  // Deletes the three files (a later WriteDay makes them again).
  void RemoveFiles();

  std::string JournalPath() const { return prefix_ + kJournalScratchName; }
  std::string SummaryPath() const { return prefix_ + kSummaryScratchName; }
  std::string HoursPath() const { return prefix_ + kHoursScratchName; }

 private:
  std::string prefix_;
};

}  // namespace orvalen

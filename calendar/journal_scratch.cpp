#include "calendar/journal_scratch.h"

#include <cstdio>
#include <memory>

namespace orvalen {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

bool WriteText(std::FILE* file, const std::string& text) {
  return std::fwrite(text.data(), 1, text.size(), file) == text.size();
}

// Closes the file and says whether everything written reached it.
bool Finish(File file) {
  const bool ok = std::fflush(file.get()) == 0 && !std::ferror(file.get());
  return std::fclose(file.release()) == 0 && ok;
}

// The text of a file written in text mode, read back whole: in binary, with
// the CR LF that text mode wrote for each line feed turned back into one.
// (Reading in text mode would also stop at the first byte 0x1A.)
std::optional<std::string> ReadText(const std::string& path) {
  File file(std::fopen(path.c_str(), "rb"));
  if (!file) return std::nullopt;
  std::string bytes;
  char chunk[4096];
  std::size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) bytes.append(chunk, n);
  if (std::ferror(file.get())) return std::nullopt;
  std::string text;
  text.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    text += bytes[i];
  }
  return text;
}

}  // namespace

JournalScratchFiles::JournalScratchFiles(std::string prefix) : prefix_(std::move(prefix)) {}

JournalScratchFiles::~JournalScratchFiles() { RemoveFiles(); }

void JournalScratchFiles::RemoveFiles() {
  std::remove(JournalPath().c_str());
  std::remove(SummaryPath().c_str());
  std::remove(HoursPath().c_str());
}

ScratchResult JournalScratchFiles::WriteDay(const JournalRtf& rtf, std::string& loaded) {
  File journal(std::fopen(JournalPath().c_str(), "w"));
  if (!journal) return ScratchResult::kJournalFailed;
  File summary(std::fopen(SummaryPath().c_str(), "a"));
  if (!summary) return ScratchResult::kSummaryFailed;
  const bool journalWritten = WriteText(journal.get(), rtf.document);
  const bool summaryWritten = WriteText(summary.get(), rtf.summary);
  if (!Finish(std::move(journal)) || !journalWritten) return ScratchResult::kJournalFailed;
  if (!Finish(std::move(summary)) || !summaryWritten) return ScratchResult::kSummaryFailed;
  std::optional<std::string> text = ReadText(JournalPath());
  if (!text) return ScratchResult::kJournalFailed;
  loaded = std::move(*text);
  return ScratchResult::kOk;
}

}  // namespace orvalen

// Rich text from the journal editor, which holds whatever the user pasted:
// the reader and the store, and the stored journal's way back into rich
// text. Besides staying inside its buffers, the code must keep one promise,
// checked here: the stored journal never grows past its limit by more than
// the one line that crosses it (attribute line, text cut to the editor's
// line limit, two line ends).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "calendar/journal_rtf.h"

using namespace orvalen;

namespace {

void Require(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "journal_rtf: %s\n", what);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view raw(reinterpret_cast<const char*>(data), size);
  const std::string stored = StoreJournalLines(ReadJournalRtf(raw));
  Require(stored.size() <= kJournalWriteLimit + 32 + kJournalEditorLineLimit,
          "stored journal past its limit");
  // The input as stored text, and the stored result, on their way to the editor.
  for (std::string_view text : {raw, std::string_view(stored)}) {
    const JournalRtf rtf = BuildJournalRtf(text);
    (void)JournalRtfForEditor(rtf.document);
    (void)StoreJournalLines(ReadJournalRtf(rtf.document));
  }
  return 0;
}

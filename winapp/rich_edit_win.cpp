#include "winapp/rich_edit_win.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "winapp/application_win.h"
#include "winapp/callback_guard_win.h"

namespace orvalen {
namespace {

struct StreamSource {
  std::string_view text;
  size_t offset = 0;
};

// A nonzero return stops the stream; the guard gives that when the body throws.
DWORD CALLBACK ReadFromString(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
  return GuardedCallback<DWORD>(1, [&]() -> DWORD {
    auto* source = reinterpret_cast<StreamSource*>(cookie);
    const size_t count =
        std::min(source->text.size() - source->offset, static_cast<size_t>(std::max(wanted, 0L)));
    std::memcpy(buffer, source->text.data() + source->offset, count);
    source->offset += count;
    *given = static_cast<LONG>(count);
    return 0;
  });
}

DWORD CALLBACK WriteToString(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* taken) {
  return GuardedCallback<DWORD>(1, [&]() -> DWORD {
    auto* target = reinterpret_cast<std::string*>(cookie);
    target->append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(std::max(count, 0L)));
    *taken = count;
    return 0;
  });
}

}  // namespace

bool RichEdit::EnsureModule() {
  Application* application = Application::Current();
  return application && application->EnsureRichEdit();
}

bool RichEdit::StreamIn(const std::string& text, UINT format) {
  StreamSource source{text};
  EDITSTREAM stream{};
  stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
  stream.pfnCallback = &ReadFromString;
  Send(EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream));
  return stream.dwError == 0 && (text.empty() || source.offset > 0);
}

std::optional<std::string> RichEdit::StreamOut(UINT format) const {
  std::string text;
  EDITSTREAM stream{};
  stream.dwCookie = reinterpret_cast<DWORD_PTR>(&text);
  stream.pfnCallback = &WriteToString;
  Send(EM_STREAMOUT, format, reinterpret_cast<LPARAM>(&stream));
  if (stream.dwError != 0) return std::nullopt;
  return text;
}

}  // namespace orvalen

#pragma once
// The one guard every callback into our code goes through: window, dialog and
// subclass procedures, hooks, stream and sort callbacks. Whatever the body
// throws stays here; the caller gets `fallback` and the debugger output says
// what happened. The guard itself never throws.
#include <windows.h>

#include <exception>
#include <utility>

namespace orvalen {

namespace callback_guard_detail {

inline void ReportCaught(const char* what) noexcept {
  // A fixed buffer: the report must not allocate while bad_alloc is the news.
  char text[256];
  lstrcpynA(text, "Orvalen: exception stopped at a callback: ", sizeof text);
  const int used = lstrlenA(text);
  lstrcpynA(text + used, what ? what : "(unknown)", static_cast<int>(sizeof text) - used - 1);
  const int length = lstrlenA(text);
  text[length] = '\n';
  text[length + 1] = '\0';
  OutputDebugStringA(text);
}

}  // namespace callback_guard_detail

// How many exceptions the guard has stopped in this process (for tests and
// diagnostics).
inline long& GuardedCallbackFailures() noexcept {
  static long failures = 0;
  return failures;
}

template <typename Result, typename Body>
Result GuardedCallback(Result fallback, Body&& body) noexcept {
  try {
    return std::forward<Body>(body)();
  } catch (const std::exception& error) {
    ++GuardedCallbackFailures();
    callback_guard_detail::ReportCaught(error.what());
  } catch (...) {
    ++GuardedCallbackFailures();
    callback_guard_detail::ReportCaught(nullptr);
  }
  return fallback;
}

}  // namespace orvalen

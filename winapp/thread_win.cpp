#include "winapp/thread_win.h"

#include <new>

namespace orvalen {
namespace {

struct ThreadStart {
  LPTHREAD_START_ROUTINE routine;
  void* parameter;
  FloatControl control;
};

DWORD WINAPI StartWithFloatControl(void* data) {
  const ThreadStart start = *static_cast<ThreadStart*>(data);
  delete static_cast<ThreadStart*>(data);
  ApplyFloatControl(start.control);
  return start.routine(start.parameter);
}

}  // namespace

FloatControl CurrentFloatControl() {
  FloatControl control;
  __asm__ volatile("fnstcw %0" : "=m"(control.x87));
  __asm__ volatile("stmxcsr %0" : "=m"(control.mxcsr));
  return control;
}

void ApplyFloatControl(const FloatControl& control) {
  // The status flags of the starter say nothing about this thread.
  const uint32_t mxcsr = control.mxcsr & ~uint32_t{0x3F};
  __asm__ volatile("fldcw %0" : : "m"(control.x87));
  __asm__ volatile("ldmxcsr %0" : : "m"(mxcsr));
}

KernelHandle StartThread(LPTHREAD_START_ROUTINE routine, void* parameter) {
  auto* start = new (std::nothrow) ThreadStart{routine, parameter, CurrentFloatControl()};
  if (!start) return KernelHandle();
  KernelHandle thread(CreateThread(nullptr, 0, &StartWithFloatControl, start, 0, nullptr));
  if (!thread) delete start;
  return thread;
}

}  // namespace orvalen

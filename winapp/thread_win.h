#pragma once
// Worker threads of the programs. A thread made by CreateThread starts with
// the system's floating-point state (x87 precision 53 bits, control word
// 0x27F), while the C runtime gives the main thread 64 bits (0x37F). Extended
// precision arithmetic would then round differently on a worker than on the
// message thread, and a picture made ahead would not match the one the step
// makes itself. Every worker of ours therefore starts through StartThread,
// which hands the new thread the x87 control word and the SSE control and
// status register of the thread that starts it.
#include <windows.h>

#include <cstdint>

#include "winapp/handles_win.h"

namespace orvalen {

// The floating-point control state of the calling thread.
struct FloatControl {
  uint16_t x87 = 0;   // x87 control word (precision, rounding, masks)
  uint32_t mxcsr = 0; // SSE control and status (rounding, flush to zero, masks)
};
FloatControl CurrentFloatControl();
void ApplyFloatControl(const FloatControl& control);

// Starts `routine(parameter)` on a new thread that computes as the calling
// thread does. A null handle when the thread could not be made (then
// `routine` never runs).
KernelHandle StartThread(LPTHREAD_START_ROUTINE routine, void* parameter);

}  // namespace orvalen
